#include "platform/numbers.h"

#include "platform/run_time_error.h"

#include <cmath>
#include <locale.h>
#include <stdlib.h>
#include <string>

namespace desk {

namespace {

int digitValue(QChar c, int radix)
{
    const char16_t u = c.toUpper().unicode();
    const int digit = (u >= u'0' && u <= u'9') ? u - u'0' : (u >= u'A' && u <= u'F') ? u - u'A' + 10 : -1;
    return digit < radix ? digit : -1;
}

// Qt sets the C library to the desktop's locale at start, and a German one reads "2.5" as 2.
// Numbers in this program are always written with a decimal point.
double cLocaleStrtod(const std::string& literal)
{
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
    return strtod_l(literal.c_str(), nullptr, cLocale);
}

bool isSkipped(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n';
}

// Reads a number from `pos` on, skipping blanks, tabs and line feeds inside it.
// Leaves `pos` after the last character used. Returns whether any digits were read.
bool scanNumber(QStringView text, qsizetype& pos, double& value)
{
    auto peek = [&]() -> QChar {
        while (pos < text.size() && isSkipped(text[pos]))
            ++pos;
        return pos < text.size() ? text[pos] : QChar();
    };

    QChar c = peek();
    if (c == u'&') {
        const qsizetype start = pos;
        ++pos;
        const QChar radixLetter = peek().toUpper();
        const int radix = radixLetter == u'H' ? 16 : radixLetter == u'O' ? 8 : 0;
        if (radix == 0) {
            pos = start;
            return false;
        }
        ++pos;
        double result = 0;
        bool any = false;
        for (int digit; (digit = digitValue(peek(), radix)) >= 0; ++pos) {
            result = result * radix + digit;
            any = true;
        }
        if (!std::isfinite(result))
            throw RunTimeError(err::Overflow);
        value = result;
        return any;
    }

    std::string literal;
    if (c == u'+' || c == u'-') {
        literal += char(c.unicode());
        ++pos;
    }
    bool digits = false;
    while (digitValue(peek(), 10) >= 0) {
        literal += char(peek().unicode());
        digits = true;
        ++pos;
    }
    if (peek() == u'.') {
        literal += '.';
        ++pos;
        while (digitValue(peek(), 10) >= 0) {
            literal += char(peek().unicode());
            digits = true;
            ++pos;
        }
    }
    if (!digits)
        return false;
    if (peek() == u'E' || peek() == u'e') {
        const qsizetype beforeExponent = pos;
        std::string exponent = "e";
        ++pos;
        if (peek() == u'+' || peek() == u'-') {
            exponent += char(peek().unicode());
            ++pos;
        }
        bool exponentDigits = false;
        while (digitValue(peek(), 10) >= 0) {
            exponent += char(peek().unicode());
            exponentDigits = true;
            ++pos;
        }
        if (exponentDigits)
            literal += exponent;
        else
            pos = beforeExponent;
    }
    const double result = cLocaleStrtod(literal);
    if (!std::isfinite(result))
        throw RunTimeError(err::Overflow);
    value = result;
    return true;
}

} // namespace

double leadingNumber(QStringView text)
{
    qsizetype pos = 0;
    double value = 0;
    return scanNumber(text, pos, value) ? value : 0.0;
}

double readAsNumber(QStringView text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && (text[first] == u' ' || text[first] == u'\t'))
        ++first;
    while (last > first && (text[last - 1] == u' ' || text[last - 1] == u'\t'))
        --last;
    const QStringView trimmed = text.mid(first, last - first);
    if (trimmed.isEmpty())
        throw RunTimeError(err::TypeMismatch);
    // Inside the number no blank may stand; the scanner would skip it.
    for (QChar c : trimmed)
        if (c.isSpace())
            throw RunTimeError(err::TypeMismatch);
    qsizetype pos = 0;
    double value = 0;
    if (!scanNumber(trimmed, pos, value) || pos != trimmed.size())
        throw RunTimeError(err::TypeMismatch);
    return value;
}

QString decimalText(double value, int significantDigits)
{
    if (value == 0)
        return QStringLiteral("0");
    // QString::number always writes a decimal point, whatever the locale. %g writes fixed notation
    // from 1E-4 on; below that, and where rounding to the digits reaches 10^digits, the number is
    // written out from its exponent form, to the same digits.
    QString text = QString::number(value, 'g', significantDigits).toUpper();
    if (text.contains(u'E') && std::abs(value) < std::pow(10.0, significantDigits)) {
        const QString exponentForm = QString::number(std::abs(value), 'e', significantDigits - 1);
        const qsizetype e = exponentForm.indexOf(u'e');
        QString digits = exponentForm.left(e).remove(u'.');
        while (digits.endsWith(u'0'))
            digits.chop(1);
        const int exponent = exponentForm.mid(e + 1).toInt();
        if (exponent < 0) {
            text = QStringLiteral("0.") + QString(-exponent - 1, u'0') + digits;
        } else {
            text = digits.left(exponent + 1).leftJustified(exponent + 1, u'0');
            if (digits.size() > exponent + 1)
                text += u'.' + digits.mid(exponent + 1);
        }
        if (value < 0)
            text.prepend(u'-');
    }
    if (text.startsWith(QStringLiteral("0.")))
        text.remove(0, 1);
    else if (text.startsWith(QStringLiteral("-0.")))
        text.remove(1, 1);
    return text;
}

QString numberItem(double value)
{
    const QString digits = decimalText(value);
    return (digits.startsWith(u'-') ? digits : u' ' + digits) + u' ';
}

double roundHalfEven(double value)
{
    return std::nearbyint(value); // the default rounding mode rounds halves to even
}

} // namespace desk
