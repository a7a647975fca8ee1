#include "app/zuklapper.h"

#include "tray/frm_haupt.h"

namespace zk {

Zuklapper::Zuklapper(Platform& platform)
    : platform_(platform), frmHaupt_(std::make_unique<FrmHaupt>(*this)),
      form1_(std::make_unique<Form1>(*this)) {}

Zuklapper::~Zuklapper() = default;

void Zuklapper::start() { frmHaupt_->window.load(); }

} // namespace zk
