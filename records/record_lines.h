#pragma once
// The fixed lines that the record blocks are built from.

#include "storage/file_channels.h"

#include <QString>

#include <initializer_list>

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

// Writes one line of a block to each channel in turn. `line` is asked once for each file, so the
// clock and the line coder are read once per file.
template <typename Line>
void writeToEach(FileChannels& files, std::initializer_list<int> channels, Line line)
{
    for (int channel : channels)
        files.writeLine(channel, line());
}

} // namespace desk::record
