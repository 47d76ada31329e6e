#pragma once
// The fixed lines that the record blocks are built from.

#include <QString>

namespace desk::record {

// 6 full stops, 8 exclamation marks, 35 full stops.
inline const QString openingSeparator = QStringLiteral("......!!!!!!!!...................................");
// 49 full stops.
inline const QString closingSeparator = QStringLiteral(".................................................");
inline const QString responseLabel = QStringLiteral("RESPONSE -->  ");
inline const QString notesLabel = QStringLiteral("NOTES -------> ");
inline const QString questionNumberKey = QStringLiteral("`questionNumber");

// 36 blanks, then what the line shows (the time, or the date and at once the time).
inline QString indented(const QString& text)
{
    return QString(36, u' ') + text;
}

} // namespace desk::record
