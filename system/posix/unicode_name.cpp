#include "system/unicode_name.h"

#include <unicode/uchar.h>

namespace desk::os {

QString unicodeName(char32_t code)
{
    for (UCharNameChoice choice : {U_UNICODE_CHAR_NAME, U_CHAR_NAME_ALIAS, U_EXTENDED_CHAR_NAME}) {
        char buffer[128];
        UErrorCode status = U_ZERO_ERROR;
        const int32_t length = u_charName(UChar32(code), choice, buffer, sizeof buffer, &status);
        if (U_SUCCESS(status) && length > 0)
            return QString::fromLatin1(buffer, length);
    }
    return QString();
}

} // namespace desk::os
