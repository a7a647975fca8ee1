// The organisation's policy of the real zuklapper.exe, written to the registry as Group Policy
// writes it, and its list folder on what stands for a share.

#include "harness.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace zkt;

namespace {

constexpr const char* kKey = "Software\\Policies\\Zuklapper";

void setText(HKEY root, const std::string& key, const char* name, const std::string& value) {
    RegSetKeyValueA(root, key.c_str(), name, REG_SZ, value.c_str(),
                    static_cast<DWORD>(value.size() + 1));
}

// What a run of the test left, and what it sets, goes with it.
struct PolicyKeys {
    PolicyKeys() { clear(); }
    PolicyKeys(const PolicyKeys&) = delete;
    PolicyKeys& operator=(const PolicyKeys&) = delete;
    ~PolicyKeys() { clear(); }
    static void clear() {
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, kKey);
        RegDeleteTreeA(HKEY_CURRENT_USER, kKey);
    }
};

} // namespace

TEST(Policy, ItsEntriesAndListFolderCloseTheFolderAwayItsCopyDoesAndEndingIsBarred) {
    const PolicyKeys keys;
    const std::string share = freshFolder() + "-freigabe";
    std::filesystem::remove_all(share);
    std::filesystem::remove_all(share + "-weg");
    std::filesystem::create_directories(share);
    writeFile(share + "\\lstUrl.txt", quotedLines({"ordner.example"}));
    setText(HKEY_LOCAL_MACHINE, std::string(kKey) + "\\Urlliste", "1", "rechner.example");
    setText(HKEY_CURRENT_USER, std::string(kKey) + "\\Urlliste", "1", "benutzer.example");
    setText(HKEY_LOCAL_MACHINE, kKey, "Listenordner", share);
    const DWORD no = 0;
    RegSetKeyValueA(HKEY_CURRENT_USER, kKey, "BeendenErlaubt", REG_DWORD, &no, sizeof no);

    Program program(std::nullopt, {{"eigen.example"}});
    for (const char* address : {"http://rechner.example/", "http://benutzer.example/",
                                "http://ordner.example/", "http://eigen.example/"}) {
        FakeBrowser page({.title = "Seite", .edits = {address}});
        EXPECT_TRUE(page.closed(kStartMs)) << address;
    }
    EXPECT_EQ(readFile(program.path("Richtlinie-lstUrl.txt")), quotedLines({"ordner.example"}));

    // "&schließen" is greyed and says why (see the picture); its key ends nothing.
    const HWND menu = program.openMenu();
    ASSERT_TRUE(menu);
    keepPicture(menu, "zuklapper-menue-richtlinie.png");
    typeKey('S');
    Sleep(1000);
    EXPECT_TRUE(program.running());
    typeKey(VK_ESCAPE);

    // Started again with the folder away, its copy stands in.
    query(program.hostWindow(), WM_ENDSESSION, TRUE, 0);
    ASSERT_TRUE(program.waitForEnd());
    ASSERT_TRUE(MoveFileA(share.c_str(), (share + "-weg").c_str()));
    ChildProcess again;
    ASSERT_EQ(again.start(program.path("zuklapper.exe"), program.folder()), 0u);
    FakeBrowser away({.title = "Seite", .edits = {"http://ordner.example/2"}});
    EXPECT_TRUE(away.closed(kStartMs)) << "the copy stands in for the folder";
}
