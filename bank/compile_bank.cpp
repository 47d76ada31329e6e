// Build tool: checks the assignment files under bank/assignments and writes them out as C++
// source, so that the question bank is part of the program and no file is read at run time.
//
//   compile_bank OUTPUT.cpp ASSIGNMENT.txt...
//
// An assignment file is named after its three-digit number (002.txt) and holds one bank line per
// line, in UTF-8; its first line is its header. A file that breaks the bank's conventions stops
// the build with "file:line: what is wrong", as a compiler would.

#include "bank/compiled_bank.h"
#include "runtime/windows1252.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringList>

#include <algorithm>
#include <cstdio>
#include <map>
#include <stdexcept>

namespace {

struct BankError : std::runtime_error {
    BankError(const QString& file, qsizetype line, const QString& what)
        : std::runtime_error((line > 0 ? QStringLiteral("%1:%2: %3").arg(file).arg(line).arg(what)
                                       : QStringLiteral("%1: %2").arg(file, what))
                                 .toStdString())
    {
    }
};

QString threeDigits(int number)
{
    return QStringLiteral("%1").arg(number, 3, 10, QLatin1Char('0'));
}

// The file's lines: split at LF (a CR before it dropped, for files saved on Windows); a final
// line end ends the last line rather than starting an empty one. A byte-order mark is dropped.
QStringList linesOf(const QString& file)
{
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly))
        throw BankError(file, 0, QStringLiteral("cannot be read: ") + in.errorString());
    QByteArray bytes = in.readAll();
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    QList<QByteArray> rawLines = bytes.split('\n');
    if (bytes.endsWith('\n'))
        rawLines.removeLast();
    QStringList lines;
    for (qsizetype i = 0; i < rawLines.size(); ++i) {
        QByteArray raw = rawLines[i];
        if (raw.endsWith('\r'))
            raw.chop(1);
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString line = utf8.decode(raw);
        if (utf8.hasError())
            throw BankError(file, i + 1,
                            QStringLiteral("is not UTF-8 text; save the file as UTF-8"));
        lines << line;
    }
    return lines;
}

void checkLines(const QString& file, int number, const QStringList& lines)
{
    static const QRegularExpression header(QStringLiteral("^(\\d{3})\\.\\s*\\S"));
    static const QRegularExpression anyHeader(QStringLiteral("^\\d{3}\\."));
    const QRegularExpressionMatch match = header.match(lines.value(0));
    if (!match.hasMatch())
        throw BankError(
            file, 1,
            QStringLiteral("the first line must be the assignment's header: its three-digit "
                           "number, \".\" and a title, as \"%1.  Part A\"")
                .arg(threeDigits(number)));
    if (match.captured(1) != threeDigits(number))
        throw BankError(file, 1,
                        QStringLiteral("the header is assignment %1, but the file is named %2.txt")
                            .arg(match.captured(1), threeDigits(number)));
    const QString next = threeDigits(number + 1);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString& line = lines[i];
        // The program ends an assignment at a line that starts with the next number, and opens
        // an assignment at the first line that starts with its number and ".".
        if (i > 0 && line.startsWith(next))
            throw BankError(
                file, i + 1,
                QStringLiteral("a line that starts with %1 would end assignment %2 here, "
                               "taken for the next assignment's header")
                    .arg(next, threeDigits(number)));
        if (i > 0 && anyHeader.match(line).hasMatch())
            throw BankError(
                file, i + 1,
                QStringLiteral("only the first line may start with three digits and \".\": "
                               "the program would take this one for an assignment's header"));
        const QStringList unheld = desk::windows1252::unencodable(line);
        if (!unheld.isEmpty()) {
            QStringList named;
            for (const QString& c : unheld)
                named << QStringLiteral("\"%1\" (U+%2)")
                             .arg(c,
                                  QString::number(c.toUcs4().value(0), 16)
                                      .rightJustified(4, u'0')
                                      .toUpper());
            throw BankError(file, i + 1,
                            QStringLiteral("the record files (Windows-1252) cannot hold ")
                                + named.join(u", "));
        }
    }
}

// A C++ string literal of the line: printable ASCII as it is, every other character escaped.
QByteArray literal(const QString& line)
{
    QByteArray out = "u\"";
    for (const QChar c : line) {
        const char16_t u = c.unicode();
        if (u == u'\\' || u == u'"') {
            out += '\\';
            out += char(u);
        } else if (u >= 0x20 && u < 0x7F)
            out += char(u);
        else if (u < 0x100) // three octal digits, so a digit after it is not taken in
            out += '\\' + QByteArray::number(u, 8).rightJustified(3, '0');
        else
            out += "\\u" + QByteArray::number(u, 16).rightJustified(4, '0');
    }
    return out + "\"sv";
}

void compile(const QString& output, const QStringList& files)
{
    std::map<int, QString> byNumber;
    static const QRegularExpression fileName(QStringLiteral("^\\d{3}\\.txt$"));
    for (const QString& file : files) {
        const QString name = QFileInfo(file).fileName();
        if (!fileName.match(name).hasMatch())
            throw BankError(
                file, 0,
                QStringLiteral(
                    "an assignment file is named after its three-digit number, as 002.txt"));
        byNumber[name.left(3).toInt()] = file;
    }
    if (byNumber.empty())
        throw BankError(output, 0,
                        QStringLiteral("there is no assignment file in bank/assignments"));

    QByteArray source =
        "// Made by compile_bank from the files in bank/assignments: edit those, not this.\n"
        "#include \"bank/compiled_bank.h\"\n\n"
        "using namespace std::literals;\n\n"
        "namespace desk {\n\nnamespace {\n\nconstexpr std::u16string_view lines[] = {\n";
    qsizetype slots = 0;
    int previous = -1;
    for (const auto& [number, file] : byNumber) {
        if (previous >= 0 && number != previous + 1)
            throw BankError(
                file, 1,
                QStringLiteral("assignment %1 follows %2: an assignment runs to the header of the "
                               "next number, so %3 must come between them")
                    .arg(threeDigits(number), threeDigits(previous), threeDigits(previous + 1)));
        previous = number;
        const QStringList lines = linesOf(file);
        checkLines(file, number, lines);
        slots += lines.size();
        if (slots > desk::LastBankSlot)
            throw BankError(file, lines.size(),
                            QStringLiteral("the bank has room for %1 lines in all, and this file "
                                           "takes it to %2")
                                .arg(desk::LastBankSlot)
                                .arg(slots));
        source += "    // " + QFileInfo(file).fileName().toUtf8() + "\n";
        for (const QString& line : lines)
            source += "    " + literal(line) + ",\n";
    }
    source += "};\n\n} // namespace\n\nconst std::span<const std::u16string_view> "
              "compiledInBank(lines);\n\n"
              "} // namespace desk\n";

    QSaveFile out(output);
    if (!out.open(QIODevice::WriteOnly) || out.write(source) != source.size() || !out.commit())
        throw BankError(output, 0, QStringLiteral("cannot be written: ") + out.errorString());
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QStringList arguments = app.arguments();
    if (arguments.size() < 2) {
        std::fprintf(stderr, "usage: compile_bank OUTPUT.cpp ASSIGNMENT.txt...\n");
        return 2;
    }
    arguments.removeFirst();
    const QString output = arguments.takeFirst();
    try {
        compile(output, arguments);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
