// Errors that escape an event handler: the box's caption and text, and the event loop going on.
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <stdexcept>
#include <utility>

#include "Application.h"
#include "ErrorReport.h"

namespace {

// What the error box showed, read while it is open.
struct ShownBox {
    bool shown = false;
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
};

// Reads and closes the error box that the next event handler is about to show.
void CloseNextBoxInto(ShownBox& box) {
    QTimer::singleShot(0, [&box] {
        auto* message = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (message == nullptr) {
            return;
        }
        box = {true, message->windowTitle(), message->text(), message->icon(),
               message->standardButtons()};
        QTest::keyClick(message, Qt::Key_Return);
    });
}

// An object whose handling of user events runs `action`.
class EventHandler : public QObject {
public:
    explicit EventHandler(std::function<void()> action) : m_action(std::move(action)) {}

    bool event(QEvent* event) override {
        if (event->type() == QEvent::User) {
            m_action();
            return true;
        }
        return QObject::event(event);
    }

private:
    std::function<void()> m_action;
};

}  // namespace

class ErrorReportTest : public QObject {
    Q_OBJECT

private slots:
    void textGetsAFullStopAfterCharactersBeyondIt_data() {
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("shown");
        QTest::newRow("letter") << "Disk full"
                                << "Disk full.";
        QTest::newRow("digit") << "error code was 5"
                               << "error code was 5.";
        QTest::newRow("slash, just after the dot") << "/tmp/"
                                                   << "/tmp/.";
        QTest::newRow("question mark") << "Really?"
                                       << "Really?.";
        QTest::newRow("Japanese") << "書き込めません"
                                  << "書き込めません.";
        QTest::newRow("full stop itself") << "Done."
                                          << "Done.";
        QTest::newRow("hyphen, just before the dot") << "a -"
                                                     << "a -";
        QTest::newRow("exclamation mark") << "Stop!"
                                          << "Stop!";
        QTest::newRow("closing parenthesis") << "code (5)"
                                             << "code (5)";
        QTest::newRow("empty") << ""
                               << "";
    }

    void textGetsAFullStopAfterCharactersBeyondIt() {
        QFETCH(QString, message);
        QFETCH(QString, shown);
        QCOMPARE(dnl::ErrorText(message), shown);
    }

    void titleIsTheExecutablesCapitalisedStem_data() {
        QTest::addColumn<QString>("executable");
        QTest::addColumn<QString>("title");
        QTest::newRow("lower case") << "/usr/local/bin/dnltransfer"
                                    << "dnltransfer";
        QTest::newRow("mixed case with extension") << "/opt/DnlTransfer.exe"
                                                   << "Dnltransfer";
        QTest::newRow("upper case") << "DNLTRANSFER"
                                    << "Dnltransfer";
        QTest::newRow("cut at the first dot") << "/x/Tool.v2.bin"
                                              << "Tool";
        QTest::newRow("dot in a folder only") << "/x.y/TOOL"
                                              << "Tool";
        QTest::newRow("accented letters") << "/x/ÉCLAIR"
                                          << "Éclair";
        QTest::newRow("dot first") << "/x/.hidden"
                                   << "";
    }

    void titleIsTheExecutablesCapitalisedStem() {
        QFETCH(QString, executable);
        QFETCH(QString, title);
        QCOMPARE(dnl::ApplicationTitle(executable), title);
    }

    void errorInAConnectedHandlerIsShownAndTheLoopGoesOn() {
        QPushButton button;
        int clicks = 0;
        dnl::ConnectShowingErrors(&button, &QPushButton::clicked, this, [&clicks] {
            if (++clicks == 1) {
                throw std::runtime_error("ファイルを開けません");
            }
        });
        ShownBox box;
        CloseNextBoxInto(box);
        QTest::mouseClick(&button, Qt::LeftButton);

        QVERIFY(box.shown);
        // This test program is named ERRORreport.window.tests.
        QCOMPARE(box.title, QStringLiteral("Errorreport"));
        QCOMPARE(box.text, QStringLiteral("ファイルを開けません."));
        QCOMPARE(box.icon, QMessageBox::Critical);
        QCOMPARE(box.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));

        QTest::mouseClick(&button, Qt::LeftButton);
        QCOMPARE(clicks, 2);
        QVERIFY(QApplication::activeModalWidget() == nullptr);
    }

    void errorEscapingAnEventIsShownByTheApplication() {
        EventHandler handler([] { throw std::length_error("Record too long"); });
        ShownBox box;
        CloseNextBoxInto(box);
        QEvent event(QEvent::User);
        QVERIFY(!QCoreApplication::sendEvent(&handler, &event));
        QVERIFY(box.shown);
        QCOMPARE(box.title, QStringLiteral("Errorreport"));
        QCOMPARE(box.text, QStringLiteral("Record too long."));
        QCOMPARE(box.icon, QMessageBox::Critical);
    }

    void errorOfUnknownKindIsShownToo() {
        EventHandler handler([] { throw 42; });
        ShownBox box;
        CloseNextBoxInto(box);
        QEvent event(QEvent::User);
        QCoreApplication::sendEvent(&handler, &event);
        QVERIFY(box.shown);
        QCOMPARE(box.text, QStringLiteral("An error of an unknown kind occurred."));
    }
};

// The application object is the program's own, which shows escaping errors.
int main(int argc, char* argv[]) {
    dnl::Application application(argc, argv);
    ErrorReportTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "ErrorReportTest.moc"
