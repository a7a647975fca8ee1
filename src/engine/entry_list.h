#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zk {

// One entry list in file order. Every change bumps the revision, so indexes built over the
// entries know when to rebuild.
class EntryList {
public:
    const std::vector<std::string>& items() const { return items_; }
    std::size_t size() const { return items_.size(); }
    bool empty() const { return items_.empty(); }
    std::uint64_t revision() const { return revision_; }

    void assign(std::vector<std::string> items) {
        items_ = std::move(items);
        ++revision_;
    }
    void append(std::string item) {
        items_.push_back(std::move(item));
        ++revision_;
    }

private:
    std::vector<std::string> items_;
    std::uint64_t revision_ = 0;
};

} // namespace zk
