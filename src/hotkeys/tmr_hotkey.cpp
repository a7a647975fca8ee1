#include "app/form1.h"
#include "app/zuklapper.h"
#include "hotkeys/hotkey.h"

namespace zk {

// No edge detection: a hotkey held over several ticks captures on each of them.
void Form1::tmrHotkey_Timer() {
    TickKeys keys(app_.platform().windows);
    keys.askModifiers();
    const HotkeyTable& Hotkey = app_.Hotkey;
    if (hotkeyHeld(keys, Hotkey[0], Hotkey[1]))
        hotkeyCapture(true);
    else if (hotkeyHeld(keys, Hotkey[2], Hotkey[3]))
        hotkeyCapture(false);
}

void Form1::switchHotkeys(bool on) {
    const bool switchedOn = on && !tmrHotkey.enabled();
    tmrHotkey.setEnabled(on);
    if (switchedOn) forgetKeyPresses();
}

// A press from before the polling began (while it was off, or before the program started)
// is no hotkey: the keys' "pressed since the last query" bits are asked once and dropped.
void Form1::forgetKeyPresses() {
    TickKeys keys(app_.platform().windows);
    keys.state(app_.Hotkey[0]);
    keys.state(app_.Hotkey[2]);
    keys.askModifiers();
}

void Form1::hotkeyCapture(bool titleList) {
    // A capture that waits for the user keeps its list.
    if (capturing_) return;
    if (titleList && optListe1.value()) optListe0.setValue(true);
    if (!titleList && optListe0.value()) optListe1.setValue(true);
    Eintrag_erfassen(titleList ? Pfad : UrlPfad);
}

} // namespace zk
