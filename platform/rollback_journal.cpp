#include "platform/rollback_journal.h"

#include "platform/os_files.h"
#include "platform/run_time_error.h"

#include <QByteArray>
#include <QFile>
#include <QList>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace desk {

namespace {

// One line a file, the path percent-encoded so that no name can break the format; the last line
// shows that the journal was written whole. A journal without it was cut off before any record
// file was touched, and means nothing.
const QByteArray firstLine = "Assignment Desk rollback journal 1";
const QByteArray lastLine = "end";

QByteArray format(const std::vector<JournalEntry>& entries)
{
    QByteArray text = firstLine + '\n';
    for (const JournalEntry& e : entries)
        text += QByteArray::number(e.existed ? 1 : 0) + ' ' + QByteArray::number(e.length) + ' '
            + QByteArray::number(e.added) + ' ' + QFile::encodeName(e.hostPath).toPercentEncoding("/") + '\n';
    return text + lastLine + '\n';
}

// The entries of a journal written whole; nothing for a torn one.
std::vector<JournalEntry> parse(const QByteArray& text)
{
    QList<QByteArray> lines = text.split('\n');
    if (lines.size() < 3 || lines.front() != firstLine || !lines.back().isEmpty() || lines[lines.size() - 2] != lastLine)
        return {};
    std::vector<JournalEntry> entries;
    for (qsizetype i = 1; i + 2 < lines.size(); ++i) {
        const QList<QByteArray> fields = lines[i].split(' ');
        bool lengthOk = false, addedOk = false;
        JournalEntry e;
        if (fields.size() != 4)
            return {};
        e.existed = fields[0] == "1";
        e.length = fields[1].toLongLong(&lengthOk);
        e.added = fields[2].toLongLong(&addedOk);
        e.hostPath = QFile::decodeName(QByteArray::fromPercentEncoding(fields[3]));
        if (!lengthOk || !addedOk || e.length < 0 || e.added < 0)
            return {};
        entries.push_back(e);
    }
    return entries;
}

// 0, or the errno value that kept the file from being taken back.
int rollBackFile(const JournalEntry& e)
{
    const QByteArray name = QFile::encodeName(e.hostPath);
    struct stat info {};
    // Gone, or no longer a regular file: nothing of the record is left there to take back.
    if (::lstat(name.constData(), &info) != 0)
        return errno == ENOENT || errno == ENOTDIR ? 0 : errno;
    if (!S_ISREG(info.st_mode))
        return 0;
    const long long size = info.st_size;
    if (size <= e.length && e.existed)
        return 0;
    // More than the record's bytes: someone who does not take the lock wrote there too.
    if (size > e.length + e.added)
        return EBUSY;
    if (!e.existed)
        return ::unlink(name.constData()) == 0 ? os::syncFolderOf(e.hostPath) : errno;

    const int fd = ::open(name.constData(), O_WRONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0)
        return errno;
    int result = os::truncateFile(fd, e.length);
    if (result == 0)
        result = os::syncFile(fd);
    os::closeFile(fd);
    return result;
}

} // namespace

void RollbackJournal::begin(const std::vector<JournalEntry>& entries, bool sync)
{
    const os::OpenedFile file = os::openRegularFile(hostPath_, O_WRONLY | O_CREAT | O_TRUNC);
    const QByteArray text = format(entries);
    int result = os::writeAll(file.fd, text.constData(), text.size());
    if (result == 0 && sync)
        result = os::syncFile(file.fd);
    os::closeFile(file.fd);
    if (result == 0 && sync)
        result = os::syncFolderOf(hostPath_);
    if (result != 0) {
        ::unlink(QFile::encodeName(hostPath_).constData());
        throw RunTimeError(os::errorForIo(result), hostPath_);
    }
}

int RollbackJournal::end(bool sync)
{
    if (::unlink(QFile::encodeName(hostPath_).constData()) != 0 && errno != ENOENT)
        return errno;
    return sync ? os::syncFolderOf(hostPath_) : 0;
}

void RollbackJournal::recover()
{
    QFile file(hostPath_);
    if (!file.exists())
        return;
    QByteArray text;
    {
        os::OpenedFile journal = os::openRegularFile(hostPath_, O_RDONLY);
        QFile reader;
        if (reader.open(journal.fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
            text = reader.readAll();
        else
            os::closeFile(journal.fd);
    }
    const QStringList failed = rollBack(parse(text));
    if (!failed.isEmpty())
        throw RunTimeError(err::PathFileAccess, failed.join(u' '));
    if (const int result = end())
        throw RunTimeError(os::errorForIo(result), hostPath_);
}

QStringList RollbackJournal::rollBack(const std::vector<JournalEntry>& entries)
{
    QStringList failed;
    for (const JournalEntry& e : entries)
        if (rollBackFile(e) != 0)
            failed << e.hostPath;
    return failed;
}

} // namespace desk
