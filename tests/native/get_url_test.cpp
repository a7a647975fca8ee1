#include "engine/get_url.h"
#include "platform/sim/sim_platform.h"

#include <gtest/gtest.h>

namespace zk {
namespace {

constexpr const char* Topic = "WWW_GetWindowInfo";

TEST(GetUrl, AsksTheFirstBrowserOfTheTableNamedInTheTitle) {
    sim::SimPlatform sim;
    const std::pair<const char*, const char*> cases[] = {
        {"Seite - MICROSOFT INTERNET EXPLORER (Mozilla)", "iexplore"},
        {"Netscape 7 (Mozilla)", "mozilla"}, // the table's order, not the title's
        {"Seite - Netscape", "netscape"},
        {"Seite - opera", "opera"},
        {"Seite - Microsoft Internet", ""},
    };
    std::vector<sim::DdeRequest> expected;
    for (const auto& [title, service] : cases) {
        EXPECT_EQ(GetURL(sim.dde, title), "") << title; // no server
        expected.push_back({service, Topic, "-1", 5000});
    }
    EXPECT_EQ(sim.dde.requests(), expected);
}

TEST(GetUrl, GivesTheAddressOfTheServerThatAnswersOrNothing) {
    sim::SimPlatform sim;
    sim.dde.serve("opera", "Andere", "\"http://falsch/\"");
    sim.dde.serve("opera", Topic, "\"http://opera/\",\"Opera\"");
    EXPECT_EQ(GetURL(sim.dde, "Unbekannt"), "http://opera/"); // any server of the topic
    // However the request fails, nothing comes, not an earlier reply.
    sim.dde.serveNoAnswer("mozilla", Topic);
    EXPECT_EQ(GetURL(sim.dde, "Seite - Mozilla"), "");
    sim.dde.serve("mozilla", Topic, "http://spaet/", 5001);
    EXPECT_EQ(GetURL(sim.dde, "Seite - Mozilla"), "");
    sim.dde.stop("mozilla", Topic);
    EXPECT_EQ(GetURL(sim.dde, "Seite - Mozilla"), "");
}

TEST(AddressFromReply, ReadsTheFirstField) {
    const std::pair<std::string, std::string> cases[] = {
        {"\"http://x/?a=1,2\",\"Titel\"", "http://x/?a=1,2"},
        {"\"http://x/\",\"Titel \",\" mehr\",\"\"", "http://x/"},
        {"\"http://x/\"", "http://x/"},
        {"\"a\"b\",\"Titel\"", "a\"b"},
        {"\"\",\"Titel\"", ""},
        {"http://x/,Titel, mit Komma,\"\"", "http://x/"},
        {",Titel", ""},
        {"http://x/", "http://x/"},
        {"", ""},
        // A quoted field that never ends reads like an unquoted one.
        {"\"http://x/,Titel", "\"http://x/"},
        {"\"http://x/\"Titel", "\"http://x/\"Titel"},
        // Only the text before the first NUL counts.
        {std::string("\"http://x/\"\0,\"T\"", 16), "http://x/"},
        {std::string("http://x/\0,T", 12), "http://x/"},
    };
    for (const auto& [reply, address] : cases) EXPECT_EQ(addressFromReply(reply), address) << reply;
}

} // namespace
} // namespace zk
