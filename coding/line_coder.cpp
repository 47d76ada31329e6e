// The line coder: `code` passes record lines through unchanged; `decode` reads coded text back.

#include "app/main_window.h"

#include "runtime/numbers.h"
#include "runtime/run_time_error.h"
#include "runtime/windows1252.h"

namespace desk {

QString MainWindow::code(const QString& aLine, const Value& codeNbr)
{
    Q_UNUSED(codeNbr);
    return aLine;
}

// No command reaches this; kept on purpose as a complete operation of the window: the reading
// direction for text coded with a coding number.
QString MainWindow::decode(const QString& aLine, const Value& codeNbr)
{
    // The arithmetic is done in the number type the coding number holds.
    auto minusCodeNbr = [&](int k) -> double {
        if (codeNbr.isSingle())
            return double(float(k) - float(codeNbr.toNumber()));
        return double(k) - codeNbr.toNumber();
    };
    auto character = [](double code) {
        const double rounded = roundHalfEven(code);
        if (rounded < 0 || rounded > 255)
            throw RunTimeError(err::InvalidProcedureCall,
                               QStringLiteral("character code %1").arg(rounded));
        return windows1252::fromCode(int(rounded));
    };

    QString result;
    const qsizetype n = aLine.size();
    for (qsizetype i = 0; i < n; ++i) {
        const auto k = windows1252::codeOf(aLine[i]);
        if (!k)
            throw RunTimeError(err::InvalidProcedureCall, QStringLiteral("not a coded character"));
        if (*k == 32)
            result += u' ';
        else if (*k < 66)
            result += character(minusCodeNbr(*k + 209));
        else if (*k > 118)
            result += character(minusCodeNbr(*k) - 100);
    }
    return result;
}

} // namespace desk
