#pragma once
// Test doubles for the platform services and a window fixture with a temporary drive root.

#include "app/main_window.h"
#include "system/clock.h"
#include "system/random_source.h"
#include "widgets/dialogs.h"

#include <QByteArray>
#include <QStringList>
#include <QTemporaryDir>

#include <deque>
#include <memory>
#include <optional>

namespace desk::testing {

// Answers input boxes and Yes/No questions from queues, in order (No once the queue is empty, as
// when the box is closed), and records every prompt, message, question and beep.
class ScriptedDialogs : public Dialogs {
public:
    QString inputBox(const QString& prompt) override;
    void messageBox(const QString& text) override;
    bool askYesNo(const QString& question) override;
    void beep() override;

    std::deque<QString> answers;
    std::deque<bool> yesNo;
    QStringList prompts;
    QStringList messages;
    QStringList questions;
    int beeps = 0;
    // When set, every beep raises this run-time error: a platform that cannot beep.
    int beepError = 0;
};

// A clock that shows a set date and time; each read can be counted.
class FixedClock : public Clock {
public:
    QString date() override
    {
        ++dateReads;
        return dates.size() > 1 ? takeFirst(dates) : dates.front();
    }
    QString time() override
    {
        ++timeReads;
        return times.size() > 1 ? takeFirst(times) : times.front();
    }
    double secondsSinceMidnight() override { return seconds; }

    // When more than one value is queued, each read takes the next one.
    std::deque<QString> dates{QStringLiteral("01-05-2026")};
    std::deque<QString> times{QStringLiteral("14:03:27")};
    double seconds = 50607.25;
    int dateReads = 0;
    int timeReads = 0;

private:
    static QString takeFirst(std::deque<QString>& q)
    {
        QString v = q.front();
        q.pop_front();
        return v;
    }
};

// Gives numbers from a script; when the script is used up, a fixed fallback.
class ScriptedRandom : public RandomSource {
public:
    void seed(double value) override { seeds.push_back(value); }
    float next() override;

    std::deque<float> script;
    float fallback = 0.5f;
    std::vector<double> seeds;
    int draws = 0;
};

// What a fixture's window is given instead of the fixture's own clock, random numbers and
// temporary folder: the program's real ones, or the drive root another process was told.
struct FixtureOptions {
    Clock* clock = nullptr;
    RandomSource* random = nullptr;
    QString root = QString(); // where drives c and mnt are made; a temporary folder when empty
};

// A main window on scripted services, with drive c in a temporary folder or the root given.
class WindowFixture {
    // First, so that the folder outlives the window.
    std::optional<QTemporaryDir> temporary_;
    QString root_;

public:
    WindowFixture()
        : WindowFixture(FixtureOptions{})
    {
    }
    explicit WindowFixture(const FixtureOptions& options);

    // Replaces the window by a new one on the same services and drive: a later run of the
    // program on the same computer.
    void replaceWindow();
    // Answers for the four start-up questions, then runs start-up alone, without opening the
    // assignment.
    void setUp(const QString& homeOrLan, const QString& name, const QString& initials,
               const QString& assignment);
    // Answers for the four start-up questions, then runs the Load handler.
    void start(const QString& homeOrLan, const QString& name, const QString& initials,
               const QString& assignment);
    // The host path of a program path such as "c:\lrnfiles\notes_Ann.txt".
    QString host(const QString& programPath) const;
    // The bytes of a file given by its program path (empty if missing).
    QByteArray bytes(const QString& programPath) const;
    QString driveC() const { return root_ + QStringLiteral("/c"); }
    // The folder that holds drive c and the other drives.
    const QString& root() const { return root_; }

    ScriptedDialogs dialogs;
    FixedClock clock;
    ScriptedRandom random;
    std::unique_ptr<MainWindow> window;

private:
    HostPaths hostPaths() const;

    Clock* clockInUse_;
    RandomSource* randomInUse_;
};

} // namespace desk::testing
