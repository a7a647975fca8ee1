#pragma once

#include "platform/ui.h"

#include <string>

namespace zk {

class Zuklapper;

// The small modal dialog in which the user confirms or edits the address of a URL capture,
// or types an entry; Enter confirms, Escape cancels. Abbruch and Url outlive the dialog's
// window, which is loaded afresh each time.
class FrmHinzufuegen {
public:
    explicit FrmHinzufuegen(Zuklapper& app);

    ui::Window window;
    ui::Label Label1;
    ui::TextBox Text1;
    ui::Button Command1;
    ui::Button Command2;

    // True when the user left the dialog without "&OK"; false again at every load.
    bool Abbruch = false;
    // The address confirmed last with "&OK", as typed.
    std::string Url;

private:
    void Form_Load();
    void Form_QueryUnload(bool& cancel);
    void Command1_Click();
    void Command2_Click();
};

} // namespace zk
