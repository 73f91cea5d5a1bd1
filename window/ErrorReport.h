#pragma once

#include <QObject>
#include <QString>
#include <exception>
#include <utility>

namespace dnl {

// The core's ApplicationTitle and ErrorText, for Qt's text.
QString ApplicationTitle(const QString& executablePath);
QString ErrorText(const QString& message);

// Shows an error's message in a box with an error icon and an OK button, captioned with the
// application's title, and waits for the user.
void ShowError(const QString& message);

// Returns what `action` returns; when an exception escapes it, shows the exception's message
// and returns `onError`.
template <typename Result, typename Action>
Result ShowingErrors(Action&& action, Result onError) {
    try {
        return action();
    } catch (const std::exception& error) {
        ShowError(QString::fromUtf8(error.what()));
    } catch (...) {
        ShowError(QStringLiteral("An error of an unknown kind occurred"));
    }
    return onError;
}

// Connects `signal` of `sender` to `handler`, run in `context`'s thread. An error escaping the
// handler is shown right there, before it could unwind through Qt's own code, which is built
// without exception support and would leak or lose state on the way.
template <typename Sender, typename Signal, typename Handler>
QMetaObject::Connection ConnectShowingErrors(Sender* sender, Signal signal, QObject* context,
                                             Handler handler) {
    return QObject::connect(sender, signal, context, [handler = std::move(handler)] {
        ShowingErrors(
            [&handler] {
                handler();
                return true;
            },
            false);
    });
}

}  // namespace dnl
