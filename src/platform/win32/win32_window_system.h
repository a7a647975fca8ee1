#pragma once

#include "platform/window_system.h"

namespace zk {

// The desktop through user32.
class Win32WindowSystem final : public WindowSystem {
public:
    Win32WindowSystem();
    ~Win32WindowSystem() override;
    Win32WindowSystem(const Win32WindowSystem&) = delete;
    Win32WindowSystem& operator=(const Win32WindowSystem&) = delete;

    std::uint16_t keyState(int virtualKey) override;
    std::int64_t milliseconds() override;
    LocalTime localTime() override;
    Hwnd foregroundWindow() override;
    std::vector<Hwnd> topLevelWindows() override;
    std::uint32_t style(Hwnd window) override;
    std::string windowText(Hwnd window) override;
    std::string className(Hwnd window) override;
    std::vector<Hwnd> descendants(Hwnd window) override;
    std::string controlText(Hwnd control) override;
    std::uint32_t windowThread(Hwnd window) override;
    std::string processName(Hwnd window) override;
    bool sendCloseMessage(Hwnd window, CloseMessage message, std::uint32_t id) override;
    void onCloseAnswered(std::function<void(std::uint32_t)> handler) override;
    bool addNotifyIcon(Hwnd owner, unsigned id, unsigned callbackMessage,
                       const std::string& tip) override;
    bool deleteNotifyIcon(Hwnd owner, unsigned id) override;
    bool modifyNotifyIcon(Hwnd owner, unsigned id, const std::string& tip, bool grey) override;
    bool showNotifyIconNote(Hwnd owner, unsigned id, const std::string& title,
                            const std::string& text) override;
    FolderClaim claimProgramFolder(const std::string& folder, Hwnd host) override;
    bool sendNotifyIconEvent(Hwnd owner, unsigned callbackMessage, unsigned mouseMessage,
                             unsigned timeoutMs) override;
    bool shellExecute(Hwnd owner, const std::string& operation, const std::string& file,
                      int showCommand) override;
    bool startProgram(const std::string& commandLine, int showCommand) override;

private:
    // The named memory of the folder claim, held while the program runs: its one value is
    // the host window of the copy that holds the folder.
    void* folderClaim_ = nullptr;
    // The same claim seen from every session, as a named mutex, which anyone may create in
    // the global namespace.
    void* globalClaim_ = nullptr;
    // The program's icon in greys, made when first needed.
    void* greyIcon_ = nullptr;
};

} // namespace zk
