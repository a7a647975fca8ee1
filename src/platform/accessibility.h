#pragma once

#include "platform/window_system.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace zk {

// Roles and states of accessible elements (MSAA's ROLE_SYSTEM_..., STATE_SYSTEM_...), as far
// as the program asks.
inline constexpr int ROLE_DIALOG = 0x12;
inline constexpr int ROLE_DOCUMENT = 0x0F;
inline constexpr int ROLE_TOOLBAR = 0x16;
inline constexpr int ROLE_PAGETAB = 0x25;
inline constexpr int ROLE_TEXT = 0x2A;
inline constexpr int ROLE_PUSHBUTTON = 0x2B;
inline constexpr int ROLE_PAGETABLIST = 0x3C;
inline constexpr std::uint32_t STATE_SELECTED = 0x2;
inline constexpr std::uint32_t STATE_READONLY = 0x40;
inline constexpr std::uint32_t STATE_INVISIBLE = 0x8000;

// An element of another program's accessibility tree. Every call crosses to that program
// and may block for as long as it hangs: the program calls them only away from the
// user-interface thread, and an element lives and dies on the thread that found it.
class AccessibleElement {
public:
    virtual ~AccessibleElement() = default;
    // Its role; 0 when the call fails.
    virtual int role() = 0;
    // Its state bits; nothing when the call fails.
    virtual std::optional<std::uint32_t> state() = 0;
    // Its children, at most this many, whatever number it claims to have; nothing when the
    // call fails.
    virtual std::optional<std::vector<std::unique_ptr<AccessibleElement>>>
    children(std::size_t most) = 0;
    // Its value in the system's ANSI code page; nothing when the call fails.
    virtual std::optional<std::string> value() = 0;
    // Its name in the system's ANSI code page; nothing when the call fails.
    virtual std::optional<std::string> name() = 0;
    // Does what a click on it does; false when the call fails.
    virtual bool doDefaultAction() = 0;
};

// The accessibility interface of other programs' windows (MSAA).
class Accessibility {
public:
    virtual ~Accessibility() = default;
    // The window's client element (OBJID_CLIENT); null when the window has none.
    virtual std::unique_ptr<AccessibleElement> client(Hwnd window) = 0;
};

// Runs jobs away from the user-interface thread: the jobs of one window one after another,
// those of different windows side by side, so that a window whose program hangs holds up
// only its own.
class Workers {
public:
    virtual ~Workers() = default;
    // False when no worker could take the job (as when a thread cannot start): it is dropped.
    virtual bool post(Hwnd window, std::function<void()> job) = 0;
    // Waits, blocking the caller, until done() holds or the time is up; what done() says last.
    virtual bool waitFor(const std::function<bool()>& done, int timeoutMs) = 0;
    // No more jobs come for the window: its worker ends after those posted. A later job for
    // the same handle value starts a new one.
    virtual void retire(Hwnd window) = 0;
};

} // namespace zk
