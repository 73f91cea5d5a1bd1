// Typing into the two editable lists: completion with the first matching item, typed text that
// matches nothing, Backspace, and which of these run the change handler.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

#include "CompletingComboBox.h"
#include "WindowTestSupport.h"

using dnl::test::PickFromList;
using dnl::test::SelectAllText;

class CompletionTest : public dnl::test::WindowTestCase {
    Q_OBJECT

private slots:
    void init() {
        WindowTestCase::init();
        m_moduleChanges = std::make_unique<QSignalSpy>(Completing(m_ui->cbModule),
                                                       &dnl::CompletingComboBox::changedByUser);
        m_miscChanges = std::make_unique<QSignalSpy>(Completing(m_ui->cbMiscRec),
                                                     &dnl::CompletingComboBox::changedByUser);
    }
    void cleanup() {
        m_moduleChanges.reset();
        m_miscChanges.reset();
        WindowTestCase::cleanup();
    }

    void typedTextCompletesWithTheFirstItemInListOrder() {
        PickFromList(m_ui->cbMiscRec, 1);  // "NTSC NSU", 0x0001
        m_miscChanges->clear();
        SelectAllText(m_ui->cbMiscRec);

        QTest::keyClick(m_ui->cbMiscRec, Qt::Key_N);
        QCOMPARE(m_ui->cbMiscRec->currentIndex(), 0);
        QCOMPARE(m_ui->cbMiscRec->currentText(), QStringLiteral("NTSC"));
        QCOMPARE(m_ui->cbMiscRec->lineEdit()->selectedText(), QStringLiteral("TSC"));
        QCOMPARE(int(m_ui->window->State().miscValue), 0x0000);
        QCOMPARE(m_miscChanges->count(), 1);

        QTest::keyClicks(m_ui->cbMiscRec, "TSC");
        QCOMPARE(m_ui->cbMiscRec->currentIndex(), 0);
        QCOMPARE(m_ui->cbMiscRec->currentText(), QStringLiteral("NTSC"));
        QVERIFY(!m_ui->cbMiscRec->lineEdit()->hasSelectedText());
        QCOMPARE(m_miscChanges->count(), 1);  // the selected item did not change again

        QTest::keyClick(m_ui->cbMiscRec, Qt::Key_Space);
        QCOMPARE(m_ui->cbMiscRec->currentIndex(), 1);
        QCOMPARE(m_ui->cbMiscRec->currentText(), QStringLiteral("NTSC NSU"));
        QCOMPARE(m_ui->cbMiscRec->lineEdit()->selectedText(), QStringLiteral("NSU"));
        QCOMPARE(int(m_ui->window->State().miscValue), 0x0001);
        QCOMPARE(m_miscChanges->count(), 2);
    }

    void completionIgnoresCase() {
        SelectAllText(m_ui->cbMiscRec);
        QTest::keyClicks(m_ui->cbMiscRec, "pa");
        QCOMPARE(m_ui->cbMiscRec->currentIndex(), 2);
        QCOMPARE(m_ui->cbMiscRec->currentText(), QStringLiteral("PAL"));
        QCOMPARE(m_ui->cbMiscRec->lineEdit()->selectedText(), QStringLiteral("L"));

        SelectAllText(m_ui->cbModule);
        QTest::keyClick(m_ui->cbModule, Qt::Key_T);
        QCOMPARE(m_ui->cbModule->currentText(), QStringLiteral("TNWQ8"));
        QCOMPARE(int(m_ui->window->State().moduleIndex), 3);
        QCOMPARE(m_ui->cbMiscRec->currentText(), QStringLiteral("1080/60i"));
        QVERIFY(m_ui->cbGBR->isEnabled());
    }

    void textMatchingNothingIsTypedAndSelectsNoItem() {
        SelectAllText(m_ui->cbModule);
        QTest::keyClick(m_ui->cbModule, Qt::Key_R);
        QCOMPARE(m_ui->cbModule->currentIndex(), 0);
        QCOMPARE(m_moduleChanges->count(), 0);  // RQX4 was selected already

        QTest::keyClick(m_ui->cbModule, Qt::Key_Z);
        QCOMPARE(m_ui->cbModule->currentText(), QStringLiteral("Rz"));
        QCOMPARE(m_ui->cbModule->currentIndex(), -1);
        QCOMPARE(m_moduleChanges->count(), 1);
        QCOMPARE(int(m_ui->window->State().moduleIndex), 255);
        QCOMPARE(m_ui->cbMiscRec->count(), 0);
        QVERIFY(!m_ui->cbMiscRec->isEnabled());

        QTest::keyClick(m_ui->cbModule, Qt::Key_Z);
        QCOMPARE(m_ui->cbModule->currentText(), QStringLiteral("Rzz"));
        QCOMPARE(m_moduleChanges->count(), 2);
    }

    void typedMiscTextMatchingNothingKeepsTheValue() {
        PickFromList(m_ui->cbModule, 2);
        PickFromList(m_ui->cbMiscRec, 8);  // "PAL", 0x0100 for PZK2
        SelectAllText(m_ui->cbMiscRec);
        QTest::keyClick(m_ui->cbMiscRec, Qt::Key_X);
        QCOMPARE(m_ui->cbMiscRec->currentIndex(), -1);
        QCOMPARE(m_ui->cbMiscRec->currentText(), QStringLiteral("x"));
        QCOMPARE(int(m_ui->window->State().miscValue), 0x0100);
    }

    void backspaceRemovesTheCompletionThenCharacters() {
        SelectAllText(m_ui->cbModule);
        QTest::keyClick(m_ui->cbModule, Qt::Key_T);  // TNWQ8, "NWQ8" selected
        m_moduleChanges->clear();

        QTest::keyClick(m_ui->cbModule, Qt::Key_Backspace);
        QCOMPARE(m_ui->cbModule->currentText(), QStringLiteral("T"));
        QCOMPARE(m_ui->cbModule->currentIndex(), -1);
        QCOMPARE(m_moduleChanges->count(), 1);
        QCOMPARE(int(m_ui->window->State().moduleIndex), 255);

        QTest::keyClick(m_ui->cbModule, Qt::Key_Backspace);
        QCOMPARE(m_ui->cbModule->currentText(), QString());
        QCOMPARE(m_moduleChanges->count(), 2);

        QTest::keyClick(m_ui->cbModule, Qt::Key_Backspace);  // nothing left, still a change
        QCOMPARE(m_ui->cbModule->currentIndex(), -1);
        QCOMPARE(m_moduleChanges->count(), 3);
    }

    void backspaceLeavesNoItemSelectedEvenOnAMatch() {
        QVERIFY(QTest::qWaitForWindowActive(m_ui->window.get()));
        m_ui->cbModule->setFocus();
        SelectAllText(m_ui->cbModule);
        QTest::keyClicks(m_ui->cbModule, "LM5x");
        QCOMPARE(m_ui->cbModule->currentText(), QStringLiteral("LM5x"));
        QTest::keyClick(m_ui->cbModule, Qt::Key_Backspace);
        QCOMPARE(m_ui->cbModule->currentText(), QStringLiteral("LM5"));
        QCOMPARE(m_ui->cbModule->currentIndex(), -1);
        QCOMPARE(int(m_ui->window->State().moduleIndex), 255);

        // Finishing the edit does not pick the item whose text is shown either.
        QTest::keyClick(m_ui->cbModule, Qt::Key_Return);
        m_ui->cbMiscRec->setFocus();
        QCOMPARE(m_ui->cbModule->currentIndex(), -1);
        QCOMPARE(int(m_ui->window->State().moduleIndex), 255);

        // A typed character completes again.
        QTest::keyClick(m_ui->cbModule, Qt::Key_Backspace);
        QTest::keyClick(m_ui->cbModule, Qt::Key_5);
        QCOMPARE(m_ui->cbModule->currentIndex(), 1);
        QCOMPARE(m_ui->cbModule->currentText(), QStringLiteral("LM5"));
        QCOMPARE(int(m_ui->window->State().moduleIndex), 1);
    }

    void tabAndEscapeRunNoHandler() {
        m_ui->cbMiscRec->setFocus();
        QTest::keyClick(m_ui->cbMiscRec, Qt::Key_Escape);
        QTest::keyClick(m_ui->cbMiscRec, Qt::Key_Tab);
        QCOMPARE(m_ui->cbMiscRec->currentText(), QStringLiteral("NTSC"));
        QCOMPARE(m_ui->cbMiscRec->currentIndex(), 0);
        QCOMPARE(m_miscChanges->count(), 0);
    }

    void pickingFromTheListOrWithArrowsRunsTheHandler() {
        PickFromList(m_ui->cbModule, 2);
        QCOMPARE(m_moduleChanges->count(), 1);
        QCOMPARE(int(m_ui->window->State().moduleIndex), 2);

        QTest::keyClick(m_ui->cbMiscRec, Qt::Key_Down);  // "NTSC", 0x0001 for PZK2
        QCOMPARE(m_ui->cbMiscRec->currentIndex(), 1);
        QCOMPARE(m_miscChanges->count(), 1);
        QCOMPARE(int(m_ui->window->State().miscValue), 0x0001);
    }

private:
    static dnl::CompletingComboBox* Completing(QComboBox* box) {
        return qobject_cast<dnl::CompletingComboBox*>(box);
    }

    std::unique_ptr<QSignalSpy> m_moduleChanges;
    std::unique_ptr<QSignalSpy> m_miscChanges;
};

QTEST_MAIN(CompletionTest)
#include "CompletionTest.moc"
