#include "tray/frm_info_box.h"

#include "app/texte.h"
#include "app/zuklapper.h"

namespace zk {

namespace {

const ui::Font Text{.name = "Arial", .points = 8.25};
constexpr ui::Rgb Blau{0, 0, 255};
constexpr int SW_SHOWNORMAL = 1;

} // namespace

std::string Versionstext(const Version& version) {
    return "Version: " + std::to_string(version.major) + "." + std::to_string(version.minor) +
           std::to_string(version.revision);
}

FrmInfoBox::FrmInfoBox(Zuklapper& app)
    : window(app.platform().toolkit, {.name = "frmInfoBox",
                                      .caption = app.text(texte::Info_Titel),
                                      .clientWidth = 5175,
                                      .clientHeight = 3030,
                                      .border = ui::BorderStyle::FixedDialog}),
      lblTitle(window, {.name = "lblTitle",
                        .at = {255, 240, 4725, 480},
                        .caption = app.text(texte::Programm),
                        .font = {.name = "Arial", .points = 18},
                        .centred = true}),
      Image1(window, {.name = "Image1", .at = {240, 240, 480, 480}, .icon = Informationssymbol}),
      Image2(window, {.name = "Image2", .at = {4440, 240, 480, 480}, .icon = Informationssymbol}),
      // As wide as the description: the design's 975 twips break "Version: 1.08" in two.
      lblVersion(window, {.name = "lblVersion",
                          .at = {840, 840, 3765, 375},
                          .font = {.name = "Arial", .points = 8.25, .bold = true}}),
      lblDescription(window, {.name = "lblDescription",
                              .at = {840, 1290, 3765, 690},
                              .caption = app.text(texte::Beschreibung),
                              .font = Text}),
      Label2(window, {.name = "Label2",
                      .at = {840, 1800, 2055, 255},
                      .caption = app.text(texte::Hersteller),
                      .font = Text}),
      Label3(window, {.name = "Label3",
                      .at = {840, 2040, 975, 255},
                      .caption = app.text(texte::Hilfe_Beschriftung),
                      .font = Text}),
      // Right of Label3, not over its colon as at the design's left of 1635 twips. It names the
      // help file: there is no homepage to name.
      Label1(window, {.name = "Label1",
                      .at = {1815, 2040, 2295, 255},
                      .caption = app.text(texte::Hilfedatei),
                      .font = {.name = "Arial", .points = 8.25, .underline = true},
                      .color = Blau}),
      cmdOK(window, {.name = "cmdOK",
                     .at = {1920, 2400, 1260, 315},
                     .caption = app.text(texte::OK),
                     .font = {.name = "Arial", .points = 9, .bold = true},
                     .isDefault = true,
                     .cancel = true}),
      Line1(window, {.name = "Line1", .x1 = 120, .y1 = 120, .x2 = 5040, .y2 = 120, .width = 2}),
      Line2(window, {.name = "Line2", .x1 = 120, .y1 = 2880, .x2 = 5040, .y2 = 2880, .width = 2}),
      Line3(window, {.name = "Line3", .x1 = 120, .y1 = 120, .x2 = 120, .y2 = 2880, .width = 2}),
      Line4(window, {.name = "Line4", .x1 = 5040, .y1 = 120, .x2 = 5040, .y2 = 2880, .width = 2}),
      app_(app) {
    window.onLoad = [this] { Form_Load(); };
    cmdOK.onClick = [this] { window.unload(); };
    Label1.onClick = [this] { Label1_Click(); };
}

void FrmInfoBox::Form_Load() { lblVersion.setCaption(Versionstext(app_.version)); }

void FrmInfoBox::Label1_Click() { Hilfe_anzeigen(app_); }

// The editor's path stays unquoted; an editor that does not start shows nothing.
void Hilfe_anzeigen(Zuklapper& app) {
    const std::string command = "notepad " + folderPrefix(app.platform().files.programFolder()) +
                                app.text(texte::Hilfedatei);
    app.platform().windows.startProgram(command, SW_SHOWNORMAL);
}

} // namespace zk
