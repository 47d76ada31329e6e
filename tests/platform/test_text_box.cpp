// Text boxes read and replaced whole, with CR LF line breaks.

#include "platform/text_box.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>

using namespace desk;

class TestTextBox : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void setThenRead_data();
    void setThenRead();
    void typedLineBreaksReadAsCrLf();
    void longLinesReadBackWhole();
    void copyingJoinsPiecesAgain();
    void enterInsideALongLineIsALineBreak();
    void undoNeverAddsALineBreak();
};

namespace {

// A transcript-like line of about 180,000 characters, with and without blanks to cut after.
QString longLine(bool withBlanks)
{
    QString line;
    for (int i = 0; i < 1000; ++i)
        line += withBlanks ? QStringLiteral(" <-<-<-<-  Q/A:   Calculate the average rate of change of "
                                            "velocity with respect to clock time for run %1. ").arg(i)
                           : QString(180, QChar(u'a' + i % 26));
    return line;
}

} // namespace

void TestTextBox::setThenRead_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("read");

    const QString prompt = QStringLiteral("Enter, as appropriate, an answer.\r\n\r\nAlways critique your solutions.");
    QTest::newRow("empty") << "" << "";
    QTest::newRow("answer prompt with CR LF CR LF") << prompt << prompt;
    QTest::newRow("LF becomes CR LF") << "a\nb" << "a\r\nb";
    QTest::newRow("lone CR becomes CR LF") << "a\rb" << "a\r\nb";
    QTest::newRow("line break at the end") << "OK\r\n" << "OK\r\n";
    QTest::newRow("line breaks only") << "\r\n\r\n" << "\r\n\r\n";
    QTest::newRow("no-break space") << QStringLiteral("10\u00A0m/s") << QStringLiteral("10\u00A0m/s");
    QTest::newRow("tabs and blanks") << "\t x  \t" << "\t x  \t";
    QTest::newRow("Windows-1252 punctuation") << QStringLiteral("\u201Cok\u201D \u20AC5")
                                              << QStringLiteral("\u201Cok\u201D \u20AC5");
}

void TestTextBox::setThenRead()
{
    QFETCH(QString, text);
    QFETCH(QString, read);
    QPlainTextEdit box;
    setBoxText(box, QStringLiteral("previous text\r\nto be replaced"));
    setBoxText(box, text);
    QCOMPARE(boxText(box), read);
}

void TestTextBox::typedLineBreaksReadAsCrLf()
{
    QPlainTextEdit box;
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    QTest::keyClicks(&box, QStringLiteral("first"));
    QTest::keyClick(&box, Qt::Key_Return);
    QTest::keyClicks(&box, QStringLiteral("second"));
    QTest::keyClick(&box, Qt::Key_Return, Qt::ShiftModifier); // a line break inside the paragraph
    QTest::keyClicks(&box, QStringLiteral("third"));
    QCOMPARE(boxText(box), QStringLiteral("first\r\nsecond\r\nthird"));
}

void TestTextBox::longLinesReadBackWhole()
{
    for (bool withBlanks : {true, false}) {
        const QString line = longLine(withBlanks);
        const QString text = QStringLiteral("first\r\n") + line + QStringLiteral("\r\n\r\n") + line;
        TextBox box;
        setBoxText(box, text);
        // Held in pieces, read back as it was given.
        QVERIFY(box.document()->blockCount() > 100);
        QCOMPARE(boxText(box), text);
    }
}

void TestTextBox::copyingJoinsPiecesAgain()
{
    const QString line = longLine(true);
    TextBox box;
    setBoxText(box, QStringLiteral("x\r\n") + line);
    box.selectAll();
    box.copy();
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("x\n") + line);
}

void TestTextBox::enterInsideALongLineIsALineBreak()
{
    const QString line = longLine(true);
    TextBox box;
    setBoxText(box, line);
    // Into the middle of the third piece, well away from any cut.
    QTextCursor cursor(box.document()->findBlockByNumber(2));
    cursor.movePosition(QTextCursor::NextCharacter, QTextCursor::MoveAnchor, 100);
    const int at = cursor.position() - box.document()->findBlockByNumber(0).position();
    box.setTextCursor(cursor);
    QTest::keyClick(&box, Qt::Key_Return);
    QString expected = line;
    expected.insert(at - 2, QStringLiteral("\r\n")); // positions count the two cuts before it
    QCOMPARE(boxText(box), expected);
}

void TestTextBox::undoNeverAddsALineBreak()
{
    const QString line = longLine(true);
    TextBox box;
    setBoxText(box, line);
    // Backspace at the start of a piece, then undo.
    box.setTextCursor(QTextCursor(box.document()->findBlockByNumber(1)));
    QTest::keyClick(&box, Qt::Key_Backspace);
    box.undo();
    QCOMPARE(boxText(box), line);
    // A short text keeps its undo.
    setBoxText(box, QStringLiteral("short"));
    box.moveCursor(QTextCursor::End);
    QTest::keyClicks(&box, QStringLiteral("er"));
    box.undo();
    QCOMPARE(boxText(box), QStringLiteral("short"));
}

QTEST_MAIN(TestTextBox)
#include "test_text_box.moc"
