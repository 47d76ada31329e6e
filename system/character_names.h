#pragma once
// Characters by their code and Unicode name ("U+200F RIGHT-TO-LEFT MARK"), so that a student
// can be told about a character that is invisible or looks like another one.

#include <QString>

namespace desk {

// The code and name of one character (a surrogate pair counts as one).
QString characterCodeAndName(QStringView character);
// Whether the character shows nothing of its own (a control, format or space character, a mark).
bool isInvisible(QStringView character);

} // namespace desk
