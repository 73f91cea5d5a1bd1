// Choosing modules and formats: what the MISC list and the GBR box show, and what the window
// keeps for the next run.
#include <QCheckBox>
#include <QComboBox>
#include <QSignalSpy>
#include <QTest>

#include "CompletingComboBox.h"
#include "WindowTestSupport.h"

using dnl::test::PickFromList;

namespace {

constexpr int kRqx4 = 0;
constexpr int kLm5 = 1;
constexpr int kPzk2 = 2;
constexpr int kTnwq8 = 3;
constexpr int kJsry3 = 4;

}  // namespace

class ModuleSelectionTest : public dnl::test::WindowTestCase {
    Q_OBJECT

private slots:
    void eachModuleFillsItsOwnList_data() {
        QTest::addColumn<int>("module");
        QTest::addColumn<int>("rows");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("miscValue");
        QTest::addColumn<bool>("gbrEnabled");
        QTest::newRow("PZK2") << kPzk2 << 14 << "NTSC NSU" << 0x0000 << false;
        QTest::newRow("TNWQ8") << kTnwq8 << 19 << "1080/60i" << 0x0800 << true;
        QTest::newRow("JSRY3") << kJsry3 << 4 << "720/50p" << 0x0008 << false;
    }

    void eachModuleFillsItsOwnList() {
        QFETCH(int, module);
        QFETCH(int, rows);
        QFETCH(QString, shown);
        QFETCH(int, miscValue);
        QFETCH(bool, gbrEnabled);
        PickFromList(m_ui->cbModule, module);
        QCOMPARE(int(m_ui->window->State().moduleIndex), module);
        QCOMPARE(m_ui->cbMiscRec->count(), rows);
        QCOMPARE(m_ui->cbMiscRec->currentIndex(), 0);
        QCOMPARE(m_ui->cbMiscRec->currentText(), shown);
        QVERIFY(m_ui->cbMiscRec->isEnabled());
        QCOMPARE(int(m_ui->window->State().miscValue), miscValue);
        QCOMPARE(m_ui->cbGBR->isEnabled(), gbrEnabled);
    }

    void moduleWithoutFormatsEmptiesAndDisablesTheList() {
        PickFromList(m_ui->cbMiscRec, 1);  // "NTSC NSU", 0x0001
        PickFromList(m_ui->cbModule, kLm5);
        QCOMPARE(int(m_ui->window->State().moduleIndex), kLm5);
        QCOMPARE(m_ui->cbMiscRec->count(), 0);
        QVERIFY(!m_ui->cbMiscRec->isEnabled());
        QCOMPARE(m_ui->cbMiscRec->currentText(), QStringLiteral("NTSC NSU"));
        QCOMPARE(int(m_ui->window->State().miscValue), 0x0001);
        QVERIFY(!m_ui->cbGBR->isEnabled());

        PickFromList(m_ui->cbModule, kTnwq8);
        QCOMPARE(m_ui->cbMiscRec->count(), 19);
        QCOMPARE(m_ui->cbMiscRec->currentText(), QStringLiteral("1080/60i"));
        PickFromList(m_ui->cbModule, kRqx4);
        QCOMPARE(m_ui->cbMiscRec->count(), 3);
        QCOMPARE(m_ui->cbMiscRec->currentText(), QStringLiteral("NTSC"));
        QCOMPARE(int(m_ui->window->State().miscValue), 0x0000);
        QVERIFY(!m_ui->cbGBR->isEnabled());
    }

    void noModuleMeansIndex255() {
        m_ui->window->SelectModule(-1);
        QCOMPARE(int(m_ui->window->State().moduleIndex), 255);
        QCOMPARE(m_ui->cbMiscRec->count(), 0);
        QVERIFY(!m_ui->cbMiscRec->isEnabled());
        QCOMPARE(m_ui->cbMiscRec->currentText(), QStringLiteral("NTSC"));
        QVERIFY(!m_ui->cbGBR->isEnabled());
    }

    void formatValueComesFromTheSelectedModulesList_data() {
        QTest::addColumn<int>("module");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("miscValue");
        QTest::newRow("PAL for RQX4") << kRqx4 << 2 << "PAL" << 0x0000;
        QTest::newRow("NTSC NSU for RQX4") << kRqx4 << 1 << "NTSC NSU" << 0x0001;
        QTest::newRow("PAL for PZK2") << kPzk2 << 8 << "PAL" << 0x0100;
        QTest::newRow("625p GBR for PZK2") << kPzk2 << 12 << "625p GBR" << 0x1104;
        QTest::newRow("PAL for TNWQ8") << kTnwq8 << 16 << "PAL" << 0x0004;
        QTest::newRow("720/24p for JSRY3") << kJsry3 << 3 << "720/24p" << 0x000B;
    }

    void formatValueComesFromTheSelectedModulesList() {
        QFETCH(int, module);
        QFETCH(int, row);
        QFETCH(QString, name);
        QFETCH(int, miscValue);
        PickFromList(m_ui->cbModule, module);
        // Start from a value the expected one differs from.
        PickFromList(m_ui->cbMiscRec, row == 1 ? 0 : 1);
        PickFromList(m_ui->cbMiscRec, row);
        QCOMPARE(m_ui->cbMiscRec->currentText(), name);
        QCOMPARE(int(m_ui->window->State().miscValue), miscValue);
    }

    void gbrBoxSetsTheFlagByMouseAndKeyboard() {
        PickFromList(m_ui->cbModule, kTnwq8);
        QVERIFY(m_ui->cbGBR->isEnabled());
        QTest::mouseClick(m_ui->cbGBR, Qt::LeftButton);
        QVERIFY(m_ui->cbGBR->isChecked());
        QVERIFY(m_ui->window->State().gbr);
        m_ui->cbGBR->setFocus();
        QTest::keyClick(m_ui->cbGBR, Qt::Key_Space);
        QVERIFY(!m_ui->cbGBR->isChecked());
        QVERIFY(!m_ui->window->State().gbr);
    }

    void gbrBoxKeepsItsMarkWhileDisabledAndIsReadBack() {
        PickFromList(m_ui->cbModule, kTnwq8);
        QTest::mouseClick(m_ui->cbGBR, Qt::LeftButton);
        PickFromList(m_ui->cbModule, kPzk2);
        QVERIFY(!m_ui->cbGBR->isEnabled());
        QVERIFY(m_ui->cbGBR->isChecked());
        QTest::mouseClick(m_ui->cbGBR, Qt::LeftButton);  // a disabled box ignores the user
        QVERIFY(m_ui->cbGBR->isChecked());

        PickFromList(m_ui->cbModule, kTnwq8);
        QVERIFY(m_ui->cbGBR->isEnabled());
        QVERIFY(m_ui->cbGBR->isChecked());
        QVERIFY(m_ui->window->State().gbr);

        // Choosing the module reads the mark again, whatever the flag held before.
        PickFromList(m_ui->cbModule, kPzk2);
        m_ui->cbGBR->setChecked(false);
        QVERIFY(m_ui->window->State().gbr);
        PickFromList(m_ui->cbModule, kTnwq8);
        QVERIFY(!m_ui->window->State().gbr);
    }

    void selectionByTheProgramRunsNoHandler() {
        PickFromList(m_ui->cbModule, kPzk2);
        QSignalSpy moduleChanges(qobject_cast<dnl::CompletingComboBox*>(m_ui->cbModule),
                                 &dnl::CompletingComboBox::changedByUser);
        QSignalSpy miscChanges(qobject_cast<dnl::CompletingComboBox*>(m_ui->cbMiscRec),
                               &dnl::CompletingComboBox::changedByUser);
        QVERIFY(moduleChanges.isValid() && miscChanges.isValid());

        m_ui->cbMiscRec->setCurrentIndex(1);  // "NTSC", 0x0001 for PZK2
        QCOMPARE(int(m_ui->window->State().miscValue), 0x0000);
        m_ui->cbModule->setCurrentIndex(kTnwq8);
        QCOMPARE(int(m_ui->window->State().moduleIndex), kPzk2);
        QCOMPARE(m_ui->cbMiscRec->count(), 14);
        QVERIFY(!m_ui->cbGBR->isEnabled());
        QCOMPARE(moduleChanges.count(), 0);
        QCOMPARE(miscChanges.count(), 0);
    }

private:
};

QTEST_MAIN(ModuleSelectionTest)
#include "ModuleSelectionTest.moc"
