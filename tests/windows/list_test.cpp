// Deleting an entry through the real list box and button of zuklapper.exe's main window.

#include "harness.h"

#include <gtest/gtest.h>

#include <functional>

using namespace zkt;

namespace {

// The items as the user sees them, read as UTF-16: Wine does not convert LB_GETTEXT between
// a program's ANSI and Unicode windows.
std::vector<std::string> items(HWND list) {
    std::vector<std::string> out;
    for (LRESULT i = 0, count = query(list, LB_GETCOUNT); i < count; ++i)
        out.push_back(controlText(list, LB_GETTEXT, static_cast<WPARAM>(i)));
    return out;
}

} // namespace

// Notepad's UTF-8 with an older version's ANSI entry reads whole; a deletion keeps, and takes
// in, what another program added; a file that cannot be replaced (read-only, held) says so.
TEST(ListDeletion, ButtonAndDeleteKeyRewriteTheFileAsItIsOrSayWhyTheyCannot) {
    Program program(std::nullopt, std::nullopt, std::nullopt,
                    "\xEF\xBB\xBF\"Alpha\"\r\n\"Gr\xC3\xB6\xC3\x9F"
                    "e\"\r\n\"M\xFCller\"\r\n");
    const std::string file = program.path("lstTitel.txt");
    program.showMainWindow();
    const HWND main = program.mainWindow();
    const HWND list = findDescendant(main, "ListBox");
    const HWND button = findDescendant(main, "Button", "&L\xF6schen");
    ASSERT_TRUE(list && button);
    using Texts = std::vector<std::string>;
    const std::string groesse = "Gr\xF6\xDF"
                                "e";
    ASSERT_TRUE(waitUntil([&] { return query(list, LB_GETCOUNT) == 3; }));
    EXPECT_EQ(items(list), (Texts{"Alpha", groesse, "M\xFCller"}));
    EXPECT_EQ(query(list, LB_GETCURSEL), 0);

    const auto fileHolds = [&](const Texts& entries) {
        return waitUntil([&] { return readFile(file) == quotedLines(entries); });
    };
    PostMessageA(button, BM_CLICK, 0, 0);
    EXPECT_TRUE(fileHolds({groesse, "M\xFCller"})) << *readFile(file);
    EXPECT_EQ(query(list, LB_GETCURSEL), 0);
    writeFile(file, *readFile(file) + "\"Neu\"\r\n"); // by another program: taken in at once
    EXPECT_TRUE(FakeBrowser({.title = "Neu"}).closed(2000)) << "the new entry not taken in";
    // The user moves one item down and presses Delete.
    pressKey(list, VK_DOWN);
    ASSERT_TRUE(waitUntil([&] { return query(list, LB_GETCURSEL) == 1; }));
    pressKey(list, VK_DELETE);
    EXPECT_TRUE(fileHolds({groesse, "Neu"})) << *readFile(file);
    EXPECT_EQ(items(list), (Texts{groesse, "Neu"}));
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
        EXPECT_EQ(items(list), (Texts{groesse, "Neu"}));
        EXPECT_EQ(readFile(file), quotedLines({groesse, "Neu"}));
        EXPECT_EQ(program.files(),
                  (Texts{"Protokoll.txt", "config.ini", "lstTitel.txt", "zuklapper.exe"}))
            << "a temporary file was left behind, or another list's file written";
        const FakeBrowser titled({.title = "Neu"});
        EXPECT_TRUE(titled.closed()) << "the entry still closes windows";
        letGo();
    }
    EXPECT_TRUE(deleted.untouched());
    // Held for a moment only, or let go, the file takes the deletions, down to an empty file.
    holds[1].first();
    PostMessageA(button, BM_CLICK, 0, 0);
    Sleep(60);
    holds[1].second();
    PostMessageA(button, BM_CLICK, 0, 0);
    EXPECT_TRUE(fileHolds({})) << *readFile(file);
    EXPECT_EQ(query(list, LB_GETCOUNT), 0);

    // "Urlliste" lies over "Titelliste": the left of its circle takes a click, and shows whole.
    const HWND urls = findDescendant(main, "Button", "Urlliste");
    RECT r{};
    GetWindowRect(urls, &r);
    SetCursorPos(r.left + 3, (r.top + r.bottom) / 2);
    mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
    mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
    EXPECT_TRUE(waitUntil([&] { return query(urls, BM_GETCHECK) == BST_CHECKED; }));
    EXPECT_TRUE(keepPicture(GetParent(urls), "zuklapper-listenwahl.png"));
}

// A list read in part, for a character beyond the code page, takes new entries but is never
// rewritten; one that another program held at start is read again for a deletion.
TEST(ListDeletion, AListReadInPartIsNeverRewrittenOneHeldAtStartIsReadAgain) {
    const std::string titles = freshFolder() + "\\lstTitel.txt";
    writeFile(titles, quotedLines({"alt"}));
    const HANDLE lock =
        CreateFileA(titles.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    // "ā", which the code page would show as "a", and "Größe", saved by Notepad as UTF-8.
    const std::string groesse = "Gr\xC3\xB6\xC3\x9F"
                                "e";
    Program program(std::nullopt, {{"\xC4\x81", groesse}});
    const FakeBrowser other({.title = "Andere", .edits = {"http://a/"}});
    const FakeBrowser listed({.title = "Liste",
                              .edits = {"http://x/Gr\xF6\xDF"
                                        "e"}});
    EXPECT_TRUE(listed.closed());
    EXPECT_TRUE(other.untouched());
    program.showMainWindow();
    CloseHandle(lock);

    const HWND main = program.mainWindow();
    const HWND remove = findDescendant(main, "Button", "&L\xF6schen");
    PostMessageA(findDescendant(main, "Button", "&Hinzuf\xFCgen"), BM_CLICK, 0, 0);
    // Sorted first, it is selected whether or not the list was read again meanwhile.
    FakeBrowser page({.title = "Aaa - Testbrowser"});
    SetForegroundWindow(page.hwnd());
    EXPECT_TRUE(waitUntil([&] {
        return readFile(titles) == quotedLines({"alt", "Aaa"});
    })) << *readFile(titles);
    PostMessageA(remove, BM_CLICK, 0, 0);
    EXPECT_TRUE(waitUntil([&] { return readFile(titles) == quotedLines({"alt"}); }))
        << *readFile(titles);

    PostMessageA(findDescendant(main, "Button", "Urlliste"), BM_CLICK, 0, 0);
    EXPECT_TRUE(waitUntil([&] {
        return items(findDescendant(main, "ListBox")) == std::vector<std::string>{"Gr\xF6\xDF"
                                                                                  "e"};
    }));
    PostMessageA(remove, BM_CLICK, 0, 0);
    const std::string said = program.answerMessage("zuklapper-meldung-nicht-gelesen.png");
    EXPECT_NE(said.find("nicht gelesen"), std::string::npos) << said;
    EXPECT_EQ(readFile(program.path("lstUrl.txt")), quotedLines({"\xC4\x81", groesse}));
}
