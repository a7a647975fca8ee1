// Opens browser-like top-level windows on command and reports what happens to them.
//
// Commands arrive as lines on stdin, events leave as lines on stdout:
//   open id=ID class=CLASS title=TEXT [visible=0] [border=0] [topmost=1]
//        [mode=normal|ignore|ask] [nested=1] [edit=TEXT]...
//   close ID | answer ID yes|no | hang MS (0: until resume) | resume | quit
// Values are percent-encoded. Each event is "<GetTickCount64 ms> <event> <id> [detail]":
//   ready, opened ID 0xHWND, syscommand ID ext, close ID ext|own, question ID,
//   answered ID yes|no, destroyed ID, hung, resumed, error ...
// The UI thread keeps pumping messages except while hung; stdin is read on a second thread.

#include <windows.h>

#include <cstdio>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace {

constexpr UINT WM_APP_COMMAND = WM_APP + 1;
constexpr const char* kBrowserClasses[] = {"IEFrame", "MozillaWindowClass", "IEFrame2", "Notepad"};
constexpr const char* kPaneClass = "ZkFixturePane";
constexpr const char* kHostClass = "ZkFixtureHost";

enum class Mode { Normal, Ignore, Ask };

struct Window {
    std::string id;
    Mode mode = Mode::Normal;
    bool questionOpen = false;
};

std::mutex outputLock;
HANDLE resumeEvent = nullptr;
HWND host = nullptr;
std::map<std::string, HWND> windowsById;

void emit(const std::string& event, const std::string& id = "", const std::string& detail = "") {
    std::string line = std::to_string(GetTickCount64()) + " " + event;
    if (!id.empty()) line += " " + id;
    if (!detail.empty()) line += " " + detail;
    line += "\n";
    std::lock_guard<std::mutex> guard(outputLock);
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), line.data(), static_cast<DWORD>(line.size()),
              &written, nullptr);
}

std::string percentDecode(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size()) {
            out += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::vector<std::string> splitWords(const std::string& line) {
    std::vector<std::string> words;
    size_t pos = 0;
    while (pos < line.size()) {
        size_t end = line.find(' ', pos);
        if (end == std::string::npos) end = line.size();
        if (end > pos) words.push_back(line.substr(pos, end - pos));
        pos = end + 1;
    }
    return words;
}

Window* windowOf(HWND hwnd) {
    return reinterpret_cast<Window*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
}

// Set while the default handling of a system-menu close sends the window its WM_CLOSE.
bool inDefaultSysClose = false;

// "own" for the WM_CLOSE of that default handling, "ext" for requests sent or posted by
// another program.
const char* origin() {
    return inDefaultSysClose ? "own" : "ext";
}

LRESULT CALLBACK browserProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Window* window = windowOf(hwnd);
    if (!window) return DefWindowProcA(hwnd, msg, wParam, lParam);
    switch (msg) {
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) != SC_CLOSE) break;
        emit("syscommand", window->id, origin());
        if (window->mode == Mode::Ignore) return 0;
        {
            bool outer = inDefaultSysClose;
            inDefaultSysClose = true;
            LRESULT result = DefWindowProcA(hwnd, msg, wParam, lParam);
            inDefaultSysClose = outer;
            return result;
        }
    case WM_CLOSE:
        emit("close", window->id, origin());
        inDefaultSysClose = false; // later messages, e.g. during a question, are not its own
        if (window->mode == Mode::Ignore || window->questionOpen) return 0;
        if (window->mode == Mode::Ask) {
            window->questionOpen = true;
            emit("question", window->id);
            int answer = MessageBoxA(hwnd, "Diese Seite wirklich verlassen?", "Frage",
                                     MB_YESNO | MB_ICONQUESTION);
            window->questionOpen = false;
            emit("answered", window->id, answer == IDYES ? "yes" : "no");
            if (answer == IDYES) DestroyWindow(hwnd);
            return 0;
        }
        break;
    case WM_DESTROY:
        emit("destroyed", window->id);
        windowsById.erase(window->id);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        delete window;
        return 0;
    default:
        break;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

void openWindow(const std::vector<std::string>& words) {
    auto window = std::make_unique<Window>();
    std::string className = "IEFrame", title;
    bool visible = true, border = true, topmost = false, nested = false;
    std::vector<std::string> edits;
    for (size_t i = 1; i < words.size(); ++i) {
        size_t eq = words[i].find('=');
        std::string key = words[i].substr(0, eq);
        std::string value = eq == std::string::npos ? "" : percentDecode(words[i].substr(eq + 1));
        if (key == "id") window->id = value;
        else if (key == "class") className = value;
        else if (key == "title") title = value;
        else if (key == "visible") visible = value != "0";
        else if (key == "border") border = value != "0";
        else if (key == "topmost") topmost = value == "1";
        else if (key == "nested") nested = value == "1";
        else if (key == "edit") edits.push_back(value);
        else if (key == "mode") window->mode = value == "ignore" ? Mode::Ignore
                                               : value == "ask" ? Mode::Ask : Mode::Normal;
    }
    if (window->id.empty() || windowsById.count(window->id)) {
        emit("error", "open", "bad-or-duplicate-id");
        return;
    }
    DWORD style = border ? WS_OVERLAPPEDWINDOW : WS_POPUP;
    if (visible) style |= WS_VISIBLE;
    HWND hwnd = CreateWindowExA(topmost ? WS_EX_TOPMOST : 0, className.c_str(), title.c_str(),
                                style, 40, 40, 480, 240, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    if (!hwnd) {
        emit("error", window->id, "create-failed");
        return;
    }
    std::string id = window->id;
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(window.release()));
    HWND parent = hwnd;
    if (nested) {
        parent = CreateWindowExA(0, kPaneClass, "", WS_CHILD | WS_VISIBLE, 0, 0, 480, 200, hwnd,
                                 nullptr, GetModuleHandleA(nullptr), nullptr);
    }
    int top = 0;
    for (const std::string& text : edits) {
        CreateWindowExA(WS_EX_CLIENTEDGE, "Edit", text.c_str(), WS_CHILD | WS_VISIBLE, 0, top,
                        460, 24, parent, nullptr, GetModuleHandleA(nullptr), nullptr);
        top += 28;
    }
    windowsById[id] = hwnd;
    char handle[32];
    std::snprintf(handle, sizeof handle, "0x%llx",
                  static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(hwnd)));
    emit("opened", id, handle);
}

struct QuestionSearch {
    HWND owner;
    HWND box;
};

BOOL CALLBACK findQuestion(HWND hwnd, LPARAM param) {
    auto* search = reinterpret_cast<QuestionSearch*>(param);
    char cls[64] = {};
    GetClassNameA(hwnd, cls, sizeof cls);
    if (std::string(cls) == "#32770" && GetWindow(hwnd, GW_OWNER) == search->owner) {
        search->box = hwnd;
        return FALSE;
    }
    return TRUE;
}

// Ends the open question of a window by pressing one of the message box's buttons.
void answerQuestion(HWND owner, bool yes) {
    QuestionSearch search{owner, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), findQuestion, reinterpret_cast<LPARAM>(&search));
    if (!search.box) {
        emit("error", "answer", "no-question");
        return;
    }
    PostMessageA(search.box, WM_COMMAND, MAKEWPARAM(yes ? IDYES : IDNO, BN_CLICKED), 0);
}

void runCommand(const std::string& line) {
    std::vector<std::string> words = splitWords(line);
    if (words.empty()) return;
    const std::string& verb = words[0];
    auto target = [&]() -> HWND {
        auto it = words.size() > 1 ? windowsById.find(words[1]) : windowsById.end();
        if (it != windowsById.end()) return it->second;
        emit("error", verb, "unknown-window");
        return nullptr;
    };
    if (verb == "open") {
        openWindow(words);
    } else if (verb == "close") {
        if (HWND hwnd = target()) DestroyWindow(hwnd);
    } else if (verb == "answer") {
        if (HWND hwnd = target()) answerQuestion(hwnd, words.size() > 2 && words[2] == "yes");
    } else if (verb == "hang") {
        DWORD ms = words.size() > 1 ? static_cast<DWORD>(std::stoul(words[1])) : 0;
        ResetEvent(resumeEvent);
        emit("hung");
        WaitForSingleObject(resumeEvent, ms == 0 ? INFINITE : ms);
        emit("resumed");
    } else if (verb == "quit") {
        PostQuitMessage(0);
    } else {
        emit("error", verb, "unknown-command");
    }
}

LRESULT CALLBACK hostProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_APP_COMMAND) {
        std::unique_ptr<std::string> line(reinterpret_cast<std::string*>(lParam));
        runCommand(*line);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

DWORD WINAPI readCommands(LPVOID) {
    HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    std::string pending;
    char buffer[512];
    DWORD got = 0;
    while (ReadFile(input, buffer, sizeof buffer, &got, nullptr) && got > 0) {
        pending.append(buffer, got);
        size_t end;
        while ((end = pending.find('\n')) != std::string::npos) {
            std::string line = pending.substr(0, end);
            pending.erase(0, end + 1);
            if (!line.empty() && line.back() == '\r') line.pop_back();
            if (line == "resume") {
                SetEvent(resumeEvent);
            } else {
                PostMessageA(host, WM_APP_COMMAND, 0,
                             reinterpret_cast<LPARAM>(new std::string(line)));
            }
        }
    }
    // The test has gone: leave without waiting for a hung UI thread.
    ExitProcess(0);
}

} // namespace

int main() {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA wc = {};
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpfnWndProc = browserProc;
    for (const char* name : kBrowserClasses) {
        wc.lpszClassName = name;
        RegisterClassA(&wc);
    }
    wc.lpfnWndProc = DefWindowProcA;
    wc.lpszClassName = kPaneClass;
    RegisterClassA(&wc);
    wc.lpfnWndProc = hostProc;
    wc.lpszClassName = kHostClass;
    RegisterClassA(&wc);

    host = CreateWindowExA(0, kHostClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance,
                           nullptr);
    resumeEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (!host || !resumeEvent) return 1;
    CloseHandle(CreateThread(nullptr, 0, readCommands, nullptr, 0, nullptr));
    emit("ready");

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    emit("quit");
    return 0;
}
