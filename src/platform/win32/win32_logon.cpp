#include "platform/win32/win32_logon.h"

#include "platform/win32/windows_api.h"

#include <vector>

namespace zk {

namespace {

constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

} // namespace

std::optional<std::string> Win32Logon::command(const std::string& name) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kRunKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return std::nullopt;
    DWORD type = 0, size = 0;
    std::optional<std::string> line;
    if (RegQueryValueExA(key, name.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
        (type == REG_SZ || type == REG_EXPAND_SZ)) {
        std::vector<char> data(size + 1, '\0');
        if (RegQueryValueExA(key, name.c_str(), nullptr, nullptr,
                             reinterpret_cast<BYTE*>(data.data()), &size) == ERROR_SUCCESS)
            line = std::string(data.data()); // up to its NUL, which the value may lack
    }
    RegCloseKey(key);
    return line;
}

bool Win32Logon::setCommand(const std::string& name, const std::optional<std::string>& line) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kRunKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return false;
    LSTATUS status = ERROR_SUCCESS;
    if (line)
        status = RegSetValueExA(key, name.c_str(), 0, REG_SZ,
                                reinterpret_cast<const BYTE*>(line->c_str()),
                                static_cast<DWORD>(line->size() + 1));
    else if ((status = RegDeleteValueA(key, name.c_str())) == ERROR_FILE_NOT_FOUND)
        status = ERROR_SUCCESS;
    RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

} // namespace zk
