#include "schedule/block_times.h"

#include <gtest/gtest.h>

#include <random>

namespace zk {
namespace {

constexpr int at(int day, int h, int m = 0) { return day * kMinutesPerDay + h * 60 + m; }

// Lines come back in short form and read as the same week; faulty ones name what to fix.
TEST(BlockTimes, LinesAreWrittenShortOrNameTheirFault) {
    // clang-format off
    const std::pair<const char*, const char*> cases[] = {
        {"mo - fr  8:00-12:00 13:00 - 17:30; Sa 10:00-12:00",
         "Mo-Fr 08:00-12:00 13:00-17:30; Sa 10:00-12:00"},
        {"So-Do 22:00-06:00", "So-Do 22:00-06:00"}, {";; SO 23:00-1:00 ;", "So 23:00-01:00"},
        {"Mo 10:00-24:00; Di 0:00-10:00", "Mo 10:00-24:00; Di 00:00-10:00"},
        {"Mo 22:00-24:00; Di 00:00-24:00", "Mo 22:00-24:00; Di 00:00-24:00"},
        {"Fr,Mi,Mo 00:00-24:00", "Mo,Mi,Fr 00:00-24:00"}, {" ", "Mo-So 00:00-24:00"},
        {"Sa-Mo 9:00-10:00; Mi 9:30-10:00 9:00-9:30", "Mi,Sa-Mo 09:00-10:00"},
        {"Mo-Mi,Fr 8:00-9:00; So,Sa 8:00-9:00 12:00-24:00",
         "Mo-Mi,Fr 08:00-09:00; Sa,So 08:00-09:00 12:00-24:00"},
        {"Mx 8:00-9:00", "bad Mx"}, {"Mo 8:00-24:01", "bad 24:01"}, {"Mo 8:00 -", "bad 8:00 -"},
        {"Mo 25:00-1:00", "bad 25:00"}, {"Mo 24:00-2:00", "bad 24:00"}, {"Mo 8:0-9:00", "bad 8:0"},
        {"Mo 8:00 - 8:00", "bad 8:00 - 8:00"}, {"Mo 1:60-2", "bad 1:60"}, {"Mo 8:00", "bad 8:00"},
        {"Mo 8:00-9:00; Sa - So ", "bad Sa - So"}, {"Mo Di 8:00-9", "bad Di"}, {" ; ;", "bad ; ;"},
        {"Mo, 8:00-9:00", "bad Mo,"}, {"8:00-9:00", "bad 8:00-9:00"}};
    // clang-format on
    for (const auto& [line, expected] : cases) {
        const auto read = parseBlockTimes(line);
        EXPECT_EQ(read.week ? formatBlockTimes(*read.week) : "bad " + read.badPart, expected);
        if (read.week) EXPECT_TRUE(parseBlockTimes(expected).week == read.week) << expected;
    }
}

// Sunday's night runs on into Monday morning.
TEST(BlockTimes, RangesHoldFromTheirStartUpToTheirEnd) {
    const auto week = *parseBlockTimes("Mo-Fr 08:00-12:00; So 22:00-06:00").week;
    const std::pair<int, bool> minutes[] = {
        {at(0, 7, 59), false},  {at(0, 8), true},  {at(4, 11, 59), true}, {at(4, 12), false},
        {at(6, 21, 59), false}, {at(6, 22), true}, {at(6, 23, 59), true}, {at(0, 0), true},
        {at(0, 5, 59), true},   {at(0, 6), false}, {at(1, 0), false}};
    for (const auto& [minute, on] : minutes) EXPECT_EQ(week.blocked(minute), on) << minute;
    const std::pair<int, int> changes[] = {
        {at(0, 0), 6 * 60}, {at(0, 6), 2 * 60}, {at(6, 23, 59), 6 * 60 + 1}, {at(6, 21, 59), 1}};
    for (const auto& [minute, after] : changes) EXPECT_EQ(week.minutesToChange(minute), after);
    EXPECT_FALSE(BlockWeek::always().minutesToChange(5) || BlockWeek().minutesToChange(5));
}

// Weeks of half hours, each day one of a few shapes, so days share times and nights join.
TEST(BlockTimes, EveryWeekReadsBackFromItsLine) {
    std::mt19937_64 random(1);
    for (int trial = 0; trial < 400; ++trial) {
        const std::uint64_t shapes[] = {random(), random() | random(), random() & random(), ~0ULL};
        BlockWeek week;
        for (int day = 0; day < 7; ++day) {
            const std::uint64_t shape = random() % 5 == 0 ? 0 : shapes[random() % 4];
            for (int half = 0; half < 48; ++half)
                week.set(at(day, 0, half * 30), at(day, 0, half * 30 + 30), (shape >> half) & 1);
        }
        if (week.none()) continue;
        EXPECT_TRUE(parseBlockTimes(formatBlockTimes(week)).week == week) << formatBlockTimes(week);
    }
}

} // namespace
} // namespace zk
