// A power cut at any moment of a student's first run and of a later one. Two real runs of the
// program (record_writer) are traced: every call that changes a file or a folder under drive c
// (support/trace_calls.cpp). From the trace, every state a power cut may leave at every point is
// built, under two models: each file keeps what it had at its last sync and a first part of what
// came after (the last write perhaps torn), each folder the names it had at its last sync and a
// first part of the changes after; and, weaker, any subset of the operations not yet synced
// survives. The next start of the program recovers each state. Then every record acknowledged
// before the cut is whole in every file of its record under a header naming the student, nothing
// is in one file and not the other, and no record is left in a journal. Leaving out any one of
// the program's kinds of sync lets some state break that.

#include "records/record_file_names.h"
#include "records/record_reader.h"
#include "storage/rollback_journal.h"
#include "support/scripted_services.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <set>

using desk::RecordFileNames;

namespace {

struct Op {
    // Removal: the master and notes files the test removed between two runs, on the disk for
    // good; the records acknowledged before are then only in the send file.
    enum Kind { Make, Mkdir, Unlink, Write, Truncate, Sync, SyncDir, Ack, Removal };
    Kind kind = Ack;
    QString path;      // what is made, removed or synced by name
    quint64 inode = 0; // the file written, cut or synced
    qint64 at = 0;     // where a write starts, the length a file is cut to
    QByteArray data;   // what is written; the record acknowledged ("P1-2")
    QString sync;      // which of the program's syncs

    bool changesFolder() const { return kind == Make || kind == Mkdir || kind == Unlink; }
    bool changes() const { return changesFolder() || kind == Write || kind == Truncate; }
    // What a sync makes durable: a file's contents, or a folder's names.
    QString object() const
    {
        if (kind == SyncDir)
            return QStringLiteral("folder ") + path;
        if (changesFolder())
            return QStringLiteral("folder ") + path.section(u'/', 0, -2);
        return QStringLiteral("file ") + QString::number(inode);
    }
};

// The files and folders under drive c: paths to inodes (0 for a folder), inodes to contents.
struct State {
    QMap<QString, quint64> names;
    QHash<quint64, QByteArray> contents;

    // How much of a write survives: all of it, its first half, or its length with the second
    // half never written (zeros).
    enum Tear { Whole, FirstHalf, ZeroTail };
    void apply(const Op& op, Tear tear = Whole)
    {
        switch (op.kind) {
        case Op::Make: names[op.path] = op.inode; break;
        case Op::Mkdir: names[op.path] = 0; break;
        case Op::Unlink: names.remove(op.path); break;
        case Op::Removal:
            for (const QString& path : op.path.split(u'\n'))
                names.remove(path);
            break;
        case Op::Truncate: contents[op.inode].resize(op.at, '\0'); break;
        case Op::Write: {
            QByteArray& bytes = contents[op.inode];
            const qsizetype half = op.data.size() / 2;
            const QByteArray data = tear == Whole ? op.data
                : tear == FirstHalf               ? op.data.left(half)
                                    : op.data.left(half) + QByteArray(op.data.size() - half, '\0');
            if (bytes.size() < op.at + data.size())
                bytes.resize(op.at + data.size(), '\0');
            bytes.replace(op.at, data.size(), data);
            break;
        }
        default: break;
        }
    }

    // What is reachable from drive c, as one text: the key of a state.
    QByteArray key(const QString& driveC) const
    {
        QByteArray text;
        for (auto it = names.begin(); it != names.end(); ++it)
            if (reachable(it.key(), driveC))
                text += it.key().toUtf8() + '\0' + (it.value() ? contents.value(it.value()) : "/")
                    + '\0';
        return text;
    }
    bool reachable(const QString& path, const QString& driveC) const
    {
        const QString parent = path.section(u'/', 0, -2);
        return parent == driveC || (names.value(parent, 1) == 0 && reachable(parent, driveC));
    }
};

// What the next start left in the record files, read back strictly.
struct Recovered {
    QString problem;
    QList<QByteArray> master, send, masterNotes, notes; // the blocks, by their answers
    QList<QByteArray> masterRuns, sendRuns;             // the runs, by their initials
};

QList<QByteArray> blocksOf(const desk::RecordReading& reading, bool notesOnly = false)
{
    QList<QByteArray> blocks;
    for (const desk::RecordRun& run : reading.runs)
        for (const desk::RecordBlock& block : run.blocks)
            if (!notesOnly || block.kind == desk::RecordBlock::Note)
                blocks << block.text.section(QStringLiteral("\r\n"), 0, 0).toLatin1();
    return blocks;
}

class Explorer {
public:
    QString tracedDriveC;
    QString sendName;
    int statesRecovered = 0;

    // The first broken state after `from` operations, described; empty when there is none.
    QString explore(const std::vector<Op>& ops, size_t from)
    {
        for (size_t cut = from; cut <= ops.size(); ++cut) {
            QMap<QString, size_t> lastSync; // by object, the index of its last sync
            QSet<QByteArray> acknowledged, inSendOnly;
            for (size_t i = 0; i < cut; ++i) {
                if (ops[i].kind == Op::Sync || ops[i].kind == Op::SyncDir)
                    lastSync[ops[i].object()] = i;
                if (ops[i].kind == Op::Removal)
                    inSendOnly.unite(std::exchange(acknowledged, {}));
                if (ops[i].kind == Op::Ack)
                    acknowledged << ops[i].data;
            }
            std::vector<size_t> unsynced;
            for (size_t i = 0; i < cut; ++i)
                if (ops[i].changes() && !synced(lastSync, ops[i], i))
                    unsynced.push_back(i);
            if (unsynced.size() > 12)
                return QStringLiteral("more than 12 operations unsynced after %1").arg(cut);
            for (quint32 kept = 0; kept < (1u << unsynced.size()); ++kept) {
                const QString broken =
                    tryKept(ops, cut, lastSync, unsynced, kept, acknowledged, inSendOnly);
                if (!broken.isEmpty())
                    return QStringLiteral("cut after %1 operations, %2").arg(cut).arg(broken);
            }
        }
        return QString();
    }

private:
    static bool synced(const QMap<QString, size_t>& lastSync, const Op& op, size_t index)
    {
        const auto it = lastSync.find(op.object());
        return it != lastSync.end() && *it > index;
    }

    // The states where the unsynced operations in `kept` survive, with each last write of a
    // file among them whole or torn.
    QString tryKept(const std::vector<Op>& ops, size_t cut, const QMap<QString, size_t>& lastSync,
                    const std::vector<size_t>& unsynced, quint32 kept,
                    const QSet<QByteArray>& acknowledged, const QSet<QByteArray>& inSendOnly)
    {
        std::set<size_t> survive;
        for (size_t j = 0; j < unsynced.size(); ++j)
            if (kept & (1u << j))
                survive.insert(unsynced[j]);
        QMap<quint64, size_t> lastWrite;
        for (size_t i : survive)
            if (ops[i].kind == Op::Write)
                lastWrite[ops[i].inode] = i;
        const QList<size_t> tearable = lastWrite.values();
        for (qsizetype variant = 0; variant <= 2 * tearable.size(); ++variant) {
            State state;
            for (size_t i = 0; i < cut; ++i) {
                const bool durable = ops[i].kind == Op::Removal || synced(lastSync, ops[i], i);
                if (!(ops[i].changes() || ops[i].kind == Op::Removal)
                    || !(durable || survive.count(i)))
                    continue;
                const bool torn = variant > 0 && tearable[(variant - 1) / 2] == i;
                state.apply(ops[i],
                            !torn                  ? State::Whole
                                : variant % 2 == 1 ? State::FirstHalf
                                                   : State::ZeroTail);
            }
            const QString broken = verify(recovered(state), acknowledged, inSendOnly);
            if (!broken.isEmpty())
                return QStringLiteral("unsynced operations kept %1, variant %2: %3")
                    .arg(kept)
                    .arg(variant)
                    .arg(broken);
        }
        return QString();
    }

    const Recovered& recovered(const State& state)
    {
        const QByteArray key = state.key(tracedDriveC);
        auto found = cache_.find(key);
        if (found == cache_.end())
            found = cache_.insert(key, startOn(state));
        return *found;
    }

    // Puts the state on a drive of its own and starts the program there, as the student would.
    Recovered startOn(const State& state)
    {
        ++statesRecovered;
        Recovered r;
        QTemporaryDir dir(QDir(QStringLiteral("/dev/shm")).exists()
                              ? QStringLiteral("/dev/shm/desk-power-cut-XXXXXX")
                              : QDir::tempPath() + QStringLiteral("/desk-power-cut-XXXXXX"));
        const QString driveC = dir.path() + QStringLiteral("/c");
        QDir().mkpath(driveC);
        for (auto it = state.names.begin(); it != state.names.end(); ++it) {
            if (!state.reachable(it.key(), tracedDriveC))
                continue;
            const QString path = driveC + it.key().mid(tracedDriveC.size());
            QFile file(path);
            if (it.value() == 0 ? !QDir().mkdir(path)
                                : !file.open(QIODevice::WriteOnly)
                        || file.write(state.contents.value(it.value()))
                            != state.contents.value(it.value()).size()) {
                r.problem = QStringLiteral("could not make %1").arg(path);
                return r;
            }
        }
        desk::testing::WindowFixture f({.root = dir.path()});
        f.clock.dates = {QDate::currentDate().toString(QStringLiteral("MM-dd-yyyy"))};
        f.start(QStringLiteral("1"), QStringLiteral("Ann Lee"), QStringLiteral("R"),
                QStringLiteral("1"));
        if (f.window->hasEnded() || !f.dialogs.messages.isEmpty())
            r.problem = QStringLiteral("the next start said: ") + f.dialogs.messages.join(u'|');

        const QString folder = driveC + QStringLiteral("/lrnfiles/");
        const RecordFileNames names(QString(), QStringLiteral("Ann Lee"));
        auto read = [&](const QString& name, desk::RecordFileKind kind) {
            QFile file(folder + name);
            const desk::RecordReading reading =
                desk::readRecordFile(file.open(QIODevice::ReadOnly) ? file.readAll() : "", kind);
            if (reading.problem)
                r.problem += QStringLiteral(" %1 line %2: %3")
                                 .arg(name)
                                 .arg(reading.problem->line)
                                 .arg(reading.problem->what);
            return reading;
        };
        const auto master = read(names.name(RecordFileNames::Master), desk::RecordFileKind::Master);
        const auto send = read(sendName, desk::RecordFileKind::Send);
        r.master = blocksOf(master);
        r.masterNotes = blocksOf(master, true);
        r.send = blocksOf(send);
        r.notes = blocksOf(read(names.name(RecordFileNames::Notes), desk::RecordFileKind::Notes));
        for (const auto* file : {&master, &send})
            for (const desk::RecordRun& run : file->runs) {
                (file == &master ? r.masterRuns : r.sendRuns) << run.initials.toLatin1();
                if (run.studentName != QLatin1String("Ann Lee"))
                    r.problem += QStringLiteral(" a header naming ") + run.studentName;
            }
        for (RecordFileNames::File left : {RecordFileNames::Journal, RecordFileNames::UserJournal})
            if (desk::RollbackJournal::holdsRecord(folder + names.name(left)))
                r.problem += QStringLiteral(" a record left in ") + names.name(left);
        if (QFileInfo::exists(folder + names.name(RecordFileNames::NameCheck)))
            r.problem += QStringLiteral(" the name check's file left");
        return r;
    }

    // The runs and blocks of before the removal, which only the send file keeps, are left out
    // where the files are compared.
    static QString verify(Recovered r, const QSet<QByteArray>& acknowledged,
                          const QSet<QByteArray>& inSendOnly)
    {
        if (!r.problem.isEmpty())
            return r.problem;
        for (const QByteArray& id : inSendOnly)
            if (!r.send.contains(id))
                return QStringLiteral("the acknowledged record %1 is gone from the send file, "
                                      "which holds %2")
                    .arg(QString::fromLatin1(id), r.send.join(' '));
        QSet<QByteArray> oldRuns;
        for (const QByteArray& id : inSendOnly)
            oldRuns << id.split('-').front();
        for (QList<QByteArray>* list : {&r.send, &r.sendRuns})
            list->removeIf(
                [&](const QByteArray& id) { return oldRuns.contains(id.split('-').front()); });
        if (r.master != r.send || r.masterRuns != r.sendRuns || r.masterNotes != r.notes)
            return QStringLiteral("the files hold different records: master %1 %2, send %3 %4, "
                                  "notes %5")
                .arg(r.masterRuns.join(' '), r.master.join(' '), r.sendRuns.join(' '),
                     r.send.join(' '), r.notes.join(' '));
        for (const QByteArray& id : acknowledged)
            if (!r.master.contains(id) || (id.endsWith("-3") && !r.notes.contains(id)))
                return QStringLiteral("the acknowledged record %1 is gone: master holds %2")
                    .arg(QString::fromLatin1(id), r.master.join(' '));
        return QString();
    }

    QHash<QByteArray, Recovered> cache_;
};

// The trace's operations, each sync named by what it is for.
std::vector<Op> parseTrace(const QByteArray& trace, const QString& driveC, QString& sendName)
{
    std::vector<Op> ops;
    // Inodes as the trace gives them may be used again for a file made after another was
    // removed: each file made gets a number of its own.
    QHash<quint64, quint64> fileOf;
    QHash<quint64, QString> pathOf;
    QByteArray run = "P1";
    for (qsizetype at = 0; at < trace.size();) {
        const qsizetype end = trace.indexOf('\n', at);
        const QByteArray line = trace.mid(at, end - at);
        at = end + 1;
        const QList<QByteArray> w = line.split(' ');
        const QString rest = QString::fromUtf8(line.mid(line.indexOf(' ') + 1));
        Op op;
        if (w[0] == "write" || w[0] == "say") {
            const qsizetype size = w.back().toLongLong();
            op.data = trace.mid(at, size);
            at += size;
        }
        if (w[0] == "run") {
            run = w[1];
            continue;
        } else if (w[0] == "removed") {
            if (ops.empty() || ops.back().kind != Op::Removal)
                ops.emplace_back().kind = Op::Removal;
            ops.back().path +=
                (ops.back().path.isEmpty() ? QString() : QStringLiteral("\n")) + rest;
            continue;
        } else if (w[0] == "say") {
            if (!op.data.startsWith("ack "))
                continue;
            op.data = run + '-' + op.data.mid(4).trimmed();
        } else if (w[0] == "make") {
            op.kind = Op::Make;
            op.path = rest.section(u' ', 1);
            op.inode = quint64(fileOf.size() + 1);
            fileOf[w[1].toULongLong()] = op.inode;
            pathOf[op.inode] = op.path;
            if (op.path.section(u'/', -1).startsWith(QLatin1String("send_")))
                sendName = op.path.section(u'/', -1);
        } else if (w[0] == "mkdir" || w[0] == "unlink" || w[0] == "syncdir") {
            op.kind = w[0] == "mkdir" ? Op::Mkdir : w[0] == "unlink" ? Op::Unlink : Op::SyncDir;
            op.path = rest;
        } else if (w[0] == "write" || w[0] == "truncate" || w[0] == "sync") {
            op.kind = w[0] == "write" ? Op::Write : w[0] == "sync" ? Op::Sync : Op::Truncate;
            op.inode = fileOf.value(w[1].toULongLong());
            op.at = w.value(2).toLongLong();
        } else {
            return {}; // a call the model does not know
        }
        const bool journal = pathOf.value(op.inode).section(u'/', -1).startsWith(".desk-journal");
        const Op before = ops.empty() ? Op() : ops.back();
        if (op.kind == Op::Sync)
            op.sync = !journal                ? QStringLiteral("a record file's lines")
                : before.kind == Op::Truncate ? QStringLiteral("the journal emptied")
                                              : QStringLiteral("the journal written");
        if (op.kind == Op::SyncDir)
            op.sync = op.path == driveC ? QStringLiteral("the folder made at start-up")
                : before.sync == QLatin1String("the journal written")
                ? QStringLiteral("a journal made")
                : QStringLiteral("record files made");
        ops.push_back(op);
    }
    return ops;
}

} // namespace

class TestPowerCut : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void everyAcknowledgedRecordSurvives();
    void eachSyncIsNeeded_data();
    void eachSyncIsNeeded();

private:
    QTemporaryDir traced_{QStringLiteral("/dev/shm/desk-traced-XXXXXX")};
    std::vector<Op> ops_;
    Explorer explorer_;
};

// A first run (it makes the folder), a later one, and one after the student removed the master
// and notes files but kept the day's send file (start-up makes the master file again), each
// recording two responses and a note.
void TestPowerCut::initTestCase()
{
    QVERIFY(traced_.isValid());
    const QString driveC = traced_.path() + QStringLiteral("/c");
    QVERIFY(QDir().mkpath(driveC) && QDir().mkpath(traced_.path() + QStringLiteral("/mnt")));
    const QString trace = traced_.path() + QStringLiteral("/trace");
    for (const char* initials : {"P1", "P2", "P3"}) {
        QFile marker(trace);
        QVERIFY(marker.open(QIODevice::Append)
                && marker.write(QByteArray("run ") + initials + '\n') > 0);
        if (qstrcmp(initials, "P3") == 0) {
            QDir folder(driveC + QStringLiteral("/lrnfiles"));
            for (const QString& name :
                 folder.entryList({QStringLiteral("masterFile_*"), QStringLiteral("notes_*")})) {
                QVERIFY(folder.remove(name));
                marker.write("removed " + QFile::encodeName(folder.filePath(name)) + '\n');
            }
        }
        marker.close();
        QProcess writer;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("LD_PRELOAD"), QStringLiteral(TRACE_CALLS));
        environment.insert(QStringLiteral("DESK_TRACE_ROOT"), driveC);
        environment.insert(QStringLiteral("DESK_TRACE_FILE"), trace);
        writer.setProcessEnvironment(environment);
        writer.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        writer.start(QStringLiteral(RECORD_WRITER),
                     {traced_.path(), QString::fromLatin1(initials), QStringLiteral("3"),
                      QStringLiteral("1")});
        QVERIFY(writer.waitForFinished(60000));
        QCOMPARE(writer.readAllStandardOutput(), QByteArray("ack 1\nack 2\nack 3\ndone\n"));
    }
    QFile file(trace);
    QVERIFY(file.open(QIODevice::ReadOnly));
    explorer_.tracedDriveC = driveC;
    ops_ = parseTrace(file.readAll(), driveC, explorer_.sendName);
    QVERIFY2(!ops_.empty(), "the trace holds a call the model does not know");
    QCOMPARE(
        std::count_if(ops_.begin(), ops_.end(), [](const Op& op) { return op.kind == Op::Ack; }),
        9);
}

void TestPowerCut::everyAcknowledgedRecordSurvives()
{
    const QString broken = explorer_.explore(ops_, 0);
    QVERIFY2(broken.isEmpty(), qPrintable(broken));
    qInfo("%zu operations traced, %d distinct states recovered", ops_.size(),
          explorer_.statesRecovered);
}

void TestPowerCut::eachSyncIsNeeded_data()
{
    QTest::addColumn<QString>("sync");
    for (const char* sync : {"the folder made at start-up", "a journal made", "the journal written",
                             "a record file's lines", "record files made", "the journal emptied"})
        QTest::newRow(sync) << QString::fromLatin1(sync);
}

void TestPowerCut::eachSyncIsNeeded()
{
    QFETCH(QString, sync);
    std::vector<Op> without;
    size_t first = 0;
    for (const Op& op : ops_) {
        if (op.sync == sync && !first)
            first = without.size();
        if (op.sync != sync)
            without.push_back(op);
    }
    QVERIFY2(first > 0, "the trace holds no such sync");
    const QString broken = explorer_.explore(without, first);
    qInfo("%s", qPrintable(broken.left(300)));
    QVERIFY2(!broken.isEmpty(), "every state holds without it");
}

QTEST_MAIN(TestPowerCut)
#include "test_power_cut.moc"
