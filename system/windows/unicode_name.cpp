// Character names from the ICU that Windows 10 (version 1903 on) ships as icu.dll, loaded when
// it is there: the program needs no ICU of its own.

#include "system/unicode_name.h"

#include <windows.h>

namespace desk::os {

namespace {

// u_charName(code, choice, buffer, length, status) of ICU's C interface.
using CharName = int (*)(int code, int choice, char* buffer, int length, int* status);

CharName charName()
{
    static const CharName found = [] {
        const HMODULE icu = LoadLibraryExW(L"icu.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
        return icu
            ? reinterpret_cast<CharName>(reinterpret_cast<void*>(GetProcAddress(icu, "u_charName")))
            : nullptr;
    }();
    return found;
}

} // namespace

QString unicodeName(char32_t code)
{
    const CharName name = charName();
    if (!name)
        return QString();
    // ICU's choices: the name (0), its correction (3), the extended description (2).
    for (int choice : {0, 3, 2}) {
        char buffer[128];
        int status = 0; // U_ZERO_ERROR; a failure is above zero
        const int length = name(int(code), choice, buffer, int(sizeof buffer), &status);
        if (status <= 0 && length > 0 && length < int(sizeof buffer))
            return QString::fromLatin1(buffer, length);
    }
    return QString();
}

} // namespace desk::os
