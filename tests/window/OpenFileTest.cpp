// File > Open: which chosen files are kept as the DNL file, the working directory, the Execute
// button, and the dialog itself.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "CommandLine.h"
#include "WindowTestSupport.h"

namespace {

QString Canonical(const QString& folder) {
    return QDir(folder).canonicalPath();
}

QString WorkingDirectory() {
    return Canonical(QDir::currentPath());
}

std::string Encoded(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

bool MakeFile(const QString& path) {
    QFile file(path);
    return QDir().mkpath(QFileInfo(path).absolutePath()) && file.open(QIODevice::WriteOnly);
}

QStringList ListedNames(const QListView* list) {
    QStringList names;
    const QAbstractItemModel* model = list->model();
    for (int row = 0; row < model->rowCount(list->rootIndex()); ++row) {
        names << model->index(row, 0, list->rootIndex()).data().toString();
    }
    names.sort();
    return names;
}

}  // namespace

class OpenFileTest : public dnl::test::WindowTestCase {
    Q_OBJECT

private slots:
    void extensionIsTheTextAfterTheLastDotOfThePath_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("kept");
        QTest::newRow("lower case") << "X.dnl" << true;
        QTest::newRow("mixed case") << "X.Dnl" << true;
        QTest::newRow("upper case") << "X.DNL" << true;
        QTest::newRow("two dots") << "a.b.dnl" << true;
        QTest::newRow("other extension") << "X.txt" << false;
        QTest::newRow("longer extension") << "X.dnl2" << false;
        QTest::newRow("dot in a folder only") << "v1.dnl/README" << false;
        QTest::newRow("dot in a folder and the file") << "v1.0/X.DnL" << true;
    }

    void extensionIsTheTextAfterTheLastDotOfThePath() {
        QFETCH(QString, name);
        QFETCH(bool, kept);
        const QString path = FilePath(name);
        QVERIFY(MakeFile(path));
        m_ui->OpenAnswering(path);
        QCOMPARE(m_ui->window->State().path, kept ? Encoded(path) : std::string());
        QVERIFY(m_ui->btnConvert->isEnabled());
        QCOMPARE(WorkingDirectory(), Canonical(QFileInfo(path).absolutePath()));
    }

    void otherExtensionKeepsThePreviousFile() {
        const QString dnl = FilePath("X.Dnl");
        const QString text = FilePath("sub/X.txt");
        QVERIFY(MakeFile(dnl) && MakeFile(text));
        QCOMPARE(m_ui->window->windowTitle(), QStringLiteral("dnl File transfer Tool"));
        m_ui->OpenAnswering(dnl);
        m_ui->OpenAnswering(text);
        QCOMPARE(m_ui->window->State().path, Encoded(dnl));
        QCOMPARE(m_ui->window->windowTitle(), QStringLiteral("X.Dnl - dnl File transfer Tool"));
        QCOMPARE(WorkingDirectory(), Canonical(FilePath("sub")));
        QVERIFY(m_ui->btnConvert->isEnabled());
    }

    void commandLineFileIsTakenAsAChosenOne() {
        QCOMPARE(dnl::FileFromCommandLine({"dnltransfer"}), std::nullopt);
        const std::optional<QString> named = dnl::FileFromCommandLine({"dnltransfer", "one/Y.dnl"});
        QCOMPARE(named, QStringLiteral("one/Y.dnl"));
        QVERIFY(QDir().mkpath(FilePath("one")) && QDir::setCurrent(FolderPath()));
        m_ui->window->OpenNamedFile(*named);
        const QString missing = Canonical(FilePath("one")) + "/Y.dnl";
        QCOMPARE(m_ui->window->State().path, Encoded(missing));
        QCOMPARE(WorkingDirectory(), Canonical(FilePath("one")));
        QCOMPARE(m_ui->LoggedLines(), QStringList{"Fail to open " + missing});
        QVERIFY(m_ui->btnConvert->isEnabled());
        QCOMPARE(m_ui->window->windowTitle(), QStringLiteral("Y.dnl - dnl File transfer Tool"));
    }

    // Files dropped on the window or any control: the first is taken as a chosen one, and one line
    // tells of the others. A drag that brings no local file is not taken.
    void droppedFilesAreTakenAsAChosenOne() {
        const QString first = FilePath("one/X.dnl");
        QVERIFY(MakeFile(first));
        const QList<QUrl> files{QUrl::fromLocalFile(first), QUrl::fromLocalFile(FilePath("Y.DNL")),
                                QUrl::fromLocalFile(FilePath("Z.txt"))};
        QVERIFY(!dnl::test::DragAndDrop(m_ui->window.get(), {QUrl("https://example.com/X.dnl")}));
        QVERIFY(dnl::test::DragAndDrop(m_ui->mmStatus->viewport(), files));
        QCOMPARE(m_ui->window->State().path, Encoded(first));
        QCOMPARE(m_ui->window->windowTitle(), QStringLiteral("X.dnl - dnl File transfer Tool"));
        QVERIFY(dnl::test::DragAndDrop(m_ui->cbMiscRec->lineEdit(), files.mid(2)));
        QCOMPARE(WorkingDirectory(), Canonical(FolderPath()));
        QCOMPARE(m_ui->LoggedLines(),
                 QStringList{"Took only the first dropped file; 2 others were not taken"});
    }

    void cancelChangesNothing() {
        const QString before = QDir::currentPath();
        m_ui->OpenAnswering(std::nullopt);
        QVERIFY(m_ui->window->State().path.empty());
        QVERIFY(!m_ui->btnConvert->isEnabled());
        QCOMPARE(QDir::currentPath(), before);

        const QString dnl = FilePath("X.dnl");
        QVERIFY(MakeFile(dnl));
        m_ui->OpenAnswering(dnl);
        m_ui->OpenAnswering(std::nullopt);
        QCOMPARE(m_ui->window->State().path, Encoded(dnl));
        QVERIFY(m_ui->btnConvert->isEnabled());  // once enabled, it stays enabled
    }

    void dialogListsDnlFilesWhateverTheirCase() {
        for (const char* name : {"a.DNL", "b.dnl", "c.Dnl", "d.txt", "e.dnl.bak"}) {
            QVERIFY(MakeFile(FilePath(name)));
        }
        const auto* types =
            m_ui->OpenDialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
        QVERIFY(types != nullptr);
        QCOMPARE(types->count(), 1);
        QCOMPARE(types->itemText(0), QStringLiteral("DNLファイル　(*.dnl)"));
        m_ui->OpenDialog->setDirectory(FolderPath());
        const auto* list = m_ui->OpenDialog->findChild<QListView*>(QStringLiteral("listView"));
        QVERIFY(list != nullptr);
        QTRY_COMPARE(ListedNames(list), QStringList({"a.DNL", "b.dnl", "c.Dnl"}));
    }

    void dialogAcceptsATypedNameOfAMissingFile() {
        QString initialName;
        bool wasModal = false;
        QTimer::singleShot(0, this, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            wasModal = dialog == m_ui->OpenDialog;
            if (!wasModal) {
                return;
            }
            dialog->setDirectory(FolderPath());
            auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            initialName = name->text();
            name->selectAll();
            QTest::keyClicks(name, "NEW");
            QTest::keyClick(name, Qt::Key_Return);
        });
        m_ui->mnuFileOpen->trigger();
        QVERIFY(wasModal);
        QCOMPARE(initialName, QStringLiteral("*.dnl"));
        // The default extension is added, and the missing file is taken as it is.
        QCOMPARE(m_ui->window->State().path, Encoded(FilePath("NEW.dnl")));
        QCOMPARE(WorkingDirectory(), Canonical(FolderPath()));
        QVERIFY(m_ui->btnConvert->isEnabled());
        QVERIFY(!QFile::exists(FilePath("NEW.dnl")));
    }

    void dialogCancelledChangesNothing() {
        const QString before = QDir::currentPath();
        QTimer::singleShot(0, this, [] {
            if (QWidget* dialog = QApplication::activeModalWidget()) {
                QTest::keyClick(dialog, Qt::Key_Escape);
            }
        });
        m_ui->mnuFileOpen->trigger();
        QVERIFY(QApplication::activeModalWidget() == nullptr);
        QVERIFY(m_ui->window->State().path.empty());
        QVERIFY(!m_ui->btnConvert->isEnabled());
        QCOMPARE(QDir::currentPath(), before);
    }

private:
    QString FilePath(const QString& name) const { return m_folder->filePath(name); }
    QString FolderPath() const { return m_folder->path(); }
};

QTEST_MAIN(OpenFileTest)
#include "OpenFileTest.moc"
