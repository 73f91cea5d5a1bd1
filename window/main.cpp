#include "Application.h"
#include "CloseOnSignal.h"
#include "ErrorReport.h"
#include "TfrmMain.h"

int main(int argc, char* argv[]) {
    // The program takes no options, Qt's own included: Qt is shown the program's name alone.
    int qtArgc = argc > 0 ? 1 : 0;
    dnl::Application application(qtArgc, argv);
    return dnl::ShowingErrors(
        [] {
            dnl::TfrmMain frmMain;
            const dnl::CloseOnSignal closeOnLogout(frmMain);
            frmMain.show();
            return dnl::Application::exec();
        },
        1);
}
