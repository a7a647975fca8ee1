#include "schedule/frm_sperrzeiten.h"

#include "app/texte.h"
#include "app/zuklapper.h"
#include "settings/ini.h"

namespace zk {

namespace {

constexpr const char* Abschnitt = "Sperrzeiten";
constexpr const char* Schluessel = "Zeiten";
// The longest value config.ini gives back whole.
constexpr std::size_t kLongestLine = 999;
constexpr int kHalfHour = 30;

int firstMinute(int day, int slot) { return day * kMinutesPerDay + slot * kHalfHour; }

// A half hour shows blocked when every minute of it is.
ui::WeekGrid::Cells cellsOf(const BlockWeek& week) {
    ui::WeekGrid::Cells cells;
    for (int day = 0; day < ui::kGridDays; ++day) {
        for (int slot = 0; slot < ui::kGridSlots; ++slot) {
            const int first = firstMinute(day, slot);
            bool all = true;
            for (int minute = first; all && minute < first + kHalfHour; ++minute)
                all = week.blocked(minute);
            cells.set(ui::WeekGrid::index(day, slot), all);
        }
    }
    return cells;
}

std::array<std::string, ui::kGridDays> dayNames() {
    std::array<std::string, ui::kGridDays> names;
    for (std::size_t day = 0; day < names.size(); ++day) names[day] = kDayNames[day];
    return names;
}

} // namespace

FrmSperrzeiten::FrmSperrzeiten(Zuklapper& app)
    : window(app.platform().toolkit, {.name = "frmSperrzeiten",
                                      .caption = app.text(texte::Sperrzeiten_Titel),
                                      .clientWidth = 7860,
                                      .clientHeight = 4200,
                                      .border = ui::BorderStyle::FixedSingle,
                                      .start = ui::StartPosition::CentreOwner}),
      lblHinweis(window, {.name = "lblHinweis",
                          .at = {120, 120, 7620, 480},
                          .caption = app.text(texte::Sperrzeiten_Hinweis)}),
      grdWoche(window, {.name = "grdWoche", .at = {120, 690, 7620, 2160}, .days = dayNames()}),
      lblZeile(window, {.name = "lblZeile",
                        .at = {120, 2970, 7620, 240},
                        .caption = app.text(texte::Als_Zeile)}),
      txtZeile(window, {.name = "txtZeile", .at = {120, 3225, 7620, 300}}),
      cmdOK(window, {.name = "cmdOK",
                     .at = {5280, 3705, 1170, 375},
                     .caption = app.text(texte::OK),
                     .isDefault = true}),
      cmdAbbrechen(window, {.name = "cmdAbbrechen",
                            .at = {6570, 3705, 1170, 375},
                            .caption = app.text(texte::Abbrechen),
                            .cancel = true}),
      app_(app) {
    window.onLoad = [this] { Form_Load(); };
    grdWoche.onChange = [this] { grdWoche_Change(); };
    txtZeile.onChange = [this] { txtZeile_Change(); };
    cmdOK.onClick = [this] { cmdOK_Click(); };
    cmdAbbrechen.onClick = [this] { window.unload(); };
}

// The line in force: the stored one, unless storing the last one failed. An empty line is the
// whole week; a line that cannot be read shows as it is, over the whole week, which is what
// it means then.
void FrmSperrzeiten::Form_Load() {
    read_ = week_ = BlockWeek::always();
    grdWoche.setCells(cellsOf(week_));
    txtZeile.setText(notSaved_.value_or(
        Ini_lesen(app_.platform().profile, app_.form1().Pfad_config, Abschnitt, Schluessel, "")));
}

// Every half hour the user turned over counts its 30 minutes; the others keep the line's.
void FrmSperrzeiten::grdWoche_Change() {
    const ui::WeekGrid::Cells before = cellsOf(read_);
    week_ = read_;
    for (int day = 0; day < ui::kGridDays; ++day) {
        for (int slot = 0; slot < ui::kGridSlots; ++slot) {
            const std::size_t i = ui::WeekGrid::index(day, slot);
            const int first = firstMinute(day, slot);
            if (grdWoche.cells()[i] != before[i])
                week_.set(first, (first + kHalfHour) % kMinutesPerWeek, grdWoche.cells()[i]);
        }
    }
    gridWrites_ = true;
    txtZeile.setText(week_.none() ? std::string{} : formatBlockTimes(week_));
    gridWrites_ = false;
}

// A line that cannot be read leaves the grid as it is.
void FrmSperrzeiten::txtZeile_Change() {
    if (gridWrites_) return;
    const BlockTimesLine line = parseBlockTimes(txtZeile.text());
    if (!line.week) return;
    read_ = week_ = *line.week;
    grdWoche.setCells(cellsOf(week_));
}

void FrmSperrzeiten::cmdOK_Click() {
    const std::string& zeile = txtZeile.text();
    const BlockTimesLine line = parseBlockTimes(zeile);
    if (!line.week) {
        tell(app_.text(texte::Zeile_unlesbar) + line.badPart + app_.text(texte::Zeile_Beispiel));
        return;
    }
    if (week_.none() || line.week->none()) {
        tell(app_.text(texte::Keine_Sperrzeit));
        return;
    }
    if (zeile.size() > kLongestLine) {
        tell(app_.text(texte::Zeile_zu_lang));
        return;
    }
    if (Ini_schreiben(app_.platform().profile, app_.form1().Pfad_config, Abschnitt, Schluessel,
                      zeile)) {
        notSaved_.reset();
    } else {
        notSaved_ = zeile;
        app_.settingNotSaved(window);
    }
    app_.Sperrwoche = *line.week;
    window.unload();
}

void FrmSperrzeiten::tell(const std::string& message) {
    app_.platform().toolkit.messageBox(&window, message, app_.text(texte::Programm),
                                       ui::MB_OK_INFORMATION);
}

} // namespace zk
