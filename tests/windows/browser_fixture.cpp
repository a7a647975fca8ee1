// One browser-like top-level window, shaped by the command line:
//   browser_fixture CLASS TITLE normal|ignore|ask FLAGS [EDIT | dde:SERVICE:REPLY |
//                   ddehang:SERVICE]...
// FLAGS holds any of h (hidden), b (borderless), t (topmost), n (the edits in a pane), or
// is "-". The window counts what reaches it in window properties that the tests read:
// "syscommand" and "close" for close requests of other programs, "question" for each
// question it asked back ("ask" mode; it closes when the answer is yes), and "overtaken"
// for each WM_CLOSE of another program that came while the window was still handling
// SC_CLOSE or asking its question: a program must never send that. A posted WM_APP
// makes it stop responding, with the property "hung" set, until the event named
// "zk-fixture-resume" is set. The window is created invisible and shows itself (unless
// hidden) on a sent WM_APP + 1, so the tests know it before anybody can close it.
// With dde:SERVICE:REPLY the process is a DDE server of SERVICE for the topic
// WWW_GetWindowInfo that answers a request of the item "-1" in text format with REPLY;
// with ddehang:SERVICE it takes the conversation but never answers. Each request it gets
// is counted in "ddeRequest".

#include <windows.h>
#include <ddeml.h>

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
    HSZ service = nullptr;
    HSZ topic = nullptr;
    HSZ item = nullptr;
    std::string reply;
    bool hang = false;
} dde;
// NOLINTEND(cppcoreguidelines-avoid-non-const-global-variables)

constexpr const char* kCounts[] = {"syscommand", "close", "question",
                                   "overtaken",  "hung",  "ddeRequest"};

void count(HWND hwnd, const char* name) {
    const auto value = reinterpret_cast<INT_PTR>(GetPropA(hwnd, name));
    SetPropA(hwnd, name, reinterpret_cast<HANDLE>(value + 1));
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

// "dde:SERVICE:REPLY" or "ddehang:SERVICE"; false for any other argument.
bool serveDde(const std::string& argument) {
    std::string service;
    if (argument.starts_with("dde:")) {
        const std::size_t colon = argument.find(':', 4);
        if (colon == std::string::npos) return false;
        service = argument.substr(4, colon - 4);
        dde.reply = argument.substr(colon + 1);
    } else if (argument.starts_with("ddehang:")) {
        service = argument.substr(8);
        dde.hang = true;
    } else {
        return false;
    }
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
        DefWindowProcA(hwnd, msg, wParam, lParam);
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
            const int answer = MessageBoxA(hwnd, "Diese Seite wirklich verlassen?", "Frage",
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
    case WM_NCDESTROY:
        for (const char* name : kCounts) RemovePropA(hwnd, name);
        PostQuitMessage(0);
        break;
    default:
        break;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 5) return 2;
    const std::span<char*> args(argv, static_cast<std::size_t>(argc));
    const std::string className = args[1], modeName = args[3], flags = args[4];
    mode = modeName == "ignore" ? Mode::Ignore : modeName == "ask" ? Mode::Ask : Mode::Normal;
    auto flag = [&](char c) { return flags.find(c) != std::string::npos; };

    const HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA wc = {};
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpfnWndProc = browserProc;
    wc.lpszClassName = className.c_str();
    RegisterClassA(&wc);

    // The server is there before the window, which the tests wait for.
    std::vector<std::string> edits;
    for (const char* argument : args.subspan(5))
        if (!serveDde(argument)) edits.push_back(argument);

    hidden = flag('h');
    const HWND hwnd = CreateWindowExA(flag('t') ? WS_EX_TOPMOST : 0, className.c_str(), args[2],
                                      flag('b') ? WS_POPUP : WS_OVERLAPPEDWINDOW, 40, 40, 480, 240,
                                      nullptr, nullptr, instance, nullptr);
    if (!hwnd) return 1;
    browser = hwnd;
    const HWND parent = flag('n') ? CreateWindowExA(0, "Static", "", WS_CHILD | WS_VISIBLE, 0, 0,
                                                    480, 200, hwnd, nullptr, instance, nullptr)
                                  : hwnd;
    int top = 0;
    for (const std::string& edit : edits) {
        CreateWindowExA(WS_EX_CLIENTEDGE, "Edit", edit.c_str(), WS_CHILD | WS_VISIBLE, 0, top, 460,
                        24, parent, nullptr, instance, nullptr);
        top += 28;
    }

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    if (dde.instance) DdeUninitialize(dde.instance);
    return 0;
}
