#pragma once

#include "app/form1.h"
#include "platform/files.h"
#include "platform/ui.h"
#include "platform/window_system.h"

#include <memory>
#include <string>

namespace zk {

// The operating system as the program reaches it.
struct Platform {
    WindowSystem& windows;
    Files& files;
    ui::Toolkit& toolkit;
};

// The program: its program-wide state and the windows it owns.
class Zuklapper {
public:
    explicit Zuklapper(Platform& platform);
    ~Zuklapper();

    // Loads and shows the main window; the backend's message loop runs afterwards.
    void start();

    Platform& platform() { return platform_; }
    Form1& form1() { return *form1_; }

    // The chosen browser's title suffix, appended to every title entry.
    std::string WebbrowserBezeichnung;

private:
    Platform& platform_;
    std::unique_ptr<Form1> form1_;
};

} // namespace zk
