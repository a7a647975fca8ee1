#include "app/zuklapper.h"
#include "platform/win32/win32_dde.h"
#include "platform/win32/win32_files.h"
#include "platform/win32/win32_profile.h"
#include "platform/win32/win32_toolkit.h"
#include "platform/win32/win32_window_system.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    zk::Win32WindowSystem windows;
    zk::Win32Files files;
    zk::Win32Profile profile;
    zk::Win32Toolkit toolkit;
    zk::Win32Dde dde;
    zk::Platform platform{windows, files, profile, toolkit, dde};
    zk::Zuklapper app(platform);
    app.start();
    return toolkit.run();
}
