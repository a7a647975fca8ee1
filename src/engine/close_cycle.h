#pragma once

#include "engine/close_requests.h"
#include "engine/entry_list.h"
#include "engine/matcher.h"
#include "engine/scan.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace zk {

// A window to ask to close, its row of the scan, and the entry it matched.
struct CloseTarget {
    Hwnd window = 0;
    int row = 0;
    bool titleList = false;
    int entry = 0;
    bool operator==(const CloseTarget&) const = default;
};

// Decides which browser windows to ask to close. The entries are indexed once per change
// of a list, so a cycle does not cost entries x windows comparisons.
class CloseRules {
public:
    // The windows to ask to close, in order: for each URL entry, the first row whose Url
    // contains it; then for each title entry, every row whose Title is the entry followed
    // by the designation. A window appears once per entry it matches.
    void closeOrder(const std::vector<BrowserWindow>& rows, const EntryList& urls,
                    const EntryList& titles, const std::string& designation,
                    std::vector<CloseTarget>& out);

private:
    UrlIndex urlIndex_;
    TitleIndex titleIndex_;
    std::uint64_t urlRevision_ = ~std::uint64_t{0};
    std::uint64_t titleRevision_ = ~std::uint64_t{0};
    const EntryList* urlList_ = nullptr;
    const EntryList* titleList_ = nullptr;
    std::vector<Match> matches_;
};

// Asks each window to close, skipping one whose earlier request is still unanswered (a
// window that matches several entries is asked once). A target for which closeTab says it
// closes a tab instead gets no request; asked is told of each request sent.
void Fenster_schliessen(CloseRequests& requests, const std::vector<CloseTarget>& order,
                        const std::function<bool(const CloseTarget&)>& closeTab = nullptr,
                        const std::function<void(const CloseTarget&)>& asked = nullptr);

} // namespace zk
