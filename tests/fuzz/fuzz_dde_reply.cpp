// The reply to WWW_GetWindowInfo: the address is a piece of the reply before its first NUL.
#include "engine/get_url.h"
#include "fuzz_check.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    const std::string_view reply(reinterpret_cast<const char*>(bytes), size);
    const std::string_view text = reply.substr(0, reply.find('\0'));
    check(text.find(zk::addressFromReply(reply)) != std::string_view::npos);
    return 0;
}
