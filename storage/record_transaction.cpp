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
    // Without the lock there is no journal either: see the header. A journal of this user's that
    // holds an interrupted record cannot be applied without the lock (its copy may still be
    // writing, its lock working), and a record written after it would be cut by it later: so
    // nothing is recorded until a lock can be had again.
    if (!userLock_.held()) {
        for (const QString& journal : {paths.journal, paths.userJournal}) {
            if (isOtherUsersFile(journal))
                continue;
            const QStringList files = RollbackJournal(journal).filesToTakeBack(paths.holds);
            if (!files.isEmpty())
                throw RecordRefusal(RecordRefusal::Reason::EarlierRecordUnfinished, files);
        }
        return;
    }
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
    // whoever holds the name's now. Another user's is never applied, nor emptied: it may be
    // theirs to finish. Only one that holds a record is worth telling the student of.
    bool nameJournalFree = nameLock_ && nameLock_->held();
    if (isOtherUsersFile(paths.journal)) {
        if (RollbackJournal::holdsRecord(paths.journal))
            leftAlone_ << paths.journal;
        nameJournalFree = false;
    } else {
        RollbackJournal(paths.journal).recover(paths.holds);
    }
    RollbackJournal(claimed(paths.userJournal)).recover(paths.holds);
    journal_.emplace(nameJournalFree ? paths.journal : paths.userJournal);
}

void RecordTransaction::begin(const std::vector<JournalEntry>& entries, bool sync)
{
    if (journal_)
        journal_->begin(entries, sync);
}

bool RecordTransaction::locksInPlace() const
{
    return userLock_.isInPlace() && (!nameLock_ || !nameLock_->held() || nameLock_->isInPlace());
}

int RecordTransaction::end(const std::vector<JournalEntry>& entries, bool sync)
{
    const bool filesInPlace =
        std::all_of(entries.begin(), entries.end(),
                    [](const JournalEntry& e) { return os::isFileAt(e.fd, e.hostPath); });
    if (!journal_) {
        if (filesInPlace)
            return 0;
        takeBackAtOnce(entries, sync);
    }
    const bool locked = locksInPlace();
    const bool journalInPlace = journal_->isInPlace();
    if (locked && filesInPlace && journalInPlace) {
        if (const int ended = journal_->end(sync))
            return ended;
        // A lock taken away just before the journal was emptied: another copy may have applied
        // it first.
        if (locksInPlace())
            return 0;
    } else if (journalInPlace && (locked || filesAsJournalled(entries))) {
        // A lock file moved or removed meanwhile: another copy may be writing under a lock of its
        // own, so the files are not this copy's to cut now. The record does not count; the journal
        // stays and takes it back out at the next record, whoever makes it. (Files that no longer
        // hold just what the journal says, another copy has written or cut: below.)
        if (!locked) {
            journal_->release();
            throw RecordRefusal(RecordRefusal::Reason::ChangedMeanwhile, {});
        }
        takeBackAtOnce(entries, sync);
    }
    // The journal went or was applied meanwhile: another copy may have applied it and written
    // after it. The files that do not hold exactly what the journal says they should are named,
    // or all of them when they all do.
    QStringList changed, all;
    for (const JournalEntry& e : entries) {
        all << e.hostPath;
        if (!filesAsJournalled({e}))
            changed << e.hostPath;
    }
    throw RecordRefusal(RecordRefusal::Reason::MayNotBeWhole, changed.isEmpty() ? all : changed);
}

bool RecordTransaction::filesAsJournalled(const std::vector<JournalEntry>& entries)
{
    return std::all_of(entries.begin(), entries.end(), [](const JournalEntry& e) {
        const os::Status status = os::statusOf(e.fd);
        return status.error == 0 && status.size == e.length + e.added
            && os::isFileAt(e.fd, e.hostPath);
    });
}

void RecordTransaction::takeBackAtOnce(const std::vector<JournalEntry>& entries, bool sync)
{
    // Only a record file moved or removed, under the locks or where there are none: taken back
    // out at once, through the record's own open files.
    const RollBack back = RollbackJournal::rollBack(entries);
    if (back.notTakenBack.isEmpty()) {
        if (journal_)
            journal_->end(sync);
        throw RecordRefusal(RecordRefusal::Reason::ChangedMeanwhile, {});
    }
    if (journal_)
        journal_->release();
    throw RecordRefusal(RecordRefusal::Reason::RecordFileMoved, back.notTakenBack);
}

bool RecordTransaction::abandon(bool keep, bool sync)
{
    if (!journal_)
        return false;
    if (!keep) {
        const int removed = journal_->end(sync);
        return removed != 0 && removed != ENOENT;
    }
    journal_->release();
    return RollbackJournal::holdsRecord(journal_->hostPath());
}

} // namespace desk
