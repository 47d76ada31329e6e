// Text boxes read and replaced whole, with CR LF line breaks.

#include "widgets/text_box.h"

#include <QClipboard>
#include <QGuiApplication>
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
    void appendingIsSettingTheWhole_data();
    void appendingIsSettingTheWhole();
};

namespace {

// A transcript-like line of about 180,000 characters, with and without blanks to cut after.
QString longLine(bool withBlanks)
{
    QString line;
    for (int i = 0; i < 1000; ++i)
        line += withBlanks
            ? QStringLiteral(" <-<-<-<-  Q/A:   Calculate the average rate of change of "
                             "velocity with respect to clock time for run %1. ")
                  .arg(i)
            : QString(180, QChar(u'a' + i % 26));
    return line;
}

// What the box's document reads, rather than the text the box keeps beside it: told that its
// document changed, the box reads the document again.
QString documentText(TextBox& box)
{
    Q_EMIT box.document()->contentsChanged();
    return box.text();
}

} // namespace

void TestTextBox::setThenRead_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("read");

    const QString prompt =
        QStringLiteral("Enter, as appropriate, an answer.\r\n\r\nAlways critique your solutions.");
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("answer prompt with CR LF CR LF") << prompt << prompt;
    QTest::newRow("LF becomes CR LF") << "a\nb"
                                      << "a\r\nb";
    QTest::newRow("lone CR becomes CR LF") << "a\rb"
                                           << "a\r\nb";
    QTest::newRow("line break at the end") << "OK\r\n"
                                           << "OK\r\n";
    QTest::newRow("line breaks only") << "\r\n\r\n"
                                      << "\r\n\r\n";
    QTest::newRow("no-break space")
        << QStringLiteral("10\u00A0m/s") << QStringLiteral("10\u00A0m/s");
    QTest::newRow("tabs and blanks") << "\t x  \t"
                                     << "\t x  \t";
    QTest::newRow("Windows-1252 punctuation")
        << QStringLiteral("\u201Cok\u201D \u20AC5") << QStringLiteral("\u201Cok\u201D \u20AC5");
}

void TestTextBox::setThenRead()
{
    QFETCH(QString, text);
    QFETCH(QString, read);
    TextBox box;
    box.setText(QStringLiteral("previous text\r\nto be replaced"));
    box.setText(text);
    QCOMPARE(box.text(), read); // what the box keeps beside its document
    QCOMPARE(documentText(box), read);
}

void TestTextBox::typedLineBreaksReadAsCrLf()
{
    TextBox box;
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    QTest::keyClicks(&box, QStringLiteral("first"));
    QTest::keyClick(&box, Qt::Key_Return);
    QTest::keyClicks(&box, QStringLiteral("second"));
    QTest::keyClick(&box, Qt::Key_Return, Qt::ShiftModifier); // a line break inside the paragraph
    QTest::keyClicks(&box, QStringLiteral("third"));
    QCOMPARE(box.text(), QStringLiteral("first\r\nsecond\r\nthird"));
}

void TestTextBox::longLinesReadBackWhole()
{
    for (bool withBlanks : {true, false}) {
        const QString line = longLine(withBlanks);
        const QString text = QStringLiteral("first\r\n") + line + QStringLiteral("\r\n\r\n") + line;
        TextBox box;
        box.setText(text);
        // Held in pieces, read back as it was given.
        QVERIFY(box.document()->blockCount() > 100);
        QCOMPARE(documentText(box), text);
    }
}

void TestTextBox::copyingJoinsPiecesAgain()
{
    const QString line = longLine(true);
    TextBox box;
    box.setText(QStringLiteral("x\r\n") + line);
    box.selectAll();
    box.copy();
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("x\n") + line);
}

void TestTextBox::enterInsideALongLineIsALineBreak()
{
    const QString line = longLine(true);
    TextBox box;
    box.setText(line);
    // Into the middle of the third piece, well away from any cut.
    QTextCursor cursor(box.document()->findBlockByNumber(2));
    cursor.movePosition(QTextCursor::NextCharacter, QTextCursor::MoveAnchor, 100);
    const int at = cursor.position() - box.document()->findBlockByNumber(0).position();
    box.setTextCursor(cursor);
    QTest::keyClick(&box, Qt::Key_Return);
    QString expected = line;
    expected.insert(at - 2, QStringLiteral("\r\n")); // positions count the two cuts before it
    QCOMPARE(documentText(box), expected);
}

void TestTextBox::undoNeverAddsALineBreak()
{
    const QString line = longLine(true);
    TextBox box;
    box.setText(line);
    // Backspace at the start of a piece, then undo.
    box.setTextCursor(QTextCursor(box.document()->findBlockByNumber(1)));
    QTest::keyClick(&box, Qt::Key_Backspace);
    box.undo();
    QCOMPARE(documentText(box), line);
    // A short text keeps its undo.
    box.setText(QStringLiteral("short"));
    box.moveCursor(QTextCursor::End);
    QTest::keyClicks(&box, QStringLiteral("er"));
    box.undo();
    QCOMPARE(documentText(box), QStringLiteral("short"));
}

void TestTextBox::appendingIsSettingTheWhole_data()
{
    QTest::addColumn<QString>("start");
    QTest::addColumn<QStringList>("parts");
    QTest::addColumn<bool>("editedBetween");

    QStringList paragraphs;
    for (int i = 0; i < 12; ++i)
        paragraphs << QStringLiteral(" <-<-<-<-  Q/A:   paragraph %1 ").arg(i) + QString(600, u'x');
    QTest::newRow("short parts and line breaks")
        << "" << QStringList{"a", "b\r\nc", "\r\n", "d"} << false;
    QTest::newRow("lone CR and LF") << "x" << QStringList{"\r", "y\n", "z"} << false;
    QTest::newRow("CR, then LF in the next part") << "x\r" << QStringList{"\ny"} << false;
    QTest::newRow("one line growing across the cuts") << longLine(true) << paragraphs << false;
    QTest::newRow("a part longer than a piece")
        << "abc" << QStringList{longLine(false), "d"} << false;
    QTest::newRow("paragraph separator in a long line")
        << QString(1500, u'a')
        << QStringList{QString(1000, u'b') + QChar::ParagraphSeparator + QString(2500, u'c')}
        << false;
    QTest::newRow("emoji across a cut")
        << QString(1999, u'a') << QStringList{QStringLiteral("\U0001F600b")} << false;
    QTest::newRow("new line after a long one")
        << longLine(true) << QStringList{"\r\nnext", "more"} << false;
    QTest::newRow("the student edits in between") << "first" << paragraphs << true;
}

// Adding to the box leaves it as setting it to its text and the addition would, part by part.
void TestTextBox::appendingIsSettingTheWhole()
{
    QFETCH(QString, start);
    QFETCH(QStringList, parts);
    QFETCH(bool, editedBetween);
    TextBox appended;
    TextBox setWhole;
    appended.setText(start);
    setWhole.setText(start);
    qsizetype beforeLast = 0;
    for (const QString& part : parts) {
        if (editedBetween) {
            for (TextBox* box : {&appended, &setWhole}) {
                box->moveCursor(QTextCursor::End);
                box->insertPlainText(QStringLiteral("typed\n"));
            }
        }
        beforeLast = setWhole.text().size();
        appended.append(part);
        setWhole.setText(setWhole.text() + part);
    }
    QCOMPARE(appended.text(), setWhole.text());
    // The documents themselves, not only what the boxes keep.
    const QString kept = setWhole.text();
    QCOMPARE(documentText(setWhole), kept);
    QCOMPARE(documentText(appended), kept);
    QCOMPARE(appended.document()->blockCount(), setWhole.document()->blockCount());
    QCOMPARE(appended.document()->isUndoAvailable(), setWhole.document()->isUndoAvailable());
    for (QTextBlock block = appended.document()->begin(); block.isValid(); block = block.next())
        QVERIFY(block.text().isEmpty() || !block.text().front().isLowSurrogate());
    // The caret is where the last part begins: what is typed goes in just before it.
    appended.insertPlainText(QStringLiteral("@"));
    QCOMPARE(documentText(appended), kept.left(beforeLast) + u'@' + kept.mid(beforeLast));
}

QTEST_MAIN(TestTextBox)
#include "test_text_box.moc"
