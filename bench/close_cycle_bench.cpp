#include "platform/sim/sim_platform.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

// One close cycle with 20 browser windows among 200 top-level windows and the given number
// of entries in each list; no entry matches, so every cycle does the full work.
void CloseCycle(benchmark::State& state) {
    const int entries = static_cast<int>(state.range(0));
    zk::sim::SimPlatform sim;
    std::string titles, urls;
    for (int i = 0; i < entries; ++i) {
        titles += "\"Seitentitel Nummer " + std::to_string(i) + "\"\r\n";
        urls += "\"werbung" + std::to_string(i) + ".example.com/banner\"\r\n";
    }
    sim.files.put("C:\\Programme\\Zuklapper\\lstTitel.txt", titles);
    sim.files.put("C:\\Programme\\Zuklapper\\lstUrl.txt", urls);
    for (int i = 0; i < 180; ++i)
        sim.desktop.open("Fenster" + std::to_string(i % 7), "Programm " + std::to_string(i));
    for (int i = 0; i < 20; ++i)
        sim.desktop.openBrowser(i % 2 ? "IEFrame" : "MozillaWindowClass",
                                "Nachrichten des Tages " + std::to_string(i) + " - Mozilla Firefox",
                                ("https://www.nachrichten.example.org/artikel/" +
                                 std::to_string(i) + "/seite.html?ref=start")
                                    .c_str());
    zk::Zuklapper app(sim.platform);
    app.WebbrowserBezeichnung = " - Mozilla Firefox";
    app.start();
    app.form1().tmrFenster_schliessen_Timer(); // builds the indexes
    for (auto _ : state) app.form1().tmrFenster_schliessen_Timer();
    if (!sim.desktop.closeLog().empty()) state.SkipWithError("a window was closed");
}
BENCHMARK(CloseCycle)->Arg(10)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
