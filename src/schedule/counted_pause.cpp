#include "schedule/counted_pause.h"

#include <cstdio>

namespace zk {

int minuteOfWeek(const LocalTime& time) {
    return time.weekday * kMinutesPerDay + time.hour * 60 + time.minute;
}

std::string dateText(const LocalTime& time) {
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", time.year % 10000, time.month % 100,
                  time.day % 100);
    return text;
}

std::string timeStampText(const LocalTime& time) {
    char text[16];
    std::snprintf(text, sizeof text, " %02d:%02d:%02d", time.hour % 100, time.minute % 100,
                  time.second % 100);
    return dateText(time) + text;
}

namespace {

std::string clockText(int minuteOfDay) {
    char text[8];
    std::snprintf(text, sizeof text, "%02d:%02d", minuteOfDay / 60 % 100, minuteOfDay % 60);
    return text;
}

} // namespace

void CountedPause::restore(const std::string& stored) {
    date_.clear();
    taken_ = 0;
    int taken = 0;
    char date[11] = {};
    char rest = 0;
    if (std::sscanf(stored.c_str(), "%10s %d %c", date, &taken, &rest) == 2 && taken >= 0) {
        date_ = date;
        taken_ = taken;
    }
}

std::string CountedPause::stored() const { return date_ + " " + std::to_string(taken_); }

int CountedPause::left(const LocalTime& now) const {
    const int taken = date_ == dateText(now) ? taken_ : 0;
    return perDay > taken ? perDay - taken : 0;
}

bool CountedPause::start(const LocalTime& now, std::int64_t milliseconds) {
    if (left(now) == 0) return false;
    if (date_ != dateText(now)) taken_ = 0;
    date_ = dateText(now);
    ++taken_;
    // Whole minutes, from the next full minute: it ends when its tip says.
    const int begin = now.second > 0 ? 1 : 0;
    endsAt_ =
        milliseconds + std::int64_t{begin + minutes} * 60000 - std::int64_t{now.second} * 1000;
    endText_ = clockText((now.hour * 60 + now.minute + begin + minutes) % kMinutesPerDay);
    return true;
}

std::string blockStateText(const BlockWeek& week, const CountedPause& pause, const LocalTime& now,
                           std::int64_t milliseconds) {
    if (pause.running(milliseconds)) return "Pause bis " + pause.endText();
    const int at = minuteOfWeek(now);
    const std::optional<int> ahead = week.minutesToChange(at);
    if (!ahead) return week.all() ? "" : "frei";
    const int change = (at + *ahead) % kMinutesPerWeek;
    std::string when = clockText(change % kMinutesPerDay);
    // Another day than today, or today a week later.
    if (change / kMinutesPerDay != now.weekday || *ahead >= kMinutesPerDay)
        when = std::string(kDayNames[change / kMinutesPerDay]) + " " + when;
    return (week.blocked(at) ? "Sperrzeit bis " : "frei bis ") + when;
}

} // namespace zk
