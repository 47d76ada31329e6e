#pragma once
// The rollback journal of a record: before the first byte of a record reaches a record file, the
// length of every file the record touches is written beside them and synced; when every file has
// its block and is synced, the journal goes. A journal found later was left by a crash, a kill
// or a power cut in the middle of a record, and applying it cuts each file back to its length
// before that record: so a block is in every file of its record or in none, whatever happened.
//
// Only the holder of the record files' lock writes, applies or removes their journal.

#include <QString>
#include <QStringList>

#include <vector>

namespace desk {

struct JournalEntry {
    QString hostPath;
    bool existed = true;   // false: the record created the file
    long long length = 0;  // the file's length before the record
    long long added = 0;   // the bytes the record appends
};

class RollbackJournal {
public:
    explicit RollbackJournal(QString hostPath) : hostPath_(std::move(hostPath)) {}

    // Writes and syncs the journal for a record about to be written. Throws RunTimeError; then
    // nothing of the record has been written. (`sync` false only where the record files are not
    // synced either: a benchmark.)
    void begin(const std::vector<JournalEntry>& entries, bool sync = true);
    // Removes the journal for good: the record is in every file. 0 or an errno value.
    int end(bool sync = true);
    // Applies a journal left over by an interrupted record, if there is one, then removes it.
    // Throws RunTimeError when a file cannot be cut back (the journal then stays for next time).
    void recover();

    // Takes each file back to its length before the record. It never cuts a file shorter than
    // that, never touches a file that grew by more than the record's bytes (someone else wrote
    // to it), and removes a file the record created only if it holds nothing but the record.
    // Returns the files that could not be taken back.
    static QStringList rollBack(const std::vector<JournalEntry>& entries);

    const QString& hostPath() const { return hostPath_; }

private:
    QString hostPath_;
};

} // namespace desk
