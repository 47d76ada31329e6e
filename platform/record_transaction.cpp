#include "platform/record_transaction.h"

#include "platform/os_files.h"
#include "platform/run_time_error.h"

#include <QFileInfo>

namespace desk {

namespace {

// Makes way at `hostPath` for a hidden file of this user's: another user's file there goes if it
// may be removed. What may not be removed, and anything but a file, stays where it is and is
// named in the refusal.
const QString& claimed(const QString& hostPath)
{
    const os::Status there = os::statusAt(hostPath);
    if (there.error != 0)
        return hostPath;
    if (there.kind != os::Kind::File)
        throw RecordRefusal(RecordRefusal::Reason::NotAFile, {hostPath});
    if (!os::ownedByThisUser(there, QFileInfo(hostPath).absolutePath()) && os::removeFile(hostPath) != 0)
        throw RecordRefusal(RecordRefusal::Reason::OtherUsersFile, {hostPath});
    return hostPath;
}

} // namespace

RecordTransaction::RecordTransaction(FileChannels& files, const RecordSetPaths& paths)
    : files_(files)
    , lock_(claimed(paths.lock), files.lockWait())
    , journal_(paths.journal)
{
    if (!lock_.held())
        return;
    claimed(paths.journal);
    journal_.recover(paths.holds);
    files_.setJournal(this);
}

int RecordTransaction::end(const std::vector<JournalEntry>& entries, bool sync)
{
    if (lock_.isInPlace() && journal_.isInPlace())
        return journal_.end(sync);
    // Removed or replaced meanwhile: another copy may have taken a lock of its own and applied or
    // removed this record's journal. A journal still there takes the record back out at the next
    // record; either way it does not count. The files that do not hold exactly what the journal
    // says they should are named, or all of them when they all do.
    journal_.release();
    QStringList changed, all;
    for (const JournalEntry& e : entries) {
        all << e.hostPath;
        const os::Status status = os::statusOf(e.fd);
        if (status.error != 0 || status.size != e.length + e.added || !os::isFileAt(e.fd, e.hostPath))
            changed << e.hostPath;
    }
    throw RecordRefusal(RecordRefusal::Reason::MayNotBeWhole, changed.isEmpty() ? all : changed);
}

void RecordTransaction::abandon(bool keep, bool sync)
{
    if (keep)
        journal_.release();
    else
        journal_.end(sync);
}

} // namespace desk
