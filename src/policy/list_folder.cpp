#include "policy/list_folder.h"

#include "app/entry_list_file.h"

namespace zk {

namespace {

constexpr const char* kNames[] = {"lstUrl.txt", "lstTitel.txt"};

std::string copyPath(const std::string& programPrefix, int list) {
    return programPrefix + "Richtlinie-" + kNames[list];
}

} // namespace

void ListFolder::setFolder(const std::optional<std::string>& folder,
                           const std::string& programPrefix) {
    if (folder == folder_ && programPrefix == programPrefix_) {
        const std::lock_guard lock(shared_->mutex);
        shared_->changed = true;
        return;
    }
    folder_ = folder;
    programPrefix_ = programPrefix;
    shared_ = std::make_shared<Shared>(); // a check still running is for the old folder
    checkedAt_.reset();
    for (int list : {Urls, Titles}) {
        EntryList copy;
        if (folder_) Liste_einlesen(copy, files_, copyPath(programPrefix_, list));
        shared_->entries[static_cast<std::size_t>(list)] = copy.items();
    }
    shared_->changed = true;
}

bool ListFolder::poll(std::int64_t now, std::uintptr_t worker) {
    Shared& shared = *shared_;
    bool changed = false;
    {
        const std::lock_guard lock(shared.mutex);
        if (shared.changed) {
            entries_ = shared.entries;
            shared.changed = false;
            changed = true;
        }
        if (!folder_ || shared.running || (checkedAt_ && now - *checkedAt_ < kCheckMs))
            return changed;
        shared.running = true;
    }
    checkedAt_ = now;
    std::string folder = *folder_;
    if (!folder.ends_with('\\')) folder += '\\';
    const bool posted =
        workers_.post(worker, [&files = files_, folder, prefix = programPrefix_, keep = shared_] {
            // Neither file there: the folder is out of reach. One of them: the other list is empty.
            std::optional<Files::Stamp> stamps[2];
            for (int list : {Urls, Titles}) stamps[list] = files.stamp(folder + kNames[list]);
            std::string problem;
            if (!stamps[Urls] && !stamps[Titles])
                problem = "Listenordner: " + folder + " nicht erreichbar";
            for (int list : {Urls, Titles}) {
                const auto at = static_cast<std::size_t>(list);
                const std::string path = folder + kNames[list];
                {
                    const std::lock_guard lock(keep->mutex);
                    if (!problem.empty() || keep->seen[at] == stamps[list]) continue;
                }
                EntryList read;
                if (!Liste_einlesen(read, files, path)) {
                    problem +=
                        (problem.empty() ? "Listenordner: " : "; ") + path + " nicht ganz lesbar";
                    continue;
                }
                files.replaceAll(copyPath(prefix, list), formatEntries(read.items()));
                const std::lock_guard lock(keep->mutex);
                keep->seen[at] = stamps[list];
                keep->changed = keep->changed || keep->entries[at] != read.items();
                keep->entries[at] = read.items();
            }
            const std::lock_guard lock(keep->mutex);
            keep->problem = problem;
            keep->running = false;
        });
    if (!posted) {
        const std::lock_guard lock(shared.mutex);
        shared.running = false;
    }
    return changed;
}

std::string ListFolder::problem() const {
    const std::lock_guard lock(shared_->mutex);
    return shared_->problem;
}

} // namespace zk
