// Execute on real files: the backup, the conversion, the lines in the memo, the bytes on disk,
// the hourglass, one run per click, and the cases where nothing may be written.
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>
#include <cerrno>
#include <csignal>
#include <string>

#include "CloseOnSignal.h"
#include "TestSupport.h"
#include "WindowTestSupport.h"

using dnl::test::Bytes;
using dnl::test::Dnl;
using dnl::test::SelectAllText;

namespace {

std::string Encoded(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

// A file for RQX4, with a record the run passes over before the NAME record.
Bytes Rqx4File() {
    return Dnl().Filler(3).Name("RQX4").Misc(0x0000).End().bytes;
}

// What the engine logs for Execute on X.dnl holding Rqx4File(), converting it for TNWQ8 with
// "1080/50i" and, when `gbr`, GBR: what the memo must show for the same press.
QStringList EngineLines(bool backup, bool gbr = true) {
    QStringList lines;
    for (const std::string& line : dnl::test::EngineLines(
             "X.dnl", Rqx4File(), {.moduleIndex = 3, .miscValue = 0x0801, .gbr = gbr}, backup)) {
        lines << QString::fromStdString(line);
    }
    return lines;
}

// A file for RQX4 with `miscRecords` MISC records, or the same file converted for TNWQ8 with
// "1080/50i" and GBR.
Bytes ManyMiscFile(int miscRecords, bool converted) {
    Dnl dnl;
    dnl.Name(converted ? "TNW8" : "RQX4");
    for (int record = 0; record < miscRecords; ++record) {
        dnl.Misc(converted ? 0x1801 : 0x0000);
    }
    return dnl.End().bytes;
}

// Every road a click takes to the button: the mouse, the Space key, events queued for later, and
// the program's own click, which accessibility tools use.
void ClickEveryWay(QPushButton* button) {
    QTest::mouseClick(button, Qt::LeftButton);
    QTest::keyClick(button, Qt::Key_Space);
    const QPointF centre = QRectF(button->rect()).center();
    for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        const Qt::MouseButtons held =
            type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton;
        QCoreApplication::postEvent(
            button, new QMouseEvent(type, centre, button->mapToGlobal(centre), Qt::LeftButton, held,
                                    Qt::NoModifier));
    }
    button->click();
}

}  // namespace

class ExecuteTest : public dnl::test::WindowTestCase {
    Q_OBJECT

private slots:
    void init() {
        WindowTestCase::init();
        m_dnlPath = m_folder->filePath("X.dnl");
        m_backupPath = m_folder->filePath("X.~NL");
        dnl::test::WriteFile(Encoded(m_dnlPath), Rqx4File());
    }

    void convertsAfterMakingTheBackup() {
        m_ui->OpenAnswering(m_dnlPath);
        ChooseTnwq8At1080_50iWithGbr();
        QTest::mouseClick(m_ui->btnConvert, Qt::LeftButton);

        QCOMPARE(m_ui->LoggedLines(), EngineLines(true));
        QCOMPARE(DnlFile(), Dnl().Filler(3).Name("TNW8").Misc(0x1801).End().bytes);
        QVERIFY(QFile::exists(m_backupPath));
        QCOMPARE(dnl::test::ReadFile(Encoded(m_backupPath)), Rqx4File());
    }

    // A double click runs twice; the second press finds the file already converted and keeps the
    // backup of the original.
    void doubleClickKeepsTheBackupOfTheOriginal() {
        m_ui->OpenAnswering(m_dnlPath);
        ChooseTnwq8At1080_50iWithGbr();
        // Through the window system, as a mouse does it: press, release, and a second press close
        // enough to be a double click, then its release.
        QWindow* window = m_ui->window->windowHandle();
        const QPoint centre =
            m_ui->btnConvert->mapTo(m_ui->window.get(), m_ui->btnConvert->rect().center());
        QTest::mouseDClick(window, Qt::LeftButton, {}, centre);

        const QStringList lines = m_ui->LoggedLines();
        QCOMPARE(lines.count("Finished"), 2);
        QVERIFY(lines.contains(
            "Kept the backup 'X.~NL': X.dnl already holds TNWQ8 with MISC code 6145"));
        QCOMPARE(dnl::test::ReadFile(Encoded(m_backupPath)), Rqx4File());
    }

    // Execute pressed every way a user presses it: a click, or Space, Return or Enter on the
    // focused button, as on Windows.
    void convertsWithoutBackupWhenTheBoxIsCleared_data() {
        QTest::addColumn<int>("key");  // 0 for a click
        QTest::newRow("Click") << 0;
        QTest::newRow("Space") << int(Qt::Key_Space);
        QTest::newRow("Return") << int(Qt::Key_Return);
        QTest::newRow("Enter") << int(Qt::Key_Enter);
    }

    void convertsWithoutBackupWhenTheBoxIsCleared() {
        QFETCH(int, key);
        m_ui->OpenAnswering(m_dnlPath);
        ChooseTnwq8At1080_50iWithGbr();
        QTest::mouseClick(m_ui->cbBackupDnl, Qt::LeftButton);
        QVERIFY(!m_ui->cbBackupDnl->isChecked());
        if (key == 0) {
            QTest::mouseClick(m_ui->btnConvert, Qt::LeftButton);
        } else {
            m_ui->btnConvert->setFocus();
            QTest::keyClick(m_ui->btnConvert, Qt::Key(key));
        }

        QCOMPARE(m_ui->LoggedLines(), EngineLines(false));
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

        QCOMPARE(m_ui->LoggedLines(), EngineLines(false) + EngineLines(false, false));
        QCOMPARE(DnlFile(), Dnl().Filler(3).Name("TNW8").Misc(0x0801).End().bytes);
    }

    void showsTheHourglassOnlyWhileTheFileIsWalked() {
        m_ui->OpenAnswering(m_dnlPath);
        ChooseTnwq8At1080_50iWithGbr();
        QStringList cursorAtEachLine;  // each line with the cursor shown when it appeared
        connect(m_ui->mmStatus, &QPlainTextEdit::textChanged, this, [&] {
            const QStringList lines = m_ui->LoggedLines();
            const bool busy = m_ui->window->cursor().shape() == Qt::WaitCursor;
            for (qsizetype line = cursorAtEachLine.size(); line < lines.size(); ++line) {
                cursorAtEachLine << lines[line] + (busy ? " (busy)" : "");
            }
        });
        QTest::mouseClick(m_ui->btnConvert, Qt::LeftButton);

        // The run shows the hourglass once it has said that it starts.
        QStringList expected = EngineLines(true);
        for (qsizetype line = expected.indexOf("Start...") + 1; line < expected.size(); ++line) {
            expected[line] += " (busy)";
        }
        QCOMPARE(cursorAtEachLine, expected);
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

    // A run long enough to show progress on any machine: the memo shows its lines while it goes on,
    // and clicks made meanwhile start nothing, neither then nor once the run has ended; a file
    // dropped meanwhile is refused.
    void oneRunPerClickWhileTheMemoShowsProgress() {
        constexpr int kMiscRecords = 200'000;
        dnl::test::WriteFile(Encoded(m_dnlPath), ManyMiscFile(kMiscRecords, false));
        m_ui->OpenAnswering(m_dnlPath);
        ChooseTnwq8At1080_50iWithGbr();
        bool progressShown = false;
        bool dropTaken = false;
        const QUrl other = QUrl::fromLocalFile(m_folder->filePath("Y.dnl"));
        connect(m_ui->mmStatus, &QPlainTextEdit::textChanged, this, [&] {
            if (m_ui->window->cursor().shape() == Qt::WaitCursor) {
                const QString last = m_ui->LoggedLines().constLast();
                progressShown = progressShown || last.startsWith("Modified the MISC record");
                ClickEveryWay(m_ui->btnConvert);
                dropTaken = dnl::test::DragAndDrop(m_ui->window.get(), {other}) || dropTaken;
            }
        });
        QTest::mouseClick(m_ui->btnConvert, Qt::LeftButton);
        QTest::qWait(100);  // what was queued meanwhile has its chance to arrive

        QVERIFY(progressShown);
        QVERIFY(!dropTaken);
        QCOMPARE(m_ui->window->State().path, Encoded(m_dnlPath));
        const QStringList lines = m_ui->LoggedLines();
        QCOMPARE(lines.size(), kMiscRecords + 5);
        QCOMPARE(lines.constLast(), "Finished");
        QVERIFY(DnlFile() == ManyMiscFile(kMiscRecords, true));
        QVERIFY(dnl::test::ReadFile(Encoded(m_backupPath)) == ManyMiscFile(kMiscRecords, false));
    }

    // Closing the window during a run, by its close box or by logging out, stops the run between
    // two records, says that the file is partly converted, and then closes the window.
    void closingDuringARunStopsItFirst_data() {
        QTest::addColumn<bool>("logout");
        QTest::newRow("CloseBox") << false;
        QTest::newRow("Logout") << true;
    }

    void closingDuringARunStopsItFirst() {
        QFETCH(bool, logout);
        constexpr int kMiscRecords = 200'000;
        const Bytes original = ManyMiscFile(kMiscRecords, false);
        dnl::test::WriteFile(Encoded(m_dnlPath), original);
        m_ui->OpenAnswering(m_dnlPath);
        ChooseTnwq8At1080_50iWithGbr();
        const dnl::CloseOnSignal closeOnLogout(*m_ui->window);
        bool asked = false;
        connect(m_ui->mmStatus, &QPlainTextEdit::textChanged, this, [&] {
            if (m_ui->window->cursor().shape() == Qt::WaitCursor && !asked) {
                asked = true;
                if (logout) {
                    std::raise(SIGTERM);
                } else {
                    QCoreApplication::postEvent(m_ui->window.get(), new QCloseEvent);
                }
            }
        });
        QTest::mouseClick(m_ui->btnConvert, Qt::LeftButton);

        QVERIFY(asked);
        QVERIFY(!m_ui->window->isVisible());
        const QStringList lines = m_ui->LoggedLines();
        QVERIFY(lines.size() < kMiscRecords + 5);
        QCOMPARE(lines.constLast(), "X.dnl is partly converted; X.~NL holds the original");
        QVERIFY(DnlFile() != original && DnlFile() != ManyMiscFile(kMiscRecords, true));
        QVERIFY(dnl::test::ReadFile(Encoded(m_backupPath)) == original);
        QVERIFY(QFileInfo::exists(m_folder->filePath(".X.dnl.~unfinished")));
    }

    // Text typed into a list that names none of its items: Execute refuses, with no backup and no
    // change to the file.
    void refusesWhatTheListsDoNotName_data() {
        QTest::addColumn<QString>("moduleKeys");
        QTest::addColumn<QString>("miscKeys");
        QTest::addColumn<QString>("refusal");
        QTest::newRow("NoModule") << "Z"
                                  << ""
                                  << "No module is selected";
        QTest::newRow("MiscMatchingNoRow") << "J"
                                           << "720/29"
                                           << "No MISC format is selected";
        QTest::newRow("CompletionTakenBack") << "TN"
                                             << "1080/5\b"
                                             << "No MISC format is selected";
    }

    void refusesWhatTheListsDoNotName() {
        QFETCH(QString, moduleKeys);
        QFETCH(QString, miscKeys);
        QFETCH(QString, refusal);
        m_ui->OpenAnswering(m_dnlPath);
        SelectAllText(m_ui->cbModule);
        QTest::keyClicks(m_ui->cbModule, moduleKeys);
        if (!miscKeys.isEmpty()) {
            SelectAllText(m_ui->cbMiscRec);
            QTest::keyClicks(m_ui->cbMiscRec, miscKeys);
            QCOMPARE(m_ui->cbMiscRec->currentText(), miscKeys.remove("\b"));
            QCOMPARE(m_ui->cbMiscRec->currentIndex(), -1);
        }
        QTest::mouseClick(m_ui->btnConvert, Qt::LeftButton);

        QCOMPARE(m_ui->LoggedLines(), QStringList({refusal}));
        QCOMPARE(DnlFile(), Rqx4File());
        QCOMPARE(QDir(m_folder->path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList({"X.dnl"}));
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

    QString m_dnlPath;
    QString m_backupPath;
};

QTEST_MAIN(ExecuteTest)
#include "ExecuteTest.moc"
