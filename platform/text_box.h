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
public:
    explicit TextBox(QWidget* parent = nullptr);

    // The text with CR LF line breaks. It is kept beside the document, so reading it costs the
    // same however much the box holds; a change by the student makes it be read again once.
    QString text() const;
    void setText(const QString& text);
    // Adds `text` at the end, as setText(text() + text) would, and leaves the view as setText
    // does (at the top); only the last line is laid out again, not all of the box.
    void append(const QString& text);

protected:
    QMimeData* createMimeDataFromSelection() const override;

private:
    // The editor's own whole-text calls would bypass the line-break and long-line rules above;
    // hidden here, they cannot be called on a TextBox directly (through the base class they can).
    using QPlainTextEdit::appendPlainText;
    using QPlainTextEdit::setPlainText;
    using QPlainTextEdit::toPlainText;

    mutable QString text_;
    mutable bool textKnown_ = true;
};

} // namespace desk
