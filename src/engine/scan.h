#pragma once

#include "platform/window_system.h"

#include <string>
#include <vector>

namespace zk {

struct BrowserWindow {
    std::string Title;
    std::string Url;
    Hwnd hWnd = 0;
};

inline constexpr std::uint32_t Stilmaske = WS_VISIBLE_BIT | WS_BORDER_BIT;

// True when the window has every bit of Stilmaske.
bool Fensterstil_pruefen(WindowSystem& windows, Hwnd window);

// The text of the window's first descendant whose class is EDIT (any letter case); "" if none.
std::string Adresse_lesen(WindowSystem& windows, Hwnd window);

// The visible, bordered top-level windows of the classes IEFRAME and MOZILLAWINDOWCLASS
// with a non-empty title, in z order, leaving out the program's own main window.
// Rebuilds `BrowserWindows`; an empty result means no browser window was found.
void Browserfenster_suchen(WindowSystem& windows, Hwnd mainWindow,
                           std::vector<BrowserWindow>& BrowserWindows);

} // namespace zk
