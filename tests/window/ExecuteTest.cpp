// Execute on real files: the backup, the conversion, the lines in the memo, the bytes on disk,
// the hourglass, and the cases where nothing may be written.
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <cerrno>

#include "TestSupport.h"
#include "WindowTestSupport.h"

using dnl::test::Bytes;
using dnl::test::Dnl;
using dnl::test::SelectAllText;
using dnl::test::WindowUnderTest;

namespace {

std::string Encoded(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

// A file for RQX4, with a record the run passes over before the NAME record.
Bytes Rqx4File() {
    return Dnl().Filler(3).Name("RQX4").Misc(0x0000).End().bytes;
}

}  // namespace

class ExecuteTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        m_folder = std::make_unique<QTemporaryDir>();
        QVERIFY(m_folder->isValid());
        m_dnlPath = m_folder->filePath("X.dnl");
        m_backupPath = m_folder->filePath("X.~NL");
        dnl::test::WriteFile(Encoded(m_dnlPath), Rqx4File());
        m_ui = std::make_unique<WindowUnderTest>();
        QVERIFY2(m_ui->Ready(), qPrintable("missing: " + m_ui->missing.join(u' ')));
    }
    void cleanup() {
        m_ui.reset();
        m_folder.reset();
    }

    void convertsAfterMakingTheBackup() {
        m_ui->OpenAnswering(m_dnlPath);
        ChooseTnwq8At1080_50iWithGbr();
        QTest::mouseClick(m_ui->btnConvert, Qt::LeftButton);

        QCOMPARE(m_ui->LoggedLines(),
                 QStringList({"Backed up the original DNL file as 'X.~NL'", "Start...",
                              "Find a NAME record", "--> TNWQ8", "Modified the MISC record to 6145",
                              "Finished"}));
        QCOMPARE(DnlFile(), Dnl().Filler(3).Name("TNW8").Misc(0x1801).End().bytes);
        QVERIFY(QFile::exists(m_backupPath));
        QCOMPARE(dnl::test::ReadFile(Encoded(m_backupPath)), Rqx4File());
    }

    void convertsWithoutBackupWhenTheBoxIsCleared() {
        m_ui->OpenAnswering(m_dnlPath);
        ChooseTnwq8At1080_50iWithGbr();
        QTest::mouseClick(m_ui->cbBackupDnl, Qt::LeftButton);
        QVERIFY(!m_ui->cbBackupDnl->isChecked());
        QTest::mouseClick(m_ui->btnConvert, Qt::LeftButton);

        QCOMPARE(m_ui->LoggedLines(),
                 QStringList({"Start...", "Find a NAME record", "--> TNWQ8",
                              "Modified the MISC record to 6145", "Finished"}));
        QCOMPARE(DnlFile(), Dnl().Filler(3).Name("TNW8").Misc(0x1801).End().bytes);
        QCOMPARE(QDir(m_folder->path()).entryList(QDir::Files), QStringList({"X.dnl"}));
    }

    void linesOfEveryRunAccumulate() {
        m_ui->OpenAnswering(m_dnlPath);
        ChooseTnwq8At1080_50iWithGbr();
        QTest::mouseClick(m_ui->cbBackupDnl, Qt::LeftButton);
        QTest::mouseClick(m_ui->btnConvert, Qt::LeftButton);
        QTest::mouseClick(m_ui->cbGBR, Qt::LeftButton);  // the next run writes no GBR bit
        QTest::mouseClick(m_ui->btnConvert, Qt::LeftButton);

        const QStringList run = {"Start...", "Find a NAME record", "--> TNWQ8",
                                 "Modified the MISC record to %1", "Finished"};
        QCOMPARE(m_ui->LoggedLines(), QStringList(run).replaceInStrings("%1", "6145") +
                                          QStringList(run).replaceInStrings("%1", "2049"));
        QCOMPARE(DnlFile(), Dnl().Filler(3).Name("TNW8").Misc(0x0801).End().bytes);
    }

    void showsTheHourglassOnlyWhileTheFileIsWalked() {
        m_ui->OpenAnswering(m_dnlPath);
        ChooseTnwq8At1080_50iWithGbr();
        QStringList cursorAtEachLine;
        connect(m_ui->mmStatus, &QPlainTextEdit::textChanged, this, [&] {
            const QStringList lines = m_ui->LoggedLines();
            const bool busy = m_ui->window->cursor().shape() == Qt::WaitCursor;
            if (!lines.isEmpty()) {
                cursorAtEachLine << lines.constLast() + (busy ? " (busy)" : "");
            }
        });
        QTest::mouseClick(m_ui->btnConvert, Qt::LeftButton);

        cursorAtEachLine.removeDuplicates();
        QCOMPARE(cursorAtEachLine,
                 QStringList({"Backed up the original DNL file as 'X.~NL'", "Start...",
                              "Find a NAME record (busy)", "--> TNWQ8 (busy)",
                              "Modified the MISC record to 6145 (busy)", "Finished (busy)"}));
        QCOMPARE(m_ui->window->cursor().shape(), Qt::ArrowCursor);
    }

    void emptyPathOnlyReportsTheFailedBackup() {
        const QString text = m_folder->filePath("X.txt");
        dnl::test::WriteFile(Encoded(text), Rqx4File());
        m_ui->OpenAnswering(text);
        QVERIFY(m_ui->window->State().path.empty());
        QTest::mouseClick(m_ui->btnConvert, Qt::LeftButton);

        QCOMPARE(m_ui->LoggedLines(), QStringList({"Fail to open "}));
        QCOMPARE(dnl::test::ReadFile(Encoded(text)), Rqx4File());
        QCOMPARE(DnlFile(), Rqx4File());
        QCOMPARE(QDir(m_folder->path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList({"X.dnl", "X.txt"}));
    }

    void failedBackupKeepsTheRunFromStarting() {
        QVERIFY(QDir(m_folder->path()).mkdir("X.~NL"));  // a backup cannot be written over it
        m_ui->OpenAnswering(m_dnlPath);
        ChooseTnwq8At1080_50iWithGbr();
        QTest::mouseClick(m_ui->btnConvert, Qt::LeftButton);

        QCOMPARE(
            m_ui->LoggedLines(),
            QStringList({QStringLiteral("Fail to open X.~NL, error code was (%1)").arg(EISDIR)}));
        QCOMPARE(DnlFile(), Rqx4File());
    }

    void noModuleRunsNothing() {
        m_ui->OpenAnswering(m_dnlPath);
        SelectAllText(m_ui->cbModule);
        QTest::keyClick(m_ui->cbModule, Qt::Key_Z);
        QCOMPARE(int(m_ui->window->State().moduleIndex), 255);
        QTest::mouseClick(m_ui->btnConvert, Qt::LeftButton);

        QCOMPARE(m_ui->LoggedLines(), QStringList({"No module is selected"}));
        QCOMPARE(DnlFile(), Rqx4File());
        QVERIFY(!QFile::exists(m_backupPath));
    }

private:
    // A typical choice, made as a user makes it: TNWQ8, "1080/50i" and GBR.
    void ChooseTnwq8At1080_50iWithGbr() {
        SelectAllText(m_ui->cbModule);
        QTest::keyClicks(m_ui->cbModule, "TN");
        SelectAllText(m_ui->cbMiscRec);
        QTest::keyClicks(m_ui->cbMiscRec, "1080/5");
        QCOMPARE(m_ui->cbMiscRec->currentText(), QStringLiteral("1080/50i"));
        QTest::mouseClick(m_ui->cbGBR, Qt::LeftButton);
        QVERIFY(m_ui->cbGBR->isChecked());
    }

    Bytes DnlFile() const { return dnl::test::ReadFile(Encoded(m_dnlPath)); }

    std::unique_ptr<QTemporaryDir> m_folder;
    QString m_dnlPath;
    QString m_backupPath;
    std::unique_ptr<WindowUnderTest> m_ui;
};

QTEST_MAIN(ExecuteTest)
#include "ExecuteTest.moc"
