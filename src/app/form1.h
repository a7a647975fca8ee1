#pragma once

#include "app/protokoll.h"
#include "engine/close_cycle.h"
#include "engine/entry_list.h"
#include "engine/scan.h"
#include "engine/todays_browsers.h"
#include "platform/files.h"
#include "platform/ui.h"
#include "policy/list_folder.h"
#include "policy/policy.h"
#include "schedule/counted_pause.h"

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace zk {

class Zuklapper;

// The folder with a backslash at its end; a drive's root has one already.
std::string folderPrefix(std::string folder);

// The main window: the shown entry list, its buttons, the paths of the list files and the
// timer of the close cycle.
class Form1 {
public:
    explicit Form1(Zuklapper& app);

    ui::Window window;
    ui::ListBox List1; // first in the tab order
    ui::Panel picliste;
    ui::OptionButton optListe0;
    ui::OptionButton optListe1;
    ui::Panel picButtons;
    ui::Button cmdHinzufuegen;
    ui::Button cmdTypeIn;
    ui::Button Command1;
    ui::Button Command2;
    ui::Timer tmrFenster_schliessen;
    ui::Timer tmrHotkey;
    ui::Timer tmrneuerEintrag;

    ui::MenuItem mHilfe;
    ui::MenuItem mINFO;
    ui::MenuItem mweb;
    ui::MenuItem mAktuelleBrowser;
    ui::MenuItem mAutostart;
    ui::MenuItem mSperrzeiten;
    ui::MenuItem mPause;
    ui::MenuItem mUrlVerwaltung;
    ui::MenuItem mEinstellungen;
    ui::MenuItem mschliesen;
    ui::Menu m1;

    std::string Pfad2;
    std::string Pfad;
    std::string Pfad_config;
    std::string UrlPfad;

    EntryList TitelEintraege;
    EntryList UrlEintraege;

    // Rebuilds List1 from the selected list and selects its first item.
    void Liste_laden();
    // Deletes the selected entry from the file as it is now; the list and the view then hold
    // the file's entries.
    void Command1_Click();
    // Adds an entry to the title list or the URL list: to its entries, as one record
    // appended to the file, and to List1 at its sorted place when List1 shows that list. A
    // failed append (false) leaves the entry in the program until it ends.
    bool addEntry(bool titleList, const std::string& file, std::string entry);

    // The capture: the button arms the timer, whose ticks wait for another window in front.
    void cmdHinzufuegen_Click();
    void tmrneuerEintrag_Timer();
    // An entry typed into the empty address dialog, for the shown list, taken as a capture's.
    void cmdTypeIn_Click();
    // Takes the title, or the confirmed address, of the window in front into the shown list;
    // a title entry goes to the given file. True when nothing was taken because no other
    // window is in front (or a capture waits for the user already).
    bool Eintrag_erfassen(const std::string& path);
    // Polls the two hotkeys; the title hotkey first, at most one capture a tick.
    void tmrHotkey_Timer();
    // Switches the polling of the hotkeys on or off.
    void switchHotkeys(bool on);
    // Whether Windows starts this program at logon: its path, quoted or not, in the Run value
    // "Zuklapper", in any letter case. The menu's check mark shows it when the menu opens.
    bool startsWithWindows();
    // Stores this program's quoted path as the Run value; false when it could not.
    bool startWithWindows();
    // Reads a list file again that another program changed.
    void Listen_pruefen();
    // One close cycle: the scan, then the close requests; nothing outside block times and
    // in a pause.
    void tmrFenster_schliessen_Timer();
    // Whether listed pages are closed now; keeps the icon's tip and the pause's menu item
    // up to date.
    bool Sperrzeit_pruefen();
    // Starts a pause, or ends the one that runs.
    void mPause_Click();
    // Set when config.ini's block times could not be read: the part that could not.
    std::string Zeiten_Fehler;
    // Reads the organisation's policy again once a minute, and its list folder when due.
    void Richtlinien_pruefen();
    // What of the policy at start could not be used, a line each.
    std::string Richtlinien_Fehler;

    const std::vector<BrowserWindow>& browserWindows() const { return BrowserWindows; }

private:
    void Form_Load();
    void Einstellungen_lesen();
    void Sperrzeiten_lesen();
    // Puts the policy in force over config.ini's settings, and says what it could not use.
    void Richtlinie_anwenden(Policy policy, bool atStart);
    // The entries the close cycle takes: the user's, then the organisation's.
    void joinLists();
    // What List1 shows of the list: the user's entries, and the organisation's, marked.
    std::vector<std::string> shownItems(bool titleList);
    bool fromOrganisation(const std::string& item);
    // The close of a target as the log keeps it.
    CloseRecord closeRecord(const CloseTarget& target, bool tab);
    void logClose(const CloseRecord& close);
    // Writes down the windows asked to close, once per page they showed, and the tabs pressed.
    void logWindow(const CloseTarget& target);
    void logPressedTabs();
    void Form_QueryUnload(bool& cancel);
    void mAktuelleBrowser_Click();
    void mAutostart_Click();
    // Switches today's browsers on or off and saves the choice at once.
    void switchTodaysBrowsers(bool on);
    // Before the first capture from one of today's browsers with the switch off, asks whether
    // to switch it on.
    void offerTodaysBrowsers(Hwnd window);
    void Form_Resize();
    void List1_KeyDown(int keyCode, int shift);
    bool titleListShown() const { return optListe0.value(); }
    void selectFirst();
    // The shown list anew, after its entries changed elsewhere: the selected entry stays
    // selected while it is there.
    void refreshKeepingSelection();
    void tell(const char* message, const std::string& file);
    // A hotkey's capture: shows the list it captures for, then takes the window in front.
    void hotkeyCapture(bool titleList);
    void forgetKeyPresses();
    // The address dialog, labelled for the list, with the text: what the user confirmed, or
    // nothing when the dialog was left otherwise.
    std::optional<std::string> askEntry(bool titleList, const std::string& text);
    // A captured or typed entry into the list: refused when listed or not storable, said
    // when its file could not take it. An empty entry is dropped unsaid.
    void takeEntry(bool titleList, const std::string& file, const std::string& entry);

    Zuklapper& app_;
    std::vector<BrowserWindow> BrowserWindows;
    CloseRules closeRules_;
    CloseRequests closeRequests_;
    TodaysBrowsers todaysBrowsers_;
    // When the list files were last read whole, and when they were last looked at.
    std::optional<Files::Stamp> titleStamp_;
    std::optional<Files::Stamp> urlStamp_;
    std::optional<std::int64_t> listsCheckedAt_;
    bool capturing_ = false;
    // Whether the key of the title hotkey, and of the URL hotkey, was down at the last tick.
    bool hotkeyDown_[2] = {};
    bool todaysBrowsersOffered_ = false;
    std::vector<CloseTarget> closeOrder_;
    Policy policy_;
    std::optional<std::int64_t> policyReadAt_;
    ListFolder listFolder_;
    std::string folderProblem_;
    bool folderProblemSaid_ = false;
    // The organisation's entries, and the lists the close cycle takes.
    EntryList organisationTitles_, organisationUrls_;
    EntryList closeTitles_, closeUrls_;
    std::array<std::uint64_t, 4> joinedFrom_ = {~0ULL, ~0ULL, ~0ULL, ~0ULL};
    CountedPause pause_;
    // What the icon's tip and the pause's item show now.
    struct ShownState {
        int minute = -1;
        bool pausing = false;
        int pausesLeft = 0;
        int pauseMinutes = 0;
        int closed = 0;
        bool operator==(const ShownState&) const = default;
    } shownState_;
    BlockWeek shownWeek_;
    Protokoll protokoll_;
    bool protokollFailed_ = false;
    // The page each window was last written down for; the close each tab job is for, and
    // when its window was last there (a press may be told after its window has gone).
    std::map<Hwnd, std::string> loggedPages_;
    std::map<Hwnd, std::pair<CloseRecord, std::int64_t>> tabCloses_;
};

} // namespace zk
