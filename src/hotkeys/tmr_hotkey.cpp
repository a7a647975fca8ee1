#include "app/form1.h"
#include "app/zuklapper.h"
#include "hotkeys/hotkey.h"

namespace zk {

// No edge detection: a hotkey held over several ticks captures on each of them.
void Form1::tmrHotkey_Timer() {
    TickKeys keys(app_.platform().windows);
    const HotkeyTable& Hotkey = app_.Hotkey;
    if (hotkeyHeld(keys, Hotkey[0], Hotkey[1]))
        hotkeyCapture(true);
    else if (hotkeyHeld(keys, Hotkey[2], Hotkey[3]))
        hotkeyCapture(false);
}

void Form1::hotkeyCapture(bool titleList) {
    // A capture that waits for the user keeps its list.
    if (capturing_) return;
    if (titleList && optListe1.value()) optListe0.setValue(true);
    if (!titleList && optListe0.value()) optListe1.setValue(true);
    Eintrag_erfassen(titleList ? Pfad : UrlPfad);
}

} // namespace zk
