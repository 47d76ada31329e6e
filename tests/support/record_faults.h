#pragma once
// Faults underneath the record files that tests make on purpose: a full disk (support/full_file.h),
// and another copy of the program in the middle of its own record.

#include "app/main_window.h"
#include "storage/record_transaction.h"
#include "support/full_file.h"

#include <QString>

namespace desk::testing {

// Another copy of the program recording for the same student for longer than a record waits: it
// holds the lock of the window's record files, and the window waits only a moment for it.
class AnotherCopyRecording {
public:
    explicit AnotherCopyRecording(MainWindow& window)
        : lock_(lockOf(window), std::chrono::milliseconds(0))
    {
    }

private:
    static QString lockOf(MainWindow& window)
    {
        window.setRecordLockWait(std::chrono::milliseconds(30));
        return window.recordSetPaths().lock;
    }

    RecordLock lock_;
};

} // namespace desk::testing
