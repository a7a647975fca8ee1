#include "app/form1.h"

#include "app/entry_list_file.h"
#include "app/texte.h"
#include "app/zuklapper.h"
#include "browsers/frm_web_browser.h"
#include "settings/ini.h"
#include "tray/frm_haupt.h"

#include <algorithm>

namespace zk {

std::string folderPrefix(std::string folder) {
    if (folder.empty() || folder.back() != '\\') folder += '\\';
    return folder;
}

Form1::Form1(Zuklapper& app)
    : window(app.platform().toolkit, {.name = "Form1",
                                      .caption = app.text(texte::Form1_Titel),
                                      .clientWidth = 5430,
                                      .clientHeight = 4665,
                                      .border = ui::BorderStyle::Sizable}),
      List1(window, {.name = "List1", .at = {135, 540, 4455, 2595}, .sorted = true}),
      picliste(window, {.name = "picliste", .at = {165, 105, 2145, 360}}),
      optListe0(window, {.in = &picliste,
                         .name = "optListe(0)",
                         .at = {15, 15, 1275, 315},
                         .caption = app.text(texte::Titelliste)}),
      optListe1(window, {.in = &picliste,
                         .name = "optListe(1)",
                         .at = {1200, 15, 1275, 315},
                         .caption = app.text(texte::Urlliste)}),
      picButtons(window, {.name = "picButtons", .at = {375, 3795, 4620, 735}}),
      cmdHinzufuegen(window, {.in = &picButtons,
                              .name = "cmdHinzufuegen",
                              .at = {45, 240, 1095, 375},
                              .caption = app.text(texte::Hinzufuegen)}),
      cmdTypeIn(window, {.in = &picButtons,
                         .name = "cmdTypeIn",
                         .at = {1245, 240, 975, 375},
                         .caption = app.text(texte::Eingeben)}),
      Command1(window, {.in = &picButtons,
                        .name = "Command1",
                        .at = {2325, 240, 975, 375},
                        .caption = app.text(texte::Loeschen)}),
      Command2(window, {.in = &picButtons,
                        .name = "Command2",
                        .at = {3405, 240, 1215, 375},
                        .caption = app.text(texte::Webbrowser)}),
      tmrFenster_schliessen(window,
                            {.name = "tmrFenster_schliessen", .intervalMs = 100, .enabled = true}),
      tmrHotkey(window, {.name = "tmrHotkey", .intervalMs = 100, .enabled = true}),
      tmrneuerEintrag(window, {.name = "tmrneuerEintrag", .intervalMs = 500, .enabled = false}),
      mHilfe("mHilfe", app.text(texte::Hilfe)), mINFO("mINFO", app.text(texte::Info)),
      mweb("mweb", app.text(texte::Webbrowser_auswaehlen)),
      mAktuelleBrowser("mAktuelleBrowser", app.text(texte::Aktuelle_Browser)),
      mAutostart("mAutostart", app.text(texte::Autostart)),
      mSperrzeiten("mSperrzeiten", app.text(texte::Sperrzeiten)),
      mPause("mPause", app.text(texte::Pause_keine_mehr)),
      mUrlVerwaltung("mUrlVerwaltung", app.text(texte::Url_Verwaltung)),
      mEinstellungen("mEinstellungen", app.text(texte::Hotkeys)),
      mschliesen("mschliesen", app.text(texte::Schliessen)),
      m1("m1", {&mHilfe, &mINFO, &mweb, &mAktuelleBrowser, &mAutostart, &mSperrzeiten, &mPause,
                &mUrlVerwaltung, &mEinstellungen, &mschliesen}),
      app_(app), closeRequests_(app.platform().windows),
      todaysBrowsers_(app.platform().windows, app.platform().accessibility, app.platform().workers),
      listFolder_(app.platform().files, app.platform().workers), protokoll_(app.platform().files) {
    optListe0.setValue(true);
    window.onLoad = [this] { Form_Load(); };
    window.onQueryUnload = [this](bool& cancel) { Form_QueryUnload(cancel); };
    window.onResize = [this] { Form_Resize(); };
    optListe0.onClick = [this] { Liste_laden(); };
    optListe1.onClick = [this] { Liste_laden(); };
    List1.onKeyDown = [this](int keyCode, int shift) { List1_KeyDown(keyCode, shift); };
    Command1.onClick = [this] { Command1_Click(); };
    cmdHinzufuegen.onClick = [this] { cmdHinzufuegen_Click(); };
    cmdTypeIn.onClick = [this] { cmdTypeIn_Click(); };
    tmrneuerEintrag.onTimer = [this] { tmrneuerEintrag_Timer(); };
    tmrHotkey.onTimer = [this] { tmrHotkey_Timer(); };
    tmrFenster_schliessen.onTimer = [this] { tmrFenster_schliessen_Timer(); };
    mUrlVerwaltung.onClick = [this] { window.show(); };
    mschliesen.onClick = [this] { app_.frmHaupt().schliessen(); };
    mAktuelleBrowser.onClick = [this] { mAktuelleBrowser_Click(); };
    mAutostart.onClick = [this] { mAutostart_Click(); };
    mPause.onClick = [this] { mPause_Click(); };
}

void Form1::Form_Load() {
    picliste.move({100, 0, picliste.width(), picliste.height()});
    List1.move({100, picliste.top() + picliste.height(), List1.width(), List1.height()});

    const std::string prefix = folderPrefix(app_.platform().files.programFolder());
    Pfad2 = prefix + "Webbrowser.txt";
    Pfad_config = prefix + "config.ini";
    UrlPfad = prefix + "lstUrl.txt";
    Pfad = prefix + "lstTitel.txt";
    protokoll_.setFolder(prefix);
    app_.frmWebBrowser().laden();

    Files& files = app_.platform().files;
    // A file read in part is read again by Listen_pruefen.
    titleStamp_ = files.stamp(Pfad);
    if (!Liste_einlesen(TitelEintraege, files, Pfad)) titleStamp_.reset();
    urlStamp_ = files.stamp(UrlPfad);
    if (!Liste_einlesen(UrlEintraege, files, UrlPfad)) urlStamp_.reset();
    Liste_laden();
    Einstellungen_lesen();
    Richtlinien_pruefen();
    Sperrzeit_pruefen();
    app_.frmWebBrowser().Text2.setText(app_.WebbrowserBezeichnung);
}

void Form1::Einstellungen_lesen() {
    Profile& profile = app_.platform().profile;
    // A value that is no whole number counts like any number other than 1.
    tmrHotkey.setEnabled(Ganzzahl(Ini_lesen(profile, Pfad_config, "Hotkeys", "ChkAddUrl", 1)) == 1);

    for (int z = 0; z < 4; ++z) {
        const HotkeySetting& setting = HotkeySettings[z];
        const std::string Taste =
            Ini_lesen(profile, Pfad_config, "Hotkeys", setting.key, setting.fallback);
        Hotkey_setzen(app_.Hotkey, Taste, z);
    }
    if (tmrHotkey.enabled()) forgetKeyPresses();

    std::string bezeichnung = Ini_lesen(profile, Pfad_config, "Webbrowser", "Bezeichnung", "");
    std::erase(bezeichnung, '"');
    app_.WebbrowserBezeichnung = std::move(bezeichnung);
    // Today's browsers only with "1"; any other value is off. A folder without config.ini
    // starts with them on, and keeps that.
    const bool fresh =
        app_.platform().files.readAll(Pfad_config).status == Files::ReadStatus::NotFound;
    if (fresh) Ini_schreiben(profile, Pfad_config, "Webbrowser", "AktuelleBrowser", 1);
    app_.AktuelleBrowser =
        fresh || Ini_lesen(profile, Pfad_config, "Webbrowser", "AktuelleBrowser", "0") == "1";
    mAktuelleBrowser.setChecked(app_.AktuelleBrowser);
    Sperrzeiten_lesen();
}

void Form1::mAktuelleBrowser_Click() { switchTodaysBrowsers(!app_.AktuelleBrowser); }

void Form1::switchTodaysBrowsers(bool on) {
    app_.AktuelleBrowser = on;
    mAktuelleBrowser.setChecked(on);
    if (!Ini_schreiben(app_.platform().profile, Pfad_config, "Webbrowser", "AktuelleBrowser",
                       on ? 1 : 0))
        app_.settingNotSaved(window);
}

namespace {

constexpr const char* kLogonName = "Zuklapper";

} // namespace

bool Form1::startsWithWindows() {
    std::string line = app_.platform().logon.command(kLogonName).value_or("");
    const auto start = line.find_first_not_of(' ');
    line.erase(0, std::min(start, line.size()));
    line.erase(line.find_last_not_of(' ') + 1);
    if (line.size() >= 2 && line.front() == '"' && line.back() == '"')
        line = line.substr(1, line.size() - 2);
    return app_.platform().toolkit.compareText(line, app_.platform().files.programPath()) == 0;
}

bool Form1::startWithWindows() {
    return app_.platform().logon.setCommand(kLogonName,
                                            '"' + app_.platform().files.programPath() + '"');
}

// On, Windows starts this program at logon, in place of any other copy; off, it no longer
// starts it, and another copy that the value names meanwhile stays.
void Form1::mAutostart_Click() {
    Platform& platform = app_.platform();
    bool saved = true;
    if (!mAutostart.checked()) {
        saved = startWithWindows();
    } else if (startsWithWindows()) {
        saved = platform.logon.setCommand(kLogonName, std::nullopt);
    }
    mAutostart.setChecked(startsWithWindows());
    if (!saved)
        platform.toolkit.messageBox(&window, app_.text(texte::Autostart_nicht_geaendert),
                                    app_.text(texte::Programm), ui::MB_OK_INFORMATION);
}

void Form1::offerTodaysBrowsers(Hwnd H) {
    if (app_.AktuelleBrowser || todaysBrowsersOffered_ || policy_.todaysBrowsers ||
        !readsAccessibly(app_.platform().windows, todaysBrowsers_, H))
        return;
    todaysBrowsersOffered_ = true;
    if (app_.platform().toolkit.messageBox(&window, app_.text(texte::Aktuelle_Browser_einschalten),
                                           app_.text(texte::Programm),
                                           ui::MB_YESNO_INFORMATION) == ui::ID_YES)
        switchTodaysBrowsers(true);
}

// Closing only hides the window: its lists and timers go on.
void Form1::Form_QueryUnload(bool& cancel) {
    window.hide();
    cancel = true;
}

// The list fills the window below the option buttons, the buttons sit in the lower right
// corner, and the window stays above ordinary windows. A negative size cannot be applied
// (as when minimised): the list then keeps its size.
void Form1::Form_Resize() {
    window.setTopmost();
    const int height = window.scaleHeight() - List1.top() - picButtons.height() - picliste.top();
    if (height >= 0) List1.move({List1.left(), List1.top(), List1.width(), height});
    const int width = window.scaleWidth() - 2 * List1.left();
    if (width >= 0) List1.move({List1.left(), List1.top(), width, List1.height()});
    const int buttonsTop = window.scaleHeight() - picButtons.height();
    picButtons.move({picButtons.left(), buttonsTop, picButtons.width(), picButtons.height()});
    const int buttonsLeft = window.scaleWidth() - picButtons.width() - 100;
    picButtons.move({buttonsLeft, picButtons.top(), picButtons.width(), picButtons.height()});
}

void Form1::selectFirst() {
    if (List1.listCount() > 0) List1.setListIndex(0);
}

void Form1::Liste_laden() {
    List1.setItems(shownItems(titleListShown()));
    selectFirst();
}

void Form1::List1_KeyDown(int keyCode, int) {
    if (keyCode == ui::KEY_DELETE) Command1_Click();
}

// A message box about a list file, with the program's title.
void Form1::tell(const char* message, const std::string& file) {
    app_.platform().toolkit.messageBox(&window, app_.text(message) + file,
                                       app_.text(texte::Programm), ui::MB_OK_INFORMATION);
}

void Form1::Command1_Click() {
    if (List1.listCount() == 0 || List1.listIndex() < 0) return;
    if (fromOrganisation(List1.item(List1.listIndex()))) {
        app_.platform().toolkit.messageBox(&window, app_.text(texte::Eintrag_der_Organisation),
                                           app_.text(texte::Programm), ui::MB_OK_INFORMATION);
        return;
    }
    const std::string& path = titleListShown() ? Pfad : UrlPfad;
    bool saved = true;
    const std::optional<std::vector<std::string>> entries =
        app_.deleteEntry(path, List1.item(List1.listIndex()), saved);
    if (!entries) {
        tell(texte::Liste_nicht_gelesen, path);
        return;
    }
    (titleListShown() ? TitelEintraege : UrlEintraege).assign(*entries);
    Liste_laden();
    if (!saved) tell(texte::Liste_nicht_gespeichert, path);
}

bool Form1::addEntry(bool titleList, const std::string& file, std::string entry) {
    (titleList ? TitelEintraege : UrlEintraege).append(entry);
    const bool saved = app_.unsaved.append(app_.platform().files, file, entry);
    if (titleList == titleListShown()) List1.addItem(std::move(entry));
    return saved;
}

// A list file another program changed (its time or size) is read again, at most once a
// second; one that could not be read whole changes nothing. The shown list keeps its
// selection where it can.
void Form1::Listen_pruefen() {
    Files& files = app_.platform().files;
    const std::int64_t now = app_.platform().windows.milliseconds();
    if (listsCheckedAt_ && now - *listsCheckedAt_ < 1000) return;
    listsCheckedAt_ = now;
    for (const bool titleList : {true, false}) {
        const std::string& path = titleList ? Pfad : UrlPfad;
        std::optional<Files::Stamp>& seen = titleList ? titleStamp_ : urlStamp_;
        const std::optional<Files::Stamp> stamp = files.stamp(path);
        if (stamp == seen) continue;
        EntryList read;
        if (!Liste_einlesen(read, files, path)) continue;
        seen = stamp;
        EntryList& list = titleList ? TitelEintraege : UrlEintraege;
        std::vector<std::string> entries = app_.unsaved.with(path, read.items());
        if (entries == list.items()) continue;
        list.assign(std::move(entries));
        if (titleList == titleListShown()) refreshKeepingSelection();
    }
}

void Form1::refreshKeepingSelection() {
    const std::string selected = List1.listIndex() >= 0 ? List1.item(List1.listIndex()) : "";
    List1.setItems(shownItems(titleListShown()));
    const auto at = std::find(List1.items().begin(), List1.items().end(), selected);
    if (at == List1.items().end())
        selectFirst();
    else
        List1.setListIndex(static_cast<int>(at - List1.items().begin()));
}

void Form1::tmrFenster_schliessen_Timer() {
    Listen_pruefen();
    Richtlinien_pruefen();
    logPressedTabs();
    if (!Sperrzeit_pruefen()) return;
    WindowSystem& windows = app_.platform().windows;
    Browserfenster_suchen(windows, window.handle(), BrowserWindows,
                          app_.AktuelleBrowser ? &todaysBrowsers_ : nullptr);
    if (!app_.AktuelleBrowser) todaysBrowsers_.sweep(); // forgets them once switched off
    if (BrowserWindows.empty()) return;
    closeRules_.closeOrder(BrowserWindows, closeUrls_, closeTitles_, app_.WebbrowserBezeichnung,
                           closeOrder_);
    std::erase_if(loggedPages_, [this](const auto& logged) {
        return std::none_of(BrowserWindows.begin(), BrowserWindows.end(),
                            [&](const BrowserWindow& w) { return w.hWnd == logged.first; });
    });
    const auto asked = [this](const CloseTarget& target) { logWindow(target); };
    if (!app_.AktuelleBrowser) {
        Fenster_schliessen(closeRequests_, closeOrder_, nullptr, asked);
        return;
    }
    // Today's browsers lose their tab in front, unless they have no button for it.
    const auto closeTab = [this](const CloseTarget& target) {
        const BrowserWindow& row = BrowserWindows[static_cast<std::size_t>(target.row)];
        if (!row.todays || !todaysBrowsers_.closeTab(target.window, row.Title, row.Url))
            return false;
        tabCloses_[target.window] = {closeRecord(target, true),
                                     app_.platform().windows.milliseconds()};
        return true;
    };
    Fenster_schliessen(closeRequests_, closeOrder_, closeTab, asked);
}

CloseRecord Form1::closeRecord(const CloseTarget& target, bool tab) {
    const BrowserWindow& row = BrowserWindows[static_cast<std::size_t>(target.row)];
    const EntryList& list = target.titleList ? closeTitles_ : closeUrls_;
    return {tab,
            target.titleList,
            list.items()[static_cast<std::size_t>(target.entry)],
            row.todays ? row.program : app_.platform().windows.processName(row.hWnd),
            row.Title,
            row.Url};
}

void Form1::logWindow(const CloseTarget& target) {
    const BrowserWindow& row = BrowserWindows[static_cast<std::size_t>(target.row)];
    std::string& page = loggedPages_[target.window];
    if (page == row.Title + '\n' + row.Url) return; // asked again: the same close
    page = row.Title + '\n' + row.Url;
    logClose(closeRecord(target, false));
}

void Form1::logPressedTabs() {
    for (const TodaysBrowsers::PressedTab& pressed : todaysBrowsers_.pressedTabs()) {
        const auto close = tabCloses_.find(pressed.window);
        if (close == tabCloses_.end()) continue;
        CloseRecord& record = close->second.first;
        record.title = pressed.title;
        record.address = pressed.address;
        logClose(record);
    }
    WindowSystem& windows = app_.platform().windows;
    const std::int64_t now = windows.milliseconds();
    for (auto close = tabCloses_.begin(); close != tabCloses_.end();) {
        if (windows.windowThread(close->first)) close->second.second = now;
        close = now - close->second.second > 10000 ? tabCloses_.erase(close) : std::next(close);
    }
}

// A log that cannot be written is said once a run, in a note of the icon: a message box
// would hold up the close cycle.
void Form1::logClose(const CloseRecord& close) {
    if (protokoll_.schreiben(close, app_.platform().windows.localTime()) || protokollFailed_)
        return;
    protokollFailed_ = true;
    app_.frmHaupt().Hinweis(app_.text(texte::Protokoll_nicht_schreibbar) + protokoll_.path());
}

} // namespace zk
