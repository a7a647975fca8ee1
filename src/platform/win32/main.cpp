#include "app/zuklapper.h"
#include "platform/win32/win32_files.h"
#include "platform/win32/win32_toolkit.h"
#include "platform/win32/win32_window_system.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    zk::Win32WindowSystem windows;
    zk::Win32Files files;
    zk::Win32Toolkit toolkit;
    zk::Platform platform{windows, files, toolkit};
    zk::Zuklapper app(platform);
    app.start();
    return toolkit.run();
}
