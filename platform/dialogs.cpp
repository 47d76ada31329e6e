#include "platform/dialogs.h"

#include <QApplication>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>

namespace desk {

QString QtDialogs::title()
{
    return QStringLiteral("Assignment Desk");
}

QString QtDialogs::inputBox(const QString& prompt)
{
    QInputDialog box(parent_);
    box.setObjectName(QStringLiteral("inputBox"));
    box.setWindowTitle(title());
    box.setInputMode(QInputDialog::TextInput);
    box.setLabelText(prompt);
    // Long prompts wrap instead of stretching the box across the screen.
    if (auto* label = box.findChild<QLabel*>())
        label->setWordWrap(true);
    box.setTextValue(QString());
    if (box.exec() != QDialog::Accepted)
        return QString();
    return box.textValue();
}

void QtDialogs::messageBox(const QString& text)
{
    QMessageBox box(parent_);
    box.setObjectName(QStringLiteral("messageBox"));
    box.setWindowTitle(title());
    box.setIcon(QMessageBox::NoIcon);
    box.setText(text);
    box.setStandardButtons(QMessageBox::Ok);
    // The student can select and copy the text, say to send an error number to the instructor.
    box.setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    box.exec();
}

void QtDialogs::beep()
{
    QApplication::beep();
}

} // namespace desk
