#include "platform/win32/win32_profile.h"

#include "platform/win32/windows_api.h"

#include <algorithm>

namespace zk {

std::string Win32Profile::readString(const std::string& file, const std::string& section,
                                     const std::string& key, const std::string& fallback,
                                     std::size_t bufferSize) {
    if (bufferSize == 0) return {};
    std::string buffer(bufferSize, '\0');
    const DWORD copied =
        GetPrivateProfileStringA(section.c_str(), key.c_str(), fallback.c_str(), buffer.data(),
                                 static_cast<DWORD>(bufferSize), file.c_str());
    buffer.resize(std::min<std::size_t>(copied, bufferSize - 1));
    return buffer;
}

bool Win32Profile::writeString(const std::string& file, const std::string& section,
                               const std::string& key, const std::string& value) {
    return WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), file.c_str()) !=
           0;
}

} // namespace zk
