#pragma once

#include "app/entry_list_file.h"
#include "platform/sim/sim_platform.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace zk {

using Items = std::vector<std::string>;

// The whole program on the simulated platform.
class ProgramTest : public ::testing::Test {
protected:
    static constexpr const char* TitelDatei = "C:\\Programme\\Zuklapper\\lstTitel.txt";
    static constexpr const char* UrlDatei = "C:\\Programme\\Zuklapper\\lstUrl.txt";
    static constexpr const char* WebDatei = "C:\\Programme\\Zuklapper\\Webbrowser.txt";
    static constexpr const char* ConfigDatei = "C:\\Programme\\Zuklapper\\config.ini";

    void start(const Items& titles = {}, const Items& urls = {}) {
        if (!titles.empty()) sim.files.put(TitelDatei, formatEntries(titles));
        if (!urls.empty()) sim.files.put(UrlDatei, formatEntries(urls));
        app = std::make_unique<Zuklapper>(sim.platform);
        app->start();
    }
    Form1& form() { return app->form1(); }
    void tick(int count = 1) { sim.advance(std::int64_t{100} * count); }
    sim::SimWindow& win(Hwnd window) { return sim.desktop.window(window); }

    // A browser window that the user brings to the front.
    Hwnd front(const std::string& title, const char* url = nullptr) {
        const Hwnd window = sim.desktop.openBrowser("IEFrame", title, url);
        sim.desktop.setForeground(window);
        return window;
    }
    // The user chooses the item with this caption in the notification icon's popup menu.
    void choose(const std::string& caption) {
        sim.toolkit.expectPopupMenu([caption](const sim::PopupMenuCall& call) {
            const auto item = std::find(call.items.begin(), call.items.end(), caption);
            return item == call.items.end() ? -1 : static_cast<int>(item - call.items.begin());
        });
        ASSERT_TRUE(sim.toolkit.notifyIconEvent(517));
    }
    // Message boxes are answered with OK from now on; the test ends with this many shown.
    void expectMessages(std::size_t count) {
        sim.toolkit.expectMessageBox([](const sim::MessageBoxCall&) { return ui::ID_OK; });
        expectedMessages_ = count;
    }
    const std::string& message(std::size_t i) { return sim.toolkit.messageBoxes().at(i).text; }
    void TearDown() override { EXPECT_EQ(sim.toolkit.messageBoxes().size(), expectedMessages_); }

    sim::SimPlatform sim;
    std::unique_ptr<Zuklapper> app;
    std::size_t expectedMessages_ = 0;
};

} // namespace zk
