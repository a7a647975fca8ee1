// Deleting an entry through the real list box and button of zuklapper.exe's main window.

#include "harness.h"

#include <gtest/gtest.h>

#include <functional>

using namespace zkt;

namespace {

// The items as the user sees them, in the ANSI code page. The text is read as UTF-16:
// Wine does not convert LB_GETTEXT between a program's ANSI and Unicode windows.
std::vector<std::string> items(HWND list) {
    std::vector<std::string> out;
    for (LRESULT i = 0, count = query(list, LB_GETCOUNT); i < count; ++i) {
        wchar_t text[512] = {};
        char ansi[1024] = {};
        if (query(list, LB_GETTEXTLEN, static_cast<WPARAM>(i)) < 512)
            query(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        WideCharToMultiByte(CP_ACP, 0, text, -1, ansi, sizeof ansi, nullptr, nullptr);
        out.push_back(ansi);
    }
    return out;
}

} // namespace

TEST(ListDeletion, ButtonAndDeleteKeyRemoveTheSelectedTitleAndRewriteTheFile) {
    Program program({{"zeta", "Alpha", "mitte", "Beta"}}, std::nullopt);
    HWND main = program.mainWindow();
    ASSERT_TRUE(main);
    program.showMainWindow();
    ASSERT_TRUE(IsWindowVisible(main));
    HWND list = findDescendant(main, "ListBox");
    HWND button = findDescendant(main, "Button", "&L\xF6schen");
    ASSERT_TRUE(list) << "no list box";
    ASSERT_TRUE(button) << "no button \"&L\xF6schen\"";

    ASSERT_TRUE(waitUntil([&] { return query(list, LB_GETCOUNT) == 4; }));
    EXPECT_EQ(items(list), (std::vector<std::string>{"Alpha", "Beta", "mitte", "zeta"}));
    EXPECT_EQ(query(list, LB_GETCURSEL), 0);

    auto titleFile = [&] { return readFile(program.path("lstTitel.txt")).value_or("(no file)"); };
    auto fileHolds = [&](const std::vector<std::string>& entries) {
        return waitUntil([&] { return titleFile() == quotedLines(entries); });
    };
    PostMessageA(button, BM_CLICK, 0, 0);
    EXPECT_TRUE(fileHolds({"Beta", "mitte", "zeta"})) << titleFile();
    EXPECT_EQ(items(list), (std::vector<std::string>{"Beta", "mitte", "zeta"}));
    EXPECT_EQ(query(list, LB_GETCURSEL), 0);

    // The user moves one item down and presses Delete.
    pressKey(list, VK_DOWN);
    ASSERT_TRUE(waitUntil([&] { return query(list, LB_GETCURSEL) == 1; }));
    pressKey(list, VK_DELETE);
    EXPECT_TRUE(fileHolds({"Beta", "zeta"})) << titleFile();
    EXPECT_EQ(items(list), (std::vector<std::string>{"Beta", "zeta"}));
    EXPECT_EQ(query(list, LB_GETCURSEL), 0);
    EXPECT_FALSE(readFile(program.path("lstUrl.txt"))) << "the other list's file is not written";

    // The close cycle works with what is left.
    FakeBrowser deleted({.title = "Alpha"});
    FakeBrowser kept({.title = "Beta"});
    EXPECT_TRUE(kept.closed());
    Sleep(500);
    EXPECT_TRUE(deleted.untouched());
}

// A file that cannot be replaced, read-only or held open by another program without delete
// sharing: the deletion says so and changes nothing. Let go, the file takes the deletion.
TEST(ListDeletion, AFileThatCannotBeReplacedKeepsItsEntryAndTheLastDeletionLeavesItEmpty) {
    Program program({{"eins"}}, std::nullopt);
    const std::string file = program.path("lstTitel.txt");
    program.showMainWindow();
    const HWND main = program.mainWindow();
    const HWND list = findDescendant(main, "ListBox");
    const HWND button = findDescendant(main, "Button", "&L\xF6schen");
    ASSERT_TRUE(list && button);
    HANDLE lock = INVALID_HANDLE_VALUE;
    const std::pair<std::function<void()>, std::function<void()>> holds[] = {
        {[&] { SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_READONLY); },
         [&] { SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL); }},
        {[&] {
             lock = CreateFileA(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, 0, nullptr);
         },
         [&] { CloseHandle(lock); }},
    };
    for (const auto& [hold, letGo] : holds) {
        hold();
        PostMessageA(button, BM_CLICK, 0, 0);
        const HWND box = program.messageBox();
        ASSERT_TRUE(box) << "no message that the list could not be saved";
        EXPECT_NE(Program::messageText(box).find(file), std::string::npos)
            << Program::messageText(box);
        Sleep(300);
        EXPECT_TRUE(Screenshot(box).keep("zuklapper-meldung-nicht-gespeichert.png"));
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        EXPECT_TRUE(waitUntil([&] { return !IsWindow(box); }));
        EXPECT_EQ(items(list), (std::vector<std::string>{"eins"}));
        EXPECT_EQ(readFile(file), quotedLines({"eins"}));
        EXPECT_EQ(program.files(), (std::vector<std::string>{"lstTitel.txt", "zuklapper.exe"}))
            << "a temporary file was left behind";
        FakeBrowser titled({.title = "eins"});
        EXPECT_TRUE(titled.closed()) << "the entry still closes windows";
        letGo();
    }
    PostMessageA(button, BM_CLICK, 0, 0);
    EXPECT_TRUE(waitUntil([&] { return readFile(file) == std::string{}; })) << *readFile(file);
    EXPECT_EQ(query(list, LB_GETCOUNT), 0);
    EXPECT_EQ(program.files(), (std::vector<std::string>{"lstTitel.txt", "zuklapper.exe"}));
}

TEST(ListDeletion, AUtf8ListWithACharacterBeyondTheCodePageIsNeverRewritten) {
    // "ā", which the code page would show as "a", and "Größe", saved by Notepad as UTF-8.
    const std::string file = "\"\xC4\x81\"\r\n\"Gr\xC3\xB6\xC3\x9F"
                             "e\"\r\n";
    Program program(std::nullopt, std::nullopt, std::nullopt, file);
    FakeBrowser other({.title = "a"});
    FakeBrowser listed({.title = "Gr\xF6\xDF"
                                 "e"});
    EXPECT_TRUE(listed.closed());
    EXPECT_TRUE(other.untouched());

    program.showMainWindow();
    const HWND main = program.mainWindow();
    EXPECT_EQ(items(findDescendant(main, "ListBox")), (std::vector<std::string>{"Gr\xF6\xDF"
                                                                                "e"}));
    PostMessageA(findDescendant(main, "Button", "&L\xF6schen"), BM_CLICK, 0, 0);
    const HWND box = program.messageBox();
    ASSERT_TRUE(box) << "no message that the list file could not be read whole";
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(waitUntil([&] { return !IsWindow(box); }));
    EXPECT_EQ(readFile(program.path("lstTitel.txt")), file);
}
