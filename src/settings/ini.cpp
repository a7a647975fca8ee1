#include "settings/ini.h"

#include <charconv>

namespace zk {

std::string Ini_lesen(Profile& profile, const std::string& Datei, const std::string& Abschnitt,
                      const std::string& Schluessel, const std::string& Vorgabe) {
    std::string buffer = profile.readString(Datei, Abschnitt, Schluessel, Vorgabe, 1000);
    buffer.resize(1000, '\0');
    // Blanks are stripped from the whole buffer: those behind the value stay, because the
    // NULs that follow it stand between them and the buffer's end.
    const std::size_t first = buffer.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return Nullzeichen_entfernen(std::string_view(buffer).substr(first));
}

std::string Ini_lesen(Profile& profile, const std::string& Datei, const std::string& Abschnitt,
                      const std::string& Schluessel, int Vorgabe) {
    return Ini_lesen(profile, Datei, Abschnitt, Schluessel, std::to_string(Vorgabe));
}

bool Ini_schreiben(Profile& profile, const std::string& Datei, const std::string& Abschnitt,
                   const std::string& Schluessel, const std::string& Wert) {
    return profile.writeString(Datei, Abschnitt, Schluessel, Wert);
}

bool Ini_schreiben(Profile& profile, const std::string& Datei, const std::string& Abschnitt,
                   const std::string& Schluessel, int Wert) {
    return Ini_schreiben(profile, Datei, Abschnitt, Schluessel, std::to_string(Wert));
}

std::string Nullzeichen_entfernen(std::string_view Text) {
    std::string result;
    result.reserve(Text.size());
    for (char c : Text)
        if (c != '\0') result += c;
    return result;
}

std::optional<int> Ganzzahl(std::string_view Text) {
    const std::size_t first = Text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return std::nullopt;
    Text = Text.substr(first, Text.find_last_not_of(" \t") - first + 1);
    if (Text.starts_with('+')) Text.remove_prefix(1);
    int value = 0;
    const auto [end, error] = std::from_chars(Text.data(), Text.data() + Text.size(), value);
    if (error != std::errc{} || end != Text.data() + Text.size()) return std::nullopt;
    if (value < -32768 || value > 32767) return std::nullopt;
    return value;
}

} // namespace zk
