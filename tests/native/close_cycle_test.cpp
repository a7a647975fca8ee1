#include "program_fixture.h"

#include "engine/close_cycle.h"
#include "engine/todays_browsers.h"

#include <random>

namespace zk {
namespace {

using sim::OnClose;
using Log = std::vector<Hwnd>;

class CloseCycle : public ProgramTest {
protected:
    Hwnd open(const std::string& title, const char* url, OnClose onClose = OnClose::Close) {
        return sim.desktop.openBrowser("IEFrame", title, url, onClose);
    }
};

// URL entries are pieces of the address, with letter case; each closes the first matching
// window in scan order and waits while it takes its time or stays.
TEST_F(CloseCycle, EachUrlEntryClosesTheFirstWindowWhoseAddressHoldsIt) {
    start({}, {"werbung", "/pfad/x", ""});
    const Hwnd path = open("A", "https://ok.de/pfad/x/y");
    const Hwnd upper = open("B", "http://www.WERBUNG.de/");
    const Hwnd noUrl = open("C", "");
    const Hwnd notepad = sim.desktop.open("Notepad", "werbung");
    const Hwnd lower = open("D", "http://werbung.de/a");
    const Hwnd slow = open("E", "http://werbung.de/b", OnClose::Slow);
    tick(4); // the slow one is asked once, and its entry waits for it
    EXPECT_EQ(sim.desktop.closeLog(), (Log{slow, path}));
    tick(2);
    EXPECT_EQ(sim.desktop.closeLog(), (Log{slow, path, lower}));
    for (Hwnd stays : {upper, noUrl, notepad}) EXPECT_EQ(win(stays).closeRequests, 0);

    const Hwnd below = open("F", "http://werbung.de/c");
    const Hwnd stubborn = open("G", "http://werbung.de/d", OnClose::Ignore);
    tick(5);
    EXPECT_EQ(win(stubborn).closeRequests, 5);
    EXPECT_EQ(win(below).closeRequests, 0);
}

TEST_F(CloseCycle, UrlPassComesFirstAndAWindowIsAskedOncePerCycleNeverTheMainWindow) {
    start({"Titel", "Zuklapper 1.08"}, {"zwei", "eins"});
    win(form().window.handle()).className = "IEFrame";
    form().window.show();
    const Hwnd both = open("Titel", "http://eins.zwei/", OnClose::Ignore);
    const Hwnd one = open("X", "http://eins/", OnClose::Ignore);
    tick();
    // "zwei" finds `both`; "eins" finds `one` first (it is on top); the title entry finds
    // `both` again, whose request is still out.
    EXPECT_EQ(sim.desktop.closeLog(), (Log{both, one}));
    EXPECT_EQ(win(both).closeMessages, 1); // WM_CLOSE once SC_CLOSE was handled
    tick();
    EXPECT_EQ(sim.desktop.closeLog(), (Log{both, one, both, one}));
}

TEST_F(CloseCycle, WmCloseFollowsOnlyWhenScCloseWasHandledAndNothingOvertakesAQuestion) {
    start({"Frage", "H"}, {"spaeter"});
    const Hwnd asking = open("Frage", nullptr, OnClose::Ask);
    const Hwnd hung = open("H", "http://x/", OnClose::Hang);
    tick(5);
    EXPECT_EQ(win(asking).closeMessages, 0); // its question about SC_CLOSE is open
    EXPECT_EQ(win(hung).closeRequests, 1);
    const Hwnd later = open("L", "http://spaeter/"); // held up by neither
    tick();
    EXPECT_FALSE(sim.desktop.exists(later));

    sim.desktop.answer(asking, false); // the user stays on the page: WM_CLOSE comes next
    tick(3);
    EXPECT_EQ(win(asking).closeMessages, 1);
    EXPECT_EQ(win(asking).questions, 2);
    sim.desktop.answer(asking, false); // the request has ended: the window is asked anew
    tick();
    EXPECT_EQ(win(asking).closeRequests, 2);
    EXPECT_EQ(win(asking).overtaken, 0);
    sim.desktop.resume(hung);
    tick();
    EXPECT_FALSE(sim.desktop.exists(hung));
}

// A window goes while its request is out; its handle value names a new window before the
// lost answer comes after all. The answer is for the request, never for the new window.
TEST_F(CloseCycle, ALateAnswerForAReusedHandleValueNeverReachesTheNewWindow) {
    start({"Seite"});
    for (const char* title : {"Andere", "Seite"}) {
        SCOPED_TRACE(title);
        const Hwnd old = open("Seite", nullptr, OnClose::Ask);
        tick();
        sim.desktop.destroy(old); // ended while it asked: its answer does not come
        sim.desktop.reuseHandle(old);
        const Hwnd reused = open(title, nullptr, OnClose::Ask);
        ASSERT_EQ(reused, old);
        const bool matches = title == std::string("Seite");
        if (matches) tick(); // asked for itself
        sim.desktop.releaseLostAnswers();
        sim.advance(matches ? 300 : 50);
        EXPECT_EQ(win(reused).closeRequests, matches ? 1 : 0);
        EXPECT_EQ(win(reused).closeMessages, 0);
        sim.desktop.destroy(reused);
    }
}

// The indexed close order against its plain definition: every URL entry against every row
// (the first match), then every title entry against every row (all matches).
TEST(CloseRules, IndexedOrderEqualsThePlainDefinition) {
    std::mt19937 random(2024);
    auto text = [&](std::size_t maxLength) {
        std::string s;
        for (std::size_t n = random() % (maxLength + 1); n > 0; --n) s += "ab/-A"[random() % 5];
        return s;
    };
    CloseRules rules;
    EntryList urls, titles;
    std::vector<Hwnd> indexed, plain;
    for (int round = 0; round < 400; ++round) {
        std::vector<std::string> u(random() % 12), t(random() % 12);
        const char* schemes[] = {"", "", "http://", "https://www.", "www."};
        for (auto& e : u) e = schemes[random() % 5] + text(4);
        for (auto& e : t) e = text(3);
        if (round % 3 != 0) { // keep the lists now and then, so the cached indexes are used
            urls.assign(u);
            titles.assign(t);
        }
        const std::string designation = round % 2 ? "" : text(2);
        std::vector<BrowserWindow> rows(1 + random() % 8);
        for (std::size_t i = 0; i < rows.size(); ++i)
            rows[i] = {text(3) + (random() % 2 ? designation : ""),
                       (random() % 3 ? "" : "www.") + text(12), 0x100 + i, random() % 2 == 0};
        rules.closeOrder(rows, urls, titles, designation, indexed);
        plain.clear();
        for (const std::string& entry : urls.items()) {
            // An address of today's browsers also holds an entry in its shown form.
            const std::string shown(shownForm(entry));
            const auto row = std::find_if(rows.begin(), rows.end(), [&](const BrowserWindow& r) {
                return (!entry.empty() && r.Url.find(entry) != std::string::npos) ||
                       (r.shownForm && !shown.empty() && r.Url.find(shown) != std::string::npos);
            });
            if (row != rows.end()) plain.push_back(row->hWnd);
        }
        for (const std::string& entry : titles.items())
            for (const BrowserWindow& row : rows)
                if (row.Title == entry + designation) plain.push_back(row.hWnd);
        ASSERT_EQ(indexed, plain) << "round " << round;
    }
}

} // namespace
} // namespace zk
