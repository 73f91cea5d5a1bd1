#include "InputHold.h"

#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <utility>

namespace dnl {

namespace {

// Often enough for progress to look smooth, seldom enough to cost the run next to nothing.
constexpr qint64 kProgressIntervalMs = 100;

bool IsUserInput(const QEvent& event) {
    switch (event.type()) {
        case QEvent::InputMethod:
        case QEvent::Shortcut:
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::Drop:
            return true;
        default:
            return event.isInputEvent();
    }
}

}  // namespace

InputHold::InputHold(std::function<void()> showProgress) : m_showProgress(std::move(showProgress)) {
    QCoreApplication::instance()->installEventFilter(this);
    m_sinceProgress.start();
}

InputHold::~InputHold() {
    m_showProgress();
    // Makes the window system hand over all it holds, so that none of it is replayed later.
    QGuiApplication::sync();
}

void InputHold::Step() {
    if (m_sinceProgress.elapsed() >= kProgressIntervalMs) {
        ShowProgress();
    }
}

bool InputHold::eventFilter(QObject* watched, QEvent* event) {
    return IsUserInput(*event) || QObject::eventFilter(watched, event);
}

void InputHold::ShowProgress() {
    m_showProgress();
    QCoreApplication::processEvents();
    m_sinceProgress.restart();
}

}  // namespace dnl
