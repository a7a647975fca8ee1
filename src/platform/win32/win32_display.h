#pragma once

#include "platform/ui.h"
#include "platform/win32/windows_api.h"

namespace zk {

// What every window of the program shares: the module, the message font and the
// display's resolution, by which twips become pixels.
struct Win32Display {
    static constexpr int kTwipsPerInch = 1440;

    HINSTANCE instance = nullptr;
    HFONT font = nullptr;
    int dpiX = 96;
    int dpiY = 96;

    int toPixelsX(int twips) const { return MulDiv(twips, dpiX, kTwipsPerInch); }
    int toPixelsY(int twips) const { return MulDiv(twips, dpiY, kTwipsPerInch); }
    int toTwipsX(int pixels) const { return MulDiv(pixels, kTwipsPerInch, dpiX); }
    int toTwipsY(int pixels) const { return MulDiv(pixels, kTwipsPerInch, dpiY); }

    // A control's place in pixels. Its edges are rounded, not its sizes, so that controls
    // that meet in twips meet in pixels too.
    ui::Geometry toPixels(const ui::Geometry& twips) const {
        const int left = toPixelsX(twips.left), top = toPixelsY(twips.top);
        return {left, top, toPixelsX(twips.left + twips.width) - left,
                toPixelsY(twips.top + twips.height) - top};
    }
};

} // namespace zk
