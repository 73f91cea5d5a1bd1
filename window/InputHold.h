#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <functional>

class QEvent;

namespace dnl {

// Holds the application while a backup and a run take the one thread. User input that arrives
// meanwhile (keys, mouse, wheel, touch, input methods, shortcuts, drag and drop) is dropped, and
// so is what the window system still delivers when the hold ends: a second click made during a
// run must not start a second backup and run once the first has ended. As the run reports, every
// other event is processed now and then, so that the window repaints and shows the run's progress.
class InputHold final : public QObject {
public:
    // `showProgress` brings the window up to date; it is called before events are processed.
    explicit InputHold(std::function<void()> showProgress);
    // Shows the last progress, then drops the input the window system holds for the application.
    ~InputHold() override;
    InputHold(const InputHold&) = delete;
    InputHold& operator=(const InputHold&) = delete;

    // Called at each step the run reports: shows progress when it was last shown long enough ago.
    void Step();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ShowProgress();

    std::function<void()> m_showProgress;
    QElapsedTimer m_sinceProgress;
};

}  // namespace dnl
