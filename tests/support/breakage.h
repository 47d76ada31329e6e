#pragma once
// What the tests break on purpose under a window's record files, to see a record or a header
// refused: the base directory gone, a file that is a directory or a FIFO, read-only, another
// user's or on a full disk, or the lock held by another copy of the program.

#include "support/record_faults.h"
#include "support/scripted_services.h"

#include <QDir>
#include <QFile>

#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace desk::testing {

// None breaks nothing: what the student typed is refused by itself.
enum class Breakage {
    None,
    BaseDirectoryRemoved,
    MasterIsDirectory,
    MasterReadOnly,
    MasterOfAnotherUser,
    SendIsDirectory,
    SendDiskFull,
    NotesIsDirectory,
    NotesIsFifo,
    NotesDiskFull,
    LockHeld,
};

// Makes one breakage and holds what keeps it up (the full disk, the other copy's record) until
// undone or destroyed.
class BrokenRecords {
public:
    // Breaks the files named by the window's state. False when it could not: with `notHere` set
    // when this system cannot make the breakage (the test is skipped), a failure otherwise.
    [[nodiscard]] bool make(Breakage breakage, WindowFixture& fixture)
    {
        using enum Breakage;
        const ProgramState& s = fixture.window->state();
        const QString master = fixture.host(s.masterFileName);
        const QString send = fixture.host(s.sendFileName);
        const QString notes = fixture.host(s.notesFileName);
        const QByteArray masterName = QFile::encodeName(master);
        const QByteArray notesName = QFile::encodeName(notes);
        const auto readOnly = QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther;
        const bool superuser = ::geteuid() == 0;
        auto intoDirectory = [](const QString& path) {
            return QFile::remove(path) && QDir().mkdir(path);
        };
        switch (breakage) {
        case None: return true;
        case BaseDirectoryRemoved: return QDir(fixture.host(s.baseDir)).removeRecursively();
        case MasterIsDirectory: return intoDirectory(master);
        case MasterReadOnly:
            if (superuser)
                notHere = "file permissions do not bind the superuser";
            return !superuser && QFile::setPermissions(master, readOnly);
        case MasterOfAnotherUser:
            if (superuser && ::chown(masterName.constData(), 4242, 4242) == 0)
                return true;
            notHere = "only the superuser can give a file to another user";
            return false;
        case SendIsDirectory: return intoDirectory(send);
        case SendDiskFull: return fullFile_.emplace(send).ok();
        case NotesIsDirectory: return intoDirectory(notes);
        case NotesIsFifo: return QFile::remove(notes) && ::mkfifo(notesName.constData(), 0666) == 0;
        case NotesDiskFull: return fullFile_.emplace(notes).ok();
        case LockHeld: otherCopy_.emplace(*fixture.window); return true;
        }
        return false;
    }

    // Ends the full disk and the other copy's record; what was removed or replaced stays so.
    void undo()
    {
        fullFile_.reset();
        otherCopy_.reset();
    }

    const char* notHere = nullptr;

private:
    std::optional<FullFile> fullFile_;
    std::optional<AnotherCopyRecording> otherCopy_;
};

} // namespace desk::testing
