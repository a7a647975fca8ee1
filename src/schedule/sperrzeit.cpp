// The main window's part of block times: reading them, the counted pause and what the
// notification icon says.

#include "app/form1.h"

#include "app/texte.h"
#include "app/zuklapper.h"
#include "settings/ini.h"
#include "tray/frm_haupt.h"

namespace zk {

namespace {

constexpr const char* kSection = "Sperrzeiten";

// A whole number of the section within its bounds, or the default.
int setting(Profile& profile, const std::string& file, const char* key, int fallback, int most) {
    const std::optional<int> value = Ganzzahl(Ini_lesen(profile, file, kSection, key, fallback));
    return value && *value >= 0 && *value <= most ? *value : fallback;
}

} // namespace

void Form1::Sperrzeiten_lesen() {
    Profile& profile = app_.platform().profile;
    const BlockTimesLine line =
        parseBlockTimes(Ini_lesen(profile, Pfad_config, kSection, "Zeiten", ""));
    // A line that cannot be read never opens the block.
    app_.Sperrwoche = line.week.value_or(BlockWeek::always());
    Zeiten_Fehler = line.week ? "" : line.badPart;
    pause_.minutes = std::max(1, setting(profile, Pfad_config, "Pausenlaenge", 15, 24 * 60));
    pause_.perDay = setting(profile, Pfad_config, "PausenProTag", 3, 1000);
    pause_.restore(Ini_lesen(profile, Pfad_config, kSection, "PausenGenommen", ""));
    protokoll_.enabled = Ini_lesen(profile, Pfad_config, kSection, "Protokoll", "1") != "0";
    protokoll_.countToday(app_.platform().windows.localTime());
}

bool Form1::Sperrzeit_pruefen() {
    WindowSystem& windows = app_.platform().windows;
    const LocalTime now = windows.localTime();
    const std::int64_t ms = windows.milliseconds();
    const bool blockTime = app_.Sperrwoche.blocked(minuteOfWeek(now));
    if (!blockTime) pause_.end(); // a pause ends with the block time
    const bool pausing = pause_.running(ms);
    const bool closing = blockTime && !pausing;
    // The tip and the menu item change with the minute at the most, or with what they show.
    const int closed = protokoll_.today(now);
    const ShownState shown{minuteOfWeek(now), pausing, pause_.left(now), pause_.minutes, closed};
    if (shown == shownState_ && app_.Sperrwoche == shownWeek_) return closing;
    shownState_ = shown;
    shownWeek_ = app_.Sperrwoche;
    if (pausing)
        mPause.setCaption(app_.text(texte::Pause_beenden));
    else if (pause_.left(now) == 0)
        mPause.setCaption(app_.text(texte::Pause_keine_mehr));
    else
        mPause.setCaption(pause_.minutes == 1 ? app_.text(texte::Pause_eine_Minute)
                                              : texte::mit(app_.text(texte::Pause),
                                                           std::to_string(pause_.minutes)));
    mPause.setEnabled(pausing || (blockTime && pause_.left(now) > 0));

    std::string tip = app_.text(texte::Programm);
    const std::string state = blockStateText(app_.Sperrwoche, pause_, now, ms);
    if (!state.empty()) tip += app_.text(texte::Trenner) + state;
    if (closed > 0)
        tip += app_.text(texte::Trenner) +
               texte::mit(app_.text(texte::Heute_geschlossen), std::to_string(closed));
    app_.frmHaupt().Symbol_aktualisieren(tip, !closing);
    return closing;
}

void Form1::mPause_Click() {
    WindowSystem& windows = app_.platform().windows;
    const std::int64_t ms = windows.milliseconds();
    if (pause_.running(ms)) {
        pause_.end();
    } else {
        const LocalTime now = windows.localTime();
        if (!app_.Sperrwoche.blocked(minuteOfWeek(now)) || !pause_.start(now, ms)) return;
        // Unsaved, the count holds until the program ends.
        if (!Ini_schreiben(app_.platform().profile, Pfad_config, kSection, "PausenGenommen",
                           pause_.stored()))
            app_.settingNotSaved(window);
    }
    Sperrzeit_pruefen();
}

} // namespace zk
