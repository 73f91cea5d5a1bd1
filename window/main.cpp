#include <QCoreApplication>
#include <QFile>

#include "Application.h"
#include "CloseOnSignal.h"
#include "CommandLine.h"
#include "ErrorReport.h"
#include "TfrmMain.h"

int main(int argc, char* argv[]) {
    // Qt takes none of its own options here: it is shown the program's name alone.
    int qtArgc = argc > 0 ? 1 : 0;
    QStringList arguments;
    for (int index = 0; index < argc; ++index) {
        arguments << QFile::decodeName(argv[index]);
    }
    std::optional<QString> file;
    {
        // --help and --version answer before the window's toolkit looks for a display.
        const QCoreApplication commandLine(qtArgc, argv);
        file = dnl::FileFromCommandLine(arguments);
    }
    dnl::Application application(qtArgc, argv);
    return dnl::ShowingErrors(
        [&file] {
            dnl::TfrmMain frmMain;
            const dnl::CloseOnSignal closeOnLogout(frmMain);
            if (file) {
                frmMain.OpenNamedFile(*file);
            }
            frmMain.show();
            return dnl::Application::exec();
        },
        1);
}
