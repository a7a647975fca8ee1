#include "app/entry_list_file.h"

#include "app/utf8.h"

#include <algorithm>

namespace zk {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isLineEnd(char c) { return c == '\r' || c == '\n'; }

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// The text of a UTF-8 list file, without its byte-order mark.
std::string_view utf8Text(std::string_view data) {
    if (data.starts_with(kByteOrderMark)) data.remove_prefix(kByteOrderMark.size());
    return data;
}

class FieldReader {
public:
    explicit FieldReader(std::string_view data) : data_(data) {}

    bool atEnd() const { return pos_ >= data_.size(); }

    std::string next() {
        skipBlanks();
        std::string field = !atEnd() && data_[pos_] == '"' ? quoted() : unquoted();
        endField();
        return field;
    }

private:
    void skipBlanks() {
        while (!atEnd() && isBlank(data_[pos_])) ++pos_;
    }
    std::size_t lineEnd(std::size_t from) const {
        while (from < data_.size() && !isLineEnd(data_[from])) ++from;
        return from;
    }

    // The closing quote is the first one that only blanks separate from a comma, the line
    // end or the end of the data. Without one the field runs to the end of its line.
    std::string quoted() {
        const std::size_t start = ++pos_;
        const std::size_t end = lineEnd(start);
        for (std::size_t q = start; q < end; ++q) {
            if (data_[q] != '"') continue;
            std::size_t after = q + 1;
            while (after < end && isBlank(data_[after])) ++after;
            if (after == end || data_[after] == ',') {
                pos_ = after;
                return std::string(data_.substr(start, q - start));
            }
        }
        pos_ = end;
        return std::string(data_.substr(start, end - start));
    }

    std::string unquoted() {
        const std::size_t start = pos_;
        while (!atEnd() && data_[pos_] != ',' && !isLineEnd(data_[pos_])) ++pos_;
        std::size_t end = pos_;
        while (end > start && isBlank(data_[end - 1])) --end;
        return std::string(data_.substr(start, end - start));
    }

    // Consumes the comma or the line end (CR LF, LF or CR) that closes the field.
    void endField() {
        if (atEnd()) return;
        const char c = data_[pos_];
        if (c == ',' || c == '\n') {
            ++pos_;
        } else if (c == '\r') {
            ++pos_;
            if (!atEnd() && data_[pos_] == '\n') ++pos_;
        }
    }

    std::string_view data_;
    std::size_t pos_ = 0;
};

} // namespace

std::vector<std::string> parseEntries(std::string_view data) {
    std::vector<std::string> entries;
    FieldReader reader(data);
    while (!reader.atEnd()) entries.push_back(reader.next());
    return entries;
}

std::string formatEntry(std::string_view entry) {
    std::string line;
    line.reserve(entry.size() + 4);
    line += '"';
    line += entry;
    line += "\"\r\n";
    return line;
}

std::string formatEntries(const std::vector<std::string>& entries) {
    std::string data;
    for (const std::string& entry : entries) data += formatEntry(entry);
    return data;
}

bool isUtf8ListFile(std::string_view data) {
    return data.starts_with(kByteOrderMark) || utf8BeyondAscii(data);
}

bool Liste_einlesen(EntryList& Eintraege, Files& files, const std::string& Datei) {
    const Files::ReadResult file = files.readAll(Datei);
    if (file.status != Files::ReadStatus::Ok) {
        Eintraege.assign({});
        return file.status == Files::ReadStatus::NotFound;
    }
    if (!isUtf8ListFile(file.data)) {
        Eintraege.assign(parseEntries(file.data));
        return true;
    }
    // UTF-8 sequences hold no quote, comma, blank or line end: the fields are found alike. A
    // file with the mark may hold ANSI records too, appended by older versions: a field that
    // is no UTF-8 keeps its bytes.
    const bool marked = file.data.starts_with(kByteOrderMark);
    std::vector<std::string> entries;
    bool complete = true;
    for (std::string& field : parseEntries(utf8Text(file.data))) {
        if (marked && !validUtf8(field))
            entries.push_back(std::move(field));
        else if (std::optional<std::string> entry = files.ansiFromUtf8(field))
            entries.push_back(std::move(*entry));
        else
            complete = false;
    }
    Eintraege.assign(std::move(entries));
    return complete;
}

bool appendEntry(Files& files, const std::string& path, std::string_view entry) {
    std::string record = formatEntry(entry);
    const Files::ReadResult file = files.readAll(path);
    if (file.status == Files::ReadStatus::Ok) {
        const bool utf8 = isUtf8ListFile(file.data);
        const std::string_view text = utf8 ? utf8Text(file.data) : std::string_view(file.data);
        if (!text.empty() && !isLineEnd(text.back())) record.insert(0, "\r\n");
        if (utf8) record = files.utf8FromAnsi(record);
    }
    if (files.append(path, record)) return true;
    // A record cut short would read back as a shorter entry, which matches more.
    if (file.status != Files::ReadStatus::Failed) files.truncate(path, file.data.size());
    return false;
}

std::optional<std::vector<std::string>> removeEntry(Files& files, const std::string& path,
                                                    const std::string& entry, const TextLess& less,
                                                    bool& written) {
    EntryList read;
    written = false;
    if (!Liste_einlesen(read, files, path)) return std::nullopt;
    std::vector<std::string> rest = read.items();
    if (const auto at = std::find(rest.begin(), rest.end(), entry); at != rest.end())
        rest.erase(at);
    std::stable_sort(rest.begin(), rest.end(), less);
    written = files.replaceAll(path, formatEntries(rest));
    return written ? rest : read.items();
}

bool UnsavedEntries::append(Files& files, const std::string& path, const std::string& entry) {
    if (appendEntry(files, path, entry)) return true;
    entries_[path].push_back(entry);
    return false;
}

std::vector<std::string> UnsavedEntries::with(const std::string& path,
                                              std::vector<std::string> entries) const {
    if (const auto found = entries_.find(path); found != entries_.end())
        entries.insert(entries.end(), found->second.begin(), found->second.end());
    return entries;
}

std::optional<std::vector<std::string>> UnsavedEntries::remove(Files& files,
                                                               const std::string& path,
                                                               const std::string& entry,
                                                               const TextLess& less, bool& saved) {
    std::vector<std::string>& unsaved = entries_[path];
    saved = true;
    const auto at = std::find(unsaved.begin(), unsaved.end(), entry);
    if (at == unsaved.end()) {
        std::optional<std::vector<std::string>> left = removeEntry(files, path, entry, less, saved);
        return left ? std::optional(with(path, std::move(*left))) : std::nullopt;
    }
    EntryList read;
    if (!Liste_einlesen(read, files, path)) return std::nullopt;
    unsaved.erase(at);
    return with(path, read.items());
}

} // namespace zk
