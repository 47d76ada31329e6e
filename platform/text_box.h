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
    using QPlainTextEdit::QPlainTextEdit;

protected:
    QMimeData* createMimeDataFromSelection() const override;
};

QString boxText(const QPlainTextEdit& box);
void setBoxText(QPlainTextEdit& box, const QString& text);

} // namespace desk
