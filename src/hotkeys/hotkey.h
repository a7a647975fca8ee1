#pragma once

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

// The code of a key name ("F1".."F12", "Shift", "Strg", "Alt", "AltGr", "keine"); exact text.
std::optional<std::int32_t> Tastencode(std::string_view Taste);

// Stores the code of the name in the slot; an unknown name leaves the slot as it is.
void Hotkey_setzen(HotkeyTable& Hotkey, std::string_view Taste, int z);

} // namespace zk
