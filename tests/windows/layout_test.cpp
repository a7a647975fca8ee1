// The real zuklapper.exe's windows at 96, 120 and 144 DPI against, within a pixel, the design
// in twips of the same windows built on the simulated platform.

#include "browsers/frm_web_browser.h"
#include "capture/frm_hinzufuegen.h"
#include "harness.h"
#include "hotkeys/frmconfig.h"
#include "platform/sim/sim_platform.h"
#include "schedule/frm_sperrzeiten.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

using namespace zkt;

namespace {

// The DPI of the processes started from now on, as the display settings set it.
void setSystemDpi(DWORD dpi) {
    RegSetKeyValueA(HKEY_CURRENT_USER, "Control Panel\\Desktop", "LogPixels", REG_DWORD, &dpi,
                    sizeof dpi);
}

class Layout : public ::testing::TestWithParam<int> {
public:
    void SetUp() override {
        // Rectangles of other programs' windows as they are, not scaled to this one's DPI.
        previous_ = SetThreadDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE);
        design_.app.start();
        setSystemDpi(dpi());
    }
    void TearDown() override {
        setSystemDpi(96);
        SetThreadDpiAwarenessContext(previous_);
    }

    int dpi() const { return GetParam(); }
    double pixels(int twips) const { return twips * dpi() / 1440.0; }
    zk::Zuklapper& design() { return design_.app; }
    zk::sim::HeadlessToolkit& designToolkit() { return design_.sim.toolkit; }

    // The window's client area and every control against the design window.
    void expectLayout(HWND window, const zk::ui::Window& designed) const {
        RECT area{};
        GetClientRect(window, &area);
        expectNear(designed.name() + " width", area.right, pixels(designed.scaleWidth()));
        expectNear(designed.name() + " height", area.bottom, pixels(designed.scaleHeight()));
        for (const zk::ui::Control* control : designed.controls()) expectPlaced(window, *control);
        expectNoStaticOverControls(window);
    }

    void expectPlaced(HWND window, const zk::ui::Control& control) const {
        // The Win32 backend's control ids are 100 and the control's index.
        const HWND real = findWindow(
            window, [&](HWND hwnd) { return GetDlgCtrlID(hwnd) == 100 + control.index(); });
        const std::string name = control.name();
        ASSERT_TRUE(real) << name << " not found at " << dpi() << " DPI";
        RECT r{};
        GetWindowRect(real, &r);
        MapWindowPoints(nullptr, GetParent(real), reinterpret_cast<POINT*>(&r), 2);
        const zk::ui::Geometry& at = control.geometry();
        // A line reaches past its ends by its width in pixels.
        const int line = control.kind() == zk::ui::Kind::Line
                             ? static_cast<const zk::ui::Line&>(control).lineWidth()
                             : 0;
        expectNear(name + " left", r.left, pixels(at.left));
        expectNear(name + " top", r.top, pixels(at.top));
        expectNear(name + " width", r.right - r.left, pixels(at.width) + line);
        expectNear(name + " height", r.bottom - r.top, pixels(at.height) + line);
        // Nothing is cut off by its container unless the design lets it reach out.
        const zk::ui::Control* in = control.container();
        const bool designedInside =
            !in || (at.left + at.width <= in->width() && at.top + at.height <= in->height());
        RECT inside{};
        GetClientRect(GetParent(real), &inside);
        EXPECT_TRUE(!designedInside || (r.left >= 0 && r.top >= 0 && r.right <= inside.right &&
                                        r.bottom <= inside.bottom))
            << name << " reaches out of its container at " << dpi() << " DPI";
    }

    // No label, image or line lies over a control it overlaps, painting over its border.
    void expectNoStaticOverControls(HWND parent) const {
        std::vector<HWND> statics; // above the siblings that follow them
        for (HWND hwnd = GetWindow(parent, GW_CHILD); hwnd; hwnd = GetWindow(hwnd, GW_HWNDNEXT)) {
            expectNoStaticOverControls(hwnd);
            if (_stricmp(className(hwnd).c_str(), "Static") == 0) {
                statics.push_back(hwnd);
                continue;
            }
            RECT at{}, above{}, common{};
            GetWindowRect(hwnd, &at);
            for (HWND upper : statics)
                EXPECT_FALSE(IsWindowVisible(hwnd) && GetWindowRect(upper, &above) &&
                             IntersectRect(&common, &above, &at))
                    << "\"" << controlText(upper) << "\" lies over the " << className(hwnd) << " \""
                    << controlText(hwnd) << "\" at " << dpi() << " DPI";
        }
    }

    void expectNear(const std::string& what, long actual, double wanted) const {
        EXPECT_LE(std::abs(actual - wanted), 1.0) << what << " at " << dpi() << " DPI: " << actual
                                                  << " pixels, the design gives " << wanted;
    }

    // Pictures at the usual and the largest DPI; the README shows those at 96 DPI.
    void keep(HWND window, const std::string& name) const {
        if (dpi() == 120) return;
        EXPECT_TRUE(keepPicture(window, name + "-" + std::to_string(dpi()) + "dpi.png"));
    }

private:
    struct Design {
        zk::sim::SimPlatform sim;
        zk::Zuklapper app{sim.platform};
    } design_;
    DPI_AWARENESS_CONTEXT previous_ = nullptr;
};

// The main window as it first shows and resized, against the design resized the same way.
TEST_P(Layout, MainWindowAsDesignedAndAfterAResize) {
    Program program({{"Seite"}}, std::nullopt);
    program.showMainWindow();
    const HWND main = program.mainWindow();
    ASSERT_TRUE(main);
    zk::ui::Window& designed = design().form1().window;
    RECT area{};
    GetClientRect(main, &area);
    expectNear("client area width", area.right, pixels(designed.width()));
    expectNear("client area height", area.bottom, pixels(designed.height()));
    for (const char* picture : {"zuklapper-hauptfenster", "zuklapper-hauptfenster-groesser"}) {
        designToolkit().userResize(designed, MulDiv(area.right, 1440, dpi()),
                                   MulDiv(area.bottom, 1440, dpi()));
        expectLayout(main, designed);
        keep(main, picture);

        RECT frame{};
        GetWindowRect(main, &frame);
        SetWindowPos(main, nullptr, 0, 0, frame.right - frame.left + std::lround(pixels(1000)),
                     frame.bottom - frame.top + std::lround(pixels(1000)),
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        const LONG before = area.right;
        ASSERT_TRUE(waitUntil([&] {
            GetClientRect(main, &area);
            return area.right > before;
        }));
        query(main, WM_NULL); // the resize handler has run
    }
}

// Each dialog, opened as the user opens it, against its design.
TEST_P(Layout, Dialogs) {
    const struct {
        const char* picture;
        zk::ui::Window& designed;
        std::function<HWND(const Program&)> open;
        std::optional<std::string> config = std::nullopt;
    } dialogs[] = {
        {"zuklapper-hinzufuegen", design().frmHinzufuegen().window,
         [](const Program& program) {
             program.armAddressCapture();
             const FakeBrowser page({.title = "Neu - Microsoft Internet Explorer",
                                     .ddeService = "iexplore",
                                     .ddeReply = "\"http://neu.example/\",\"Neu\",\"\""});
             SetForegroundWindow(page.hwnd());
             return program.shownWindow("Hinzuf\xFCgen");
         }},
        {"zuklapper-hotkeys", design().frmconfig().window,
         [](const Program& p) {
             return p.chooseFromMenu('O') ? p.shownWindow("Hotkeys") : nullptr;
         }},
        {"zuklapper-webbrowser", design().frmWebBrowser().window,
         [](const Program& program) {
             program.showMainWindow();
             PostMessageA(findDescendant(program.mainWindow(), "Button", "&Webbrowser"), BM_CLICK,
                          0, 0);
             return program.shownWindow("Zuklapper Webbrowserauswahl");
         }},
        {"zuklapper-info", design().frmInfoBox().window,
         [](const Program& p) { return p.chooseFromMenu('I') ? p.aboutBox() : nullptr; }},
        {"zuklapper-sperrzeiten", design().frmSperrzeiten().window,
         [](const Program& p) {
             return p.chooseFromMenu('Z') ? p.shownWindow("Sperrzeiten") : nullptr;
         },
         "[Sperrzeiten]\r\nZeiten=Mo-Fr 08:00-12:00 13:00-17:30; Sa 10:00-12:00\r\n"},
    };
    for (const auto& d : dialogs) {
        SCOPED_TRACE(d.picture);
        Program program(std::nullopt, {{"http://alt/"}}, d.config);
        const HWND dialog = d.open(program);
        ASSERT_TRUE(dialog) << "the dialog did not open";
        d.designed.load();
        expectLayout(dialog, d.designed);
        keep(dialog, d.picture);
    }
}

INSTANTIATE_TEST_SUITE_P(Dpi, Layout, ::testing::Values(96, 120, 144),
                         [](const auto& param) { return std::to_string(param.param); });

} // namespace
