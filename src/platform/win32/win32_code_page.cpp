#include "platform/win32/win32_code_page.h"

namespace zk {

namespace {

int length(std::size_t size) { return static_cast<int>(size); }

bool isUtf8(UINT codePage) {
    return codePage == CP_UTF8 || (codePage == CP_ACP && GetACP() == CP_UTF8);
}

} // namespace

std::optional<std::wstring> widen(std::string_view text, UINT codePage) {
    if (text.empty()) return std::wstring{};
    const DWORD flags = isUtf8(codePage) ? MB_ERR_INVALID_CHARS : 0;
    const int size =
        MultiByteToWideChar(codePage, flags, text.data(), length(text.size()), nullptr, 0);
    if (size <= 0) return std::nullopt;
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(codePage, flags, text.data(), length(text.size()), wide.data(), size);
    return wide;
}

std::optional<std::string> narrow(std::wstring_view text, UINT codePage, bool exact) {
    if (text.empty()) return std::string{};
    // UTF-8 holds every character, and the call takes neither flag nor default for it.
    const bool check = exact && !isUtf8(codePage);
    const DWORD flags = check ? WC_NO_BEST_FIT_CHARS : 0;
    BOOL usedDefault = FALSE;
    BOOL* used = check ? &usedDefault : nullptr;
    const int size = WideCharToMultiByte(codePage, flags, text.data(), length(text.size()), nullptr,
                                         0, nullptr, used);
    if (size <= 0 || usedDefault) return std::nullopt;
    std::string out(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(codePage, flags, text.data(), length(text.size()), out.data(), size,
                        nullptr, nullptr);
    return out;
}

} // namespace zk
