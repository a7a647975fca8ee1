#include "platform/win32/win32_policy_registry.h"

#include "platform/win32/windows_api.h"

#include <cstring>
#include <vector>

namespace zk {

PolicyRegistry::Values Win32PolicyRegistry::values(Scope scope, const std::string& subkey) {
    std::string path = "Software\\Policies\\Zuklapper";
    if (!subkey.empty()) path += "\\" + subkey;
    HKEY key = nullptr;
    if (RegOpenKeyExA(scope == Scope::Computer ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER,
                      path.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return {};
    Values values;
    std::vector<char> name(16384);
    std::vector<BYTE> data(4096);
    for (DWORD index = 0;; ++index) {
        DWORD nameSize = static_cast<DWORD>(name.size());
        DWORD dataSize = static_cast<DWORD>(data.size() - 2);
        DWORD type = 0;
        const LSTATUS status = RegEnumValueA(key, index, name.data(), &nameSize, nullptr, &type,
                                             data.data(), &dataSize);
        if (status == ERROR_MORE_DATA) { // a longer value: read again with room for it
            data.resize(dataSize + 2);
            --index;
            continue;
        }
        if (status != ERROR_SUCCESS) break;
        Value& value = values[std::string(name.data(), nameSize)];
        if (type == REG_SZ || type == REG_EXPAND_SZ) {
            data[dataSize] = data[dataSize + 1] = 0; // the value may lack its NUL
            value = {Value::Type::Text, reinterpret_cast<const char*>(data.data()), 0};
        } else if (type == REG_DWORD && dataSize == sizeof(DWORD)) {
            DWORD number = 0;
            std::memcpy(&number, data.data(), sizeof number);
            value = {Value::Type::Number, {}, number};
        }
    }
    RegCloseKey(key);
    return values;
}

} // namespace zk
