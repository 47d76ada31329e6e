#pragma once
// A full disk for one file, for the tests of every layer that writes files.

#include <QFile>
#include <QString>

#include <csignal>
#include <sys/resource.h>

namespace desk::testing {

// A record file on a full disk, without a real full disk: the file is replaced by a large sparse
// one and the test process may write no file past that size (RLIMIT_FSIZE), so every append to
// it fails as on a full disk, while the other files, far smaller, are written as usual.
class FullFile {
public:
    static constexpr qint64 Size = 4 << 20;

    // Any file at `hostPath` is removed first; the caller stashes it if it wants it back. The
    // caller checks ok(): a constructor cannot stop the test.
    explicit FullFile(const QString& hostPath)
        : path_(hostPath)
    {
        std::signal(SIGXFSZ, SIG_IGN);
        QFile::remove(path_);
        QFile file(path_);
        if (!file.open(QIODevice::WriteOnly) || !file.resize(Size)
            || ::getrlimit(RLIMIT_FSIZE, &saved_) != 0)
            return;
        rlimit full = saved_;
        full.rlim_cur = Size;
        limited_ = ::setrlimit(RLIMIT_FSIZE, &full) == 0;
    }
    ~FullFile()
    {
        // Only a limit this object lowered is put back; `saved_` holds nothing otherwise.
        if (limited_)
            ::setrlimit(RLIMIT_FSIZE, &saved_);
        QFile::remove(path_);
    }
    FullFile(const FullFile&) = delete;
    FullFile& operator=(const FullFile&) = delete;

    // Whether the file is in place and the disk full for it.
    bool ok() const { return limited_; }

private:
    QString path_;
    rlimit saved_{};
    bool limited_ = false;
};

} // namespace desk::testing
