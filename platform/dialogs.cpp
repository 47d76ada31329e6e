#include "platform/dialogs.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QDialogButtonBox>
#include <QInputDialog>
#include <QLabel>
#include <QScreen>
#include <QPushButton>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>

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
        frame.moveCenter(overOwner ? owner->frameGeometry().center() : screen->availableGeometry().center());
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
        label->setMinimumWidth(std::clamp(oneLine + 2, label->fontMetrics().horizontalAdvance(title()) + 160, widestText));
    }
    box.setTextValue(QString());
    box.okButtonText();  // makes the box's buttons, which it otherwise makes only when shown
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
    box.setWindowTitle(title());
    auto* layout = new QVBoxLayout(&box);
    // The student can select and copy the text, say to send an error number to the instructor,
    // with the keyboard (Tab to it, Ctrl+A, Ctrl+C) as well as the mouse.
    const Qt::TextInteractionFlags selectable = Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard;
    auto* label = new QLabel(text);
    label->setWordWrap(true);
    label->setTextInteractionFlags(selectable);
    label->setFocusPolicy(Qt::StrongFocus);
    label->setFixedWidth(std::min(widestText, std::max(label->fontMetrics().horizontalAdvance(text) + 2, 300)));
    // A message taller than two thirds of the screen scrolls, so that OK stays in reach; there the
    // text is a read-only text box, which scrolls along with the keyboard's selection.
    const int tallest = screenHeight(owner_) * 2 / 3;
    if (label->heightForWidth(label->width()) > tallest) {
        auto* scrolled = new QPlainTextEdit(text);
        scrolled->setReadOnly(true);
        scrolled->setTextInteractionFlags(selectable);
        scrolled->setFrameShape(QFrame::NoFrame);
        scrolled->setBackgroundRole(QPalette::Window);
        scrolled->setFixedSize(label->width() + scrolled->verticalScrollBar()->sizeHint().width(), tallest);
        layout->addWidget(scrolled);
        delete label;
    } else {
        layout->addWidget(label);
    }
    // What a screen reader says when the box opens.
    box.setAccessibleDescription(text);
    QTimer::singleShot(0, &box, [&box] {
        QAccessibleEvent alert(&box, QAccessible::Alert);
        QAccessible::updateAccessibility(&alert);
    });
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &box, &QDialog::accept);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    withoutButtonIcons(box);
    buttons->button(QDialogButtonBox::Ok)->setFocus();
    placeAndRun(box, owner_);
}

void QtDialogs::beep()
{
    QApplication::beep();
}

} // namespace desk
