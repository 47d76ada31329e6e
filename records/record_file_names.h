#pragma once
// The names of a student's files in the folder of the record files, from the student's name as
// it goes into file names ("Ann_Lee"): the three record files the instructor reads, and the
// hidden files the program keeps beside them.

#include <QString>

namespace desk::recordfile {

QString master(const QString& name);                            // "masterFile_Ann_Lee.txt"
QString send(const QString& monthAndDay, const QString& name);  // "send_0105Ann_Lee.txt"
QString notes(const QString& name);                             // "notes_Ann_Lee.txt"
// Whether `fileName` is the send file of any day.
bool isSend(const QString& fileName, const QString& name);

// The lock and the rollback journal of every copy for this name (".desk-lock_Ann_Lee"), and those
// of this user's copies (".desk-lock_Ann_Lee.1000"), which a classmate's own files for the same
// name, in a folder the class shares, never stand in place of.
QString lock(const QString& name);
QString journal(const QString& name);
QString userLock(const QString& name);
QString userJournal(const QString& name);
// Made and removed again at start-up, to see whether the folder takes the name.
QString nameCheck(const QString& name);

// The longest of the names above: the student's name fits the folder when this one does.
inline QString longest(const QString& name)
{
    return userJournal(name);
}

} // namespace desk::recordfile
