#pragma once

#include "platform/ui.h"

namespace zk {

class Zuklapper;

// The hidden start window: it owns the notification icon, through which the main window
// and its popup menu are reached, and it ends the program.
class FrmHaupt {
public:
    // The icon's id, the message it sends (WM_MOUSEMOVE), and the mouse messages it
    // carries (WM_LBUTTONDBLCLK, WM_RBUTTONUP).
    static constexpr unsigned SymbolId = 1;
    static constexpr unsigned Rueckrufnachricht = 512;
    static constexpr int Doppelklick = 515;
    static constexpr int RechteTasteLos = 517;
    // How long a second start waits for the running copy to show itself.
    static constexpr unsigned AntwortMs = 5000;

    explicit FrmHaupt(Zuklapper& app);

    ui::Window window;

    // Ends the program: removes the icon and stops the message loop.
    void schliessen();
    // The icon's tip, and whether it is drawn grey; changed only when they change.
    void Symbol_aktualisieren(const std::string& tip, bool grey);
    // A note beside the icon that holds up nothing.
    void Hinweis(const std::string& text);

private:
    void Form_Load();
    void Form_MouseMove(int x);
    void Form_QueryUnload(bool& cancel);
    void Symbol_hinzufuegen();

    Zuklapper& app_;
    bool beendet_ = false;
    std::string tip_;
    bool grey_ = false;
};

} // namespace zk
