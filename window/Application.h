#pragma once

#include <QApplication>

namespace dnl {

// The application object. An error that escapes an event handler is shown to the user, and the
// event loop goes on. The window's own handlers show their errors before they reach Qt (see
// ConnectShowingErrors); this catches whatever else escapes an event.
class Application : public QApplication {
    Q_OBJECT

public:
    Application(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace dnl
