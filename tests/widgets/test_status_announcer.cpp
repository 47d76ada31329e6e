// What a screen reader is told after a click: each message appears afresh, the same message
// twice in a row too (two responses recorded), named and with its text in the label that braille
// displays take it from. A screen reader speaks a notification when it appears.

#include "widgets/status_announcer.h"

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QTest>

namespace {

// The name each time the watched widget appears.
class Appearances : public QObject {
public:
    QStringList names;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show)
            names << QAccessible::queryAccessibleInterface(watched)->text(QAccessible::Name);
        return false;
    }
};

} // namespace

class TestStatusAnnouncer : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void everyMessageAppearsAfresh();
};

void TestStatusAnnouncer::everyMessageAppearsAfresh()
{
    QWidget window;
    auto* announcer = new desk::StatusAnnouncer(&window);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    Appearances appearances;
    announcer->installEventFilter(&appearances);
    for (const char* message : {"Response recorded", "Response recorded", "Note saved"})
        announcer->announce(QString::fromLatin1(message));
    QCOMPARE(appearances.names,
             QStringList({"Response recorded", "Response recorded", "Note saved"}));
    QAccessibleInterface* notification = QAccessible::queryAccessibleInterface(announcer);
    QCOMPARE(notification->role(), QAccessible::Notification);
    QCOMPARE(announcer->findChild<QLabel*>()->text(), QStringLiteral("Note saved"));
}

QTEST_MAIN(TestStatusAnnouncer)
#include "test_status_announcer.moc"
