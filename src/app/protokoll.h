#pragma once

#include "platform/files.h"
#include "platform/window_system.h"

#include <cstdint>
#include <string>

namespace zk {

// One close as the log keeps it; the texts in the system's code page.
struct CloseRecord {
    bool tab = false;       // a tab, or the whole window
    bool titleList = false; // the entry's list
    std::string entry;
    std::string program; // "" when not known
    std::string title;
    std::string address;
};

// Protokoll.txt beside the program: one line per close, UTF-8 with a byte-order mark,
// fields separated by tabs. At kMaxBytes it becomes Protokoll.alt.txt and starts anew.
class Protokoll {
public:
    static constexpr std::uint64_t kMaxBytes = std::uint64_t{1} << 20;

    explicit Protokoll(Files& files) : files_(files) {}
    // The folder, with its backslash, that holds the log.
    void setFolder(const std::string& prefix) {
        path_ = prefix + "Protokoll.txt";
        oldPath_ = prefix + "Protokoll.alt.txt";
    }

    // Whether closes are written down; they are counted either way.
    bool enabled = true;

    // Counts the closes of the day the file holds already.
    void countToday(const WindowSystem::LocalTime& now);
    // Counts the close and appends its line: false when the line could not be written.
    bool schreiben(const CloseRecord& close, const WindowSystem::LocalTime& now);
    // Notes what the program could not use (of a policy) as a line of its own.
    void note(const std::string& text, const WindowSystem::LocalTime& now);
    // The closes of today.
    int today(const WindowSystem::LocalTime& now) const;
    const std::string& path() const { return path_; }

private:
    bool appendLine(std::string line);

    Files& files_;
    std::string path_;
    std::string oldPath_;
    std::string day_;
    int count_ = 0;
};

} // namespace zk
