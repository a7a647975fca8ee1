#pragma once

#include "platform/window_system.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace zk {

// The key and modifier codes of the title hotkey (slots 0, 1) and the URL hotkey (2, 3).
using HotkeyTable = std::array<std::int32_t, 4>;

// The program's own modifier codes, as the table holds them; function keys are stored as
// their virtual-key codes.
enum class Zusatztaste : std::int32_t { Shift = 1, Strg = 2, Alt = 3, AltGr = 4, keine = 5 };

// Where config.ini keeps each slot of the table (section "Hotkeys"), with the name that holds
// when the key is missing.
struct HotkeySetting {
    const char* key;
    const char* fallback;
};
inline constexpr HotkeySetting HotkeySettings[4] = {
    {"AddTitle", "F8"}, {"AddTitle2", "keine"}, {"AddUrl", "F8"}, {"AddUrl2", "Shift"}};

// The code of a key name ("F1".."F12", "Shift", "Strg", "Alt", "AltGr", "keine"); exact text.
std::optional<std::int32_t> Tastencode(std::string_view Taste);

// Stores the code of the name in the slot; an unknown name leaves the slot as it is.
void Hotkey_setzen(HotkeyTable& Hotkey, std::string_view Taste, int z);

// The keyboard as one tick sees it: each key is asked once, and later questions about it get
// the same answer. Asking again would lose a key tapped since the last tick, which only the
// first answer's low bit tells.
class TickKeys {
public:
    explicit TickKeys(WindowSystem& windows) : windows_(windows) {}
    std::uint16_t state(int virtualKey);
    bool held(int virtualKey) { return state(virtualKey) != 0; }
    // Asks every key that Zusatztaste_ermitteln may look at. Asked on every tick, a modifier
    // reports a press since the last tick, never one from long before.
    void askModifiers();

private:
    WindowSystem& windows_;
    std::array<std::pair<int, std::uint16_t>, 8> asked_{};
    std::size_t count_ = 0;
};

// The modifier held: Shift 1, Ctrl 2, Alt 3, AltGr (Ctrl with Alt) 4; -1 for none. Shift is
// not looked at while Ctrl is held; Ctrl counts only when the left or right Ctrl key says so.
std::int32_t Zusatztaste_ermitteln(TickKeys& keys);

// Whether a hotkey's key and modifier are held: the key's state is not 0, and the modifier
// report equals the slot's code, or the slot says "keine" and no modifier is held.
bool hotkeyHeld(TickKeys& keys, std::int32_t Taste, std::int32_t Zusatz);

} // namespace zk
