#include "schedule/block_times.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <utility>
#include <vector>

namespace zk {
namespace {

// A minute's place in the week, counted round it.
std::size_t bit(int minuteOfWeek) {
    return static_cast<std::size_t>((minuteOfWeek % kMinutesPerWeek + kMinutesPerWeek) %
                                    kMinutesPerWeek);
}

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view trim(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    return text;
}

std::optional<int> dayOf(std::string_view word) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    for (int d = 0; d < 7; ++d) {
        const std::string_view name = kDayNames[d];
        if (word.size() == 2 && lower(word[0]) == lower(name[0]) &&
            lower(word[1]) == lower(name[1]))
            return d;
    }
    return std::nullopt;
}

// "H:MM" or "HH:MM" as a minute of the day; "24:00" only as an end.
std::optional<int> minuteOf(std::string_view time, bool end) {
    const std::size_t colon = time.find(':');
    if (colon < 1 || colon > 2 || time.size() != colon + 3) return std::nullopt;
    int hours = 0;
    int minutes = 0;
    for (std::size_t i = 0; i < time.size(); ++i) {
        if (i == colon) continue;
        if (time[i] < '0' || time[i] > '9') return std::nullopt;
        int& part = i < colon ? hours : minutes;
        part = part * 10 + (time[i] - '0');
    }
    if (minutes > 59 || hours > 24 || (hours == 24 && (minutes > 0 || !end))) return std::nullopt;
    return hours * 60 + minutes;
}

// The words and times of a group, and each '-' and ',' on its own, as [from, to) offsets.
std::vector<std::pair<std::size_t, std::size_t>> piecesOf(std::string_view group) {
    std::vector<std::pair<std::size_t, std::size_t>> pieces;
    const auto separator = [](char c) { return c == '-' || c == ','; };
    for (std::size_t i = 0; i < group.size(); ++i) {
        if (isBlank(group[i])) continue;
        std::size_t end = i + 1;
        if (!separator(group[i]))
            while (end < group.size() && !isBlank(group[end]) && !separator(group[end])) ++end;
        pieces.emplace_back(i, end);
        i = end - 1;
    }
    return pieces;
}

// Adds a group's times on its days to `week`; otherwise gives the piece that could not be read.
std::optional<std::string_view> readGroup(std::string_view group, BlockWeek& week) {
    const auto pieces = piecesOf(group);
    const auto span = [&](std::size_t first, std::size_t last) {
        return group.substr(pieces[first].first, pieces[last].second - pieces[first].first);
    };
    const auto at = [&](std::size_t i) { return i < pieces.size() ? span(i, i) : ""; };
    // Where a day is due: a stray word is the fault itself; a time or nothing leaves the group
    // without days, or the day and '-' or ',' before it unfinished.
    const auto noDay = [&](std::size_t i) {
        if (i < pieces.size() && !minuteOf(at(i), true)) return at(i);
        return i == 0 ? group : span(i - 2, i - 1);
    };

    std::bitset<7> days;
    std::size_t i = 0;
    for (;;) {
        const auto first = dayOf(at(i));
        if (!first) return noDay(i);
        int last = *first;
        if (at(i + 1) == "-") {
            const auto end = dayOf(at(i + 2));
            if (!end) return noDay(i + 2);
            last = *end;
            i += 2;
        }
        for (int d = *first; d != last; d = (d + 1) % 7) days.set(d);
        days.set(last);
        if (at(++i) != ",") break;
        ++i;
    }
    if (i == pieces.size()) return group;

    for (; i < pieces.size(); i += 3) {
        const auto from = minuteOf(at(i), false);
        if (!from || at(i + 1) != "-") return at(i);
        if (i + 2 == pieces.size()) return span(i, i + 1);
        const auto to = minuteOf(at(i + 2), true);
        if (!to) return at(i + 2);
        if (*to == *from) return span(i, i + 2);
        const int end = *to > *from ? *to : *to + kMinutesPerDay; // else on the next day
        for (int d = 0; d < 7; ++d)
            if (days[d]) week.set(d * kMinutesPerDay + *from, d * kMinutesPerDay + end, true);
    }
    return std::nullopt;
}

std::string hhmm(int minuteOfDay) {
    char text[8] = {};
    std::snprintf(text, sizeof text, "%02d:%02d", minuteOfDay / 60, minuteOfDay % 60);
    return text;
}

// The first day written and the days as "Mo-Fr", "Mo,Mi,Fr" or "Mi,Sa-Mo": runs of three days
// or more, round the week too, as ranges.
std::pair<int, std::string> dayList(const std::bitset<7>& days) {
    if (days.all()) return {0, "Mo-So"};
    std::array<std::string, 7> items; // by their first day
    for (int d = 0; d < 7; ++d) {
        if (!days[d] || days[(d + 6) % 7]) continue;
        int length = 1;
        while (days[(d + length) % 7]) ++length;
        if (length >= 3)
            items[d] = std::string(kDayNames[d]) + '-' + kDayNames[(d + length - 1) % 7];
        else
            for (int k = d; k < d + length; ++k) items[k % 7] = kDayNames[k % 7];
    }
    std::pair<int, std::string> list{-1, ""};
    for (int d = 0; d < 7; ++d) {
        if (items[d].empty()) continue;
        if (list.first < 0) list.first = d;
        list.second += (list.second.empty() ? "" : ",") + items[d];
    }
    return list;
}

} // namespace

BlockWeek BlockWeek::always() {
    BlockWeek week;
    week.minutes_.set();
    return week;
}

bool BlockWeek::blocked(int minuteOfWeek) const { return minutes_[bit(minuteOfWeek)]; }

void BlockWeek::set(int from, int to, bool on) {
    const auto first = static_cast<int>(bit(from));
    const auto end = static_cast<int>(bit(to));
    const int length = end > first ? end - first : end + kMinutesPerWeek - first;
    for (int m = first; m < first + length; ++m) minutes_[bit(m)] = on;
}

std::optional<int> BlockWeek::minutesToChange(int minuteOfWeek) const {
    const bool now = blocked(minuteOfWeek);
    for (int later = 1; later < kMinutesPerWeek; ++later)
        if (blocked(minuteOfWeek + later) != now) return later;
    return std::nullopt;
}

BlockTimesLine parseBlockTimes(std::string_view line) {
    if (trim(line).empty()) return {BlockWeek::always(), {}};
    BlockWeek week;
    bool anyGroup = false;
    for (std::size_t start = 0; start <= line.size();) {
        const std::size_t end = std::min(line.find(';', start), line.size());
        const std::string_view group = trim(line.substr(start, end - start));
        start = end + 1;
        if (group.empty()) continue;
        anyGroup = true;
        if (const auto bad = readGroup(group, week)) return {std::nullopt, std::string(*bad)};
    }
    if (!anyGroup) return {std::nullopt, std::string(trim(line))};
    return {week, {}};
}

std::string formatBlockTimes(const BlockWeek& week) {
    std::array<std::vector<std::pair<int, int>>, 7> ranges; // [from, to) per day
    for (int d = 0; d < 7; ++d)
        for (int m = 0; m < kMinutesPerDay; ++m) {
            if (!week.blocked(d * kMinutesPerDay + m)) continue;
            auto& day = ranges[d];
            if (day.empty() || day.back().second != m) day.emplace_back(m, m);
            day.back().second = m + 1;
        }
    // A range to midnight and the next day's from midnight become one, where its end comes
    // before its start (which also keeps whole days apart).
    for (int d = 0; d < 7; ++d) {
        auto& today = ranges[d];
        auto& next = ranges[(d + 1) % 7];
        if (today.empty() || next.empty()) continue;
        if (today.back().second == kMinutesPerDay && next.front().first == 0 &&
            next.front().second < today.back().first) {
            today.back().second = next.front().second;
            next.erase(next.begin());
        }
    }

    std::array<std::string, 7> groups; // by their first day
    std::bitset<7> done;
    for (int d = 0; d < 7; ++d) {
        if (done[d] || ranges[d].empty()) continue;
        std::bitset<7> same;
        for (int other = d; other < 7; ++other)
            if (ranges[other] == ranges[d]) same.set(other);
        done |= same;
        auto [first, text] = dayList(same);
        for (const auto& [from, to] : ranges[d]) text += ' ' + hhmm(from) + '-' + hhmm(to);
        groups[first] = std::move(text);
    }
    std::string line;
    for (const auto& group : groups)
        if (!group.empty()) line += (line.empty() ? "" : "; ") + group;
    return line;
}

} // namespace zk
