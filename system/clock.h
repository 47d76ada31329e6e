#pragma once
// The clock, behind an interface that tests replace.

#include <QString>

namespace desk {

class Clock {
public:
    virtual ~Clock() = default;
    virtual QString date() = 0;                // mm-dd-yyyy
    virtual QString time() = 0;                // hh:mm:ss, 24-hour clock
    virtual double secondsSinceMidnight() = 0; // with its fraction
};

class SystemClock : public Clock {
public:
    QString date() override;
    QString time() override;
    double secondsSinceMidnight() override;
};

} // namespace desk
