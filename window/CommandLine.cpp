#include "CommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>

namespace dnl {

std::optional<QString> FileFromCommandLine(const QStringList& arguments) {
    QCoreApplication::setApplicationVersion(QStringLiteral(DNL_VERSION));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Rewrites a DNL file for another module."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("FILE"),
                                 QStringLiteral("The DNL file to open, as File > Open would."),
                                 QStringLiteral("[FILE]"));
    parser.process(arguments);
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1) {
        parser.showHelp(1);
    }
    if (files.isEmpty()) {
        return std::nullopt;
    }
    return files.constFirst();
}

}  // namespace dnl
