#pragma once

#include "capture/cuts.h"
#include "platform/ui.h"

#include <optional>
#include <string>
#include <string_view>

namespace zk {

// Whether the list box shows the text already: whole text, letter case ignored.
bool Eintrag_vorhanden(std::string_view text, const ui::ListBox& list);

} // namespace zk
