#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zk {

// Whole-file operations on Windows-style paths. Each call opens the file for exactly one
// operation and closes it again; none throws.
class Files {
public:
    enum class ReadStatus { Ok, NotFound, Failed };
    struct ReadResult {
        ReadStatus status = ReadStatus::NotFound;
        std::string data;
    };

    // When a file was last written, and its size.
    struct Stamp {
        std::uint64_t written = 0;
        std::uint64_t size = 0;
        bool operator==(const Stamp&) const = default;
    };

    virtual ~Files() = default;

    // The folder of the running program as the system gives it: without a trailing
    // backslash, except at a drive root ("C:\").
    virtual std::string programFolder() = 0;
    // The running program's own file, with its folder.
    virtual std::string programPath() = 0;

    virtual ReadResult readAll(const std::string& path) = 0;
    // The file's stamp, without opening it; nothing when it is missing or cannot be asked.
    virtual std::optional<Stamp> stamp(const std::string& path) = 0;
    // Replaces the file's contents in one step: either the new contents are in place
    // afterwards, or the old file is untouched. Returns false on failure.
    virtual bool replaceAll(const std::string& path, std::string_view data) = 0;
    // Appends to the file, creating it when missing. Returns false on failure, when part of
    // the data may have been written.
    virtual bool append(const std::string& path, std::string_view data) = 0;
    // Renames the file, replacing a file of the new name. Returns false on failure.
    virtual bool rename(const std::string& from, const std::string& to) = 0;
    // Cuts an existing file back to its first `size` bytes. Returns false on failure.
    virtual bool truncate(const std::string& path, std::size_t size) = 0;

    // File text is in the system's ANSI code page; a file saved as UTF-8 is converted with
    // these. Nothing when the text is no valid UTF-8 or holds a character the code page
    // cannot hold.
    virtual std::optional<std::string> ansiFromUtf8(std::string_view utf8) = 0;
    virtual std::string utf8FromAnsi(std::string_view ansi) = 0;
};

} // namespace zk
