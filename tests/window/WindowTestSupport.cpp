#include "WindowTestSupport.h"

#include <QAbstractItemView>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDropEvent>
#include <QFileDialog>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

namespace dnl::test {

namespace {

template <typename Control>
void FindInto(const QWidget& window, const char* name, Control*& control, QStringList& missing) {
    control = window.findChild<Control*>(QString::fromLatin1(name));
    if (control == nullptr) {
        missing << QString::fromLatin1(name);
    }
}

}  // namespace

void WindowTestCase::init() {
    m_folder = std::make_unique<QTemporaryDir>();
    QVERIFY(m_folder->isValid());
    m_ui = std::make_unique<WindowUnderTest>();
    QVERIFY2(m_ui->Ready(), qPrintable("missing: " + m_ui->missing.join(u' ')));
}

void WindowTestCase::cleanup() {
    m_ui.reset();
    m_folder.reset();
}

WindowUnderTest::WindowUnderTest()
    : window(std::make_unique<TfrmMain>()), previousWorkingDirectory(QDir::currentPath()) {
    window->show();
    exposed = QTest::qWaitForWindowExposed(window.get());
    const QWidget& w = *window;
    FindInto(w, "MainMenu", MainMenu, missing);
    FindInto(w, "mnuFile", mnuFile, missing);
    FindInto(w, "mnuFileOpen", mnuFileOpen, missing);
    FindInto(w, "N1", N1, missing);
    FindInto(w, "mnuFileExit", mnuFileExit, missing);
    FindInto(w, "mnuHelp", mnuHelp, missing);
    FindInto(w, "mnuHelpAbout", mnuHelpAbout, missing);
    FindInto(w, "Label1", Label1, missing);
    FindInto(w, "Label2", Label2, missing);
    FindInto(w, "Panel1", Panel1, missing);
    FindInto(w, "mmStatus", mmStatus, missing);
    FindInto(w, "cbModule", cbModule, missing);
    FindInto(w, "btnConvert", btnConvert, missing);
    FindInto(w, "cbBackupDnl", cbBackupDnl, missing);
    FindInto(w, "cbMiscRec", cbMiscRec, missing);
    FindInto(w, "cbGBR", cbGBR, missing);
    FindInto(w, "OpenDialog", OpenDialog, missing);
}

WindowUnderTest::~WindowUnderTest() {
    QDir::setCurrent(previousWorkingDirectory);
}

void WindowUnderTest::OpenAnswering(const std::optional<QString>& answer) {
    window->SetFileChooser([answer] { return answer; });
    mnuFileOpen->trigger();
}

QStringList WindowUnderTest::LoggedLines() const {
    QStringList lines = mmStatus->toPlainText().split(u'\n');
    // The memo starts with one empty line, and every line it is given ends with a line break.
    if (!lines.isEmpty() && lines.constFirst().isEmpty()) {
        lines.removeFirst();
    }
    if (!lines.isEmpty() && lines.constLast().isEmpty()) {
        lines.removeLast();
    }
    return lines;
}

void SelectAllText(QComboBox* box) {
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
}

void PickFromList(QComboBox* box, int row) {
    box->showPopup();
    QAbstractItemView* list = box->view();
    list->setCurrentIndex(list->model()->index(row, box->modelColumn()));
    QTest::keyClick(list, Qt::Key_Return);
}

bool DragAndDrop(QWidget* target, const QList<QUrl>& urls) {
    QMimeData data;
    data.setUrls(urls);
    const QPoint centre = target->rect().center();
    QDragEnterEvent enter(centre, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &enter);
    if (!enter.isAccepted()) {
        return false;
    }
    QDropEvent drop(centre, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &drop);
    return drop.isAccepted();
}

}  // namespace dnl::test
