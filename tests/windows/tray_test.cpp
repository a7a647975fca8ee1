// zuklapper.exe hidden with its notification icon, shown through it, and how it ends.

#include "harness.h"

#include <gtest/gtest.h>

#include <shellapi.h>

using namespace zkt;

namespace {

// Whether the notification area holds the icon: only an existing icon can be modified.
bool hasNotifyIcon(HWND owner) {
    NOTIFYICONDATAA probe{};
    probe.cbSize = NOTIFYICONDATAA_V1_SIZE;
    probe.hWnd = owner;
    probe.uID = 1;
    return Shell_NotifyIconA(NIM_MODIFY, &probe) != FALSE;
}

// The name the program gives its claim of a folder.
std::string claimName(const std::string& folder) {
    char path[MAX_PATH];
    std::string upper(path, GetLongPathNameA(folder.c_str(), path, MAX_PATH));
    CharUpperBuffA(upper.data(), static_cast<DWORD>(upper.size()));
    std::uint64_t hash = 14695981039346656037ULL;
    for (const char c : upper) hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ULL;
    char name[64];
    wsprintfA(name, "Local\\Zuklapper-%08lx%08lx", static_cast<unsigned long>(hash >> 32),
              static_cast<unsigned long>(hash & 0xFFFFFFFF));
    return name;
}

} // namespace

TEST(Tray, StartsHiddenWithItsIconRunsOncePerFolderAndEndsWithTheSession) {
    const int before = trayIconPixels(); // icons of programs that were killed may linger
    Program program({{"b", "a"}}, std::nullopt);
    const HWND main = program.mainWindow();
    const HWND host = program.hostWindow();
    ASSERT_TRUE(main);
    ASSERT_TRUE(host);
    EXPECT_FALSE(IsWindowVisible(main));
    EXPECT_FALSE(IsWindowVisible(host));
    EXPECT_EQ(GetWindow(main, GW_OWNER), host) << "an owned window has no task-bar button";
    EXPECT_TRUE(waitUntil([&] { return hasNotifyIcon(host); })) << "no notification icon";
    EXPECT_TRUE(waitUntil([&] { return trayIconPixels() > before; })) << "the icon is not drawn";

    program.showMainWindow();
    ASSERT_TRUE(IsWindowVisible(main));
    EXPECT_TRUE(waitUntil([&] {
        return (GetWindowLongA(main, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; // set by the first layout
    }));
    EXPECT_TRUE(keepPicture(main, "zuklapper-hauptfenster.png"));

    PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_TRUE(waitUntil([&] { return !IsWindowVisible(main); }));
    Sleep(200);
    EXPECT_TRUE(program.running());
    EXPECT_TRUE(hasNotifyIcon(host));

    // Started again, it shows the running copy and ends; from another folder it runs beside.
    const auto files = program.files();
    ChildProcess again;
    ASSERT_EQ(again.start(program.path("zuklapper.exe"), program.folder()), 0u);
    EXPECT_TRUE(waitUntil([&] { return !again.running(); })) << "the second copy still runs";
    EXPECT_TRUE(waitUntil([&] { return IsWindowVisible(main) != FALSE; }));
    EXPECT_EQ(program.files(), files);
    // While the running copy does not answer, a second start says so within about 5 seconds.
    const HANDLE thread =
        OpenThread(THREAD_SUSPEND_RESUME, FALSE, GetWindowThreadProcessId(host, nullptr));
    SuspendThread(thread);
    ChildProcess stuck;
    ASSERT_EQ(stuck.start(program.path("zuklapper.exe"), program.folder()), 0u);
    const ULONGLONG started = GetTickCount64();
    EXPECT_NE(stuck.answerMessage("zuklapper-meldung-antwortet-nicht.png").find("antwortet aber"),
              std::string::npos);
    EXPECT_LT(GetTickCount64() - started, 8000u);
    EXPECT_TRUE(waitUntil([&] { return !stuck.running(); }));
    ResumeThread(thread);
    CloseHandle(thread);
    const std::string other = program.folder() + "\\anders";
    CreateDirectoryA(other.c_str(), nullptr);
    ASSERT_TRUE(CopyFileA(program.path("zuklapper.exe").c_str(),
                          (other + "\\zuklapper.exe").c_str(), FALSE));
    ChildProcess beside;
    ASSERT_EQ(beside.start(other + "\\zuklapper.exe", other), 0u);
    Sleep(1000);
    EXPECT_TRUE(beside.running());
    // A claim it may not open, as another user's, is named, and the copy ends.
    const std::string foreign = program.folder() + "\\fremd";
    CreateDirectoryA(foreign.c_str(), nullptr);
    ASSERT_TRUE(CopyFileA(program.path("zuklapper.exe").c_str(),
                          (foreign + "\\zuklapper.exe").c_str(), FALSE));
    SECURITY_DESCRIPTOR denied{};
    ACL none{};
    InitializeSecurityDescriptor(&denied, SECURITY_DESCRIPTOR_REVISION);
    InitializeAcl(&none, sizeof none, ACL_REVISION);
    SetSecurityDescriptorDacl(&denied, TRUE, &none, FALSE);
    SECURITY_ATTRIBUTES attributes{sizeof attributes, &denied, FALSE};
    const HANDLE claim = CreateFileMappingA(INVALID_HANDLE_VALUE, &attributes, PAGE_READWRITE, 0,
                                            sizeof(LONG), claimName(foreign).c_str());
    ASSERT_TRUE(claim);
    ChildProcess refused;
    ASSERT_EQ(refused.start(foreign + "\\zuklapper.exe", foreign), 0u);
    EXPECT_NE(
        refused.answerMessage("zuklapper-meldung-anderer-benutzer.png").find("anderen Benutzer"),
        std::string::npos);
    EXPECT_TRUE(waitUntil([&] { return !refused.running(); }));
    CloseHandle(claim);

    // The end of the session ends the program.
    EXPECT_EQ(query(host, WM_QUERYENDSESSION, 0, 0), TRUE) << "the session must be let end";
    EXPECT_EQ(query(main, WM_QUERYENDSESSION, 0, 0), TRUE);
    query(host, WM_ENDSESSION, TRUE, 0);
    EXPECT_TRUE(program.waitForEnd()) << "the program still runs";
    EXPECT_FALSE(hasNotifyIcon(host));
}

TEST(Tray, KeysAfterThePopupMenuReachNoHiddenWindowItStartsWithWindowsAndItsLastItemEnds) {
    Program program({{"b", "a"}}, std::nullopt);
    const HWND host = program.hostWindow();
    const HWND main = program.mainWindow();
    HWND list = nullptr;
    ASSERT_TRUE(waitUntil([&] { return (list = findDescendant(main, "ListBox")) != nullptr; }));
    ASSERT_TRUE(waitUntil([&] { return hasNotifyIcon(host); }));
    const auto listFile = [&] { return readFile(program.path("lstTitel.txt")); };
    const auto stored = listFile();
    const auto deletesChangeNothing = [&](const char* after) {
        ASSERT_TRUE(waitUntil([] { return FindWindowA("#32768", nullptr) == nullptr; })) << after;
        typeKey(VK_DELETE);
        typeKey(VK_DELETE);
        Sleep(500);
        EXPECT_EQ(query(list, LB_GETCOUNT), 2) << after;
        EXPECT_EQ(listFile(), stored) << after;
    };

    ASSERT_TRUE(program.openMenu()) << "no popup menu";
    typeKey(VK_ESCAPE);
    deletesChangeNothing("the menu closed with Escape");

    // "&Url Verwaltung" shows the window, which takes the keys; closed again it takes none.
    ASSERT_TRUE(program.openMenu()) << "no popup menu";
    typeKey('U');
    ASSERT_TRUE(waitUntil([&] { return IsWindowVisible(main) != FALSE; }));
    PostMessageA(main, WM_CLOSE, 0, 0);
    ASSERT_TRUE(waitUntil([&] { return !IsWindowVisible(main); }));
    deletesChangeNothing("the menu's item chosen and the window closed");

    // "&Mit Windows starten" replaces another copy's Run value, shows it set elsewhere, deletes it.
    const char* run = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
    const auto runValue = [&](const std::string& line = {}) {
        if (!line.empty())
            RegSetKeyValueA(HKEY_CURRENT_USER, run, "Zuklapper", REG_SZ, line.c_str(),
                            static_cast<DWORD>(line.size() + 1));
        char data[1024] = {};
        DWORD size = sizeof data;
        RegGetValueA(HKEY_CURRENT_USER, run, "Zuklapper", RRF_RT_REG_SZ, nullptr, data, &size);
        return std::string(data);
    };
    runValue("\"C:\\Anders\\zuklapper.exe\"");
    ASSERT_TRUE(program.chooseFromMenu('M'));
    const std::string own = program.path("zuklapper.exe");
    EXPECT_TRUE(waitUntil([&] {
        return _stricmp(runValue().c_str(), ("\"" + own + "\"").c_str()) == 0;
    })) << runValue();
    // Its own value reads back checked, and so does one written unquoted without its closing
    // NUL, as another tool may: a second choice removes either.
    for (const bool own_value : {true, false}) {
        if (!own_value)
            RegSetKeyValueA(HKEY_CURRENT_USER, run, "Zuklapper", REG_SZ, own.c_str(),
                            static_cast<DWORD>(own.size()));
        const HWND menu = program.openMenu();
        if (own_value) {
            EXPECT_TRUE(keepPicture(menu, "zuklapper-menue-mit-windows.png"));
        }
        typeKey('M');
        EXPECT_TRUE(waitUntil([&] { return runValue().empty(); })) << runValue();
    }
    RegDeleteKeyValueA(HKEY_CURRENT_USER, run, "Zuklapper"); // Wine would start it at logon

    // "&schließen" by its mnemonic, as the keyboard would choose it.
    const HWND menu = program.openMenu();
    ASSERT_TRUE(menu) << "no popup menu";
    EXPECT_TRUE(keepPicture(menu, "zuklapper-menue.png"));
    typeKey('S');
    EXPECT_TRUE(program.waitForEnd()) << "the program still runs";
    EXPECT_FALSE(hasNotifyIcon(host));
}
