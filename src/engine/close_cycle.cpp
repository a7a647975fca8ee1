#include "engine/close_cycle.h"

namespace zk {

void CloseRules::closeOrder(const std::vector<BrowserWindow>& rows, const EntryList& urls,
                            const EntryList& titles, const std::string& designation,
                            std::vector<Hwnd>& out) {
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
    for (const Match& m : matches_) out.push_back(rows[static_cast<std::size_t>(m.row)].hWnd);
    titleIndex_.allMatches(rows, designation, matches_);
    for (const Match& m : matches_) out.push_back(rows[static_cast<std::size_t>(m.row)].hWnd);
}

void Fenster_schliessen(CloseRequests& requests, const std::vector<Hwnd>& order,
                        const std::function<bool(Hwnd)>& closeTab) {
    requests.forgetGone();
    for (Hwnd window : order)
        if (!requests.pending(window) && !(closeTab && closeTab(window))) requests.request(window);
}

} // namespace zk
