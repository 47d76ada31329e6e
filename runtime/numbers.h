#pragma once
// Numbers read from and written as text, the way the record files and start-up need them.

#include <QString>
#include <QStringView>

namespace desk {

// Numbers are read and written with the C locale's rules (a decimal point), whatever the desktop's
// language.
//
// The leading number of a text: blanks, tabs and line feeds are skipped wherever they stand;
// an optional sign, digits, a fraction and an exponent (E), or &H hexadecimal / &O octal digits.
// Reading stops at the first character that cannot continue the number; no number gives 0.
// A number too large for a double is error 6.
double leadingNumber(QStringView text);

// A text that has to be used as a number: blanks and tabs around it are allowed, anything else
// that is not part of one number is error 13 (the empty text included). Too large is error 6.
double readAsNumber(QStringView text);

// Decimal text of a number, the same in every locale: at most 15 significant digits (or fewer, as
// asked), no exponent below 10 to the power of the digits (1E15; ".00001"), no 0 before the point
// of a fraction between -1 and 1 (".5"), "-" for negatives.
QString decimalText(double value, int significantDigits = 15);

// A number as written in a record line: a blank (or the minus sign) before it, one blank after.
QString numberItem(double value);

// To the nearest whole number, a half to the even neighbour.
double roundHalfEven(double value);

} // namespace desk
