#pragma once

#include "platform/window_system.h"
#include "schedule/block_times.h"

#include <cstdint>
#include <optional>
#include <string>

namespace zk {

using LocalTime = WindowSystem::LocalTime;

int minuteOfWeek(const LocalTime& time);
// "2026-12-07", and "2026-12-07 14:03:12".
std::string dateText(const LocalTime& time);
std::string timeStampText(const LocalTime& time);

// The pause the user may take within block times: a few a day, each of a set length. The
// day's count is stored with its date, so a restart gives no new ones.
class CountedPause {
public:
    int minutes = 15;
    int perDay = 3;

    // The count as stored ("2026-12-07 2"); another day's, or one that cannot be read, is 0.
    void restore(const std::string& stored);
    std::string stored() const;
    int left(const LocalTime& now) const;
    // Starts a pause: false when none is left today.
    bool start(const LocalTime& now, std::int64_t milliseconds);
    void end() { endsAt_.reset(); }
    bool running(std::int64_t milliseconds) const { return endsAt_ && milliseconds < *endsAt_; }
    // The clock time the pause ends, "14:35".
    const std::string& endText() const { return endText_; }

private:
    std::string date_;
    int taken_ = 0;
    std::optional<std::int64_t> endsAt_;
    std::string endText_;
};

// What the notification icon's tip says of the block: "Sperrzeit bis 17:30", "frei bis Mo
// 08:00" (with the day when it is not today), "Pause bis 14:35"; "" when always blocked.
std::string blockStateText(const BlockWeek& week, const CountedPause& pause, const LocalTime& now,
                           std::int64_t milliseconds);

} // namespace zk
