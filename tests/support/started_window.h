#pragma once
// A main window started the usual way (Ann Lee at home, assignment 1), and what the tests do
// with it over and over: put their own lines in the question bank, type into and read the two
// text boxes, read the record files past the header written at start-up, and check that no
// record channel was left open.

#include "app/main_window.h"
#include "support/expected_texts.h"
#include "support/scripted_services.h"
#include "widgets/text_box.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTest>

#include <algorithm>
#include <array>

namespace desk::testing {

// Starts the program at home for Ann Lee (initials AJL) on assignment 1, the compiled-in
// assignment; false when it did not stay running, for the caller's QVERIFY.
[[nodiscard]] inline bool startAssignmentOne(WindowFixture& fixture)
{
    fixture.start(QStringLiteral("1"), QStringLiteral("Ann Lee"), QStringLiteral("AJL"),
                  QStringLiteral("1"));
    return !fixture.window->hasEnded();
}

// Replaces the bank by `lines` from slot 1 on and puts the cursor on slot 1 (the header).
inline void useBank(WindowFixture& fixture, const QStringList& lines)
{
    ProgramState& s = fixture.window->state();
    std::fill(s.questionBank.begin(), s.questionBank.end(), QString());
    for (qsizetype i = 0; i < lines.size(); ++i)
        s.questionBank[size_t(i + 1)] = lines[i];
    s.bankIndex = Value::whole(1);
}

// Whether any of the channels of the master, send and notes files (1 to 3) is open.
inline bool anyChannelOpen(MainWindow& window)
{
    FileChannels& files = window.files();
    return files.isOpen(1) || files.isOpen(2) || files.isOpen(3);
}

// A started window for Ann Lee, assignment 001, with the header already in the master and
// send files. The record helpers read the files as they stand on the drive. A test checks ok()
// first: a constructor cannot stop it.
struct StartedWindow {
    StartedWindow()
    {
        started = startAssignmentOne(f);
        masterHeader = master().size();
        sendHeader = send().size();
    }

    // Whether the program started and stayed running.
    bool ok() const { return started; }

    MainWindow& w() { return *f.window; }
    ProgramState& s() { return f.window->state(); }

    QString masterPath() const { return f.host(f.window->state().masterFileName); }
    QString sendPath() const { return f.host(f.window->state().sendFileName); }
    QString notesPath() const { return f.host(f.window->state().notesFileName); }
    QByteArray master() const { return fileState(masterPath()); }
    QByteArray send() const { return fileState(sendPath()); }
    QByteArray notes() const { return fileState(notesPath()); }
    // What was written to the file after the header.
    QByteArray masterRecords() const { return master().mid(masterHeader); }
    QByteArray sendRecords() const { return send().mid(sendHeader); }

    void answer(const QString& text) { f.window->txt_answer->setText(text); }
    void question(const QString& text) { f.window->txt_question->setText(text); }
    QString answerBox() const { return f.window->txt_answer->text(); }
    QString questionBox() const { return f.window->txt_question->text(); }

    // A paragraph shown and waiting for its answer, and `text` typed: where a record command
    // starts. The transcript so far is "older" and the work text "work"; the files as they stand
    // are noted for checkNothingLost.
    void typeAnswerTo(const QString& line, const QString& text)
    {
        s().currentLine = line;
        s().awaitingResponse = Value::truth(true);
        s().workText = QStringLiteral("work");
        s().cumulativeText = QStringLiteral("older");
        question(line);
        answer(text);
        typedLine = line;
        typedAnswer = text;
        filesBefore = {master(), send(), notes()};
    }
    // After a refused record: every file, both boxes and the state as typeAnswerTo left them,
    // and no channel left open. A test's last check, as a failure here returns from here alone.
    void checkNothingLost()
    {
        QCOMPARE(master(), filesBefore[0]);
        QCOMPARE(send(), filesBefore[1]);
        QCOMPARE(notes(), filesBefore[2]);
        QCOMPARE(questionBox(), typedLine);
        QCOMPARE(answerBox(), typedAnswer);
        QVERIFY(s().awaitingResponse == Value::truth(true));
        QCOMPARE(s().workText, QStringLiteral("work"));
        QCOMPARE(s().cumulativeText, QStringLiteral("older"));
        QVERIFY(!anyChannelOpen());
    }

    // Runs a handler as a click would; false when it did not run to its end.
    bool click(void (MainWindow::*handler)()) { return f.window->runHandler(handler); }
    bool anyChannelOpen() { return testing::anyChannelOpen(*f.window); }

    WindowFixture f;
    bool started = false;
    qsizetype masterHeader = 0;
    qsizetype sendHeader = 0;
    QString typedLine, typedAnswer;
    std::array<QByteArray, 3> filesBefore; // the master, send and notes files at typeAnswerTo
};

} // namespace desk::testing
