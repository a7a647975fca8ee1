#pragma once

#include "platform/ui.h"

#include <string>

namespace zk {

class Zuklapper;

// The program's version: major, minor and revision.
struct Version {
    int major = 0;
    int minor = 0;
    int revision = 0;
};

// "Version: " and the numbers, minor and revision run together: 1, 0, 8 give "Version: 1.08".
std::string Versionstext(const Version& version);

// The about box: the program's name, version and purpose, and a link to the help file.
// Not modal; Enter, Escape and "&OK" close it.
class FrmInfoBox {
public:
    // The icon resource of the information symbol.
    static constexpr int Informationssymbol = 2;

    explicit FrmInfoBox(Zuklapper& app);

    ui::Window window;
    ui::Label lblTitle;
    ui::Image Image1;
    ui::Image Image2;
    ui::Label lblVersion;
    ui::Label lblDescription;
    ui::Label Label2;
    ui::Label Label3;
    ui::Label Label1;
    ui::Button cmdOK;
    ui::Line Line1;
    ui::Line Line2;
    ui::Line Line3;
    ui::Line Line4;

private:
    void Form_Load();
    void Label1_Click();

    Zuklapper& app_;
};

// The help item: the help text beside the program, in the system's editor.
void Hilfe_anzeigen(Zuklapper& app);

} // namespace zk
