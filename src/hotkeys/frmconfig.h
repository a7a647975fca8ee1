#pragma once

#include "platform/ui.h"

namespace zk {

class Zuklapper;

// The dialog "Hotkeys": the hotkeys on or off, and the function key and modifier of the
// title hotkey and the URL hotkey. Every choice is saved to config.ini and applied at once.
class Frmconfig {
public:
    explicit Frmconfig(Zuklapper& app);

    ui::Window window;
    ui::CheckBox Check1;
    ui::Frame Frame1;
    ui::Label Label1;
    ui::ComboBox cbTitel1;
    ui::Label Label5;
    ui::ComboBox cbTitel2;
    ui::Label Label2;
    ui::ComboBox cbUrl1;
    ui::Label Label4;
    ui::ComboBox cbUrl2;

private:
    void Form_Load();
    void Check1_Click();
    // A key chosen in a box: saved under its key and put into its hotkey slot.
    void keyChosen(ui::ComboBox& box, const char* key, int slot);

    Zuklapper& app_;
    bool loading_ = false;
};

} // namespace zk
