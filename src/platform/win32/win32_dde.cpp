#include "platform/win32/win32_dde.h"

#include "platform/win32/windows_api.h"

#include <ddeml.h>

namespace zk {

namespace {

// A client gets no transactions of its own to handle.
HDDEDATA CALLBACK clientCallback(UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR) {
    return nullptr;
}

// A string handle freed with its scope; an empty text gives the null handle.
class StringHandle {
public:
    StringHandle(DWORD instance, const std::string& text) : instance_(instance) {
        if (!text.empty()) handle_ = DdeCreateStringHandleA(instance, text.c_str(), CP_WINANSI);
    }
    ~StringHandle() {
        if (handle_) DdeFreeStringHandle(instance_, handle_);
    }
    StringHandle(const StringHandle&) = delete;
    StringHandle& operator=(const StringHandle&) = delete;
    HSZ get() const { return handle_; }

private:
    DWORD instance_;
    HSZ handle_ = nullptr;
};

class Conversation {
public:
    Conversation(DWORD instance, HSZ service, HSZ topic)
        : handle_(DdeConnect(instance, service, topic, nullptr)) {}
    ~Conversation() {
        if (handle_) DdeDisconnect(handle_);
    }
    Conversation(const Conversation&) = delete;
    Conversation& operator=(const Conversation&) = delete;
    HCONV get() const { return handle_; }

private:
    HCONV handle_;
};

std::string dataText(HDDEDATA data) {
    const DWORD size = DdeGetData(data, nullptr, 0, 0);
    std::string text(size, '\0');
    if (size > 0) text.resize(DdeGetData(data, reinterpret_cast<LPBYTE>(text.data()), size, 0));
    const std::size_t end = text.find('\0');
    if (end != std::string::npos) text.resize(end);
    return text;
}

} // namespace

Win32Dde::~Win32Dde() {
    if (instance_) DdeUninitialize(instance_);
}

std::optional<std::string> Win32Dde::request(const std::string& service, const std::string& topic,
                                             const std::string& item, int timeoutMs) {
    if (!instance_) {
        DWORD instance = 0;
        if (DdeInitializeA(&instance, clientCallback, APPCMD_CLIENTONLY, 0) != DMLERR_NO_ERROR)
            return std::nullopt;
        instance_ = instance;
    }
    const StringHandle serviceName(instance_, service);
    const StringHandle topicName(instance_, topic);
    const StringHandle itemName(instance_, item);
    if ((!service.empty() && !serviceName.get()) || !topicName.get() || !itemName.get())
        return std::nullopt;

    const Conversation conversation(instance_, serviceName.get(), topicName.get());
    if (!conversation.get()) return std::nullopt;
    const HDDEDATA data =
        DdeClientTransaction(nullptr, 0, conversation.get(), itemName.get(), CF_TEXT, XTYP_REQUEST,
                             static_cast<DWORD>(timeoutMs < 0 ? 0 : timeoutMs), nullptr);
    if (!data) return std::nullopt;
    std::string text = dataText(data);
    DdeFreeDataHandle(data);
    return text;
}

} // namespace zk
