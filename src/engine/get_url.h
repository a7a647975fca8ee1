#pragma once
#include "platform/dde.h"
#include <string>
namespace zk {
std::string GetURL(Dde& dde, const std::string& sWindowTitle);
}
