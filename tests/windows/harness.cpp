#include "harness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <span>

#include <gdiplus.h>

namespace zkt {

std::string windowsPath(const std::string& path) {
    if (path.empty() || path[0] != '/') return path;
    std::string out = "Z:" + path;
    std::replace(out.begin(), out.end(), '/', '\\');
    return out;
}

std::string freshFolder() {
    namespace fs = std::filesystem;
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    const fs::path folder = fs::path(windowsPath(ZK_WORK_ROOT)) /
                            (std::string(test->test_suite_name()) + "." + test->name());
    std::error_code error;
    fs::create_directories(folder, error);
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, error))
        fs::remove(entry.path(), error); // a file still in use stays; it is overwritten
    return folder.string();
}

std::string quotedLines(const std::vector<std::string>& entries) {
    std::string out;
    for (const std::string& entry : entries) out += "\"" + entry + "\"\r\n";
    return out;
}

// Shared every way, so that the program can replace the file while a test reads it.
std::optional<std::string> readFile(const std::string& path) {
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::nullopt;
    std::string data(GetFileSize(file, nullptr), '\0');
    DWORD read = 0;
    const bool ok = ReadFile(file, data.data(), static_cast<DWORD>(data.size()), &read, nullptr);
    CloseHandle(file);
    data.resize(read);
    return ok ? std::optional(data) : std::nullopt;
}

void writeFile(const std::string& path, const std::string& data) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << data;
}

std::string windowText(HWND hwnd) {
    char text[512] = {};
    GetWindowTextA(hwnd, text, sizeof text);
    return text;
}

std::string controlText(HWND control, UINT message, WPARAM wParam) {
    wchar_t text[1024] = {};
    char ansi[2048] = {};
    SendMessageTimeoutW(control, message, wParam, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                        5000, nullptr);
    WideCharToMultiByte(CP_ACP, 0, text, -1, ansi, sizeof ansi, nullptr, nullptr);
    return ansi;
}

std::string className(HWND hwnd) {
    char text[128] = {};
    GetClassNameA(hwnd, text, sizeof text);
    return text;
}

namespace {

struct WindowSearch {
    const std::function<bool(HWND)>& match;
    HWND found = nullptr;
};

BOOL CALLBACK visitWindow(HWND hwnd, LPARAM param) {
    auto& search = *reinterpret_cast<WindowSearch*>(param);
    if (!search.match(hwnd)) return TRUE;
    search.found = hwnd;
    return FALSE;
}

} // namespace

HWND findWindow(HWND parent, const std::function<bool(HWND)>& match) {
    WindowSearch search{match};
    if (parent)
        EnumChildWindows(parent, visitWindow, reinterpret_cast<LPARAM>(&search));
    else
        EnumWindows(visitWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND findDescendant(HWND parent, const std::string& cls, const std::string& text) {
    return findWindow(parent, [&](HWND hwnd) {
        return className(hwnd) == cls && (text.empty() || windowText(hwnd) == text);
    });
}

LRESULT query(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(hwnd, msg, wParam, lParam, SMTO_ABORTIFHUNG, 5000, &result)) return -1;
    return static_cast<LRESULT>(result);
}

void pressKey(HWND hwnd, WPARAM key) {
    PostMessageA(hwnd, WM_KEYDOWN, key, 1);
    PostMessageA(hwnd, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001));
}

bool bringToFront(HWND window) {
    SetForegroundWindow(window);
    const bool front = waitUntil([&] { return GetForegroundWindow() == window; });
    Sleep(500);
    return front;
}

void typeKey(WORD key, std::initializer_list<WORD> modifiers, DWORD holdMs) {
    auto send = [](WORD vk, DWORD flags) {
        INPUT input = {};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = vk;
        input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC));
        input.ki.dwFlags = flags;
        SendInput(1, &input, sizeof input);
    };
    for (WORD modifier : modifiers) send(modifier, 0);
    if (modifiers.size() > 0) Sleep(200);
    send(key, 0);
    Sleep(holdMs);
    send(key, KEYEVENTF_KEYUP);
    if (modifiers.size() == 0) return;
    Sleep(800); // several polls, also when the program is slow to get to one

    for (WORD modifier : modifiers) send(modifier, KEYEVENTF_KEYUP);
}

namespace {

// The window's rectangle as the screen shows it: 0x00RRGGBB from the top row, none if it fails.
std::vector<uint32_t> screenPixels(HWND window, int& width) {
    RECT rect{};
    if (!GetWindowRect(window, &rect) || rect.right <= rect.left || rect.bottom <= rect.top)
        return {};
    width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    BITMAPINFO format = {};
    format.bmiHeader = {sizeof format.bmiHeader, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<uint32_t> pixels;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &format, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    if (bitmap &&
        BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY | CAPTUREBLT) &&
        GdiFlush()) {
        const std::span<const uint32_t> shown(static_cast<const uint32_t*>(bits),
                                              size_t(width) * size_t(height));
        pixels.assign(shown.begin(), shown.end());
    }
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return pixels;
}

} // namespace

int countPixels(HWND window, COLORREF color) {
    int width = 0;
    const std::vector<uint32_t> pixels = screenPixels(window, width);
    const uint32_t wanted = // COLORREF is 0x00BBGGRR
        uint32_t{GetRValue(color)} << 16 | GetGValue(color) << 8 | GetBValue(color);
    return static_cast<int>(std::count(pixels.begin(), pixels.end(), wanted));
}

bool keepPicture(HWND window, const std::string& name) {
    Sleep(300);
    int width = 0;
    std::vector<uint32_t> pixels = screenPixels(window, width);
    if (pixels.empty()) return false;
    // GDI+'s PNG encoder.
    static const CLSID png = {
        0x557cf406, 0x1a04, 0x11d3, {0x9a, 0x73, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    if (Gdiplus::GdiplusStartup(&token, &input, nullptr) != Gdiplus::Ok) return false;
    const std::wstring file =
        std::filesystem::path(windowsPath(std::string(ZK_SCREENSHOTS) + "/" + name)).wstring();
    const bool saved = Gdiplus::Bitmap(width, static_cast<int>(pixels.size()) / width, width * 4,
                                       PixelFormat32bppRGB, reinterpret_cast<BYTE*>(pixels.data()))
                           .Save(file.c_str(), &png, nullptr) == Gdiplus::Ok;
    Gdiplus::GdiplusShutdown(token);
    return saved;
}

namespace {

// Backslashes count as escapes only before a quote, and so before the closing one.
std::string quotedArgument(const std::string& argument) {
    std::string out = "\"";
    std::size_t backslashes = 0;
    for (char c : argument) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        out.append(c == '"' ? 2 * backslashes + 1 : backslashes, '\\');
        out += c;
        backslashes = 0;
    }
    out.append(2 * backslashes, '\\');
    return out + "\"";
}

} // namespace

DWORD ChildProcess::start(const std::string& exe, const std::string& folder,
                          const std::vector<std::string>& arguments) {
    // Children are put into one job that is killed when the test process ends.
    static const HANDLE job = [] {
        HANDLE h = CreateJobObjectA(nullptr, nullptr);
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
        limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
        SetInformationJobObject(h, JobObjectExtendedLimitInformation, &limits, sizeof limits);
        return h;
    }();
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    std::string commandLine = "\"" + exe + "\"";
    for (const std::string& argument : arguments)
        commandLine.append(" ").append(quotedArgument(argument));
    DWORD error = ERROR_SUCCESS; // Wine can fail a start while its helper processes come up
    for (int attempt = 0; attempt < 10; ++attempt) {
        if (attempt > 0) Sleep(250);
        if (CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                           CREATE_SUSPENDED, nullptr, folder.empty() ? nullptr : folder.c_str(),
                           &startup, &info_)) {
            AssignProcessToJobObject(job, info_.hProcess);
            ResumeThread(info_.hThread);
            return ERROR_SUCCESS;
        }
        error = GetLastError();
        info_ = {};
    }
    return error;
}

ChildProcess::~ChildProcess() {
    if (!info_.hProcess) return;
    if (running()) {
        TerminateProcess(info_.hProcess, 1);
        WaitForSingleObject(info_.hProcess, 5000);
    }
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
}

HWND ChildProcess::window(const std::function<bool(HWND)>& match) const {
    return findWindow(nullptr, [&](HWND hwnd) {
        DWORD pid = 0;
        GetWindowThreadProcessId(hwnd, &pid);
        return pid == info_.dwProcessId && match(hwnd);
    });
}

bool ChildProcess::running() const {
    return info_.hProcess && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

FakeBrowser::FakeBrowser(const FakeWindow& window) {
    const std::string flags = std::string("-") + (window.visible ? "" : "h") +
                              (window.border ? "" : "b") + (window.topmost ? "t" : "") +
                              (window.nested ? "n" : "") + window.flags;
    std::vector<std::string> arguments = {window.cls, window.title, window.mode, flags};
    arguments.insert(arguments.end(), window.edits.begin(), window.edits.end());
    if (!window.ddeService.empty())
        arguments.push_back("dde:" + window.ddeService +
                            (window.ddeHang ? "" : ":" + window.ddeReply));
    if (window.accessibleAddress) arguments.push_back("acc:" + *window.accessibleAddress);
    std::string exe = windowsPath(ZK_FIXTURE_EXE);
    if (!window.program.empty()) { // the fixture under the program's name, in a folder of its own
        const std::string folder = windowsPath(ZK_WORK_ROOT) + "\\programs";
        CreateDirectoryA(folder.c_str(), nullptr);
        CopyFileA(exe.c_str(), (folder + "\\" + window.program).c_str(), FALSE);
        exe = folder + "\\" + window.program;
    }
    EXPECT_EQ(process_.start(exe, "", arguments), 0u) << "cannot start " << exe;
    EXPECT_TRUE(waitUntil(
        [&] {
            hwnd_ = process_.window([&](HWND hwnd) { return className(hwnd) == window.cls; });
            return hwnd_ != nullptr;
        },
        kStartMs))
        << "window \"" << window.title << "\" was not opened";
    EXPECT_EQ(query(hwnd_, WM_APP + 1), 0) << "window \"" << window.title << "\" was not shown";
}

bool FakeBrowser::closed(DWORD timeoutMs) const {
    return waitUntil([this] { return !IsWindow(hwnd_); }, timeoutMs);
}

int FakeBrowser::count(const char* what) const {
    return static_cast<int>(reinterpret_cast<INT_PTR>(GetPropA(hwnd_, what)));
}

void FakeBrowser::hang() {
    resume_ = CreateEventA(nullptr, TRUE, FALSE, "zk-fixture-resume");
    PostMessageA(hwnd_, WM_APP, 0, 0);
    EXPECT_TRUE(waitUntil([this] { return count("hung") > 0; })) << "the window does not hang";
}

void FakeBrowser::resume() {
    SetEvent(resume_);
    CloseHandle(resume_);
    resume_ = nullptr;
}

void FakeBrowser::answer(bool yes) const {
    // The count goes up just before the message box opens.
    HWND box = nullptr;
    ASSERT_TRUE(waitUntil([&] {
        box = process_.window([this](HWND hwnd) {
            return className(hwnd) == "#32770" && GetWindow(hwnd, GW_OWNER) == hwnd_;
        });
        return box != nullptr;
    })) << "no question is open";
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(yes ? IDYES : IDNO, BN_CLICKED), 0);
}

Program::Program(std::optional<std::vector<std::string>> titles,
                 std::optional<std::vector<std::string>> urls, std::optional<std::string> config,
                 std::optional<std::string> titleFile)
    : folder_(freshFolder()) {
    const std::string exe = path("zuklapper.exe");
    EXPECT_TRUE(CopyFileA(windowsPath(ZK_PROGRAM_EXE).c_str(), exe.c_str(), FALSE))
        << "cannot copy " << ZK_PROGRAM_EXE;
    if (titles) titleFile = quotedLines(*titles);
    if (titleFile) writeFile(path("lstTitel.txt"), *titleFile);
    if (urls) writeFile(path("lstUrl.txt"), quotedLines(*urls));
    if (config) writeFile(path("config.ini"), *config);
    EXPECT_EQ(process_.start(exe, folder_), 0u) << "cannot start " << exe;
    EXPECT_TRUE(waitUntil([this] { return mainWindow() != nullptr; }, kStartMs))
        << "zuklapper.exe has no window captioned \"Zuklapper 1.08\"";
}

HWND Program::awaitWindow(const std::function<bool(HWND)>& match, DWORD timeoutMs) const {
    HWND found = nullptr;
    waitUntil([&] { return (found = process_.window(match)) != nullptr; }, timeoutMs);
    return found;
}

HWND Program::shownWindow(const std::string& caption, DWORD timeoutMs) const {
    return awaitWindow(
        [&](HWND hwnd) { return IsWindowVisible(hwnd) && windowText(hwnd) == caption; }, timeoutMs);
}

HWND Program::mainWindow() const {
    return process_.window([](HWND hwnd) { return windowText(hwnd) == "Zuklapper 1.08"; });
}

HWND Program::hostWindow() const {
    return process_.window([](HWND hwnd) { return windowText(hwnd) == "Form2"; });
}

std::vector<std::string> Program::files() const {
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder_, error))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::string Program::answerMessage(const std::string& picture, int button) const {
    return process_.answerMessage(picture, button);
}

std::string ChildProcess::answerMessage(const std::string& picture, int button) const {
    HWND box = nullptr;
    waitUntil([&] {
        return (box = window([](HWND hwnd) {
                    return className(hwnd) == "#32770" && windowText(hwnd) == "Zuklapper";
                })) != nullptr;
    });
    if (!box) return {};
    EXPECT_TRUE(picture.empty() || keepPicture(box, picture));
    std::string said =
        windowText(findWindow(box, [](HWND hwnd) { return GetDlgCtrlID(hwnd) == 0xFFFF; }));
    PostMessageA(box, WM_COMMAND, static_cast<WPARAM>(button), 0);
    EXPECT_TRUE(waitUntil([&] { return !IsWindow(box); })) << said;
    return said;
}

void Program::showMainWindow() const {
    PostMessageA(hostWindow(), WM_MOUSEMOVE, 0, WM_LBUTTONDBLCLK);
    waitUntil([this] { return IsWindowVisible(mainWindow()) != FALSE; });
    // In front: a busy machine once lost a click sent before the window was activated.
    waitUntil([this] { return GetForegroundWindow() == mainWindow(); }, 2000);
    query(mainWindow(), WM_NULL);
    Sleep(100);
}

void Program::armAddressCapture() const {
    showMainWindow();
    const HWND main = mainWindow();
    PostMessageA(findDescendant(main, "Button", "Urlliste"), BM_CLICK, 0, 0);
    const HWND button = findDescendant(main, "Button", "&Hinzuf\xFCgen");
    PostMessageA(button, BM_CLICK, 0, 0);
    EXPECT_TRUE(waitUntil([&] { return windowText(button) == "&Abbrechen"; }));
}

HWND Program::openMenu() const {
    PostMessageA(hostWindow(), WM_MOUSEMOVE, 0, WM_RBUTTONUP);
    HWND menu = nullptr;
    waitUntil([&] { return (menu = FindWindowA("#32768", nullptr)) != nullptr; });
    return menu;
}

bool Program::chooseFromMenu(WORD mnemonic) const {
    if (!openMenu()) return false;
    typeKey(mnemonic);
    return true;
}

HWND Program::aboutBox(DWORD timeoutMs) const {
    return awaitWindow(
        [](HWND hwnd) {
            return IsWindowVisible(hwnd) && className(hwnd) == "ZuklapperForm" &&
                   windowText(hwnd) == "Info";
        },
        timeoutMs);
}

bool Program::waitForEnd(DWORD timeoutMs) const {
    return WaitForSingleObject(process_.handle(), timeoutMs) == WAIT_OBJECT_0;
}

bool Program::pumpsMessages(DWORD timeoutMs) const {
    const HWND list = findDescendant(mainWindow(), "ListBox");
    const LRESULT count = query(list, LB_GETCOUNT);
    if (!list || count < 2) return false;
    const LRESULT target = query(list, LB_GETCURSEL) == 0 ? count - 1 : 0;
    PostMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(target), 0);
    return waitUntil([&] { return query(list, LB_GETCURSEL) == target; }, timeoutMs);
}

} // namespace zkt
