#pragma once
// The lock on one student's record files. Every record operation of every copy of the program
// holds it from before it opens the files until after it has closed them, so two copies (a
// double click, two machines on the network folder) never write or take back a record at the
// same time.
//
// It is an advisory POSIX record lock (an open file description lock where the system has them)
// on a small lock file beside the record files, which local file systems and network shares with
// lock support honour. The lock file is this user's and readable by this user alone, so nobody
// else can hold a lock on it; one that is not this user's is never relied on. Students with
// other names have other lock files and never wait for each other.

#include <QString>

#include <chrono>

namespace desk {

class RecordLock {
public:
    // Opens (creating it if missing) the lock file and takes the lock, waiting at most `wait`
    // for another copy to let go of it. Errors: RecordRefusal when the wait runs out, or when a
    // folder or another user's file stands at the lock file's place; the open errors of the lock
    // file (76 folder missing...).
    RecordLock(const QString& hostPath, std::chrono::milliseconds wait);
    ~RecordLock();
    RecordLock(const RecordLock&) = delete;
    RecordLock& operator=(const RecordLock&) = delete;

    // False where no lock can be had: a share without lock support, or a folder where this user
    // may write the record files but not make the lock file. Records then go on as they would
    // without the lock (and without a rollback journal, which only the lock keeps apart).
    bool held() const { return held_; }
    // Whether the lock is held and its file is still the one at its path: a lock file removed
    // or replaced meanwhile (a tidying program) is one that another copy no longer waits for.
    bool isInPlace() const;

private:
    QString hostPath_;
    int fd_ = -1;
    bool held_ = false;
};

} // namespace desk
