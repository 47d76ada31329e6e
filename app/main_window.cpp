#include "app/main_window.h"

#include "app/caption_button.h"
#include "app/program_icon.h"
#include "pictures/picture_box.h"
#include "platform/dialogs.h"
#include "platform/focus_frame.h"
#include "platform/text_box.h"

#include <QCloseEvent>
#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <map>

namespace desk {

namespace {

// Positions and sizes are given in twips; 15 twips make one pixel at 96 dots per inch.
int px(int twips)
{
    return qRound(twips / 15.0);
}

QRect twipsRect(int left, int top, int width, int height)
{
    return QRect(px(left), px(top), px(width), px(height));
}

// The controls' sizes were laid out for a Windows dialog font with Tahoma's metrics. Debian's
// fonts-wine has Wine's Tahoma, outside the fonts fontconfig knows, so the program loads it
// itself; at 7.75 points every caption fits its control. Without it, the narrowest sans-serif
// there is.
QFont controlFont()
{
    static const bool loaded = [] {
        const bool found = QFontDatabase::addApplicationFont(QStringLiteral("/usr/share/wine/fonts/tahoma.ttf")) >= 0;
        // The fallbacks cut "pend exp" (two lines in its small button).
        if (!found)
            qWarning("Tahoma (Debian package fonts-wine) is missing: some captions will be cut");
        return found;
    }();
    Q_UNUSED(loaded);
    QFont font;
    font.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("Liberation Sans Narrow"), QStringLiteral("DejaVu Sans Condensed")});
    font.setPointSizeF(7.75);
    return font;
}

} // namespace

MainWindow::MainWindow(PlatformServices services, QWidget* parent)
    : QWidget(parent)
    , services_(std::move(services))
    , dispatcher_(services_.dialogs, [this] { finishProgram(); })
{
    setObjectName(QStringLiteral("cmd_pend_exp"));
    setWindowTitle(QStringLiteral("Form1"));
    resize(px(10875), px(8595));
    setWindowIcon(programIcon());
    // The two text boxes have fonts of their own.
    setFont(controlFont());
    setAccessibleDescription(QStringLiteral(
        "Assignment Desk: work through an assignment of physics problems one paragraph at a time and "
        "record your answers and notes for the instructor"));
    createControls();
    wireEvents();
}

MainWindow::~MainWindow() = default;

void MainWindow::createControls()
{
    std::map<int, QWidget*> byTabIndex;
    auto place = [&](QWidget* control, const char* name, int left, int top, int width, int height, int tabIndex) {
        control->setObjectName(QString::fromLatin1(name));
        control->setGeometry(twipsRect(left, top, width, height));
        byTabIndex[tabIndex] = control;
    };
    auto button = [&](const char* name, const char* caption, int l, int t, int w, int h, int tabIndex) {
        auto* b = new CaptionButton(QString::fromLatin1(caption), this);
        b->setAutoDefault(false);
        place(b, name, l, t, w, h, tabIndex);
        return static_cast<QPushButton*>(b);
    };
    auto label = [&](const QString& name, const char* caption, int l, int t, int w, int h, int tabIndex) {
        auto* lbl = new QLabel(QString::fromLatin1(caption), this);
        // Only a caption too long for one line wraps.
        lbl->setWordWrap(QFontMetrics(font()).horizontalAdvance(lbl->text()) > px(w));
        lbl->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        place(lbl, name.toLatin1().constData(), l, t, w, h, tabIndex);
        return lbl;
    };
    auto lineBox = [&](const QString& name, int l, int t, int w, int h, int tabIndex) {
        auto* box = new QLineEdit(QStringLiteral("1"), this);
        place(box, name.toLatin1().constData(), l, t, w, h, tabIndex);
        return box;
    };
    auto textBox = [&](const char* name, const QString& text, int l, int t, int w, int h, int tabIndex) {
        auto* box = new WithFocusFrame<TextBox>(this);
        QFont font(QStringLiteral("Arial"));
        font.setPointSizeF(9.75);
        font.setWeight(QFont::Normal);
        box->setFont(font);
        box->setLineWrapMode(QPlainTextEdit::WidgetWidth);
        box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        box->setTabChangesFocus(true);
        box->setText(text);
        place(box, name, l, t, w, h, tabIndex);
        return box;
    };
    auto pictureBox = [&](const char* name, int l, int t, int w, int h, int tabIndex) {
        auto* box = new PictureBox(this);
        place(box, name, l, t, w, h, tabIndex);
        return box;
    };

    cmd_clear_answer_box = button("cmd_clear_answer_box", "clear box", 8280, 240, 855, 495, 28);
    cmd_copy_picture = button("cmd_copy_picture", "copy picture", 1200, 8160, 855, 495, 27);
    cmd_next_picture = button("cmd_next_picture", "next picture", 1200, 7560, 855, 495, 25);
    tmr_pend_exp = new QTimer(this);
    tmr_pend_exp->setObjectName(QStringLiteral("tmr_pend_exp"));
    tmr_pend_exp->setInterval(15);
    cmd_pend_exp = button("cmd_pend_exp", "pend exp", 8640, 7560, 495, 375, 24);
    cmd_quit = button("cmd_quit", "quit program", 10200, 0, 735, 495, 23);
    cmd_display_note_file = button("cmd_display_note_file", "display notes", 4440, 240, 975, 495, 22);
    cmd_displayCumulativeText = button("cmd_displayCumulativeText", "display everything", 3600, 240, 855, 495, 21);
    txt_parameter[3] = lineBox(QStringLiteral("txt_parameter_3"), 8205, 8160, 300, 285, 20);
    txt_parameter[2] = lineBox(QStringLiteral("txt_parameter_2"), 8205, 7680, 300, 285, 18);
    txt_parameter[1] = lineBox(QStringLiteral("txt_parameter_1"), 6720, 8160, 300, 285, 16);
    txt_parameter[0] = lineBox(QStringLiteral("txt_parameter_0"), 6720, 7680, 300, 285, 14);
    List1 = new WithFocusFrame<QListWidget>(this);
    place(List1, "List1", 3120, 7680, 1695, 840, 12);
    cmd_timerTrigger = button("cmd_timerTrigger", "Trigger Timer", 2400, 7560, 735, 495, 11);
    txt_paragraph_goback = lineBox(QStringLiteral("txt_paragraph_goback"), 3120, 240, 495, 495, 9);
    cmd_Make_Paragraph_question = button("cmd_Make_Paragraph_question", "Make Paragraph", 1200, 240, 855, 495, 8);
    cmd_Make_paragraph = button("cmd_Make_paragraph", "Make Paragraph", 7320, 240, 975, 495, 7);
    cmd_save_as_notes = button("cmd_save_as_notes", "Save as Notes", 6480, 240, 855, 495, 6);
    Picture2 = pictureBox("Picture2", 5640, 6080, 5055, 1375, 5);
    Picture1 = pictureBox("Picture1", 240, 6080, 5175, 1375, 4);
    cmd_enter_response = button("cmd_enter_response", "Enter Response", 5640, 240, 855, 495, 3);
    cmdNextQuestion = button("cmdNextQuestion", "Next Question / Answer", 240, 0, 975, 735, 2);
    txt_answer = textBox("txt_answer", QStringLiteral(" "), 5640, 720, 5055, 5255, 1);
    txt_question = textBox("txt_question", QString(), 240, 720, 5175, 5255, 0);
    lbl_only_if_prompted = label(QStringLiteral("lbl_only_if_prompted"), "click only if prompted", 240, 7560, 855, 495, 26);
    lbl_parameter[3] = label(QStringLiteral("lbl_parameter_3"), "Parameter 4", 7200, 8160, 900, 195, 19);
    lbl_parameter[2] = label(QStringLiteral("lbl_parameter_2"), "Parameter 3", 7200, 7680, 1005, 195, 17);
    lbl_parameter[1] = label(QStringLiteral("lbl_parameter_1"), "Parameter 2", 5640, 8160, 855, 195, 15);
    lbl_parameter[0] = label(QStringLiteral("lbl_parameter_0"), "Parameter 1", 5640, 7680, 900, 195, 13);
    lbl_paragraph_goback = label(QStringLiteral("lbl_paragraph_goback"), "# sentences previous", 2160, 240, 1095, 495, 10);

    nameForScreenReaders();

    // Keyboard order: by tab index, skipping what cannot take the focus (the labels).
    QWidget* previous = nullptr;
    for (auto& [index, control] : byTabIndex) {
        if (control->focusPolicy() == Qt::NoFocus)
            continue;
        if (previous)
            setTabOrder(previous, control);
        previous = control;
    }
    // When the window is shown the focus goes to the first control in tab order.
    txt_question->setFocus();
}

void MainWindow::nameForScreenReaders()
{
    // The buttons are named by their captions; the boxes by what they hold, in the student's words.
    txt_question->setAccessibleName(QStringLiteral("Questions: the paragraphs of the assignment"));
    txt_answer->setAccessibleName(QStringLiteral("Your answer"));
    txt_answer->setAccessibleDescription(QStringLiteral("An answer, a critique, notes or just OK, to record with "
                                                        "Enter Response or Save as Notes"));
    Picture1->setAccessibleName(QStringLiteral("Left picture"));
    Picture2->setAccessibleName(QStringLiteral("Right picture"));
    for (std::size_t i = 0; i < txt_parameter.size(); ++i) {
        lbl_parameter[i]->setBuddy(txt_parameter[i]);
        txt_parameter[i]->setAccessibleName(lbl_parameter[i]->text());
    }
    lbl_paragraph_goback->setBuddy(txt_paragraph_goback);
    txt_paragraph_goback->setAccessibleName(lbl_paragraph_goback->text());
    List1->setAccessibleName(QStringLiteral("List"));
    lbl_only_if_prompted->setBuddy(cmd_next_picture);
    cmd_next_picture->setAccessibleDescription(lbl_only_if_prompted->text());
}

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
        connect(control, &QPushButton::clicked, this, [this, handler = handler] { runHandler(handler); });
    connect(tmr_pend_exp, &QTimer::timeout, this, [this] { runTick(); });
}

bool MainWindow::runHandler(void (MainWindow::*handler)())
{
    return dispatcher_.run([this, handler] { (this->*handler)(); });
}

void MainWindow::runTick()
{
    // A failing tick is reported once, not 67 times a second.
    dispatcher_.run([this] {
        try {
            tmr_pend_exp_Timer();
        } catch (const ProgramEnd&) {
            throw;
        } catch (...) {
            if (tickErrorShown_)
                return;
            tickErrorShown_ = true;
            throw;
        }
    });
}

void MainWindow::load()
{
    runHandler(&MainWindow::Form_Load);
}

void MainWindow::endProgram()
{
    endProgramNow();
}

void MainWindow::finishProgram()
{
    files_.closeAll();
    tmr_pend_exp->stop();
    hide();
    Q_EMIT programEnded();
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

QString MainWindow::textOf(const TextBox* box) const
{
    return box->text();
}

void MainWindow::setTextOf(TextBox* box, const QString& text)
{
    box->setText(text);
}

void MainWindow::appendTo(TextBox* box, const QString& text)
{
    box->append(text);
}

} // namespace desk
