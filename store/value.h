#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

namespace store {

// Field types of a FoxPro 2.x table.
enum class FieldType : char { Character = 'C', Numeric = 'N', Logical = 'L', Date = 'D', Memo = 'M' };

struct FieldDef {
    std::string name; // upper case, at most 10 characters
    FieldType type = FieldType::Character;
    int length = 0;   // C: 1..254, N: 1..20, L: 1, D: 8, M: 10
    int decimals = 0; // N only
};

// A value of the runtime: text (raw bytes in the table's code page, cp1252), number, logical or date.
// Dates are Julian day numbers; 0 is the blank date.
class Value {
public:
    enum class Type : std::uint8_t { Text, Number, Logical, Date };

    Value() = default;
    static Value text(std::string s) {
        Value v;
        v.m_type = Type::Text;
        v.m_text = std::move(s);
        return v;
    }
    static Value number(double d) {
        Value v;
        v.m_type = Type::Number;
        v.m_number = d;
        return v;
    }
    static Value logical(bool b) {
        Value v;
        v.m_type = Type::Logical;
        v.m_number = b ? 1.0 : 0.0;
        return v;
    }
    static Value date(std::int32_t julianDay) {
        Value v;
        v.m_type = Type::Date;
        v.m_number = julianDay;
        return v;
    }

    Type type() const { return m_type; }
    bool isText() const { return m_type == Type::Text; }
    bool isNumber() const { return m_type == Type::Number; }
    bool isLogical() const { return m_type == Type::Logical; }
    bool isDate() const { return m_type == Type::Date; }

    const std::string& asText() const { return m_text; }
    std::string& textRef() { return m_text; }
    double asNumber() const { return m_number; }
    bool asLogical() const { return m_number != 0.0; }
    std::int32_t asDate() const { return static_cast<std::int32_t>(m_number); }

    friend bool operator==(const Value& a, const Value& b) {
        return a.m_type == b.m_type && (a.m_type == Type::Text ? a.m_text == b.m_text : a.m_number == b.m_number);
    }

private:
    Type m_type = Type::Text;
    double m_number = 0.0;
    std::string m_text;
};

// Read access to the current record of a table, as the expression evaluator needs it.
class RecordView {
public:
    virtual ~RecordView() = default;
    virtual int fieldCount() const = 0;
    virtual const FieldDef& fieldDef(int index) const = 0;
    // Index of a field by name, compared without case; -1 when there is none.
    virtual int fieldIndex(std::string_view name) const = 0;
    // The stored bytes of a non-memo field in the current record (blank-padded as on disk).
    virtual std::string_view rawField(int index) const = 0;
    // The typed value of a field in the current record; memo fields give their text.
    virtual Value fieldValue(int index) const = 0;
};

} // namespace store
