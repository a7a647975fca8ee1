#include "program_fixture.h"

#include "engine/close_cycle.h"

#include <random>

namespace zk {
namespace {

using sim::OnClose;
using Log = std::vector<Hwnd>;

class CloseCycle : public ProgramTest {};

TEST_F(CloseCycle, UrlEntriesArePiecesOfTheAddressWithLetterCase) {
    start({}, {"badsite.com", "/pfad/x", ""});
    const Hwnd host = sim.desktop.openBrowser("IEFrame", "A", "http://www.badsite.com/start");
    const Hwnd path = sim.desktop.openBrowser("MozillaWindowClass", "B", "https://ok.de/pfad/x/y");
    const Hwnd upper = sim.desktop.openBrowser("IEFrame", "C", "http://www.BADSITE.com/");
    const Hwnd other = sim.desktop.open("Notepad", "badsite.com");
    const Hwnd noUrl = sim.desktop.openBrowser("MozillaWindowClass", "D", "");
    tick();
    EXPECT_EQ(sim.desktop.closeLog(), (Log{host, path}));
    tick(5); // the empty entry matches nothing
    EXPECT_EQ(sim.desktop.closeLog(), (Log{host, path}));
    for (Hwnd stays : {upper, other, noUrl}) EXPECT_EQ(win(stays).closeRequests, 0);
}

TEST_F(CloseCycle, EachUrlEntryClosesTheFirstMatchingWindowAndWaitsForIt) {
    start({}, {"werbung"});
    const Hwnd lower = sim.desktop.openBrowser("IEFrame", "1", "http://werbung.de/a");
    const Hwnd upper =
        sim.desktop.openBrowser("IEFrame", "2", "http://werbung.de/b", OnClose::Slow);
    tick(4); // the upper one takes its time: it is asked once, and its entry waits for it
    EXPECT_TRUE(sim.desktop.exists(upper));
    EXPECT_EQ(sim.desktop.closeLog(), Log{upper});
    tick();
    EXPECT_FALSE(sim.desktop.exists(upper));
    EXPECT_EQ(sim.desktop.closeLog(), (Log{upper, lower}));

    // A window that ignores the request keeps its entry busy.
    const Hwnd below = sim.desktop.openBrowser("IEFrame", "3", "http://werbung.de/c");
    const Hwnd stubborn =
        sim.desktop.openBrowser("IEFrame", "4", "http://werbung.de/d", OnClose::Ignore);
    tick(5);
    EXPECT_EQ(win(stubborn).closeRequests, 5);
    EXPECT_EQ(win(below).closeRequests, 0);
}

TEST_F(CloseCycle, TitleEntriesMatchTheWholeTitleWithTheDesignation) {
    start({"Seite", "Andere"});
    app->WebbrowserBezeichnung = " - Mozilla Firefox";
    const Hwnd a =
        sim.desktop.openBrowser("MozillaWindowClass", "Seite - Mozilla Firefox", nullptr);
    const Hwnd b = sim.desktop.openBrowser("IEFrame", "Seite - Mozilla Firefox", "http://x/");
    const Hwnd lower = sim.desktop.openBrowser("IEFrame", "seite - Mozilla Firefox", nullptr);
    const Hwnd blank = sim.desktop.openBrowser("IEFrame", "Seite  - Mozilla Firefox", nullptr);
    const Hwnd bare = sim.desktop.openBrowser("IEFrame", "Seite", nullptr);
    tick();
    EXPECT_EQ(sim.desktop.closeLog(), (Log{b, a})); // both in the same tick, in scan order
    for (Hwnd stays : {lower, blank, bare}) EXPECT_EQ(win(stays).closeRequests, 0);

    app->WebbrowserBezeichnung.clear(); // read afresh each tick
    tick();
    EXPECT_FALSE(sim.desktop.exists(bare));
    EXPECT_TRUE(sim.desktop.exists(blank));
}

TEST_F(CloseCycle, UrlPassComesFirstAndAWindowIsAskedOncePerCycle) {
    start({"Titel"}, {"zwei", "eins"});
    const Hwnd both =
        sim.desktop.openBrowser("IEFrame", "Titel", "http://eins.zwei/", OnClose::Ignore);
    const Hwnd one = sim.desktop.openBrowser("IEFrame", "X", "http://eins/", OnClose::Ignore);
    tick();
    // "zwei" finds `both`; "eins" finds `one` first (it is on top); the title entry finds
    // `both` again, whose request is still out.
    EXPECT_EQ(sim.desktop.closeLog(), (Log{both, one}));
    EXPECT_EQ(win(both).closeMessages, 1); // WM_CLOSE once SC_CLOSE was handled
    tick();
    EXPECT_EQ(sim.desktop.closeLog(), (Log{both, one, both, one}));
}

TEST_F(CloseCycle, NeverTouchesTheMainWindowAndGoesOnWhileItIsHidden) {
    start({"Zuklapper 1.08"}, {"zuklapper"});
    win(form().window.handle()).className = "IEFrame";
    win(form().window.handle()).style |= WS_VISIBLE_BIT;
    tick(3);
    EXPECT_TRUE(sim.desktop.closeLog().empty());

    form().window.hide();
    const Hwnd browser = sim.desktop.openBrowser("IEFrame", "Zuklapper 1.08", nullptr);
    tick();
    EXPECT_FALSE(sim.desktop.exists(browser));
}

TEST_F(CloseCycle, WmCloseFollowsOnlyWhenScCloseWasHandledAndNothingOvertakesAQuestion) {
    start({"Frage", "Haengt"}, {"spaeter"});
    const Hwnd asking = sim.desktop.openBrowser("IEFrame", "Frage", nullptr, OnClose::Ask);
    const Hwnd hung = sim.desktop.openBrowser("IEFrame", "Haengt", "http://x/", OnClose::Hang);
    tick(5);
    EXPECT_EQ(win(asking).closeRequests, 1);
    EXPECT_EQ(win(asking).closeMessages, 0); // its question about SC_CLOSE is open
    EXPECT_EQ(win(hung).closeRequests, 1);

    // Neither holds up another window.
    const Hwnd later = sim.desktop.openBrowser("MozillaWindowClass", "L", "http://spaeter/");
    tick();
    EXPECT_FALSE(sim.desktop.exists(later));

    sim.desktop.answer(asking, false); // the user stays on the page: WM_CLOSE comes next
    tick(3);
    EXPECT_EQ(win(asking).closeMessages, 1);
    EXPECT_EQ(win(asking).questions, 2);
    EXPECT_EQ(win(asking).closeRequests, 1);
    sim.desktop.answer(asking, false); // the request has ended: the window is asked anew
    tick();
    EXPECT_EQ(win(asking).closeRequests, 2);
    EXPECT_EQ(win(asking).overtaken, 0);
    sim.desktop.answer(asking, true);
    EXPECT_FALSE(sim.desktop.exists(asking));

    EXPECT_EQ(win(hung).closeRequests, 1);
    sim.desktop.resume(hung);
    tick();
    EXPECT_FALSE(sim.desktop.exists(hung));
}

TEST_F(CloseCycle, ANewWindowWithTheHandleValueOfAGoneOneIsClosedAndKeepsItsOwnRequest) {
    start({"Seite"});
    const Hwnd old = sim.desktop.openBrowser("IEFrame", "Seite", nullptr, OnClose::Ask);
    tick();
    sim.desktop.destroy(old); // ended while it asked: its answer does not come
    sim.desktop.reuseHandle(old);
    const Hwnd reused = sim.desktop.openBrowser("IEFrame", "Seite", nullptr, OnClose::Ask);
    ASSERT_EQ(reused, old);
    tick();
    EXPECT_EQ(win(reused).closeRequests, 1);

    // The old request's answer comes late after all: the new request stays open.
    sim.desktop.releaseLostAnswers();
    tick(3);
    EXPECT_EQ(win(reused).closeRequests, 1);
    EXPECT_EQ(win(reused).closeMessages, 0);
    EXPECT_EQ(win(reused).overtaken, 0);
}

// The close order by the plain definition: every URL entry against every row, then every
// title entry against every row.
std::vector<Hwnd> plainCloseOrder(const std::vector<BrowserWindow>& rows,
                                  const std::vector<std::string>& urls,
                                  const std::vector<std::string>& titles,
                                  const std::string& designation) {
    std::vector<Hwnd> order;
    for (const std::string& entry : urls) {
        if (entry.empty()) continue;
        for (const BrowserWindow& row : rows) {
            if (row.Url.find(entry) != std::string::npos) {
                order.push_back(row.hWnd);
                break;
            }
        }
    }
    for (const std::string& entry : titles)
        for (const BrowserWindow& row : rows)
            if (row.Title == entry + designation) order.push_back(row.hWnd);
    return order;
}

TEST(CloseRules, IndexedOrderEqualsThePlainDefinition) {
    std::mt19937 random(2024);
    auto text = [&](std::size_t maxLength) {
        std::string s;
        for (std::size_t n = random() % (maxLength + 1); n > 0; --n) s += "ab/-A"[random() % 5];
        return s;
    };
    CloseRules rules;
    EntryList urls, titles;
    std::vector<Hwnd> indexed;
    for (int round = 0; round < 400; ++round) {
        std::vector<std::string> u(random() % 12), t(random() % 12);
        for (auto& e : u) e = text(4);
        for (auto& e : t) e = text(3);
        if (round % 3 != 0) { // keep the lists now and then, so the cached indexes are used
            urls.assign(u);
            titles.assign(t);
        }
        const std::string designation = round % 2 ? "" : text(2);
        std::vector<BrowserWindow> rows(1 + random() % 8);
        for (std::size_t i = 0; i < rows.size(); ++i)
            rows[i] = {text(3) + (random() % 2 ? designation : ""), text(12), 0x100 + i};
        rules.closeOrder(rows, urls, titles, designation, indexed);
        ASSERT_EQ(indexed, plainCloseOrder(rows, urls.items(), titles.items(), designation))
            << "round " << round;
    }
}

} // namespace
} // namespace zk
