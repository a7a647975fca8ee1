// The cost of one scan for browser windows on the real Windows backend: 200 top-level
// windows of this process, 20 of them browser-like, scanned many times. Prints the time and
// the window-system calls per scan; asserts nothing about time, only that the scan records
// exactly the 20 browser windows with their addresses.

#include "engine/scan.h"
#include "engine/todays_browsers.h"
#include "platform/win32/win32_accessibility.h"
#include "platform/win32/win32_window_system.h"
#include "platform/win32/windows_api.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <string>

namespace {

// Forwards to the real backend and counts the calls a scan makes.
class CountingWindowSystem final : public zk::WindowSystem {
public:
    enum Call { TopLevel, Style, Text, Class, Descendants, ControlText, Calls };
    std::array<long long, Calls> count{};

    explicit CountingWindowSystem(zk::WindowSystem& real) : real_(real) {}

    std::uint16_t keyState(int key) override { return real_.keyState(key); }
    std::int64_t milliseconds() override { return real_.milliseconds(); }
    LocalTime localTime() override { return real_.localTime(); }
    zk::Hwnd foregroundWindow() override { return real_.foregroundWindow(); }
    std::vector<zk::Hwnd> topLevelWindows() override {
        ++count[TopLevel];
        return real_.topLevelWindows();
    }
    std::uint32_t style(zk::Hwnd w) override {
        ++count[Style];
        return real_.style(w);
    }
    std::string windowText(zk::Hwnd w) override {
        ++count[Text];
        return real_.windowText(w);
    }
    std::string className(zk::Hwnd w) override {
        ++count[Class];
        return real_.className(w);
    }
    std::vector<zk::Hwnd> descendants(zk::Hwnd w) override {
        ++count[Descendants];
        return real_.descendants(w);
    }
    std::string controlText(zk::Hwnd w) override {
        ++count[ControlText];
        return real_.controlText(w);
    }
    std::uint32_t windowThread(zk::Hwnd w) override { return real_.windowThread(w); }
    bool sendCloseMessage(zk::Hwnd w, CloseMessage m, std::uint32_t id) override {
        return real_.sendCloseMessage(w, m, id);
    }
    void onCloseAnswered(std::function<void(std::uint32_t)> h) override {
        real_.onCloseAnswered(std::move(h));
    }
    bool addNotifyIcon(zk::Hwnd o, unsigned id, unsigned m, const std::string& tip) override {
        return real_.addNotifyIcon(o, id, m, tip);
    }
    bool deleteNotifyIcon(zk::Hwnd o, unsigned id) override {
        return real_.deleteNotifyIcon(o, id);
    }
    bool modifyNotifyIcon(zk::Hwnd o, unsigned id, const std::string& tip, bool grey) override {
        return real_.modifyNotifyIcon(o, id, tip, grey);
    }
    bool showNotifyIconNote(zk::Hwnd o, unsigned id, const std::string& title,
                            const std::string& text) override {
        return real_.showNotifyIconNote(o, id, title, text);
    }
    bool shellExecute(zk::Hwnd o, const std::string& op, const std::string& f, int s) override {
        return real_.shellExecute(o, op, f, s);
    }
    bool startProgram(const std::string& c, int s) override { return real_.startProgram(c, s); }
    std::string processName(zk::Hwnd w) override { return real_.processName(w); }
    FolderClaim claimProgramFolder(const std::string& f, zk::Hwnd h) override {
        return real_.claimProgramFolder(f, h);
    }
    bool sendNotifyIconEvent(zk::Hwnd o, unsigned c, unsigned m, unsigned t) override {
        return real_.sendNotifyIconEvent(o, c, m, t);
    }

private:
    zk::WindowSystem& real_;
};

std::string numbered(const char* text, int i) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%s%d", text, i);
    return buffer;
}

HWND create(const char* className, const std::string& title, DWORD style, int i) {
    const int x = 10 + (i % 20) * 12, y = 10 + (i / 20) * 12;
    return CreateWindowExA(0, className, title.c_str(), style, x, y, 320, 160, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

void pumpMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

// Ten of today's browsers, each a fixture process named chrome.exe with its accessibility
// tree: what a scan costs the user-interface thread with the switch off and on, and how
// long the workers take for a round of reads, once the address fields have been found.
bool timeTodaysBrowsers() {
    constexpr int kBrowsers = 10, kScans = 200;
    std::string fixture = ZK_FIXTURE_EXE;
    if (fixture.starts_with('/')) { // a Unix path, as Wine takes it
        std::replace(fixture.begin(), fixture.end(), '/', '\\');
        fixture = "Z:" + fixture;
    }
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    const std::string chrome = std::string(folder) + "chrome.exe";
    CopyFileA(fixture.c_str(), chrome.c_str(), FALSE);
    std::vector<PROCESS_INFORMATION> processes;
    for (int i = 0; i < kBrowsers; ++i) {
        std::string line = "chrome.exe Chrome_WidgetWin_1 \"" + numbered("Seite ", i) +
                           " - Google Chrome\" normal - acc:" + numbered("seite-", i) + ".example";
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        if (CreateProcessA(chrome.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                           nullptr, &startup, &process))
            processes.push_back(process);
    }
    zk::Win32WindowSystem real;
    zk::Win32Accessibility accessibility;
    zk::Win32Workers workers;
    zk::TodaysBrowsers today(real, accessibility, workers);
    std::vector<zk::BrowserWindow> found;
    auto scans = [&](zk::TodaysBrowsers* with) {
        LARGE_INTEGER frequency, start, end;
        QueryPerformanceFrequency(&frequency);
        QueryPerformanceCounter(&start);
        for (int i = 0; i < kScans; ++i) zk::Browserfenster_suchen(real, 0, found, with);
        QueryPerformanceCounter(&end);
        return static_cast<double>(end.QuadPart - start.QuadPart) * 1e6 /
               static_cast<double>(frequency.QuadPart) / kScans;
    };
    const ULONGLONG until = GetTickCount64() + 30000;
    std::size_t read = 0;
    while (read < kBrowsers && GetTickCount64() < until) { // started, shown, first walk done
        for (HWND w = FindWindowA("Chrome_WidgetWin_1", nullptr); w;
             w = FindWindowExA(nullptr, w, "Chrome_WidgetWin_1", nullptr))
            SendMessageTimeoutA(w, WM_APP + 1, 0, 0, SMTO_ABORTIFHUNG, 1000, nullptr);
        zk::Browserfenster_suchen(real, 0, found, &today);
        read = static_cast<std::size_t>(std::count_if(
            found.begin(), found.end(), [](auto& row) { return row.Url.starts_with("seite-"); }));
        Sleep(100);
    }
    const double off = scans(nullptr), on = scans(&today);
    while (today.reading()) Sleep(1);
    const ULONGLONG roundStart = GetTickCount64();
    zk::Browserfenster_suchen(real, 0, found, &today);
    while (today.reading()) Sleep(1);
    std::printf("scan_timing: today's browsers, %zu windows of chrome.exe read: %.1f us per scan "
                "with the switch off, %.1f us on; a round of reads %llu ms on the workers\n",
                read, off, on, GetTickCount64() - roundStart);
    for (const PROCESS_INFORMATION& process : processes) {
        TerminateProcess(process.hProcess, 0);
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
    }
    return read == kBrowsers;
}

} // namespace

int main() {
    // Today's browsers first, among the desktop's own windows only.
    const bool today = timeTodaysBrowsers();
    if (!today) std::fprintf(stderr, "scan_timing: the ten chrome.exe were not read\n");
    constexpr int kWindows = 200, kBrowsers = 20, kScans = 400, kBatches = 20,
                  kScansPerBatch = kScans / kBatches;
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    for (const char* name : {"IEFrame", "MozillaWindowClass", "ZkAnwendung", "ZkHelfer"}) {
        wc.lpszClassName = name;
        RegisterClassA(&wc);
    }

    // Like a desktop: browsers, other programs' titled windows, borderless pop-ups and
    // tool windows, and many hidden helper windows.
    int made = 0;
    for (int i = 0; i < kBrowsers; ++i) {
        const HWND browser = create(i % 2 ? "MozillaWindowClass" : "IEFrame", numbered("Seite ", i),
                                    WS_OVERLAPPEDWINDOW, i);
        const std::string url = numbered("http://seite-", i) + ".example/";
        CreateWindowExA(WS_EX_CLIENTEDGE, "Edit", url.c_str(), WS_CHILD | WS_VISIBLE, 0, 0, 300, 22,
                        browser, nullptr, wc.hInstance, nullptr);
        ShowWindow(browser, SW_SHOWNOACTIVATE);
        made += browser != nullptr;
    }
    for (int i = kBrowsers; i < kWindows; ++i) {
        HWND window = nullptr;
        if (i < 70) {
            window = create("ZkAnwendung", numbered("Dokument ", i), WS_OVERLAPPEDWINDOW, i);
            ShowWindow(window, SW_SHOWNOACTIVATE);
        } else if (i < 100) {
            window = create("ZkHelfer", "", WS_POPUP, i);
            ShowWindow(window, SW_SHOWNOACTIVATE);
        } else {
            window = create("ZkHelfer", numbered("Helfer ", i), WS_OVERLAPPEDWINDOW, i);
        }
        made += window != nullptr;
    }
    pumpMessages();

    zk::Win32WindowSystem real;
    CountingWindowSystem counting(real);
    std::vector<zk::BrowserWindow> found;
    for (int i = 0; i < 10; ++i) zk::Browserfenster_suchen(real, 0, found); // warm up
    counting.count = {};

    // The median of batches: other work on the machine spoils single batches, not the most.
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    std::vector<double> batches;
    for (int batch = 0; batch < kBatches; ++batch) {
        QueryPerformanceCounter(&start);
        for (int i = 0; i < kScansPerBatch; ++i) zk::Browserfenster_suchen(counting, 0, found);
        QueryPerformanceCounter(&end);
        batches.push_back(static_cast<double>(end.QuadPart - start.QuadPart) * 1e6 /
                          static_cast<double>(frequency.QuadPart) / kScansPerBatch);
    }
    std::nth_element(batches.begin(), batches.begin() + kBatches / 2, batches.end());
    const double microseconds = batches[kBatches / 2];
    long long calls = 0;
    for (long long c : counting.count) calls += c;
    const auto per = [&](int call) { return static_cast<double>(counting.count[call]) / kScans; };
    std::printf("scan_timing (%d-bit): %d windows of this process, %.0f top-level in all, "
                "%zu recorded\n",
                static_cast<int>(sizeof(void*) * 8), made,
                static_cast<double>(real.topLevelWindows().size()), found.size());
    std::printf("  %.1f us per scan (median of %d batches), %.1f window-system calls per scan: "
                "topLevelWindows %.0f, "
                "style %.0f, className %.0f, windowText %.0f, descendants %.0f, "
                "controlText %.0f\n",
                microseconds, kBatches, static_cast<double>(calls) / kScans,
                per(CountingWindowSystem::TopLevel), per(CountingWindowSystem::Style),
                per(CountingWindowSystem::Class), per(CountingWindowSystem::Text),
                per(CountingWindowSystem::Descendants), per(CountingWindowSystem::ControlText));
    std::fflush(stdout);

    bool right = made == kWindows && found.size() == kBrowsers;
    for (const zk::BrowserWindow& row : found)
        right = right && row.Url.starts_with("http://seite-") && row.Title.starts_with("Seite ");
    if (!right) std::fprintf(stderr, "scan_timing: the scan did not record the 20 browsers\n");
    return right && today ? 0 : 1;
}
