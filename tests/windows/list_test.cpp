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

// The button and the Delete key rewrite the file; a file that cannot be replaced, read-only
// or held open by another program without delete sharing, keeps its entry, and says so.
TEST(ListDeletion, ButtonAndDeleteKeyRewriteTheFileOrSayWhyTheyCannot) {
    Program program({{"zeta", "Alpha", "mitte", "Beta"}}, std::nullopt);
    const std::string file = program.path("lstTitel.txt");
    program.showMainWindow();
    const HWND main = program.mainWindow();
    const HWND list = findDescendant(main, "ListBox");
    const HWND button = findDescendant(main, "Button", "&L\xF6schen");
    ASSERT_TRUE(list && button);
    using Texts = std::vector<std::string>;
    ASSERT_TRUE(waitUntil([&] { return query(list, LB_GETCOUNT) == 4; }));
    EXPECT_EQ(items(list), (Texts{"Alpha", "Beta", "mitte", "zeta"}));
    EXPECT_EQ(query(list, LB_GETCURSEL), 0);

    const auto fileHolds = [&](const Texts& entries) {
        return waitUntil([&] { return readFile(file) == quotedLines(entries); });
    };
    PostMessageA(button, BM_CLICK, 0, 0);
    EXPECT_TRUE(fileHolds({"Beta", "mitte", "zeta"})) << *readFile(file);
    EXPECT_EQ(items(list), (Texts{"Beta", "mitte", "zeta"}));
    EXPECT_EQ(query(list, LB_GETCURSEL), 0);
    // The user moves one item down and presses Delete.
    pressKey(list, VK_DOWN);
    ASSERT_TRUE(waitUntil([&] { return query(list, LB_GETCURSEL) == 1; }));
    pressKey(list, VK_DELETE);
    EXPECT_TRUE(fileHolds({"Beta", "zeta"})) << *readFile(file);
    EXPECT_EQ(items(list), (Texts{"Beta", "zeta"}));
    EXPECT_EQ(query(list, LB_GETCURSEL), 0);
    const FakeBrowser deleted({.title = "Alpha"});

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
        const std::string said = program.answerMessage("zuklapper-meldung-nicht-gespeichert.png");
        EXPECT_NE(said.find(file), std::string::npos) << "not said it could not be saved: " << said;
        EXPECT_EQ(items(list), (Texts{"Beta", "zeta"}));
        EXPECT_EQ(readFile(file), quotedLines({"Beta", "zeta"}));
        EXPECT_EQ(program.files(), (Texts{"lstTitel.txt", "zuklapper.exe"}))
            << "a temporary file was left behind, or another list's file written";
        const FakeBrowser titled({.title = "Beta"});
        EXPECT_TRUE(titled.closed()) << "the entry still closes windows";
        letGo();
    }
    EXPECT_TRUE(deleted.untouched());
    // Let go, the file takes the deletions, down to an empty file.
    PostMessageA(button, BM_CLICK, 0, 0);
    PostMessageA(button, BM_CLICK, 0, 0);
    EXPECT_TRUE(fileHolds({})) << *readFile(file);
    EXPECT_EQ(query(list, LB_GETCOUNT), 0);
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
    EXPECT_NE(program.answerMessage(), "") << "not said that the list file was not read whole";
    EXPECT_EQ(readFile(program.path("lstTitel.txt")), file);
}
