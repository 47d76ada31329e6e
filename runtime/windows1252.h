#pragma once
// The record files' character set: Windows-1252, one byte per character. Every byte value
// 0..255 stands for one character (the five unassigned ones for the control characters of the
// same number), so any byte read back is written again unchanged.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace desk::windows1252 {

// The character with code `code` (0..255).
QChar fromCode(int code);
// The code of a character, or nothing when the set has no such character.
std::optional<int> codeOf(QChar c);

QString decode(const QByteArray& bytes);
// Throws UnencodableTextError naming every character (once each) that the set cannot hold.
QByteArray encode(QStringView text);
// The characters of `text` the set cannot hold, each once, in order of appearance.
QStringList unencodable(QStringView text);

} // namespace desk::windows1252
