#include "widgets/text_box.h"

#include <QFocusEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <vector>

namespace desk {

namespace {

// Lines longer than this are held in pieces of about this size.
constexpr qsizetype pieceLength = 2000;

// Marks a block that continues the previous one without a line break.
class Continuation : public QTextBlockUserData { };

bool continuesPrevious(const QTextBlock& block)
{
    return dynamic_cast<Continuation*>(block.userData()) != nullptr;
}

// The text between two document positions, with CR LF between lines and none between pieces.
QString textBetween(const QTextDocument& document, int from, int to)
{
    QString text;
    for (QTextBlock block = document.findBlock(from); block.isValid() && block.position() <= to;
         block = block.next()) {
        const int start = std::max(from, block.position());
        const int end = std::min(to, block.position() + block.length() - 1);
        if (block.position() > from && !continuesPrevious(block))
            text += QStringLiteral("\r\n");
        if (end > start)
            text += block.text().mid(start - block.position(), end - start);
    }
    text.replace(QChar::LineSeparator, QStringLiteral("\r\n"));
    return text;
}

// The text as the editor holds it: every break between paragraphs a LF.
QString editorText(const QString& text)
{
    QString plain = text;
    plain.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    plain.replace(u'\r', u'\n');
    plain.replace(QChar::ParagraphSeparator, u'\n');
    return plain;
}

// What reading the box gives back for editor text: every kind of line break as CR LF.
QString readBack(QString plain)
{
    plain.replace(QChar::LineSeparator, u'\n');
    return plain.replace(u'\n', QStringLiteral("\r\n"));
}

struct Pieces {
    QString text;                   // the lines, long ones cut, joined by LF
    std::vector<bool> continuation; // per line of `text`: continues the one before it
    bool anyCut = false;
};

// Cuts long lines into pieces, after a blank where there is one near the cut.
Pieces cutIntoPieces(const QString& plain)
{
    Pieces cut;
    cut.text.reserve(plain.size() + plain.size() / pieceLength);
    qsizetype lineStart = 0;
    for (qsizetype i = 0; i <= plain.size(); ++i) {
        if (i < plain.size() && plain[i] != u'\n')
            continue;
        QStringView line = QStringView(plain).mid(lineStart, i - lineStart);
        cut.continuation.push_back(false);
        while (line.size() > pieceLength) {
            qsizetype at = pieceLength;
            for (qsizetype j = pieceLength; j > pieceLength - 200; --j)
                if (line[j - 1] == u' ') {
                    at = j;
                    break;
                }
            // Never between the two halves of a character beyond the 16-bit range (an emoji).
            if (line[at - 1].isHighSurrogate())
                --at;
            cut.text += line.left(at);
            cut.text += u'\n';
            cut.continuation.push_back(true);
            cut.anyCut = true;
            line = line.mid(at);
        }
        cut.text += line;
        if (i < plain.size())
            cut.text += u'\n';
        lineStart = i + 1;
    }
    return cut;
}

// Marks the blocks from `block` on as continuing the one before them, or not.
void markContinuations(QTextBlock block, const std::vector<bool>& continuation)
{
    for (bool continues : continuation) {
        if (continues != continuesPrevious(block))
            block.setUserData(continues ? new Continuation : nullptr);
        block = block.next();
    }
}

} // namespace

QMimeData* TextBox::createMimeDataFromSelection() const
{
    const QTextCursor cursor = textCursor();
    auto* data = new QMimeData;
    QString text = textBetween(*document(), cursor.selectionStart(), cursor.selectionEnd());
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    data->setText(text);
    return data;
}

TextBox::TextBox(QWidget* parent)
    : QPlainTextEdit(parent)
{
    connect(document(), &QTextDocument::contentsChanged, this, [this] { textKnown_ = false; });
}

QString TextBox::text() const
{
    if (!textKnown_) {
        text_ = textBetween(*document(), 0, document()->characterCount() - 1);
        textKnown_ = true;
    }
    return text_;
}

void TextBox::setText(const QString& text)
{
    const Pieces cut = cutIntoPieces(editorText(text));
    setPlainText(cut.text);
    // Undo would bring a cut back as a line break; a box holding a cut text has none.
    setUndoRedoEnabled(!cut.anyCut);
    if (cut.anyCut)
        markContinuations(document()->begin(), cut.continuation);
    text_ = readBack(editorText(text));
    textKnown_ = true;
}

void TextBox::append(const QString& text)
{
    // Nothing added leaves the caret and the view where the student has them.
    if (text.isEmpty())
        return;
    this->text(); // known before the document changes; added to in place below
    const QString added = editorText(text);
    // The last line is cut into pieces again together with what is added to it.
    const QTextBlock last = document()->lastBlock();
    const int lastStart = last.position();
    const bool lastContinues = continuesPrevious(last);
    const Pieces cut = cutIntoPieces(last.text() + added);
    QTextCursor cursor(last);
    cursor.movePosition(QTextCursor::EndOfBlock);
    // Where the last line keeps its pieces, only the new text goes in, and that is what a screen
    // reader is told was inserted.
    const qsizetype kept = last.text().size();
    qsizetype addedAt = kept;
    if (cut.text.startsWith(last.text())) {
        cursor.insertText(cut.text.mid(kept));
    } else {
        cursor.setPosition(lastStart, QTextCursor::KeepAnchor);
        cursor.insertText(cut.text);
        // The new cuts fall among the old characters: the added text starts after as many of
        // them as the last line held.
        addedAt = 0;
        for (qsizetype seen = 0; seen < kept; ++addedAt)
            if (cut.text[addedAt] != u'\n')
                ++seen;
    }
    // What the program puts in the box is not the student's to undo, as after setText.
    document()->clearUndoRedoStacks();
    if (cut.anyCut)
        setUndoRedoEnabled(false);
    std::vector<bool> continuation = cut.continuation;
    continuation.front() = lastContinues;
    markContinuations(document()->findBlock(lastStart), continuation);
    text_ += readBack(added);
    textKnown_ = true;
    showFrom(lastStart + int(addedAt));
}

void TextBox::showFrom(int position)
{
    // Scrolled to the end first, the view then moves back up only until the caret's line is its
    // top line; where the rest is shorter than the view, the caret stays lower down.
    verticalScrollBar()->setValue(verticalScrollBar()->maximum());
    QTextCursor caret(document());
    caret.setPosition(std::min(position, document()->characterCount() - 1));
    setTextCursor(caret);
    ensureCursorVisible();
}

void TextBox::focusInEvent(QFocusEvent* event)
{
    QPlainTextEdit::focusInEvent(event);
    // A click selects on its release, once the caret has gone where the mouse put it.
    if (event->reason() != Qt::MouseFocusReason && holdsReplacedText())
        selectAll();
}

void TextBox::mouseReleaseEvent(QMouseEvent* event)
{
    QPlainTextEdit::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && !textCursor().hasSelection() && holdsReplacedText())
        selectAll();
}

} // namespace desk
