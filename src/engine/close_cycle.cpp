#include "engine/close_cycle.h"

namespace zk {

void CloseRules::closeOrder(const std::vector<BrowserWindow>& rows, const EntryList& urls,
                            const EntryList& titles, const std::string& designation,
                            std::vector<CloseTarget>& out) {
    if (urlList_ != &urls || urlRevision_ != urls.revision()) {
        urlIndex_.build(urls.items());
        urlList_ = &urls;
        urlRevision_ = urls.revision();
    }
    if (titleList_ != &titles || titleRevision_ != titles.revision()) {
        titleIndex_.build(titles.items());
        titleList_ = &titles;
        titleRevision_ = titles.revision();
    }
    out.clear();
    urlIndex_.firstMatches(rows, matches_);
    const auto add = [&](bool titleList) {
        for (const Match& m : matches_)
            out.push_back({rows[static_cast<std::size_t>(m.row)].hWnd, m.row, titleList, m.entry});
    };
    add(false);
    titleIndex_.allMatches(rows, designation, matches_);
    add(true);
}

void Fenster_schliessen(CloseRequests& requests, const std::vector<CloseTarget>& order,
                        const std::function<bool(const CloseTarget&)>& closeTab,
                        const std::function<void(const CloseTarget&)>& asked) {
    requests.forgetGone();
    for (const CloseTarget& target : order)
        if (!requests.pending(target.window) && !(closeTab && closeTab(target)) &&
            requests.request(target.window) && asked)
            asked(target);
}

} // namespace zk
