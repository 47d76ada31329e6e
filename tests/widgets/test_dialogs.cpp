// The real input and message boxes: whose they are, their buttons, and a message too tall for
// the screen.

#include "widgets/dialogs.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QProxyStyle>
#include <QPushButton>
#include <QScopeGuard>
#include <QScreen>
#include <QTest>
#include <QTextEdit>
#include <QTimer>

#include <functional>

using desk::QtDialogs;

namespace {

// Runs `look` on the modal box once it is open, then closes it, whatever `look` found.
void whenOpen(const std::function<void(QDialog&)>& look)
{
    QTimer::singleShot(0, [look] {
        QWidget* modal = QApplication::activeModalWidget();
        auto close = qScopeGuard([modal] {
            if (modal)
                modal->close();
        });
        auto* box = qobject_cast<QDialog*>(modal);
        QVERIFY(box);
        look(*box);
    });
}

// The style of a desktop whose dialog buttons carry icons (the offscreen platform's has none).
class IconButtonsStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* data) const override
    {
        return hint == SH_DialogButtonBox_ButtonsHaveIcons
            ? 1
            : QProxyStyle::styleHint(hint, option, widget, data);
    }
};

} // namespace

class TestDialogs : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QApplication::setStyle(new IconButtonsStyle); }
    void boxesBelongToTheWindow();
    void tallMessageScrollsWithOkInReach();
    void keysAnswerNoUnlessOnYes_data();
    void keysAnswerNoUnlessOnYes();
};

void TestDialogs::boxesBelongToTheWindow()
{
    QtDialogs dialogs;
    QWidget window;
    window.setGeometry(20, 30, 300, 200);
    dialogs.setOwner(&window);
    for (bool shown : {false, true}) {
        if (shown) {
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
        }
        for (const char* kind : {"input", "message", "question"}) {
            const QString text = QStringLiteral("The error is:  61");
            bool looked = false;
            whenOpen([&](QDialog& box) {
                QCOMPARE(box.parentWidget(), &window);
                QVERIFY(box.isModal());
                QCOMPARE(box.windowTitle(), QStringLiteral("Assignment Desk"));
                for (QAbstractButton* button : box.findChildren<QAbstractButton*>())
                    QVERIFY2(button->icon().isNull(), qPrintable(button->text()));
                // Over the window once the student sees it; before, in the middle of the screen.
                const QPoint centre = shown ? window.frameGeometry().center()
                                            : box.screen()->availableGeometry().center();
                QVERIFY2((box.frameGeometry().center() - centre).manhattanLength() <= 4,
                         qPrintable(QStringLiteral("centred at %1,%2")
                                        .arg(box.frameGeometry().center().x())
                                        .arg(box.frameGeometry().center().y())));
                // A screen reader reads a message or a question as text.
                if (qstrcmp(kind, "input") != 0) {
                    QAccessibleInterface* view =
                        QAccessible::queryAccessibleInterface(box.findChild<QTextEdit*>());
                    QVERIFY(view && view->textInterface());
                    QCOMPARE(view->text(QAccessible::Name),
                             qstrcmp(kind, "message") == 0 ? QStringLiteral("Message")
                                                           : QStringLiteral("Question"));
                    QCOMPARE(
                        view->textInterface()->text(0, view->textInterface()->characterCount()),
                        text);
                }
                // A question starts on the answer that changes nothing.
                if (QAbstractButton* no =
                        box.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::No)) {
                    QCOMPARE(box.focusWidget(), no);
                    box.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Yes)->click();
                }
                looked = true;
            });
            if (qstrcmp(kind, "message") == 0)
                dialogs.messageBox(text);
            else if (qstrcmp(kind, "question") == 0)
                QVERIFY(dialogs.askYesNo(text));
            else
                dialogs.inputBox(QStringLiteral("Assignment Number:  "));
            QVERIFY(looked);
        }
    }
}

// A message naming thousands of characters: it scrolls inside the box, OK stays on the screen,
// and the text can be reached with the keyboard to be selected and copied.
void TestDialogs::tallMessageScrollsWithOkInReach()
{
    QtDialogs dialogs;
    QString text;
    for (int i = 0; i < 3000; ++i)
        text += QStringLiteral("\n    U+%1 SOME CHARACTER").arg(i, 4, 16, QLatin1Char('0'));
    bool looked = false;
    whenOpen([&](QDialog& box) {
        const int screen = box.screen()->availableGeometry().height();
        QVERIFY2(box.height() <= screen * 3 / 4, qPrintable(QString::number(box.height())));
        auto* scrolled = box.findChild<QTextEdit*>();
        QVERIFY(scrolled);
        QCOMPARE(scrolled->toPlainText(), text);
        QVERIFY(scrolled->focusPolicy() & Qt::TabFocus);
        QVERIFY(scrolled->textInteractionFlags() & Qt::TextSelectableByKeyboard);
        QCOMPARE(box.accessibleDescription(), text);
        looked = true;
    });
    dialogs.messageBox(text);
    QVERIFY(looked);
}

void TestDialogs::keysAnswerNoUnlessOnYes_data()
{
    QTest::addColumn<QString>("focusOn"); // "text", "No" or "Yes"
    QTest::addColumn<int>("key");         // 0: the close button
    QTest::addColumn<bool>("yes");

    for (const char* focus : {"text", "No", "Yes"}) {
        for (int key : {int(Qt::Key_Return), int(Qt::Key_Enter), int(Qt::Key_Escape), 0}) {
            const bool yes = qstrcmp(focus, "Yes") == 0 && key != Qt::Key_Escape && key != 0;
            QTest::addRow("%s, %s", focus,
                          key == 0                    ? "closed"
                              : key == Qt::Key_Escape ? "Escape"
                              : key == Qt::Key_Enter  ? "Enter"
                                                      : "Return")
                << QString::fromLatin1(focus) << key << yes;
        }
    }
}

void TestDialogs::keysAnswerNoUnlessOnYes()
{
    QFETCH(QString, focusOn);
    QFETCH(int, key);
    QFETCH(bool, yes);
    QtDialogs dialogs;
    whenOpen([&](QDialog& box) {
        QWidget* target = focusOn == QLatin1String("text")
            ? static_cast<QWidget*>(box.findChild<QTextEdit*>())
            : box.findChild<QDialogButtonBox*>()->button(
                focusOn == QLatin1String("Yes") ? QDialogButtonBox::Yes : QDialogButtonBox::No);
        QVERIFY(QTest::qWaitForWindowActive(&box));
        target->setFocus(Qt::TabFocusReason);
        QCOMPARE(QApplication::focusWidget(), target);
        if (key == 0)
            box.close();
        else
            QTest::keyClick(target, Qt::Key(key));
    });
    QCOMPARE(dialogs.askYesNo(QStringLiteral("Go on and leave it unrecorded?")), yes);
}

QTEST_MAIN(TestDialogs)
#include "test_dialogs.moc"
