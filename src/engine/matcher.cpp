#include "engine/matcher.h"

#include <algorithm>
#include <map>
#include <queue>

namespace zk {

void UrlIndex::build(const std::vector<std::string>& entries) {
    // The trie, with sorted child maps while building.
    std::vector<std::map<unsigned char, int>> children(1);
    std::vector<int> firstEntry(1, -1);
    entryNext_.assign(entries.size(), -1);
    for (int e = static_cast<int>(entries.size()) - 1; e >= 0; --e) {
        const std::string& text = entries[static_cast<std::size_t>(e)];
        if (text.empty()) continue;
        int node = 0;
        for (char ch : text) {
            const auto c = static_cast<unsigned char>(ch);
            auto found = children[static_cast<std::size_t>(node)].find(c);
            if (found == children[static_cast<std::size_t>(node)].end()) {
                const int next = static_cast<int>(children.size());
                children[static_cast<std::size_t>(node)].emplace(c, next);
                children.emplace_back();
                firstEntry.push_back(-1);
                node = next;
            } else {
                node = found->second;
            }
        }
        // Walking the entries backwards keeps each chain in ascending entry order.
        entryNext_[static_cast<std::size_t>(e)] = firstEntry[static_cast<std::size_t>(node)];
        firstEntry[static_cast<std::size_t>(node)] = e;
    }

    nodes_.assign(children.size(), Node{});
    edgeChar_.clear();
    edgeTarget_.clear();
    for (std::size_t n = 0; n < children.size(); ++n) {
        nodes_[n].firstEntry = firstEntry[n];
        nodes_[n].edgeBegin = static_cast<int>(edgeChar_.size());
        for (auto [c, target] : children[n]) {
            edgeChar_.push_back(c);
            edgeTarget_.push_back(target);
        }
        nodes_[n].edgeEnd = static_cast<int>(edgeChar_.size());
    }
    std::fill(std::begin(rootEdges_), std::end(rootEdges_), 0);
    for (auto [c, target] : children[0]) rootEdges_[c] = target;

    // Fail and output links, breadth first.
    std::queue<int> queue;
    for (auto [c, target] : children[0]) queue.push(target);
    while (!queue.empty()) {
        const int node = queue.front();
        queue.pop();
        for (auto [c, target] : children[static_cast<std::size_t>(node)]) {
            int fail = nodes_[static_cast<std::size_t>(node)].fail;
            while (fail != 0 && child(fail, c) < 0) fail = nodes_[static_cast<std::size_t>(fail)].fail;
            const int via = child(fail, c);
            Node& t = nodes_[static_cast<std::size_t>(target)];
            t.fail = via > 0 && via != target ? via : 0;
            const Node& f = nodes_[static_cast<std::size_t>(t.fail)];
            t.output = f.firstEntry >= 0 ? t.fail : f.output;
            queue.push(target);
        }
    }
    seen_.assign(entries.size(), 0);
    pass_ = 0;
}

int UrlIndex::child(int node, unsigned char c) const {
    if (node == 0) return rootEdges_[c] > 0 ? rootEdges_[c] : -1;
    const Node& n = nodes_[static_cast<std::size_t>(node)];
    const auto begin = edgeChar_.begin() + n.edgeBegin;
    const auto end = edgeChar_.begin() + n.edgeEnd;
    const auto found = std::lower_bound(begin, end, c);
    if (found == end || *found != c) return -1;
    return edgeTarget_[static_cast<std::size_t>(found - edgeChar_.begin())];
}

void UrlIndex::firstMatches(const std::vector<BrowserWindow>& rows, std::vector<Match>& out) {
    out.clear();
    if (nodes_.size() <= 1) return;
    if (++pass_ == 0) {
        std::fill(seen_.begin(), seen_.end(), 0);
        pass_ = 1;
    }
    for (int row = 0; row < static_cast<int>(rows.size()); ++row) {
        int state = 0;
        for (char ch : rows[static_cast<std::size_t>(row)].Url) {
            const auto c = static_cast<unsigned char>(ch);
            int next = child(state, c);
            while (next < 0 && state != 0) {
                state = nodes_[static_cast<std::size_t>(state)].fail;
                next = child(state, c);
            }
            state = next < 0 ? 0 : next;
            int hit = nodes_[static_cast<std::size_t>(state)].firstEntry >= 0
                          ? state
                          : nodes_[static_cast<std::size_t>(state)].output;
            for (; hit > 0; hit = nodes_[static_cast<std::size_t>(hit)].output) {
                for (int e = nodes_[static_cast<std::size_t>(hit)].firstEntry; e >= 0;
                     e = entryNext_[static_cast<std::size_t>(e)]) {
                    if (seen_[static_cast<std::size_t>(e)] == pass_) continue;
                    seen_[static_cast<std::size_t>(e)] = pass_;
                    out.push_back({e, row});
                }
            }
        }
    }
    std::sort(out.begin(), out.end(), [](const Match& a, const Match& b) { return a.entry < b.entry; });
}

void TitleIndex::build(const std::vector<std::string>& entries) {
    entries_.clear();
    for (int e = 0; e < static_cast<int>(entries.size()); ++e)
        entries_[entries[static_cast<std::size_t>(e)]].push_back(e);
}

void TitleIndex::allMatches(const std::vector<BrowserWindow>& rows, std::string_view designation,
                            std::vector<Match>& out) const {
    out.clear();
    if (entries_.empty()) return;
    std::string key;
    for (int row = 0; row < static_cast<int>(rows.size()); ++row) {
        const std::string& title = rows[static_cast<std::size_t>(row)].Title;
        if (title.size() < designation.size() ||
            std::string_view(title).substr(title.size() - designation.size()) != designation)
            continue;
        key.assign(title, 0, title.size() - designation.size());
        const auto found = entries_.find(key);
        if (found == entries_.end()) continue;
        for (int e : found->second) out.push_back({e, row});
    }
    std::stable_sort(out.begin(), out.end(),
                     [](const Match& a, const Match& b) { return a.entry < b.entry; });
}

} // namespace zk
