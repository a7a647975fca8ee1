// The windows of the real zuklapper.exe at 96, 120 and 144 DPI: each window's client area
// and each control lie where the design's twips put them at that DPI, within a pixel.

#include "harness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace zkt;

namespace {

// Left, top, width and height in twips.
struct Twips {
    double left = 0, top = 0, width = 0, height = 0;
};

// A control of a window: the nth (in creation order) of its class with this text, or with any
// text when text is null. Lines reach past their ends by their width in pixels.
struct Designed {
    const char* name = nullptr;
    const char* cls = nullptr;
    const char* text = nullptr;
    Twips at = {};
    int nth = 0;
    int linePixels = 0;
    // The design lets it reach out of its container, which cuts it off.
    bool cutOff = false;
};

// The DPI of the processes started while it lives, as the display settings set it.
class SystemDpi {
public:
    explicit SystemDpi(DWORD dpi) {
        RegCreateKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, nullptr, 0,
                        KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &key_, nullptr);
        DWORD size = sizeof previous_;
        hadValue_ = RegQueryValueExA(key_, "LogPixels", nullptr, nullptr,
                                     reinterpret_cast<BYTE*>(&previous_), &size) == ERROR_SUCCESS;
        set(dpi);
    }
    ~SystemDpi() {
        if (hadValue_)
            set(previous_);
        else
            RegDeleteValueA(key_, "LogPixels");
        RegCloseKey(key_);
    }
    SystemDpi(const SystemDpi&) = delete;
    SystemDpi& operator=(const SystemDpi&) = delete;

private:
    void set(DWORD dpi) {
        RegSetValueExA(key_, "LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi),
                       sizeof dpi);
    }
    HKEY key_ = nullptr;
    DWORD previous_ = 96;
    bool hadValue_ = false;
};

class Layout : public ::testing::TestWithParam<int> {
public:
    void SetUp() override {
        // Rectangles of other programs' windows as they are, not scaled to this one's DPI.
        previous_ = SetThreadDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE);
    }
    void TearDown() override { SetThreadDpiAwarenessContext(previous_); }

    int dpi() const { return GetParam(); }
    double pixels(double twips) const { return twips * dpi() / 1440.0; }

    // Compares the window's client area and every control with the design.
    void expectLayout(HWND window, Twips client, std::initializer_list<Designed> controls) const {
        RECT area{};
        GetClientRect(window, &area);
        expectNear("client area width", area.right, pixels(client.width));
        expectNear("client area height", area.bottom, pixels(client.height));
        for (const Designed& control : controls) expectPlaced(window, control);
        expectNoStaticOverControls(window);
    }

    // A label, image or line never lies over a control it overlaps, where it would paint
    // over that control's border.
    void expectNoStaticOverControls(HWND parent) const {
        for (HWND upper = GetWindow(parent, GW_CHILD); upper;
             upper = GetWindow(upper, GW_HWNDNEXT)) {
            expectNoStaticOverControls(upper);
            if (_stricmp(className(upper).c_str(), "Static") != 0) continue;
            RECT top{}, below{}, common{};
            GetWindowRect(upper, &top);
            for (HWND lower = GetWindow(upper, GW_HWNDNEXT); lower;
                 lower = GetWindow(lower, GW_HWNDNEXT)) {
                GetWindowRect(lower, &below);
                EXPECT_FALSE(IsWindowVisible(lower) &&
                             _stricmp(className(lower).c_str(), "Static") != 0 &&
                             IntersectRect(&common, &top, &below))
                    << "\"" << controlText(upper) << "\" lies over the " << className(lower)
                    << " \"" << controlText(lower) << "\" at " << dpi() << " DPI";
            }
        }
    }

    void expectPlaced(HWND window, const Designed& design) const {
        const HWND control = find(window, design);
        if (!control) {
            ADD_FAILURE() << design.name << " not found at " << dpi() << " DPI";
            return;
        }
        RECT r{};
        GetWindowRect(control, &r);
        MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
        const std::string name = design.name;
        expectNear(name + " left", r.left, pixels(design.at.left));
        expectNear(name + " top", r.top, pixels(design.at.top));
        expectNear(name + " width", r.right - r.left, pixels(design.at.width) + design.linePixels);
        expectNear(name + " height", r.bottom - r.top,
                   pixels(design.at.height) + design.linePixels);
        // Nothing is cut off by its container, as rounding each size apart could do.
        RECT inside{};
        GetClientRect(GetParent(control), &inside);
        const bool inContainer =
            r.left >= 0 && r.top >= 0 && r.right <= inside.right && r.bottom <= inside.bottom;
        EXPECT_TRUE(design.cutOff || inContainer)
            << name << " reaches out of its container at " << dpi() << " DPI";
    }

    void expectNear(const std::string& what, long actual, double wanted) const {
        EXPECT_LE(std::abs(actual - wanted), 1.0) << what << " at " << dpi() << " DPI: " << actual
                                                  << " pixels, the design gives " << wanted;
    }

    static HWND find(HWND window, const Designed& design) {
        std::vector<HWND> found;
        findWindow(window, [&](HWND hwnd) {
            if (_stricmp(className(hwnd).c_str(), design.cls) == 0 &&
                (!design.text || controlText(hwnd) == design.text))
                found.push_back(hwnd);
            return false;
        });
        std::sort(found.begin(), found.end(),
                  [](HWND a, HWND b) { return GetDlgCtrlID(a) < GetDlgCtrlID(b); });
        return design.nth < static_cast<int>(found.size()) ? found[design.nth] : nullptr;
    }

    // Keeps a picture of the window at the usual and at the largest DPI; the README shows
    // those at 96 DPI.
    void keep(HWND window, const std::string& name) const {
        if (dpi() == 120) return;
        Sleep(300);
        EXPECT_TRUE(Screenshot(window).keep(name + "-" + std::to_string(dpi()) + "dpi.png"));
    }

private:
    DPI_AWARENESS_CONTEXT previous_ = nullptr;
};

// The option buttons and buttons keep their places in their panels however the window is
// sized.
const Designed kInPanels[] = {
    {"optListe(0)", "Button", "Titelliste", {15, 15, 1275, 315}},
    {.name = "optListe(1)",
     .cls = "Button",
     .text = "Urlliste",
     .at = {1200, 15, 1275, 315},
     .cutOff = true},
    {"cmdHinzufuegen", "Button", "&Hinzuf\xFCgen", {45, 240, 1095, 375}},
    {"Command1", "Button", "&L\xF6schen", {1245, 240, 975, 375}},
    {"Command2", "Button", "&Webbrowser", {2325, 240, 1215, 375}},
};

// The list fills the client area below the option buttons; the buttons sit in its lower
// right corner, 100 twips from the right edge.
void expectMainLayout(const Layout& layout, HWND main) {
    RECT area{};
    GetClientRect(main, &area);
    const double width = area.right * 1440.0 / layout.dpi();
    const double height = area.bottom * 1440.0 / layout.dpi();
    layout.expectPlaced(main, {"picliste", "ZuklapperPanel", nullptr, {100, 0, 2145, 360}});
    layout.expectPlaced(main,
                        {"List1", "ListBox", nullptr, {100, 360, width - 200, height - 360 - 735}});
    layout.expectPlaced(main, {.name = "picButtons",
                               .cls = "ZuklapperPanel",
                               .text = nullptr,
                               .at = {width - 3540 - 100, height - 735, 3540, 735},
                               .nth = 1});
    for (const Designed& control : kInPanels) layout.expectPlaced(main, control);
}

TEST_P(Layout, MainWindowAsDesignedAndAfterAResize) {
    const SystemDpi setting(dpi());
    Program program({{"Seite"}}, std::nullopt);
    program.showMainWindow();
    const HWND main = program.mainWindow();
    ASSERT_TRUE(main);
    // The first resize fitted the list and the buttons into the design's client area.
    expectLayout(main, {0, 0, 5430, 4665}, {});
    expectMainLayout(*this, main);
    keep(main, "zuklapper-hauptfenster");

    RECT frame{}, area{};
    GetWindowRect(main, &frame);
    SetWindowPos(main, nullptr, 0, 0, frame.right - frame.left + std::lround(pixels(1000)),
                 frame.bottom - frame.top + std::lround(pixels(1000)),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_TRUE(waitUntil([&] {
        GetClientRect(main, &area);
        return area.right > pixels(5430) + 1;
    }));
    query(main, WM_NULL); // the resize handler has run
    expectMainLayout(*this, main);
    keep(main, "zuklapper-hauptfenster-groesser");
}

TEST_P(Layout, AddressDialog) {
    const SystemDpi setting(dpi());
    Program program(std::nullopt, {{"http://alt/"}});
    program.armAddressCapture();
    FakeBrowser page({.title = "Neu - Microsoft Internet Explorer",
                      .edits = {"http://neu.example/"},
                      .ddeService = "iexplore",
                      .ddeReply = "\"http://neu.example/\",\"Neu\",\"\""});
    SetForegroundWindow(page.hwnd());
    const HWND dialog = program.shownWindow("Hinzuf\xFCgen");
    ASSERT_TRUE(dialog) << "no address dialog";
    expectLayout(dialog, {0, 0, 4605, 1470},
                 {{"Label1", "Static", "Url:", {90, 135, 2340, 345}},
                  {"Text1", "Edit", nullptr, {75, 435, 4485, 300}},
                  {"Command1", "Button", "&OK", {1845, 1020, 1245, 360}},
                  {"Command2", "Button", "&Abbrechen", {3270, 1020, 1245, 360}}});
    keep(dialog, "zuklapper-hinzufuegen");
}

TEST_P(Layout, HotkeyDialog) {
    const SystemDpi setting(dpi());
    Program program(std::nullopt, std::nullopt);
    const HWND dialog = program.chooseFromMenu('O') ? program.shownWindow("Hotkeys") : nullptr;
    ASSERT_TRUE(dialog) << "no dialog \"Hotkeys\"";
    // The frame's controls are placed in the frame, relative to it.
    expectLayout(dialog, {0, 0, 3720, 2445},
                 {{"Check1", "Button", "Hotkeys aktivieren.", {90, 90, 1845, 300}},
                  {"Frame1", "Button", "Funktionstasten", {105, 525, 3525, 1830}},
                  {"Label1", "Static", "Titel hinzuf\xFCgen", {165, 375, 1515, 210}},
                  {"cbTitel1", "ComboBox", nullptr, {165, 645, 1530, 315}, 0},
                  {"Label5", "Static", "Zusatztaste:", {1860, 375, 1275, 240}, 0},
                  {"cbTitel2", "ComboBox", nullptr, {1830, 645, 1530, 315}, 1},
                  {"Label2", "Static", "Url hinzuf\xFCgen", {165, 1065, 1515, 210}},
                  {"cbUrl1", "ComboBox", nullptr, {180, 1335, 1530, 315}, 2},
                  {"Label4", "Static", "Zusatztaste:", {1875, 1065, 1275, 240}, 1},
                  {"cbUrl2", "ComboBox", nullptr, {1845, 1335, 1530, 315}, 3}});
    keep(dialog, "zuklapper-hotkeys");
}

TEST_P(Layout, BrowserListDialog) {
    const SystemDpi setting(dpi());
    Program program(std::nullopt, std::nullopt);
    program.showMainWindow();
    PostMessageA(findDescendant(program.mainWindow(), "Button", "&Webbrowser"), BM_CLICK, 0, 0);
    const HWND dialog = program.shownWindow("Zuklapper Webbrowserauswahl");
    ASSERT_TRUE(dialog) << "no browser list dialog";
    expectLayout(dialog, {0, 0, 4740, 4020},
                 {{"Label1", "Static", "Diesen Webbrowser verwenden", {120, 120, 4575, 375}},
                  {"Text2", "Edit", nullptr, {120, 480, 4455, 285}},
                  {"List1", "ListBox", nullptr, {120, 840, 4455, 2400}},
                  {"cmdHinzufuegen", "Button", "&Hinzuf\xFCgen", {120, 3510, 1095, 375}},
                  {"Command1", "Button", "&L\xF6schen", {1320, 3510, 1095, 375}}});
    keep(dialog, "zuklapper-webbrowser");
}

TEST_P(Layout, AboutBox) {
    const SystemDpi setting(dpi());
    Program program(std::nullopt, std::nullopt);
    const HWND box = program.chooseFromMenu('I') ? program.aboutBox() : nullptr;
    ASSERT_TRUE(box) << "no about box";
    // lblVersion is wider and the address starts further right than at design, where the
    // version broke onto two lines and the address covered the colon of "Homepage:".
    expectLayout(box, {0, 0, 5175, 3030},
                 {{"lblTitle", "Static", "Zuklapper", {255, 240, 4725, 480}},
                  {"Image1", "Static", "", {240, 240, 480, 480}, 0},
                  {"Image2", "Static", "", {4440, 240, 480, 480}, 1},
                  {"lblVersion", "Static", "Version: 1.08", {840, 840, 3765, 375}},
                  {"lblDescription",
                   "Static",
                   "Dieses Programm schlie\xDFt alle Fenster die in die Liste eingetragen werden.",
                   {840, 1290, 3765, 690}},
                  {"Label2", "Static", "\xA9 Die Zuklapper-Autoren", {840, 1800, 2055, 255}},
                  {"Label3", "Static", "Homepage:", {840, 2040, 975, 255}},
                  {"Label1", "Static", " https://www.example.org", {1815, 2040, 2295, 255}},
                  {"cmdOK", "Button", "&OK", {1920, 2400, 1260, 315}},
                  {"Line1", "Static", "", {120, 120, 4920, 0}, 2, 2},
                  {"Line2", "Static", "", {120, 2880, 4920, 0}, 3, 2},
                  {"Line3", "Static", "", {120, 120, 0, 2760}, 4, 2},
                  {"Line4", "Static", "", {5040, 120, 0, 2760}, 5, 2}});
    keep(box, "zuklapper-info");
}

INSTANTIATE_TEST_SUITE_P(Dpi, Layout, ::testing::Values(96, 120, 144),
                         [](const auto& param) { return std::to_string(param.param); });

} // namespace
