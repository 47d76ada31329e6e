#pragma once
// A value that may be empty: empty at first, then a whole number, a single-precision number or
// a text. Empty reads as 0 in arithmetic, as the empty text in text operations, and as false.

#include <QString>
#include <QtGlobal>

#include <variant>

namespace desk {

class Value {
public:
    Value() = default;
    static Value whole(qint32 number) { return Value(Kind{number}); }
    static Value single(float number) { return Value(Kind{number}); }
    static Value text(const QString& text) { return Value(Kind{text}); }
    // Truth values are whole numbers: -1 true, 0 false.
    static Value truth(bool value) { return whole(value ? -1 : 0); }

    bool isEmpty() const { return std::holds_alternative<std::monostate>(v_); }
    bool isWhole() const { return std::holds_alternative<qint32>(v_); }
    bool isSingle() const { return std::holds_alternative<float>(v_); }
    bool isText() const { return std::holds_alternative<QString>(v_); }

    // As a number; a text must read as one (error 13 otherwise).
    double toNumber() const;
    // As a whole number, rounded half to even where it holds a fraction (error 6 out of range).
    qint32 toWhole() const;
    // As a text; numbers in their decimal text.
    QString toText() const;
    // Any non-zero number is true.
    bool isTrue() const { return toNumber() != 0; }

    // Adds a whole number; a whole number stays whole (error 6 on overflow).
    Value plus(qint32 amount) const;

    // Compares as numbers, the way the program compares a value with a number: 1, 1.0 and the
    // text "1" all equal 1; empty equals 0; a text that is no number equals none.
    bool equalsNumber(double number) const;
    // Also compares the kind: whole 1 differs from single 1 and from the text "1".
    bool sameKindAndValue(const Value& other) const { return v_ == other.v_; }

private:
    using Kind = std::variant<std::monostate, qint32, float, QString>;
    explicit Value(Kind v)
        : v_(std::move(v))
    {
    }
    Kind v_;
};

} // namespace desk
