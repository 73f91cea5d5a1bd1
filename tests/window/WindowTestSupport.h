#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QUrl>
#include <memory>
#include <optional>

#include "TfrmMain.h"

class QAction;
class QCheckBox;
class QComboBox;
class QFileDialog;
class QFrame;
class QLabel;
class QMenu;
class QMenuBar;
class QPlainTextEdit;
class QPushButton;

namespace dnl::test {

// A fresh main window, shown, with its controls found by objectName the way a user or an
// accessibility tool sees them. The working directory is restored when it goes.
struct WindowUnderTest {
    WindowUnderTest();
    ~WindowUnderTest();
    WindowUnderTest(const WindowUnderTest&) = delete;
    WindowUnderTest& operator=(const WindowUnderTest&) = delete;

    // Whether the window is on screen and every control was found; the names of those missing.
    bool Ready() const { return exposed && missing.isEmpty(); }

    // File > Open, with `answer` standing in for the user's choice in the dialog.
    void OpenAnswering(const std::optional<QString>& answer);
    // The lines logged into the memo, without its first empty line.
    QStringList LoggedLines() const;

    std::unique_ptr<TfrmMain> window;
    bool exposed = false;
    QStringList missing;
    QString previousWorkingDirectory;

    QMenuBar* MainMenu = nullptr;
    QMenu* mnuFile = nullptr;
    QAction* mnuFileOpen = nullptr;
    QAction* N1 = nullptr;
    QAction* mnuFileExit = nullptr;
    QMenu* mnuHelp = nullptr;
    QAction* mnuHelpAbout = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QFrame* Panel1 = nullptr;
    QPlainTextEdit* mmStatus = nullptr;
    QComboBox* cbModule = nullptr;
    QPushButton* btnConvert = nullptr;
    QCheckBox* cbBackupDnl = nullptr;
    QComboBox* cbMiscRec = nullptr;
    QCheckBox* cbGBR = nullptr;
    QFileDialog* OpenDialog = nullptr;
};

// What every window test class derives from: before each test function a fresh window, shown
// with every control found, and a fresh folder for its files; after it, neither. A class that
// needs more declares its own init() and cleanup() and calls these first.
class WindowTestCase : public QObject {
    Q_OBJECT

protected slots:
    void init();
    void cleanup();

protected:
    std::unique_ptr<QTemporaryDir> m_folder;
    std::unique_ptr<WindowUnderTest> m_ui;
};

// Selects the whole text of `box` as the user does, with Ctrl+A.
void SelectAllText(QComboBox* box);
// Picks row `row` from the open list of `box` with the keyboard, as a user does.
void PickFromList(QComboBox* box, int row);

// Drags files (or other links) over `target` and drops them there, as the window system does;
// whether the drop was taken.
bool DragAndDrop(QWidget* target, const QList<QUrl>& urls);

}  // namespace dnl::test
