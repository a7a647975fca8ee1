#pragma once

// The one way the backend includes the Windows headers.

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#include <shellapi.h>

#include "platform/window_system.h"

namespace zk {

inline HWND toHwnd(Hwnd window) { return reinterpret_cast<HWND>(window); }
inline Hwnd fromHwnd(HWND window) { return reinterpret_cast<Hwnd>(window); }

} // namespace zk
