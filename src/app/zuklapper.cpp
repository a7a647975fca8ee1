#include "app/zuklapper.h"

#include "app/texte.h"

#include "browsers/frm_web_browser.h"
#include "capture/frm_hinzufuegen.h"
#include "hotkeys/frmconfig.h"
#include "schedule/frm_sperrzeiten.h"
#include "tray/frm_haupt.h"

namespace zk {

Zuklapper::Zuklapper(Platform& platform)
    : platform_(platform), frmHaupt_(std::make_unique<FrmHaupt>(*this)),
      form1_(std::make_unique<Form1>(*this)),
      frmHinzufuegen_(std::make_unique<FrmHinzufuegen>(*this)),
      frmconfig_(std::make_unique<Frmconfig>(*this)),
      frmInfoBox_(std::make_unique<FrmInfoBox>(*this)),
      frmWebBrowser_(std::make_unique<FrmWebBrowser>(*this)),
      frmSperrzeiten_(std::make_unique<FrmSperrzeiten>(*this)) {
    frmHinzufuegen_->window.setOwnerWindow(&form1_->window);
    frmconfig_->window.setOwnerWindow(&form1_->window);
    frmInfoBox_->window.setOwnerWindow(&form1_->window);
    frmWebBrowser_->window.setOwnerWindow(&form1_->window);
    frmSperrzeiten_->window.setOwnerWindow(&form1_->window);
    // Modeless: shown, or brought to the front while it is open.
    form1_->mEinstellungen.onClick = [this] { frmconfig_->window.show(); };
    form1_->mINFO.onClick = [this] { frmInfoBox_->window.show(); };
    form1_->mHilfe.onClick = [this] { Hilfe_anzeigen(*this); };
    form1_->Command2.onClick = [this] { frmWebBrowser_->window.showModal(); };
    form1_->mweb.onClick = [this] { frmWebBrowser_->window.showModal(); };
    form1_->mSperrzeiten.onClick = [this] { frmSperrzeiten_->window.showModal(); };
}

Zuklapper::~Zuklapper() = default;

void Zuklapper::start() { frmHaupt_->window.load(); }

std::optional<std::vector<std::string>>
Zuklapper::deleteEntry(const std::string& path, const std::string& entry, bool& saved) {
    return unsaved.remove(
        platform_.files, path, entry,
        [this](const std::string& a, const std::string& b) {
            return platform_.toolkit.compareText(a, b) < 0;
        },
        saved);
}

void Zuklapper::settingNotSaved(ui::Window& owner) {
    platform_.toolkit.messageBox(&owner,
                                 text(texte::Einstellung_nicht_gespeichert) + form1_->Pfad_config,
                                 text(texte::Programm), ui::MB_OK_INFORMATION);
}

} // namespace zk
