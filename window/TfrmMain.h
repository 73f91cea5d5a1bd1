#pragma once

#include <QMainWindow>
#include <QString>
#include <functional>
#include <optional>
#include <string>

#include "ConverterState.h"
#include "FileChoice.h"
#include "StatusLog.h"
#include "StopRequest.h"

class QAction;
class QCheckBox;
class QCloseEvent;
class QFileDialog;
class QMenuBar;
class QPushButton;

namespace dnl {

class ClientArea;
class CompletingComboBox;
class InputHold;
class StatusMemo;

// The tool's one window. It keeps the user's choices, reports every step of a backup or a
// conversion in its status memo, and shows the hourglass while a conversion runs. A backup and run
// hold the window: input made meanwhile is dropped, and the memo shows the run's progress.
class TfrmMain : public QMainWindow, public StatusLog, public BusyCursor {
    Q_OBJECT

public:
    // Asks the user for a DNL file: its full path, or nothing when the user cancels.
    using FileChooser = std::function<std::optional<QString>()>;

    explicit TfrmMain(QWidget* parent = nullptr);

    // Applies a module choice; `index` is the module selector's index, -1 when it shows no item.
    void SelectModule(int index);

    const ConverterState& State() const { return m_state; }

    // Takes a file named from outside the window (on its command line) as File > Open takes a
    // chosen one.
    void OpenNamedFile(const QString& path);

    // Replaces OpenDialog as the way File > Open asks for a file, so that tests can answer
    // without a modal dialog.
    void SetFileChooser(FileChooser chooser);

    void AddLine(const std::string& text) override;
    void ShowBusy() override;
    void ShowNormal() override;

protected:
    // Enter on the focused Execute button presses it, as on the system's own buttons; files
    // dropped on any control are the window's.
    bool eventFilter(QObject* watched, QEvent* event) override;
    // A close during a run stops the run between two records; the window closes once it has.
    void closeEvent(QCloseEvent* event) override;

private:
    void CreateMenu();
    void CreateControls();
    void CreateStatusMemo();
    void NameForScreenReaders();
    void CreateOpenDialog();
    void ConnectHandlers();
    void PlaceWindow();
    std::optional<QString> RunOpenDialog();
    void ShowChosenFile(const ChosenFileShown& shown);
    bool TakeDraggedFiles(QEvent& event);

    void cbModuleChange();
    void cbMiscRecChange();
    void cbGBRClick();
    void mnuFileOpenClick();
    void mnuFileExitClick();
    void btnConvertClick();

    ConverterState m_state;
    FileChooser m_chooseFile;
    ClientArea* m_clientArea = nullptr;
    InputHold* m_hold = nullptr;    // while a backup and run hold the window
    StopRequest* m_stop = nullptr;  // the run's, while it goes
    bool m_closeAfterRun = false;

    // The controls and menu items the window works with, under the names they carry as objectName
    // too; the design (WindowDesign.h) makes them all.
    QMenuBar* MainMenu = nullptr;
    QAction* mnuFileOpen = nullptr;
    QAction* mnuFileExit = nullptr;
    StatusMemo* mmStatus = nullptr;
    CompletingComboBox* cbModule = nullptr;
    QPushButton* btnConvert = nullptr;
    QCheckBox* cbBackupDnl = nullptr;
    CompletingComboBox* cbMiscRec = nullptr;
    QCheckBox* cbGBR = nullptr;
    QFileDialog* OpenDialog = nullptr;
};

}  // namespace dnl
