#include "capture/frm_hinzufuegen.h"

#include "app/texte.h"
#include "app/zuklapper.h"

namespace zk {

FrmHinzufuegen::FrmHinzufuegen(Zuklapper& app)
    : window(app.platform().toolkit, {.name = "frmHinzufuegen",
                                      .caption = app.text(texte::Hinzufuegen_Titel),
                                      .clientWidth = 4605,
                                      .clientHeight = 1470,
                                      .border = ui::BorderStyle::FixedSingle,
                                      .start = ui::StartPosition::CentreOwner}),
      Label1(window, {.name = "Label1",
                      .at = {90, 135, 2340, 345},
                      .caption = app.text(texte::Url_Beschriftung)}),
      Text1(window, {.name = "Text1", .at = {75, 435, 4485, 300}, .text = texte::Text1}),
      Command1(window, {.name = "Command1",
                        .at = {1845, 1020, 1245, 360},
                        .caption = app.text(texte::OK),
                        .isDefault = true}),
      Command2(window, {.name = "Command2",
                        .at = {3270, 1020, 1245, 360},
                        .caption = app.text(texte::Abbrechen),
                        .cancel = true}) {
    window.onLoad = [this] { Form_Load(); };
    window.onQueryUnload = [this](bool& cancel) { Form_QueryUnload(cancel); };
    Command1.onClick = [this] { Command1_Click(); };
    Command2.onClick = [this] { Command2_Click(); };
}

// Above the browser windows, unmoved.
void FrmHinzufuegen::Form_Load() {
    window.setTopmost();
    Abbruch = false;
}

// Closed by its close box, the dialog cancels; it never hands back an earlier address.
void FrmHinzufuegen::Form_QueryUnload(bool&) { Abbruch = true; }

void FrmHinzufuegen::Command1_Click() {
    Url = Text1.text();
    window.unload();
}

void FrmHinzufuegen::Command2_Click() {
    Abbruch = true;
    window.unload();
}

} // namespace zk
