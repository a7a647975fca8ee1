#include "app/zuklapper.h"

namespace zk {

Zuklapper::Zuklapper(Platform& platform)
    : platform_(platform), form1_(std::make_unique<Form1>(*this)) {}

Zuklapper::~Zuklapper() = default;

void Zuklapper::start() { form1_->window.show(); }

} // namespace zk
