#pragma once

#include "platform/ui.h"

#include <string>
#include <vector>

namespace zk {

class Zuklapper;

// The dialog "Zuklapper Webbrowserauswahl": the known browser designations of
// Webbrowser.txt, their capture from the window in front, and the designation in force.
class FrmWebBrowser {
public:
    explicit FrmWebBrowser(Zuklapper& app);

    ui::Window window;
    ui::Label Label1;
    ui::TextBox Text2;
    ui::ListBox List1;
    ui::Button cmdHinzufuegen;
    ui::Button Command1;
    ui::Timer Timer1;

    // Fills List1 from Webbrowser.txt; the first call loads the window, hidden.
    void laden();

private:
    void Form_Load();
    void Form_Unload(bool& cancel);
    void cmdHinzufuegen_Click();
    void Timer1_Timer();
    void Command1_Click();
    void List1_Click();
    void Text2_Change();
    void listeEinlesen();
    std::string storedDesignation();
    void storeDesignation();
    void tell(const char* message, const std::string& detail);

    Zuklapper& app_;
};

} // namespace zk
