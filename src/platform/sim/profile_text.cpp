#include "platform/sim/profile_text.h"

#include <vector>

namespace zk::sim {

namespace {

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f' || c == '\x1a';
}

std::string_view trim(std::string_view text) {
    while (!text.empty() && isSpace(text.front())) text.remove_prefix(1);
    while (!text.empty() && isSpace(text.back())) text.remove_suffix(1);
    return text;
}

unsigned char fold(unsigned char c) {
    if (c >= 'A' && c <= 'Z') return static_cast<unsigned char>(c + 32);
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<unsigned char>(c + 32);
    return c;
}

bool sameName(std::string_view a, std::string_view b) {
    a = trim(a);
    b = trim(b);
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (fold(static_cast<unsigned char>(a[i])) != fold(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

// One line of the file, as the reader sees it.
struct Line {
    std::size_t begin = 0; // in the file, line end excluded
    std::size_t end = 0;
    std::size_t next = 0; // start of the next line
    bool section = false;
    std::string_view name; // section or key name
    bool hasValue = false;
    std::string_view value;
};

std::vector<Line> parse(std::string_view file) {
    std::vector<Line> lines;
    for (std::size_t pos = 0; pos < file.size();) {
        std::size_t end = file.find('\n', pos);
        const std::size_t next = end == std::string_view::npos ? file.size() : end + 1;
        if (end == std::string_view::npos) end = file.size();
        Line line;
        line.begin = pos;
        line.end = end;
        line.next = next;
        const std::string_view text = trim(file.substr(pos, end - pos));
        const std::size_t close = text.rfind(']');
        if (!text.empty() && text.front() == '[' && close != std::string_view::npos) {
            line.section = true;
            line.name = text.substr(1, close - 1);
        } else if (!text.empty()) {
            const std::size_t equals = text.find('=');
            line.name = trim(text.substr(0, equals));
            if (equals != std::string_view::npos) {
                line.hasValue = true;
                line.value = trim(text.substr(equals + 1));
            }
        }
        lines.push_back(line);
        pos = next;
    }
    return lines;
}

struct Place {
    int section = -1;   // index of the section line
    int key = -1;       // index of the key line
    int sectionEnd = 0; // one past the section's last non-empty line
};

Place find(const std::vector<Line>& lines, std::string_view section, std::string_view key) {
    Place place;
    for (int i = 0; i < static_cast<int>(lines.size()); ++i) {
        const Line& line = lines[static_cast<std::size_t>(i)];
        if (place.section < 0) {
            if (line.section && sameName(line.name, section)) {
                place.section = i;
                place.sectionEnd = i + 1;
            }
            continue;
        }
        if (line.section) break;
        if (line.name.empty() && !line.hasValue) continue;
        place.sectionEnd = i + 1;
        if (place.key < 0 && sameName(line.name, key)) place.key = i;
    }
    return place;
}

std::string cut(std::string_view text, std::size_t bufferSize) {
    if (bufferSize == 0) return {};
    return std::string(text.substr(0, bufferSize - 1));
}

} // namespace

std::string profileRead(const std::optional<std::string>& file, std::string_view section,
                        std::string_view key, std::string_view fallback, std::size_t bufferSize) {
    if (file) {
        const std::vector<Line> lines = parse(*file);
        const Place place = find(lines, section, key);
        if (place.key >= 0 && lines[static_cast<std::size_t>(place.key)].hasValue) {
            std::string_view value = lines[static_cast<std::size_t>(place.key)].value;
            if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
                value.back() == value.front())
                value = value.substr(1, value.size() - 2);
            return cut(value, bufferSize);
        }
    }
    std::size_t length = fallback.size();
    while (length > 1 && fallback[length - 1] == ' ') --length;
    return cut(fallback.substr(0, length), bufferSize);
}

std::string profileWrite(const std::optional<std::string>& file, std::string_view section,
                         std::string_view key, std::string_view value) {
    const std::string data = file.value_or(std::string{});
    const std::vector<Line> lines = parse(data);
    const Place place = find(lines, section, key);
    const std::string text = std::string("=").append(trim(value));
    const std::string keyLine = std::string(trim(key)) + text;
    std::string out;
    if (place.key >= 0) {
        const Line& line = lines[static_cast<std::size_t>(place.key)];
        out = data.substr(0, line.begin) + std::string(line.name) + text; // in the file's spelling
        out += data.substr(line.end > line.begin && data[line.end - 1] == '\r' ? line.end - 1
                                                                               : line.end);
        return out;
    }
    if (place.section >= 0) {
        const std::size_t at = lines[static_cast<std::size_t>(place.sectionEnd - 1)].next;
        out = data.substr(0, at);
        if (!out.empty() && out.back() != '\n') out += "\r\n";
        return out + keyLine + "\r\n" + data.substr(at);
    }
    out = data;
    if (!out.empty() && out.back() != '\n') out += "\r\n";
    return out + "[" + std::string(trim(section)) + "]\r\n" + keyLine + "\r\n";
}

} // namespace zk::sim
