#include "capture/capture.h"

#include "app/form1.h"
#include "app/texte.h"
#include "app/zuklapper.h"
#include "capture/frm_hinzufuegen.h"
#include "engine/get_url.h"

#include <algorithm>

namespace zk {

bool Eintrag_vorhanden(std::string_view text, const ui::ListBox& list) {
    return list.findExact(text) >= 0;
}

namespace {

// Whether the list holds the text already, compared as its list box compares: whole text,
// letter case ignored. The list box may show the other list meanwhile.
bool listed(ui::Toolkit& toolkit, const EntryList& list, std::string_view text) {
    return std::any_of(list.items().begin(), list.items().end(), [&](const std::string& item) {
        return toolkit.compareText(item, text) == 0;
    });
}

// Marks a capture as running for as long as it lives.
class Running {
public:
    explicit Running(bool& flag) : flag_(&flag) { *flag_ = true; }
    Running(const Running&) = delete;
    Running& operator=(const Running&) = delete;
    ~Running() { *flag_ = false; }

private:
    bool* flag_;
};

} // namespace

// The capture button arms and disarms the capture timer.
void Form1::cmdHinzufuegen_Click() {
    if (cmdHinzufuegen.caption() == app_.text(texte::Abbrechen)) {
        tmrneuerEintrag.setEnabled(false);
        cmdHinzufuegen.setCaption(app_.text(texte::Hinzufuegen));
    } else {
        cmdHinzufuegen.setCaption(app_.text(texte::Abbrechen));
        tmrneuerEintrag.setEnabled(true);
    }
}

// Waits for another window than the main window to come to the front; one attempt, then idle.
void Form1::tmrneuerEintrag_Timer() {
    if (Eintrag_erfassen(Pfad)) return;
    tmrneuerEintrag.setEnabled(false);
    cmdHinzufuegen.setCaption(app_.text(texte::Hinzufuegen));
}

bool Form1::Eintrag_erfassen(const std::string& path) {
    Platform& platform = app_.platform();
    const Hwnd H = platform.windows.foregroundWindow();
    if (H == 0 || H == window.handle()) return true;
    // One capture at a time: the one that waits for the user goes on.
    if (capturing_) return true;
    const Running running(capturing_);

    // The capture is for the list shown now, whichever the user shows while it waits.
    const bool titleList = titleListShown();
    offerTodaysBrowsers(H);
    const std::string T = platform.windows.windowText(H).substr(0, 255);
    if (titleList) {
        const std::optional<std::string> cut = titleEntry(T, app_.AktuelleBrowser);
        if (cut)
            takeEntry(true, path, *cut);
        else
            selectFirst();
        return false;
    }
    // Today's browsers show their address through accessibility; DDE only when nothing could
    // be read there.
    std::string address;
    if (app_.AktuelleBrowser && readsAccessibly(platform.windows, todaysBrowsers_, H))
        address = todaysBrowsers_.freshAddress(H, platform.windows.windowText(H)).value_or("");
    if (address.empty()) address = GetURL(platform.dde, T);
    if (const std::optional<std::string> confirmed = askEntry(false, address))
        takeEntry(false, UrlPfad, urlEntry(*confirmed));
    return false;
}

void Form1::cmdTypeIn_Click() {
    if (capturing_) return;
    const Running running(capturing_);
    const bool titleList = titleListShown();
    if (const std::optional<std::string> typed = askEntry(titleList, ""))
        takeEntry(titleList, titleList ? Pfad : UrlPfad, titleList ? *typed : urlEntry(*typed));
}

std::optional<std::string> Form1::askEntry(bool titleList, const std::string& text) {
    FrmHinzufuegen& dialog = app_.frmHinzufuegen();
    dialog.window.load();
    if (titleList) dialog.Label1.setCaption(app_.text(texte::Titel_Beschriftung));
    dialog.Text1.setText(text);
    dialog.window.showModal();
    // Left open when the program ends meanwhile: nothing was confirmed.
    if (dialog.window.loaded()) {
        dialog.window.unload();
        return std::nullopt;
    }
    if (dialog.Abbruch) return std::nullopt;
    return dialog.Url;
}

void Form1::takeEntry(bool titleList, const std::string& file, const std::string& entry) {
    if (entry.empty()) return;
    if (listed(app_.platform().toolkit, titleList ? TitelEintraege : UrlEintraege, entry) ||
        listed(app_.platform().toolkit, titleList ? organisationTitles_ : organisationUrls_,
               entry)) {
        tell(texte::Eintrag_vorhanden, {});
    } else if (!storable(entry)) {
        tell(texte::Eintrag_nicht_speicherbar, entry);
    } else if (!addEntry(titleList, file, entry)) {
        tell(texte::Eintrag_nicht_gespeichert, file);
    }
    selectFirst();
}

} // namespace zk
