#pragma once

#include <QObject>

class QSocketNotifier;
class QWidget;

namespace dnl {

// SIGTERM and SIGHUP, which a desktop sends its programs when the user logs out, close the window
// as its close box does, so that a run under way stops between two records first instead of
// leaving the file half written with nothing said. The signal handler only writes a byte to a
// socket; the window reads it in its event loop, or where a run shows its progress.
class CloseOnSignal final : public QObject {
public:
    explicit CloseOnSignal(QWidget& window);
    ~CloseOnSignal() override;
    CloseOnSignal(const CloseOnSignal&) = delete;
    CloseOnSignal& operator=(const CloseOnSignal&) = delete;

private:
    QWidget& m_window;
    QSocketNotifier* m_notifier = nullptr;
};

}  // namespace dnl
