#include "app/fenster.h"

#include "app/form1.h"
#include "engine/todays_browsers.h"
#include "settings/ini.h"

namespace zk {

bool Fenster_auflisten(Platform& platform, const std::function<void()>& wait) {
    const std::string prefix = folderPrefix(platform.files.programFolder());
    const bool todays = Ini_lesen(platform.profile, prefix + "config.ini", "Webbrowser",
                                  "AktuelleBrowser", "0") == "1";
    TodaysBrowsers today(platform.windows, platform.accessibility, platform.workers);
    std::vector<BrowserWindow> rows;
    // A first scan starts the reads; the one after they are done has their addresses.
    Browserfenster_suchen(platform.windows, 0, rows, todays ? &today : nullptr);
    for (const BrowserWindow& row : rows)
        if (row.todays) today.readTabs(row.hWnd);
    for (int waited = 0; todays && today.reading() && waited < 30; ++waited) wait();
    Browserfenster_suchen(platform.windows, 0, rows, todays ? &today : nullptr);
    std::string text;
    auto quoted = [](const std::string& field) { return '"' + field + '"'; };
    for (const BrowserWindow& row : rows) {
        const std::string program =
            row.program.empty() ? platform.windows.processName(row.hWnd) : row.program;
        const std::optional<int> tabs = row.todays ? today.tabs(row.hWnd) : std::nullopt;
        text += quoted(row.className) + ',' + quoted(program) + ',' + quoted(row.Title) + ',' +
                quoted(row.Url) + ',' + quoted(tabs ? std::to_string(*tabs) : "") + "\r\n";
    }
    return platform.files.replaceAll(prefix + "Fenster.txt", text);
}

} // namespace zk
