#include "records/record_reader.h"

#include "records/record_file_names.h"
#include "records/record_lines.h"
#include "runtime/windows1252.h"

#include <QFileInfo>
#include <QStringList>

#include <algorithm>

namespace desk {

namespace {

const QString lineEnd = QStringLiteral("\r\n");
const QString indent = record::indented(QString());
// In a form, 9 stands for any digit and every other character for itself.
const QString dateForm = QStringLiteral("99-99-9999");
const QString timeForm = QStringLiteral("99:99:99");
const QString masterDateAndTimeForm = dateForm + timeForm;
const QString sendDateAndTimeForm = dateForm + u' ' + timeForm;

bool fits(QStringView text, QStringView form)
{
    if (text.size() != form.size())
        return false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const bool digit = text[i] >= u'0' && text[i] <= u'9';
        if (form[i] == u'9' ? !digit : text[i] != form[i])
            return false;
    }
    return true;
}

// What stops the reading: the first problem found, and whether it is that the file ended within a
// header or a block.
struct Broken {
    RecordProblem problem;
    bool atEnd = false;
};

// Reads the lines in order; each part (a header or a block) is read whole or the reading stops.
class Reader {
public:
    Reader(const QStringList& lines, RecordFileKind kind)
        : lines_(lines)
        , kind_(kind)
    {
    }

    // Fills `runs` as it goes, so that what was read before a problem is kept.
    void read(std::vector<RecordRun>& runs)
    {
        if (kind_ == RecordFileKind::Notes)
            runs.emplace_back();
        while (next_ < lines_.size()) {
            const int line = int(next_) + 1;
            if (lines_[next_] == record::openingSeparator) {
                if (runs.empty())
                    throw Broken{{line, QStringLiteral("a block with no header above it")}};
                runs.back().blocks.push_back(readBlock());
            } else if (kind_ != RecordFileKind::Notes && next_ + 1 == lines_.size()) {
                // The last line may be a header's first.
                throw Broken{{line, QStringLiteral("header not complete at the end of the file")},
                             true};
            } else if (kind_ != RecordFileKind::Notes
                       && lines_[next_ + 1].startsWith(record::studentNameLabel)) {
                runs.push_back(readHeader());
            } else {
                throw Broken{{line, QStringLiteral("a stray line, in no header or block")}};
            }
        }
    }

private:
    void begin(const QString& part, const QString& unfinished)
    {
        partStart_ = int(next_) + 1;
        part_ = part;
        unfinished_ = unfinished;
    }

    const QString& peek() const
    {
        if (next_ >= lines_.size())
            throw Broken{{partStart_, part_ + u' ' + unfinished_}, true};
        return lines_[next_];
    }

    const QString& take()
    {
        const QString& line = peek();
        ++next_;
        return line;
    }

    // Stops the reading at the line last taken unless it is as the part's form says.
    void expect(bool asItShouldBe, const QString& what) const
    {
        if (!asItShouldBe)
            throw Broken{{int(next_), part_ + QStringLiteral(": expected ") + what}};
    }

    QString labelled(const QString& label, const QString& what)
    {
        const QString& line = take();
        expect(line.startsWith(label), what);
        return line.mid(label.size());
    }

    // The program never writes a control character into a header's name or initials.
    QString plain(const QString& text) const
    {
        expect(std::none_of(text.begin(), text.end(),
                            [](QChar c) { return c.category() == QChar::Other_Control; }),
               QStringLiteral("no control character"));
        return text;
    }

    QString indented(const QString& form, const QString& what)
    {
        const QString& line = take();
        expect(line.startsWith(indent) && fits(QStringView(line).mid(indent.size()), form), what);
        return line.mid(indent.size());
    }

    RecordRun readHeader()
    {
        begin(QStringLiteral("header"), QStringLiteral("not complete at the end of the file"));
        RecordRun run;
        run.firstLine = partStart_;
        take(); // the random characters, whatever they are
        run.studentName =
            plain(labelled(record::studentNameLabel, QStringLiteral("the student's name")));
        run.assignmentNumber =
            labelled(record::assignmentLabel, QStringLiteral("the assignment number"));
        run.assignmentHeader = take();
        run.initials = plain(labelled(record::initialsLabel, QStringLiteral("the initials")));
        const QString dateAndTime =
            labelled(record::dateAndTimeLabel, QStringLiteral("the date and time"));
        const bool send = kind_ == RecordFileKind::Send;
        expect(fits(dateAndTime, send ? sendDateAndTimeForm : masterDateAndTimeForm),
               send ? QStringLiteral("the date, a blank and the time")
                    : QStringLiteral("the date and at once the time"));
        run.date = dateAndTime.left(dateForm.size());
        run.time = dateAndTime.right(timeForm.size());
        return run;
    }

    // The line after the time tells a note, with its date and time, from a response.
    RecordBlock::Kind kindOfBlock()
    {
        const QString& third = take();
        RecordBlock::Kind kind = RecordBlock::Response;
        if (kind_ == RecordFileKind::Notes
            || (third.startsWith(indent)
                && fits(QStringView(third).mid(indent.size()), masterDateAndTimeForm)))
            kind = RecordBlock::Note;
        else if (kind_ == RecordFileKind::Master)
            expect(third.isEmpty(), QStringLiteral("an empty line or the date and time"));
        --next_; // read again as the block's own form has it
        return kind;
    }

    RecordBlock readBlock()
    {
        begin(QStringLiteral("block"), QStringLiteral("not closed at the end of the file"));
        RecordBlock block;
        block.firstLine = partStart_;
        take(); // the opening separator
        block.time = indented(timeForm, QStringLiteral("the time"));
        block.kind = kindOfBlock();
        const bool note = block.kind == RecordBlock::Note;
        part_ = note ? QStringLiteral("note block") : QStringLiteral("response block");
        if (note) {
            block.dateAndTime =
                indented(masterDateAndTimeForm, QStringLiteral("the date and time"));
        } else if (kind_ == RecordFileKind::Master) {
            expect(take().isEmpty(), QStringLiteral("an empty line"));
            expect(take().isEmpty(), QStringLiteral("a second empty line"));
            block.questionNumber = questionNumber(take());
        }
        block.paragraph = take();
        expect(take() == record::openingSeparator,
               QStringLiteral("the separator after the paragraph"));
        QStringList text;
        if (note) {
            text << labelled(record::notesLabel, QStringLiteral("the notes label"));
        } else {
            expect(take() == record::responseLabel, QStringLiteral("the response label"));
        }
        for (QString line = take(); line != record::closingSeparator || !closesBlock();
             line = take()) {
            if (opensBlock(next_ - 1))
                throw Broken{
                    {partStart_,
                     part_ + QStringLiteral(" not closed before the block at line %1").arg(next_)}};
            text << line;
        }
        expect(!text.isEmpty(), QStringLiteral("the answer"));
        block.text = text.join(lineEnd);
        return block;
    }

    // Whether line `i` opens a block: the opening separator, then the time. An answer may hold
    // a line like the separator (the program writes answers as typed); no time follows it there.
    bool opensBlock(qsizetype i) const
    {
        return lines_[i] == record::openingSeparator && i + 1 < lines_.size()
            && lines_[i + 1].startsWith(indent)
            && fits(QStringView(lines_[i + 1]).mid(indent.size()), timeForm);
    }

    // Whether the closing separator just taken ends the block. An answer may hold such a line:
    // then the block's own closing separator follows before another block or a header begins.
    bool closesBlock() const
    {
        for (qsizetype i = next_; i < lines_.size(); ++i) {
            if (opensBlock(i)
                || (i + 1 < lines_.size() && lines_[i + 1].startsWith(record::studentNameLabel)))
                return true;
            if (lines_[i] == record::closingSeparator)
                return false;
        }
        return true;
    }

    // The key, then the number: a blank before it unless it is negative, and one after it.
    QString questionNumber(const QString& line) const
    {
        expect(line.startsWith(record::questionNumberKey), QStringLiteral("the question number"));
        QStringView number = QStringView(line).mid(record::questionNumberKey.size());
        expect(number.size() > 2 && (number.front() == u' ' || number.front() == u'-')
                   && number.back() == u' ',
               QStringLiteral("the question number between blanks"));
        number = number.mid(number.front() == u' ' ? 1 : 0).chopped(1);
        const auto digit = [](QChar c) { return c >= u'0' && c <= u'9'; };
        const auto inNumber = [&](QChar c) { return digit(c) || QStringView(u".-+E").contains(c); };
        expect(std::any_of(number.begin(), number.end(), digit)
                   && std::all_of(number.begin(), number.end(), inNumber),
               QStringLiteral("the question number"));
        return number.toString();
    }

    const QStringList& lines_;
    const RecordFileKind kind_;
    qsizetype next_ = 0;
    int partStart_ = 0;
    QString part_;
    QString unfinished_;
};

QStringList linesOf(const QByteArray& bytes)
{
    return windows1252::decode(bytes).split(lineEnd);
}

} // namespace

int RecordRun::count(RecordBlock::Kind kind) const
{
    return int(std::count_if(blocks.begin(), blocks.end(),
                             [kind](const RecordBlock& block) { return block.kind == kind; }));
}

RecordReading readRecordFile(const QByteArray& bytes, RecordFileKind kind)
{
    // What follows the last CR LF is nothing, or a torn line. The rest is read without it: where
    // the rest is whole, or ends within a header or a block the torn line belonged to, the torn
    // line is the problem.
    QStringList lines = linesOf(bytes);
    const bool torn = !lines.back().isEmpty();
    lines.removeLast();

    RecordReading reading;
    bool endedWithin = false;
    try {
        Reader(lines, kind).read(reading.runs);
    } catch (const Broken& broken) {
        reading.problem = broken.problem;
        endedWithin = broken.atEnd;
    }
    if (torn && (!reading.problem || endedWithin))
        reading.problem =
            RecordProblem{int(lines.size()) + 1, QStringLiteral("torn line: no CR LF at its end")};
    return reading;
}

RecordFileKind recordFileKind(const QString& fileName, const QByteArray& bytes)
{
    if (const auto file = RecordFileNames::recordFileOf(QFileInfo(fileName).fileName()))
        return *file == RecordFileNames::Master ? RecordFileKind::Master
            : *file == RecordFileNames::Send    ? RecordFileKind::Send
                                                : RecordFileKind::Notes;

    const QStringList lines = linesOf(bytes);
    for (qsizetype i = 1; i + 4 < lines.size(); ++i) {
        if (lines[i].startsWith(record::studentNameLabel)
            && lines[i + 1].startsWith(record::assignmentLabel)
            && lines[i + 3].startsWith(record::initialsLabel)
            && lines[i + 4].startsWith(record::dateAndTimeLabel)) {
            const QStringView dateAndTime =
                QStringView(lines[i + 4]).mid(record::dateAndTimeLabel.size());
            return fits(dateAndTime, sendDateAndTimeForm) ? RecordFileKind::Send
                                                          : RecordFileKind::Master;
        }
    }
    return lines.contains(record::responseLabel) ? RecordFileKind::Master : RecordFileKind::Notes;
}

} // namespace desk
