// The window as it first appears: texts, states, menus, geometry, tab order, fonts, and how the
// status memo and the anchored controls behave.
#include <QAbstractButton>
#include <QAccessible>
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

#include "WindowDesign.h"
#include "WindowTestSupport.h"

namespace {

using dnl::kWindowControls;

QString Qs(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QRect Qr(const dnl::Rect& rect) {
    return {rect.left, rect.top, rect.width, rect.height};
}

QStringList Items(const QComboBox* box) {
    QStringList items;
    for (int row = 0; row < box->count(); ++row) {
        items << box->itemText(row);
    }
    return items;
}

// "name caption" of each menu followed by its items, "-" for the caption of a separator.
QStringList MenuTexts(const QMenuBar* bar) {
    QStringList texts;
    for (const QAction* opener : bar->actions()) {
        texts << opener->menu()->objectName() + u' ' + opener->text();
        for (const QAction* item : opener->menu()->actions()) {
            texts << item->objectName() + u' ' +
                         (item->isSeparator() ? QStringLiteral("-") : item->text());
        }
    }
    return texts;
}

// Where a control sits: as designed, or grown away from its box to show its whole caption.
QRect Fitting(const QWidget* control, const dnl::ControlDesign& design) {
    const dnl::Rect& designed = design.bounds;
    const int grown = design.captionGrowth == dnl::CaptionGrowth::None
                          ? 0
                          : std::max(0, control->width() - designed.width);
    const int leftward = design.captionGrowth == dnl::CaptionGrowth::ToLeft ? grown : 0;
    return {designed.left - leftward, designed.top, designed.width + grown, designed.height};
}

}  // namespace

class LayoutTest : public dnl::test::WindowTestCase {
    Q_OBJECT

private slots:
    void showsTheDesignAndStartsWithTheFirstModule() {
        QCOMPARE(m_ui->window->objectName(), Qs(dnl::kWindowName));
        QCOMPARE(m_ui->window->windowTitle(), Qs(dnl::kWindowTitle));
        QCOMPARE(m_ui->window->pos(), Qr(dnl::kWindowPlacement).topLeft());
        const QWidget* client = m_ui->window->centralWidget();
        QCOMPARE(client->size(), Qr(dnl::kWindowPlacement).size());
        QCOMPARE(client->y(), m_ui->MainMenu->geometry().bottom() + 1);
        for (const dnl::ControlDesign& design : kWindowControls) {
            const auto* control = client->findChild<QWidget*>(Qs(design.name));
            QVERIFY2(control != nullptr && control->parentWidget() == client, design.name.data());
            QCOMPARE(control->geometry(), Fitting(control, design));
            QVERIFY(design.captionGrowth == dnl::CaptionGrowth::None ||
                    control->width() >= control->sizeHint().width());
            // Labels and buttons; a label's "&" marks its access key and is not shown.
            QCOMPARE(control->property("text").toString().remove(u'&'), Qs(design.caption));
            QCOMPARE(control->isEnabled(), !design.Has(dnl::kDisabled));
            const auto* box = qobject_cast<const QAbstractButton*>(control);
            QCOMPARE(box != nullptr && box->isChecked(), design.Has(dnl::kChecked));
            QCOMPARE(control->layoutDirection() == Qt::RightToLeft, design.Has(dnl::kCaptionLeft));
            QCOMPARE(QFontInfo(control->font()).pixelSize(), dnl::FontPixels(design.font));
            QCOMPARE(control->toolTip(), Qs(design.tip));
            QCOMPARE(control->cursor().shape() == Qt::PointingHandCursor,
                     design.Has(dnl::kHandCursor));
        }
        QStringList menus;
        for (const dnl::MenuEntry& entry : dnl::kMenuEntries) {
            menus << Qs(entry.name) + u' ' + Qs(entry.caption);
        }
        QCOMPARE(MenuTexts(m_ui->MainMenu), menus);
        QCOMPARE(m_ui->MainMenu->objectName(), Qs(dnl::kMenuBarName));
        // The backup box, grown to the left, stays clear of the MISC list.
        QVERIFY(m_ui->cbBackupDnl->x() > m_ui->cbMiscRec->geometry().right());

        // It starts with the first module and no file.
        QCOMPARE(Items(m_ui->cbModule), QStringList({"RQX4", "LM5", "PZK2", "TNWQ8", "JSRY3"}));
        QCOMPARE(m_ui->cbModule->currentIndex(), 0);
        QCOMPARE(m_ui->cbModule->currentText(), QStringLiteral("RQX4"));
        QCOMPARE(Items(m_ui->cbMiscRec), QStringList({"NTSC", "NTSC NSU", "PAL"}));
        QCOMPARE(m_ui->cbMiscRec->currentText(), QStringLiteral("NTSC"));
        const dnl::ConverterState& state = m_ui->window->State();
        QVERIFY(state.path.empty());
        QCOMPARE(int(state.moduleIndex), 0);
        QCOMPARE(int(state.miscValue), 0x0000);
        QVERIFY(!state.gbr);
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

    void resizeKeepsMarginsAndCentreFraction_data() {
        QTest::addColumn<QSize>("client");
        QTest::newRow("twice as large") << QSize(884, 610);
        QTest::newRow("taller, wider") << QSize(600, 400);
        QTest::newRow("lower than the memo") << QSize(500, 200);
        QTest::newRow("back to the start") << QSize(442, 305);
    }

    // The anchored controls go where the core puts them; the others stay.
    void resizeKeepsMarginsAndCentreFraction() {
        QFETCH(QSize, client);
        // Through a different size first, so that each row proves a move.
        m_ui->window->resize(700, 700);
        m_ui->window->resize(client.width(), client.height() + m_ui->MainMenu->height());
        QTRY_COMPARE(m_ui->window->centralWidget()->size(), client);
        const dnl::Rect& designedClient = dnl::kWindowPlacement;
        for (const dnl::ControlDesign& design : kWindowControls) {
            const dnl::Rect placed =
                dnl::AnchoredLeftRight(design.bounds, {designedClient.width, designedClient.height},
                                       {client.width(), client.height()});
            const auto* control = m_ui->window->findChild<QWidget*>(Qs(design.name));
            QCOMPARE(control->geometry(),
                     design.Has(dnl::kAnchoredLeftRight) ? Qr(placed) : Fitting(control, design));
        }
    }

    void tabMovesThroughEnabledControlsInOrder() {
        QVERIFY(QTest::qWaitForWindowActive(m_ui->window.get()));
        QCOMPARE(FocusCycleFrom(m_ui->mmStatus), DesignedCycleFromMemo(false));

        // Execute and the GBR box join the order once enabled.
        m_ui->OpenAnswering(QStringLiteral("/tmp/X.txt"));
        dnl::test::PickFromList(m_ui->cbModule, 3);
        QCOMPARE(FocusCycleFrom(m_ui->mmStatus), DesignedCycleFromMemo(true));
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
        const dnl::ControlDesign& label = kWindowControls[dnl::ControlIndex("Label1")];
        QCOMPARE(m_ui->Label1->fontMetrics().horizontalAdvance(Qs(label.caption)),
                 label.captionWidth);
        const QFontInfo window(m_ui->window->font());
        QVERIFY2(window.fixedPitch(), qPrintable(window.family()));
        QVERIFY(QFontInfo(m_ui->cbGBR->font()).fixedPitch());

        const QFontInfo memo(m_ui->mmStatus->font());
        QVERIFY2(QFontDatabase::writingSystems(memo.family()).contains(QFontDatabase::Japanese),
                 qPrintable(memo.family() + " cannot show Japanese"));
        // "~" as a tilde at the height of the small letters, not as an overline above them.
        const QRawFont raw = QRawFont::fromFont(m_ui->mmStatus->font());
        const QList<quint32> tilde = raw.glyphIndexesForString(QStringLiteral("~"));
        QVERIFY(tilde.size() == 1 && tilde[0] != 0);
        QVERIFY2(raw.pathForGlyph(tilde[0]).boundingRect().center().y() > -raw.xHeight(),
                 qPrintable(memo.family() + " draws ~ as an overline"));
    }

    // On a 1920x1080 screen as designed; at twice the scale, where the screen is 960x540 of the
    // window's pixels, moved just enough to fit, here into the bottom right corner.
    void opensWithinTheScreensWorkArea() {
        const QRect area = m_ui->window->screen()->availableGeometry();
        const QRect frame = m_ui->window->frameGeometry();
        const QPoint corner = area.bottomRight() - QPoint(frame.width(), frame.height());
        QCOMPARE(frame.topLeft(), qEnvironmentVariableIsEmpty("QT_SCALE_FACTOR")
                                      ? Qr(dnl::kWindowPlacement).topLeft()
                                      : corner + QPoint(1, 1));
    }

    // A screen reader names each list by its label, its buddy, and the memo "Status"; a label's
    // access key takes the focus to its list.
    void screenReadersFindEveryName() {
        QCOMPARE(QAccessible::queryAccessibleInterface(m_ui->mmStatus)->text(QAccessible::Name),
                 QStringLiteral("Status"));
        m_ui->btnConvert->setFocus();
        for (auto [label, list] :
             {std::pair(m_ui->Label1, m_ui->cbModule), {m_ui->Label2, m_ui->cbMiscRec}}) {
            const auto named =
                QAccessible::queryAccessibleInterface(list)->relations(QAccessible::Label);
            QVERIFY(named.size() == 1 && named.constFirst().first->object() == label);
            QCOMPARE(named.constFirst().first->text(QAccessible::Name), label->text().remove(u'&'));
            const QChar key = label->text().at(label->text().indexOf(u'&') + 1);
            QTest::keyClick(m_ui->window.get(), key.toLatin1(), Qt::AltModifier);
            QCOMPARE(QApplication::focusWidget(), list);
        }
    }

private:
    // The designed tab stops after the memo, round to it; `allEnabled` counts in those disabled at
    // first.
    static QStringList DesignedCycleFromMemo(bool allEnabled) {
        QStringList stops;
        for (const dnl::ControlDesign& design : kWindowControls) {
            if (design.Has(dnl::kTabStop) && (!design.Has(dnl::kDisabled) || allEnabled)) {
                stops << Qs(design.name);
            }
        }
        stops.move(0, stops.size() - 1);  // the memo, the first, comes round again last
        return stops;
    }

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
