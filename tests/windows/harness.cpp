#include "harness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <sstream>

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
    if (pid == s->pid && windowText(hwnd) == s->text) {
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
    if (!SendMessageTimeoutW(hwnd, msg, wParam, lParam, SMTO_ABORTIFHUNG, 2000, &result))
        return -1;
    return static_cast<LRESULT>(result);
}

void pressKey(HWND hwnd, WPARAM key) {
    PostMessageA(hwnd, WM_KEYDOWN, key, 1);
    PostMessageA(hwnd, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001));
}

namespace {

void putBig32(std::string& out, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>(value >> shift);
}

uint32_t crc32(const char* data, size_t size) {
    uint32_t crc = 0xFFFFFFFF;
    for (size_t i = 0; i < size; ++i) {
        crc ^= static_cast<unsigned char>(data[i]);
        for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320 & (0 - (crc & 1)));
    }
    return ~crc;
}

void putChunk(std::string& png, const char* type, const std::string& data) {
    putBig32(png, static_cast<uint32_t>(data.size()));
    size_t start = png.size();
    png += type;
    png += data;
    putBig32(png, crc32(png.data() + start, png.size() - start));
}

// The image data as a zlib stream of stored (uncompressed) deflate blocks.
std::string storedZlib(const std::string& data) {
    std::string out = "\x78\x01";
    size_t pos = 0;
    do {
        size_t size = std::min<size_t>(data.size() - pos, 0xFFFF);
        bool last = pos + size == data.size();
        auto length = static_cast<uint16_t>(size);
        auto complement = static_cast<uint16_t>(~length);
        out += static_cast<char>(last ? 1 : 0);
        out += static_cast<char>(length & 0xFF);
        out += static_cast<char>(length >> 8);
        out += static_cast<char>(complement & 0xFF);
        out += static_cast<char>(complement >> 8);
        out.append(data, pos, size);
        pos += size;
    } while (pos < data.size());
    uint32_t a = 1, b = 0;
    for (unsigned char c : data) {
        a = (a + c) % 65521;
        b = (b + a) % 65521;
    }
    putBig32(out, b << 16 | a);
    return out;
}

// A PNG of 8-bit RGB pixels given row by row from the top, without padding.
std::string encodePng(uint32_t width, uint32_t height, const std::string& rgb) {
    std::string rows; // each behind filter type 0
    size_t stride = size_t{width} * 3;
    for (size_t y = 0; y < height; ++y) {
        rows += '\0';
        rows.append(rgb, y * stride, stride);
    }
    std::string header;
    putBig32(header, width);
    putBig32(header, height);
    header += std::string("\x08\x02\x00\x00\x00", 5); // 8 bits, RGB, no interlace
    std::string png = "\x89PNG\r\n\x1A\n";
    putChunk(png, "IHDR", header);
    putChunk(png, "IDAT", storedZlib(rows));
    putChunk(png, "IEND", "");
    return png;
}

} // namespace

std::string captureWindow(HWND window, int& width, int& height) {
    RECT rect;
    if (!GetWindowRect(window, &rect) || rect.right <= rect.left || rect.bottom <= rect.top)
        return {};
    width = rect.right - rect.left;
    height = rect.bottom - rect.top;
    BITMAPINFO format = {};
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = width;
    format.bmiHeader.biHeight = -height; // top row first
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;

    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &format, DIB_RGB_COLORS, &bits, nullptr, 0);
    std::string rgb;
    if (bitmap) {
        HGDIOBJ previous = SelectObject(memory, bitmap);
        if (BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top,
                   SRCCOPY | CAPTUREBLT)) {
            GdiFlush();
            const auto* pixels = static_cast<const uint32_t*>(bits);
            size_t count = size_t(width) * size_t(height);
            rgb.reserve(count * 3);
            for (const uint32_t* p = pixels; p != pixels + count; ++p) {
                rgb += static_cast<char>(*p >> 16); // DIB pixels are 0x00RRGGBB
                rgb += static_cast<char>(*p >> 8);
                rgb += static_cast<char>(*p);
            }
        }
        SelectObject(memory, previous);
        DeleteObject(bitmap);
    }
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return rgb;
}

bool saveScreenshot(HWND window, const std::string& pngPath) {
    int width = 0, height = 0;
    const std::string rgb = captureWindow(window, width, height);
    if (rgb.empty()) return false;
    std::ofstream out(windowsPath(pngPath), std::ios::binary | std::ios::trunc);
    out << encodePng(static_cast<uint32_t>(width), static_cast<uint32_t>(height), rgb);
    out.close();
    return !out.fail();
}

bool ChildProcess::start(const std::string& exe, const std::string& folder,
                         STARTUPINFOA* startup, bool inheritHandles) {
    STARTUPINFOA plain = {};
    plain.cb = sizeof plain;
    std::string commandLine = "\"" + exe + "\"";
    if (!CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, inheritHandles,
                        CREATE_SUSPENDED, nullptr, folder.empty() ? nullptr : folder.c_str(),
                        startup ? startup : &plain, &info_)) {
        info_ = {};
        return false;
    }
    AssignProcessToJobObject(childJob(), info_.hProcess);
    ResumeThread(info_.hThread);
    return true;
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

Fixture::Fixture() {
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE childIn = nullptr, childOut = nullptr;
    CreatePipe(&childIn, &toChild_, &inherit, 0);
    CreatePipe(&fromChild_, &childOut, &inherit, 0);
    SetHandleInformation(toChild_, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(fromChild_, HANDLE_FLAG_INHERIT, 0);

    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = childIn;
    startup.hStdOutput = childOut;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    bool started = process_.start(windowsPath(ZK_FIXTURE_EXE), "", &startup, true);
    CloseHandle(childIn);
    CloseHandle(childOut);
    reader_ = std::thread([this] { readEvents(); });
    EXPECT_TRUE(started) << "cannot start " << ZK_FIXTURE_EXE;
    EXPECT_TRUE(started && waitFor("ready", "", 10000)) << "the fixture did not get ready";
}

Fixture::~Fixture() {
    send("quit");
    CloseHandle(toChild_);
    waitUntil([this] { return !process_.running(); }, 2000);
    process_.stop();
    CloseHandle(fromChild_); // the reader has seen the end of the pipe by now
    reader_.join();
}

void Fixture::send(const std::string& line) {
    std::string data = line + "\n";
    DWORD written = 0;
    WriteFile(toChild_, data.data(), static_cast<DWORD>(data.size()), &written, nullptr);
}

HWND Fixture::open(const WindowSpec& spec) {
    auto encode = [](const std::string& text) {
        std::string out;
        for (unsigned char c : text) {
            if (c <= ' ' || c == '%' || c == '=' || c >= 0x7F) {
                char hex[4];
                snprintf(hex, sizeof hex, "%%%02X", c);
                out += hex;
            } else {
                out += static_cast<char>(c);
            }
        }
        return out;
    };
    std::string line = "open id=" + spec.id + " class=" + encode(spec.cls) +
                       " title=" + encode(spec.title) + " mode=" + spec.mode +
                       " visible=" + (spec.visible ? "1" : "0") +
                       " border=" + (spec.border ? "1" : "0") +
                       " topmost=" + (spec.topmost ? "1" : "0") +
                       " nested=" + (spec.nested ? "1" : "0");
    for (const std::string& edit : spec.edits) line += " edit=" + encode(edit);
    send(line);
    if (!waitFor("opened", spec.id)) {
        ADD_FAILURE() << "window " << spec.id << " was not opened";
        return nullptr;
    }
    for (const Event& e : events(spec.id))
        if (e.name == "opened")
            return reinterpret_cast<HWND>(
                static_cast<UINT_PTR>(std::stoull(e.detail, nullptr, 16)));
    return nullptr;
}

std::vector<Event> Fixture::events(const std::string& id) const {
    std::lock_guard<std::mutex> guard(lock_);
    std::vector<Event> out;
    for (const Event& e : events_)
        if (id.empty() || e.id == id) out.push_back(e);
    return out;
}

std::string Fixture::log(const std::string& id) const {
    std::string out;
    for (const Event& e : events(id))
        out += "\n  " + std::to_string(e.ms) + " " + e.name + " " + e.id + " " + e.detail;
    return out;
}

int Fixture::count(const std::string& name, const std::string& id) const {
    int n = 0;
    for (const Event& e : events(id)) n += e.name == name;
    return n;
}

bool Fixture::waitFor(const std::string& name, const std::string& id, DWORD timeoutMs) const {
    std::unique_lock<std::mutex> guard(lock_);
    return changed_.wait_for(guard, std::chrono::milliseconds(timeoutMs), [&] {
        for (const Event& e : events_)
            if (e.name == name && (id.empty() || e.id == id)) return true;
        return false;
    });
}

void Fixture::readEvents() {
    std::string pending;
    char buffer[512];
    DWORD got = 0;
    while (ReadFile(fromChild_, buffer, sizeof buffer, &got, nullptr) && got > 0) {
        pending.append(buffer, got);
        size_t end;
        while ((end = pending.find('\n')) != std::string::npos) {
            std::istringstream words(pending.substr(0, end));
            pending.erase(0, end + 1);
            Event e;
            if (!(words >> e.ms >> e.name)) continue;
            words >> e.id >> e.detail;
            std::lock_guard<std::mutex> guard(lock_);
            events_.push_back(e);
            changed_.notify_all();
        }
    }
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
    EXPECT_TRUE(process_.start(exe, folder_, nullptr, false)) << "cannot start " << exe;
    EXPECT_TRUE(waitUntil([this] { return mainWindow() != nullptr; }, 10000))
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
