#include "widgets/dialogs.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QDialogButtonBox>
#include <QInputDialog>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTextEdit>
#include <QTimer>
#include <QVBoxLayout>
#include <QtMath>

#include <algorithm>

namespace desk {

namespace {

// Wide enough for the title in the title bar and a question on one line where it can be,
// narrow enough to read: the long questions take two lines.
constexpr int widestText = 580;

// The buttons say what they do; the style's check marks and crosses add nothing.
void withoutButtonIcons(QWidget& box)
{
    for (QAbstractButton* button : box.findChildren<QAbstractButton*>())
        button->setIcon(QIcon());
}

const QScreen* screenNear(const QWidget* owner)
{
    return owner ? owner->screen() : QGuiApplication::primaryScreen();
}

// Over its window once the student sees it; until then in the middle of the screen, not over a
// window nobody can see. Placed again once shown, when a window manager has framed it.
void placeAndRun(QDialog& box, QWidget* owner)
{
    auto place = [&box, owner] {
        const bool overOwner = owner && owner->isVisible();
        const QScreen* screen = screenNear(owner);
        if (!overOwner && !screen)
            return;
        QRect frame = box.frameGeometry();
        frame.moveCenter(overOwner ? owner->frameGeometry().center()
                                   : screen->availableGeometry().center());
        box.move(frame.topLeft());
    };
    box.adjustSize();
    place();
    QTimer::singleShot(0, &box, place);
    box.exec();
}

int screenHeight(const QWidget* owner)
{
    const QScreen* screen = screenNear(owner);
    return screen ? screen->availableGeometry().height() : 768;
}

// The text of a message or question, read-only: the student can select and copy it, say to
// send an error number to the instructor, with the keyboard (Tab to it, Ctrl+A, Ctrl+C) as well
// as the mouse, and a screen reader reads it as text. It looks like a label, as wide as one
// would be; a text taller than `tallest` scrolls, so that the buttons stay in reach.
QTextEdit* textView(const QString& text, int tallest)
{
    auto* view = new QTextEdit;
    view->setPlainText(text);
    view->setReadOnly(true);
    view->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    view->setTabChangesFocus(true);
    view->setFrameShape(QFrame::NoFrame);
    QPalette palette = view->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Window));
    view->setPalette(palette);
    view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    const int width =
        std::min(widestText, std::max(view->fontMetrics().horizontalAdvance(text) + 2, 300));
    view->document()->setTextWidth(width);
    const int height = qCeil(view->document()->size().height());
    if (height > tallest) {
        view->setFixedSize(width + view->verticalScrollBar()->sizeHint().width(), tallest);
    } else {
        view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        view->setFixedSize(width, height);
    }
    return view;
}

// Shows `text`, named `name` for a screen reader, over `buttons` in `box`, which belongs to
// `owner`; the box's result.
int runTextBox(QDialog& box, QWidget* owner, const QString& name, const QString& text,
               QDialogButtonBox::StandardButtons buttons)
{
    box.setWindowTitle(QtDialogs::title());
    auto* layout = new QVBoxLayout(&box);
    QTextEdit* view = textView(text, screenHeight(owner) * 2 / 3);
    view->setAccessibleName(name);
    layout->addWidget(view);
    // What a screen reader says when the box opens.
    box.setAccessibleDescription(text);
    QTimer::singleShot(0, &box, [&box] {
        QAccessibleEvent alert(&box, QAccessible::Alert);
        QAccessible::updateAccessibility(&alert);
    });
    auto* buttonBox = new QDialogButtonBox(buttons);
    QObject::connect(buttonBox, &QDialogButtonBox::accepted, &box, &QDialog::accept);
    QObject::connect(buttonBox, &QDialogButtonBox::rejected, &box, &QDialog::reject);
    layout->addWidget(buttonBox);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    withoutButtonIcons(box);
    // The focus starts on the answer that changes nothing: OK, or No. No is also what Enter or
    // Return answers wherever the focus is but on Yes (the text, say), as Escape and the close
    // button do.
    QPushButton* safe = buttonBox->button(
        buttons.testFlag(QDialogButtonBox::No) ? QDialogButtonBox::No : QDialogButtonBox::Ok);
    safe->setDefault(true);
    safe->setFocus();
    placeAndRun(box, owner);
    return box.result();
}

} // namespace

QString QtDialogs::title()
{
    return QStringLiteral("Assignment Desk");
}

QString QtDialogs::inputBox(const QString& prompt)
{
    QInputDialog box(owner_);
    box.setObjectName(QStringLiteral("inputBox"));
    box.setWindowTitle(title());
    box.setInputMode(QInputDialog::TextInput);
    box.setLabelText(prompt);
    if (auto* label = box.findChild<QLabel*>()) {
        label->setWordWrap(true);
        const int oneLine = label->fontMetrics().horizontalAdvance(prompt);
        label->setMinimumWidth(std::clamp(
            oneLine + 2, label->fontMetrics().horizontalAdvance(title()) + 160, widestText));
    }
    box.setTextValue(QString());
    box.okButtonText(); // makes the box's buttons, which it otherwise makes only when shown
    withoutButtonIcons(box);
    placeAndRun(box, owner_);
    if (box.result() != QDialog::Accepted)
        return QString();
    return box.textValue();
}

void QtDialogs::messageBox(const QString& text)
{
    QDialog box(owner_);
    box.setObjectName(QStringLiteral("messageBox"));
    runTextBox(box, owner_, QStringLiteral("Message"), text, QDialogButtonBox::Ok);
}

bool QtDialogs::askYesNo(const QString& question)
{
    QDialog box(owner_);
    box.setObjectName(QStringLiteral("questionBox"));
    return runTextBox(box, owner_, QStringLiteral("Question"), question,
                      QDialogButtonBox::Yes | QDialogButtonBox::No)
        == QDialog::Accepted;
}

void QtDialogs::beep()
{
    QApplication::beep();
}

} // namespace desk
