#pragma once
// Text boxes are read and replaced whole, with CR LF line breaks as the rest of the program
// expects; the editor itself works with LF.
//
// Qt lays out a paragraph as a whole, so one very long line (the transcript of a long session is
// one line of megabytes) would take most of a second to show. Such a line is held as several
// blocks joined without a break: reading the text, or copying a selection, joins them again.

#include <QPlainTextEdit>
#include <QString>

namespace desk {

class TextBox : public QPlainTextEdit {
    Q_OBJECT

public:
    explicit TextBox(QWidget* parent = nullptr);

    // The text with CR LF line breaks. It is kept beside the document, so reading it costs the
    // same however much the box holds; a change by the student makes it be read again once.
    QString text() const;
    void setText(const QString& text);
    // Adds `text` at the end, as setText(text() + text) would, and puts the caret at the start
    // of what was added, scrolled to the top of the view where the rest fits below it, so that the
    // reader lands on it (empty `text` moves nothing). Only the last line is laid out again.
    void append(const QString& text);

    // While the box holds exactly `text`, entering it by Tab or by a click selects it all, so
    // that the first key typed replaces it. A click that selects a part of it keeps that part.
    void setReplacedOnEntry(const QString& text) { replacedOnEntry_ = text; }

protected:
    QMimeData* createMimeDataFromSelection() const override;
    void focusInEvent(QFocusEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    // The editor's own whole-text calls would bypass the line-break and long-line rules above;
    // hidden here, they cannot be called on a TextBox directly (through the base class they can).
    using QPlainTextEdit::appendPlainText;
    using QPlainTextEdit::setPlainText;
    using QPlainTextEdit::toPlainText;

    // Puts the caret at `position` and its line at the top of the view, as far as the text goes.
    void showFrom(int position);
    bool holdsReplacedText() const
    {
        return !replacedOnEntry_.isEmpty() && text() == replacedOnEntry_;
    }

    mutable QString text_;
    mutable bool textKnown_ = true;
    QString replacedOnEntry_;
};

} // namespace desk
