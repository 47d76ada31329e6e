// The main window: its controls, the timer, fonts, tab order, the inert controls and the ways
// the program ends from the window.

#include "app/main_window.h"
#include "support/expected_texts.h"
#include "support/record_faults.h"
#include "support/scripted_services.h"
#include "support/started_window.h"
#include "widgets/caption_button.h"
#include "widgets/picture_box.h"
#include "widgets/text_box.h"

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <algorithm>

using desk::MainWindow;
using desk::PictureBox;
using desk::testing::WindowFixture;

namespace {

enum class Kind { Button, TextBox, LineBox, Label, ListBox, Picture };

struct ControlRow {
    const char* name;
    Kind kind;
    const char* text;
    int left, top, width, height; // twips
    int tab;
    const char* accessibleName = nullptr; // what a screen reader says; the caption when not given
};

// The window's controls in the order they are created, positions in twips.
const ControlRow controls[] = {
    {"cmd_clear_answer_box", Kind::Button, "clear box", 8280, 240, 855, 495, 28},
    {"cmd_copy_picture", Kind::Button, "copy picture", 1200, 8160, 855, 495, 27},
    {"cmd_next_picture", Kind::Button, "next picture", 1200, 7560, 855, 495, 25},
    {"cmd_pend_exp", Kind::Button, "pend exp", 8640, 7560, 495, 375, 24},
    {"cmd_quit", Kind::Button, "quit program", 10200, 0, 735, 495, 23},
    {"cmd_display_note_file", Kind::Button, "display notes", 4440, 240, 975, 495, 22},
    {"cmd_displayCumulativeText", Kind::Button, "display everything", 3600, 240, 855, 495, 21},
    {"txt_parameter_3", Kind::LineBox, "1", 8205, 8160, 300, 285, 20, "Parameter 4"},
    {"txt_parameter_2", Kind::LineBox, "1", 8205, 7680, 300, 285, 18, "Parameter 3"},
    {"txt_parameter_1", Kind::LineBox, "1", 6720, 8160, 300, 285, 16, "Parameter 2"},
    {"txt_parameter_0", Kind::LineBox, "1", 6720, 7680, 300, 285, 14, "Parameter 1"},
    {"List1", Kind::ListBox, "", 3120, 7680, 1695, 840, 12, "List"},
    {"cmd_timerTrigger", Kind::Button, "Trigger Timer", 2400, 7560, 735, 495, 11},
    {"txt_paragraph_goback", Kind::LineBox, "1", 3120, 240, 495, 495, 9, "# sentences previous"},
    {"cmd_Make_Paragraph_question", Kind::Button, "Make Paragraph", 1200, 240, 855, 495, 8,
     "Make Paragraph (questions)"},
    {"cmd_Make_paragraph", Kind::Button, "Make Paragraph", 7320, 240, 975, 495, 7,
     "Make Paragraph (answer)"},
    {"cmd_save_as_notes", Kind::Button, "Save as Notes", 6480, 240, 855, 495, 6},
    {"Picture2", Kind::Picture, "", 5640, 6080, 5055, 1375, 5, "Right picture"},
    {"Picture1", Kind::Picture, "", 240, 6080, 5175, 1375, 4, "Left picture"},
    {"cmd_enter_response", Kind::Button, "Enter Response", 5640, 240, 855, 495, 3},
    {"cmdNextQuestion", Kind::Button, "Next Question / Answer", 240, 0, 975, 735, 2},
    {"txt_answer", Kind::TextBox, " ", 5640, 720, 5055, 5255, 1, "Your answer"},
    {"txt_question", Kind::TextBox, "", 240, 720, 5175, 5255, 0,
     "Questions: the paragraphs of the assignment"},
    {"lbl_only_if_prompted", Kind::Label, "click only if prompted", 240, 7560, 855, 495, 26},
    {"lbl_parameter_3", Kind::Label, "Parameter 4", 7200, 8160, 900, 195, 19},
    {"lbl_parameter_2", Kind::Label, "Parameter 3", 7200, 7680, 1005, 195, 17},
    {"lbl_parameter_1", Kind::Label, "Parameter 2", 5640, 8160, 855, 195, 15},
    {"lbl_parameter_0", Kind::Label, "Parameter 1", 5640, 7680, 900, 195, 13},
    {"lbl_paragraph_goback", Kind::Label, "# sentences previous", 2160, 240, 1095, 495, 10},
};

QRect twips(int left, int top, int width, int height)
{
    return QRect(qRound(left / 15.0), qRound(top / 15.0), qRound(width / 15.0),
                 qRound(height / 15.0));
}

// What a caption needs, for a failure's message.
QString needs(const QString& text, const QRect& drawn, const QRect& area)
{
    return QStringLiteral("%1 needs %2x%3 in %4x%5")
        .arg(text)
        .arg(drawn.width())
        .arg(drawn.height())
        .arg(area.width())
        .arg(area.height());
}

// The controls that do nothing, which a screen reader is told.
const QStringList inertControls{"cmd_Make_Paragraph_question",
                                "cmd_Make_paragraph",
                                "cmd_timerTrigger",
                                "List1",
                                "txt_parameter_0",
                                "txt_parameter_1",
                                "txt_parameter_2",
                                "txt_parameter_3",
                                "txt_paragraph_goback"};

QWidget* control(MainWindow& window, const char* name)
{
    return window.findChild<QWidget*>(QString::fromLatin1(name), Qt::FindDirectChildrenOnly);
}

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void everyControl_data();
    void everyControl();
    void windowAndTimer();
    void textBoxesAndPictureBoxes();
    void tabOrder();
    void keyboardShowsFocusAndClicks();
    void resizingMovesNothing();
    void inertButtonsChangeNothing();
    void aStudentsWay_data();
    void aStudentsWay();
    void endingThroughTheWindow_data();
    void endingThroughTheWindow();
};

void TestMainWindow::everyControl_data()
{
    QTest::addColumn<int>("row");
    for (int i = 0; i < int(std::size(controls)); ++i)
        QTest::newRow(controls[i].name) << i;
}

void TestMainWindow::everyControl()
{
    QFETCH(int, row);
    const ControlRow& expected = controls[row];
    WindowFixture fixture;
    QWidget* widget = control(*fixture.window, expected.name);
    QVERIFY2(widget, expected.name);

    const QString text = QString::fromLatin1(expected.text);
    switch (expected.kind) {
    case Kind::Button: {
        auto* button = qobject_cast<desk::CaptionButton*>(widget);
        QVERIFY(button);
        QCOMPARE(button->text(), text);
        // The caption reads in full inside the button, also where the button runs past the
        // window's edge ("quit program", "copy picture").
        const QRect area = button->captionArea();
        const QRect drawn = QFontMetrics(button->font())
                                .boundingRect(area, desk::CaptionButton::captionFlags, text);
        QVERIFY2(area.contains(drawn), qPrintable(needs(text, drawn, area)));
        QVERIFY(fixture.window->rect().contains(drawn.translated(button->pos())));
        break;
    }
    case Kind::TextBox: {
        auto* box = qobject_cast<desk::TextBox*>(widget);
        QVERIFY(box);
        QCOMPARE(box->document()->toPlainText(),
                 text); // the editor's own text, as well as the box's
        QCOMPARE(box->text(), text);
        break;
    }
    case Kind::LineBox: {
        auto* box = qobject_cast<QLineEdit*>(widget);
        QVERIFY(box);
        QCOMPARE(box->text(), text);
        break;
    }
    case Kind::Label: {
        auto* label = qobject_cast<QLabel*>(widget);
        QVERIFY(label);
        QCOMPARE(label->text(), text);
        QCOMPARE(label->focusPolicy(), Qt::NoFocus);
        // One line where the caption fits on one, otherwise wrapped, and read in full.
        const QRect area = label->contentsRect();
        const QFontMetrics metrics(label->font());
        QCOMPARE(label->wordWrap(), metrics.horizontalAdvance(text) > area.width());
        const QRect drawn =
            metrics.boundingRect(area, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, text);
        QVERIFY2(area.contains(drawn), qPrintable(needs(text, drawn, area)));
        // Tied to the box it names.
        QVERIFY(label->buddy() || text == QLatin1String("click only if prompted"));
        break;
    }
    case Kind::ListBox: {
        auto* list = qobject_cast<QListWidget*>(widget);
        QVERIFY(list);
        QCOMPARE(list->count(), 0);
        break;
    }
    case Kind::Picture: {
        auto* picture = qobject_cast<PictureBox*>(widget);
        QVERIFY(picture);
        QVERIFY(picture->picture().isNull());
        break;
    }
    }

    QCOMPARE(widget->geometry(),
             twips(expected.left, expected.top, expected.width, expected.height));
    QVERIFY(widget->isVisibleTo(fixture.window.get()));
    QVERIFY(widget->isEnabled());
    if (expected.kind != Kind::Label)
        QVERIFY(widget->focusPolicy() & Qt::TabFocus);
    // Only the two multi-line boxes carry a font of their own; the others take the window's, at
    // a size a student can read.
    QCOMPARE(widget->testAttribute(Qt::WA_SetFont), expected.kind == Kind::TextBox);
    QVERIFY(widget->font().pointSizeF() >= 7);

    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
    QVERIFY(accessible);
    QCOMPARE(accessible->text(QAccessible::Name),
             expected.accessibleName ? QString::fromUtf8(expected.accessibleName) : text);
    QCOMPARE(accessible->text(QAccessible::Description)
                 .startsWith(QLatin1String("Does nothing in this program")),
             inertControls.contains(QLatin1String(expected.name)));
    if (expected.kind == Kind::Picture)
        QCOMPARE(accessible->role(), QAccessible::Graphic);
}

void TestMainWindow::windowAndTimer()
{
    WindowFixture fixture;
    MainWindow& window = *fixture.window;
    QCOMPARE(window.windowTitle(), QStringLiteral("Form1"));
    QCOMPARE(window.objectName(), QStringLiteral("cmd_pend_exp"));
    QCOMPARE(window.size(), QSize(725, 573));
    QCOMPARE(QAccessible::queryAccessibleInterface(&window)->role(), QAccessible::Window);
    // The program's own icon, not the platform's generic one.
    QVERIFY(!window.windowIcon().isNull());
    QVERIFY(window.windowIcon().cacheKey() != QApplication::windowIcon().cacheKey());

    // The "pend exp" button shares the window's name but is another object.
    auto* pendExp = window.findChild<QPushButton*>(QStringLiteral("cmd_pend_exp"));
    QVERIFY(pendExp);
    QVERIFY(pendExp != static_cast<QWidget*>(&window));
    QCOMPARE(pendExp, window.cmd_pend_exp);

    auto* timer = window.findChild<QTimer*>(QStringLiteral("tmr_pend_exp"));
    QVERIFY(timer);
    QCOMPARE(timer, window.tmr_pend_exp);
    QCOMPARE(timer->interval(), 15);
    QVERIFY(!timer->isActive());

    // The control arrays and members point at the named controls.
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(window.txt_parameter[i]->objectName(), QStringLiteral("txt_parameter_%1").arg(i));
        QCOMPARE(window.lbl_parameter[i]->objectName(), QStringLiteral("lbl_parameter_%1").arg(i));
    }
    QCOMPARE(window.txt_answer->objectName(), QStringLiteral("txt_answer"));
    QCOMPARE(window.txt_question->objectName(), QStringLiteral("txt_question"));
    QCOMPARE(window.Picture1->objectName(), QStringLiteral("Picture1"));
    QCOMPARE(window.Picture2->objectName(), QStringLiteral("Picture2"));
}

void TestMainWindow::textBoxesAndPictureBoxes()
{
    WindowFixture fixture;
    MainWindow& window = *fixture.window;
    for (QPlainTextEdit* box : {window.txt_question, window.txt_answer}) {
        const QFont font = box->font();
        QCOMPARE(font.family(), QStringLiteral("Arial"));
        QCOMPARE(font.pointSizeF(), 9.75);
        QCOMPARE(font.weight(), QFont::Normal);
        QVERIFY(!font.italic());
        QVERIFY(!font.underline());
        QVERIFY(!font.strikeOut());
        QVERIFY(!box->isReadOnly());
        QCOMPARE(box->lineWrapMode(), QPlainTextEdit::WidgetWidth);
        QVERIFY(box->verticalScrollBarPolicy() != Qt::ScrollBarAlwaysOff);
    }
    QCOMPARE(window.txt_answer->text(), QStringLiteral(" "));

    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    for (PictureBox* box : {window.Picture1, window.Picture2}) {
        QCOMPARE(box->palette().color(box->backgroundRole()), QColor(Qt::white));
        const QImage shown = box->grab().toImage();
        const QRect inner = box->contentsRect();
        QCOMPARE(QColor(shown.pixel(inner.center())), QColor(Qt::white));
        QCOMPARE(QColor(shown.pixel(inner.topLeft() + QPoint(2, 2))), QColor(Qt::white));
    }
}

void TestMainWindow::tabOrder()
{
    WindowFixture fixture;
    MainWindow& window = *fixture.window;
    std::vector<const ControlRow*> focusable;
    for (const ControlRow& row : controls)
        if (row.kind != Kind::Label)
            focusable.push_back(&row);
    std::sort(focusable.begin(), focusable.end(),
              [](const ControlRow* a, const ControlRow* b) { return a->tab < b->tab; });

    // The focus chain, restricted to the window's own controls, runs in tab order.
    QStringList chain;
    QWidget* first = control(window, focusable.front()->name);
    QWidget* w = first;
    do {
        if (w->parentWidget() == &window && (w->focusPolicy() & Qt::TabFocus))
            chain << w->objectName();
        w = w->nextInFocusChain();
    } while (w != first && chain.size() <= int(focusable.size()));
    QStringList expected;
    for (const ControlRow* row : focusable)
        expected << QString::fromLatin1(row->name);
    QCOMPARE(chain, expected);

    // Tab walks the same order, from the last control back round to the first.
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    // The window opens with the focus on the question box, the first control in tab order.
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(window.txt_question));
    window.txt_question->setFocus(Qt::OtherFocusReason);
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(window.txt_question));
    for (std::size_t i = 1; i <= focusable.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        const ControlRow* next = focusable[i % focusable.size()];
        QCOMPARE(QApplication::focusWidget()->objectName(), QString::fromLatin1(next->name));
    }
}

// How many pixels of the outer ring of a control (3 pixels wide) differ between two pictures of it:
// where a focus frame shows, not a caret.
static int ringChange(const QImage& before, const QImage& after)
{
    int changed = 0;
    for (int y = 0; y < after.height(); ++y)
        for (int x = 0; x < after.width(); ++x)
            if ((x < 3 || y < 3 || x >= after.width() - 3 || y >= after.height() - 3)
                && before.pixel(x, y) != after.pixel(x, y))
                ++changed;
    return changed;
}

// Without a mouse the student sees where the focus is on every control that takes it, and clicks
// the focused button with Return or Enter as well as Space.
void TestMainWindow::keyboardShowsFocusAndClicks()
{
    WindowFixture fixture;
    MainWindow& window = *fixture.window;
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    for (const ControlRow& row : controls) {
        if (row.kind == Kind::Label)
            continue;
        QWidget* widget = control(window, row.name);
        QWidget* elsewhere =
            widget == window.txt_question ? window.txt_answer : window.txt_question;
        elsewhere->setFocus(Qt::TabFocusReason);
        const QImage unfocused = widget->grab().toImage();
        widget->setFocus(Qt::TabFocusReason);
        QCOMPARE(QApplication::focusWidget(), widget);
        const int changed = ringChange(unfocused, widget->grab().toImage());
        // Most of the edge, all round.
        QVERIFY2(changed >= widget->width() + widget->height(),
                 qPrintable(QStringLiteral("%1: %2 pixels").arg(row.name).arg(changed)));
    }
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space}) {
        window.txt_answer->setText(QStringLiteral("typed"));
        QTest::keyClick(window.cmd_clear_answer_box, key);
        QTRY_COMPARE(window.txt_answer->text(), QString());
    }
}

void TestMainWindow::resizingMovesNothing()
{
    WindowFixture fixture;
    MainWindow& window = *fixture.window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    for (QSize size : {QSize(300, 200), QSize(1200, 900), QSize(725, 573)}) {
        window.resize(size);
        QCoreApplication::processEvents();
        QCOMPARE(window.size(), size);
        for (const ControlRow& row : controls) {
            QWidget* widget = control(window, row.name);
            QCOMPARE(widget->geometry(), twips(row.left, row.top, row.width, row.height));
        }
        QCOMPARE(window.windowTitle(), QStringLiteral("Form1"));
    }
}

void TestMainWindow::inertButtonsChangeNothing()
{
    WindowFixture fixture;
    MainWindow& window = *fixture.window;
    fixture.setUp(QStringLiteral("1"), QStringLiteral("Ann Lee"), QStringLiteral("AL"),
                  QStringLiteral("1"));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const desk::ProgramState before = window.state();
    const QStringList promptsBefore = fixture.dialogs.prompts;
    const QStringList messagesBefore = fixture.dialogs.messages;

    for (QPushButton* button :
         {window.cmd_timerTrigger, window.cmd_Make_Paragraph_question, window.cmd_Make_paragraph}) {
        QTest::mouseClick(button, Qt::LeftButton);
        button->click();
    }
    QCoreApplication::processEvents();

    QCOMPARE(window.txt_question->text(), QString());
    QCOMPARE(window.txt_answer->text(), QStringLiteral(" "));
    for (QLineEdit* box : window.txt_parameter)
        QCOMPARE(box->text(), QStringLiteral("1"));
    QCOMPARE(window.txt_paragraph_goback->text(), QStringLiteral("1"));
    QCOMPARE(window.List1->count(), 0);
    QVERIFY(!window.tmr_pend_exp->isActive());
    QVERIFY(window.Picture2->picture().isNull());
    QCOMPARE(desk::testing::filesUnder(fixture.root()).keys(),
             QStringList({"c/", "c/lrnfiles/", "mnt/"}));
    QCOMPARE(fixture.dialogs.prompts, promptsBefore);
    QCOMPARE(fixture.dialogs.messages, messagesBefore);
    QCOMPARE(fixture.dialogs.beeps, 0);
    QVERIFY(!window.hasEnded());

    const desk::ProgramState& after = window.state();
    QCOMPARE(after.bankIndex, before.bankIndex);
    QCOMPARE(after.questionBank, before.questionBank);
    QCOMPARE(after.displayText, before.displayText);
    QCOMPARE(after.currentLine, before.currentLine);
    QCOMPARE(after.workText, before.workText);
    QCOMPARE(after.cumulativeText, before.cumulativeText);
    QVERIFY(after.awaitingResponse == before.awaitingResponse);
    QVERIFY(after.displayMode == before.displayMode);
    QVERIFY(after.codeNbr == before.codeNbr);
}

void TestMainWindow::aStudentsWay_data()
{
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QString>("answerBox");
    QTest::addColumn<QString>("message");   // the one message shown, where nothing was refused
    QTest::addColumn<QString>("announced"); // what a screen reader was told last
    QTest::addColumn<QString>("caretOn");   // what the caret starts in the question box
    QTest::addColumn<QByteArray>("sent");   // the send file after its header

    using namespace desk::testing;
    auto row = [](const char* name, const QString& steps, const QString& answerBox,
                  const QString& announced = "<paragraph>", const QString& caretOn = "<paragraph>",
                  const QString& message = {}, const QByteArray& sent = {}) {
        QTest::newRow(name) << steps << answerBox << message << announced << caretOn << sent;
    };
    const QString prompt = "<instructions>", typed = "next|next|tab|type:t = 2.3 s|";
    const QByteArray answered =
        sendResponse("14:03:27", assignmentOneParagraphs().at(1).toLatin1(), "t = 2.3 s");
    row("past the last paragraph", QStringList(7, "next").join(u'|'), prompt, "<paragraph>",
        "<paragraph>", endOfAssignmentText());
    row("cursor before the bank", "cursor|next", " ", "", "", invalidAssignmentText());
    row("next after long notes", "next|long notes|notes|next", prompt);
    row("long notes after next", "next|next|long notes|notes", prompt,
        "Your notes added to the questions box. The newest: a note to myself, the newest",
        "<notes>");
    row("Tab, type", "next|next|tab|type:v", "v");
    row("click, type", "next|next|click|type:v", "v");
    row("click once changed", "next|next|tab|type:v|click|type:!", "!v");
    row("recorded", typed + "enter", "", "Response recorded", "", {}, answered);
    row("recorded by shortcuts", "keys:Alt+N|keys:Alt+N|tab|type:t = 2.3 s|keys:Alt+E", "",
        "Response recorded", "", {}, answered);
    row("saved as notes", typed + "save", "", "Note saved", "", {},
        notesBlock("01-05-2026", "14:03:27", assignmentOneParagraphs().at(1).toLatin1(),
                   "t = 2.3 s"));
    row("emptied", typed + "clear", "", "Answer box emptied", "");
    row("everything shown", "next|everything", " ",
        "Everything of this run shown in the questions box, newest first", "");
    row("no notes yet", "next|empty notes|notes", " ",
        "Your notes added to the questions box: there are none yet", "");
    row("only the instructions", "next|next|enter", "",
        "Nothing recorded: the box held only the instructions. Both boxes are empty", "");
    row("refused, stay", typed + "refuse|no|next|enter", "", "Response recorded", "", {}, answered);
    row("refused, go on", typed + "refuse|yes|next", prompt);
    row("refused, emptied", typed + "refuse|clear|next", prompt);
    // Typed and never recorded: Next asks first, No the default.
    row("typed, stay", typed + "no|next|enter", "", "Response recorded", "", {}, answered);
    row("typed, go on", typed + "yes|next", prompt);
    row("blanks typed, no question", "next|next|tab|type:   |next", prompt);
    row("typed, left at the last paragraph",
        QStringList(6, "next").join(u'|') + "|tab|type:x|yes|next", prompt, "<paragraph>",
        "<paragraph>", endOfAssignmentText(true));
}

// The student's clicks and keys, one step each, in the real window.
void TestMainWindow::aStudentsWay()
{
    QFETCH(QString, steps);
    QFETCH(QString, answerBox);
    QFETCH(QString, message);
    QFETCH(QString, announced);
    QFETCH(QString, caretOn);
    QFETCH(QByteArray, sent);
    desk::testing::StartedWindow d;
    QVERIFY(d.ok());
    MainWindow& w = d.w();
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    const QHash<QString, QPushButton*> buttons{{"next", w.cmdNextQuestion},
                                               {"enter", w.cmd_enter_response},
                                               {"clear", w.cmd_clear_answer_box},
                                               {"notes", w.cmd_display_note_file},
                                               {"save", w.cmd_save_as_notes},
                                               {"everything", w.cmd_displayCumulativeText}};
    const QStringList stepList = steps.split(u'|');
    for (const QString& step : stepList) {
        if (QPushButton* button = buttons.value(step)) {
            QTest::mouseClick(button, Qt::LeftButton);
        } else if (step == "tab") {
            w.txt_question->setFocus();
            QTest::keyClick(w.txt_question, Qt::Key_Tab);
        } else if (step == "click") {
            QTest::mouseClick(w.txt_answer->viewport(), Qt::LeftButton, {}, QPoint(2, 2));
        } else if (step.startsWith("keys:")) {
            // A shortcut clicks its button as a click would show it: pressed, then let go.
            const QKeySequence keys(step.mid(5));
            QPushButton* button = nullptr;
            for (QPushButton* b : w.findChildren<QPushButton*>())
                if (b->shortcut() == keys)
                    button = b;
            QVERIFY2(button, qPrintable(step));
            QTest::keySequence(QApplication::focusWidget(), keys);
            QTRY_VERIFY(!button->isDown());
        } else if (step.startsWith("type:")) {
            QTest::keyClicks(QApplication::focusWidget(), step.mid(5));
        } else if (step == "cursor") {
            d.s().bankIndex = desk::Value::whole(-3);
        } else if (step == "long notes") {
            const QByteArray note = desk::testing::notesBlock("01-05-2026", "14:03:27", "Time it.",
                                                              "a note to myself, one of many");
            QVERIFY(desk::testing::putFile(
                d.notesPath(),
                note.repeated(15) + QByteArray(note).replace("one of many", "the newest")));
        } else if (step == "empty notes") {
            QVERIFY(desk::testing::putFile(d.notesPath(), {}));
        } else if (step == "refuse") {
            desk::testing::AnotherCopyRecording otherCopy(w);
            QTest::mouseClick(w.cmd_enter_response, Qt::LeftButton);
        } else {
            QVERIFY2(step == "yes" || step == "no", qPrintable(step));
            d.f.dialogs.yesNo.push_back(step == "yes");
        }
    }
    const desk::ProgramState& s = d.s();
    const QHash<QString, QString> meaning{{"<instructions>", s.answerPrompt},
                                          {"<paragraph>", s.currentLine},
                                          {"<notes>", s.workText}};
    QCOMPARE(d.answerBox(), meaning.value(answerBox, answerBox));
    if (!stepList.contains("refuse"))
        QCOMPARE(d.f.dialogs.messages, message.isEmpty() ? QStringList() : QStringList{message});
    QCOMPARE(d.f.dialogs.questions.size(), stepList.count("yes") + stepList.count("no"));
    using desk::testing::LeftText;
    const auto left = stepList.contains("refuse") ? LeftText::Refused : LeftText::Typed;
    for (const QString& question : d.f.dialogs.questions)
        QCOMPARE(question, desk::testing::leaveUnrecordedQuestion(left));
    QCOMPARE(d.sendRecords(), sent);

    // The announcement is in the window's tree, where a screen reader finds it.
    QAccessibleInterface* window = QAccessible::queryAccessibleInterface(&w);
    QString heard;
    for (int i = 0; i < window->childCount(); ++i)
        if (window->child(i)->role() == QAccessible::Notification)
            heard = window->child(i)->text(QAccessible::Name);
    QCOMPARE(heard, meaning.value(announced, announced));

    // The caret starts what was added last, and its line heads the view unless the rest is shorter.
    if (!caretOn.isEmpty()) {
        desk::TextBox& box = *w.txt_question;
        const QString added = meaning.value(caretOn), all = box.text();
        const QRect caret = box.cursorRect();
        QVERIFY(box.viewport()->rect().contains(caret));
        QVERIFY(caret.top() < box.fontMetrics().lineSpacing()
                || box.verticalScrollBar()->value() == box.verticalScrollBar()->maximum());
        box.insertPlainText(QStringLiteral("@"));
        QCOMPARE(box.text(), all.chopped(added.size()) + u'@' + added);
    }
}

void TestMainWindow::endingThroughTheWindow_data()
{
    QTest::addColumn<bool>("byCloseButton");
    QTest::newRow("quit program") << false;
    QTest::newRow("window closed") << true;
}

void TestMainWindow::endingThroughTheWindow()
{
    QFETCH(bool, byCloseButton);
    WindowFixture fixture;
    MainWindow& window = *fixture.window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QSignalSpy ended(&window, &MainWindow::programEnded);

    // A record file held open on a channel is closed when the program ends.
    QDir().mkpath(fixture.host(QStringLiteral("c:\\lrnfiles")));
    window.files().open(1, fixture.host(QStringLiteral("c:\\lrnfiles\\masterFile_Ann.txt")),
                        desk::FileMode::Append);
    window.files().writeLine(1, u"kept");

    if (byCloseButton)
        QVERIFY(window.close());
    else
        QTest::mouseClick(window.cmd_quit, Qt::LeftButton);

    QVERIFY(window.hasEnded());
    QCOMPARE(ended.count(), 1);
    QVERIFY(!window.isVisible());
    QVERIFY(!window.files().isOpen(1));
    QCOMPARE(fixture.bytes(QStringLiteral("c:\\lrnfiles\\masterFile_Ann.txt")),
             QByteArray("kept\r\n"));

    // Nothing runs afterwards: start-up would ask its first question.
    QVERIFY(!window.runHandler(&MainWindow::setUpProgram));
    QVERIFY(!window.runHandler(&MainWindow::cmd_quit_Click));
    window.cmd_quit->click();
    window.close();
    QCOMPARE(fixture.dialogs.prompts, QStringList());
    QCOMPARE(fixture.dialogs.messages, QStringList());
    QCOMPARE(ended.count(), 1);
    QVERIFY(window.state().bankIndex.isEmpty());
}

QTEST_MAIN(TestMainWindow)
#include "test_main_window.moc"
