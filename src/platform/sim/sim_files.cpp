#include "platform/sim/sim_files.h"

#include "platform/sim/code_page.h"

#include <algorithm>
#include <cctype>

namespace zk::sim {

std::string SimFiles::key(const std::string& path) {
    std::string k = path;
    std::transform(k.begin(), k.end(), k.begin(), [](unsigned char c) {
        return static_cast<char>(c == '/' ? '\\' : std::tolower(c));
    });
    return k;
}

void SimFiles::put(const std::string& path, std::string data) {
    files_[key(path)] = std::move(data);
    changed(path);
}

std::optional<std::string> SimFiles::get(const std::string& path) const {
    auto found = files_.find(key(path));
    if (found == files_.end()) return std::nullopt;
    return found->second;
}

void SimFiles::remove(const std::string& path) { files_.erase(key(path)); }

void SimFiles::heal() {
    noRead_.clear();
    noWrite_.clear();
    noAppend_.clear();
}

std::optional<Files::Stamp> SimFiles::stamp(const std::string& path) {
    const auto found = files_.find(key(path));
    if (found == files_.end()) return std::nullopt;
    return Stamp{written_[key(path)], found->second.size()};
}

Files::ReadResult SimFiles::readAll(const std::string& path) {
    auto found = files_.find(key(path));
    if (found == files_.end()) return {ReadStatus::NotFound, {}};
    if (noRead_.count(key(path))) return {ReadStatus::Failed, {}};
    return {ReadStatus::Ok, found->second};
}

bool SimFiles::replaceAll(const std::string& path, std::string_view data) {
    ++writes_;
    if (noWrite_.count(key(path))) return false;
    files_[key(path)] = std::string(data);
    changed(path);
    return true;
}

bool SimFiles::append(const std::string& path, std::string_view data) {
    ++writes_;
    if (const auto fault = noAppend_.find(key(path)); fault != noAppend_.end()) {
        if (fault->second > 0) files_[key(path)] += data.substr(0, fault->second);
        changed(path);
        return false;
    }
    files_[key(path)] += data;
    changed(path);
    return true;
}

bool SimFiles::truncate(const std::string& path, std::size_t size) {
    const auto found = files_.find(key(path));
    if (found == files_.end() || noWrite_.count(key(path))) return false;
    if (found->second.size() > size) found->second.resize(size);
    changed(path);
    return true;
}

bool SimFiles::rename(const std::string& from, const std::string& to) {
    const auto found = files_.find(key(from));
    if (found == files_.end() || noWrite_.count(key(from)) || noWrite_.count(key(to))) return false;
    std::string data = std::move(found->second);
    files_.erase(found);
    files_[key(to)] = std::move(data);
    changed(to);
    return true;
}

std::optional<std::string> SimFiles::ansiFromUtf8(std::string_view utf8) {
    return cp1252FromUtf8(utf8);
}

std::string SimFiles::utf8FromAnsi(std::string_view ansi) { return utf8FromCp1252(ansi); }

} // namespace zk::sim
