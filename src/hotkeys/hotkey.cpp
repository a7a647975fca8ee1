#include "hotkeys/hotkey.h"

#include <string>

namespace zk {

std::optional<std::int32_t> Tastencode(std::string_view Taste) {
    struct Name {
        std::string_view name;
        Zusatztaste code;
    };
    static constexpr Name names[] = {
        {"Shift", Zusatztaste::Shift}, {"Strg", Zusatztaste::Strg},   {"Alt", Zusatztaste::Alt},
        {"AltGr", Zusatztaste::AltGr}, {"keine", Zusatztaste::keine},
    };
    for (const Name& n : names)
        if (n.name == Taste) return static_cast<std::int32_t>(n.code);
    for (int number = 1; number <= 12; ++number) // VK_F1 (112) to VK_F12
        if (Taste.starts_with("F") && Taste.substr(1) == std::to_string(number)) return 111 + number;
    return std::nullopt;
}

void Hotkey_setzen(HotkeyTable& Hotkey, std::string_view Taste, int z) {
    if (z < 0 || z > 3) return;
    if (const auto code = Tastencode(Taste)) Hotkey[static_cast<std::size_t>(z)] = *code;
}

} // namespace zk
