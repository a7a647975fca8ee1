#include "program_fixture.h"
#include "tray/frm_haupt.h"

namespace zk {
namespace {

using Log = std::vector<Hwnd>;

class BlockSchedule : public ProgramTest {
protected:
    static constexpr const char* LogFile = "C:\\Programme\\Zuklapper\\Protokoll.txt";
    const sim::SimNotifyIcon& icon() { return sim.desktop.notifyIcons().at(0); }
    Hwnd open(const std::string& title, const char* url,
              sim::OnClose onClose = sim::OnClose::Close) {
        return sim.desktop.openBrowser("IEFrame", title, url, onClose);
    }
    void minutes(int count) { sim.advance(std::int64_t{60000} * count); }
};

// Monday 08:00 on the simulated clock; the block from 08:30 to 09:00.
TEST_F(BlockSchedule, ClosesOnlyWithinItsTimesAndNotInACountedPause) {
    sim.files.put(ConfigDatei, "[Sperrzeiten]\r\nZeiten=mo 8:30-09:00\r\nPausenlaenge=20\r\n"
                               "PausenProTag=1\r\nPausenGenommen=2026-12-06 1\r\n");
    start({}, {"sperre"});
    const Hwnd first = open("A", "http://sperre.de/");
    minutes(29);
    EXPECT_EQ(sim.desktop.closeLog(), Log{});
    EXPECT_EQ(icon().tip, "Zuklapper \x96 frei bis 08:30");
    EXPECT_TRUE(icon().grey);
    EXPECT_FALSE(form().mPause.enabled());
    minutes(1);
    tick();
    EXPECT_EQ(sim.desktop.closeLog(), Log{first});
    EXPECT_EQ(icon().tip, "Zuklapper \x96 Sperrzeit bis 09:00 \x96 heute 1 geschlossen");
    EXPECT_FALSE(icon().grey);

    // A pause from 08:30:01.1 ends at the whole minute its tip names.
    tick(9);
    const Hwnd second = open("B", "http://sperre.de/b");
    choose("&Pause (20 Minuten)");
    EXPECT_EQ(icon().tip, "Zuklapper \x96 Pause bis 08:51 \x96 heute 1 geschlossen");
    EXPECT_TRUE(icon().grey);
    EXPECT_NE(sim.files.get(ConfigDatei)->find("PausenGenommen=2026-12-07 1"), std::string::npos);
    EXPECT_EQ(form().mPause.caption(), "Pause &beenden");
    minutes(20);
    EXPECT_EQ(sim.desktop.closeLog(), Log{first});
    minutes(1);
    EXPECT_EQ(sim.desktop.closeLog(), (Log{first, second}));
    EXPECT_EQ(form().mPause.caption(), "&Pause (heute keine mehr)");

    EXPECT_FALSE(form().mPause.enabled());
    // The next day gives a new pause, greyed outside block times.
    sim.desktop.clockStart += 86400; // a day later
    tick();
    EXPECT_EQ(form().mPause.caption(), "&Pause (20 Minuten)");
    EXPECT_FALSE(form().mPause.enabled());
    EXPECT_EQ(icon().tip, "Zuklapper \x96 frei bis Mo 08:30");
}

// A line a person cannot have meant never opens the block: said at start, closed always.
TEST_F(BlockSchedule, LogsEachCloseOnceTurnsOverAtItsSizeAndSaysAFailedAppendOnce) {
    sim.files.put(ConfigDatei, "[Sperrzeiten]\r\nZeiten=Mo-Fx 08:00-09:00\r\n"
                               "PausenGenommen=2026-12-07 3\r\n");
    const std::string earlier = "\xEF\xBB\xBF"
                                "2026-12-07 07:00:00\tFenster\r\n" +
                                std::string(1024 * 1024 - 100, 'x') + "\r\n";
    sim.files.put(LogFile, earlier);
    expectMessages(1);
    start({"Seite"}, {"sperre"});
    EXPECT_NE(message(0).find("\x84"
                              "Fx\x93"),
              std::string::npos)
        << message(0);
    EXPECT_NE(message(0).find(ConfigDatei), std::string::npos);
    EXPECT_EQ(form().mPause.caption(), "&Pause (heute keine mehr)"); // a restart gives none
    sim.desktop.clockStart += 50400;                                 // 22:00
    const Hwnd asks = open("Seite", "http://a/\tb", sim::OnClose::Ignore);
    win(asks).program = "iexplore.exe";
    tick(5);
    EXPECT_EQ(win(asks).closeRequests, 5);
    EXPECT_EQ(sim.files.get("C:\\Programme\\Zuklapper\\Protokoll.alt.txt"), earlier);
    EXPECT_EQ(sim.files.get(LogFile), "\xEF\xBB\xBF"
                                      "2026-12-07 22:00:01\tFenster\tTitel\tSeite\t"
                                      "iexplore.exe\tSeite\thttp://a/ b\r\n");
    EXPECT_EQ(icon().tip, "Zuklapper \x96 heute 2 geschlossen");

    sim.files.failAppends(LogFile);
    open("Zwei", "http://sperre/2");
    open("Drei", "http://sperre/3");
    tick(3);
    EXPECT_EQ(icon().notes.size(), 1u);
    EXPECT_EQ(icon().tip, "Zuklapper \x96 heute 4 geschlossen");
}

} // namespace
} // namespace zk
