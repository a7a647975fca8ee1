#pragma once

#include <bitset>
#include <optional>
#include <string>
#include <string_view>

namespace zk {

inline constexpr int kMinutesPerDay = 24 * 60;
inline constexpr int kMinutesPerWeek = 7 * kMinutesPerDay;

// The days as the time line writes them, Monday first.
inline constexpr const char* kDayNames[7] = {"Mo", "Di", "Mi", "Do", "Fr", "Sa", "So"};

// The minutes of a week in which listed pages are closed. A minute of the week counts from
// Monday 00:00 (0) to Sunday 23:59 (kMinutesPerWeek - 1).
class BlockWeek {
public:
    // Every minute blocked: what a missing or empty time line means.
    static BlockWeek always();

    bool blocked(int minuteOfWeek) const;
    // Blocks or frees the minutes from `from` up to, not including, `to`; a `to` at or before
    // `from` runs on past Sunday midnight into Monday.
    void set(int from, int to, bool on);
    bool none() const { return minutes_.none(); }
    bool all() const { return minutes_.all(); }
    // How many minutes after `minuteOfWeek` the state first differs from its state there
    // (1 ... kMinutesPerWeek - 1); nothing when it never changes.
    std::optional<int> minutesToChange(int minuteOfWeek) const;

    bool operator==(const BlockWeek&) const = default;

private:
    std::bitset<kMinutesPerWeek> minutes_;
};

// What a time line says: the week, or the part of the line that could not be read.
struct BlockTimesLine {
    std::optional<BlockWeek> week;
    std::string badPart; // set when week is empty
};

// Reads the time line of config.ini's key "Zeiten", e.g.
// "Mo-Fr 08:00-12:00 13:00-17:30; Sa 10:00-12:00". A blank line is the whole week.
BlockTimesLine parseBlockTimes(std::string_view line);

// The line for a week as a person would write it: days with the same times grouped
// ("Mo-Fr", "Mo,Mi,Fr"), a time that runs past midnight as one range ("22:00-06:00").
// parseBlockTimes(formatBlockTimes(w)) gives w for every week that is not empty.
std::string formatBlockTimes(const BlockWeek& week);

} // namespace zk
