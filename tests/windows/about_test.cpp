// The about box and the help item of the real zuklapper.exe, chosen in the tray's popup menu.

#include "harness.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace zkt;

TEST(About, InfoShowsTheBoxNotModalEscapeOrEnterCloseItAndHelpOpensTheHelpText) {
    Program program(std::nullopt, std::nullopt);
    for (const WORD key : {WORD{VK_ESCAPE}, WORD{VK_RETURN}}) {
        const HWND box = program.chooseFromMenu('I') ? program.aboutBox() : nullptr;
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
        SetForegroundWindow(box);
        waitUntil([&] { return GetForegroundWindow() == box; });
        typeKey(key);
        EXPECT_TRUE(waitUntil([&] { return !IsWindowVisible(box); }));
    }

    const std::string copied =
        (std::filesystem::path(windowsPath(ZK_PROGRAM_EXE)).parent_path() / "Hilfe.txt").string();
    ASSERT_TRUE(CopyFileA(copied.c_str(), program.path("Hilfe.txt").c_str(), FALSE));
    ASSERT_TRUE(program.chooseFromMenu('H'));
    HWND notepad = nullptr;
    ASSERT_TRUE(waitUntil(
        [&] {
            notepad = findWindow(nullptr, [](HWND hwnd) {
                return IsWindowVisible(hwnd) && windowText(hwnd) == "Hilfe.txt - Notepad";
            });
            return notepad != nullptr;
        },
        kStartMs))
        << "no Notepad on Hilfe.txt";
    const std::string text = controlText(findDescendant(notepad, "Edit"));
    EXPECT_EQ(text.rfind("Zuklapper 1.08 - Hilfe\r\n", 0), 0u) << text;
    PostMessageA(notepad, WM_CLOSE, 0, 0);
    EXPECT_TRUE(waitUntil([&] { return !IsWindow(notepad); }));
    EXPECT_TRUE(program.running());
}
