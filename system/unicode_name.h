#pragma once
// The system's Unicode character database, for the names of characters in messages.

#include <QString>

namespace desk::os {

// The character's name ("RIGHT-TO-LEFT MARK"), or its corrected name, or a description
// ("<private-use-E000>"); the empty text where the system has no such database.
QString unicodeName(char32_t code);

} // namespace desk::os
