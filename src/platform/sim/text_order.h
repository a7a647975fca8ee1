#pragma once

#include <string_view>

namespace zk::sim {

// Orders two code page 1252 texts as the system does for a sorted list box
// (CompareStringA with the user's default locale, letter case ignored): letters with
// diacritics beside their base letter, ß as "ss", æ as "ae"; hyphens, apostrophes and control
// characters count only when everything else is equal. Returns <0, 0 or >0.
int compareTextLikeWindows(std::string_view a, std::string_view b);

} // namespace zk::sim
