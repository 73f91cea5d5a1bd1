#pragma once

#include <QApplication>

namespace dnl {

// The application object. An error that escapes an event handler is shown to the user, and the
// event loop goes on.
class Application : public QApplication {
    Q_OBJECT

public:
    Application(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace dnl
