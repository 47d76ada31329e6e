#include "storage/record_transaction.h"

#include "runtime/run_time_error.h"
#include "storage/file_owner.h"
#include "system/os_files.h"

#include <algorithm>
#include <cerrno>

namespace desk {

namespace {

// Makes way at `hostPath` for a hidden file of this user's: another user's file there goes if it
// may be removed. What may not be removed, and anything but a file, stays where it is and is
// named in the refusal.
const QString& claimed(const QString& hostPath)
{
    if (!isOtherUsersFile(hostPath))
        return hostPath;
    const int removed = os::removeFile(hostPath);
    if (removed == EPERM || removed == EACCES)
        throw RecordRefusal(RecordRefusal::Reason::OtherUsersFile, {hostPath});
    if (removed != 0 && removed != ENOENT)
        throw RunTimeError(os::errorForIo(removed), hostPath);
    return hostPath;
}

} // namespace

RecordTransaction::RecordTransaction(FileChannels& files, const RecordSetPaths& paths,
                                     std::chrono::milliseconds lockWait)
    : files_(files)
    , userLock_(claimed(paths.userLock), lockWait)
{
    if (!userLock_.held())
        return;
    if (!isOtherUsersFile(paths.lock)) {
        try {
            nameLock_.emplace(paths.lock, lockWait);
        } catch (const RecordRefusal& refusal) {
            // Made by another user just now: not relied on either.
            if (refusal.reason() != RecordRefusal::Reason::OtherUsersFile)
                throw;
        }
    }
    // This user's journal at the name's place is this user's to finish, under the user's lock,
    // whoever holds the name's now. Another user's is never applied, nor removed: it may be
    // theirs to finish.
    bool nameJournalFree = nameLock_ && nameLock_->held();
    if (isOtherUsersFile(paths.journal)) {
        leftAlone_ << paths.journal;
        nameJournalFree = false;
    } else {
        RollbackJournal(paths.journal).recover(paths.holds);
    }
    RollbackJournal(claimed(paths.userJournal)).recover(paths.holds);
    journal_.emplace(nameJournalFree ? paths.journal : paths.userJournal);
}

bool RecordTransaction::locksInPlace() const
{
    return userLock_.isInPlace() && (!nameLock_ || !nameLock_->held() || nameLock_->isInPlace());
}

int RecordTransaction::end(const std::vector<JournalEntry>& entries, bool sync)
{
    const bool locked = locksInPlace();
    const bool filesInPlace =
        std::all_of(entries.begin(), entries.end(),
                    [](const JournalEntry& e) { return os::isFileAt(e.fd, e.hostPath); });
    if (locked && filesInPlace && journal_->isInPlace()) {
        const int removed = journal_->end(sync);
        if (removed != 0 && removed != ENOENT)
            return removed;
        // A lock taken away just before the journal went: another copy may have applied it.
        if (removed == 0 && locksInPlace())
            return 0;
    } else if (journal_->isInPlace()) {
        // A lock file moved or removed meanwhile: another copy may be writing under a lock of its
        // own, so the files are not this copy's to cut now. The record does not count; the journal
        // stays and takes it back out at the next record, whoever makes it.
        if (!locked) {
            journal_->release();
            throw RecordRefusal(RecordRefusal::Reason::ChangedMeanwhile, {});
        }
        // Only a record file moved or removed, under the locks: taken back out at once, through
        // the record's own open files.
        const RollBack back = RollbackJournal::rollBack(entries);
        if (back.notTakenBack.isEmpty()) {
            journal_->end(sync);
            throw RecordRefusal(RecordRefusal::Reason::ChangedMeanwhile, {});
        }
        journal_->release();
        throw RecordRefusal(RecordRefusal::Reason::MayNotBeWhole, back.notTakenBack);
    }
    // The journal went meanwhile: another copy may have applied it and written after it. The
    // files that do not hold exactly what the journal says they should are named, or all of them
    // when they all do.
    QStringList changed, all;
    for (const JournalEntry& e : entries) {
        all << e.hostPath;
        const os::Status status = os::statusOf(e.fd);
        if (status.error != 0 || status.size != e.length + e.added
            || !os::isFileAt(e.fd, e.hostPath))
            changed << e.hostPath;
    }
    throw RecordRefusal(RecordRefusal::Reason::MayNotBeWhole, changed.isEmpty() ? all : changed);
}

bool RecordTransaction::abandon(bool keep, bool sync)
{
    if (!keep) {
        const int removed = journal_->end(sync);
        return removed != 0 && removed != ENOENT;
    }
    journal_->release();
    return os::statusAt(journal_->hostPath()).error == 0;
}

} // namespace desk
