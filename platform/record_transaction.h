#pragma once
// One record operation on a student's record files (a header, a response, a note). For its whole
// length it holds the files' lock, so no other copy of the program writes or takes back a record
// meanwhile; it first applies the rollback journal that an interrupted record may have left;
// and while it lasts, closing channels journals the files' lengths before writing, so that
// every file gets the block or none does, through a crash, a kill or a power cut. Before the
// record counts, it checks that nobody removed its lock file or its journal meanwhile.
//
// Create it before the operation opens its channels and let it go after they are closed. Where no
// lock can be had (see RecordLock::held), there is no journal either: a journal that two copies
// could write at once would take back each other's records.

#include "platform/file_channels.h"
#include "platform/record_lock.h"
#include "platform/rollback_journal.h"

#include <functional>

namespace desk {

// Where the lock and the journal of one student's record files are, as host paths, and which
// file names in their folder are that student's record files.
struct RecordSetPaths {
    QString lock;
    QString journal;
    std::function<bool(const QString& fileName)> holds;
};

class RecordTransaction : private RecordJournal {
public:
    // Errors: RecordRefusal when another copy holds the lock too long or something not this
    // user's stands at the lock's or the journal's place; the lock file's open errors (76...);
    // the error of a leftover journal that cannot be applied.
    RecordTransaction(FileChannels& files, const RecordSetPaths& paths);
    ~RecordTransaction() { files_.setJournal(nullptr); }
    RecordTransaction(const RecordTransaction&) = delete;
    RecordTransaction& operator=(const RecordTransaction&) = delete;

private:
    void begin(const std::vector<JournalEntry>& entries, bool sync) override { journal_.begin(entries, sync); }
    int end(const std::vector<JournalEntry>& entries, bool sync) override;
    void abandon(bool keep, bool sync) override;

    FileChannels& files_;
    RecordLock lock_;
    RollbackJournal journal_;
};

} // namespace desk
