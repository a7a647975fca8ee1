// The about box and the help item of the real zuklapper.exe, chosen in the tray's popup menu.

#include "harness.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace zkt;

namespace {

// Chooses an item of the notification icon's popup menu by its mnemonic.
bool chooseFromMenu(const Program& program, WORD mnemonic) {
    PostMessageA(program.hostWindow(), WM_MOUSEMOVE, 0, WM_RBUTTONUP);
    if (!waitUntil([] { return FindWindowA("#32768", nullptr) != nullptr; })) return false;
    typeKey(mnemonic);
    return true;
}

// The about box: a form without caption.
HWND openAboutBox(const Program& program) {
    if (!chooseFromMenu(program, 'I')) return nullptr;
    HWND box = nullptr;
    waitUntil([&] {
        box = findWindow(nullptr, [](HWND hwnd) {
            return IsWindowVisible(hwnd) && className(hwnd) == "ZuklapperForm" &&
                   windowText(hwnd).empty();
        });
        return box != nullptr;
    });
    return box;
}

bool closesBy(HWND box, WORD key) {
    SetForegroundWindow(box);
    waitUntil([&] { return GetForegroundWindow() == box; });
    typeKey(key);
    return waitUntil([&] { return !IsWindowVisible(box); });
}

HWND notepadOn(const std::string& file) {
    return findWindow(nullptr, [&](HWND hwnd) {
        return IsWindowVisible(hwnd) && windowText(hwnd) == file + " - Notepad";
    });
}

} // namespace

TEST(About, InfoShowsTheBoxWithItsVersionNotModalAndEscapeOrEnterCloseIt) {
    Program program(std::nullopt, std::nullopt);
    HWND box = openAboutBox(program);
    ASSERT_TRUE(box) << "no about box";
    EXPECT_TRUE(findDescendant(box, "Static", "Version: 1.08"));
    EXPECT_TRUE(findDescendant(box, "Static", " https://www.example.org"));
    EXPECT_EQ(GetWindow(box, GW_OWNER), program.mainWindow()) << "no task-bar button";
    EXPECT_TRUE(IsWindowEnabled(program.mainWindow())) << "not modal";
    Sleep(300);
    const Screenshot shot(box);
    EXPECT_TRUE(shot.keep("zuklapper-info.png"));
    EXPECT_GT(shot.count(RGB(0, 0, 0x80)), 2 * 400) << "the two information symbols";
    EXPECT_GT(shot.count(RGB(0, 0, 0xFF)), 100) << "the blue address";

    EXPECT_TRUE(closesBy(box, VK_ESCAPE));
    box = openAboutBox(program);
    ASSERT_TRUE(box) << "no about box the second time";
    EXPECT_TRUE(closesBy(box, VK_RETURN));
    EXPECT_TRUE(program.running());
}

TEST(About, HelpOpensTheHelpTextBesideTheProgramInNotepad) {
    Program program(std::nullopt, std::nullopt);
    const std::string copied =
        (std::filesystem::path(windowsPath(ZK_PROGRAM_EXE)).parent_path() / "Hilfe.txt").string();
    ASSERT_TRUE(CopyFileA(copied.c_str(), program.path("Hilfe.txt").c_str(), FALSE))
        << "no Hilfe.txt beside " << ZK_PROGRAM_EXE;

    ASSERT_TRUE(chooseFromMenu(program, 'H'));
    HWND notepad = nullptr;
    ASSERT_TRUE(waitUntil([&] { return (notepad = notepadOn("Hilfe.txt")) != nullptr; }, kStartMs))
        << "no Notepad on Hilfe.txt";
    const HWND edit = findDescendant(notepad, "Edit");
    EXPECT_EQ(controlText(edit).rfind("Zuklapper 1.08 - Hilfe\r\n", 0), 0u) << controlText(edit);
    PostMessageA(notepad, WM_CLOSE, 0, 0);
    EXPECT_TRUE(waitUntil([&] { return !IsWindow(notepad); }));
    EXPECT_TRUE(program.running());
}
