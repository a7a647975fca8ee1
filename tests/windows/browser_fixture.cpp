// One browser-like window: browser_fixture CLASS TITLE normal|ignore|ask FLAGS
// [EDIT | dde:SERVICE[:REPLY] | acc:ADDRESS]... FLAGS: "-" or any of h (hidden),
// b (borderless), t (topmost), n (the edits in a pane), u (a UTF-8 title, else code page 1252), and
// for the tree f (a find bar holding the title: Chromium's a widget before the frame and a bubble
// after it; Firefox's a tool bar in the content), m (1500 more tabs), 3 (two more tabs), a (a web
// app's window, no tool bar), g (an element claiming 0x7FFFFFFF children), p (the tab in front
// pinned: its close button invisible in Chromium, absent in Firefox), d (a page's dialog hides the
// tree until a sent WM_APP + 3). The tab in front shows the title's page and ADDRESS, the other
// tabs follow it showing "Andere" and andere.de; a tab's close button closes it ("press"), the
// window with the last, and shows the next tab's page, title and address ("tabs" counts them).
// Window properties count "syscommand" and "close" from other programs, each "question" it asks
// back (ask mode; yes closes it), each "overtaken" WM_CLOSE that came while SC_CLOSE or a question
// was still handled, "ddeRequest"s (a server without REPLY never answers), and of its accessibility
// tree (Chromium's for Chrome_WidgetWin_..., else Firefox's) each "getObject" (WM_GETOBJECT for the
// client), "accCall" and "pageWalk" into the page. A posted WM_APP hangs it, with "hung" set, until
// the event "zk-fixture-resume" is set; a sent WM_APP + 1 shows it, WM_APP + 2 navigates: the
// address becomes the title.

#include <windows.h>
#include <ddeml.h>
#include <oleacc.h>

#include <algorithm>
#include <functional>
#include <span>
#include <string>
#include <vector>

namespace {

enum class Mode { Normal, Ignore, Ask };

// The window procedure and the DDE callback take no context: the fixture's state is global.
// NOLINTBEGIN(cppcoreguidelines-avoid-non-const-global-variables)
Mode mode = Mode::Normal;
bool ownClose = false; // the default handling of SC_CLOSE sends the window its own WM_CLOSE
bool inSysClose = false;
bool questionOpen = false;
bool hidden = false;
HWND browser = nullptr;

struct DdeServer {
    DWORD instance = 0;
    HSZ service = nullptr, topic = nullptr, item = nullptr;
    std::string reply;
    bool hang = false;
} dde;
// NOLINTEND(cppcoreguidelines-avoid-non-const-global-variables)

void count(HWND hwnd, const char* name) {
    const auto value = reinterpret_cast<INT_PTR>(GetPropA(hwnd, name));
    SetPropA(hwnd, name, reinterpret_cast<HANDLE>(value + 1));
}

// An element of the window's accessibility tree; only what a reader of it asks is answered.
// The tree lives as long as the process, so references are not counted and nothing is deleted.
class Node final : public IAccessible { // NOLINT(cppcoreguidelines-virtual-class-destructor)
public:
    static Node* make(long role, std::wstring value = {}, std::vector<Node*> children = {},
                      long claimed = -1) {
        return new Node(role, std::move(value), std::move(children), claimed); // NOLINT: kept
    }
    long role;
    std::wstring value; // a text field's
    std::vector<Node*> children;
    long claimed; // the children it claims to have, unless -1
    long state;   // a text field's: focusable
    std::wstring name;
    std::function<void()> action; // the default action
    STDMETHODIMP QueryInterface(REFIID id, void** out) override {
        const bool known =
            id == __uuidof(IUnknown) || id == __uuidof(IDispatch) || id == __uuidof(IAccessible);
        *out = known ? this : nullptr;
        return *out ? S_OK : E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return 1; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP get_accChildCount(long* count) override {
        asked(true);
        *count = claimed >= 0 ? claimed : static_cast<long>(children.size());
        return S_OK;
    }
    STDMETHODIMP get_accChild(VARIANT id, IDispatch** child) override {
        asked(true);
        const auto index = static_cast<std::size_t>(id.vt == VT_I4 ? id.lVal - 1 : -1);
        *child = index < children.size() ? children[index] : nullptr;
        return *child ? S_OK : E_INVALIDARG;
    }
    STDMETHODIMP get_accRole(VARIANT, VARIANT* out) override { return number(out, role); }
    STDMETHODIMP get_accState(VARIANT, VARIANT* out) override { return number(out, state); }
    STDMETHODIMP get_accValue(VARIANT, BSTR* out) override {
        return text(out, role == ROLE_SYSTEM_TEXT ? &value : nullptr);
    }
    STDMETHODIMP get_accName(VARIANT, BSTR* out) override { return text(out, &name); }
    STDMETHODIMP accDoDefaultAction(VARIANT) override {
        asked();
        if (action) action();
        return action ? S_OK : DISP_E_MEMBERNOTFOUND;
    }
    // What no reader asks.
    STDMETHODIMP GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                        UINT*) override {
        return E_NOTIMPL;
    }
    STDMETHODIMP get_accParent(IDispatch**) override { return E_NOTIMPL; }
    STDMETHODIMP get_accDescription(VARIANT, BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP get_accHelp(VARIANT, BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP get_accHelpTopic(BSTR*, VARIANT, long*) override { return E_NOTIMPL; }
    STDMETHODIMP get_accKeyboardShortcut(VARIANT, BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP get_accFocus(VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP get_accSelection(VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP get_accDefaultAction(VARIANT, BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP accSelect(long, VARIANT) override { return E_NOTIMPL; }
    STDMETHODIMP accLocation(long*, long*, long*, long*, VARIANT) override { return E_NOTIMPL; }
    STDMETHODIMP accNavigate(long, VARIANT, VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP accHitTest(long, long, VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    STDMETHODIMP put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

private:
    Node(long itsRole, std::wstring itsValue, std::vector<Node*> itsChildren, long itsClaim)
        : role(itsRole), value(std::move(itsValue)), children(std::move(itsChildren)),
          claimed(itsClaim), state(itsRole == ROLE_SYSTEM_TEXT ? STATE_SYSTEM_FOCUSABLE : 0) {}
    void asked(bool forChildren = false) const {
        count(browser, "accCall");
        if (forChildren && role == ROLE_SYSTEM_DOCUMENT) count(browser, "pageWalk");
    }
    HRESULT number(VARIANT* out, long n) const {
        asked();
        out->vt = VT_I4;
        out->lVal = n;
        return S_OK;
    }
    HRESULT text(BSTR* out, const std::wstring* shown) const {
        asked();
        *out = shown ? SysAllocString(shown->c_str()) : nullptr;
        return *out ? S_OK : S_FALSE;
    }
};

// NOLINTBEGIN(cppcoreguidelines-avoid-non-const-global-variables)
Node* accessible = nullptr;
Node* pageDialog = nullptr; // shown instead while set
Node* addressField = nullptr;
Node* tabList = nullptr; // its tabs' values: their addresses
std::wstring title, titleSuffix;
// NOLINTEND(cppcoreguidelines-avoid-non-const-global-variables)

// As its close button's press is handled, after the call that pressed it; a tab gone already
// counts the press alone.
void closeTab(Node* tab) {
    count(browser, "press");
    std::vector<Node*>& tabs = tabList->children;
    const auto at = std::find(tabs.begin(), tabs.end(), tab);
    if (at == tabs.end()) return;
    const auto next = tabs.erase(at);
    SetPropA(browser, "tabs", reinterpret_cast<HANDLE>(tabs.size()));
    if (tabs.empty()) {
        DestroyWindow(browser);
    } else if ((tab->state & STATE_SYSTEM_SELECTED) != 0) {
        Node* shown = next == tabs.end() ? tabs.back() : *next;
        shown->state |= STATE_SYSTEM_SELECTED;
        addressField->value = shown->value;
        title = shown->name + titleSuffix;
        SetWindowTextW(browser, title.c_str());
    }
}

Node* makeTab(bool chromium, const std::wstring& page, const std::wstring& address, bool front,
              bool pinned) {
    Node* tab = Node::make(ROLE_SYSTEM_PAGETAB, address);
    tab->name = page;
    tab->state = front ? STATE_SYSTEM_SELECTED : 0;
    if (pinned && !chromium) return tab;
    Node* button = tab->children.emplace_back(Node::make(ROLE_SYSTEM_PUSHBUTTON));
    button->state = pinned ? STATE_SYSTEM_INVISIBLE : 0;
    button->action = [tab] { PostMessageW(browser, WM_APP + 4, 0, reinterpret_cast<LPARAM>(tab)); };
    return tab;
}

// Chromium's tree: child widgets beside the frame, whose tab strip comes before the tool bar;
// Firefox's: the tool bars, then the content. Both with a page of its own text fields.
Node* browserTree(bool chromium, const std::wstring& address, const std::string& flags) {
    auto flag = [&](char c) { return flags.find(c) != std::string::npos; };
    std::vector<Node*> fields(200);
    for (Node*& field : fields) field = Node::make(ROLE_SYSTEM_TEXT, L"Suche");
    Node* page = Node::make(ROLE_SYSTEM_DOCUMENT, {}, std::move(fields));
    const std::size_t dash = std::min(title.rfind(L" - "), title.rfind(L" \x2014 "));
    titleSuffix = dash == std::wstring::npos ? L"" : title.substr(dash);
    tabList = Node::make(ROLE_SYSTEM_PAGETABLIST);
    tabList->children.push_back(makeTab(chromium, title.substr(0, dash), address, true, flag('p')));
    for (int i = 0; i < (flag('m') ? 1500 : flag('3') ? 2 : 0); ++i)
        tabList->children.push_back(makeTab(chromium, L"Andere", L"andere.de", false, false));
    addressField = Node::make(ROLE_SYSTEM_TEXT, address);
    auto button = [] { return Node::make(ROLE_SYSTEM_PUSHBUTTON); };
    auto findField = [&] { return Node::make(ROLE_SYSTEM_TEXT, title); };
    const long holder = chromium ? ROLE_SYSTEM_GROUPING : ROLE_SYSTEM_COMBOBOX;
    Node* toolBar =
        Node::make(ROLE_SYSTEM_TOOLBAR, {},
                   {button(), button(), Node::make(holder, {}, {addressField}), button()});
    std::vector<Node*> top;
    if (flag('g')) top.push_back(Node::make(ROLE_SYSTEM_PANE, {}, {}, 0x7FFFFFFF));
    if (chromium) {
        top.push_back(tabList);
        if (!flag('a')) top.push_back(toolBar);
        top.push_back(page);
        std::vector<Node*> root{Node::make(ROLE_SYSTEM_PANE, {}, std::move(top))};
        if (flag('f')) {
            root.insert(root.begin(),
                        Node::make(ROLE_SYSTEM_GROUPING, {}, {findField(), button()}));
            root.push_back(Node::make(ROLE_SYSTEM_DIALOG, {}, {findField()}));
        }
        return Node::make(ROLE_SYSTEM_CLIENT, {}, std::move(root));
    }
    std::vector<Node*> content{page};
    if (flag('f')) content.push_back(Node::make(ROLE_SYSTEM_TOOLBAR, {}, {findField(), button()}));
    top.insert(top.end(), {Node::make(ROLE_SYSTEM_TOOLBAR, {}, {tabList}), toolBar,
                           Node::make(ROLE_SYSTEM_GROUPING, {}, std::move(content))});
    return Node::make(ROLE_SYSTEM_APPLICATION, {}, std::move(top));
}

std::wstring wide(const std::string& text, UINT codePage) {
    std::wstring out(text.size() + 1, L'\0');
    out.resize(
        static_cast<std::size_t>(MultiByteToWideChar(codePage, 0, text.c_str(), -1, out.data(),
                                                     static_cast<int>(out.size())) -
                                 1));
    return out;
}

HDDEDATA CALLBACK ddeCallback(UINT type, UINT format, HCONV, HSZ hsz1, HSZ hsz2, HDDEDATA,
                              ULONG_PTR, ULONG_PTR) {
    switch (type) {
    case XTYP_CONNECT: // hsz1: the topic
        return reinterpret_cast<HDDEDATA>(DdeCmpStringHandles(hsz1, dde.topic) == 0 ? TRUE : FALSE);
    case XTYP_WILDCONNECT: { // hsz1: the topic, hsz2: the service; either may be null
        if ((hsz1 && DdeCmpStringHandles(hsz1, dde.topic) != 0) ||
            (hsz2 && DdeCmpStringHandles(hsz2, dde.service) != 0))
            return nullptr;
        HSZPAIR pairs[] = {{dde.service, dde.topic}, {nullptr, nullptr}};
        return DdeCreateDataHandle(dde.instance, reinterpret_cast<LPBYTE>(pairs), sizeof pairs, 0,
                                   nullptr, 0, 0);
    }
    case XTYP_REQUEST: // hsz2: the item
        if (browser) count(browser, "ddeRequest");
        if (dde.hang) return CBR_BLOCK;
        if (format != CF_TEXT || DdeCmpStringHandles(hsz2, dde.item) != 0) return nullptr;
        return DdeCreateDataHandle(dde.instance, reinterpret_cast<LPBYTE>(dde.reply.data()),
                                   static_cast<DWORD>(dde.reply.size() + 1), 0, hsz2, CF_TEXT, 0);
    default:
        return nullptr;
    }
}

// "dde:SERVICE:REPLY", or "dde:SERVICE" for a server that never answers; false for others.
bool serveDde(const std::string& argument) {
    if (!argument.starts_with("dde:")) return false;
    const std::size_t colon = argument.find(':', 4);
    const std::string service = argument.substr(4, colon - 4);
    dde.hang = colon == std::string::npos;
    if (!dde.hang) dde.reply = argument.substr(colon + 1);
    const DWORD flags = APPCLASS_STANDARD | CBF_FAIL_POKES | CBF_FAIL_EXECUTES | CBF_FAIL_ADVISES |
                        CBF_SKIP_REGISTRATIONS | CBF_SKIP_UNREGISTRATIONS;
    if (DdeInitializeA(&dde.instance, ddeCallback, flags, 0) != DMLERR_NO_ERROR) return true;
    dde.service = DdeCreateStringHandleA(dde.instance, service.c_str(), CP_WINANSI);
    dde.topic = DdeCreateStringHandleA(dde.instance, "WWW_GetWindowInfo", CP_WINANSI);
    dde.item = DdeCreateStringHandleA(dde.instance, "-1", CP_WINANSI);
    DdeNameService(dde.instance, dde.service, nullptr, DNS_REGISTER);
    return true;
}

LRESULT CALLBACK browserProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) != SC_CLOSE) break;
        count(hwnd, "syscommand");
        if (mode == Mode::Ignore) return 0;
        ownClose = true;
        inSysClose = true;
        DefWindowProcW(hwnd, msg, wParam, lParam);
        inSysClose = false;
        ownClose = false;
        return 0;
    case WM_CLOSE:
        if (!ownClose) {
            count(hwnd, "close");
            if (inSysClose || questionOpen) count(hwnd, "overtaken");
        }
        ownClose = false; // messages that come during a question are not its own
        if (mode == Mode::Ignore || questionOpen) return 0;
        if (mode == Mode::Ask) {
            questionOpen = true;
            count(hwnd, "question");
            const int answer = MessageBoxW(hwnd, L"Diese Seite wirklich verlassen?", L"Frage",
                                           MB_YESNO | MB_ICONQUESTION);
            questionOpen = false;
            if (answer == IDYES) DestroyWindow(hwnd);
            return 0;
        }
        break;
    case WM_APP:
        if (HANDLE resume = OpenEventA(SYNCHRONIZE, FALSE, "zk-fixture-resume")) {
            count(hwnd, "hung");
            WaitForSingleObject(resume, INFINITE);
            CloseHandle(resume);
            RemovePropA(hwnd, "hung");
        }
        return 0;
    case WM_APP + 1:
        if (!hidden) ShowWindow(hwnd, SW_SHOW);
        return 0;
    case WM_APP + 2:
        if (addressField) addressField->value = title;
        return 0;
    case WM_APP + 3:
        pageDialog = nullptr;
        return 0;
    case WM_APP + 4:
        closeTab(reinterpret_cast<Node*>(lParam));
        return 0;
    case WM_GETOBJECT:
        if (!accessible || static_cast<LONG>(lParam) != OBJID_CLIENT) break;
        count(hwnd, "getObject");
        return LresultFromObject(__uuidof(IAccessible), wParam,
                                 pageDialog ? pageDialog : accessible);
    case WM_NCDESTROY:
        PostQuitMessage(0);
        break;
    default:
        break;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 5) return 2;
    const std::span<char*> args(argv, static_cast<std::size_t>(argc));
    const std::string className = args[1], modeName = args[3], flags = args[4];
    mode = modeName == "ignore" ? Mode::Ignore : modeName == "ask" ? Mode::Ask : Mode::Normal;
    auto flag = [&](char c) { return flags.find(c) != std::string::npos; };

    const HINSTANCE instance = GetModuleHandleA(nullptr);
    const std::wstring cls = wide(className, CP_ACP);
    WNDCLASSW wc = {};
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpfnWndProc = browserProc;
    wc.lpszClassName = cls.c_str();
    RegisterClassW(&wc);
    CoInitialize(nullptr);

    title = wide(args[2], flag('u') ? CP_UTF8 : 1252);
    // The server is there before the window, which the tests wait for.
    std::vector<std::string> edits;
    for (const char* raw : args.subspan(5)) {
        const std::string argument = raw;
        if (argument.starts_with("acc:"))
            accessible = browserTree(className.starts_with("Chrome_WidgetWin_"),
                                     wide(argument.substr(4), 1252), flags);
        else if (!serveDde(argument))
            edits.push_back(argument);
    }
    if (flag('d'))
        pageDialog = Node::make(ROLE_SYSTEM_CLIENT, {}, {Node::make(ROLE_SYSTEM_DIALOG)});

    hidden = flag('h');
    const HWND hwnd = CreateWindowExW(flag('t') ? WS_EX_TOPMOST : 0, cls.c_str(), title.c_str(),
                                      flag('b') ? WS_POPUP : WS_OVERLAPPEDWINDOW, 40, 40, 480, 240,
                                      nullptr, nullptr, instance, nullptr);
    if (!hwnd) return 1;
    browser = hwnd;
    if (accessible) SetPropA(hwnd, "tabs", reinterpret_cast<HANDLE>(tabList->children.size()));
    const HWND parent = flag('n') ? CreateWindowExW(0, L"Static", L"", WS_CHILD | WS_VISIBLE, 0, 0,
                                                    480, 200, hwnd, nullptr, instance, nullptr)
                                  : hwnd;
    int top = 0;
    for (const std::string& edit : edits) {
        CreateWindowExW(WS_EX_CLIENTEDGE, L"Edit", wide(edit, 1252).c_str(), WS_CHILD | WS_VISIBLE,
                        0, top, 460, 24, parent, nullptr, instance, nullptr);
        top += 28;
    }

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    if (dde.instance) DdeUninitialize(dde.instance);
    return 0;
}
