#pragma once

#include "app/entry_list_file.h"
#include "platform/sim/sim_platform.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace zk {

// The whole program on the simulated platform.
class ProgramTest : public ::testing::Test {
protected:
    static constexpr const char* TitelDatei = "C:\\Programme\\Zuklapper\\lstTitel.txt";
    static constexpr const char* UrlDatei = "C:\\Programme\\Zuklapper\\lstUrl.txt";

    void start(const std::vector<std::string>& titles = {},
               const std::vector<std::string>& urls = {}) {
        if (!titles.empty()) sim.files.put(TitelDatei, formatEntries(titles));
        if (!urls.empty()) sim.files.put(UrlDatei, formatEntries(urls));
        startAsIs();
    }
    void startAsIs() {
        app = std::make_unique<Zuklapper>(sim.platform);
        app->start();
    }
    Form1& form() { return app->form1(); }
    void tick(int count = 1) { sim.advance(std::int64_t{100} * count); }
    sim::SimWindow& win(Hwnd window) { return sim.desktop.window(window); }

    sim::SimPlatform sim;
    std::unique_ptr<Zuklapper> app;
};

} // namespace zk
