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
        if (Taste.starts_with("F") && Taste.substr(1) == std::to_string(number))
            return 111 + number;
    return std::nullopt;
}

void Hotkey_setzen(HotkeyTable& Hotkey, std::string_view Taste, int z) {
    if (z < 0 || z > 3) return;
    if (const auto code = Tastencode(Taste)) Hotkey[static_cast<std::size_t>(z)] = *code;
}

namespace {

// Virtual-key codes.
constexpr int kShiftKey = 16, kControlKey = 17, kAltKey = 18, kLeftControlKey = 162,
              kRightControlKey = 163;

} // namespace

std::uint16_t TickKeys::state(int virtualKey) {
    for (std::size_t i = 0; i < count_; ++i)
        if (asked_[i].first == virtualKey) return asked_[i].second;
    const std::uint16_t answer = windows_.keyState(virtualKey);
    if (count_ < asked_.size()) asked_[count_++] = {virtualKey, answer};
    return answer;
}

void TickKeys::askModifiers() {
    for (int key : {kShiftKey, kControlKey, kAltKey, kLeftControlKey, kRightControlKey}) state(key);
}

std::int32_t Zusatztaste_ermitteln(TickKeys& keys) {
    if (keys.held(kControlKey)) {
        if (keys.held(kAltKey)) return static_cast<std::int32_t>(Zusatztaste::AltGr);
        if ((keys.state(kLeftControlKey) | keys.state(kRightControlKey)) != 0)
            return static_cast<std::int32_t>(Zusatztaste::Strg);
        return -1;
    }
    if (keys.held(kShiftKey)) return static_cast<std::int32_t>(Zusatztaste::Shift);
    if (keys.held(kAltKey)) return static_cast<std::int32_t>(Zusatztaste::Alt);
    return -1;
}

bool hotkeyHeld(TickKeys& keys, std::int32_t Taste, std::int32_t Zusatz) {
    if (!keys.held(Taste)) return false;
    const std::int32_t m = Zusatztaste_ermitteln(keys);
    return m == Zusatz || (Zusatz == static_cast<std::int32_t>(Zusatztaste::keine) && m == -1);
}

} // namespace zk
