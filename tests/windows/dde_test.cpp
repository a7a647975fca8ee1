// The DDEML client against fixtures serving the address query, one at a time.

#include "engine/get_url.h"
#include "harness.h"
#include "platform/win32/win32_dde.h"

#include <gtest/gtest.h>

using namespace zkt;

TEST(Dde, TheNamedBrowserGivesItsAddressNoServerNothingAtOnceAMuteOneAfterTheTime) {
    constexpr const char* kTopic = "WWW_GetWindowInfo";
    zk::Win32Dde dde;
    ULONGLONG start = GetTickCount64();
    EXPECT_EQ(dde.request("zk-niemand", kTopic, "-1", 5000), std::nullopt);
    EXPECT_LT(GetTickCount64() - start, 2000u);
    {
        const FakeBrowser opera({.title = "Seite - Opera",
                                 .ddeService = "opera",
                                 .ddeReply = "\"http://x/?a=1,2\",\"Seite\""});
        EXPECT_EQ(zk::GetURL(dde, "Seite - Opera"), "http://x/?a=1,2");
        EXPECT_EQ(zk::GetURL(dde, "Seite - Unbekannt"), "") << "no browser named, none asked";
        EXPECT_EQ(opera.count("ddeRequest"), 1);
    }
    const FakeBrowser mozilla({.title = "Seite", .ddeService = "mozilla", .ddeHang = true});
    start = GetTickCount64();
    EXPECT_EQ(dde.request("mozilla", kTopic, "-1", 700), std::nullopt);
    const ULONGLONG elapsed = GetTickCount64() - start;
    EXPECT_GE(elapsed, 690u) << "returned before the time was out";
    EXPECT_LT(elapsed, 3000u);
    EXPECT_EQ(mozilla.count("ddeRequest"), 1);
}
