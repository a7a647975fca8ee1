// Key names from config.ini: a name gives a known code or nothing, a known code comes only
// from its own name, and an unknown name leaves the table as it is.
#include "fuzz_check.h"
#include "hotkeys/hotkey.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

// The names the hotkey dialog offers, with their codes: F1..F12 as VK_F1 (112) and on.
std::string nameOf(std::int32_t code) {
    switch (code) {
    case 1:
        return "Shift";
    case 2:
        return "Strg";
    case 3:
        return "Alt";
    case 4:
        return "AltGr";
    case 5:
        return "keine";
    default:
        if (code >= 112 && code <= 123) return "F" + std::to_string(code - 111);
        return {};
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    const std::string_view name(reinterpret_cast<const char*>(bytes), size);
    const std::optional<std::int32_t> code = zk::Tastencode(name);
    if (code) ZK_FUZZ_CHECK(nameOf(*code) == name);

    zk::HotkeyTable table{7, 7, 7, 7};
    zk::Hotkey_setzen(table, name, 2);
    ZK_FUZZ_CHECK(table[0] == 7 && table[1] == 7 && table[3] == 7);
    ZK_FUZZ_CHECK(table[2] == (code ? *code : 7));
    return 0;
}
