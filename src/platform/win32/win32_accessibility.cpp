#include "platform/win32/win32_accessibility.h"

#include "platform/win32/win32_code_page.h"

#include <oleacc.h>

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <system_error>
#include <thread>

namespace zk {

namespace {

// An element: an accessible object itself, or a simple child of it, known by its id.
class Win32Element final : public AccessibleElement {
public:
    Win32Element(IAccessible* object, LONG child) : object_(object), child_(child) {}
    ~Win32Element() override { object_->Release(); }
    Win32Element(const Win32Element&) = delete;
    Win32Element& operator=(const Win32Element&) = delete;

    int role() override {
        VARIANT role;
        VariantInit(&role);
        const bool ok = SUCCEEDED(object_->get_accRole(self(), &role)) && role.vt == VT_I4;
        const int result = ok ? static_cast<int>(role.lVal) : 0;
        VariantClear(&role);
        return result;
    }

    std::optional<std::uint32_t> state() override {
        VARIANT state;
        VariantInit(&state);
        const bool ok = SUCCEEDED(object_->get_accState(self(), &state)) && state.vt == VT_I4;
        const auto result = static_cast<std::uint32_t>(state.lVal);
        VariantClear(&state);
        return ok ? std::optional(result) : std::nullopt;
    }

    std::optional<std::vector<std::unique_ptr<AccessibleElement>>>
    children(std::size_t most) override {
        std::vector<std::unique_ptr<AccessibleElement>> out;
        LONG count = 0;
        if (child_ != CHILDID_SELF) return out; // a simple child has none
        if (FAILED(object_->get_accChildCount(&count))) return std::nullopt;
        count =
            static_cast<LONG>(std::min(static_cast<std::size_t>(std::max<LONG>(count, 0)), most));
        if (count == 0) return out;
        std::vector<VARIANT> found(static_cast<std::size_t>(count));
        LONG obtained = 0;
        if (FAILED(AccessibleChildren(object_, 0, count, found.data(), &obtained)))
            return std::nullopt;
        for (LONG i = 0; i < obtained; ++i) {
            VARIANT& child = found[static_cast<std::size_t>(i)];
            IAccessible* object = nullptr;
            if (child.vt == VT_DISPATCH && child.pdispVal &&
                SUCCEEDED(child.pdispVal->QueryInterface(__uuidof(IAccessible),
                                                         reinterpret_cast<void**>(&object))))
                out.push_back(std::make_unique<Win32Element>(object, CHILDID_SELF));
            else if (child.vt == VT_I4)
                out.push_back(share(child.lVal));
            VariantClear(&child);
        }
        return out;
    }

    std::optional<std::string> value() override {
        BSTR text = nullptr;
        if (object_->get_accValue(self(), &text) != S_OK) return std::nullopt;
        return ansi(text);
    }

    std::optional<std::string> name() override {
        BSTR text = nullptr;
        if (object_->get_accName(self(), &text) != S_OK) return std::nullopt;
        return ansi(text);
    }

    bool doDefaultAction() override { return SUCCEEDED(object_->accDoDefaultAction(self())); }

private:
    // The text, freed.
    static std::optional<std::string> ansi(BSTR text) {
        const std::wstring_view wide(text ? text : L"", text ? SysStringLen(text) : 0);
        std::optional<std::string> result = narrow(wide, CP_ACP, false);
        SysFreeString(text);
        return result;
    }
    // A simple child, answered by the same object.
    std::unique_ptr<AccessibleElement> share(LONG child) {
        object_->AddRef();
        return std::make_unique<Win32Element>(object_, child);
    }
    VARIANT self() const {
        VARIANT id;
        VariantInit(&id);
        id.vt = VT_I4;
        id.lVal = child_;
        return id;
    }
    IAccessible* object_;
    LONG child_;
};

} // namespace

std::unique_ptr<AccessibleElement> Win32Accessibility::client(Hwnd window) {
    IAccessible* object = nullptr;
    if (FAILED(AccessibleObjectFromWindow(toHwnd(window), static_cast<DWORD>(OBJID_CLIENT),
                                          __uuidof(IAccessible),
                                          reinterpret_cast<void**>(&object))) ||
        !object)
        return nullptr;
    return std::make_unique<Win32Element>(object, CHILDID_SELF);
}

struct Win32Workers::Queue {
    std::mutex mutex;
    std::condition_variable wake;
    std::deque<std::function<void()>> jobs;
    bool retired = false;

    static void run(const std::shared_ptr<Queue>& queue) {
        CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        for (;;) {
            std::function<void()> job;
            {
                std::unique_lock lock(queue->mutex);
                queue->wake.wait(lock, [&] { return !queue->jobs.empty() || queue->retired; });
                if (queue->jobs.empty()) break;
                job = std::move(queue->jobs.front());
                queue->jobs.pop_front();
            }
            job();
        }
        CoUninitialize();
    }
};

bool Win32Workers::post(Hwnd window, std::function<void()> job) {
    std::shared_ptr<Queue>& queue = queues_[window];
    if (!queue) {
        queue = std::make_shared<Queue>();
        try {
            std::thread([queue] { Queue::run(queue); }).detach();
        } catch (const std::system_error&) {
            queues_.erase(window);
            return false;
        }
    }
    const std::lock_guard lock(queue->mutex);
    queue->jobs.push_back(std::move(job));
    queue->wake.notify_one();
    return true;
}

bool Win32Workers::waitFor(const std::function<bool()>& done, int timeoutMs) {
    const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(timeoutMs);
    while (!done()) {
        if (GetTickCount64() >= end) return done();
        Sleep(20);
    }
    return true;
}

void Win32Workers::retire(Hwnd window) {
    const auto found = queues_.find(window);
    if (found == queues_.end()) return;
    {
        const std::lock_guard lock(found->second->mutex);
        found->second->retired = true;
        found->second->wake.notify_one();
    }
    queues_.erase(found);
}

} // namespace zk
