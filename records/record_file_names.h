#pragma once
// The names of one student's files in the folder of the record files: the three record files the
// instructor reads, and the hidden files the program keeps beside them. Every part of the program
// that names one of them, and every test, takes it from here.

#include <QString>

#include <optional>

namespace desk {

class RecordFileNames {
public:
    enum File {
        Master, // "masterFile_Ann_Lee.txt"
        Send,   // "send_0105Ann_Lee.txt": the month and the day, no year
        Notes,  // "notes_Ann_Lee.txt"
        // The lock and the rollback journal of every copy for this name (".desk-lock_Ann_Lee"),
        // and those of this user's copies (".desk-lock_Ann_Lee.1000"), which a classmate's own
        // files for the same name, in a folder the class shares, never stand in place of.
        Lock,
        Journal,
        UserLock,
        UserJournal,
        NameCheck, // made and removed again at start-up, to see whether the folder takes the name
    };

    // `folder` as the program names it ("c:\lrnfiles"), the student's name as typed, and the month
    // and the day of the send file ("0105"; only the send file needs them).
    RecordFileNames(const QString& folder, const QString& studentName,
                    const QString& monthAndDay = QString());

    // The file's name in the folder.
    QString name(File file) const;
    // The file's path as the program names it ("c:\lrnfiles\notes_Ann_Lee.txt").
    QString path(File file) const { return folder_ + u'\\' + name(file); }
    // The longest of the names: the student's name fits the folder when this one does.
    static constexpr File Longest = UserJournal;

    // Whether `fileName`, a name in the folder, is one of the student's record files: the master
    // file, the notes file or the send file of any day (a journal left by a run on another day
    // names that day's send file).
    bool holds(const QString& fileName) const;

    // Master, Send or Notes, as the beginning of `fileName` tells, whoever's it is.
    static std::optional<File> recordFileOf(const QString& fileName);

    // The student's name as it goes into file names: blanks, slashes, backslashes and control
    // characters (and on Windows the characters it refuses in names) become "_", so that a name
    // can never put a file anywhere else.
    static QString nameForFiles(const QString& studentName);

private:
    QString folder_;
    QString name_;
    QString monthAndDay_;
};

} // namespace desk
