// The reply to WWW_GetWindowInfo: the address is a piece of the reply before its first NUL.
#include "engine/get_url.h"
#include "fuzz_check.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    const std::string_view reply(reinterpret_cast<const char*>(bytes), size);
    const std::string address = zk::addressFromReply(reply);
    const std::string_view text = reply.substr(0, reply.find('\0'));
    ZK_FUZZ_CHECK(address.size() <= text.size());
    ZK_FUZZ_CHECK(text.find(address) != std::string_view::npos);
    return 0;
}
