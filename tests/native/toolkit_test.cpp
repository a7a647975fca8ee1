#include "platform/sim/sim_platform.h"

#include <gtest/gtest.h>

namespace zk {
namespace {

struct Toolkit : ::testing::Test {
    sim::SimPlatform sim;
    ui::Window window{sim.toolkit,
                      {.name = "w", .caption = "W", .clientWidth = 1000, .clientHeight = 1000}};
};

TEST_F(Toolkit, SortedListsPlaceItemsIgnoringLetterCase) {
    ui::ListBox list(window, {.name = "l", .sorted = true});
    int clicks = 0;
    list.onClick = [&] { ++clicks; };
    list.setItems({"b", "\xC4rger", "A", "c"}); // "Ärger" sorts beside "A", not after "c"
    EXPECT_EQ(list.items(), (std::vector<std::string>{"A", "\xC4rger", "b", "c"}));
    list.setListIndex(2);
    EXPECT_EQ(list.addItem("B"), 3); // after its equal
    EXPECT_EQ(list.listIndex(), 2);  // the selection stays on its item
    list.setListIndex(4);
    list.removeItem(0);
    EXPECT_EQ(list.listIndex(), 3);
    EXPECT_EQ(list.item(3), "c");
    list.setListIndex(99);
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(list.findExact("\xE4RGER"), 0);
    EXPECT_EQ(list.findExact("rger"), -1);
}

TEST_F(Toolkit, TimersWaitForTheLoadAndDoNotOverlap) {
    ui::Timer timer(window, {.name = "t", .intervalMs = 100, .enabled = true});
    int ticks = 0;
    window.onLoad = [&] { sim.advance(500); }; // a modal loop inside the load
    timer.onTimer = [&] {
        ++ticks;
        if (ticks == 1) sim.advance(300); // a modal loop inside the tick
    };
    window.show();
    EXPECT_EQ(ticks, 0);
    sim.advance(100);
    EXPECT_EQ(ticks, 1);
    timer.setEnabled(false);
    sim.advance(1000);
    EXPECT_EQ(ticks, 1);
    timer.setEnabled(true);
    sim.advance(250);
    EXPECT_EQ(ticks, 3);
}

} // namespace
} // namespace zk
