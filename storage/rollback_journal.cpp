#include "storage/rollback_journal.h"

#include "runtime/run_time_error.h"
#include "storage/file_owner.h"
#include "system/os_files.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QScopeGuard>

#include <cerrno>
#include <optional>

namespace desk {

namespace {

// Not an errno value: the file grew by more than the record's bytes since.
constexpr int writtenToByAnother = -1;

// One line a file, its name percent-encoded so that no name can break the format; the last line
// shows that the journal was written whole. A journal without it was cut off before any record
// file was touched, and means nothing.
const QByteArray firstLine = "Assignment Desk rollback journal 2";
const QByteArray lastLine = "end";
// Far more than a record's few files take: anything larger is not a journal of the program's.
constexpr qint64 largestJournal = 64 * 1024;

QByteArray format(const std::vector<JournalEntry>& entries)
{
    QByteArray text = firstLine + '\n';
    for (const JournalEntry& e : entries)
        text += QByteArray::number(e.existed ? 1 : 0) + ' ' + QByteArray::number(e.length) + ' '
            + QByteArray::number(e.added) + ' '
            + QFile::encodeName(QFileInfo(e.hostPath).fileName()).toPercentEncoding() + '\n';
    return text + lastLine + '\n';
}

// The entries of a journal written whole, in `folder`; nothing for a torn or foreign one.
std::vector<JournalEntry> parse(const QByteArray& text, const QString& folder)
{
    QList<QByteArray> lines = text.split('\n');
    if (lines.size() < 3 || lines.front() != firstLine || !lines.back().isEmpty()
        || lines[lines.size() - 2] != lastLine)
        return {};
    std::vector<JournalEntry> entries;
    for (qsizetype i = 1; i + 2 < lines.size(); ++i) {
        const QList<QByteArray> fields = lines[i].split(' ');
        if (fields.size() != 4 || (fields[0] != "0" && fields[0] != "1"))
            return {};
        bool lengthOk = false, addedOk = false;
        JournalEntry e;
        e.existed = fields[0] == "1";
        e.length = fields[1].toLongLong(&lengthOk);
        e.added = fields[2].toLongLong(&addedOk);
        const QString name = QFile::decodeName(QByteArray::fromPercentEncoding(fields[3]));
        if (!lengthOk || !addedOk || e.length < 0 || e.added < 0 || name.isEmpty()
            || name.contains(u'/') || name == QLatin1String(".") || name == QLatin1String(".."))
            return {};
        e.hostPath = folder + u'/' + name;
        entries.push_back(e);
    }
    return entries;
}

// 0, or the errno value that kept the file from being taken back. Through the record's own open
// file while it is under way; otherwise by name.
int rollBackFile(const JournalEntry& e)
{
    const bool own = e.fd >= 0;
    const os::Status status = own ? os::statusOf(e.fd) : os::statusAt(e.hostPath);
    // Gone, or no longer a regular file: nothing of the record is left there to take back.
    if (status.error != 0)
        return status.error == ENOENT || status.error == ENOTDIR ? 0 : status.error;
    if (status.kind != os::Kind::File || status.size <= e.length)
        return 0;
    // More than the record's bytes: someone who does not take the lock wrote there too.
    if (status.size > e.length + e.added)
        return writtenToByAnother;
    // A file the record made goes, unless it moved away meanwhile: then it is emptied through
    // the record's own open file, below.
    if (!e.existed && (!own || os::isFileAt(e.fd, e.hostPath))) {
        const int removed = os::removeFile(e.hostPath);
        return removed == 0 ? os::syncFolderOf(e.hostPath) : removed == ENOENT ? 0 : removed;
    }
    const os::OpenedFile file = own ? os::OpenedFile{e.fd} : os::openForWriting(e.hostPath);
    if (file.error != 0)
        return file.error == ENOENT ? 0 : file.error;
    int result = os::truncateFile(file.fd, e.length);
    if (result == 0)
        result = os::syncFile(file.fd);
    if (!own)
        os::closeFile(file.fd);
    return result;
}

// The journal as it stands, at most `largestJournal` bytes of it; nothing when there is none or
// it is empty. One that cannot be read now stays for the next try; one that is not this user's is
// never read.
std::optional<QByteArray> readJournal(const QString& hostPath)
{
    const os::Status status = os::statusAt(hostPath);
    if (status.error == ENOENT || status.error == ENOTDIR
        || (status.error == 0 && status.kind == os::Kind::File && status.size == 0))
        return std::nullopt;
    if (status.error != 0)
        throw RecordRefusal(RecordRefusal::Reason::JournalUnreadable,
                            {QFileInfo(hostPath).absolutePath()}, os::errorForIo(status.error));
    if (status.kind != os::Kind::File)
        throw RecordRefusal(RecordRefusal::Reason::NotAFile, {hostPath});
    const os::OpenedFile file = os::openRegularFile(hostPath, os::Access::Read);
    if (file.error != 0)
        throw RunTimeError(os::errorForOpen(file.error, true, hostPath), hostPath);
    const auto closing = qScopeGuard([&] { os::closeFile(file.fd); });
    if (!ownedByThisUser(os::statusOf(file.fd), QFileInfo(hostPath).absolutePath()))
        throw RecordRefusal(RecordRefusal::Reason::OtherUsersFile, {hostPath});
    QByteArray text;
    const int result = os::readToEnd(file.fd, text, largestJournal + 1);
    if (result != 0)
        throw RecordRefusal(RecordRefusal::Reason::JournalUnreadable,
                            {QFileInfo(hostPath).absolutePath()}, os::errorForIo(result));
    return text;
}

} // namespace

void RollbackJournal::begin(const std::vector<JournalEntry>& entries, bool sync)
{
    release();
    const os::OpenedFile file = os::openRegularFile(hostPath_, os::Access::Private);
    if (file.error != 0)
        throw RunTimeError(os::errorForOpen(file.error, false, hostPath_), hostPath_);
    // Empty but for a journal cut off while it was written, which means nothing: emptied for
    // good first, so that the new journal is never read mixed with what was there.
    const os::Status status = os::statusOf(file.fd);
    int result = status.error;
    if (result == 0 && status.size != 0) {
        result = os::truncateFile(file.fd, 0);
        if (result == 0 && sync)
            result = os::syncFile(file.fd);
    }
    const QByteArray text = format(entries);
    if (result == 0)
        result = os::writeAll(file.fd, text.constData(), text.size());
    if (result == 0 && sync)
        result = os::syncFile(file.fd);
    // Made now: its name must reach the disk before any record byte does.
    if (result == 0 && sync && file.created)
        result = os::syncFolderOf(hostPath_);
    if (result != 0) {
        // What was written may be torn; a journal that is whole names lengths no record passed.
        os::truncateFile(file.fd, 0);
        os::closeFile(file.fd);
        throw RunTimeError(os::errorForIo(result), hostPath_);
    }
    fd_ = file.fd;
    written_ = text;
}

bool RollbackJournal::isInPlace() const
{
    if (fd_ < 0 || !os::isFileAt(fd_, hostPath_))
        return false;
    // Another copy that applied it meanwhile emptied it, or wrote its own into the same file.
    QByteArray now;
    return os::readAt(fd_, 0, now, written_.size() + 1) == 0 && now == written_;
}

int RollbackJournal::end(bool sync)
{
    const bool own = fd_ >= 0;
    const os::OpenedFile file = own ? os::OpenedFile{fd_} : os::openForWriting(hostPath_);
    fd_ = -1;
    if (file.error != 0)
        return file.error;
    int result = os::truncateFile(file.fd, 0);
    if (result == 0 && sync)
        result = os::syncFile(file.fd);
    os::closeFile(file.fd);
    return result;
}

void RollbackJournal::release() noexcept
{
    os::closeFile(fd_);
    fd_ = -1;
}

void RollbackJournal::recover(const std::function<bool(const QString& fileName)>& belongs)
{
    const std::optional<QByteArray> text = readJournal(hostPath_);
    if (!text)
        return;
    std::vector<JournalEntry> entries;
    if (text->size() <= largestJournal)
        for (const JournalEntry& e : parse(*text, QFileInfo(hostPath_).absolutePath()))
            if (belongs(QFileInfo(e.hostPath).fileName()))
                entries.push_back(e);
    const RollBack back = rollBack(entries);
    if (back.passingError != 0)
        throw RecordRefusal(RecordRefusal::Reason::EarlierRecordUnfinished, back.notTakenBack,
                            os::errorForIo(back.passingError));
    if (const int result = end(); result != 0 && result != ENOENT)
        throw RunTimeError(os::errorForIo(result), hostPath_);
    if (!back.notTakenBack.isEmpty())
        throw PartlyWrittenError(err::PathFileAccess, back.notTakenBack);
}

QStringList
RollbackJournal::filesToTakeBack(const std::function<bool(const QString& fileName)>& belongs) const
{
    QStringList files;
    const std::optional<QByteArray> text = readJournal(hostPath_);
    if (text && text->size() <= largestJournal)
        for (const JournalEntry& e : parse(*text, QFileInfo(hostPath_).absolutePath()))
            if (belongs(QFileInfo(e.hostPath).fileName()))
                files << e.hostPath;
    return files;
}

bool RollbackJournal::holdsRecord(const QString& hostPath)
{
    const os::Status status = os::statusAt(hostPath);
    return status.error == 0 && status.size > 0;
}

RollBack RollbackJournal::rollBack(const std::vector<JournalEntry>& entries)
{
    RollBack back;
    for (const JournalEntry& e : entries) {
        const int result = rollBackFile(e);
        if (result == 0)
            continue;
        back.notTakenBack << e.hostPath;
        const bool forGood = result == EPERM || result == EACCES || result == writtenToByAnother;
        if (!forGood && back.passingError == 0)
            back.passingError = result;
    }
    return back;
}

} // namespace desk
