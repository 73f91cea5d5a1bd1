#include "ErrorReport.h"

#include <QApplication>
#include <QFileInfo>
#include <QMessageBox>

namespace dnl {

QString ApplicationTitle(const QString& executablePath) {
    const QString fileName = QFileInfo(executablePath).fileName();
    const QString stem = fileName.left(fileName.indexOf(u'.'));
    return stem.left(1) + stem.mid(1).toLower();
}

QString ErrorText(const QString& message) {
    if (!message.isEmpty() && message.back() > u'.') {
        return message + u'.';
    }
    return message;
}

void ShowError(const QString& message) {
    QMessageBox::critical(QApplication::activeWindow(),
                          ApplicationTitle(QCoreApplication::applicationFilePath()),
                          ErrorText(message));
}

}  // namespace dnl
