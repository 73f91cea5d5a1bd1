#include "Application.h"

#include "ErrorReport.h"

namespace dnl {

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {}

bool Application::notify(QObject* receiver, QEvent* event) {
    return ShowingErrors([&] { return QApplication::notify(receiver, event); }, false);
}

}  // namespace dnl
