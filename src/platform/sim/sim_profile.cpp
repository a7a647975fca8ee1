#include "platform/sim/sim_profile.h"

#include "platform/sim/profile_text.h"

namespace zk::sim {

namespace {

// The file's contents; nothing for a missing or unreadable file.
std::optional<std::string> contents(Files& files, const std::string& file) {
    Files::ReadResult read = files.readAll(file);
    if (read.status != Files::ReadStatus::Ok) return std::nullopt;
    return std::move(read.data);
}

} // namespace

std::string SimProfile::readString(const std::string& file, const std::string& section,
                                   const std::string& key, const std::string& fallback,
                                   std::size_t bufferSize) {
    return profileRead(contents(files_, file), section, key, fallback, bufferSize);
}

bool SimProfile::writeString(const std::string& file, const std::string& section,
                             const std::string& key, const std::string& value) {
    if (files_.readAll(file).status == Files::ReadStatus::Failed) return false;
    return files_.replaceAll(file, profileWrite(contents(files_, file), section, key, value));
}

} // namespace zk::sim
