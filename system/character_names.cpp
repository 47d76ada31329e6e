#include "system/character_names.h"

#include "system/unicode_name.h"

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
    if (QChar::category(code) == QChar::Other_Control)
        return QStringLiteral("CONTROL CHARACTER");
    return os::unicodeName(code);
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
    switch (QChar::category(codeOf(character))) {
    case QChar::Other_Control:
    case QChar::Other_Format:
    case QChar::Separator_Space:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
    case QChar::Mark_NonSpacing:
    case QChar::Mark_Enclosing:
    case QChar::Other_NotAssigned:
    case QChar::Other_PrivateUse:
    case QChar::Other_Surrogate: return true;
    default: return false;
    }
}

} // namespace desk
