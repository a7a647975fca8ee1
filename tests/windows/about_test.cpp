// The about box and the help item of the real zuklapper.exe, chosen in the tray's popup menu.

#include "harness.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace zkt;

namespace {

HWND openAboutBox(const Program& program) {
    return program.chooseFromMenu('I') ? program.aboutBox() : nullptr;
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

    ASSERT_TRUE(program.chooseFromMenu('H'));
    HWND notepad = nullptr;
    ASSERT_TRUE(waitUntil([&] { return (notepad = notepadOn("Hilfe.txt")) != nullptr; }, kStartMs))
        << "no Notepad on Hilfe.txt";
    const HWND edit = findDescendant(notepad, "Edit");
    EXPECT_EQ(controlText(edit).rfind("Zuklapper 1.08 - Hilfe\r\n", 0), 0u) << controlText(edit);
    PostMessageA(notepad, WM_CLOSE, 0, 0);
    EXPECT_TRUE(waitUntil([&] { return !IsWindow(notepad); }));
    EXPECT_TRUE(program.running());
}
