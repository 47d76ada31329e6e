#include "storage/file_channels.h"

#include "runtime/run_time_error.h"
#include "runtime/windows1252.h"
#include "storage/file_owner.h"
#include "storage/rollback_journal.h"
#include "system/os_files.h"
#include "system/termination_deferral.h"

#include <QFileInfo>

namespace desk {

void FileChannels::checkNumber(int channel)
{
    if (channel < 1 || channel > Count)
        throw RunTimeError(err::BadFileName, QStringLiteral("channel %1").arg(channel));
}

FileChannels::Channel& FileChannels::openChannel(int channel)
{
    checkNumber(channel);
    Channel& c = channels_[channel - 1];
    if (c.fd < 0)
        throw RunTimeError(err::BadFileName, QStringLiteral("channel %1 is not open").arg(channel));
    return c;
}

const FileChannels::Channel& FileChannels::openChannel(int channel) const
{
    return const_cast<FileChannels*>(this)->openChannel(channel);
}

bool FileChannels::isOpen(int channel) const
{
    checkNumber(channel);
    return channels_[channel - 1].fd >= 0;
}

bool FileChannels::holdsNothing(int channel) const
{
    const Channel& c = openChannel(channel);
    const os::Status status = os::statusOf(c.fd);
    return c.pending.isEmpty() && status.error == 0 && status.size == 0;
}

bool FileChannels::isOtherUsersFile(int channel) const
{
    const Channel& c = openChannel(channel);
    return !ownedByThisUser(os::statusOf(c.fd), QFileInfo(c.hostPath).absolutePath());
}

namespace {

os::Access accessFor(FileMode mode)
{
    switch (mode) {
    case FileMode::Input: return os::Access::Read;
    case FileMode::Output: return os::Access::Replace;
    case FileMode::Append: return os::Access::Append;
    }
    return os::Access::Read;
}

// The whole of a file opened for reading. A failed read closes it and throws.
QByteArray readWhole(int fd, const QString& hostPath)
{
    QByteArray bytes;
    if (const int result = os::readToEnd(fd, bytes)) {
        os::closeFile(fd);
        throw RunTimeError(os::errorForIo(result), hostPath);
    }
    return bytes;
}

} // namespace

void FileChannels::open(int channel, const QString& hostPath, FileMode mode)
{
    checkNumber(channel);
    Channel& c = channels_[channel - 1];
    if (c.fd >= 0)
        throw RunTimeError(err::FileAlreadyOpen, hostPath);

    const os::OpenedFile file = os::openRegularFile(hostPath, accessFor(mode));
    if (file.error != 0)
        throw RunTimeError(os::errorForOpen(file.error, mode == FileMode::Input, hostPath),
                           hostPath);
    Channel opened;
    opened.fd = file.fd;
    opened.mode = mode;
    opened.hostPath = hostPath;
    opened.created = file.created;
    if (mode == FileMode::Input)
        opened.input = readWhole(file.fd, hostPath);
    c = std::move(opened);
}

void FileChannels::writeLine(int channel, QStringView text)
{
    Channel& c = openChannel(channel);
    if (c.mode == FileMode::Input)
        throw RunTimeError(err::BadFileName,
                           QStringLiteral("channel %1 is open for reading").arg(channel));
    c.pending += windows1252::encode(text);
    c.pending += "\r\n";
}

QString FileChannels::readLine(int channel)
{
    Channel& c = openChannel(channel);
    if (c.mode != FileMode::Input)
        throw RunTimeError(err::BadFileName,
                           QStringLiteral("channel %1 is not open for reading").arg(channel));
    if (c.readPos >= c.input.size())
        throw RunTimeError(err::InputPastEnd, c.hostPath);
    // A line ends at CR or CR LF; a lone LF is a character of the line.
    qsizetype end = c.input.indexOf('\r', c.readPos);
    if (end < 0)
        end = c.input.size();
    const QString line = windows1252::decode(c.input.mid(c.readPos, end - c.readPos));
    if (end < c.input.size())
        ++end;
    if (end < c.input.size() && c.input[end] == '\n' && c.input[end - 1] == '\r')
        ++end;
    c.readPos = end;
    return line;
}

bool FileChannels::atEnd(int channel) const
{
    const Channel& c = openChannel(channel);
    return c.mode != FileMode::Input || c.readPos >= c.input.size();
}

int FileChannels::writeAndSync(Channel& c) const
{
    if (const int result = os::writeAll(c.fd, c.pending.constData(), c.pending.size()))
        return result;
    if (!syncToDisk_)
        return 0;
    return os::syncFile(c.fd);
}

int FileChannels::syncNewNames(const std::vector<JournalEntry>& entries) const
{
    // The name of a file that the record made must reach the disk too, or the file could vanish
    // in a power cut; so must that of a file that held nothing before it, which may have been made
    // just before (start-up makes the master file empty). One sync of a folder does for every
    // such file in it.
    QStringList folders;
    for (const JournalEntry& e : entries) {
        const QString folder = QFileInfo(e.hostPath).absolutePath();
        if (!syncToDisk_ || (e.existed && e.length > 0) || folders.contains(folder))
            continue;
        folders << folder;
        if (const int result = os::syncFolderOf(e.hostPath))
            return result;
    }
    return 0;
}

void FileChannels::commit(std::vector<Channel*>& toWrite, RecordJournal* journal)
{
    if (toWrite.empty())
        return;
    std::vector<JournalEntry> entries;
    for (const Channel* c : toWrite) {
        const os::Status status = os::statusOf(c->fd);
        if (status.error != 0)
            throw RunTimeError(os::errorForIo(status.error), c->hostPath);
        const long long length = status.size;
        // A file this record created but that holds something already was another's: it stays.
        entries.push_back(
            {c->hostPath, !c->created || length > 0, length, c->pending.size(), c->fd});
    }

    const TerminationDeferral deferral;
    if (journal)
        journal->begin(entries, syncToDisk_);
    int failure = 0;
    QString failedPath;
    for (Channel* c : toWrite) {
        failure = writeAndSync(*c);
        if (failure) {
            failedPath = c->hostPath;
            break;
        }
    }
    if (!failure && (failure = syncNewNames(entries)) != 0)
        failedPath = QFileInfo(toWrite.front()->hostPath).absolutePath();
    // The journal must be emptied for good before the record counts: a journal found holding it
    // later would take the record back out.
    if (!failure && journal && (failure = journal->end(entries, syncToDisk_)) != 0)
        failedPath = QStringLiteral("the rollback journal");
    if (!failure)
        return;

    const RollBack back = RollbackJournal::rollBack(entries);
    // What a passing failure kept in a file, the kept journal takes out at the next record. A
    // file that can never be taken back (one marked append-only) would make a kept journal
    // refuse every later record: it goes, and the student is told.
    const bool journalLeft = journal && journal->abandon(back.passingError != 0, syncToDisk_);
    if (!back.notTakenBack.isEmpty() && !journalLeft)
        throw PartlyWrittenError(os::errorForIo(failure), back.notTakenBack);
    throw RunTimeError(os::errorForIo(failure), failedPath);
}

void FileChannels::removeCreatedFile(Channel& c)
{
    // The file did not exist before the channel was opened: the operation leaves no trace. Only
    // the very file it created goes, and only while it is empty.
    if (!os::isFileAt(c.fd, c.hostPath))
        return;
    const os::Status status = os::statusOf(c.fd);
    if (status.error == 0 && status.size == 0)
        os::removeFile(c.hostPath);
}

void FileChannels::closeFd(Channel& c)
{
    os::closeFile(c.fd);
    c = Channel{};
}

void FileChannels::closeTogether(std::initializer_list<int> channels, RecordJournal* journal)
{
    for (int channel : channels)
        checkNumber(channel);
    std::vector<Channel*> toWrite;
    for (int channel : channels) {
        Channel& c = channels_[channel - 1];
        if (c.fd >= 0 && c.mode != FileMode::Input && !c.pending.isEmpty())
            toWrite.push_back(&c);
    }
    try {
        commit(toWrite, journal);
    } catch (...) {
        // The files that took nothing are closed as if never opened.
        for (int channel : channels)
            discard(channel);
        throw;
    }
    for (int channel : channels)
        closeFd(channels_[channel - 1]);
}

void FileChannels::discard(int channel) noexcept
{
    if (channel < 1 || channel > Count)
        return;
    Channel& c = channels_[channel - 1];
    if (c.fd >= 0 && c.created && c.mode != FileMode::Input)
        removeCreatedFile(c);
    closeFd(c);
}

void FileChannels::closeAll() noexcept
{
    for (int channel = 1; channel <= Count; ++channel) {
        try {
            close(channel);
        } catch (...) {
            // The program is ending; there is nobody left to tell.
        }
    }
}

} // namespace desk
