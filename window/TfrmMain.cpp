#include "TfrmMain.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCompleter>
#include <QFile>
#include <QFileDialog>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopedValueRollback>
#include <algorithm>
#include <string_view>
#include <utility>

#include "ClientArea.h"
#include "CompletingComboBox.h"
#include "ErrorReport.h"
#include "ExecuteChoice.h"
#include "FileChoice.h"
#include "InputHold.h"
#include "StatusMemo.h"

namespace dnl {

namespace {

constexpr QSize kClientSize(442, 305);
constexpr QPoint kWindowPosition(547, 263);

QString FromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// "Courier New"; where it is missing fontconfig puts Liberation Mono, of the same metrics, in its
// place. Full hinting gives whole-pixel character widths, to which the control sizes are made.
QFont CourierNew(int pixelSize) {
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::TypeWriter);
    font.setHintingPreference(QFont::PreferFullHinting);
    font.setPixelSize(pixelSize);
    return font;
}

// The Japanese memo font, by its Japanese and its Latin name, then VL Gothic, the fixed-width
// Japanese font the setup installs, in its place. VL Gothic draws ASCII as ASCII: fonts that
// follow JIS-Roman, IPAGothic among them, draw "~" as an overline and the backslash as a yen
// sign, which misspells the backup's name.
QFont MemoFont() {
    QFont font;
    font.setFamilies({QStringLiteral("ＭＳ ゴシック"), QStringLiteral("MS Gothic"),
                      QStringLiteral("VL Gothic")});
    font.setStyleHint(QFont::TypeWriter);
    font.setHintingPreference(QFont::PreferFullHinting);
    font.setPixelSize(12);
    return font;
}

// The desktop's own menu font: the menu bar does not take the window's font.
QFont MenuFont(const QMenuBar* menuBar) {
    QFont font = QApplication::font(menuBar);
    font.setResolveMask(QFont::AllPropertiesResolved);
    return font;
}

template <typename Control>
Control* Named(Control* control, const char* name) {
    control->setObjectName(QString::fromLatin1(name));
    return control;
}

template <typename Control>
Control* Placed(Control* control, const char* name, const QRect& geometry) {
    control->setGeometry(geometry);
    return Named(control, name);
}

// Qt's file dialog can leave the completion list of its name field open after the dialog has
// closed, where it would take the next keys meant for this window.
void CloseCompletionPopups(const QFileDialog& dialog) {
    for (const QCompleter* completer : dialog.findChildren<QCompleter*>()) {
        completer->popup()->hide();
    }
}

}  // namespace

TfrmMain::TfrmMain(QWidget* parent)
    : QMainWindow(parent), m_chooseFile([this] { return RunOpenDialog(); }) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("dnl File transfer Tool"));
    setFont(CourierNew(12));
    QPalette buttonFace = palette();
    buttonFace.setColor(QPalette::Window, buttonFace.color(QPalette::Button));
    setPalette(buttonFace);

    CreateMenu();
    CreateControls();
    CreateOpenDialog();
    SetTabOrder();
    ConnectHandlers();
    PlaceWindow();

    cbModule->setCurrentIndex(0);
    SelectModule(0);
}

void TfrmMain::CreateMenu() {
    MainMenu = Named(new QMenuBar(this), "MainMenu");
    MainMenu->setFont(MenuFont(MainMenu));
    setMenuBar(MainMenu);

    mnuFile = Named(MainMenu->addMenu(QStringLiteral("File(&F)")), "mnuFile");
    mnuFileOpen = Named(mnuFile->addAction(QStringLiteral("Open(&O)...")), "mnuFileOpen");
    N1 = Named(mnuFile->addSeparator(), "N1");
    mnuFileExit = Named(mnuFile->addAction(QStringLiteral("Exit(&X)")), "mnuFileExit");

    mnuHelp = Named(MainMenu->addMenu(QStringLiteral("Help(&H)")), "mnuHelp");
    mnuHelpAbout = Named(mnuHelp->addAction(QStringLiteral("About Varnok...")), "mnuHelpAbout");
}

void TfrmMain::CreateControls() {
    m_clientArea = new ClientArea(kClientSize, this);
    setCentralWidget(m_clientArea);
    CreateLabelsAndRule();
    CreateStatusMemo();
    CreateChoiceControls();
    m_clientArea->AnchorLeftRight(Panel1);
    m_clientArea->AnchorLeftRight(mmStatus);
}

void TfrmMain::CreateLabelsAndRule() {
    Label1 = Placed(new QLabel(QStringLiteral("Select Module:"), m_clientArea), "Label1",
                    {8, 16, 98, 15});
    Label2 = Placed(new QLabel(QStringLiteral("Misc Record:"), m_clientArea), "Label2",
                    {128, 16, 84, 15});
    for (QLabel* label : {Label1, Label2}) {
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    }

    Panel1 = Placed(new QFrame(m_clientArea), "Panel1", {0, 0, 440, 2});
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panel1->setLineWidth(1);
}

void TfrmMain::CreateStatusMemo() {
    mmStatus = Placed(new StatusMemo(m_clientArea), "mmStatus", {0, 93, 440, 209});
    mmStatus->setFont(MemoFont());
    mmStatus->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    mmStatus->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    mmStatus->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    mmStatus->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    mmStatus->setTabChangesFocus(true);
    mmStatus->setPlainText(QStringLiteral("\n"));  // one empty line, ended like every line
}

void TfrmMain::CreateChoiceControls() {
    cbModule = Placed(new CompletingComboBox(m_clientArea), "cbModule", {8, 32, 113, 23});
    for (const std::string_view item : ModuleItems()) {
        cbModule->addItem(FromUtf8(item));
    }
    cbModule->setToolTip(QStringLiteral("どのモジュール用のDNLファイルにするか指定します"));

    btnConvert = Placed(new QPushButton(QStringLiteral("Execute"), m_clientArea), "btnConvert",
                        {360, 32, 75, 25});
    btnConvert->setCursor(Qt::PointingHandCursor);
    btnConvert->setEnabled(false);

    cbBackupDnl =
        Named(new QCheckBox(QStringLiteral("backup original"), m_clientArea), "cbBackupDnl");
    cbBackupDnl->setLayoutDirection(Qt::RightToLeft);  // the caption to the left of the box
    cbBackupDnl->setChecked(true);
    // Qt's check box needs a few pixels more than designed to show its whole caption: it grows
    // to the left, so that the box itself stays where designed.
    const int backupWidth = std::max(121, cbBackupDnl->sizeHint().width());
    cbBackupDnl->setGeometry(312 + 121 - backupWidth, 8, backupWidth, 17);

    cbMiscRec = Placed(new CompletingComboBox(m_clientArea), "cbMiscRec", {128, 32, 169, 23});

    cbGBR = Placed(new QCheckBox(QStringLiteral("GBR"), m_clientArea), "cbGBR", {144, 64, 57, 17});
    cbGBR->setFont(CourierNew(16));
    cbGBR->setEnabled(false);
}

void TfrmMain::CreateOpenDialog() {
    OpenDialog = Named(new QFileDialog(this), "OpenDialog");
    // Qt's own dialog behaves the same on every desktop and honours every option below.
    OpenDialog->setOption(QFileDialog::DontUseNativeDialog);
    OpenDialog->setAcceptMode(QFileDialog::AcceptOpen);
    OpenDialog->setFileMode(QFileDialog::AnyFile);  // a typed name of a missing file is accepted
    const QString filterLabel = QStringLiteral("DNLファイル　(*.dnl)");
    OpenDialog->setNameFilter(filterLabel);
    // Qt folds the ideographic space of the label into a plain one; the list of file types shows
    // it as written. Filtering goes by the pattern alone, not by this text.
    if (auto* fileTypes = OpenDialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"))) {
        fileTypes->setItemText(0, filterLabel);
    }
    OpenDialog->setDefaultSuffix(QStringLiteral("dnl"));
    OpenDialog->selectFile(QStringLiteral("*.dnl"));
    OpenDialog->setSizeGripEnabled(true);
}

void TfrmMain::SetTabOrder() {
    setTabOrder(mmStatus, cbModule);
    setTabOrder(cbModule, btnConvert);
    setTabOrder(btnConvert, cbBackupDnl);
    setTabOrder(cbBackupDnl, cbMiscRec);
    setTabOrder(cbMiscRec, cbGBR);
}

void TfrmMain::ConnectHandlers() {
    ConnectShowingErrors(cbModule, &CompletingComboBox::changedByUser, this,
                         [this] { cbModuleChange(); });
    ConnectShowingErrors(cbMiscRec, &CompletingComboBox::changedByUser, this,
                         [this] { cbMiscRecChange(); });
    ConnectShowingErrors(cbGBR, &QCheckBox::clicked, this, [this] { cbGBRClick(); });
    ConnectShowingErrors(mnuFileOpen, &QAction::triggered, this, [this] { mnuFileOpenClick(); });
    ConnectShowingErrors(mnuFileExit, &QAction::triggered, this, [this] { mnuFileExitClick(); });
    ConnectShowingErrors(btnConvert, &QPushButton::clicked, this, [this] { btnConvertClick(); });
}

void TfrmMain::PlaceWindow() {
    move(kWindowPosition);
    resize(kClientSize.width(), kClientSize.height() + MainMenu->sizeHint().height());
}

void TfrmMain::SetFileChooser(FileChooser chooser) {
    m_chooseFile = std::move(chooser);
}

void TfrmMain::SelectModule(int index) {
    const ModuleSelection shown = dnl::SelectModule(m_state, index, cbGBR->isChecked());
    cbMiscRec->ClearItemsKeepingText();
    for (const std::string_view item : shown.miscItems) {
        cbMiscRec->addItem(FromUtf8(item));
    }
    if (!shown.miscItems.empty()) {
        cbMiscRec->setCurrentIndex(0);
    }
    cbMiscRec->setEnabled(shown.miscEnabled);
    cbGBR->setEnabled(shown.gbrEnabled);
}

void TfrmMain::AddLine(const std::string& text) {
    mmStatus->AddLine(text);
    // While a run holds the window, the hold says when the memo catches up: a text edit for each
    // line would cost more than the run.
    if (m_hold != nullptr) {
        m_hold->Step();
    } else {
        mmStatus->ShowAddedLines();
    }
}

// The memo catches up before the cursor changes, so that both tell the same moment of the run.
void TfrmMain::ShowBusy() {
    mmStatus->ShowAddedLines();
    setCursor(Qt::WaitCursor);
}

void TfrmMain::ShowNormal() {
    mmStatus->ShowAddedLines();
    unsetCursor();
}

std::optional<QString> TfrmMain::RunOpenDialog() {
    const int answer = OpenDialog->exec();
    CloseCompletionPopups(*OpenDialog);
    if (answer != QDialog::Accepted || OpenDialog->selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return OpenDialog->selectedFiles().constFirst();
}

void TfrmMain::cbModuleChange() {
    SelectModule(cbModule->currentIndex());
}

void TfrmMain::cbMiscRecChange() {
    SelectMisc(m_state, cbMiscRec->currentIndex());
}

void TfrmMain::cbGBRClick() {
    m_state.gbr = cbGBR->isChecked();
}

void TfrmMain::mnuFileOpenClick() {
    const std::optional<QString> chosen = m_chooseFile();
    if (!chosen) {
        return;
    }
    AcceptChosenFile(m_state, QFile::encodeName(*chosen).toStdString());
    btnConvert->setEnabled(true);
}

void TfrmMain::mnuFileExitClick() {
    close();
}

void TfrmMain::btnConvertClick() {
    // A click that reached the button by a road other than input (an accessibility tool, say)
    // while a run holds the window starts nothing.
    if (m_hold != nullptr) {
        return;
    }
    {
        StopRequest stop;
        InputHold hold([this] { mmStatus->ShowAddedLines(); });
        const QScopedValueRollback holding(m_hold, &hold);
        const QScopedValueRollback stopping(m_stop, &stop);
        ExecuteChoice(m_state, cbBackupDnl->isChecked(), *this, *this, &stop);
    }
    if (m_closeAfterRun) {
        close();
    }
}

void TfrmMain::closeEvent(QCloseEvent* event) {
    if (m_stop == nullptr) {
        QMainWindow::closeEvent(event);
        return;
    }
    m_stop->Request();
    m_closeAfterRun = true;
    event->ignore();
}

}  // namespace dnl
