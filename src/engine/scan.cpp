#include "engine/scan.h"

#include "engine/todays_browsers.h"

#include <algorithm>
#include <cctype>

namespace zk {

namespace {

std::string upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

// The text of the first EDIT descendant; nothing when there is none.
std::optional<std::string> firstEditText(WindowSystem& windows, Hwnd window) {
    for (Hwnd child : windows.descendants(window))
        if (upper(windows.className(child)) == "EDIT") return windows.controlText(child);
    return std::nullopt;
}

} // namespace

bool Fensterstil_pruefen(WindowSystem& windows, Hwnd window) {
    return (windows.style(window) & Stilmaske) == Stilmaske;
}

std::string Adresse_lesen(WindowSystem& windows, Hwnd window) {
    return firstEditText(windows, window).value_or("");
}

void Browserfenster_suchen(WindowSystem& windows, Hwnd mainWindow,
                           std::vector<BrowserWindow>& BrowserWindows, TodaysBrowsers* today) {
    BrowserWindows.clear();
    for (Hwnd window : windows.topLevelWindows()) {
        // The cheap questions first: the style, then the class; the title only of a browser,
        // the program only of a window that may be one of today's. Today's browsers drop
        // their border in full screen: theirs is not asked for.
        if (window == mainWindow) continue;
        const std::uint32_t style = windows.style(window);
        const bool bordered = (style & Stilmaske) == Stilmaske;
        if (!bordered && !(today && (style & WS_VISIBLE_BIT) != 0)) continue;
        const std::string cls = windows.className(window);
        const std::string upperClass = upper(cls);
        const bool mozilla = upperClass == "MOZILLAWINDOWCLASS";
        const bool chromium = today && chromiumClass(cls);
        if (!mozilla && !chromium && (!bordered || upperClass != "IEFRAME")) continue;
        if (!bordered && !chromium && !firefoxProgram(today->program(window))) continue;
        std::string title = windows.windowText(window);
        if (title.empty() || (chromium && !chromiumProgram(today->program(window)))) continue;
        BrowserWindow row{std::move(title), {}, window};
        row.className = cls;
        std::optional<std::string> edit;
        if (!chromium) edit = firstEditText(windows, window);
        if (edit) {
            row.Url = std::move(*edit);
        } else if (chromium || (mozilla && today && firefoxProgram(today->program(window)))) {
            row.Url = today->address(window, row.Title).value_or("");
            row.todays = true;
        }
        if (today) row.program = today->program(window);
        BrowserWindows.push_back(std::move(row));
    }
    if (today) today->sweep();
}

bool readsAccessibly(WindowSystem& windows, TodaysBrowsers& today, Hwnd window) {
    const std::string cls = windows.className(window);
    if (chromiumClass(cls)) return chromiumProgram(today.program(window));
    return upper(cls) == "MOZILLAWINDOWCLASS" && firefoxProgram(today.program(window)) &&
           !firstEditText(windows, window);
}

} // namespace zk
