#pragma once
// The rollback journal of a record: before the first byte of a record reaches a record file, the
// length of every file the record touches is written into the journal beside them and synced;
// when every file has its block and is synced, the journal is emptied and synced again. A journal
// that holds a record later was left by a crash, a kill or a power cut in the middle of it, and
// applying it cuts each file back to its length before that record: so a block is in every file
// of its record or in none, whatever happened.
//
// The journal file stays between records, empty: an empty journal means that no record is under
// way. Emptying it rather than removing it spares each record a name made and removed in the
// folder, and the folder's sync that each would need (a round trip to the server on a network
// folder).
//
// The journal names its files by their names alone, in its own folder, so a folder that moved
// (a renamed home, another mount point) keeps its journal; and it applies only to the files it
// is told belong to it. Only the holder of the record files' lock writes, applies or empties it,
// and only a journal of this user's is ever applied.

#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

namespace desk {

struct JournalEntry {
    QString hostPath;     // in the journal's folder
    bool existed = true;  // false: the record created the file
    long long length = 0; // the file's length before the record
    long long added = 0;  // the bytes the record appends
    int fd = -1;          // the record's own open file, while it is under way
};

// What taking a record back achieved.
struct RollBack {
    QStringList notTakenBack; // the files that may still hold part of the record
    // The errno value of the first failure that may pass (EIO, ENOSPC...), 0 when every failure
    // is for good: a file that may not be written (EPERM, EACCES: append-only, read-only) or that
    // someone else wrote to since.
    int passingError = 0;
};

class RollbackJournal {
public:
    explicit RollbackJournal(QString hostPath)
        : hostPath_(std::move(hostPath))
    {
    }
    ~RollbackJournal() { release(); }
    RollbackJournal(const RollbackJournal&) = delete;
    RollbackJournal& operator=(const RollbackJournal&) = delete;

    // Writes and syncs the journal for a record about to be written, into the journal file of
    // this user's (made, and its name synced into the folder, the first time). Throws
    // RunTimeError; then nothing of the record has been written. (`sync` false only where the
    // record files are not synced either: a benchmark.)
    void begin(const std::vector<JournalEntry>& entries, bool sync = true);
    // Whether the journal that begin wrote is still the file at its path, holding what begin
    // wrote (not emptied or rewritten by another copy that applied it meanwhile).
    bool isInPlace() const;
    // Empties the journal for good: the record is in every file. 0 or an errno value (ENOENT
    // when there is no journal file).
    int end(bool sync = true);
    // Leaves the journal on the disk as it is, for the next record or start to apply.
    void release() noexcept;
    // Applies a journal left over by an interrupted record, if there is one, to the files whose
    // names `belongs` accepts, then empties it. A failure that may pass keeps it and throws
    // RecordRefusal, so that the next record or start finishes the job. If a file cannot be
    // taken back for good, the journal is emptied (it could never be applied) and
    // PartlyWrittenError names the file. A journal that is not this user's is never applied:
    // RecordRefusal.
    void recover(const std::function<bool(const QString& fileName)>& belongs);
    // The files whose names `belongs` accepts that the journal would take a record back out of:
    // none when it holds no record. Throws as recover does when it cannot be read.
    QStringList filesToTakeBack(const std::function<bool(const QString& fileName)>& belongs) const;
    // Whether a journal file stands at `hostPath` and holds something: a record under way, or
    // one interrupted.
    static bool holdsRecord(const QString& hostPath);

    // Takes each file back to its length before the record. It never cuts a file shorter than
    // that, never touches a file that grew by more than the record's bytes (someone else wrote
    // to it), and removes a file the record created only if it holds nothing but the record.
    static RollBack rollBack(const std::vector<JournalEntry>& entries);

    const QString& hostPath() const { return hostPath_; }

private:
    QString hostPath_;
    int fd_ = -1;        // the journal begin wrote, until it ends
    QByteArray written_; // what begin wrote into it
};

} // namespace desk
