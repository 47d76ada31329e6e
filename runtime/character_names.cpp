#include "runtime/character_names.h"

#include <unicode/uchar.h>

namespace desk {

namespace {

char32_t codeOf(QStringView character)
{
    return character.size() == 2 && character[0].isHighSurrogate()
        ? QChar::surrogateToUcs4(character[0], character[1])
        : character.isEmpty() ? 0
                              : character[0].unicode();
}

QString nameOf(char32_t code)
{
    // Control characters have no Unicode name; these are the ones a pasted text brings.
    switch (code) {
    case 0x09: return QStringLiteral("CHARACTER TABULATION");
    case 0x0A: return QStringLiteral("LINE FEED");
    case 0x0B: return QStringLiteral("LINE TABULATION");
    case 0x0C: return QStringLiteral("FORM FEED");
    case 0x0D: return QStringLiteral("CARRIAGE RETURN");
    case 0x85: return QStringLiteral("NEXT LINE");
    default: break;
    }
    if (u_charType(UChar32(code)) == U_CONTROL_CHAR)
        return QStringLiteral("CONTROL CHARACTER");
    // The character's name, or the corrected one, or ICU's description ("<private-use-E000>").
    for (UCharNameChoice choice : {U_UNICODE_CHAR_NAME, U_CHAR_NAME_ALIAS, U_EXTENDED_CHAR_NAME}) {
        char buffer[128];
        UErrorCode status = U_ZERO_ERROR;
        const int32_t length = u_charName(UChar32(code), choice, buffer, sizeof buffer, &status);
        if (U_SUCCESS(status) && length > 0)
            return QString::fromLatin1(buffer, length);
    }
    return QString();
}

} // namespace

QString characterCodeAndName(QStringView character)
{
    const char32_t code = codeOf(character);
    const QString name = nameOf(code);
    const QString number =
        QStringLiteral("U+%1").arg(uint(code), 4, 16, QLatin1Char('0')).toUpper();
    return name.isEmpty() ? number : number + u' ' + name;
}

bool isInvisible(QStringView character)
{
    switch (u_charType(UChar32(codeOf(character)))) {
    case U_CONTROL_CHAR:
    case U_FORMAT_CHAR:
    case U_SPACE_SEPARATOR:
    case U_LINE_SEPARATOR:
    case U_PARAGRAPH_SEPARATOR:
    case U_NON_SPACING_MARK:
    case U_ENCLOSING_MARK:
    case U_UNASSIGNED:
    case U_PRIVATE_USE_CHAR:
    case U_SURROGATE: return true;
    default: return false;
    }
}

} // namespace desk
