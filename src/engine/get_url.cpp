#include "engine/get_url.h"
namespace zk {
std::string GetURL(Dde& dde, const std::string&) {
    return dde.request("iexplore", "WWW_GetWindowInfo", "-1", 5000).value_or("");
}
}
