#include "app/main_window.h"

#include "app/program_icon.h"
#include "app/student_texts.h"
#include "storage/record_transaction.h"
#include "widgets/accessible_roles.h"
#include "widgets/status_announcer.h"

#include <QCloseEvent>
#include <QPushButton>
#include <QTimer>

namespace desk {

MainWindow::MainWindow(PlatformServices services, QWidget* parent)
    : QWidget(parent)
    , services_(std::move(services))
    , answerText_(UnrecordedText::Typed)
    , recordLockWait_(recordLockWait)
{
    // The window has the same name as its "pend exp" button. It looks like a slip and is not:
    // tools that drive the program by object name rely on it. The two stay distinct objects; a
    // search among the window's children finds the button, never the window.
    setObjectName(QStringLiteral("cmd_pend_exp"));
    setWindowTitle(QStringLiteral("Form1"));
    setWindowIcon(programIcon());
    // A window, not a filler, to a screen reader.
    setAccessibleRole(staticMetaObject.className(), QAccessible::Window);
    setAccessibleDescription(QStringLiteral("Assignment Desk: work through an assignment of "
                                            "physics problems one paragraph at a time and "
                                            "record your answers and notes for the instructor"));
    createControls();
    announcer_ = new StatusAnnouncer(this);
    wireEvents();
}

MainWindow::~MainWindow() = default;

void MainWindow::wireEvents()
{
    const std::pair<QPushButton*, void (MainWindow::*)()> clicks[] = {
        {cmdNextQuestion, &MainWindow::cmdNextQuestion_Click},
        {cmd_next_picture, &MainWindow::cmd_next_picture_Click},
        {cmd_enter_response, &MainWindow::cmd_enter_response_Click},
        {cmd_save_as_notes, &MainWindow::cmd_save_as_notes_Click},
        {cmd_display_note_file, &MainWindow::cmd_display_note_file_Click},
        {cmd_displayCumulativeText, &MainWindow::cmd_displayCumulativeText_Click},
        {cmd_clear_answer_box, &MainWindow::cmd_clear_answer_box_Click},
        {cmd_copy_picture, &MainWindow::cmd_copy_picture_Click},
        {cmd_pend_exp, &MainWindow::cmd_pend_exp_Click},
        {cmd_quit, &MainWindow::cmd_quit_Click},
    };
    for (auto [control, handler] : clicks)
        connect(control, &QPushButton::clicked, this,
                [this, handler = handler] { runHandler(handler); });
    connect(tmr_pend_exp, &QTimer::timeout, this, [this] { runTick(); });
}

void MainWindow::announce(const QString& message)
{
    announcer_->announce(message);
}

void MainWindow::load()
{
    runHandler(&MainWindow::Form_Load);
}

void MainWindow::endProgram()
{
    throw ProgramEnd{};
}

bool MainWindow::dispatch(const std::function<void()>& handler,
                          const HandlerDispatcher::Report& report)
{
    const HandlerOutcome outcome = dispatcher_.run(handler, report);
    if (outcome == HandlerOutcome::EndedProgram) {
        files_.closeAll();
        tmr_pend_exp->stop();
        hide();
        Q_EMIT programEnded();
    }
    return outcome == HandlerOutcome::Completed;
}

void MainWindow::cmd_quit_Click()
{
    endProgram();
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    // The close button ends the program like "quit program": nothing is asked or written.
    if (!hasEnded())
        runHandler(&MainWindow::cmd_quit_Click);
    event->accept();
}

} // namespace desk
