#include "ErrorReport.h"

#include <QApplication>
#include <QMessageBox>

#include "ErrorText.h"

namespace dnl {

QString ApplicationTitle(const QString& executablePath) {
    return QString::fromStdString(ApplicationTitle(executablePath.toStdString()));
}

QString ErrorText(const QString& message) {
    return QString::fromStdString(ErrorText(message.toStdString()));
}

void ShowError(const QString& message) {
    QMessageBox::critical(QApplication::activeWindow(),
                          ApplicationTitle(QCoreApplication::applicationFilePath()),
                          ErrorText(message));
}

}  // namespace dnl
