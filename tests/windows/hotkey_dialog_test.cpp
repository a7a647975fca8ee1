// The dialog "Hotkeys" of the real zuklapper.exe, opened through the tray's popup menu.

#include "harness.h"

#include <gtest/gtest.h>

#include <map>

using namespace zkt;

namespace {

// The texts of cbTitel1, cbTitel2, cbUrl1 and cbUrl2, in the order the dialog creates them.
std::vector<std::string> shownKeys(HWND dialog) {
    std::map<int, std::string> boxes;
    findWindow(dialog, [&](HWND hwnd) {
        if (className(hwnd) == "ComboBox") boxes[GetDlgCtrlID(hwnd)] = controlText(hwnd);
        return false;
    });
    std::vector<std::string> texts;
    texts.reserve(boxes.size());
    for (const auto& [id, text] : boxes) texts.push_back(text);
    return texts;
}

using Texts = std::vector<std::string>;

} // namespace

// Worked with the keyboard, a choice is saved at once, or said, and works at once either way.
TEST(HotkeyDialog, AChoiceIsSavedAtOnceOrSaidTypedLettersAreNotAndTheBoxSwitchesTheHotkeys) {
    Program program(std::nullopt, std::nullopt, "[Hotkeys]\r\nAddUrl=F13\r\n");
    const std::string file = program.path("config.ini");
    const auto config = [&] { return readFile(file).value_or(""); };
    const HWND dialog = program.chooseFromMenu('O') ? program.shownWindow("Hotkeys") : nullptr;
    ASSERT_TRUE(dialog) << "no dialog \"Hotkeys\"";
    EXPECT_EQ(GetWindow(dialog, GW_OWNER), program.mainWindow()) << "no task-bar button";
    EXPECT_EQ(shownKeys(dialog), (Texts{"F8", "keine", "F13", "Shift"}));
    const HWND check = findDescendant(dialog, "Button", "Hotkeys aktivieren.");
    ASSERT_TRUE(check);
    EXPECT_EQ(query(check, BM_GETCHECK), BST_CHECKED);
    EXPECT_EQ(config(), "[Hotkeys]\r\nAddUrl=F13\r\nChkAddUrl=1\r\n");
    EXPECT_TRUE(keepPicture(dialog, "zuklapper-hotkeys.png"));

    // From the check box, Tab walks to the title key; F4 opens its list, tall enough for all.
    bringToFront(dialog);
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
    EXPECT_TRUE(keepPicture(list, "zuklapper-hotkeys-liste.png"));
    typeKey(VK_ESCAPE);
    EXPECT_TRUE(waitUntil([&] { return !IsWindowVisible(list); }));

    typeKey(VK_DOWN);
    EXPECT_TRUE(waitUntil([&] { return config().find("AddTitle=F9\r\n") != std::string::npos; }))
        << config();
    EXPECT_EQ(shownKeys(dialog), (Texts{"F9", "keine", "F13", "Shift"}));
    const std::string chosen = config();
    typeKey('X');
    Sleep(300);
    EXPECT_EQ(shownKeys(dialog), (Texts{"F9", "keine", "F13", "Shift"}));
    EXPECT_EQ(config(), chosen);

    // F9 takes titles at once, F8 no more.
    const auto titles = [&] { return readFile(program.path("lstTitel.txt")).value_or(""); };
    const auto typeOver = [&](const char* title, WORD key) {
        FakeBrowser page({.cls = "MozillaWindowClass", .title = title});
        bringToFront(page.hwnd());
        typeKey(key);
        Sleep(500);
    };
    typeOver("Alt - Browser", VK_F8);
    typeOver("Neu - Browser", VK_F9);
    EXPECT_EQ(titles(), quotedLines({"Neu"}));

    // Another program holds the file, open for reading only. (A read-only file would do on
    // Windows; Wine, run as root, writes into one all the same.) F10 works for this run.
    const HANDLE lock = CreateFileA(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    bringToFront(dialog);
    typeKey(VK_DOWN);
    const std::string said = program.answerMessage("zuklapper-meldung-einstellung.png");
    EXPECT_NE(said.find(file), std::string::npos) << "no message that it was not saved: " << said;
    EXPECT_EQ(config(), chosen);
    typeOver("Zehn - Browser", VK_F10);
    EXPECT_EQ(titles(), quotedLines({"Neu", "Zehn"}));
    PostMessageA(check, BM_CLICK, 0, 0);
    EXPECT_NE(program.answerMessage().find(file), std::string::npos) << "the box's loss not said";
    CloseHandle(lock);
    EXPECT_EQ(config(), chosen);

    // Unticked, no key takes anything.
    PostMessageA(check, BM_CLICK, 0, 0); // ticked again
    PostMessageA(check, BM_CLICK, 0, 0);
    EXPECT_TRUE(waitUntil([&] { return config().find("ChkAddUrl=0\r\n") != std::string::npos; }))
        << config();
    EXPECT_EQ(query(check, BM_GETCHECK), BST_UNCHECKED);
    typeOver("Aus - Browser", VK_F10);
    EXPECT_EQ(titles(), quotedLines({"Neu", "Zehn"}));
}
