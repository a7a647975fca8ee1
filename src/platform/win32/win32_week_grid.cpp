#include "platform/week_grid.h"
#include "platform/win32/win32_control.h"

#include <array>
#include <optional>
#include <string>

#include <windowsx.h>

namespace zk {

namespace {

constexpr const char* kWeekGridClass = "ZuklapperWeekGrid";
// The column of the day names and the row of the hour marks, in twips.
constexpr int kNamesWidth = 420;
constexpr int kMarksHeight = 255;
// Every second hour gets its number above the grid.
constexpr int kHoursPerMark = 2;

constexpr COLORREF kBlocked = RGB(0x2B, 0x4C, 0x7E);
constexpr COLORREF kBlockedLine = RGB(0x4F, 0x6E, 0x9E);
constexpr COLORREF kFree = RGB(0xFF, 0xFF, 0xFF);
constexpr COLORREF kHalfHourLine = RGB(0xDC, 0xDC, 0xDC);
constexpr COLORREF kHourLine = RGB(0xA0, 0xA0, 0xA0);
constexpr COLORREF kDayLine = RGB(0x70, 0x70, 0x70);

void fill(HDC dc, int left, int top, int right, int bottom, COLORREF colour) {
    const RECT area{left, top, right, bottom};
    SetDCBrushColor(dc, colour);
    FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

struct Cell {
    int day;
    int slot;
};

// Where the lines lie, in pixels of the client area: the left edge of each half hour's column
// and the grid's right edge; the top edge of each day's row and the grid's bottom edge.
struct Edges {
    std::array<int, ui::kGridSlots + 1> x;
    std::array<int, ui::kGridDays + 1> y;

    int column(int slot) const { return x[static_cast<std::size_t>(slot)]; }
    int row(int day) const { return y[static_cast<std::size_t>(day)]; }
    // The cell under a point, or the nearest one.
    Cell cellAt(int px, int py) const {
        Cell cell{0, 0};
        while (cell.slot + 1 < ui::kGridSlots && px >= column(cell.slot + 1)) ++cell.slot;
        while (cell.day + 1 < ui::kGridDays && py >= row(cell.day + 1)) ++cell.day;
        return cell;
    }
};

// The grid drawn by itself: cells, lines, day names and hour marks, scaled to the display.
// It takes the mouse while a drag runs; what the user does reaches the portable grid.
class Win32WeekGrid final : public Win32Control {
public:
    Win32WeekGrid(ui::WeekGrid& grid, const Win32Display& display)
        : Win32Control(grid, display), grid_(grid) {}

    void changed(ui::Change what) override {
        if (what != ui::Change::Value) {
            Win32Control::changed(what);
            return;
        }
        cells_ = grid_.cells();
        InvalidateRect(hwnd(), nullptr, FALSE);
    }

    static LRESULT CALLBACK proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<Win32WeekGrid*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
        if (message == WM_NCDESTROY) SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        if (self) {
            if (const auto result = self->onMessage(message, wParam, lParam)) return *result;
        }
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }

protected:
    Shape shape() const override { return {.className = kWeekGridClass}; }
    void created() override {
        days_ = grid_.days();
        cells_ = grid_.cells();
        SetWindowLongPtrA(hwnd(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }

private:
    // The portable handlers run last.
    std::optional<LRESULT> onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
        const Edges at = edges();
        const Cell cell = at.cellAt(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        switch (message) {
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT:
            paint(at);
            return 0;
        case WM_LBUTTONDOWN:
            if (GET_X_LPARAM(lParam) >= at.column(0) && GET_Y_LPARAM(lParam) >= at.row(0)) {
                SetCapture(hwnd());
                grid_.press(cell.day, cell.slot);
            }
            return 0;
        case WM_MOUSEMOVE:
            if (GetCapture() == hwnd() && (wParam & MK_LBUTTON)) grid_.dragTo(cell.day, cell.slot);
            return 0;
        case WM_LBUTTONUP:
            if (GetCapture() == hwnd()) ReleaseCapture();
            return 0;
        case WM_CAPTURECHANGED:
            grid_.release();
            return 0;
        default:
            return std::nullopt;
        }
    }

    // The names and the marks keep their design size; the cells share the rest.
    Edges edges() const {
        RECT area{};
        GetClientRect(hwnd(), &area);
        Edges at{};
        const int left = display_.toPixelsX(kNamesWidth);
        const int top = display_.toPixelsY(kMarksHeight);
        for (int slot = 0; slot <= ui::kGridSlots; ++slot)
            at.x[static_cast<std::size_t>(slot)] =
                left + MulDiv(slot, area.right - 1 - left, ui::kGridSlots);
        for (int day = 0; day <= ui::kGridDays; ++day)
            at.y[static_cast<std::size_t>(day)] =
                top + MulDiv(day, area.bottom - 1 - top, ui::kGridDays);
        return at;
    }

    void paint(const Edges& at) {
        PAINTSTRUCT ps{};
        const HDC screen = BeginPaint(hwnd(), &ps);
        RECT area{};
        GetClientRect(hwnd(), &area);
        // Drawn off the screen first, so that a drag does not flicker.
        const HDC dc = CreateCompatibleDC(screen);
        const HBITMAP bitmap = CreateCompatibleBitmap(screen, area.right, area.bottom);
        const HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
        const HGDIOBJ oldFont = SelectObject(dc, display_.font);
        draw(dc, area, at);
        BitBlt(screen, 0, 0, area.right, area.bottom, dc, 0, 0, SRCCOPY);
        SelectObject(dc, oldFont);
        SelectObject(dc, oldBitmap);
        DeleteObject(bitmap);
        DeleteDC(dc);
        EndPaint(hwnd(), &ps);
    }

    void draw(HDC dc, const RECT& area, const Edges& at) const {
        FillRect(dc, &area, GetSysColorBrush(COLOR_BTNFACE));
        for (int day = 0; day < ui::kGridDays; ++day)
            for (int slot = 0; slot < ui::kGridSlots; ++slot)
                fill(dc, at.column(slot) + 1, at.row(day) + 1, at.column(slot + 1), at.row(day + 1),
                     blocked(day, slot) ? kBlocked : kFree);
        // Between two blocked half hours a line only hints at the cells; elsewhere the hours
        // stand out from the half hours, and the days from each other.
        for (int day = 0; day < ui::kGridDays; ++day) {
            for (int slot = 0; slot <= ui::kGridSlots; ++slot) {
                COLORREF colour = slot % 2 == 0 ? kHourLine : kHalfHourLine;
                if (slot == 0 || slot == ui::kGridSlots)
                    colour = kDayLine;
                else if (blocked(day, slot - 1) && blocked(day, slot))
                    colour = kBlockedLine;
                fill(dc, at.column(slot), at.row(day), at.column(slot) + 1, at.row(day + 1),
                     colour);
            }
        }
        for (int day = 0; day <= ui::kGridDays; ++day) {
            for (int slot = 0; slot < ui::kGridSlots; ++slot) {
                const bool inside =
                    day > 0 && day < ui::kGridDays && blocked(day - 1, slot) && blocked(day, slot);
                fill(dc, at.column(slot), at.row(day), at.column(slot + 1) + 1, at.row(day) + 1,
                     inside ? kBlockedLine : kDayLine);
            }
        }

        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
        const int gap = display_.toPixelsX(45);
        for (int hour = 0; hour < 24; hour += kHoursPerMark) {
            const std::string mark = std::to_string(hour);
            const int x = at.column(2 * hour);
            RECT place{x - 3 * gap, 0, x + 3 * gap, at.row(0) - gap / 2};
            DrawTextA(dc, mark.c_str(), -1, &place, DT_CENTER | DT_BOTTOM | DT_SINGLELINE);
        }
        for (int day = 0; day < ui::kGridDays; ++day) {
            const std::string& name = days_[static_cast<std::size_t>(day)];
            RECT place{0, at.row(day), at.column(0) - gap, at.row(day + 1)};
            DrawTextA(dc, name.c_str(), -1, &place,
                      DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        }
    }

    bool blocked(int day, int slot) const { return cells_.test(ui::WeekGrid::index(day, slot)); }

    ui::WeekGrid& grid_;
    // What the window shows: kept here, so that painting never reaches the portable grid.
    std::array<std::string, ui::kGridDays> days_;
    ui::WeekGrid::Cells cells_;
};

} // namespace

bool registerWin32WeekGridClass(HINSTANCE instance) {
    WNDCLASSEXA grid{};
    grid.cbSize = sizeof grid;
    grid.lpfnWndProc = Win32WeekGrid::proc;
    grid.hInstance = instance;
    grid.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)); // IDC_ARROW
    grid.lpszClassName = kWeekGridClass;
    return RegisterClassExA(&grid) != 0;
}

std::unique_ptr<Win32Control> makeWin32WeekGrid(ui::WeekGrid& grid, const Win32Display& display) {
    return std::make_unique<Win32WeekGrid>(grid, display);
}

} // namespace zk
