#pragma once

#include "platform/files.h"

namespace zk {

// Files through kernel32, with ANSI paths.
class Win32Files final : public Files {
public:
    std::string programFolder() override;
    std::string programPath() override;
    ReadResult readAll(const std::string& path) override;
    std::optional<Stamp> stamp(const std::string& path) override;
    bool replaceAll(const std::string& path, std::string_view data) override;
    bool append(const std::string& path, std::string_view data) override;
    bool truncate(const std::string& path, std::size_t size) override;
    bool rename(const std::string& from, const std::string& to) override;
    std::optional<std::string> ansiFromUtf8(std::string_view utf8) override;
    std::string utf8FromAnsi(std::string_view ansi) override;
};

} // namespace zk
