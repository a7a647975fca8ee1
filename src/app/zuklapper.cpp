#include "app/zuklapper.h"

#include "capture/frm_hinzufuegen.h"
#include "tray/frm_haupt.h"

namespace zk {

Zuklapper::Zuklapper(Platform& platform)
    : platform_(platform), frmHaupt_(std::make_unique<FrmHaupt>(*this)),
      form1_(std::make_unique<Form1>(*this)),
      frmHinzufuegen_(std::make_unique<FrmHinzufuegen>(*this)) {
    frmHinzufuegen_->window.setOwnerWindow(&form1_->window);
}

Zuklapper::~Zuklapper() = default;

void Zuklapper::start() { frmHaupt_->window.load(); }

} // namespace zk
