#include <windows.h>

#include <commctrl.h>

#include "ErrorBox.h"
#include "TfrmMain.h"

// The program reads no command line: it shows its one window until the window is closed.
int WINAPI wWinMain(HINSTANCE instance, HINSTANCE /*previous*/, PWSTR /*commandLine*/, int show) {
    int exitCode = 1;
    dnl::win32::ShowingErrors(nullptr, [&] {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
        InitCommonControlsEx(&controls);
        HWND frmMain = dnl::win32::TfrmMain::Create(instance);
        if (frmMain == nullptr) {
            dnl::win32::ShowError(nullptr, "The window cannot be created");
            return;
        }
        ShowWindow(frmMain, show);
        UpdateWindow(frmMain);
        exitCode = dnl::win32::RunMessageLoop(frmMain);
    });
    return exitCode;
}
