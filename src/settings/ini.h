#pragma once

#include "platform/profile.h"

#include <optional>
#include <string>
#include <string_view>

namespace zk {

// A value of the settings file; the default when the file, the section or the key is
// missing. Leading blanks are dropped; at most 999 characters.
std::string Ini_lesen(Profile& profile, const std::string& Datei, const std::string& Abschnitt,
                      const std::string& Schluessel, const std::string& Vorgabe);
std::string Ini_lesen(Profile& profile, const std::string& Datei, const std::string& Abschnitt,
                      const std::string& Schluessel, int Vorgabe);

// Writes a value to the settings file; false when it could not be written.
bool Ini_schreiben(Profile& profile, const std::string& Datei, const std::string& Abschnitt,
                   const std::string& Schluessel, const std::string& Wert);
bool Ini_schreiben(Profile& profile, const std::string& Datei, const std::string& Abschnitt,
                   const std::string& Schluessel, int Wert);

// The text without its NUL characters.
std::string Nullzeichen_entfernen(std::string_view Text);

// A whole number of 16 bits written in decimal, with blanks around it allowed; nothing
// for any other text.
std::optional<int> Ganzzahl(std::string_view Text);

} // namespace zk
