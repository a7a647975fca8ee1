#pragma once

#include "engine/scan.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace zk {

// An entry that matched a row of the browser window table: indexes into both.
struct Match {
    int entry;
    int row;
    bool operator==(const Match&) const = default;
};

// The URL entries as one Aho-Corasick automaton: a cycle costs the length of the addresses
// plus the matches, however many entries there are. Empty entries match nothing. A row of
// today's browsers matches an entry also when its address, without its own scheme and "www.",
// starts with the entry's shown form.
class UrlIndex {
public:
    void build(const std::vector<std::string>& entries);
    // For every entry contained in some row's Url, the first such row; sorted by entry.
    void firstMatches(const std::vector<BrowserWindow>& rows, std::vector<Match>& out);

private:
    struct Node {
        int fail = 0;
        int output = -1;     // nearest node on the fail chain (itself excluded) that ends entries
        int firstEntry = -1; // entries ending here: entryNext chains them
        int edgeBegin = 0;
        int edgeEnd = 0;
    };
    int child(int node, unsigned char c) const;

    std::vector<Node> nodes_;
    std::vector<unsigned char> edgeChar_;
    std::vector<int> edgeTarget_;
    std::vector<int> entryNext_;      // per pattern: the next one that ends at its node
    std::vector<int> entryOf_;        // per pattern: its entry
    std::vector<bool> shownFormOnly_; // per pattern: an entry's shown form
    std::vector<std::size_t> length_; // per pattern
    int rootEdges_[256] = {};
    std::vector<std::uint32_t> seen_; // per entry: the pass that matched it
    std::uint32_t pass_ = 0;
};

// The title entries by their text: a row matches an entry when its Title is exactly the
// entry followed by the browser designation, or, for today's browsers, when the title cut as
// the capture cuts it is the entry.
class TitleIndex {
public:
    void build(const std::vector<std::string>& entries);
    // Every (entry, row) pair that matches, sorted by entry, then row.
    void allMatches(const std::vector<BrowserWindow>& rows, std::string_view designation,
                    std::vector<Match>& out) const;

private:
    std::unordered_map<std::string, std::vector<int>> entries_;
};

} // namespace zk
