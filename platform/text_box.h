#pragma once
// Text boxes are read and replaced whole, with CR LF line breaks as the rest of the program
// expects; the editor itself works with LF.

#include <QString>

class QPlainTextEdit;

namespace desk {

QString boxText(const QPlainTextEdit& box);
void setBoxText(QPlainTextEdit& box, const QString& text);

} // namespace desk
