#pragma once
// Kinds of question-bank line, told apart by the characters at the start of the line.

#include <QString>

namespace desk {

// "`q" followed by the question number, the q in either case.
inline bool isQuestionMarker(const QString& line)
{
    return line.left(2).toLower() == QLatin1String("`q");
}

// "`routine" in any letter case, a separator character, then the routine's name.
inline bool isRoutineLine(const QString& line)
{
    return line.left(8).toLower() == QLatin1String("`routine");
}

// The routine's name: from the tenth character on.
inline QString routineName(const QString& line)
{
    return line.mid(9);
}

} // namespace desk
