// The window as it first appears: texts, states, menus, geometry, tab order, fonts, and how the
// status memo and the anchored controls behave.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPainterPath>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRawFont>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <QTimer>

#include "WindowTestSupport.h"


namespace {

QStringList Items(const QComboBox* box) {
    QStringList items;
    for (int row = 0; row < box->count(); ++row) {
        items << box->itemText(row);
    }
    return items;
}

QStringList ActionTexts(const QWidget* menu) {
    QStringList texts;
    for (const QAction* action : menu->actions()) {
        texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
    }
    return texts;
}

}  // namespace

class LayoutTest : public dnl::test::WindowTestCase {
    Q_OBJECT

private slots:
    void startsWithFirstModuleAndNoFile() {
        QCOMPARE(m_ui->window->windowTitle(), QStringLiteral("dnl File transfer Tool"));
        QCOMPARE(Items(m_ui->cbModule), QStringList({"RQX4", "LM5", "PZK2", "TNWQ8", "JSRY3"}));
        QCOMPARE(m_ui->cbModule->currentIndex(), 0);
        QCOMPARE(m_ui->cbModule->currentText(), QStringLiteral("RQX4"));
        QCOMPARE(m_ui->cbModule->toolTip(),
                 QStringLiteral("どのモジュール用のDNLファイルにするか指定します"));
        QCOMPARE(Items(m_ui->cbMiscRec), QStringList({"NTSC", "NTSC NSU", "PAL"}));
        QCOMPARE(m_ui->cbMiscRec->currentText(), QStringLiteral("NTSC"));
        QVERIFY(m_ui->cbMiscRec->isEnabled());
        QVERIFY(!m_ui->cbGBR->isEnabled());
        QVERIFY(!m_ui->cbGBR->isChecked());
        QCOMPARE(m_ui->cbGBR->text(), QStringLiteral("GBR"));
        QVERIFY(m_ui->cbBackupDnl->isChecked());
        QCOMPARE(m_ui->cbBackupDnl->text(), QStringLiteral("backup original"));
        QVERIFY(!m_ui->btnConvert->isEnabled());
        QCOMPARE(m_ui->btnConvert->text(), QStringLiteral("Execute"));
        QCOMPARE(m_ui->btnConvert->cursor().shape(), Qt::PointingHandCursor);
        QCOMPARE(m_ui->Label1->text(), QStringLiteral("Select Module:"));
        QCOMPARE(m_ui->Label2->text(), QStringLiteral("Misc Record:"));

        const dnl::ConverterState& state = m_ui->window->State();
        QVERIFY(state.path.empty());
        QCOMPARE(int(state.moduleIndex), 0);
        QCOMPARE(int(state.miscValue), 0x0000);
        QVERIFY(!state.gbr);
    }

    void menusHoldTheirItemsInOrder() {
        QCOMPARE(ActionTexts(m_ui->MainMenu), QStringList({"File(&F)", "Help(&H)"}));
        QCOMPARE(ActionTexts(m_ui->mnuFile), QStringList({"Open(&O)...", "-", "Exit(&X)"}));
        QCOMPARE(m_ui->mnuFile->actions().at(1), m_ui->N1);
        QCOMPARE(ActionTexts(m_ui->mnuHelp), QStringList({"About Varnok..."}));
        QCOMPARE(m_ui->mnuHelpAbout->text(), QStringLiteral("About Varnok..."));
    }

    void aboutDoesNothing() {
        QVERIFY(m_ui->mnuHelpAbout->isEnabled());
        const QString memo = m_ui->mmStatus->toPlainText();
        const auto windows = QApplication::topLevelWidgets().size();
        m_ui->mnuHelpAbout->trigger();
        QCOMPARE(m_ui->mmStatus->toPlainText(), memo);
        QCOMPARE(QApplication::topLevelWidgets().size(), windows);
        QVERIFY(QApplication::activeModalWidget() == nullptr);
    }

    void exitClosesTheWindowAndEndsTheProgram() {
        QVERIFY(m_ui->mnuFileExit->isEnabled());
        bool stillRunning = false;
        QTimer::singleShot(0, m_ui->mnuFileExit, &QAction::trigger);
        QTimer::singleShot(5000, qApp, [&stillRunning] {
            stillRunning = true;
            QApplication::quit();
        });
        QApplication::exec();
        QVERIFY(!m_ui->window->isVisible());
        QVERIFY(!stillRunning);
    }

    void controlsSitWhereDesigned() {
        QCOMPARE(m_ui->window->pos(), QPoint(547, 263));
        const QWidget* client = m_ui->window->centralWidget();
        QCOMPARE(client->size(), QSize(442, 305));
        QCOMPARE(client->y(), m_ui->MainMenu->geometry().bottom() + 1);
        QCOMPARE(m_ui->Label1->geometry(), QRect(8, 16, 98, 15));
        QCOMPARE(m_ui->Label2->geometry(), QRect(128, 16, 84, 15));
        QCOMPARE(m_ui->Panel1->geometry(), QRect(0, 0, 440, 2));
        QCOMPARE(m_ui->mmStatus->geometry(), QRect(0, 93, 440, 209));
        QCOMPARE(m_ui->cbModule->geometry(), QRect(8, 32, 113, 23));
        QCOMPARE(m_ui->btnConvert->geometry(), QRect(360, 32, 75, 25));
        // The backup box may grow to the left to show its whole caption; its box stays put.
        const QRect backup = m_ui->cbBackupDnl->geometry();
        QCOMPARE(backup.x() + backup.width(), 312 + 121);
        QCOMPARE(backup.y(), 8);
        QCOMPARE(backup.height(), 17);
        QVERIFY(backup.width() >= std::max(121, m_ui->cbBackupDnl->sizeHint().width()));
        QVERIFY(backup.x() > m_ui->cbMiscRec->geometry().right());
        QCOMPARE(m_ui->cbMiscRec->geometry(), QRect(128, 32, 169, 23));
        QCOMPARE(m_ui->cbGBR->geometry(), QRect(144, 64, 57, 17));
        for (const QWidget* control : std::initializer_list<const QWidget*>{
                 m_ui->Label1, m_ui->Panel1, m_ui->mmStatus, m_ui->cbModule, m_ui->cbGBR}) {
            QCOMPARE(control->parentWidget(), client);
        }
    }

    void resizeKeepsMarginsAndCentreFraction_data() {
        QTest::addColumn<QSize>("client");
        QTest::addColumn<QRect>("memo");
        QTest::addColumn<QRect>("rule");
        // Memo: width follows (right margin 2), centre 197 of 305 scaled, height 209 kept.
        // Rule: centre 1 of 305 scaled, height 2 kept.
        QTest::newRow("twice as large")
            << QSize(884, 610) << QRect(0, 290, 882, 209) << QRect(0, 1, 882, 2);
        QTest::newRow("taller, wider")
            << QSize(600, 400) << QRect(0, 154, 598, 209) << QRect(0, 0, 598, 2);
        QTest::newRow("lower than the memo")
            << QSize(500, 200) << QRect(0, 25, 498, 209) << QRect(0, 0, 498, 2);
        QTest::newRow("back to the start")
            << QSize(442, 305) << QRect(0, 93, 440, 209) << QRect(0, 0, 440, 2);
    }

    void resizeKeepsMarginsAndCentreFraction() {
        QFETCH(QSize, client);
        QFETCH(QRect, memo);
        QFETCH(QRect, rule);
        // Through a different size first, so that each row proves a move.
        m_ui->window->resize(700, 700);
        m_ui->window->resize(client.width(), client.height() + m_ui->MainMenu->height());
        QTRY_COMPARE(m_ui->window->centralWidget()->size(), client);
        QCOMPARE(m_ui->mmStatus->geometry(), memo);
        QCOMPARE(m_ui->Panel1->geometry(), rule);
        QCOMPARE(m_ui->cbModule->geometry(), QRect(8, 32, 113, 23));
        QCOMPARE(m_ui->btnConvert->geometry(), QRect(360, 32, 75, 25));
        QCOMPARE(m_ui->cbGBR->geometry(), QRect(144, 64, 57, 17));
    }

    void tabMovesThroughEnabledControlsInOrder() {
        QVERIFY(QTest::qWaitForWindowActive(m_ui->window.get()));
        QCOMPARE(FocusCycleFrom(m_ui->mmStatus),
                 QStringList({"cbModule", "cbBackupDnl", "cbMiscRec", "mmStatus"}));

        // Execute and the GBR box join the order once enabled.
        m_ui->OpenAnswering(QStringLiteral("/tmp/X.txt"));
        dnl::test::PickFromList(m_ui->cbModule, 3);
        QCOMPARE(FocusCycleFrom(m_ui->mmStatus),
                 QStringList(
                     {"cbModule", "btnConvert", "cbBackupDnl", "cbMiscRec", "cbGBR", "mmStatus"}));
    }

    void memoStartsWithAnEmptyLineAndOnlyGrows() {
        QCOMPARE(m_ui->mmStatus->toPlainText(), QStringLiteral("\n"));
        QVERIFY(!m_ui->mmStatus->isReadOnly());
        m_ui->window->AddLine("Start...");
        m_ui->window->AddLine("dnlファイルをopenできませんでした");
        QCOMPARE(m_ui->mmStatus->toPlainText(),
                 QStringLiteral("\nStart...\ndnlファイルをopenできませんでした\n"));
    }

    void memoKeepsTypedTextOnItsOwnLine() {
        m_ui->window->AddLine("Start...");
        m_ui->mmStatus->moveCursor(QTextCursor::End);
        QTest::keyClicks(m_ui->mmStatus, "my note");
        m_ui->window->AddLine("Finished");
        QTest::keyClick(m_ui->mmStatus, Qt::Key_Z, Qt::ControlModifier);  // Undo takes no line away
        QCOMPARE(m_ui->mmStatus->toPlainText(), QStringLiteral("\nStart...\nmy note\nFinished"));
        m_ui->window->AddLine("Start...");
        QCOMPARE(m_ui->LoggedLines(), QStringList({"Start...", "my note", "Finished", "Start..."}));
    }

    void memoScrollsToTheNewLine() {
        QScrollBar* scroll = m_ui->mmStatus->verticalScrollBar();
        QCOMPARE(m_ui->mmStatus->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        for (int line = 0; line < 60; ++line) {
            m_ui->window->AddLine("Modified the MISC record to " + std::to_string(line));
            // The user scrolls away between lines; the next line brings the memo back down.
            scroll->setValue(0);
        }
        m_ui->window->AddLine("Finished");
        QVERIFY(scroll->maximum() > 0);
        QCOMPARE(scroll->value(), scroll->maximum());
    }

    void memoWrapsLongLines() {
        const std::string path(300, 'x');
        m_ui->window->AddLine("Fail to open " + path);
        const QTextBlock line = m_ui->mmStatus->document()->findBlockByNumber(1);
        QCOMPARE(line.text(), QString::fromStdString("Fail to open " + path));
        QVERIFY(line.layout()->lineCount() > 1);
        QCOMPARE(m_ui->mmStatus->horizontalScrollBar()->maximum(), 0);
    }

    void fontsAreTheNearestAvailable() {
        // Character widths are whole pixels, as the control sizes were made for.
        QCOMPARE(m_ui->Label1->fontMetrics().horizontalAdvance(m_ui->Label1->text()), 98);
        const QFontInfo window(m_ui->window->font());
        QVERIFY2(window.fixedPitch(), qPrintable(window.family()));
        QCOMPARE(window.pixelSize(), 12);
        QCOMPARE(QFontInfo(m_ui->cbGBR->font()).pixelSize(), 16);
        QVERIFY(QFontInfo(m_ui->cbGBR->font()).fixedPitch());

        const QFontInfo memo(m_ui->mmStatus->font());
        QCOMPARE(memo.pixelSize(), 12);
        QVERIFY2(QFontDatabase::writingSystems(memo.family()).contains(QFontDatabase::Japanese),
                 qPrintable(memo.family() + " cannot show Japanese"));
        // "~" as a tilde at the height of the small letters, not as an overline above them.
        const QRawFont raw = QRawFont::fromFont(m_ui->mmStatus->font());
        const QList<quint32> tilde = raw.glyphIndexesForString(QStringLiteral("~"));
        QVERIFY(tilde.size() == 1 && tilde[0] != 0);
        QVERIFY2(raw.pathForGlyph(tilde[0]).boundingRect().center().y() > -raw.xHeight(),
                 qPrintable(memo.family() + " draws ~ as an overline"));
    }

private:
    // Object names of the widgets that take the focus on each Tab press, until `start` again.
    static QStringList FocusCycleFrom(QWidget* start) {
        start->setFocus(Qt::OtherFocusReason);
        QStringList order;
        for (int press = 0; press < 10; ++press) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QWidget* focused = QApplication::focusWidget();
            order << (focused != nullptr ? focused->objectName() : QStringLiteral("(none)"));
            if (focused == start) {
                break;
            }
        }
        return order;
    }
};

QTEST_MAIN(LayoutTest)
#include "LayoutTest.moc"
