#pragma once
// The rollback journal of a record: before the first byte of a record reaches a record file, the
// length of every file the record touches is written beside them and synced; when every file has
// its block and is synced, the journal goes. A journal found later was left by a crash, a kill
// or a power cut in the middle of a record, and applying it cuts each file back to its length
// before that record: so a block is in every file of its record or in none, whatever happened.
//
// The journal names its files by their names alone, in its own folder, so a folder that moved
// (a renamed home, another mount point) keeps its journal; and it applies only to the files it
// is told belong to it. Only the holder of the record files' lock writes, applies or removes it.

#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

namespace desk {

struct JournalEntry {
    QString hostPath;      // in the journal's folder
    bool existed = true;   // false: the record created the file
    long long length = 0;  // the file's length before the record
    long long added = 0;   // the bytes the record appends
    int fd = -1;           // the record's own open file, while it is under way
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
    // Applies a journal left over by an interrupted record, if there is one, to the files whose
    // names `belongs` accepts, then removes it. If a file cannot be taken back, the journal goes
    // all the same (it could never be applied) and PartlyWrittenError names the file.
    void recover(const std::function<bool(const QString& fileName)>& belongs);

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
