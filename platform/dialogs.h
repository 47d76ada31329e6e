#pragma once
// The modal boxes and the beep, behind an interface that tests replace with a scripted one.

#include <QString>

class QWidget;

namespace desk {

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // Modal input box with OK and Cancel; Cancel or closing the box gives the empty text.
    virtual QString inputBox(const QString& prompt) = 0;
    // Modal message box with OK only.
    virtual void messageBox(const QString& text) = 0;
    virtual void beep() = 0;
};

// The real boxes: QInputDialog and QMessageBox, titled with the program's name.
class QtDialogs : public Dialogs {
public:
    explicit QtDialogs(QWidget* parent = nullptr) : parent_(parent) {}
    QString inputBox(const QString& prompt) override;
    void messageBox(const QString& text) override;
    void beep() override;

    static QString title();

private:
    QWidget* parent_;
};

} // namespace desk
