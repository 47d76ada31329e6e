// The calls for files on Windows, with real processes: two copies contending for the record lock,
// a copy ended by TerminateProcess in the middle of a record, and a file of another owner. The
// copies are this program started again with a role of its own.

#include "runtime/run_time_error.h"
#include "storage/file_owner.h"
#include "storage/record_transaction.h"
#include "storage/rollback_journal.h"
#include "support/expected_texts.h"
#include "system/os_files.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <windows.h>

#include <aclapi.h>
#include <cerrno>
#include <cstdio>
#include <sddl.h>

using namespace desk;
using desk::testing::fileState;
using desk::testing::putFile;

namespace {

RecordSetPaths pathsIn(const QString& folder)
{
    return {folder + QStringLiteral("/.lock"), folder + QStringLiteral("/.journal"),
            folder + QStringLiteral("/.lock.me"), folder + QStringLiteral("/.journal.me"),
            [](const QString& name) { return name == QLatin1String("master.txt"); }};
}

// The roles of a second copy; each says "ready" when it is where the test wants it, then waits
// for its input to close (or to be ended).
int runRole(const QString& role, const QString& folder)
{
    if (role == QLatin1String("hold-lock")) {
        const os::OpenedFile lock = os::openLockFile(pathsIn(folder).lock);
        if (lock.error != 0 || os::lockWholeFile(lock.fd) != 0)
            return 3;
    } else if (role == QLatin1String("interrupted-record")) {
        // The journal written and synced, then part of the block: where a crash may come.
        const QString master = folder + QStringLiteral("/master.txt");
        const os::OpenedFile lock = os::openLockFile(pathsIn(folder).lock);
        if (lock.error != 0 || os::lockWholeFile(lock.fd) != 0)
            return 3;
        RollbackJournal journal(pathsIn(folder).journal);
        journal.begin({{master, true, QFileInfo(master).size(), 100}});
        const os::OpenedFile file = os::openRegularFile(master, os::Access::Append);
        if (file.error != 0 || os::writeAll(file.fd, "half a blo", 10) != 0)
            return 3;
        os::syncFile(file.fd);
    } else {
        return 2;
    }
    std::fputs("ready\n", stdout);
    std::fflush(stdout);
    char line[8];
    std::fgets(line, sizeof line, stdin);
    return 0;
}

// Starts a second copy in `role` and waits until it is ready.
bool startCopy(QProcess& copy, const char* role, const QString& folder)
{
    copy.start(QCoreApplication::applicationFilePath(),
               {QStringLiteral("--role"), QString::fromLatin1(role), folder});
    return copy.waitForStarted(30000) && copy.waitForReadyRead(30000)
        && copy.readLine().trimmed() == "ready";
}

} // namespace

class TestOsFilesWindows : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void twoCopiesContendForTheLock();
    void recordEndedByTerminateProcessIsTakenBack();
    void fileOfAnotherOwnerIsNotThisUsers();
};

void TestOsFilesWindows::twoCopiesContendForTheLock()
{
    QTemporaryDir dir;
    QProcess other;
    QVERIFY(startCopy(other, "hold-lock", dir.path()));
    const os::OpenedFile lock = os::openLockFile(pathsIn(dir.path()).lock);
    QCOMPARE(lock.error, 0);
    QCOMPARE(os::lockWholeFile(lock.fd), EAGAIN);
    // A record waits a moment for it, then is refused as the student is told.
    try {
        FileChannels files;
        RecordTransaction record(files, pathsIn(dir.path()), std::chrono::milliseconds(100));
        QFAIL("recorded while another copy held the lock");
    } catch (const RecordRefusal& refusal) {
        QCOMPARE(refusal.reason(), RecordRefusal::Reason::AnotherCopyRecording);
    }
    other.closeWriteChannel();
    QVERIFY(other.waitForFinished(30000));
    QCOMPARE(other.exitCode(), 0);
    QCOMPARE(os::lockWholeFile(lock.fd), 0);
    os::closeFile(lock.fd);
}

void TestOsFilesWindows::recordEndedByTerminateProcessIsTakenBack()
{
    QTemporaryDir dir;
    const QString master = dir.filePath(QStringLiteral("master.txt"));
    QVERIFY(putFile(master, "old\r\n"));
    QProcess crashed;
    QVERIFY(startCopy(crashed, "interrupted-record", dir.path()));
    QCOMPARE(fileState(master), QByteArray("old\r\nhalf a blo"));
    crashed.kill(); // TerminateProcess
    QVERIFY(crashed.waitForFinished(30000));

    // The next record takes it back out first; the lock the ended copy held is free.
    FileChannels files;
    RecordTransaction record(files, pathsIn(dir.path()));
    QCOMPARE(fileState(master), QByteArray("old\r\n"));
    QVERIFY(!RollbackJournal::holdsRecord(pathsIn(dir.path()).journal));
}

void TestOsFilesWindows::fileOfAnotherOwnerIsNotThisUsers()
{
    QTemporaryDir dir;
    const QString mine = dir.filePath(QStringLiteral("mine.txt"));
    const QString theirs = dir.filePath(QStringLiteral("theirs.txt"));
    QVERIFY(putFile(mine, "a") && putFile(theirs, "b"));
    QVERIFY(!isOtherUsersFile(mine));
    // Given to the Guests group, as a file of someone else's in a shared folder.
    PSID guests = nullptr;
    QVERIFY(ConvertStringSidToSidW(L"S-1-5-32-546", &guests));
    const std::wstring path = QDir::toNativeSeparators(theirs).toStdWString();
    const DWORD given =
        SetNamedSecurityInfoW(const_cast<wchar_t*>(path.c_str()), SE_FILE_OBJECT,
                              OWNER_SECURITY_INFORMATION, guests, nullptr, nullptr, nullptr);
    LocalFree(guests);
    if (given != ERROR_SUCCESS || os::statusAt(theirs).owner == os::statusAt(mine).owner)
        QSKIP("no file of another owner can be made here: Wine shows every file as owned by "
              "the user who runs it");
    QVERIFY(isOtherUsersFile(theirs));
}

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    if (argc == 4 && QByteArray(argv[1]) == "--role")
        return runRole(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    TestOsFilesWindows test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_os_files_windows.moc"
