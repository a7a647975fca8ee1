#pragma once

#include "app/zuklapper.h"

#include <functional>

namespace zk {

// "zuklapper.exe /fenster": writes Fenster.txt beside the program, one line per window of
// the inventory as the close cycle sees it with today's browsers as saved: its class, its
// program, its title and its address, each in double quotes. Waits (with wait, a pause of
// the clock) for the addresses of today's browsers, at most three seconds. False when the
// file could not be written.
bool Fenster_auflisten(Platform& platform, const std::function<void()>& wait);

} // namespace zk
