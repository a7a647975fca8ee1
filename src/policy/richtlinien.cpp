// The main window's part of the organisation's policy: its entries beside the user's, and
// the settings it fixes.

#include "app/form1.h"

#include "app/texte.h"
#include "app/zuklapper.h"
#include "settings/ini.h"
#include "tray/frm_haupt.h"

#include <algorithm>

namespace zk {

namespace {

constexpr std::int64_t kPolicyReadMs = 60000;

std::vector<std::string> joined(const std::vector<std::string>& first,
                                const std::vector<std::string>& second) {
    std::vector<std::string> all = first;
    for (const std::string& entry : second)
        if (std::find(all.begin(), all.end(), entry) == all.end()) all.push_back(entry);
    return all;
}

} // namespace

void Form1::Richtlinien_pruefen() {
    const std::int64_t now = app_.platform().windows.milliseconds();
    if (!policyReadAt_ || now - *policyReadAt_ >= kPolicyReadMs) {
        const bool atStart = !policyReadAt_;
        policyReadAt_ = now;
        Policy policy = readPolicy(app_.platform().policies);
        if (policy != policy_) Richtlinie_anwenden(std::move(policy), atStart);
        // Kept: a Run value deleted meanwhile is written again.
        if (policy_.startsWithWindows.value_or(false) && !startsWithWindows()) startWithWindows();
    }
    if (listFolder_.poll(now, app_.frmHaupt().window.handle())) {
        std::vector<std::string> urls = joined(policy_.urls, listFolder_.entries(ListFolder::Urls));
        std::vector<std::string> titles =
            joined(policy_.titles, listFolder_.entries(ListFolder::Titles));
        if (urls != organisationUrls_.items() || titles != organisationTitles_.items()) {
            organisationUrls_.assign(std::move(urls));
            organisationTitles_.assign(std::move(titles));
            refreshKeepingSelection();
        }
    }
    // A folder out of reach is said once a run, beside the icon, and in the log.
    const std::string problem = listFolder_.problem();
    if (problem != folderProblem_ && !problem.empty()) {
        protokoll_.note(problem, app_.platform().windows.localTime());
        if (!folderProblemSaid_) app_.frmHaupt().Hinweis(problem);
        folderProblemSaid_ = true;
    }
    folderProblem_ = problem;
    joinLists();
}

void Form1::Richtlinie_anwenden(Policy policy, bool atStart) {
    policy_ = std::move(policy);
    // Without a value of its own, each setting is config.ini's again.
    Sperrzeiten_lesen();
    app_.AktuelleBrowser =
        policy_.todaysBrowsers.value_or(Ini_lesen(app_.platform().profile, Pfad_config,
                                                  "Webbrowser", "AktuelleBrowser", "0") == "1");
    mAktuelleBrowser.setChecked(app_.AktuelleBrowser);
    mAktuelleBrowser.setEnabled(!policy_.todaysBrowsers);
    std::vector<std::string> problems = policy_.problems;
    if (policy_.blockTimes) {
        Zeiten_Fehler.clear(); // config.ini's line is not in force
        const BlockTimesLine line = parseBlockTimes(*policy_.blockTimes);
        app_.Sperrwoche = line.week.value_or(BlockWeek::always());
        if (!line.week) problems.push_back("Sperrzeiten: nicht lesbar: " + line.badPart);
    }
    mSperrzeiten.setEnabled(!policy_.blockTimes);
    if (policy_.pausesPerDay) pause_.perDay = *policy_.pausesPerDay;
    const bool quitAllowed = policy_.quitAllowed.value_or(true);
    mschliesen.setEnabled(quitAllowed);
    mschliesen.setCaption(app_.text(quitAllowed ? texte::Schliessen : texte::Schliessen_gesperrt));
    mAutostart.setEnabled(!policy_.startsWithWindows.value_or(false));
    // The entries are joined anew at the next poll.
    listFolder_.setFolder(policy_.listFolder, folderPrefix(app_.platform().files.programFolder()));

    const LocalTime now = app_.platform().windows.localTime();
    for (const std::string& problem : problems) protokoll_.note(problem, now);
    if (atStart)
        for (const std::string& problem : problems) Richtlinien_Fehler += problem + "\r\n";
}

void Form1::joinLists() {
    const std::array<std::uint64_t, 4> from = {
        UrlEintraege.revision(), organisationUrls_.revision(), TitelEintraege.revision(),
        organisationTitles_.revision()};
    if (from == joinedFrom_) return;
    joinedFrom_ = from;
    closeUrls_.assign(joined(UrlEintraege.items(), organisationUrls_.items()));
    closeTitles_.assign(joined(TitelEintraege.items(), organisationTitles_.items()));
}

std::vector<std::string> Form1::shownItems(bool titleList) {
    std::vector<std::string> items = (titleList ? TitelEintraege : UrlEintraege).items();
    const std::string mark = app_.text(texte::Organisation_Zusatz);
    for (const std::string& entry : (titleList ? organisationTitles_ : organisationUrls_).items())
        items.push_back(entry + mark);
    return items;
}

bool Form1::fromOrganisation(const std::string& item) {
    const EntryList& own = titleListShown() ? TitelEintraege : UrlEintraege;
    const std::vector<std::string> shown = shownItems(titleListShown());
    return std::find(own.items().begin(), own.items().end(), item) == own.items().end() &&
           std::find(shown.begin(), shown.end(), item) != shown.end();
}

} // namespace zk
