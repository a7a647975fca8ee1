#pragma once

#include "platform/window_system.h"

#include <string>
#include <vector>

namespace zk {

struct BrowserWindow {
    std::string Title;
    std::string Url;
    Hwnd hWnd = 0;
    // Of today's browsers: the address is read through accessibility, in the form these
    // browsers show it, and the title matches title entries also as the capture cuts it.
    bool todays = false;
    std::string program = {};
    std::string className = {};
};

class TodaysBrowsers;

inline constexpr std::uint32_t Stilmaske = WS_VISIBLE_BIT | WS_BORDER_BIT;

// True when the window has every bit of Stilmaske.
bool Fensterstil_pruefen(WindowSystem& windows, Hwnd window);

// The text of the window's first descendant whose class is EDIT (any letter case); "" if none.
std::string Adresse_lesen(WindowSystem& windows, Hwnd window);

// The visible, bordered top-level windows of the classes IEFRAME and MOZILLAWINDOWCLASS
// with a non-empty title, in z order, leaving out the program's own main window.
// Rebuilds `BrowserWindows`; an empty result means no browser window was found.
// With today's browsers, also the windows of Chromium's browsers, and the address of a
// Mozilla window of Firefox or its kin that has no EDIT descendant, read through
// accessibility; the windows of Chromium's and Firefox's programs bordered or not.
void Browserfenster_suchen(WindowSystem& windows, Hwnd mainWindow,
                           std::vector<BrowserWindow>& BrowserWindows,
                           TodaysBrowsers* today = nullptr);

// Whether today's browsers read the window's address through accessibility: a window of
// Chromium's browsers, or a Mozilla window of Firefox's kin without an EDIT descendant.
bool readsAccessibly(WindowSystem& windows, TodaysBrowsers& today, Hwnd window);

} // namespace zk
