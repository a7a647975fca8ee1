#pragma once

#include "app/entry_list_file.h"
#include "app/form1.h"
#include "hotkeys/hotkey.h"
#include "platform/accessibility.h"
#include "platform/dde.h"
#include "platform/files.h"
#include "platform/logon.h"
#include "platform/policy_registry.h"
#include "platform/profile.h"
#include "platform/ui.h"
#include "platform/window_system.h"
#include "schedule/block_times.h"
#include "tray/frm_info_box.h"

#include <memory>
#include <string>

namespace zk {

class FrmHaupt;
class FrmHinzufuegen;
class Frmconfig;
class FrmWebBrowser;
class FrmSperrzeiten;

// The operating system as the program reaches it.
struct Platform {
    WindowSystem& windows;
    Files& files;
    Profile& profile;
    ui::Toolkit& toolkit;
    Dde& dde;
    Accessibility& accessibility;
    Workers& workers;
    Logon& logon;
    PolicyRegistry& policies;
};

// The program: its program-wide state and the windows it owns.
class Zuklapper {
public:
    explicit Zuklapper(Platform& platform);
    Zuklapper(const Zuklapper&) = delete;
    Zuklapper& operator=(const Zuklapper&) = delete;
    ~Zuklapper();

    // Loads the tray host, which loads the main window hidden; the backend's message loop
    // runs afterwards.
    void start();

    Platform& platform() { return platform_; }
    // Says that a setting could not be written to config.ini: it holds until the program
    // ends.
    void settingNotSaved(ui::Window& owner);
    // A text of the program's own (UTF-8 in the sources) in the system's code page.
    std::string text(const char* utf8) { return platform_.toolkit.ansi(utf8); }
    Form1& form1() { return *form1_; }
    FrmHaupt& frmHaupt() { return *frmHaupt_; }
    FrmHinzufuegen& frmHinzufuegen() { return *frmHinzufuegen_; }
    Frmconfig& frmconfig() { return *frmconfig_; }
    FrmInfoBox& frmInfoBox() { return *frmInfoBox_; }

    // As in the version record of zuklapper.rc.
    Version version{1, 0, 8};
    FrmWebBrowser& frmWebBrowser() { return *frmWebBrowser_; }
    FrmSperrzeiten& frmSperrzeiten() { return *frmSperrzeiten_; }

    // The chosen browser's title suffix, appended to every title entry.
    std::string WebbrowserBezeichnung;
    // Whether today's browsers (Chrome, Edge, Firefox and kin) are looked at too.
    bool AktuelleBrowser = false;
    // The block times in force: when listed pages are closed.
    BlockWeek Sperrwoche = BlockWeek::always();
    // The key and modifier codes of the two hotkeys.
    HotkeyTable Hotkey{};
    // Entries whose append failed: they hold until the program ends.
    UnsavedEntries unsaved;
    // Deletes the entry as UnsavedEntries::remove does, the file sorted as list boxes sort.
    std::optional<std::vector<std::string>> deleteEntry(const std::string& path,
                                                        const std::string& entry, bool& saved);

private:
    Platform& platform_;
    // The main window goes before its owner, the tray host.
    std::unique_ptr<FrmHaupt> frmHaupt_;
    std::unique_ptr<Form1> form1_;
    std::unique_ptr<FrmHinzufuegen> frmHinzufuegen_;
    std::unique_ptr<Frmconfig> frmconfig_;
    std::unique_ptr<FrmInfoBox> frmInfoBox_;
    std::unique_ptr<FrmWebBrowser> frmWebBrowser_;
    std::unique_ptr<FrmSperrzeiten> frmSperrzeiten_;
};

} // namespace zk
