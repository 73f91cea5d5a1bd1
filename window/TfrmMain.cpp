#include "TfrmMain.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCompleter>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QScreen>
#include <QUrl>
#include <algorithm>
#include <string_view>
#include <utility>
#include <vector>

#include "ClientArea.h"
#include "CompletingComboBox.h"
#include "ErrorReport.h"
#include "ExecuteChoice.h"
#include "FileChoice.h"
#include "InputHold.h"
#include "Placement.h"
#include "StatusMemo.h"
#include "WindowDesign.h"

namespace dnl {

namespace {

const QSize kClientSize(kWindowPlacement.width, kWindowPlacement.height);

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
    font.setPixelSize(FontPixels(FontRole::Memo));
    return font;
}

QFont FontFor(FontRole role) {
    return role == FontRole::Memo ? MemoFont() : CourierNew(FontPixels(role));
}

// The desktop's own menu font: the menu bar does not take the window's font.
QFont MenuFont(const QMenuBar* menuBar) {
    QFont font = QApplication::font(menuBar);
    font.setResolveMask(QFont::AllPropertiesResolved);
    return font;
}

template <typename Control>
Control* Named(Control* control, std::string_view name) {
    control->setObjectName(FromUtf8(name));
    return control;
}

QWidget* NewControl(const ControlDesign& design, QWidget* parent) {
    const QString caption = FromUtf8(design.caption);
    switch (design.kind) {
        case ControlKind::Label: {
            auto* label = new QLabel(caption, parent);
            label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            return label;
        }
        case ControlKind::Rule: {
            auto* rule = new QFrame(parent);
            rule->setFrameStyle(QFrame::Panel | QFrame::Sunken);
            rule->setLineWidth(1);
            return rule;
        }
        case ControlKind::Memo:
            return new StatusMemo(parent);
        case ControlKind::DropDownList:
            return new CompletingComboBox(parent);
        case ControlKind::PushButton:
            return new QPushButton(caption, parent);
        case ControlKind::CheckBox: {
            auto* box = new QCheckBox(caption, parent);
            box->setChecked(design.Has(kChecked));
            if (design.Has(kCaptionLeft)) {
                box->setLayoutDirection(Qt::RightToLeft);
            }
            return box;
        }
    }
    return nullptr;
}

// The designed bounds, widened where Qt needs a few pixels more than designed to show the whole
// caption.
QRect FittingCaption(const QWidget& control, const ControlDesign& design) {
    const Rect& designed = design.bounds;
    const int missing = design.captionGrowth == CaptionGrowth::None
                            ? 0
                            : std::max(0, control.sizeHint().width() - designed.width);
    const int left = designed.left - (design.captionGrowth == CaptionGrowth::ToLeft ? missing : 0);
    return {left, designed.top, designed.width + missing, designed.height};
}

// Qt's file dialog can leave the completion list of its name field open after the dialog has
// closed, where it would take the next keys meant for this window.
void CloseCompletionPopups(const QFileDialog& dialog) {
    for (const QCompleter* completer : dialog.findChildren<QCompleter*>()) {
        completer->popup()->hide();
    }
}

// The local files a drag brings, in its order, as the system names them.
std::vector<std::string> DraggedFiles(const QMimeData& data) {
    std::vector<std::string> files;
    for (const QUrl& url : data.urls()) {
        if (url.isLocalFile()) {
            files.push_back(QFile::encodeName(url.toLocalFile()).toStdString());
        }
    }
    return files;
}

}  // namespace

TfrmMain::TfrmMain(QWidget* parent)
    : QMainWindow(parent), m_chooseFile([this] { return RunOpenDialog(); }) {
    setObjectName(FromUtf8(kWindowName));
    setWindowTitle(FromUtf8(kWindowTitle));
    setFont(CourierNew(FontPixels(FontRole::Window)));
    QPalette buttonFace = palette();
    buttonFace.setColor(QPalette::Window, buttonFace.color(QPalette::Button));
    setPalette(buttonFace);

    CreateMenu();
    CreateControls();
    CreateOpenDialog();
    ConnectHandlers();
    PlaceWindow();

    cbModule->setCurrentIndex(0);
    SelectModule(0);
}

void TfrmMain::CreateMenu() {
    MainMenu = Named(new QMenuBar(this), kMenuBarName);
    MainMenu->setFont(MenuFont(MainMenu));
    setMenuBar(MainMenu);
    QMenu* menu = nullptr;
    for (const MenuEntry& entry : kMenuEntries) {
        const QString caption = FromUtf8(entry.caption);
        if (entry.opensMenu) {
            menu = Named(MainMenu->addMenu(caption), entry.name);
        } else {
            Named(entry.caption == "-" ? menu->addSeparator() : menu->addAction(caption),
                  entry.name);
        }
    }
    mnuFileOpen = MainMenu->findChild<QAction*>(QStringLiteral("mnuFileOpen"));
    mnuFileExit = MainMenu->findChild<QAction*>(QStringLiteral("mnuFileExit"));
}

// The controls as designed, made in tab order, which Qt's focus chain follows.
void TfrmMain::CreateControls() {
    m_clientArea = new ClientArea(kClientSize, this);
    setCentralWidget(m_clientArea);
    for (const ControlDesign& design : kWindowControls) {
        QWidget* control = Named(NewControl(design, m_clientArea), design.name);
        if (design.font != FontRole::Window) {
            control->setFont(FontFor(design.font));
        }
        control->setGeometry(FittingCaption(*control, design));
        control->setEnabled(!design.Has(kDisabled));
        control->setToolTip(FromUtf8(design.tip));
        if (design.Has(kHandCursor)) {
            control->setCursor(Qt::PointingHandCursor);
        }
        if (design.Has(kAnchoredLeftRight)) {
            m_clientArea->AnchorLeftRight(control);
        }
    }
    mmStatus = findChild<StatusMemo*>(QStringLiteral("mmStatus"));
    cbModule = findChild<CompletingComboBox*>(QStringLiteral("cbModule"));
    btnConvert = findChild<QPushButton*>(QStringLiteral("btnConvert"));
    cbBackupDnl = findChild<QCheckBox*>(QStringLiteral("cbBackupDnl"));
    cbMiscRec = findChild<CompletingComboBox*>(QStringLiteral("cbMiscRec"));
    cbGBR = findChild<QCheckBox*>(QStringLiteral("cbGBR"));
    CreateStatusMemo();
    NameForScreenReaders();
    for (const std::string_view item : ModuleItems()) {
        cbModule->addItem(FromUtf8(item));
    }
}

void TfrmMain::CreateStatusMemo() {
    mmStatus->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    mmStatus->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    mmStatus->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    mmStatus->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    mmStatus->setTabChangesFocus(true);
    mmStatus->setPlainText(QStringLiteral("\n"));  // one empty line, ended like every line
}

// Each list takes its name from its label, its buddy, which also gives the label's access key to
// the list. The label shows the same text: "&" only underlines the key's letter.
void TfrmMain::NameForScreenReaders() {
    for (const ControlDesign& design : kWindowControls) {
        if (!design.names.empty()) {
            auto* label = findChild<QLabel*>(FromUtf8(design.name));
            label->setText(FromUtf8(CaptionWithAccessKey(design)));
            label->setBuddy(findChild<QWidget*>(FromUtf8(design.names)));
        }
    }
    mmStatus->setAccessibleName(FromUtf8(kMemoAccessibleName));
}

void TfrmMain::CreateOpenDialog() {
    OpenDialog = Named(new QFileDialog(this), kOpenDialogName);
    // Qt's own dialog behaves the same on every desktop and honours every option below.
    OpenDialog->setOption(QFileDialog::DontUseNativeDialog);
    OpenDialog->setAcceptMode(QFileDialog::AcceptOpen);
    OpenDialog->setFileMode(QFileDialog::AnyFile);  // a typed name of a missing file is accepted
    const QString filterLabel = FromUtf8(kFilterLabel);
    OpenDialog->setNameFilter(filterLabel);
    // Qt folds the ideographic space of the label into a plain one; the list of file types shows
    // it as written. Filtering goes by the pattern alone, not by this text.
    if (auto* fileTypes = OpenDialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"))) {
        fileTypes->setItemText(0, filterLabel);
    }
    OpenDialog->setDefaultSuffix(FromUtf8(kDefaultExtension));
    OpenDialog->selectFile(FromUtf8(kInitialFileName));
    OpenDialog->setSizeGripEnabled(true);
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
    btnConvert->installEventFilter(this);
    // Files dragged over the window or any of its controls come to the window.
    setAcceptDrops(true);
    installEventFilter(this);
    for (QWidget* control : m_clientArea->findChildren<QWidget*>()) {
        control->installEventFilter(this);
    }
}

// At the designed position, unless part of the window would be off the working area of the
// screen there (at a large scale, say); then moved just enough to fit. The frame counts as far as
// the platform knows it before the window is shown: made, the window has the frame it can tell.
void TfrmMain::PlaceWindow() {
    resize(kClientSize.width(), kClientSize.height() + MainMenu->sizeHint().height());
    create();
    const QPoint designed(kWindowPlacement.left, kWindowPlacement.top);
    const QScreen* screen = QGuiApplication::screenAt(designed);
    if (screen == nullptr) {
        screen = QGuiApplication::primaryScreen();
    }
    const QRect area = screen->availableGeometry();
    const Rect placed = FitInWorkArea(
        {designed.x(), designed.y(), frameGeometry().width(), frameGeometry().height()},
        {area.x(), area.y(), area.width(), area.height()});
    move(placed.left, placed.top);
}

bool TfrmMain::eventFilter(QObject* watched, QEvent* event) {
    if (TakeDraggedFiles(*event)) {
        return true;
    }
    if (watched == btnConvert && event->type() == QEvent::KeyPress) {
        const int key = static_cast<const QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            btnConvert->click();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

// A drag that brings files is the window's, over whichever control: the first file dropped is
// taken as File > Open takes a chosen one. Other drags (text) go on to the control.
bool TfrmMain::TakeDraggedFiles(QEvent& event) {
    if (event.type() != QEvent::DragEnter && event.type() != QEvent::DragMove &&
        event.type() != QEvent::Drop) {
        return false;
    }
    auto& drag = static_cast<QDropEvent&>(event);
    const std::vector<std::string> files = DraggedFiles(*drag.mimeData());
    if (files.empty()) {
        return false;
    }
    drag.acceptProposedAction();
    if (event.type() == QEvent::Drop) {
        ShowChosenFile(*AcceptDroppedFiles(m_state, files, *this));
    }
    return true;
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
    ShowChosenFile(AcceptChosenFile(m_state, QFile::encodeName(*chosen).toStdString()));
}

void TfrmMain::OpenNamedFile(const QString& path) {
    ShowChosenFile(AcceptNamedFile(m_state, QFile::encodeName(path).toStdString(), *this));
}

void TfrmMain::ShowChosenFile(const ChosenFileShown& shown) {
    btnConvert->setEnabled(shown.executeEnabled);
    setWindowTitle(QFile::decodeName(WindowTitle(m_state).c_str()));
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
