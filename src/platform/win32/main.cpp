#include "app/fenster.h"
#include "app/zuklapper.h"
#include "platform/win32/win32_accessibility.h"
#include "platform/win32/win32_dde.h"
#include "platform/win32/win32_files.h"
#include "platform/win32/win32_logon.h"
#include "platform/win32/win32_policy_registry.h"
#include "platform/win32/win32_profile.h"
#include "platform/win32/win32_toolkit.h"
#include "platform/win32/win32_window_system.h"

#include <span>

namespace {

// Whether the program's one argument is "/fenster", in any letter case, quoted or not.
bool listWindowsOnly() {
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    const bool only =
        arguments && count == 2 && lstrcmpiW(std::span(arguments, 2)[1], L"/fenster") == 0;
    LocalFree(static_cast<HLOCAL>(arguments));
    return only;
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    zk::Win32WindowSystem windows;
    zk::Win32Files files;
    zk::Win32Profile profile;
    zk::Win32Toolkit toolkit;
    zk::Win32Dde dde;
    zk::Win32Accessibility accessibility;
    zk::Win32Workers workers;
    zk::Win32Logon logon;
    zk::Win32PolicyRegistry policies;
    zk::Platform platform{windows,       files,   profile, toolkit, dde,
                          accessibility, workers, logon,   policies};
    // A worker may still wait on a browser that hangs: the process ends without waiting for
    // it, and without tearing down what the workers use.
    if (listWindowsOnly()) ExitProcess(zk::Fenster_auflisten(platform, [] { Sleep(100); }) ? 0 : 1);
    zk::Zuklapper app(platform);
    app.start();
    ExitProcess(static_cast<UINT>(toolkit.run()));
}
