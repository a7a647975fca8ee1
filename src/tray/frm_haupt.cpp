#include "tray/frm_haupt.h"

#include "app/texte.h"
#include "app/zuklapper.h"
#include "browsers/frm_web_browser.h"

namespace zk {

FrmHaupt::FrmHaupt(Zuklapper& app)
    : window(app.platform().toolkit, {.name = "frmHaupt",
                                      .caption = app.text(texte::Form2),
                                      .clientWidth = 4680,
                                      .clientHeight = 3195}),
      app_(app) {
    window.onLoad = [this] { Form_Load(); };
    window.onMouseMove = [this](int x) { Form_MouseMove(x); };
    window.onQueryUnload = [this](bool& cancel) { Form_QueryUnload(cancel); };
    // Windows ends the session: the program lets it end instead of holding it up.
    window.onEndSession = [this] { schliessen(); };
    // A new notification area (the shell restarted) knows nothing of the icon.
    window.onTaskbarCreated = [this] {
        if (!beendet_) Symbol_hinzufuegen();
    };
}

void FrmHaupt::Symbol_hinzufuegen() {
    tip_ = app_.text(texte::Programm);
    grey_ = false;
    app_.platform().windows.addNotifyIcon(window.handle(), SymbolId, Rueckrufnachricht, tip_);
}

void FrmHaupt::Symbol_aktualisieren(const std::string& tip, bool grey) {
    if (beendet_ || (tip == tip_ && grey == grey_)) return;
    if (app_.platform().windows.modifyNotifyIcon(window.handle(), SymbolId, tip, grey)) {
        tip_ = tip;
        grey_ = grey;
    }
}

void FrmHaupt::Hinweis(const std::string& text) {
    if (!beendet_)
        app_.platform().windows.showNotifyIconNote(window.handle(), SymbolId,
                                                   app_.text(texte::Programm), text);
}

void FrmHaupt::Form_Load() {
    // One copy per program folder: started again, the program shows the running copy's main
    // window, as a double-click on its icon does, or says why it cannot, and ends before it
    // touches a file.
    Platform& platform = app_.platform();
    const std::string folder = platform.files.programFolder();
    const WindowSystem::FolderClaim claim =
        platform.windows.claimProgramFolder(folder, window.handle());
    if (claim.holder != WindowSystem::FolderClaim::ThisCopy) {
        const char* why = nullptr;
        if (claim.holder == WindowSystem::FolderClaim::CopyOutOfReach)
            why = texte::Laeuft_ausser_Reichweite;
        else if (!platform.windows.sendNotifyIconEvent(claim.host, Rueckrufnachricht, Doppelklick,
                                                       AntwortMs))
            why = texte::Laeuft_ohne_Antwort;
        if (why)
            platform.toolkit.messageBox(nullptr, app_.text(why) + folder,
                                        app_.text(texte::Programm), ui::MB_OK_INFORMATION);
        beendet_ = true;
        platform.toolkit.quit();
        return;
    }
    Symbol_hinzufuegen();
    window.hide();
    // Owned by this hidden window, the main window has no button in the task bar. It is
    // loaded without being shown: its start-up runs and its timers start.
    Form1& form1 = app_.form1();
    form1.window.setOwnerWindow(&window);
    form1.window.load();
    // Said once its timers run: the block holds meanwhile.
    if (!form1.Richtlinien_Fehler.empty())
        platform.toolkit.messageBox(
            nullptr, app_.text(texte::Richtlinien_nicht_verwendbar) + form1.Richtlinien_Fehler,
            app_.text(texte::Programm), ui::MB_OK_INFORMATION);
    if (!form1.Zeiten_Fehler.empty())
        platform.toolkit.messageBox(
            nullptr,
            texte::mit(app_.text(texte::Zeiten_nicht_lesbar), form1.Zeiten_Fehler) +
                form1.Pfad_config,
            app_.text(texte::Programm), ui::MB_OK_INFORMATION);
}

// The notification area reports the icon's mouse events as mouse moves over this window,
// with the mouse message as the position. The menu is Form1's, but this window, which has
// no controls, opens it: the menu's owner comes to the front and stays there afterwards,
// and a hidden Form1 in front would take the keys the user types into other programs.
void FrmHaupt::Form_MouseMove(int x) {
    Form1& form1 = app_.form1();
    if (x == Doppelklick)
        form1.window.show();
    else if (x == RechteTasteLos) {
        form1.mAutostart.setChecked(form1.startsWithWindows()); // the user may change it elsewhere
        form1.Sperrzeit_pruefen();
        app_.platform().toolkit.popupMenu(window, form1.m1);
    }
}

void FrmHaupt::Form_QueryUnload(bool&) {
    if (beendet_) return;
    beendet_ = true;
    app_.platform().windows.deleteNotifyIcon(window.handle(), SymbolId);
    app_.form1().window.requestClose(); // refused: the main window only hides
    app_.frmInfoBox().window.unload();
    // The dialog's text is the designation in force one last time.
    ui::Window& webBrowser = app_.frmWebBrowser().window;
    if (webBrowser.loaded()) webBrowser.requestClose();
    app_.platform().toolkit.quit();
}

void FrmHaupt::schliessen() {
    app_.form1().window.requestClose();
    window.requestClose();
}

} // namespace zk
