#pragma once
// The lock on one student's record files. Every record operation of every copy of the program
// holds it from before it opens the files until after it has closed them, so two copies (a
// double click, two machines on the network folder) never write or take back a record at the
// same time.
//
// It is an advisory POSIX record lock (an open file description lock where the system has them)
// on a small lock file beside the record files, which local file systems and network shares with
// lock support honour. Students with other names have other lock files and never wait for each
// other.

#include <QString>

#include <chrono>

namespace desk {

class RecordLock {
public:
    // Opens (creating it if missing) the lock file and takes the lock, waiting at most `wait`
    // for another copy to let go of it. Errors: 75 when the wait runs out, and the open errors of
    // the lock file (76 folder missing, 70 not writable...).
    RecordLock(const QString& hostPath, std::chrono::milliseconds wait);
    ~RecordLock();
    RecordLock(const RecordLock&) = delete;
    RecordLock& operator=(const RecordLock&) = delete;

private:
    int fd_ = -1;
};

} // namespace desk
