#include "runtime/numbers.h"

#include "runtime/run_time_error.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace desk {

namespace {

int digitValue(QChar c, int radix)
{
    const char16_t u = c.toUpper().unicode();
    const int digit = (u >= u'0' && u <= u'9') ? u - u'0'
        : (u >= u'A' && u <= u'F')             ? u - u'A' + 10
                                               : -1;
    return digit < radix ? digit : -1;
}

// A literal as the scanner below builds it ([sign] digits [. digits] [e [sign] digits]), read
// whatever the locale: Qt sets the C library to the desktop's, and a German one would read "2.5"
// as 2. Numbers in this program are always written with a decimal point. Too large a number is
// infinite (an overflow for the caller), too small a one zero.
double parseDecimal(const std::string& literal)
{
    const bool negative = literal.front() == '-';
    const char* first = literal.data() + (literal.front() == '-' || literal.front() == '+');
    const char* last = literal.data() + literal.size();
    double value = 0;
    if (std::from_chars(first, last, value).ec != std::errc::result_out_of_range)
        return negative ? -value : value;
    // Out of range: the place of the first significant digit and the exponent tell which way.
    const std::string::size_type e = literal.find('e');
    const std::string mantissa = literal.substr(0, e);
    const std::string::size_type point = std::min(mantissa.find('.'), mantissa.size());
    const std::string::size_type digit = mantissa.find_first_of("123456789");
    long long magnitude = digit < point ? static_cast<long long>(point - digit)
                                        : -static_cast<long long>(digit - point);
    if (e != std::string::npos) {
        const std::string exponent = literal.substr(e + 1);
        const bool below = exponent.front() == '-';
        const std::string::size_type at = exponent.find_first_not_of("+-0");
        const std::string digits = at == std::string::npos ? "0" : exponent.substr(at);
        const long long size = digits.size() > 6 ? 1000000 : std::stoll(digits);
        magnitude += below ? -size : size;
    }
    const double result = magnitude > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    return negative ? -result : result;
}

double finiteOrOverflow(double value)
{
    if (!std::isfinite(value))
        throw RunTimeError(err::Overflow);
    return value;
}

// Reads a number's characters from `pos` on, skipping blanks, tabs and line feeds inside it.
struct Scanner {
    QStringView text;
    qsizetype& pos;

    QChar peek()
    {
        while (pos < text.size() && (text[pos] == u' ' || text[pos] == u'\t' || text[pos] == u'\n'))
            ++pos;
        return pos < text.size() ? text[pos] : QChar();
    }

    // Takes a sign if one comes next, adding it to `literal`.
    void takeSign(std::string& literal)
    {
        if (peek() == u'+' || peek() == u'-') {
            literal += char(peek().unicode());
            ++pos;
        }
    }

    // Takes the digits of `radix` that come next, handing each to `use`; whether there was one.
    template<typename Use> bool takeDigits(int radix, Use&& use)
    {
        bool any = false;
        for (int digit; (digit = digitValue(peek(), radix)) >= 0; ++pos) {
            use(digit);
            any = true;
        }
        return any;
    }

    bool takeDecimalDigits(std::string& literal)
    {
        return takeDigits(10, [&](int digit) { literal += char('0' + digit); });
    }
};

// "&H1F" or "&O17", the "&" already seen.
bool scanRadixNumber(Scanner& in, double& value)
{
    const qsizetype start = in.pos;
    ++in.pos;
    const QChar radixLetter = in.peek().toUpper();
    const int radix = radixLetter == u'H' ? 16 : radixLetter == u'O' ? 8 : 0;
    if (radix == 0) {
        in.pos = start;
        return false;
    }
    ++in.pos;
    double result = 0;
    const bool any = in.takeDigits(radix, [&](int digit) { result = result * radix + digit; });
    value = finiteOrOverflow(result);
    return any;
}

// A sign, digits with a decimal point, and an exponent that counts only with digits of its own.
bool scanDecimalNumber(Scanner& in, double& value)
{
    std::string literal;
    in.takeSign(literal);
    bool digits = in.takeDecimalDigits(literal);
    if (in.peek() == u'.') {
        literal += '.';
        ++in.pos;
        digits = in.takeDecimalDigits(literal) || digits;
    }
    if (!digits)
        return false;
    if (in.peek() == u'E' || in.peek() == u'e') {
        const qsizetype beforeExponent = in.pos;
        std::string exponent = "e";
        ++in.pos;
        in.takeSign(exponent);
        if (in.takeDecimalDigits(exponent))
            literal += exponent;
        else
            in.pos = beforeExponent;
    }
    value = finiteOrOverflow(parseDecimal(literal));
    return true;
}

// Reads a number from `pos` on and leaves `pos` after the last character used. Returns whether
// any digits were read.
bool scanNumber(QStringView text, qsizetype& pos, double& value)
{
    Scanner in{text, pos};
    return in.peek() == u'&' ? scanRadixNumber(in, value) : scanDecimalNumber(in, value);
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
