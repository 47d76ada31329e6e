#pragma once
// The modal boxes and the beep, behind an interface that tests replace with a scripted one.
//
// While a box is open the window takes no clicks, so no other handler starts; but the window's
// timer goes on, and the "pend exp" tick (a beep, a random number, a circle in the left picture)
// can run inside a handler that is showing a box. That is safe: the tick touches no program
// state and no file, and the random numbers it draws come after start-up has drawn the run's
// coding number and code line. A tick that fails shows its message once, over the open box.

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
    // Modal box with Yes and No, the focus on No; true for Yes. Closing the box, Escape, and
    // Enter or Return anywhere but on Yes are No.
    virtual bool askYesNo(const QString& question) = 0;
    virtual void beep() = 0;
};

// The real boxes, titled with the program's name. They belong to the main window once it exists:
// its modal children, centred over it; until it is shown, in the middle of the screen.
class QtDialogs : public Dialogs {
public:
    QString inputBox(const QString& prompt) override;
    void messageBox(const QString& text) override;
    bool askYesNo(const QString& question) override;
    void beep() override;

    // The window the boxes belong to from now on.
    void setOwner(QWidget* owner) { owner_ = owner; }

    static QString title();

private:
    QWidget* owner_ = nullptr;
};

} // namespace desk
