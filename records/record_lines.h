#pragma once
// The fixed lines and labels that the record files are built from: the header of a run and the
// blocks of its records. What reads the files back takes them from here too.

#include <QString>

namespace desk::record {

// The header of a run: a line of random characters, then these labels with the student's name,
// the assignment number, the assignment's own header line, the initials, and the date and time.
inline const QString studentNameLabel = QStringLiteral("Student Name:  ");
inline const QString assignmentLabel = QStringLiteral("assignment #");
inline const QString initialsLabel = QStringLiteral("Initials:  ");
inline const QString dateAndTimeLabel = QStringLiteral("Date and Time ");

// 6 full stops, 8 exclamation marks, 35 full stops.
inline const QString openingSeparator =
    QStringLiteral("......!!!!!!!!...................................");
// 49 full stops.
inline const QString closingSeparator =
    QStringLiteral(".................................................");
inline const QString responseLabel = QStringLiteral("RESPONSE -->  ");
inline const QString notesLabel = QStringLiteral("NOTES -------> ");
inline const QString questionNumberKey = QStringLiteral("`questionNumber");

// 36 blanks, then what the line shows (the time, or the date and at once the time).
inline QString indented(const QString& text)
{
    return QString(36, u' ') + text;
}

} // namespace desk::record
