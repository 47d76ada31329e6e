// The strict reader of the record files, and the instructor's command that prints its verdicts.

#include "records/record_file_names.h"
#include "records/record_lines.h"
#include "records/record_reader.h"
#include "runtime/windows1252.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace desk;

namespace {

using Kind = RecordFileKind;

QStringList header(Kind kind, const QString& time = QStringLiteral("01:41:15"))
{
    const QString between = kind == Kind::Send ? QStringLiteral(" ") : QString();
    return QStringList{QStringLiteral("qZ\u00C6\u00FFB")}
    << record::studentNameLabel + QStringLiteral("Ann Lee")
    << record::assignmentLabel + QStringLiteral("001") << QStringLiteral("001.  Rolling ball")
    << record::initialsLabel + QStringLiteral("AJL")
    << record::dateAndTimeLabel + QStringLiteral("12-08-2026") + between + time;
}

QStringList response(Kind kind, const QStringList& answer)
{
    QStringList lines{record::openingSeparator, record::indented(QStringLiteral("14:03:27"))};
    if (kind == Kind::Master)
        lines << QString() << QString() << record::questionNumberKey + QStringLiteral(" 10005 ");
    return lines << QStringLiteral("Time the ball.") << record::openingSeparator
                 << record::responseLabel << answer << record::closingSeparator;
}

QStringList note(const QStringList& text,
                 const QString& dateAndTime = QStringLiteral("12-08-202614:03:27"))
{
    return QStringList{record::openingSeparator,      record::indented(QStringLiteral("14:03:27")),
                       record::indented(dateAndTime), QStringLiteral("Give the times."),
                       record::openingSeparator,      record::notesLabel + text.first()}
    << text.mid(1) << record::closingSeparator;
}

QByteArray bytesOf(const QStringList& lines)
{
    QByteArray bytes;
    for (const QString& line : lines)
        bytes += windows1252::encode(line) + "\r\n";
    return bytes;
}

// Each run as "first line|name|assignment|initials|date|time|responses|notes".
QStringList runsOf(const RecordReading& reading)
{
    QStringList runs;
    for (const RecordRun& r : reading.runs)
        runs << QStringLiteral("%1|%2|%3|%4|%5|%6|%7|%8")
                    .arg(QString::number(r.firstLine), r.studentName, r.assignmentNumber,
                         r.initials, r.date, r.time,
                         QString::number(r.count(RecordBlock::Response)),
                         QString::number(r.count(RecordBlock::Note)));
    return runs;
}

// Asked for when the tests run, once the names' own constants are made.
QString nameOf(RecordFileNames::File file)
{
    return RecordFileNames(QString(), QStringLiteral("Ann Lee"), QStringLiteral("1208")).name(file);
}

} // namespace

class TestRecordReader : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void readsFiles_data();
    void readsFiles();
    void commandTellsEachFile();
};

void TestRecordReader::readsFiles_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<QString>("problem"); // its line and the start of what it says; none: whole
    QTest::addColumn<QStringList>("runs");
    QTest::addColumn<QString>("lastBlock"); // its question number and its text

    const auto row = [](const char* name, const QString& fileName, const QByteArray& bytes,
                        Kind kind, const QString& problem, const QStringList& runs,
                        const QString& lastBlock) {
        QTest::newRow(name) << fileName << bytes << kind << problem << runs << lastBlock;
    };
    const auto at = [](qsizetype line, const char* what) {
        return QString::number(line) + u' ' + QLatin1String(what);
    };
    const QString master = nameOf(RecordFileNames::Master);
    const QString ann = QStringLiteral("|Ann Lee|001|AJL|12-08-2026|");
    const QStringList answerLines = {QStringLiteral("about 2 s "), QStringLiteral("  3 s")};
    const QString answer = QStringLiteral("10005|") + answerLines.join(QStringLiteral("\r\n"));
    const QStringList a = {QStringLiteral("a")};
    const QStringList run = header(Kind::Master) + note(a) + response(Kind::Master, answerLines);
    const QStringList runs = {QStringLiteral("1") + ann + QStringLiteral("01:41:15|1|1")};
    const QStringList send = header(Kind::Send) + response(Kind::Send, {QStringLiteral("OK")});
    const QStringList sendRuns = {QStringLiteral("1") + ann + QStringLiteral("01:41:15|1|0")};

    row("whole master file", master, bytesOf(run), Kind::Master, {}, runs, answer);
    row("whole send file of two runs", nameOf(RecordFileNames::Send),
        bytesOf(send + header(Kind::Send, QStringLiteral("02:00:00")) + note(a)
                + response(Kind::Send, {QString()})),
        Kind::Send, {},
        sendRuns
            + QStringList{QString::number(send.size() + 1) + ann + QStringLiteral("02:00:00|1|1")},
        QStringLiteral("|"));
    row("whole notes file told by its content", QStringLiteral("notes.txt"),
        bytesOf(note(a) + note({QStringLiteral("stopwatch"), {}, QStringLiteral("phone")})),
        Kind::Notes, {}, {QStringLiteral("0||||||0|2")}, QStringLiteral("|stopwatch\r\n\r\nphone"));
    const QStringList dots = {record::closingSeparator, record::openingSeparator,
                              QStringLiteral("more")};
    row("lines of closing and opening dots in an answer", master,
        bytesOf(header(Kind::Master) + response(Kind::Master, dots) + note(a)), Kind::Master, {},
        {QStringLiteral("1") + ann + QStringLiteral("01:41:15|1|1")}, QStringLiteral("|a"));
    QStringList control = run;
    control[1] += QStringLiteral("\x1b[31m");
    row("a control character in the name", master, bytesOf(control), Kind::Master,
        at(2, "header: expected no control character"), {}, {});
    row("random line with bytes no character stands for", QStringLiteral("copy.txt"),
        "\x81\x8D\x8F\x90\x9D\xFF\x42\r\n" + bytesOf(run.mid(1)), Kind::Master, {}, runs, answer);
    row("torn last line", QStringLiteral("copy.txt"), bytesOf(send).chopped(2), Kind::Send,
        at(send.size(), "torn line"), {sendRuns.front().chopped(3) + QStringLiteral("0|0")}, {});
    row("torn inside an answer", master,
        bytesOf(header(Kind::Master) + response(Kind::Master, {}).mid(0, 8)) + "abo", Kind::Master,
        at(15, "torn line"), {QStringLiteral("1") + ann + QStringLiteral("01:41:15|0|0")}, {});
    row("block not closed before the next", master, bytesOf(run + note(a).mid(0, 6) + note(a)),
        Kind::Master,
        at(run.size() + 1, "note block not closed before the block at line %1").arg(run.size() + 7),
        runs, answer);
    row("block with no header", nameOf(RecordFileNames::Send), bytesOf(note(a)), Kind::Send,
        at(1, "a block with no header"), {}, {});
    row("stray line", master, bytesOf(run + QStringList{QStringLiteral("hello")} + note(a)),
        Kind::Master, at(run.size() + 1, "a stray line"), runs, answer);
    row("note's date and time with a blank", nameOf(RecordFileNames::Notes),
        bytesOf(note(a) + note(a, QStringLiteral("12-08-2026 14:03:27"))), Kind::Notes,
        at(10, "note block: expected the date and time"), {QStringLiteral("0||||||0|1")},
        QStringLiteral("|a"));
    row("send file's header in a master file", master, bytesOf(header(Kind::Send)), Kind::Master,
        at(6, "header: expected the date and at once the time"), {}, {});
}

void TestRecordReader::readsFiles()
{
    QFETCH(QString, fileName);
    QFETCH(QByteArray, bytes);
    QFETCH(Kind, kind);
    QFETCH(QString, problem);
    QFETCH(QStringList, runs);
    QFETCH(QString, lastBlock);

    QCOMPARE(recordFileKind(fileName, bytes), kind);
    const RecordReading reading = readRecordFile(bytes, kind);
    const QString found = reading.problem
        ? QString::number(reading.problem->line) + u' ' + reading.problem->what
        : QString();
    QVERIFY2(found.startsWith(problem) && found.isEmpty() == problem.isEmpty(), qPrintable(found));
    QCOMPARE(runsOf(reading), runs);
    const auto blocks =
        reading.runs.empty() ? std::vector<RecordBlock>() : reading.runs.back().blocks;
    QCOMPARE(blocks.empty() ? QString() : blocks.back().questionNumber + u'|' + blocks.back().text,
             lastBlock);
}

void TestRecordReader::commandTellsEachFile()
{
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString whole = folder.filePath(nameOf(RecordFileNames::Master));
    const QString torn = folder.filePath(QStringLiteral("copy.txt"));
    const QString missing = folder.filePath(QStringLiteral("missing.txt"));
    const QStringList send = header(Kind::Send) + response(Kind::Send, {QStringLiteral("OK")});
    for (const auto& [path, bytes] : {std::pair{whole, bytesOf(header(Kind::Master))},
                                      std::pair{torn, bytesOf(send).chopped(2)}}) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    }
    // The exit status, then what the command printed.
    const auto check = [](const QStringList& files) {
        QProcess command;
        command.start(QStringLiteral(DESK_CHECK), files);
        const bool finished = command.waitForFinished(30000);
        return QString::number(finished ? command.exitCode() : -1) + u'\n'
            + QString::fromUtf8(command.readAllStandardOutput() + command.readAllStandardError());
    };
    const QString wholeRun = QStringLiteral("  Ann Lee, assignment 001, initials AJL, 12-08-2026 "
                                            "01:41:15: 0 responses, 0 notes\n  whole\n");
    const QString tornEnd = QStringLiteral("  not whole: line %1: torn line").arg(send.size());
    QString shown = check({whole});
    QVERIFY2(shown.startsWith(u'0') && shown.endsWith(wholeRun), qPrintable(shown));
    shown = check({torn, whole});
    QVERIFY2(shown.startsWith(u'1') && shown.contains(tornEnd) && shown.endsWith(wholeRun),
             qPrintable(shown));
    shown = check({missing, torn});
    QVERIFY2(shown.startsWith(u'2') && shown.contains(missing) && shown.contains(tornEnd),
             qPrintable(shown));
    QVERIFY2(check({}).startsWith(QStringLiteral("2\nusage:")), qPrintable(check({})));
    // A pipe is refused at once, never waited on.
    const QString pipe = folder.filePath(QStringLiteral("pipe"));
    QVERIFY(::mkfifo(QFile::encodeName(pipe).constData(), 0600) == 0);
    shown = check({pipe, whole});
    QVERIFY2(shown.startsWith(u'2') && shown.contains(QStringLiteral("not a plain file")),
             qPrintable(shown));
}

QTEST_GUILESS_MAIN(TestRecordReader)
#include "test_record_reader.moc"
