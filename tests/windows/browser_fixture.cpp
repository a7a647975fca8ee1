// One browser-like window: browser_fixture CLASS TITLE normal|ignore|ask FLAGS
// [EDIT | dde:SERVICE[:REPLY] | acc:ADDRESS]... FLAGS: "-" or any of h (hidden), b (borderless), t
// (topmost), n (the edits in a pane), u (a UTF-8 title, else code page 1252), d (a page's dialog
// hides the tree until a sent WM_APP + 3), f, a, g (see kChromiumTree), 3 or m (2 or 400 more tabs
// of "Andere", one before the tab in front, which shows the title's page and ADDRESS), p (that tab
// pinned), s (playing sound), i (Chromium inactive: no tab in front selected), c (the first tab
// Ctrl-selected too), x (so, not shown). A tab's default action brings it to the front alone
// ("select"); its close button closes it ("press"; Firefox's all selected tabs if it is one), the
// window with the last ("tabs" left; "wrongTab": closed, not in front at the start).
// Window properties count "syscommand" and "close" from other programs, each "question" it asks
// back (ask mode; yes closes it), each "overtaken" WM_CLOSE that came while SC_CLOSE or a question
// was still handled, "ddeRequest"s (a server without REPLY never answers), and of its accessibility
// tree each "getObject" (WM_GETOBJECT for the client), "accCall" and "pageWalk" into the page. A
// posted WM_APP hangs it, with "hung" set, until the event "zk-fixture-resume" is set; a sent
// WM_APP + 1 shows it, WM_APP + 2 navigates: the address becomes the title.

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
    static Node* make(long role, std::wstring value = {}, long claimed = -1) {
        return new Node(role, std::move(value), claimed); // NOLINT: kept
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
    Node(long itsRole, std::wstring itsValue, long itsClaim)
        : role(itsRole), value(std::move(itsValue)), claimed(itsClaim),
          state(itsRole == ROLE_SYSTEM_TEXT ? STATE_SYSTEM_FOCUSABLE : 0) {}
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
Node* tabHolder = nullptr; // its children: the tabs, their values their addresses
Node* front = nullptr;
Node* listed = nullptr; // in front at the start
Node* picked = nullptr; // selected with Ctrl beside the tab in front
bool chromium = false;
std::string flagLetters;
std::wstring title, browserPart; // the part after the page's: " - Google Chrome"
// NOLINTEND(cppcoreguidelines-avoid-non-const-global-variables)

bool flag(char c) { return flagLetters.find(c) != std::string::npos; }

// The window shows the tab in front, which Chromium marks selected only while active.
void show() {
    Node* marked = chromium && flag('i') ? nullptr : front;
    for (Node* t : tabHolder->children)
        t->state = t == marked || (t == picked && !flag('x')) ? STATE_SYSTEM_SELECTED : 0;
    addressField->value = front->value;
    SetWindowTextW(browser, (front == listed ? title : L"Andere" + browserPart).c_str());
    SetPropA(browser, "tabs", reinterpret_cast<HANDLE>(tabHolder->children.size()));
}

// After the call that pressed its close button: Chromium closes the tab, Firefox all selected tabs
// if it is one; the next tab, else the last, comes to the front. A tab gone counts the press alone.
void closeTab(Node* pressed) {
    count(browser, "press");
    std::vector<Node*>& tabs = tabHolder->children;
    if (std::ranges::count(tabs, pressed) == 0) return;
    const bool all = !chromium && picked && (pressed == front || pressed == picked);
    auto gone = [&](Node* t) { return t == pressed || (all && (t == front || t == picked)); };
    for (Node* tab : tabs)
        if (gone(tab) && tab != listed) count(browser, "wrongTab");
    const auto after = std::find_if_not(std::ranges::find(tabs, front), tabs.end(), gone);
    Node* next = after == tabs.end() ? nullptr : *after;
    std::erase_if(tabs, gone);
    if (tabs.empty()) return (void)DestroyWindow(browser);
    front = next ? next : tabs.back();
    show();
}

// Chromium's tree and Firefox's, a letter an element of kRoles: A the address field, D the page
// (200 text fields), F a text field holding the title (f: Chromium's find bar and bubble, Firefox's
// find bar), N an element claiming 0x7FFFFFFF children, T and L hold the tabs; x(...) has children,
// f?x is there only with flag f, f!x only without (a: a web app's window, without tool bar).
constexpr std::pair<char, long> kRoles[] = {
    {'c', ROLE_SYSTEM_CLIENT},      {'a', ROLE_SYSTEM_APPLICATION}, {'p', ROLE_SYSTEM_PANE},
    {'l', ROLE_SYSTEM_PAGETABLIST}, {'t', ROLE_SYSTEM_TOOLBAR},     {'g', ROLE_SYSTEM_GROUPING},
    {'o', ROLE_SYSTEM_COMBOBOX},    {'d', ROLE_SYSTEM_DIALOG},      {'b', ROLE_SYSTEM_PUSHBUTTON},
    {'A', ROLE_SYSTEM_TEXT},        {'F', ROLE_SYSTEM_TEXT},        {'D', ROLE_SYSTEM_DOCUMENT},
    {'N', ROLE_SYSTEM_PANE},        {'T', ROLE_SYSTEM_PANE},        {'L', ROLE_SYSTEM_PAGETABLIST}};
constexpr const char* kChromiumTree = "c(f?g(Fb)p(g?Nl(p(Tbbp))a!t(bbg(A)b)D)f?d(F))";
constexpr const char* kFirefoxTree = "a(g?Nt(L)t(bbo(A)b)g(Df?t(Fb)))";

// Adds the elements that `d` describes from `at` on to `parent`, up to the end of its children.
Node* build(Node* parent, const std::string& d, std::size_t& at) {
    for (char c = d[at++]; c != '\0' && c != ')'; c = d[at++]) {
        Node* to = parent; // what is left out is made all the same: the address field stays
        if (d[at] == '?' || d[at] == '!') {
            if (flag(c) != (d[at] == '?')) to = Node::make(0);
            c = d[at + 1];
            at += 2;
        }
        Node* node = to->children.emplace_back(
            Node::make(std::ranges::find(kRoles, c, &std::pair<char, long>::first)->second,
                       c == 'F' ? title : L"", c == 'N' ? 0x7FFFFFFF : -1));
        if (c == 'A') addressField = node;
        if (c == 'D') node->children.assign(200, Node::make(ROLE_SYSTEM_TEXT, L"Suche"));
        if (c == 'T' || c == 'L') tabHolder = node;
        if (d[at] == '(') build(node, d, ++at);
    }
    return parent;
}

Node* tree(const std::string& d, std::size_t at = 0) {
    return build(Node::make(0), d, at)->children.front();
}

// Chromium names a tab by its page and suffixes, and puts a focus ring after its close button;
// Firefox names an untitled page's tab by its address and drops a hidden close button.
Node* browserTree(const std::wstring& address) {
    Node* root = tree(chromium ? kChromiumTree : kFirefoxTree);
    const bool untitled = title == L"Mozilla Firefox";
    const std::size_t dash = std::min({title.find(L" - "), title.find(L" \x2014 "), title.size()});
    browserPart = untitled ? L" \x2014 " + title : title.substr(dash);
    const std::size_t others = flag('m') ? 400 : (flag('3') ? 2 : 0);
    for (std::size_t i = 0; i <= others; ++i) {
        const bool mine = i == std::min<std::size_t>(others, 1), pinned = mine && flag('p');
        Node* tab = tabHolder->children.emplace_back(
            Node::make(ROLE_SYSTEM_PAGETAB, mine ? address : L"andere.de"));
        tab->name = !mine ? L"Andere" : untitled ? address : title.substr(0, dash);
        if (chromium && mine && flag('s')) tab->name += L" - Audio playing";
        if (chromium && pinned) tab->name += L" - Pinned";
        tab->action = [tab] { // to the front alone
            count(browser, "select");
            if (std::ranges::count(tabHolder->children, tab) == 0) return;
            front = tab;
            picked = nullptr;
            show();
        };
        if (mine && flag('s')) tab->children.push_back(Node::make(ROLE_SYSTEM_PUSHBUTTON)); // mute
        if (chromium || !pinned) {
            Node* button = tab->children.emplace_back(Node::make(ROLE_SYSTEM_PUSHBUTTON));
            button->state = pinned ? STATE_SYSTEM_INVISIBLE : 0;
            button->action = [tab] {
                PostMessageW(browser, WM_APP + 4, 0, reinterpret_cast<LPARAM>(tab));
            };
        }
        if (chromium) tab->children.push_back(Node::make(ROLE_SYSTEM_PANE));
        if (mine) listed = front = tab;
    }
    if ((flag('c') || flag('x')) && others > 0) picked = tabHolder->children.front();
    return root;
}

std::wstring wide(const std::string& text, UINT codePage) {
    std::wstring out(text.size(), L'\0');
    const int size = static_cast<int>(text.size());
    out.resize(static_cast<std::size_t>(
        MultiByteToWideChar(codePage, 0, text.data(), size, out.data(), size)));
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
        if (!flag('h')) ShowWindow(hwnd, SW_SHOW);
        return 0;
    case WM_APP + 2:
        if (front) front->value = title;
        if (front) show();
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
    const std::string className = args[1], modeName = args[3];
    flagLetters = args[4];
    mode = modeName == "ignore" ? Mode::Ignore : modeName == "ask" ? Mode::Ask : Mode::Normal;
    chromium = className.starts_with("Chrome_WidgetWin_");

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
            accessible = browserTree(wide(argument.substr(4), 1252));
        else if (!serveDde(argument))
            edits.push_back(argument);
    }
    if (flag('d')) pageDialog = tree("c(d)");

    browser = CreateWindowExW(flag('t') ? WS_EX_TOPMOST : 0, cls.c_str(), title.c_str(),
                              flag('b') ? WS_POPUP : WS_OVERLAPPEDWINDOW, 40, 40, 480, 240, nullptr,
                              nullptr, instance, nullptr);
    if (!browser) return 1;
    if (accessible) show();
    const HWND parent = flag('n') ? CreateWindowExW(0, L"Static", L"", WS_CHILD | WS_VISIBLE, 0, 0,
                                                    480, 200, browser, nullptr, instance, nullptr)
                                  : browser;
    for (int top = 0; const std::string& edit : edits) {
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
