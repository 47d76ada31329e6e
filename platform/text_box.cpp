#include "platform/text_box.h"

#include <QPlainTextEdit>
#include <QTextDocument>

namespace desk {

QString boxText(const QPlainTextEdit& box)
{
    // The raw text keeps no-break spaces, which toPlainText() would turn into blanks.
    QString text = box.document()->toRawText();
    text.replace(QChar::ParagraphSeparator, QStringLiteral("\r\n"));
    text.replace(QChar::LineSeparator, QStringLiteral("\r\n"));
    return text;
}

void setBoxText(QPlainTextEdit& box, const QString& text)
{
    QString plain = text;
    plain.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    plain.replace(u'\r', u'\n');
    box.setPlainText(plain);
}

} // namespace desk
