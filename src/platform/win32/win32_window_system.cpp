#include "platform/win32/win32_window_system.h"

#include "platform/win32/win32_code_page.h"

#include <algorithm>
#include <cstring>

namespace zk {

namespace {

constexpr UINT kTextTimeoutMs = 50;
// No address field holds more; a longer text is read only this far.
constexpr DWORD_PTR kMaxControlText = DWORD_PTR{64} * 1024;

// Where the answers to close messages go: one handler for the program, which has one
// window system. An answer that comes after it has gone finds none.
std::function<void(std::uint32_t)>& closeAnswerHandler() {
    static std::function<void(std::uint32_t)> handler;
    return handler;
}

BOOL CALLBACK collectWindow(HWND window, LPARAM list) {
    reinterpret_cast<std::vector<Hwnd>*>(list)->push_back(fromHwnd(window));
    return TRUE;
}

void CALLBACK closeAnswered(HWND, UINT, ULONG_PTR id, LRESULT) {
    // A copy: the handler may replace itself.
    if (auto handler = closeAnswerHandler()) handler(static_cast<std::uint32_t>(id));
}

bool sendWithTimeout(HWND window, UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR& result) {
    return SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kTextTimeoutMs,
                               &result) != 0;
}

} // namespace

Win32WindowSystem::Win32WindowSystem() = default;

Win32WindowSystem::~Win32WindowSystem() {
    closeAnswerHandler() = nullptr;
    if (folderClaim_) CloseHandle(folderClaim_);
    if (globalClaim_) CloseHandle(globalClaim_);
    if (greyIcon_) DestroyIcon(static_cast<HICON>(greyIcon_));
}

std::int64_t Win32WindowSystem::milliseconds() {
    return static_cast<std::int64_t>(GetTickCount64());
}

WindowSystem::LocalTime Win32WindowSystem::localTime() {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return {now.wYear, now.wMonth,  now.wDay,   (now.wDayOfWeek + 6) % 7,
            now.wHour, now.wMinute, now.wSecond};
}

std::uint16_t Win32WindowSystem::keyState(int virtualKey) {
    return static_cast<std::uint16_t>(GetAsyncKeyState(virtualKey));
}

Hwnd Win32WindowSystem::foregroundWindow() { return fromHwnd(GetForegroundWindow()); }

std::vector<Hwnd> Win32WindowSystem::topLevelWindows() {
    std::vector<Hwnd> windows;
    EnumWindows(collectWindow, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

std::uint32_t Win32WindowSystem::style(Hwnd window) {
    return static_cast<std::uint32_t>(GetWindowLongPtrA(toHwnd(window), GWL_STYLE));
}

std::string Win32WindowSystem::windowText(Hwnd window) {
    const int length = GetWindowTextLengthA(toHwnd(window));
    if (length <= 0) return {};
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    const int copied = GetWindowTextA(toHwnd(window), text.data(), length + 1);
    text.resize(static_cast<std::size_t>(std::clamp(copied, 0, length)));
    return text;
}

std::string Win32WindowSystem::className(Hwnd window) {
    char name[100];
    const int copied = GetClassNameA(toHwnd(window), name, static_cast<int>(sizeof name));
    return std::string(name, static_cast<std::size_t>(std::max(copied, 0)));
}

std::vector<Hwnd> Win32WindowSystem::descendants(Hwnd window) {
    std::vector<Hwnd> children;
    EnumChildWindows(toHwnd(window), collectWindow, reinterpret_cast<LPARAM>(&children));
    return children;
}

// Asks in wide characters and converts here: Wine answers an ANSI WM_GETTEXTLENGTH with
// a second, unbounded WM_GETTEXT of its own, which hangs on a window that does not answer.
std::string Win32WindowSystem::controlText(Hwnd control) {
    const HWND window = toHwnd(control);
    DWORD_PTR length = 0;
    if (!sendWithTimeout(window, WM_GETTEXTLENGTH, 0, 0, length) || length == 0) return {};
    length = std::min(length, kMaxControlText);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    DWORD_PTR copied = 0;
    if (!sendWithTimeout(window, WM_GETTEXT, static_cast<WPARAM>(text.size()),
                         reinterpret_cast<LPARAM>(text.data()), copied))
        return {};
    text.resize(std::min(static_cast<std::size_t>(std::min(copied, length)), text.find(L'\0')));
    return narrow(text, CP_ACP, false).value_or("");
}

std::uint32_t Win32WindowSystem::windowThread(Hwnd window) {
    return GetWindowThreadProcessId(toHwnd(window), nullptr);
}

std::string Win32WindowSystem::processName(Hwnd window) {
    DWORD id = 0;
    if (!GetWindowThreadProcessId(toHwnd(window), &id) || id == 0) return {};
    const HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id);
    if (!process) return {};
    std::string path(MAX_PATH * 2, '\0');
    auto size = static_cast<DWORD>(path.size());
    const bool named = QueryFullProcessImageNameA(process, 0, path.data(), &size) != 0;
    CloseHandle(process);
    if (!named) return {};
    path.resize(size);
    return path.substr(path.find_last_of("\\/") + 1);
}

// SendMessageCallback returns at once; the system calls back when the window has handled
// the message, while this thread waits for messages.
bool Win32WindowSystem::sendCloseMessage(Hwnd window, CloseMessage message, std::uint32_t id) {
    // SC_CLOSE as the signed 16-bit value it is widened from.
    const auto scClose = static_cast<WPARAM>(static_cast<LONG_PTR>(static_cast<SHORT>(SC_CLOSE)));
    const bool sysCommand = message == CloseMessage::SysCommandClose;
    return SendMessageCallbackA(toHwnd(window), sysCommand ? WM_SYSCOMMAND : WM_CLOSE,
                                sysCommand ? scClose : 0, 0, closeAnswered, id) != 0;
}

void Win32WindowSystem::onCloseAnswered(std::function<void(std::uint32_t)> handler) {
    closeAnswerHandler() = std::move(handler);
}

namespace {

// The record in its first form, which every version of the shell takes: 88 bytes on
// 32-bit Windows.
NOTIFYICONDATAA notifyIconRecord(HWND owner, unsigned id) {
    NOTIFYICONDATAA record{};
    record.cbSize = NOTIFYICONDATAA_V1_SIZE;
    record.hWnd = owner;
    record.uID = id;
    return record;
}

// The tip: the text, its NUL, then blanks to the end of the field.
void setTip(NOTIFYICONDATAA& record, const std::string& tip) {
    std::memset(record.szTip, ' ', 64);
    const std::size_t length = std::min<std::size_t>(tip.size(), 63);
    std::memcpy(record.szTip, tip.data(), length);
    record.szTip[length] = '\0';
}

// The program's icon, in the size of the notification area.
HICON programIcon() {
    return static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1), IMAGE_ICON,
                                         GetSystemMetrics(SM_CXSMICON),
                                         GetSystemMetrics(SM_CYSMICON), LR_SHARED));
}

// The icon with each colour turned into a light grey of its brightness; nullptr on failure.
HICON greyedIcon(HICON icon) {
    ICONINFO info{};
    if (!GetIconInfo(icon, &info)) return nullptr;
    HICON grey = nullptr;
    BITMAP shape{};
    if (info.hbmColor && GetObjectA(info.hbmColor, sizeof shape, &shape)) {
        BITMAPINFO format{};
        format.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        format.bmiHeader.biWidth = shape.bmWidth;
        format.bmiHeader.biHeight = -shape.bmHeight; // top row first
        format.bmiHeader.biPlanes = 1;
        format.bmiHeader.biBitCount = 32;
        std::vector<std::uint32_t> pixels(static_cast<std::size_t>(shape.bmWidth) *
                                          static_cast<std::size_t>(shape.bmHeight));
        const HDC screen = GetDC(nullptr);
        if (GetDIBits(screen, info.hbmColor, 0, static_cast<UINT>(shape.bmHeight), pixels.data(),
                      &format, DIB_RGB_COLORS)) {
            for (std::uint32_t& p : pixels) {
                const std::uint32_t light =
                    (((p >> 16 & 0xFF) * 30 + (p >> 8 & 0xFF) * 59 + (p & 0xFF) * 11) / 100 +
                     2 * 0xC0) /
                    3;
                p = (p & 0xFF000000) | light << 16 | light << 8 | light;
            }
            SetDIBits(screen, info.hbmColor, 0, static_cast<UINT>(shape.bmHeight), pixels.data(),
                      &format, DIB_RGB_COLORS);
            grey = CreateIconIndirect(&info);
        }
        ReleaseDC(nullptr, screen);
    }
    if (info.hbmColor) DeleteObject(info.hbmColor);
    if (info.hbmMask) DeleteObject(info.hbmMask);
    return grey;
}

} // namespace

bool Win32WindowSystem::addNotifyIcon(Hwnd owner, unsigned id, unsigned callbackMessage,
                                      const std::string& tip) {
    NOTIFYICONDATAA record = notifyIconRecord(toHwnd(owner), id);
    record.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    record.uCallbackMessage = callbackMessage;
    record.hIcon = programIcon();
    setTip(record, tip);
    return Shell_NotifyIconA(NIM_ADD, &record) != 0;
}

bool Win32WindowSystem::modifyNotifyIcon(Hwnd owner, unsigned id, const std::string& tip,
                                         bool grey) {
    NOTIFYICONDATAA record = notifyIconRecord(toHwnd(owner), id);
    record.uFlags = NIF_ICON | NIF_TIP;
    if (grey && !greyIcon_) greyIcon_ = greyedIcon(programIcon());
    record.hIcon = grey && greyIcon_ ? static_cast<HICON>(greyIcon_) : programIcon();
    setTip(record, tip);
    return Shell_NotifyIconA(NIM_MODIFY, &record) != 0;
}

// Balloons came with the record's second form (Windows 2000); earlier shells refuse it.
bool Win32WindowSystem::showNotifyIconNote(Hwnd owner, unsigned id, const std::string& title,
                                           const std::string& text) {
    NOTIFYICONDATAA record = notifyIconRecord(toHwnd(owner), id);
    record.cbSize = NOTIFYICONDATAA_V2_SIZE;
    record.uFlags = NIF_INFO;
    lstrcpynA(record.szInfo, text.c_str(), sizeof record.szInfo);
    lstrcpynA(record.szInfoTitle, title.c_str(), sizeof record.szInfoTitle);
    record.dwInfoFlags = NIIF_WARNING;
    return Shell_NotifyIconA(NIM_MODIFY, &record) != 0;
}

bool Win32WindowSystem::deleteNotifyIcon(Hwnd owner, unsigned id) {
    NOTIFYICONDATAA record = notifyIconRecord(toHwnd(owner), id);
    return Shell_NotifyIconA(NIM_DELETE, &record) != 0;
}

namespace {

// The name of a folder's claims: the same for every spelling of the folder (letter case, short
// names), short, and free of backslashes, which names of the session's objects cannot hold.
std::string claimName(const std::string& folder) {
    std::string path(MAX_PATH, '\0');
    for (;;) {
        const DWORD length =
            GetLongPathNameA(folder.c_str(), path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) {
            path = folder;
            break;
        }
        const bool fits = length < path.size();
        path.resize(length);
        if (fits) break;
    }
    CharUpperBuffA(path.data(), static_cast<DWORD>(path.size()));
    std::uint64_t hash = 14695981039346656037ULL; // FNV-1a
    for (const char c : path) hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ULL;
    char name[40];
    wsprintfA(name, "Zuklapper-%08lx%08lx", static_cast<unsigned long>(hash >> 32),
              static_cast<unsigned long>(hash & 0xFFFFFFFF));
    return name;
}

// Window handles have 32 significant bits, also in 64-bit programs; so 32- and 64-bit copies
// understand each other.
HWND handleFrom(LONG value) { return reinterpret_cast<HWND>(static_cast<LONG_PTR>(value)); }

} // namespace

WindowSystem::FolderClaim Win32WindowSystem::claimProgramFolder(const std::string& folder,
                                                                Hwnd host) {
    if (folderClaim_) return {};
    const std::string name = claimName(folder);
    const HANDLE claim = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                            sizeof(LONG), ("Local\\" + name).c_str());
    // Another user's claim, or one made with administrator rights, cannot be opened.
    if (!claim)
        return {GetLastError() == ERROR_ACCESS_DENIED ? FolderClaim::CopyOutOfReach
                                                      : FolderClaim::ThisCopy};
    const bool held = GetLastError() == ERROR_ALREADY_EXISTS;
    void* view = MapViewOfFile(claim, FILE_MAP_WRITE, 0, 0, 0);
    if (!view) {
        CloseHandle(claim);
        return {held ? FolderClaim::AnotherCopy : FolderClaim::ThisCopy};
    }
    auto* value = static_cast<volatile LONG*>(view);
    if (!held) {
        // A copy of another session holds the global claim alone.
        const HANDLE global = CreateMutexA(nullptr, FALSE, ("Global\\" + name).c_str());
        const bool elsewhere =
            global ? GetLastError() == ERROR_ALREADY_EXISTS : GetLastError() == ERROR_ACCESS_DENIED;
        if (elsewhere) {
            if (global) CloseHandle(global);
            UnmapViewOfFile(view);
            CloseHandle(claim);
            return {FolderClaim::CopyOutOfReach};
        }
        InterlockedExchange(value, static_cast<LONG>(reinterpret_cast<LONG_PTR>(toHwnd(host))));
        UnmapViewOfFile(view);
        folderClaim_ = claim;
        globalClaim_ = global;
        return {};
    }
    // The copy that holds the folder writes its window right after it made the claim.
    LONG running = 0;
    for (int wait = 0; wait < 100 && (running = InterlockedCompareExchange(value, 0, 0)) == 0;
         ++wait)
        Sleep(20);
    UnmapViewOfFile(view);
    CloseHandle(claim);
    return {FolderClaim::AnotherCopy, fromHwnd(handleFrom(running))};
}

// A copy that does not handle the event in time is hung, or about to end.
bool Win32WindowSystem::sendNotifyIconEvent(Hwnd owner, unsigned callbackMessage,
                                            unsigned mouseMessage, unsigned timeoutMs) {
    DWORD process = 0;
    if (!GetWindowThreadProcessId(toHwnd(owner), &process)) return false;
    AllowSetForegroundWindow(process);
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(toHwnd(owner), callbackMessage, 0, static_cast<LPARAM>(mouseMessage),
                               SMTO_ABORTIFHUNG, timeoutMs, &result) != 0;
}

bool Win32WindowSystem::shellExecute(Hwnd owner, const std::string& operation,
                                     const std::string& file, int showCommand) {
    const HINSTANCE result = ShellExecuteA(toHwnd(owner), operation.c_str(), file.c_str(), nullptr,
                                           nullptr, showCommand);
    return reinterpret_cast<INT_PTR>(result) > 32;
}

// As WinExec: the first word names the program, searched where WinExec searches.
bool Win32WindowSystem::startProgram(const std::string& commandLine, int showCommand) {
    std::string line = commandLine; // CreateProcessA may write into it
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(showCommand);
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

} // namespace zk
