// Records through a second copy of the program and a full disk: real copies of the program
// (record_writer) on the same record files. Whatever happens, every record a copy acknowledged is
// in every file of its record, whole, under a header of its own run; nothing of a refused record
// is anywhere; and no file ends in a torn line. (tests/e2e/killed_mid_record.sh kills the real
// program in the middle of a record.)

#include "records/record_file_names.h"
#include "records/record_reader.h"
#include "storage/rollback_journal.h"
#include "support/expected_texts.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <sched.h>
#include <set>
#include <sys/mount.h>
#include <unistd.h>

namespace {

// Whether this process has a mount namespace of its own, so that it may mount a small disk.
bool privateMounts = false;

bool writeFile(const char* path, const QByteArray& text)
{
    QFile file(QString::fromLatin1(path));
    return file.open(QIODevice::WriteOnly) && file.write(text) == text.size();
}

// Done before Qt starts any thread: a user namespace can only be entered single-threaded.
bool enterPrivateMountNamespace()
{
    if (::unshare(CLONE_NEWNS) != 0) {
        const uid_t uid = ::getuid();
        const gid_t gid = ::getgid();
        if (::unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0)
            return false;
        writeFile("/proc/self/setgroups", "deny");
        if (!writeFile("/proc/self/uid_map", "0 " + QByteArray::number(uid) + " 1")
            || !writeFile("/proc/self/gid_map", "0 " + QByteArray::number(gid) + " 1"))
            return false;
    }
    return ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
}

// What a record file holds, read back by the program's strict reader: the runs' headers and
// their blocks in order, each block by its answer's first line ("P1-17").
struct RecordFile {
    struct Entry {
        bool header = false;
        bool note = false;
        QByteArray who; // a header's initials, a block's answer
    };
    std::vector<Entry> entries;
    QString fault; // empty when the file reads whole

    QList<QByteArray> blocks() const
    {
        QList<QByteArray> ids;
        for (const Entry& e : entries)
            if (!e.header)
                ids << e.who;
        return ids;
    }
};

// `tableLines`: the lines after an answer's first, each a row of the writer's table.
RecordFile readRecordFile(const QByteArray& bytes, desk::RecordFileKind kind, int tableLines)
{
    RecordFile file;
    const desk::RecordReading reading = desk::readRecordFile(bytes, kind);
    if (reading.problem)
        file.fault =
            QStringLiteral("line %1: %2").arg(reading.problem->line).arg(reading.problem->what);
    for (const desk::RecordRun& run : reading.runs) {
        if (kind != desk::RecordFileKind::Notes) {
            if (run.studentName != QLatin1String("Ann Lee")
                || run.assignmentNumber != QLatin1String("001")
                || run.assignmentHeader != QLatin1String("001.  Part C"))
                file.fault +=
                    QStringLiteral(" a header of another run at line %1").arg(run.firstLine);
            file.entries.push_back({true, false, run.initials.toLatin1()});
        }
        for (const desk::RecordBlock& block : run.blocks) {
            const QStringList lines = block.text.split(QStringLiteral("\r\n"));
            const bool table = lines.size() == 1 + tableLines
                && std::all_of(lines.begin() + 1, lines.end(),
                               [](const QString& l) { return l.startsWith("  run "); });
            const bool keyed = kind != desk::RecordFileKind::Master
                || block.kind == desk::RecordBlock::Note
                || block.questionNumber == QLatin1String("10000");
            if (!table || !keyed)
                file.fault +=
                    QStringLiteral(" a block cut short or unkeyed at line %1").arg(block.firstLine);
            file.entries.push_back(
                {false, block.kind == desk::RecordBlock::Note, lines.front().toLatin1()});
        }
    }
    return file;
}

// One copy of the program recording, and what it was told of each record.
struct Writer {
    QProcess process;
    QByteArray initials;
    std::set<int> acknowledged, refused;
    bool done = false;

    void start(const QString& root, const QByteArray& who, int records, int tableLines)
    {
        initials = who;
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.start(QStringLiteral(RECORD_WRITER),
                      {root, QString::fromLatin1(who), QString::number(records),
                       QString::number(tableLines)});
    }
    // Reads what it has told so far; the number of lines read.
    int read()
    {
        int count = 0;
        while (process.canReadLine()) {
            const QList<QByteArray> words = process.readLine().trimmed().split(' ');
            const int n = words.value(1).toInt();
            if (words[0] == "ack")
                acknowledged.insert(n);
            else if (words[0] == "refused")
                refused.insert(n);
            else if (words[0] == "done")
                done = true;
            ++count;
        }
        return count;
    }
    QByteArray id(int n) const { return initials + '-' + QByteArray::number(n); }
    // Every `call` fails in this copy (tests/support/fail_call.cpp).
    void failing(const QString& call)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("LD_PRELOAD"), QStringLiteral(FAIL_CALL));
        environment.insert(QStringLiteral("DESK_FAIL_CALL"), call);
        process.setProcessEnvironment(environment);
    }
};

// Waits until the writers have told `lines` more lines between them, or have all ended.
void waitForProgress(std::vector<Writer*> writers, int lines)
{
    QElapsedTimer time;
    time.start();
    int seen = 0;
    while (seen < lines && time.elapsed() < 30000) {
        bool running = false;
        for (Writer* w : writers) {
            if (w->process.state() == QProcess::NotRunning) {
                seen += w->read();
                continue;
            }
            running = true;
            w->process.waitForReadyRead(20);
            seen += w->read();
        }
        if (!running)
            return;
    }
}

struct Files {
    QString folder;
    QByteArray master() const { return read(QStringLiteral("masterFile_Ann_Lee.txt")); }
    QByteArray notes() const { return read(QStringLiteral("notes_Ann_Lee.txt")); }
    QByteArray send() const
    {
        const QStringList sends = QDir(folder).entryList({QStringLiteral("send_*Ann_Lee.txt")});
        return sends.size() == 1
            ? read(sends.front())
            : QByteArray("<" + QByteArray::number(sends.size()) + " send files>");
    }
    QByteArray read(const QString& name) const
    {
        QFile file(folder + u'/' + name);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    QString hidden(desk::RecordFileNames::File file) const
    {
        return folder + u'/'
            + desk::RecordFileNames(QString(), QStringLiteral("Ann Lee")).name(file);
    }
    QString journal() const { return hidden(desk::RecordFileNames::Journal); }
    // As a copy killed in the middle of a record leaves it: part of it in the master file alone.
    bool interruptRecord() const
    {
        const QString master = folder + QStringLiteral("/masterFile_Ann_Lee.txt");
        const QString send =
            QDir(folder).entryInfoList({QStringLiteral("send_*")}).value(0).filePath();
        desk::RollbackJournal(journal()).begin({{master, true, QFileInfo(master).size(), 1000},
                                                {send, true, QFileInfo(send).size(), 1000}});
        QFile torn(master);
        return torn.open(QIODevice::Append)
            && torn.write(desk::testing::openingLine() + QByteArray(36, ' ') + "12:00:00\r\n`quest")
            > 0;
    }
    bool journalLeft() const
    {
        return desk::RollbackJournal::holdsRecord(journal())
            || desk::RollbackJournal::holdsRecord(hidden(desk::RecordFileNames::UserJournal));
    }
};

// Every file reads whole; each holds exactly the acknowledged records of its kind, in the same
// order in the master and send files, each under a header of its own copy's run.
void checkFiles(const Files& files, const std::vector<const Writer*>& writers, int tableLines)
{
    const RecordFile master =
        readRecordFile(files.master(), desk::RecordFileKind::Master, tableLines);
    const RecordFile send = readRecordFile(files.send(), desk::RecordFileKind::Send, tableLines);
    const RecordFile notes = readRecordFile(files.notes(), desk::RecordFileKind::Notes, tableLines);
    QVERIFY2(master.fault.isEmpty(), qPrintable(QStringLiteral("master file: ") + master.fault));
    QVERIFY2(send.fault.isEmpty(), qPrintable(QStringLiteral("send file: ") + send.fault));
    QVERIFY2(notes.fault.isEmpty(), qPrintable(QStringLiteral("notes file: ") + notes.fault));
    QVERIFY(!files.journalLeft());

    QCOMPARE(master.blocks(), send.blocks());
    std::set<QByteArray> expected, expectedNotes;
    for (const Writer* w : writers)
        for (int n : w->acknowledged) {
            expected.insert(w->id(n));
            if (n % 3 == 0)
                expectedNotes.insert(w->id(n));
        }
    const QList<QByteArray> blocks = master.blocks();
    const std::set<QByteArray> found(blocks.begin(), blocks.end());
    QCOMPARE(qsizetype(found.size()), blocks.size()); // no block twice
    for (const QByteArray& id : expected)
        QVERIFY2(found.count(id), "an acknowledged record is missing: " + id);
    for (const QByteArray& id : found)
        QVERIFY2(expected.count(id), "a record that was not acknowledged is in the files: " + id);
    const QList<QByteArray> noted = notes.blocks();
    QCOMPARE(std::set<QByteArray>(noted.begin(), noted.end()), expectedNotes);

    for (const RecordFile* file : {&master, &send}) {
        std::set<QByteArray> headed;
        for (const RecordFile::Entry& e : file->entries) {
            if (e.header)
                headed.insert(e.who);
            else
                QVERIFY2(headed.count(e.who.left(e.who.indexOf('-'))),
                         "a block above its run's header: " + e.who);
        }
    }
}

} // namespace

class TestRecordDurability : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void twoCopiesOnAFillingDisk();
    void passingErrorKeepsTheJournal();
    void aFolderWithoutLocksRecords();
};

// Two copies for the same student, recording as fast as they can on a small disk that fills
// and empties underneath them, so that records fail on their first, second or third file.
void TestRecordDurability::twoCopiesOnAFillingDisk()
{
    if (!privateMounts)
        QSKIP("no mount namespace of our own here: cannot make a small disk");
    QTemporaryDir root;
    const QString drive = root.path() + QStringLiteral("/c");
    QVERIFY(QDir().mkpath(drive));
    QVERIFY2(::mount("tmpfs", QFile::encodeName(drive).constData(), "tmpfs", 0, "size=4m") == 0,
             strerror(errno));
    auto unmount =
        qScopeGuard([&] { ::umount2(QFile::encodeName(drive).constData(), MNT_DETACH); });
    Files files{drive + QStringLiteral("/lrnfiles")};
    QVERIFY(QDir().mkpath(files.folder));

    constexpr int records = 300, tableLines = 12;
    Writer first, second;
    first.start(root.path(), "P1", records, tableLines);
    second.start(root.path(), "P2", records, tableLines);
    QVERIFY(first.process.waitForStarted() && second.process.waitForStarted());

    // The disk full, nearly full (a page or three left) and free again, in turn.
    const QByteArray filler = QFile::encodeName(drive + QStringLiteral("/filler"));
    const QByteArray page(4096, 'x');
    for (int round = 0; !(first.done && second.done) && round < 1000; ++round) {
        const int fd = ::open(filler.constData(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
        QVERIFY(fd >= 0);
        while (::write(fd, page.constData(), page.size()) > 0) { }
        const off_t size = ::lseek(fd, 0, SEEK_END);
        if (round % 2)
            QCOMPARE(::ftruncate(fd, std::max<off_t>(0, size - page.size() * (1 + round % 3))), 0);
        ::close(fd);
        waitForProgress({&first, &second}, 6);
        QCOMPARE(::unlink(filler.constData()), 0);
        waitForProgress({&first, &second}, 12);
    }
    for (Writer* w : {&first, &second})
        QVERIFY(w->process.state() == QProcess::NotRunning || w->process.waitForFinished(30000));
    first.read();
    second.read();
    QVERIFY(first.done && second.done);
    QCOMPARE(first.process.exitCode(), 0);
    QCOMPARE(int(first.acknowledged.size() + first.refused.size()), records);
    QCOMPARE(int(second.acknowledged.size() + second.refused.size()), records);
    qInfo("acknowledged %zu and %zu, refused %zu and %zu", first.acknowledged.size(),
          second.acknowledged.size(), first.refused.size(), second.refused.size());
    // The disk let both copies through often, and stopped them often.
    QVERIFY(first.acknowledged.size() > 20 && second.acknowledged.size() > 20);
    QVERIFY(first.refused.size() + second.refused.size() > 20);

    checkFiles(files, {&first, &second}, tableLines);
}

// A network folder that fails every truncation for a while (EIO), just when a journal left by a
// crash is to be applied: the journal stays and nothing is recorded, so the interrupted block is
// never left in one file alone, and the next start applies it.
void TestRecordDurability::passingErrorKeepsTheJournal()
{
    QTemporaryDir root;
    Files files{root.path() + QStringLiteral("/c/lrnfiles")};
    QVERIFY(QDir().mkpath(files.folder));
    Writer first, flaky, next;
    for (Writer* w : {&first, &flaky, &next}) {
        if (w == &flaky)
            w->failing(QStringLiteral("ftruncate"));
        w->start(root.path(), w == &first ? "P1" : w == &flaky ? "P2" : "P3", 2, 1);
        QVERIFY(w->process.waitForFinished(30000));
        w->read();
        QCOMPARE(w == &flaky ? w->refused : w->acknowledged, (std::set<int>{1, 2}));
        QCOMPARE(files.journalLeft(), w == &flaky);
        if (w == &first)
            QVERIFY(files.interruptRecord());
    }
    checkFiles(files, {&first, &flaky, &next}, 1);
}

// A network share that refuses every lock (ENOLCK), now and then: the records go on, without the
// lock and so without a journal, each file still written in one write and synced; but while an
// interrupted record is still to be taken back out, nothing is recorded without the lock.
void TestRecordDurability::aFolderWithoutLocksRecords()
{
    QTemporaryDir root;
    Files files{root.path() + QStringLiteral("/c/lrnfiles")};
    Writer first, waiting, locked, lockless;
    for (Writer* w : {&first, &waiting, &locked, &lockless}) {
        if (w == &waiting || w == &lockless)
            w->failing(QStringLiteral("lock"));
        w->start(root.path(),
                 w == &first         ? "P1"
                     : w == &waiting ? "P2"
                     : w == &locked  ? "P3"
                                     : "P4",
                 4, 2);
        QVERIFY(w->process.waitForFinished(30000));
        w->read();
        QCOMPARE(w == &waiting ? w->refused : w->acknowledged, (std::set<int>{1, 2, 3, 4}));
        if (w == &first)
            QVERIFY(files.interruptRecord());
    }
    checkFiles(files, {&first, &waiting, &locked, &lockless}, 2);
}

int main(int argc, char* argv[])
{
    privateMounts = enterPrivateMountNamespace();
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QCoreApplication app(argc, argv);
    TestRecordDurability test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_record_durability.moc"
