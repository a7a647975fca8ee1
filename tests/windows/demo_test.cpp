// Zuklapper at work, to watch rather than to test: scripts/run --demo runs it (disabled in
// the test runs). Browser-like windows open, Zuklapper starts with example lists, and what
// happens to each window is printed as it happens.

#include "harness.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <list>

using namespace zkt;

namespace {

struct Shown {
    FakeWindow window;
    const char* why = nullptr; // why Zuklapper closes it, or leaves it alone
};

} // namespace

TEST(DISABLED_Demo, ZuklapperAtWork) {
    const Shown shown[] = {
        {{.title = "Nachrichten - Internet Explorer", .edits = {"http://www.badsite.com/start"}},
         "its address contains the URL entry \"badsite\""},
        {{.cls = "MozillaWindowClass",
          .title = "Werbung satt - Mozilla Firefox",
          .edits = {"http://shop.example/"}},
         "its title is the title entry \"Werbung satt\" with the designation \" - Mozilla "
         "Firefox\""},
        {{.cls = "MozillaWindowClass",
          .title = "Wetter - Mozilla Firefox",
          .edits = {"http://wetter.example/"}},
         "neither its title nor its address matches"},
        {{.title = "Werbung satt", .edits = {"http://news.example/"}},
         "its title lacks the designation"},
        {{.cls = "Notepad", .title = "badsite - Notizen"}, "it is no browser window"},
    };
    std::list<FakeBrowser> browsers;
    int place = 0;
    for (const Shown& s : shown) {
        browsers.emplace_back(s.window);
        SetWindowPos(browsers.back().hwnd(), nullptr, 40 + 500 * (place % 2),
                     40 + 260 * (place / 2), 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        ++place;
    }
    Sleep(500);
    Screenshot(GetDesktopWindow()).keep("zuklapper-demo-vorher.png");
    std::printf("\n%zu windows are open. Zuklapper starts with the title entry \"Werbung satt\", "
                "the URL entry \"badsite\" and the designation \" - Mozilla Firefox\".\n\n",
                browsers.size());
    std::fflush(stdout);

    Program program({{"Werbung satt"}}, {{"badsite"}},
                    "[Webbrowser]\r\nBezeichnung=\"\" - Mozilla Firefox\"\"\r\n");
    std::vector<bool> reported(browsers.size());
    const ULONGLONG end = GetTickCount64() + 3000;
    while (GetTickCount64() < end) {
        std::size_t i = 0;
        for (const FakeBrowser& browser : browsers) {
            if (!reported[i] && !IsWindow(browser.hwnd())) {
                reported[i] = true;
                std::printf("  closed:  \"%s\": %s\n", shown[i].window.title.c_str(), shown[i].why);
                std::fflush(stdout);
            }
            ++i;
        }
        Sleep(20);
    }
    std::size_t i = 0;
    for (const FakeBrowser& browser : browsers) {
        if (IsWindow(browser.hwnd()))
            std::printf("  stayed:  \"%s\": %s\n", shown[i].window.title.c_str(), shown[i].why);
        ++i;
    }
    Screenshot(GetDesktopWindow()).keep("zuklapper-demo-nachher.png");
    std::printf("\nThe desktop before and after: build/win32/zuklapper-demo-vorher.png and "
                "zuklapper-demo-nachher.png.\n");
}
