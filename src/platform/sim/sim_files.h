#pragma once

#include "platform/files.h"

#include <map>
#include <optional>
#include <set>
#include <string>

namespace zk::sim {

// In-memory files with Windows path rules (letter case ignored) and injectable faults.
class SimFiles final : public Files {
public:
    explicit SimFiles(std::string programFolder = "C:\\Programme\\Zuklapper")
        : folder_(std::move(programFolder)) {}

    void setProgramFolder(std::string folder) { folder_ = std::move(folder); }

    // Test access to the stored files.
    void put(const std::string& path, std::string data);
    std::optional<std::string> get(const std::string& path) const;
    bool exists(const std::string& path) const { return get(path).has_value(); }
    void remove(const std::string& path);

    // Faults: the file cannot be read, replaced or appended to; an append that fails may
    // still have written the first bytes of its data.
    void failReads(const std::string& path) { noRead_.insert(key(path)); }
    void failWrites(const std::string& path) { noWrite_.insert(key(path)); }
    void failAppends(const std::string& path, std::size_t written = 0) {
        noAppend_[key(path)] = written;
    }
    void heal();

    // How many replace and append operations were attempted.
    int writes() const { return writes_; }

    std::string programFolder() override { return folder_; }
    std::string programPath() override {
        return folder_ + (folder_.ends_with('\\') ? "" : "\\") + "zuklapper.exe";
    }
    ReadResult readAll(const std::string& path) override;
    // Each change of a file gives it a new time.
    std::optional<Stamp> stamp(const std::string& path) override;
    bool replaceAll(const std::string& path, std::string_view data) override;
    bool append(const std::string& path, std::string_view data) override;
    bool truncate(const std::string& path, std::size_t size) override;
    bool rename(const std::string& from, const std::string& to) override;
    std::optional<std::string> ansiFromUtf8(std::string_view utf8) override;
    std::string utf8FromAnsi(std::string_view ansi) override;

private:
    static std::string key(const std::string& path);

    std::string folder_;
    void changed(const std::string& path) { written_[key(path)] = ++changes_; }

    std::map<std::string, std::string> files_;
    std::map<std::string, std::uint64_t> written_;
    std::uint64_t changes_ = 0;
    std::set<std::string> noRead_, noWrite_;
    std::map<std::string, std::size_t> noAppend_;
    int writes_ = 0;
};

} // namespace zk::sim
