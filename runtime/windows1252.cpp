#include "runtime/windows1252.h"

#include "runtime/run_time_error.h"

#include <array>

namespace desk::windows1252 {

namespace {

// Bytes 0x80..0x9F; the rest of the set equals Latin-1.
constexpr std::array<char16_t, 32> high = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

} // namespace

QChar fromCode(int code)
{
    Q_ASSERT(code >= 0 && code <= 255);
    return (code >= 0x80 && code <= 0x9F) ? QChar(high[code - 0x80]) : QChar(char16_t(code));
}

std::optional<int> codeOf(QChar c)
{
    const char16_t u = c.unicode();
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
        return int(u);
    for (int i = 0; i < int(high.size()); ++i)
        if (high[i] == u)
            return 0x80 + i;
    return std::nullopt;
}

QString decode(const QByteArray& bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < bytes.size(); ++i)
        text[i] = fromCode(static_cast<unsigned char>(bytes[i]));
    return text;
}

QStringList unencodable(QStringView text)
{
    QStringList found;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (codeOf(text[i]))
            continue;
        // A character outside the Basic Multilingual Plane (an emoji) is a surrogate pair.
        QStringView character =
            text.mid(i, text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1);
        if (character.size() == 2)
            ++i;
        if (!found.contains(character))
            found.append(character.toString());
    }
    return found;
}

QByteArray encode(QStringView text)
{
    QByteArray bytes(text.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const auto code = codeOf(text[i]);
        if (!code)
            throw UnencodableTextError(unencodable(text));
        bytes[i] = char(*code);
    }
    return bytes;
}

} // namespace desk::windows1252
