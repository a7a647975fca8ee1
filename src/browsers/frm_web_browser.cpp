#include "browsers/frm_web_browser.h"

#include "app/entry_list_file.h"
#include "app/texte.h"
#include "app/zuklapper.h"
#include "capture/capture.h"
#include "settings/ini.h"

namespace zk {

FrmWebBrowser::FrmWebBrowser(Zuklapper& app)
    : window(app.platform().toolkit, {.name = "frmWebBrowser",
                                      .caption = app.text(texte::Webbrowser_Titel),
                                      .clientWidth = 4740,
                                      .clientHeight = 4020,
                                      .border = ui::BorderStyle::FixedSingle,
                                      .start = ui::StartPosition::CentreOwner}),
      Label1(window, {.name = "Label1",
                      .at = {120, 120, 4575, 375},
                      .caption = app.text(texte::Webbrowser_verwenden)}),
      Text2(window, {.name = "Text2", .at = {120, 480, 4455, 285}}),
      List1(window, {.name = "List1", .at = {120, 840, 4455, 2400}, .sorted = true}),
      cmdHinzufuegen(window, {.name = "cmdHinzufuegen",
                              .at = {120, 3510, 1095, 375},
                              .caption = app.text(texte::Hinzufuegen)}),
      Command1(window, {.name = "Command1",
                        .at = {1320, 3510, 1095, 375},
                        .caption = app.text(texte::Loeschen)}),
      Timer1(window, {.name = "Timer1", .intervalMs = 100, .enabled = false}), app_(app) {
    window.onLoad = [this] { Form_Load(); };
    window.onQueryUnload = [this](bool& cancel) { Form_Unload(cancel); };
    cmdHinzufuegen.onClick = [this] { cmdHinzufuegen_Click(); };
    Timer1.onTimer = [this] { Timer1_Timer(); };
    Command1.onClick = [this] { Command1_Click(); };
    List1.onClick = [this] { List1_Click(); };
    Text2.onChange = [this] { Text2_Change(); };
}

void FrmWebBrowser::laden() {
    window.load();
    listeEinlesen();
}

void FrmWebBrowser::listeEinlesen() {
    EntryList designations;
    const std::string& Pfad2 = app_.form1().Pfad2;
    Liste_einlesen(designations, app_.platform().files, Pfad2);
    List1.setItems(app_.unsaved.with(Pfad2, designations.items()));
}

// Above the browser windows, so that it stays visible while the user brings one to the front.
void FrmWebBrowser::Form_Load() {
    window.setTopmost();
    listeEinlesen();
    Text2.setText(storedDesignation());
}

// A designation typed into the field is stored as a chosen one is, once it differs from the
// stored one.
void FrmWebBrowser::Form_Unload(bool&) {
    app_.WebbrowserBezeichnung = Text2.text();
    if (storedDesignation() != Text2.text()) storeDesignation();
}

std::string FrmWebBrowser::storedDesignation() {
    std::string bezeichnung = Ini_lesen(app_.platform().profile, app_.form1().Pfad_config,
                                        "Webbrowser", "Bezeichnung", "");
    std::erase(bezeichnung, '"');
    return bezeichnung;
}

// The second pair of quotes keeps a leading blank through reading.
void FrmWebBrowser::storeDesignation() {
    if (!Ini_schreiben(app_.platform().profile, app_.form1().Pfad_config, "Webbrowser",
                       "Bezeichnung", "\"\"" + Text2.text() + "\"\""))
        app_.settingNotSaved(window);
}

void FrmWebBrowser::Text2_Change() { app_.WebbrowserBezeichnung = Text2.text(); }

void FrmWebBrowser::tell(const char* message, const std::string& detail) {
    app_.platform().toolkit.messageBox(&window, app_.text(message) + detail,
                                       app_.text(texte::Programm), ui::MB_OK_INFORMATION);
}

void FrmWebBrowser::cmdHinzufuegen_Click() {
    if (cmdHinzufuegen.caption() == app_.text(texte::Hinzufuegen)) {
        cmdHinzufuegen.setCaption(app_.text(texte::Abbrechen));
        Timer1.setEnabled(true);
    } else {
        Timer1.setEnabled(false);
        cmdHinzufuegen.setCaption(app_.text(texte::Hinzufuegen));
    }
}

// Waits for another window than the dialog to come to the front, then takes the tail of
// its title from the character before the last hyphen.
void FrmWebBrowser::Timer1_Timer() {
    WindowSystem& windows = app_.platform().windows;
    const Hwnd h = windows.foregroundWindow();
    if (h == 0 || h == window.handle()) return;
    Timer1.setEnabled(false);
    std::string title = windows.windowText(h).substr(0, 255);
    if (const std::size_t nul = title.find('\0'); nul != std::string::npos) title.resize(nul);

    const std::optional<std::string> cut = designationEntry(title, app_.AktuelleBrowser);
    if (!cut) {
        tell(texte::Ungueltiges_Webbrowserfenster, {});
    } else {
        const std::string& designation = *cut;
        if (Eintrag_vorhanden(designation, List1)) {
            tell(texte::Webbrowser_vorhanden, {});
        } else if (designation.find_first_of("\"\r\n") != std::string::npos) {
            // The file has no escape for them, and the settings value loses its quotes.
            tell(texte::Bezeichnung_nicht_speicherbar, designation);
        } else {
            List1.addItem(designation);
            if (!app_.unsaved.append(app_.platform().files, app_.form1().Pfad2, designation))
                tell(texte::Bezeichnung_nicht_gespeichert, app_.form1().Pfad2);
        }
    }
    cmdHinzufuegen.setCaption(app_.text(texte::Hinzufuegen));
}

// Removes the selected row from the file as it is now; the first remaining row is then
// chosen as by a click. When the file keeps the row, the choice stays as it was.
void FrmWebBrowser::Command1_Click() {
    if (List1.listCount() == 0 || List1.listIndex() < 0) return;
    const std::string& Pfad2 = app_.form1().Pfad2;
    bool saved = true;
    const std::optional<std::vector<std::string>> entries =
        app_.deleteEntry(Pfad2, List1.item(List1.listIndex()), saved);
    if (!entries) {
        tell(texte::Liste_nicht_gelesen, Pfad2);
        return;
    }
    List1.setItems(*entries);
    if (!saved)
        tell(texte::Liste_nicht_gespeichert, Pfad2);
    else if (List1.listCount() > 0)
        List1.setListIndex(0);
}

void FrmWebBrowser::List1_Click() {
    if (List1.listCount() == 0 || List1.listIndex() < 0) return;
    Text2.setText(List1.item(List1.listIndex()));
    storeDesignation();
}

} // namespace zk
