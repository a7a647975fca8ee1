#include "app/form1.h"
#include "app/zuklapper.h"
#include "hotkeys/hotkey.h"

namespace zk {

namespace {

constexpr std::uint16_t kDown = 0x8000; // the key is down now

} // namespace

// One capture a press: a hotkey's key counts when it went down since the last tick (also
// tapped between two ticks, which only the low bit tells), and again only once a tick saw it
// up.
void Form1::tmrHotkey_Timer() {
    TickKeys keys(app_.platform().windows);
    keys.askModifiers();
    const HotkeyTable& Hotkey = app_.Hotkey;
    bool pressed[2] = {};
    for (std::size_t i = 0; i < 2; ++i) {
        const std::uint16_t state = keys.state(Hotkey[2 * i]);
        pressed[i] = state != 0 && !hotkeyDown_[i];
        hotkeyDown_[i] = (state & kDown) != 0;
    }
    if (pressed[0] && hotkeyHeld(keys, Hotkey[0], Hotkey[1]))
        hotkeyCapture(true);
    else if (pressed[1] && hotkeyHeld(keys, Hotkey[2], Hotkey[3]))
        hotkeyCapture(false);
}

void Form1::switchHotkeys(bool on) {
    const bool switchedOn = on && !tmrHotkey.enabled();
    tmrHotkey.setEnabled(on);
    if (switchedOn) forgetKeyPresses();
}

// A press from before the polling began (while it was off, or before the program started)
// is no hotkey: the keys' "pressed since the last query" bits are asked once and dropped,
// and a key held down counts only after it was released.
void Form1::forgetKeyPresses() {
    TickKeys keys(app_.platform().windows);
    for (std::size_t i = 0; i < 2; ++i)
        hotkeyDown_[i] = (keys.state(app_.Hotkey[2 * i]) & kDown) != 0;
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
