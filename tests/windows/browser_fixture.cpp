// One browser-like top-level window, shaped by the command line:
//   browser_fixture CLASS TITLE normal|ignore|ask FLAGS [EDIT]...
// FLAGS holds any of h (hidden), b (borderless), t (topmost), n (the edits in a pane), or
// is "-". The window counts what reaches it in window properties that the tests read:
// "syscommand" and "close" for close requests of other programs, "question" for each
// question it asked back ("ask" mode; it closes when the answer is yes), and "overtaken"
// for each WM_CLOSE of another program that came while the window was still handling
// SC_CLOSE or asking its question: a program must never send that. A posted WM_APP
// makes it stop responding, with the property "hung" set, until the event named
// "zk-fixture-resume" is set. The window is created invisible and shows itself (unless
// hidden) on a sent WM_APP + 1, so the tests know it before anybody can close it.

#include <windows.h>

#include <string>

namespace {

enum class Mode { Normal, Ignore, Ask };

Mode mode = Mode::Normal;
bool ownClose = false; // the default handling of SC_CLOSE sends the window its own WM_CLOSE
bool inSysClose = false;
bool questionOpen = false;
bool hidden = false;
constexpr const char* kCounts[] = {"syscommand", "close", "question", "overtaken", "hung"};

void count(HWND hwnd, const char* name) {
    const auto value = reinterpret_cast<INT_PTR>(GetPropA(hwnd, name));
    SetPropA(hwnd, name, reinterpret_cast<HANDLE>(value + 1));
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
    const std::string className = argv[1], modeName = argv[3], flags = argv[4];
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

    hidden = flag('h');
    const HWND hwnd = CreateWindowExA(flag('t') ? WS_EX_TOPMOST : 0, className.c_str(), argv[2],
                                      flag('b') ? WS_POPUP : WS_OVERLAPPEDWINDOW, 40, 40, 480, 240,
                                      nullptr, nullptr, instance, nullptr);
    if (!hwnd) return 1;
    const HWND parent = flag('n') ? CreateWindowExA(0, "Static", "", WS_CHILD | WS_VISIBLE, 0, 0,
                                                    480, 200, hwnd, nullptr, instance, nullptr)
                                  : hwnd;
    for (int i = 5, top = 0; i < argc; ++i, top += 28)
        CreateWindowExA(WS_EX_CLIENTEDGE, "Edit", argv[i], WS_CHILD | WS_VISIBLE, 0, top, 460, 24,
                        parent, nullptr, instance, nullptr);

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
