#include <windows.h>

#include <commctrl.h>

#include "CommandLine.h"
#include "ErrorBox.h"
#include "TfrmMain.h"

// The program shows its one window until the window is closed, with the file its command line
// names taken; --help and --version answer instead. The system's headers name the parameters their
// own way.
// NOLINTNEXTLINE(readability-inconsistent-declaration-parameter-name)
int WINAPI wWinMain(HINSTANCE instance, HINSTANCE /*previous*/, PWSTR /*commandLine*/, int show) {
    using Kind = dnl::win32::CommandLineRequest::Kind;
    const dnl::win32::CommandLineRequest request =
        dnl::win32::ReadCommandLine(dnl::win32::ProgramArguments());
    if (request.kind != Kind::Window) {
        const bool wrong = request.kind == Kind::Wrong;
        dnl::win32::ShowAnswer(dnl::win32::CommandLineAnswer(request.kind), wrong);
        return wrong ? 1 : 0;
    }
    int exitCode = 1;
    dnl::win32::ShowingErrors(nullptr, [&] {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
        InitCommonControlsEx(&controls);
        HWND frmMain = dnl::win32::TfrmMain::Create(instance);
        if (frmMain == nullptr) {
            dnl::win32::ShowError(nullptr, "The window cannot be created");
            return;
        }
        if (!request.file.empty()) {
            dnl::win32::TfrmMain::FromHandle(frmMain)->OpenNamedFile(request.file);
        }
        ShowWindow(frmMain, show);
        UpdateWindow(frmMain);
        exitCode = dnl::win32::RunMessageLoop(frmMain);
    });
    return exitCode;
}
