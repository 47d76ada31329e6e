// The description of the record files for instructors shows whole files of a short run of
// assignment 001; a real run must write them byte for byte, apart from the random first line of
// each header.

#include "app/main_window.h"
#include "support/scripted_services.h"
#include "support/started_window.h"
#include "widgets/text_box.h"

#include <QFile>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>

class TestRecordFilesDoc : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void examplesAreWhatARunWrites();
};

namespace {

// The example after "```<kind>" in the description, as bytes: "␠" is a blank, every line ends
// with CR LF, and the header's random line stays a placeholder.
QByteArray example(const QString& description, const QString& kind)
{
    const QRegularExpression block(QStringLiteral("```%1\n(.*?)```").arg(kind),
                                   QRegularExpression::DotMatchesEverythingOption);
    QString text = block.match(description).captured(1);
    text.replace(QStringLiteral("␠"), QStringLiteral(" "));
    text.replace(u'\n', QStringLiteral("\r\n"));
    return text.toLatin1();
}

// The file with the first line of each header (the line before "Student Name:  ") replaced by
// the placeholder the description shows.
QByteArray withPlaceholders(const QByteArray& file)
{
    QList<QByteArray> lines = file.split('\n');
    for (qsizetype i = 0; i + 1 < lines.size(); ++i)
        if (lines[i + 1].startsWith("Student Name:  "))
            lines[i] = "<a line of random characters>\r";
    return lines.join('\n');
}

} // namespace

void TestRecordFilesDoc::examplesAreWhatARunWrites()
{
    QFile file(QStringLiteral(RECORD_FILES_DOC));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString description = QString::fromUtf8(file.readAll());

    desk::testing::WindowFixture f;
    f.clock.dates = {QStringLiteral("12-08-2026")};
    f.clock.times = {QStringLiteral("14:03:27")};
    f.start(QStringLiteral("1"), QStringLiteral("Ann Lee"), QStringLiteral("AJL"),
            QStringLiteral("1"));
    QVERIFY(!f.window->hasEnded());
    desk::MainWindow& w = *f.window;
    w.cmdNextQuestion->click();
    w.txt_answer->setText(QStringLiteral("about 2 s halfway\r\nabout 3 s the whole way"));
    w.cmd_enter_response->click();
    w.cmdNextQuestion->click();
    w.txt_answer->setText(QStringLiteral("stopwatch on my phone"));
    w.cmd_save_as_notes->click();
    QVERIFY(f.dialogs.messages.isEmpty());

    QCOMPARE(withPlaceholders(f.bytes(w.state().masterFileName)), example(description, "master"));
    QCOMPARE(withPlaceholders(f.bytes(w.state().sendFileName)), example(description, "send"));
    QCOMPARE(f.bytes(w.state().notesFileName), example(description, "notes"));
    QVERIFY(description.contains(QStringLiteral("send_1208Ann_Lee.txt")));
    QVERIFY(w.state().sendFileName.endsWith(QStringLiteral("\\send_1208Ann_Lee.txt")));
}

QTEST_MAIN(TestRecordFilesDoc)
#include "test_record_files_doc.moc"
