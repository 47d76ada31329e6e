// The window's controls: where each stands, its caption, its place in the keyboard order and
// what a screen reader calls it.

#include "app/main_window.h"

#include "widgets/caption_button.h"
#include "widgets/focus_frame.h"
#include "widgets/picture_box.h"
#include "widgets/text_box.h"

#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTimer>

#include <map>

namespace desk {

namespace {

// Positions and sizes are given in twips; 15 twips make one pixel at 96 dots per inch.
int px(int twips)
{
    return qRound(twips / 15.0);
}

struct Twips {
    int left, top, width, height;
};

// Makes each kind of control as the window has it, at its place, and keeps the keyboard order.
class ControlPlacer {
public:
    explicit ControlPlacer(QWidget& window)
        : window_(window)
    {
    }

    QPushButton* button(const char* name, const char* caption, Twips at, int tabIndex)
    {
        auto* b = new CaptionButton(QString::fromLatin1(caption), &window_);
        // Return clicks the button that has the focus, never a default one elsewhere.
        b->setAutoDefault(false);
        return place(b, name, at, tabIndex);
    }

    QLabel* label(const char* name, const char* caption, Twips at, int tabIndex)
    {
        auto* lbl = new QLabel(QString::fromLatin1(caption), &window_);
        // Only a caption too long for one line wraps.
        lbl->setWordWrap(QFontMetrics(window_.font()).horizontalAdvance(lbl->text())
                         > px(at.width));
        lbl->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        return place(lbl, name, at, tabIndex);
    }

    QLineEdit* lineBox(const char* name, Twips at, int tabIndex)
    {
        return place(new QLineEdit(QStringLiteral("1"), &window_), name, at, tabIndex);
    }

    TextBox* textBox(const char* name, const QString& text, Twips at, int tabIndex)
    {
        auto* box = new WithFocusFrame<TextBox>(&window_);
        // On Debian fontconfig gives Liberation Sans for Arial: the same widths, so the text wraps
        // where it does under Arial.
        QFont font(QStringLiteral("Arial"));
        font.setPointSizeF(9.75);
        font.setWeight(QFont::Normal);
        box->setFont(font);
        box->setLineWrapMode(QPlainTextEdit::WidgetWidth);
        box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        box->setTabChangesFocus(true);
        box->setText(text);
        return place(box, name, at, tabIndex);
    }

    QListWidget* listBox(const char* name, Twips at, int tabIndex)
    {
        return place(new WithFocusFrame<QListWidget>(&window_), name, at, tabIndex);
    }

    PictureBox* pictureBox(const char* name, Twips at, int tabIndex)
    {
        return place(new PictureBox(&window_), name, at, tabIndex);
    }

    // Keyboard order: by tab index, skipping what cannot take the focus (the labels).
    void setTabOrder()
    {
        QWidget* previous = nullptr;
        for (auto& [index, control] : byTabIndex_) {
            if (control->focusPolicy() == Qt::NoFocus)
                continue;
            if (previous)
                QWidget::setTabOrder(previous, control);
            previous = control;
        }
    }

private:
    template<typename Control>
    Control* place(Control* control, const char* name, Twips at, int tabIndex)
    {
        control->setObjectName(QString::fromLatin1(name));
        control->setGeometry(px(at.left), px(at.top), px(at.width), px(at.height));
        byTabIndex_[tabIndex] = control;
        return control;
    }

    QWidget& window_;
    std::map<int, QWidget*> byTabIndex_;
};

// The controls' sizes fit a Windows dialog font with Tahoma's metrics. Debian's
// fonts-wine has Wine's Tahoma, outside the fonts fontconfig knows, so the program loads it
// itself; at 7.75 points every caption fits its control. Without it, the narrowest sans-serif
// there is: every caption still fits, narrower or taller.
QFont controlFont()
{
    static const bool loaded = [] {
        const bool found =
            QFontDatabase::addApplicationFont(QStringLiteral("/usr/share/wine/fonts/tahoma.ttf"))
            >= 0;
        if (!found)
            qWarning(
                "Tahoma (Debian package fonts-wine) is missing: the captions are in a narrower "
                "fallback font, and may look different from the screenshot in the README");
        return found;
    }();
    Q_UNUSED(loaded);
    QFont font;
    font.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("Liberation Sans Narrow"),
                      QStringLiteral("DejaVu Sans Condensed")});
    font.setPointSizeF(7.75);
    return font;
}

} // namespace

void MainWindow::createControls()
{
    resize(px(10875), px(8595));
    // The two text boxes have fonts of their own.
    setFont(controlFont());

    // Made in this order, whatever their kind: a later control lies above an earlier one where
    // they overlap ("# sentences previous" over its box), and screen readers list them so.
    ControlPlacer make(*this);
    cmd_clear_answer_box =
        make.button("cmd_clear_answer_box", "clear box", {8280, 240, 855, 495}, 28);
    cmd_copy_picture = make.button("cmd_copy_picture", "copy picture", {1200, 8160, 855, 495}, 27);
    cmd_next_picture = make.button("cmd_next_picture", "next picture", {1200, 7560, 855, 495}, 25);
    tmr_pend_exp = new QTimer(this);
    tmr_pend_exp->setObjectName(QStringLiteral("tmr_pend_exp"));
    tmr_pend_exp->setInterval(15);
    cmd_pend_exp = make.button("cmd_pend_exp", "pend exp", {8640, 7560, 495, 375}, 24);
    cmd_quit = make.button("cmd_quit", "quit program", {10200, 0, 735, 495}, 23);
    cmd_display_note_file =
        make.button("cmd_display_note_file", "display notes", {4440, 240, 975, 495}, 22);
    cmd_displayCumulativeText =
        make.button("cmd_displayCumulativeText", "display everything", {3600, 240, 855, 495}, 21);
    txt_parameter[3] = make.lineBox("txt_parameter_3", {8205, 8160, 300, 285}, 20);
    txt_parameter[2] = make.lineBox("txt_parameter_2", {8205, 7680, 300, 285}, 18);
    txt_parameter[1] = make.lineBox("txt_parameter_1", {6720, 8160, 300, 285}, 16);
    txt_parameter[0] = make.lineBox("txt_parameter_0", {6720, 7680, 300, 285}, 14);
    List1 = make.listBox("List1", {3120, 7680, 1695, 840}, 12);
    cmd_timerTrigger = make.button("cmd_timerTrigger", "Trigger Timer", {2400, 7560, 735, 495}, 11);
    txt_paragraph_goback = make.lineBox("txt_paragraph_goback", {3120, 240, 495, 495}, 9);
    cmd_Make_Paragraph_question =
        make.button("cmd_Make_Paragraph_question", "Make Paragraph", {1200, 240, 855, 495}, 8);
    cmd_Make_paragraph =
        make.button("cmd_Make_paragraph", "Make Paragraph", {7320, 240, 975, 495}, 7);
    cmd_save_as_notes = make.button("cmd_save_as_notes", "Save as Notes", {6480, 240, 855, 495}, 6);
    Picture2 = make.pictureBox("Picture2", {5640, 6080, 5055, 1375}, 5);
    Picture1 = make.pictureBox("Picture1", {240, 6080, 5175, 1375}, 4);
    cmd_enter_response =
        make.button("cmd_enter_response", "Enter Response", {5640, 240, 855, 495}, 3);
    cmdNextQuestion =
        make.button("cmdNextQuestion", "Next Question / Answer", {240, 0, 975, 735}, 2);
    txt_answer = make.textBox("txt_answer", QStringLiteral(" "), {5640, 720, 5055, 5255}, 1);
    txt_question = make.textBox("txt_question", QString(), {240, 720, 5175, 5255}, 0);
    lbl_only_if_prompted =
        make.label("lbl_only_if_prompted", "click only if prompted", {240, 7560, 855, 495}, 26);
    lbl_parameter[3] = make.label("lbl_parameter_3", "Parameter 4", {7200, 8160, 900, 195}, 19);
    lbl_parameter[2] = make.label("lbl_parameter_2", "Parameter 3", {7200, 7680, 1005, 195}, 17);
    lbl_parameter[1] = make.label("lbl_parameter_1", "Parameter 2", {5640, 8160, 855, 195}, 15);
    lbl_parameter[0] = make.label("lbl_parameter_0", "Parameter 1", {5640, 7680, 900, 195}, 13);
    lbl_paragraph_goback =
        make.label("lbl_paragraph_goback", "# sentences previous", {2160, 240, 1095, 495}, 10);
    make.setTabOrder();

    nameForScreenReaders();
    // When the window is shown the focus goes to the first control in tab order.
    txt_question->setFocus();
}

void MainWindow::nameForScreenReaders()
{
    // The buttons are named by their captions; the boxes by what they hold, in the student's words.
    txt_question->setAccessibleName(QStringLiteral("Questions: the paragraphs of the assignment"));
    txt_answer->setAccessibleName(QStringLiteral("Your answer"));
    txt_answer->setAccessibleDescription(
        QStringLiteral("An answer, a critique, notes or just OK, to record with "
                       "Enter Response or Save as Notes"));
    Picture1->setAccessibleName(QStringLiteral("Left picture"));
    Picture1->setAccessibleDescription(QStringLiteral(
        "The assignment's picture, where pend exp draws its circles; copy picture copies it to "
        "the right picture"));
    Picture2->setAccessibleName(QStringLiteral("Right picture"));
    Picture2->setAccessibleDescription(
        QStringLiteral("Shows the left picture once copy picture has copied it"));
    cmd_pend_exp->setAccessibleDescription(QStringLiteral(
        "Starts a timer that beeps and draws circles in the left picture until the program ends"));
    // The working commands have keyboard shortcuts, which a screen reader reports with the
    // button; the captions stay as they are.
    const struct {
        QPushButton* button;
        QKeyCombination key;
        const char* does;
    } commands[] = {
        {cmdNextQuestion, Qt::ALT | Qt::Key_N,
         "Adds the next paragraph of the assignment to the questions box"},
        {cmd_enter_response, Qt::ALT | Qt::Key_E,
         "Records what you typed in your answer box as your answer to the paragraph"},
        {cmd_save_as_notes, Qt::ALT | Qt::Key_S,
         "Records what you typed in your answer box as a note, in your notes file too"},
        {cmd_display_note_file, Qt::ALT | Qt::Key_D, "Adds your notes file to the questions box"},
        {cmd_displayCumulativeText, Qt::ALT | Qt::Key_V,
         "Shows everything shown and recorded this run in the questions box, newest first"},
        {cmd_clear_answer_box, Qt::ALT | Qt::Key_C, "Empties your answer box"},
        {cmd_quit, Qt::ALT | Qt::Key_Q,
         "Ends the program; everything recorded is already in your record files"},
    };
    for (const auto& command : commands) {
        command.button->setShortcut(QKeySequence(command.key));
        command.button->setAccessibleDescription(
            QString::fromLatin1(command.does) + QStringLiteral(". Shortcut: ")
            + command.button->shortcut().toString(QKeySequence::NativeText));
    }
    for (std::size_t i = 0; i < txt_parameter.size(); ++i) {
        lbl_parameter[i]->setBuddy(txt_parameter[i]);
        txt_parameter[i]->setAccessibleName(lbl_parameter[i]->text());
    }
    lbl_paragraph_goback->setBuddy(txt_paragraph_goback);
    txt_paragraph_goback->setAccessibleName(lbl_paragraph_goback->text());
    List1->setAccessibleName(QStringLiteral("List"));
    lbl_only_if_prompted->setBuddy(cmd_next_picture);
    cmd_next_picture->setAccessibleDescription(lbl_only_if_prompted->text());
    // The two "Make Paragraph" buttons, one over each box, by the box they stand over.
    cmd_Make_Paragraph_question->setAccessibleName(QStringLiteral("Make Paragraph (questions)"));
    cmd_Make_paragraph->setAccessibleName(QStringLiteral("Make Paragraph (answer)"));
    const QString doesNothing = QStringLiteral("Does nothing in this program");
    const QString keepsNothing =
        QStringLiteral("Does nothing in this program: what is typed here is not kept");
    for (QWidget* control : std::initializer_list<QWidget*>{
             cmd_Make_Paragraph_question, cmd_Make_paragraph, cmd_timerTrigger, List1})
        control->setAccessibleDescription(doesNothing);
    for (QWidget* control : {txt_parameter[0], txt_parameter[1], txt_parameter[2], txt_parameter[3],
                             txt_paragraph_goback})
        control->setAccessibleDescription(keepsNothing);
}

} // namespace desk
