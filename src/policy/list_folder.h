#pragma once

#include "platform/accessibility.h"
#include "platform/files.h"

#include <array>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace zk {

// The organisation's list folder, usually on a network share: its lstUrl.txt and
// lstTitel.txt, read away from the user-interface thread (a share that hangs holds up
// nothing) when their time or size changed, at most every kCheckMs. The program never writes
// there. Each good read is kept beside the program (Richtlinie-lstUrl.txt,
// Richtlinie-lstTitel.txt); the copy stands in while a file cannot be reached or read whole.
class ListFolder {
public:
    static constexpr std::int64_t kCheckMs = 30000;
    enum List { Urls, Titles };

    ListFolder(Files& files, Workers& workers) : files_(files), workers_(workers) {}
    ListFolder(const ListFolder&) = delete;
    ListFolder& operator=(const ListFolder&) = delete;
    ~ListFolder() = default;

    // The folder, or none; the program's folder with its backslash, for the copies. The copies
    // are read at once; the folder at the next poll, which reports a change in any case.
    void setFolder(const std::optional<std::string>& folder, const std::string& programPrefix);
    // Starts a check on the worker known by `worker` when one is due; true when the entries
    // changed since the last call.
    bool poll(std::int64_t now, std::uintptr_t worker);
    const std::vector<std::string>& entries(List list) const { return entries_[list]; }
    // What the last check could not use ("" when all was well).
    std::string problem() const;

private:
    // What the worker and this thread share, guarded by the mutex.
    struct Shared {
        std::mutex mutex;
        std::array<std::optional<Files::Stamp>, 2> seen;
        std::array<std::vector<std::string>, 2> entries;
        bool changed = false;
        bool running = false;
        std::string problem;
    };

    Files& files_;
    Workers& workers_;
    std::optional<std::string> folder_;
    std::string programPrefix_;
    std::shared_ptr<Shared> shared_ = std::make_shared<Shared>();
    std::optional<std::int64_t> checkedAt_;
    std::array<std::vector<std::string>, 2> entries_;
};

} // namespace zk
