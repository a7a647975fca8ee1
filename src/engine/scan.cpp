#include "engine/scan.h"

#include <algorithm>
#include <cctype>

namespace zk {

namespace {

std::string upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

bool isBrowserClass(const std::string& className) {
    const std::string cls = upper(className);
    return cls == "IEFRAME" || cls == "MOZILLAWINDOWCLASS";
}

} // namespace

bool Fensterstil_pruefen(WindowSystem& windows, Hwnd window) {
    return (windows.style(window) & Stilmaske) == Stilmaske;
}

std::string Adresse_lesen(WindowSystem& windows, Hwnd window) {
    for (Hwnd child : windows.descendants(window)) {
        if (upper(windows.className(child)) == "EDIT") return windows.controlText(child);
    }
    return {};
}

void Browserfenster_suchen(WindowSystem& windows, Hwnd mainWindow,
                           std::vector<BrowserWindow>& BrowserWindows) {
    BrowserWindows.clear();
    for (Hwnd window : windows.topLevelWindows()) {
        // The cheap questions first: the style, then the class; the title only of a browser.
        if (window == mainWindow || !Fensterstil_pruefen(windows, window) ||
            !isBrowserClass(windows.className(window)))
            continue;
        std::string title = windows.windowText(window);
        if (title.empty()) continue;
        BrowserWindows.push_back({std::move(title), Adresse_lesen(windows, window), window});
    }
}

} // namespace zk
