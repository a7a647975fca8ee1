#pragma once

#include "platform/ui.h"
#include "platform/week_grid.h"
#include "schedule/block_times.h"

#include <optional>
#include <string>

namespace zk {

class Zuklapper;

// The dialog "Sperrzeiten": the week's block times as a grid of half hours and as the time
// line of config.ini, each following the other. "&OK" stores the line and puts the week in
// force; leaving the dialog otherwise changes nothing.
class FrmSperrzeiten {
public:
    explicit FrmSperrzeiten(Zuklapper& app);

    ui::Window window;
    ui::Label lblHinweis;
    ui::WeekGrid grdWoche;
    ui::Label lblZeile;
    ui::TextBox txtZeile;
    ui::Button cmdOK;
    ui::Button cmdAbbrechen;

private:
    void Form_Load();
    void grdWoche_Change();
    void txtZeile_Change();
    void cmdOK_Click();
    void tell(const std::string& message);

    Zuklapper& app_;
    // The week the line gave last; the grid's changes count against it, so that minutes a
    // half hour shows only in part stay as the line has them.
    BlockWeek read_;
    // The week the grid and the line show, to the minute.
    BlockWeek week_;
    bool gridWrites_ = false;
    // The line in force when config.ini could not take it.
    std::optional<std::string> notSaved_;
};

} // namespace zk
