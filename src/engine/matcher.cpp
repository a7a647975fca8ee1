#include "engine/matcher.h"

#include "capture/cuts.h"
#include "engine/todays_browsers.h"

#include <algorithm>

namespace zk {

void UrlIndex::build(const std::vector<std::string>& urlEntries) {
    // The patterns: every entry, and the shown form of each that has one of its own.
    std::vector<std::string> entries = urlEntries;
    length_.clear();
    entryOf_.clear();
    shownFormOnly_.assign(urlEntries.size(), false);
    for (int e = 0; e < static_cast<int>(urlEntries.size()); ++e) entryOf_.push_back(e);
    for (int e = 0; e < static_cast<int>(urlEntries.size()); ++e) {
        const std::string& entry = urlEntries[static_cast<std::size_t>(e)];
        const std::string_view shown = shownForm(entry);
        if (shown.size() == entry.size() || shown.empty()) continue;
        entries.emplace_back(shown);
        entryOf_.push_back(e);
        shownFormOnly_.push_back(true);
    }
    for (const std::string& pattern : entries) length_.push_back(pattern.size());
    // The trie is built from the patterns in sorted order: each shares its path with the one
    // before up to their common prefix, and every node's children come in order.
    std::vector<int> order;
    for (int e = 0; e < static_cast<int>(entries.size()); ++e)
        if (!entries[static_cast<std::size_t>(e)].empty()) order.push_back(e);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return entries[static_cast<std::size_t>(a)] < entries[static_cast<std::size_t>(b)];
    });

    std::vector<int> parent{-1};
    std::vector<unsigned char> symbol{0};
    std::vector<int> firstEntry{-1}, lastEntry{-1};
    entryNext_.assign(entries.size(), -1);
    std::vector<int> path{0};
    const std::string* previous = nullptr;
    for (int e : order) {
        const std::string& text = entries[static_cast<std::size_t>(e)];
        std::size_t common = 0;
        if (previous) {
            const std::size_t limit = std::min(previous->size(), text.size());
            while (common < limit && (*previous)[common] == text[common]) ++common;
        }
        path.resize(common + 1);
        for (std::size_t i = common; i < text.size(); ++i) {
            parent.push_back(path.back());
            symbol.push_back(static_cast<unsigned char>(text[i]));
            firstEntry.push_back(-1);
            lastEntry.push_back(-1);
            path.push_back(static_cast<int>(parent.size()) - 1);
        }
        const auto end = static_cast<std::size_t>(path.back());
        if (lastEntry[end] < 0)
            firstEntry[end] = e;
        else
            entryNext_[static_cast<std::size_t>(lastEntry[end])] = e;
        lastEntry[end] = e;
        previous = &text;
    }

    // Children stored contiguously per node, in the order they were made (by character).
    const std::size_t count = parent.size();
    nodes_.assign(count, Node{});
    for (std::size_t n = 1; n < count; ++n) ++nodes_[static_cast<std::size_t>(parent[n])].edgeEnd;
    int offset = 0;
    for (Node& node : nodes_) {
        node.edgeBegin = offset;
        offset += node.edgeEnd;
        node.edgeEnd = node.edgeBegin;
    }
    edgeChar_.assign(count - 1, 0);
    edgeTarget_.assign(count - 1, 0);
    std::fill(std::begin(rootEdges_), std::end(rootEdges_), 0);
    for (std::size_t n = 1; n < count; ++n) {
        Node& p = nodes_[static_cast<std::size_t>(parent[n])];
        edgeChar_[static_cast<std::size_t>(p.edgeEnd)] = symbol[n];
        edgeTarget_[static_cast<std::size_t>(p.edgeEnd)] = static_cast<int>(n);
        ++p.edgeEnd;
        if (parent[n] == 0) rootEdges_[symbol[n]] = static_cast<int>(n);
    }
    for (std::size_t n = 0; n < count; ++n) nodes_[n].firstEntry = firstEntry[n];

    // Fail and output links, breadth first.
    std::vector<int> queue;
    queue.reserve(count);
    for (int i = nodes_[0].edgeBegin; i < nodes_[0].edgeEnd; ++i)
        queue.push_back(edgeTarget_[static_cast<std::size_t>(i)]);
    for (std::size_t head = 0; head < queue.size(); ++head) {
        const int node = queue[head];
        const Node& from = nodes_[static_cast<std::size_t>(node)];
        for (int i = from.edgeBegin; i < from.edgeEnd; ++i) {
            const unsigned char c = edgeChar_[static_cast<std::size_t>(i)];
            const int target = edgeTarget_[static_cast<std::size_t>(i)];
            int fail = from.fail;
            while (fail != 0 && child(fail, c) < 0)
                fail = nodes_[static_cast<std::size_t>(fail)].fail;
            const int via = child(fail, c);
            Node& t = nodes_[static_cast<std::size_t>(target)];
            t.fail = via > 0 && via != target ? via : 0;
            const Node& f = nodes_[static_cast<std::size_t>(t.fail)];
            t.output = f.firstEntry >= 0 ? t.fail : f.output;
            queue.push_back(target);
        }
    }
    seen_.assign(urlEntries.size(), 0);
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
        const std::string& url = rows[static_cast<std::size_t>(row)].Url;
        const bool shown = rows[static_cast<std::size_t>(row)].todays;
        // Where the address starts in its own shown form: a shown form matches only there.
        const std::size_t start = shownForm(url).data() - url.data();
        int state = 0;
        for (std::size_t at = 0; at < url.size(); ++at) {
            const auto c = static_cast<unsigned char>(url[at]);
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
                for (int p = nodes_[static_cast<std::size_t>(hit)].firstEntry; p >= 0;
                     p = entryNext_[static_cast<std::size_t>(p)]) {
                    const int e = entryOf_[static_cast<std::size_t>(p)];
                    if (seen_[static_cast<std::size_t>(e)] == pass_ ||
                        (shownFormOnly_[static_cast<std::size_t>(p)] &&
                         (!shown || at + 1 != start + length_[static_cast<std::size_t>(p)])))
                        continue;
                    seen_[static_cast<std::size_t>(e)] = pass_;
                    out.push_back({e, row});
                }
            }
        }
    }
    std::sort(out.begin(), out.end(),
              [](const Match& a, const Match& b) { return a.entry < b.entry; });
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
        const auto add = [&](const std::string& entry) {
            const auto found = entries_.find(entry);
            if (found != entries_.end())
                for (int e : found->second) out.push_back({e, row});
        };
        const std::string& title = rows[static_cast<std::size_t>(row)].Title;
        const bool designated =
            title.size() >= designation.size() &&
            std::string_view(title).substr(title.size() - designation.size()) == designation;
        if (designated) {
            key.assign(title, 0, title.size() - designation.size());
            add(key);
        }
        // Today's browsers: the title cut as the capture cuts it, whatever the designation.
        if (!rows[static_cast<std::size_t>(row)].todays) continue;
        const std::optional<std::string> cut = titleEntry(title, true);
        if (cut && !(designated && *cut == key)) add(*cut);
    }
    std::stable_sort(out.begin(), out.end(),
                     [](const Match& a, const Match& b) { return a.entry < b.entry; });
}

} // namespace zk
