#pragma once

#include "platform/accessibility.h"

#include <map>
#include <memory>

namespace zk {

// Other programs' accessibility trees through oleacc (MSAA). Calls are made on the workers'
// threads, each of which joins COM's multithreaded apartment.
class Win32Accessibility final : public Accessibility {
public:
    std::unique_ptr<AccessibleElement> client(Hwnd window) override;
};

// One thread per window, started with its first job and ended when the window is retired.
// A thread whose call into a hung program does not come back holds up nothing else; the
// process ends without waiting for it.
class Win32Workers final : public Workers {
public:
    bool post(Hwnd window, std::function<void()> job) override;
    bool waitFor(const std::function<bool()>& done, int timeoutMs) override;
    void retire(Hwnd window) override;

private:
    struct Queue;
    std::map<Hwnd, std::shared_ptr<Queue>> queues_;
};

} // namespace zk
