#include "app/protokoll.h"

#include "schedule/counted_pause.h"

#include <algorithm>

namespace zk {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// A field never breaks the line or its columns.
std::string field(Files& files, std::string text) {
    std::replace_if(
        text.begin(), text.end(), [](char c) { return c == '\t' || c == '\r' || c == '\n'; }, ' ');
    return files.utf8FromAnsi(text);
}

} // namespace

void Protokoll::countToday(const WindowSystem::LocalTime& now) {
    day_ = dateText(now);
    count_ = 0;
    const Files::ReadResult read = files_.readAll(path_);
    const std::string start = '\n' + day_ + ' ';
    const std::string data = '\n' + read.data.substr(read.data.starts_with(kByteOrderMark) ? 3 : 0);
    for (std::size_t at = data.find(start); at != std::string::npos; at = data.find(start, at + 1))
        ++count_;
}

bool Protokoll::schreiben(const CloseRecord& close, const WindowSystem::LocalTime& now) {
    if (dateText(now) != day_) {
        day_ = dateText(now);
        count_ = 0;
    }
    ++count_;
    if (!enabled) return true;
    std::string line = timeStampText(now);
    for (const std::string& part : {std::string(close.tab ? "Tab" : "Fenster"),
                                    std::string(close.titleList ? "Titel" : "Url"), close.entry,
                                    close.program, close.title, close.address})
        line += '\t' + field(files_, part);
    return appendLine(line);
}

// A new file, or one that became the older log, starts with the byte-order mark.
bool Protokoll::appendLine(std::string line) {
    line += "\r\n";
    std::optional<Files::Stamp> stamp = files_.stamp(path_);
    if (stamp && stamp->size + line.size() > kMaxBytes && files_.rename(path_, oldPath_))
        stamp.reset();
    if (!stamp || stamp->size == 0) line.insert(0, kByteOrderMark);
    return files_.append(path_, line);
}

void Protokoll::note(const std::string& text, const WindowSystem::LocalTime& now) {
    if (enabled) appendLine(timeStampText(now) + "\tRichtlinie\t" + field(files_, text));
}

int Protokoll::today(const WindowSystem::LocalTime& now) const {
    return dateText(now) == day_ ? count_ : 0;
}

} // namespace zk
