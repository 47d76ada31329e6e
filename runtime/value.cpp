#include "runtime/value.h"

#include "runtime/numbers.h"
#include "runtime/run_time_error.h"

#include <limits>

namespace desk {

double Value::toNumber() const
{
    if (auto* n = std::get_if<qint32>(&v_))
        return *n;
    if (auto* f = std::get_if<float>(&v_))
        return *f;
    if (auto* t = std::get_if<QString>(&v_))
        return readAsNumber(*t);
    return 0;
}

bool Value::equalsNumber(double number) const
{
    if (auto* t = std::get_if<QString>(&v_)) {
        try {
            return readAsNumber(*t) == number;
        } catch (const RunTimeError&) {
            return false;
        }
    }
    return toNumber() == number;
}

qint32 Value::toWhole() const
{
    if (auto* n = std::get_if<qint32>(&v_))
        return *n;
    const double rounded = roundHalfEven(toNumber());
    if (rounded < std::numeric_limits<qint32>::min()
        || rounded > std::numeric_limits<qint32>::max())
        throw RunTimeError(err::Overflow);
    return qint32(rounded);
}

QString Value::toText() const
{
    if (auto* t = std::get_if<QString>(&v_))
        return *t;
    if (isEmpty())
        return QString();
    // A single-precision number shows the 7 digits it holds.
    return decimalText(toNumber(), isSingle() ? 7 : 15);
}

Value Value::plus(qint32 amount) const
{
    if (isEmpty() || isWhole()) {
        qint32 sum = 0;
        if (__builtin_add_overflow(isEmpty() ? 0 : std::get<qint32>(v_), amount, &sum))
            throw RunTimeError(err::Overflow);
        return whole(sum);
    }
    return single(float(toNumber() + amount));
}

} // namespace desk
