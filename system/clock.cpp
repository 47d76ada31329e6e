#include "system/clock.h"

#include <QDateTime>

namespace desk {

QString SystemClock::date()
{
    return QDate::currentDate().toString(QStringLiteral("MM-dd-yyyy"));
}

QString SystemClock::time()
{
    return QTime::currentTime().toString(QStringLiteral("HH:mm:ss"));
}

double SystemClock::secondsSinceMidnight()
{
    return QTime::currentTime().msecsSinceStartOfDay() / 1000.0;
}

} // namespace desk
