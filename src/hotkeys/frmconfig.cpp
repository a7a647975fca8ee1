#include "hotkeys/frmconfig.h"

#include "app/texte.h"
#include "app/zuklapper.h"
#include "settings/ini.h"

#include <string>

namespace zk {

namespace {

constexpr const char* Abschnitt = "Hotkeys";
constexpr const char* Zusatztasten[] = {"keine", "Shift", "Strg", "Alt", "AltGr"};

// The boxes in hotkey slot order.
constexpr ui::ComboBox Frmconfig::*boxes[] = {&Frmconfig::cbTitel1, &Frmconfig::cbTitel2,
                                              &Frmconfig::cbUrl1, &Frmconfig::cbUrl2};

} // namespace

Frmconfig::Frmconfig(Zuklapper& app)
    : window(app.platform().toolkit, {.name = "frmconfig",
                                      .caption = app.text(texte::Hotkeys_Titel),
                                      .clientWidth = 3720,
                                      .clientHeight = 2445,
                                      .border = ui::BorderStyle::FixedSingle}),
      Check1(window, {.name = "Check1",
                      .at = {90, 90, 1845, 300},
                      .caption = app.text(texte::Hotkeys_aktivieren)}),
      Frame1(window, {.name = "Frame1",
                      .at = {105, 525, 3525, 1830},
                      .caption = app.text(texte::Funktionstasten)}),
      Label1(window, {.in = &Frame1,
                      .name = "Label1",
                      .at = {165, 375, 1515, 210},
                      .caption = app.text(texte::Titel_hinzufuegen)}),
      cbTitel1(window, {.in = &Frame1, .name = "cbTitel1", .at = {165, 645, 1530, 315}}),
      Label5(window, {.in = &Frame1,
                      .name = "Label5",
                      .at = {1860, 375, 1275, 240},
                      .caption = app.text(texte::Zusatztaste)}),
      cbTitel2(window, {.in = &Frame1, .name = "cbTitel2", .at = {1830, 645, 1530, 315}}),
      Label2(window, {.in = &Frame1,
                      .name = "Label2",
                      .at = {165, 1065, 1515, 210},
                      .caption = app.text(texte::Url_hinzufuegen)}),
      cbUrl1(window, {.in = &Frame1, .name = "cbUrl1", .at = {180, 1335, 1530, 315}}),
      Label4(window, {.in = &Frame1,
                      .name = "Label4",
                      .at = {1875, 1065, 1275, 240},
                      .caption = app.text(texte::Zusatztaste)}),
      cbUrl2(window, {.in = &Frame1, .name = "cbUrl2", .at = {1845, 1335, 1530, 315}}), app_(app) {
    window.onLoad = [this] { Form_Load(); };
    Check1.onClick = [this] { Check1_Click(); };
    for (int slot = 0; slot < 4; ++slot) {
        ui::ComboBox& box = this->*boxes[slot];
        box.onClick = [this, &box, slot] { keyChosen(box, HotkeySettings[slot].key, slot); };
        // Only the lists' keys: a typed character never reaches the field.
        box.onKeyPress = [](int& KeyAscii) { KeyAscii = 0; };
    }
}

void Frmconfig::Form_Load() {
    for (int i = 1; i <= 12; ++i) {
        std::string taste = "F";
        taste += std::to_string(i);
        cbTitel1.addItem(taste);
        cbUrl1.addItem(taste);
    }
    for (const char* taste : Zusatztasten) {
        cbTitel2.addItem(taste);
        cbUrl2.addItem(taste);
    }
    Profile& profile = app_.platform().profile;
    const std::string& Pfad_config = app_.form1().Pfad_config;
    // Shown as stored, even a name that is no item; setting a text is no choice.
    for (int slot = 0; slot < 4; ++slot)
        (this->*boxes[slot])
            .setText(Ini_lesen(profile, Pfad_config, Abschnitt, HotkeySettings[slot].key,
                               HotkeySettings[slot].fallback));

    // The box takes 0, 1 or 2, and a change from the design's unticked state counts as a
    // click. Any other value leaves it unticked and the hotkeys as the start left them.
    const auto state = Ganzzahl(Ini_lesen(profile, Pfad_config, Abschnitt, "ChkAddUrl", 1));
    loading_ = true;
    if (state && *state >= 0 && *state <= 2) Check1.setValue(*state);
    loading_ = false;
}

void Frmconfig::Check1_Click() {
    // The load's click writes back what was read: nothing is lost when that fails.
    if (!Ini_schreiben(app_.platform().profile, app_.form1().Pfad_config, Abschnitt, "ChkAddUrl",
                       Check1.value()) &&
        !loading_)
        app_.settingNotSaved(window);
    app_.form1().switchHotkeys(Check1.value() == 1);
}

void Frmconfig::keyChosen(ui::ComboBox& box, const char* key, int slot) {
    if (!Ini_schreiben(app_.platform().profile, app_.form1().Pfad_config, Abschnitt, key,
                       box.text()))
        app_.settingNotSaved(window);
    Hotkey_setzen(app_.Hotkey, box.text(), slot);
}

} // namespace zk
