// Text boxes read and replaced whole, with CR LF line breaks.

#include "platform/text_box.h"

#include <QPlainTextEdit>
#include <QTest>

using namespace desk;

class TestTextBox : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void setThenRead_data();
    void setThenRead();
    void typedLineBreaksReadAsCrLf();
};

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

QTEST_MAIN(TestTextBox)
#include "test_text_box.moc"
