#include "harness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <sstream>

#include <gdiplus.h>

namespace zkt {
namespace {

// Children are put into one job that is killed when the test process ends.
HANDLE childJob() {
    static HANDLE job = [] {
        HANDLE h = CreateJobObjectA(nullptr, nullptr);
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
        limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
        SetInformationJobObject(h, JobObjectExtendedLimitInformation, &limits, sizeof limits);
        return h;
    }();
    return job;
}

// A folder of its own for the running test, emptied of what an earlier run left.
std::string freshFolder() {
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string root = windowsPath(ZK_WORK_ROOT);
    CreateDirectoryA(root.c_str(), nullptr);
    std::string folder = root + "\\" + test->test_suite_name() + "." + test->name();
    CreateDirectoryA(folder.c_str(), nullptr);
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                DeleteFileA((folder + "\\" + found.cFileName).c_str());
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    return folder;
}

void writeFile(const std::string& path, const std::string& data) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << data;
}

} // namespace

std::string windowsPath(const std::string& path) {
    if (path.empty() || path[0] != '/') return path;
    std::string out = "Z:" + path;
    for (char& c : out)
        if (c == '/') c = '\\';
    return out;
}

std::string quotedLines(const std::vector<std::string>& entries) {
    std::string out;
    for (const std::string& entry : entries) out += "\"" + entry + "\"\r\n";
    return out;
}

std::optional<std::string> readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream data;
    data << in.rdbuf();
    return data.str();
}

std::string windowText(HWND hwnd) {
    char text[512] = {};
    GetWindowTextA(hwnd, text, sizeof text);
    return text;
}

std::string className(HWND hwnd) {
    char text[128] = {};
    GetClassNameA(hwnd, text, sizeof text);
    return text;
}

namespace {

struct WindowSearch {
    std::string cls, text;
    DWORD pid;
    HWND found;
};

BOOL CALLBACK matchDescendant(HWND hwnd, LPARAM param) {
    auto* s = reinterpret_cast<WindowSearch*>(param);
    if (className(hwnd) == s->cls && (s->text.empty() || windowText(hwnd) == s->text)) {
        s->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK matchProcessWindow(HWND hwnd, LPARAM param) {
    auto* s = reinterpret_cast<WindowSearch*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid == s->pid && (s->cls.empty() || className(hwnd) == s->cls) &&
        (s->text.empty() || windowText(hwnd) == s->text)) {
        s->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

} // namespace

HWND findDescendant(HWND parent, const std::string& cls, const std::string& text) {
    WindowSearch search{cls, text, 0, nullptr};
    EnumChildWindows(parent, matchDescendant, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

LRESULT query(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(hwnd, msg, wParam, lParam, SMTO_ABORTIFHUNG, 5000, &result))
        return -1;
    return static_cast<LRESULT>(result);
}

void pressKey(HWND hwnd, WPARAM key) {
    PostMessageA(hwnd, WM_KEYDOWN, key, 1);
    PostMessageA(hwnd, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001));
}

Screenshot::Screenshot(HWND window) {
    RECT rect;
    if (!GetWindowRect(window, &rect) || rect.right <= rect.left || rect.bottom <= rect.top) return;
    width_ = rect.right - rect.left;
    height_ = rect.bottom - rect.top;
    BITMAPINFO format = {};
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = width_;
    format.bmiHeader.biHeight = -height_; // top row first
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    void* bits = nullptr;
    bitmap_ = CreateDIBSection(screen, &format, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap_) {
        HGDIOBJ previous = SelectObject(memory, bitmap_);
        if (BitBlt(memory, 0, 0, width_, height_, screen, rect.left, rect.top, SRCCOPY | CAPTUREBLT))
            pixels_ = static_cast<const uint32_t*>(bits);
        SelectObject(memory, previous);
        GdiFlush();
    }
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
}

Screenshot::~Screenshot() {
    if (bitmap_) DeleteObject(bitmap_);
}

int Screenshot::count(COLORREF color) const {
    if (!pixels_) return 0;
    // DIB pixels are 0x00RRGGBB, COLORREF 0x00BBGGRR.
    const uint32_t wanted = uint32_t{GetRValue(color)} << 16 | GetGValue(color) << 8 | GetBValue(color);
    return static_cast<int>(std::count(pixels_, pixels_ + size_t(width_) * size_t(height_), wanted));
}

bool Screenshot::savePng(const std::string& path) const {
    if (!pixels_) return false;
    // GDI+'s PNG encoder.
    static const CLSID png = {0x557cf406, 0x1a04, 0x11d3, {0x9a, 0x73, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    if (Gdiplus::GdiplusStartup(&token, &input, nullptr) != Gdiplus::Ok) return false;
    bool saved = false;
    {
        Gdiplus::Bitmap image(bitmap_, nullptr);
        const std::string file = windowsPath(path);
        const std::wstring wide(file.begin(), file.end());
        saved = image.Save(wide.c_str(), &png, nullptr) == Gdiplus::Ok;
    }
    Gdiplus::GdiplusShutdown(token);
    return saved;
}

DWORD ChildProcess::start(const std::string& exe, const std::string& folder,
                          const std::vector<std::string>& arguments) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    std::string commandLine = "\"" + exe + "\"";
    for (const std::string& argument : arguments) {
        EXPECT_EQ(argument.find('"'), std::string::npos) << "no quotes in arguments";
        commandLine += " \"" + argument + "\"";
    }
    DWORD error = ERROR_SUCCESS;
    for (int attempt = 0; attempt < 10; ++attempt) {
        if (attempt > 0) Sleep(250);
        if (CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                           CREATE_SUSPENDED, nullptr, folder.empty() ? nullptr : folder.c_str(),
                           &startup, &info_)) {
            AssignProcessToJobObject(childJob(), info_.hProcess);
            ResumeThread(info_.hThread);
            return ERROR_SUCCESS;
        }
        error = GetLastError();
        info_ = {};
    }
    return error;
}

void ChildProcess::stop() {
    if (!info_.hProcess) return;
    if (running()) {
        TerminateProcess(info_.hProcess, 1);
        WaitForSingleObject(info_.hProcess, 5000);
    }
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
    info_ = {};
}

bool ChildProcess::running() const {
    return info_.hProcess && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

FakeBrowser::FakeBrowser(const FakeWindow& window) {
    std::string flags = "-";
    if (!window.visible) flags += 'h';
    if (!window.border) flags += 'b';
    if (window.topmost) flags += 't';
    if (window.nested) flags += 'n';
    std::vector<std::string> arguments = {window.cls, window.title, window.mode, flags};
    arguments.insert(arguments.end(), window.edits.begin(), window.edits.end());
    EXPECT_EQ(process_.start(windowsPath(ZK_FIXTURE_EXE), "", arguments), 0u)
        << "cannot start " << ZK_FIXTURE_EXE;
    WindowSearch search{window.cls, "", process_.id(), nullptr};
    EXPECT_TRUE(waitUntil([&] {
        EnumWindows(matchProcessWindow, reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr;
    }, kStartMs)) << "window " << window.id << " was not opened";
    hwnd_ = search.found;
    EXPECT_EQ(query(hwnd_, WM_APP + 1), 0) << "window " << window.id << " was not shown";
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

namespace {

struct QuestionSearch {
    HWND owner;
    HWND box;
};

BOOL CALLBACK matchQuestion(HWND hwnd, LPARAM param) {
    auto* search = reinterpret_cast<QuestionSearch*>(param);
    if (className(hwnd) != "#32770" || GetWindow(hwnd, GW_OWNER) != search->owner) return TRUE;
    search->box = hwnd;
    return FALSE;
}

} // namespace

void FakeBrowser::answer(bool yes) const {
    // The count goes up just before the message box opens.
    QuestionSearch search{hwnd_, nullptr};
    ASSERT_TRUE(waitUntil([&] {
        EnumWindows(matchQuestion, reinterpret_cast<LPARAM>(&search));
        return search.box != nullptr;
    })) << "no question is open";
    PostMessageA(search.box, WM_COMMAND, MAKEWPARAM(yes ? IDYES : IDNO, BN_CLICKED), 0);
}

Program::Program(std::optional<std::vector<std::string>> titles,
                 std::optional<std::vector<std::string>> urls, std::optional<std::string> config)
    : folder_(freshFolder()) {
    std::string exe = path("zuklapper.exe");
    EXPECT_TRUE(CopyFileA(windowsPath(ZK_PROGRAM_EXE).c_str(), exe.c_str(), FALSE))
        << "cannot copy " << ZK_PROGRAM_EXE;
    if (titles) writeFile(path("lstTitel.txt"), quotedLines(*titles));
    if (urls) writeFile(path("lstUrl.txt"), quotedLines(*urls));
    if (config) writeFile(path("config.ini"), *config);
    EXPECT_EQ(process_.start(exe, folder_), 0u) << "cannot start " << exe;
    EXPECT_TRUE(waitUntil([this] { return mainWindow() != nullptr; }, kStartMs))
        << "zuklapper.exe has no window captioned \"Zuklapper 1.08\"";
}

HWND Program::mainWindow() const {
    WindowSearch search{"", "Zuklapper 1.08", process_.id(), nullptr};
    EnumWindows(matchProcessWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND Program::hostWindow() const {
    WindowSearch search{"", "Form2", process_.id(), nullptr};
    EnumWindows(matchProcessWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void Program::showMainWindow() const {
    PostMessageA(hostWindow(), WM_MOUSEMOVE, 0, WM_LBUTTONDBLCLK);
    waitUntil([this] { return IsWindowVisible(mainWindow()) != FALSE; });
}

bool Program::waitForEnd(DWORD timeoutMs) const {
    return WaitForSingleObject(process_.handle(), timeoutMs) == WAIT_OBJECT_0;
}

bool Program::handlesInput(DWORD timeoutMs) const {
    HWND list = findDescendant(mainWindow(), "ListBox");
    LRESULT count = query(list, LB_GETCOUNT);
    if (!list || count < 2) return false;
    LRESULT target = query(list, LB_GETCURSEL) == 0 ? count - 1 : 0;
    pressKey(list, target == 0 ? VK_HOME : VK_END);
    return waitUntil([&] { return query(list, LB_GETCURSEL) == target; }, timeoutMs);
}

} // namespace zkt
