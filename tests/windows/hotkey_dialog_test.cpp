// The dialog "Hotkeys" of the real zuklapper.exe, opened through the tray's popup menu.

#include "harness.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace zkt;

namespace {

// Chooses "H&otkeys" in the notification icon's popup menu by its mnemonic.
HWND openHotkeyDialog(const Program& program) {
    return program.chooseFromMenu('O') ? program.shownWindow("Hotkeys") : nullptr;
}

// cbTitel1, cbTitel2, cbUrl1 and cbUrl2, in the order the dialog creates them.
std::vector<HWND> comboBoxes(HWND dialog) {
    std::vector<HWND> boxes;
    findWindow(dialog, [&](HWND hwnd) {
        if (className(hwnd) == "ComboBox") boxes.push_back(hwnd);
        return false;
    });
    std::sort(boxes.begin(), boxes.end(),
              [](HWND a, HWND b) { return GetDlgCtrlID(a) < GetDlgCtrlID(b); });
    return boxes;
}

std::vector<std::string> shownKeys(HWND dialog) {
    std::vector<std::string> texts;
    for (HWND box : comboBoxes(dialog)) texts.push_back(controlText(box));
    return texts;
}

using Texts = std::vector<std::string>;

} // namespace

TEST(HotkeyDialog, AChoiceIsSavedAtOnceTypedLettersAreNotAndTheBoxSwitchesTheHotkeys) {
    Program program(std::nullopt, std::nullopt, "[Hotkeys]\r\nAddUrl=F13\r\n");
    const auto config = [&] { return readFile(program.path("config.ini")).value_or(""); };
    const HWND dialog = openHotkeyDialog(program);
    ASSERT_TRUE(dialog) << "no dialog \"Hotkeys\"";
    EXPECT_EQ(GetWindow(dialog, GW_OWNER), program.mainWindow()) << "no task-bar button";
    EXPECT_EQ(shownKeys(dialog), (Texts{"F8", "keine", "F13", "Shift"}));
    const HWND check = findDescendant(dialog, "Button", "Hotkeys aktivieren.");
    ASSERT_TRUE(check);
    EXPECT_EQ(query(check, BM_GETCHECK), BST_CHECKED);
    EXPECT_EQ(config(), "[Hotkeys]\r\nAddUrl=F13\r\nChkAddUrl=1\r\n");
    Sleep(300);
    EXPECT_TRUE(Screenshot(dialog).keep("zuklapper-hotkeys.png"));

    // The check box has the focus; Tab walks into the frame, to the title key.
    SetForegroundWindow(dialog);
    typeKey(VK_TAB);
    typeKey(VK_DOWN);
    EXPECT_TRUE(waitUntil([&] { return config().find("AddTitle=F9\r\n") != std::string::npos; }))
        << config();
    EXPECT_EQ(shownKeys(dialog), (Texts{"F9", "keine", "F13", "Shift"}));

    const std::string chosen = config();
    typeKey('X');
    Sleep(300);
    EXPECT_EQ(shownKeys(dialog), (Texts{"F9", "keine", "F13", "Shift"}));
    EXPECT_EQ(config(), chosen);

    // F9 takes titles at once, F8 no more; unticked, no key does.
    const auto titles = [&] { return readFile(program.path("lstTitel.txt")).value_or(""); };
    const auto typeOver = [&](const char* title, WORD key) {
        FakeBrowser page({.cls = "MozillaWindowClass", .title = title});
        SetForegroundWindow(page.hwnd());
        waitUntil([&] { return GetForegroundWindow() == page.hwnd(); });
        Sleep(500); // Wine takes the keyboard state from X after a focus change
        typeKey(key);
        Sleep(500);
    };
    typeOver("Alt - Browser", VK_F8);
    typeOver("Neu - Browser", VK_F9);
    EXPECT_EQ(titles(), quotedLines({"Neu"}));

    PostMessageA(check, BM_CLICK, 0, 0);
    EXPECT_TRUE(waitUntil([&] { return config().find("ChkAddUrl=0\r\n") != std::string::npos; }))
        << config();
    EXPECT_EQ(query(check, BM_GETCHECK), BST_UNCHECKED);
    typeOver("Aus - Browser", VK_F9);
    EXPECT_EQ(titles(), quotedLines({"Neu"}));
}

TEST(HotkeyDialog, TheListsOpenTallEnough) {
    Program program(std::nullopt, std::nullopt);
    const HWND dialog = openHotkeyDialog(program);
    ASSERT_TRUE(dialog) << "no dialog \"Hotkeys\"";
    // The user opens the list of the title key with F4.
    SetForegroundWindow(dialog);
    Sleep(500);
    typeKey(VK_TAB);
    Sleep(500);
    typeKey(VK_F4);
    HWND list = nullptr;
    ASSERT_TRUE(waitUntil([&] {
        list = findWindow(nullptr, [](HWND hwnd) {
            return className(hwnd) == "ComboLBox" && IsWindowVisible(hwnd);
        });
        return list != nullptr;
    })) << "the list does not open";
    RECT inside{};
    GetClientRect(list, &inside);
    EXPECT_EQ(query(list, LB_GETCOUNT), 12);
    EXPECT_GE(inside.bottom, 12 * query(list, LB_GETITEMHEIGHT, 0)) << "all keys without scrolling";
    Sleep(200);
    EXPECT_TRUE(Screenshot(list).keep("zuklapper-hotkeys-liste.png"));
    typeKey(VK_ESCAPE);
    EXPECT_TRUE(waitUntil([&] { return !IsWindowVisible(list); }));
}

TEST(HotkeyDialog, AChoiceThatCannotBeSavedIsSaidAndWorksUntilTheProgramEnds) {
    const std::string stored = "[Hotkeys]\r\nChkAddUrl=1\r\n";
    Program program(std::nullopt, std::nullopt, stored);
    const std::string config = program.path("config.ini");
    // Another program holds the file, open for reading only. (A read-only file would do on
    // Windows; Wine, run as root, writes into one all the same.)
    const HANDLE lock = CreateFileA(config.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    const HWND dialog = openHotkeyDialog(program);
    ASSERT_TRUE(dialog) << "no dialog \"Hotkeys\"";
    EXPECT_FALSE(program.messageBox(500)) << "the load writes only what it read";

    SetForegroundWindow(dialog);
    typeKey(VK_TAB);
    typeKey(VK_DOWN); // F9 for titles
    const HWND box = program.messageBox();
    ASSERT_TRUE(box) << "no message that the setting was not saved";
    EXPECT_NE(Program::messageText(box).find(config), std::string::npos)
        << Program::messageText(box);
    Sleep(300);
    EXPECT_TRUE(Screenshot(box).keep("zuklapper-meldung-einstellung.png"));
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(waitUntil([&] { return !IsWindow(box); }));
    EXPECT_EQ(readFile(config), stored);

    FakeBrowser page({.cls = "MozillaWindowClass", .title = "Neu - Browser"});
    SetForegroundWindow(page.hwnd());
    waitUntil([&] { return GetForegroundWindow() == page.hwnd(); });
    Sleep(500); // Wine takes the keyboard state from X after a focus change
    typeKey(VK_F9);
    EXPECT_TRUE(waitUntil([&] {
        return readFile(program.path("lstTitel.txt")) == quotedLines({"Neu"});
    })) << "F9 takes titles for this run";
    CloseHandle(lock);
}
