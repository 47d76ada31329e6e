#include "platform/text_box.h"

#include <QMimeData>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <vector>

namespace desk {

namespace {

// Lines longer than this are held in pieces of about this size.
constexpr qsizetype pieceLength = 2000;

// Marks a block that continues the previous one without a line break.
class Continuation : public QTextBlockUserData {};

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

QString boxText(const QPlainTextEdit& box)
{
    const QTextDocument& document = *box.document();
    return textBetween(document, 0, document.characterCount() - 1);
}

void setBoxText(QPlainTextEdit& box, const QString& text)
{
    QString plain = text;
    plain.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    plain.replace(u'\r', u'\n');

    // Cut long lines into pieces, after a blank where there is one near the cut.
    std::vector<bool> continuation;
    QString pieces;
    pieces.reserve(plain.size() + plain.size() / pieceLength);
    qsizetype lineStart = 0;
    for (qsizetype i = 0; i <= plain.size(); ++i) {
        if (i < plain.size() && plain[i] != u'\n')
            continue;
        QStringView line = QStringView(plain).mid(lineStart, i - lineStart);
        continuation.push_back(false);
        while (line.size() > pieceLength) {
            qsizetype cut = pieceLength;
            for (qsizetype j = pieceLength; j > pieceLength - 200; --j)
                if (line[j - 1] == u' ') {
                    cut = j;
                    break;
                }
            pieces += line.left(cut);
            pieces += u'\n';
            continuation.push_back(true);
            line = line.mid(cut);
        }
        pieces += line;
        if (i < plain.size())
            pieces += u'\n';
        lineStart = i + 1;
    }

    box.setPlainText(pieces);
    // Undo would bring a cut back as a line break; a box holding a cut text has none.
    const bool cut = pieces.size() != plain.size();
    box.setUndoRedoEnabled(!cut);
    if (!cut)
        return;
    QTextBlock block = box.document()->begin();
    for (bool continues : continuation) {
        if (continues)
            block.setUserData(new Continuation);
        block = block.next();
    }
}

} // namespace desk
