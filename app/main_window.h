#pragma once
// The main window of Assignment Desk.
//
// The window is the whole program: it owns the program state and every operation, and each
// control event runs one handler named after the control and the event (cmd_quit_Click).
// Handlers run through one dispatcher (runtime/handler_dispatcher.h), so no exception reaches
// Qt's event loop; what the student is told when one fails is in app/error_policy.cpp.
//
// The operations are defined in the folder of their subsystem, one file per concern:
//   app/       construction and event wiring, the end of the program (main_window.cpp); the
//              controls (window_controls.cpp); the error policy; start-up (Form_Load, setUpProgram)
//   bank/      the compiled-in question bank, assignment opening, the question cursor,
//              the next-question and next-picture commands with the routine lines
//   records/   "Enter Response", "Save as Notes" and the text views
//   coding/    the line coder, the code line and the query file conversion
//   pictures/  "copy picture" and the "pend exp" timer
// Below them: runtime/ (values, numbers, run-time errors), system/ (files, paths, clock, random
// numbers), storage/ (the record files' channels, lock, journal and transaction) and widgets/
// (the text box, the buttons, the dialogs). The dialogs, the clock, the random numbers and the
// host paths are handed in, so tests can replace them.

#include "app/program_state.h"
#include "runtime/handler_dispatcher.h"
#include "storage/file_channels.h"
#include "system/host_paths.h"

#include <QStringList>
#include <QWidget>

#include <array>
#include <chrono>
#include <functional>
#include <initializer_list>
#include <optional>

class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QTimer;

namespace desk {

class Clock;
class Dialogs;
class PictureBox;
class RandomSource;
struct RecordSetPaths;
class StatusAnnouncer;
class TextBox;
enum class TrappedProcedure;
enum class UnrecordedText;

struct PlatformServices {
    Dialogs& dialogs;
    Clock& clock;
    RandomSource& random;
    HostPaths paths;
};

class MainWindow : public QWidget {
    Q_OBJECT

public:
    explicit MainWindow(PlatformServices services, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Runs the Load handler. The caller shows the window afterwards unless the program ended.
    void load();
    bool hasEnded() const { return dispatcher_.hasEnded(); }

    ProgramState& state() { return state_; }
    const ProgramState& state() const { return state_; }
    FileChannels& files() { return files_; }
    // The lock and the rollback journal of the student's record files, beside them.
    RecordSetPaths recordSetPaths() const;
    // How long a record waits for another copy of the program to finish its own.
    void setRecordLockWait(std::chrono::milliseconds wait) { recordLockWait_ = wait; }

    // Runs a handler as an event would: through the dispatcher, under the error policy. Returns
    // whether it ran to its end.
    bool runHandler(void (MainWindow::*handler)());

    // Event handlers.
    void Form_Load();
    void cmdNextQuestion_Click();
    void cmd_next_picture_Click();
    void cmd_enter_response_Click();
    void cmd_save_as_notes_Click();
    void cmd_display_note_file_Click();
    void cmd_displayCumulativeText_Click();
    void cmd_clear_answer_box_Click();
    void cmd_copy_picture_Click();
    void cmd_pend_exp_Click();
    void tmr_pend_exp_Timer();
    void cmd_quit_Click();

    // Procedures and methods (public so that tests can call them one by one).
    void setUpProgram();
    void loadQuestionBank();
    void openAssignment();
    void readNextQuestion();
    QString nextSentence(const QString& line);
    QString remSpaces(const QString& text);
    void runRoutine(const QString& routine);
    QString code(const QString& aLine, const Value& codeNbr);
    QString decode(const QString& aLine, const Value& codeNbr);
    QString makeCodeLine(const Value& codeNbr);
    void codeFile();

    // The controls, in the order they are created.
    QPushButton* cmd_clear_answer_box;
    QPushButton* cmd_copy_picture;
    QPushButton* cmd_next_picture;
    QTimer* tmr_pend_exp;
    QPushButton* cmd_pend_exp;
    QPushButton* cmd_quit;
    QPushButton* cmd_display_note_file;
    QPushButton* cmd_displayCumulativeText;
    std::array<QLineEdit*, 4> txt_parameter;
    QListWidget* List1;
    QPushButton* cmd_timerTrigger;
    QLineEdit* txt_paragraph_goback;
    QPushButton* cmd_Make_Paragraph_question;
    QPushButton* cmd_Make_paragraph;
    QPushButton* cmd_save_as_notes;
    PictureBox* Picture2;
    PictureBox* Picture1;
    QPushButton* cmd_enter_response;
    QPushButton* cmdNextQuestion;
    TextBox* txt_answer;
    TextBox* txt_question;
    QLabel* lbl_only_if_prompted;
    std::array<QLabel*, 4> lbl_parameter;
    QLabel* lbl_paragraph_goback;

Q_SIGNALS:
    // Emitted once when the program ends; the application quits on it.
    void programEnded();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void createControls();
    // Accessible names and descriptions, and the labels' buddies, for screen readers.
    void nameForScreenReaders();
    void wireEvents();

    // The end of the program. Quitting, the close button, the cursor reaching the next
    // assignment's header or the end line, a routine line that ends the program and an
    // assignment not in the bank (or numbered above 100) all call endProgram. It throws ProgramEnd, which unwinds the
    // running handler at once (no error trap catches it) up to the dispatcher; `dispatch` then
    // closes every file, stops the timer, hides the window and emits programEnded, on which the
    // application quits. No handler runs after that.
    [[noreturn]] void endProgram();
    // Runs a handler through the dispatcher, reporting what stops it with `report`, and carries
    // out the end of the program if the handler ended it.
    bool dispatch(const std::function<void()>& handler, const HandlerDispatcher::Report& report);
    // The timer's tick, under the error policy.
    void runTick();
    // What a handler without a trap of its own shows for an error that stopped it.
    void reportUntrapped(const RunTimeError& error);
    // Runs the steps of a procedure that arms the error trap, and does what follows the trap.
    void trapErrors(TrappedProcedure procedure, const std::function<void()>& steps);

    // The question-bank slot that `index` names (error 9 outside 0..5000).
    std::size_t slotOf(const Value& index) const;

    // The header lines of this run's assignment opening, until they are in the files.
    struct HeaderLines {
        QStringList master;
        QStringList send;
    };
    // The steps of assignment opening.
    QString findAssignmentHeader();
    HeaderLines headerLines(const QString& assignmentHeader);
    void createMasterFile();
    void takeStartQuestion();

    // Asks a start-up question until `problem` finds nothing wrong with the answer, showing
    // what it finds each time.
    QString askUntilHeld(const QString& prompt,
                         const std::function<QString(const QString&)>& problem);
    // Why the file system would refuse the record files' names for this name, or the empty text.
    QString fileNameProblem(const QString& name) const;
    // Writes one record to the files of `channels` (1 master, 2 send, 3 notes) under their lock:
    // opens them, puts the run's header in front where a file does not have it yet, has
    // `writeBlock` write the block's lines, and closes them, so every file gets it or none does.
    void writeRecord(std::initializer_list<int> channels, const std::function<void()>& writeBlock);
    // "Enter Response" and "Save as Notes": a record that fails keeps the student's text in the
    // answer box, and the next "Next Question / Answer" asks before it moves on without it.
    void recordStudentText(std::initializer_list<int> channels,
                           const std::function<void()>& writeBlock);
    // After a record reached every file: nothing is awaited, and the entry heads the transcript.
    void acknowledgeRecord(const QString& entry);
    void clearQuestionAndAnswer();
    // Before "Next Question / Answer" moves on from text in the answer box that is not recorded
    // (typed, refused, or perhaps in the files in part): whether the student lets it go
    // unrecorded (the box then shows the instructions), or stays with it. Empty or blank text,
    // or the instructions, go without a question.
    bool leaveUnrecordedText();
    // Tells a screen reader what a click did.
    void announce(const QString& message);
    // The newest note of the notes file's lines, as far as a screen reader reads it out at once.
    static QString newestNote(const QStringList& notesFileLines);
    QString hostPath(const QString& programPath) const
    {
        return services_.paths.toHost(programPath);
    }

    PlatformServices services_;
    ProgramState state_;
    FileChannels files_;
    HandlerDispatcher dispatcher_;
    bool tickErrorShown_ = false;

    // This run's header, made by assignment opening, and whether a record put it in the files.
    std::optional<HeaderLines> header_;
    bool headerInFiles_ = false;
    // Other users' journals the student has been told of, once each.
    QStringList otherUsersJournalsNamed_;
    // What the text in the answer box is, as far as the records go: typed and not yet tried, or
    // kept after a record that failed.
    UnrecordedText answerText_;
    // The student chose to go on and leave a text unrecorded during this run.
    bool textLeftUnrecorded_ = false;
    // The record being written reached its files' writing (it may be in them in part).
    bool recordReachedFiles_ = false;
    std::chrono::milliseconds recordLockWait_;
    StatusAnnouncer* announcer_ = nullptr;
};

} // namespace desk
