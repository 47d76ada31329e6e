#include "platform/dialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QInputDialog>
#include <QLabel>
#include <QScreen>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>

namespace desk {

namespace {

// Wide enough for the title in the title bar and a question on one line where it can be,
// narrow enough to read: the long questions take two lines.
constexpr int widestText = 520;

// The buttons say what they do; the style's check marks and crosses add nothing.
void withoutButtonIcons(QWidget& box)
{
    for (QAbstractButton* button : box.findChildren<QAbstractButton*>())
        button->setIcon(QIcon());
}

// Until its window is shown a box stands in the middle of the screen, not over a window the
// student cannot see.
void placeAndRun(QDialog& box, QWidget* owner)
{
    if (!owner || !owner->isVisible()) {
        box.adjustSize();
        const QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen();
        if (screen) {
            QRect place(QPoint(), box.frameGeometry().size());
            place.moveCenter(screen->availableGeometry().center());
            box.move(place.topLeft());
        }
    }
    box.exec();
}

int screenHeight(const QWidget* near)
{
    const QScreen* screen = near ? near->screen() : QGuiApplication::primaryScreen();
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
    auto* label = new QLabel(text);
    label->setWordWrap(true);
    // The student can select and copy the text, say to send an error number to the instructor,
    // with the keyboard (Tab to it, Ctrl+A, Ctrl+C) as well as the mouse.
    label->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    label->setFocusPolicy(Qt::StrongFocus);
    label->setFixedWidth(std::min(widestText, std::max(label->fontMetrics().horizontalAdvance(text) + 2, 300)));
    // A message taller than two thirds of the screen scrolls, so that OK stays in reach.
    const int tallest = screenHeight(owner_) * 2 / 3;
    if (label->heightForWidth(label->width()) > tallest) {
        auto* scroll = new QScrollArea;
        scroll->setWidget(label);
        scroll->setFrameShape(QFrame::NoFrame);
        scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        scroll->setFixedSize(label->width() + scroll->verticalScrollBar()->sizeHint().width(), tallest);
        layout->addWidget(scroll);
    } else {
        layout->addWidget(label);
    }
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
