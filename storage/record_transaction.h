#pragma once
// One record operation on a student's record files (a header, a response, a note). For its whole
// length it holds the files' locks, so no other copy of the program writes or takes back a record
// meanwhile; it first applies the rollback journals that an interrupted record may have left;
// and while it lasts, closing channels journals the files' lengths before writing, so that
// every file gets the block or none does, through a crash, a kill or a power cut. Before the
// record counts, it checks that nobody moved or removed its locks, its journal or its files.
//
// There are two locks. Every copy of this user's takes the user's own; every copy for this name
// takes the name's as well, unless a file of another user's stands in its place, which is never
// relied on. The journal goes beside the name's lock where that one is held, so that copies
// under other user numbers (two machines on a network share) find it; otherwise beside the
// user's.
//
// Create it before the operation opens its channels, close them through it, and let it go after.
// Where no lock can be had (see RecordLock::held: a share without lock support), the record goes
// on without a journal too, since a journal that two copies could write at once would take back
// each other's records: each file is still written in one write and synced, and a record file
// moved meanwhile still takes the record back out at once. While a journal of this user's holds an
// interrupted record, nothing is recorded without the lock.

#include "storage/file_channels.h"
#include "storage/record_lock.h"
#include "storage/rollback_journal.h"

#include <chrono>
#include <functional>
#include <optional>

namespace desk {

// How long a record waits for another copy of the program to finish its own before it is refused:
// long enough for any record, short enough for a student who clicked.
inline constexpr std::chrono::milliseconds recordLockWait{4000};

// Where the locks and the journals of one student's record files are, as host paths, and which
// file names in their folder are that student's record files.
struct RecordSetPaths {
    QString lock; // every copy's for the name
    QString journal;
    QString userLock; // this user's copies'
    QString userJournal;
    std::function<bool(const QString& fileName)> holds;
};

class RecordTransaction : private RecordJournal {
public:
    // Errors: RecordRefusal when another copy holds a lock too long, when another user's file that
    // may not be removed stands at the user's lock or journal, or a non-file at any of them; the
    // lock files' open errors (76...); the error of a leftover journal that cannot be applied.
    RecordTransaction(FileChannels& files, const RecordSetPaths& paths,
                      std::chrono::milliseconds lockWait = recordLockWait);
    RecordTransaction(const RecordTransaction&) = delete;
    RecordTransaction& operator=(const RecordTransaction&) = delete;

    // Writes the record: closes the channels together, the files' lengths journalled first.
    void closeTogether(std::initializer_list<int> channels)
    {
        files_.closeTogether(channels, *this);
    }

    // Another user's journal at the name's place: never applied, and left where it is.
    const QStringList& leftAlone() const { return leftAlone_; }

private:
    void begin(const std::vector<JournalEntry>& entries, bool sync) override;
    int end(const std::vector<JournalEntry>& entries, bool sync) override;
    bool abandon(bool keep, bool sync) override;
    // Whether the locks are still held on the files at their paths.
    bool locksInPlace() const;
    // Whether each file is still at its path and holds just what it held before the record and
    // the record's bytes.
    static bool filesAsJournalled(const std::vector<JournalEntry>& entries);
    // A record file moved or removed meanwhile: takes the record back out through its open files
    // and refuses it.
    [[noreturn]] void takeBackAtOnce(const std::vector<JournalEntry>& entries, bool sync);

    FileChannels& files_;
    RecordLock userLock_;
    std::optional<RecordLock> nameLock_;
    std::optional<RollbackJournal> journal_;
    QStringList leftAlone_;
};

} // namespace desk
