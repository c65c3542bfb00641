#include "expr.h"

#include <array>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <optional>
#include <utility>
#include <vector>

#include "error.h"
#include "format.h"

namespace store {

namespace detail {

// A node of the evaluation tree. The parser checks every operand type, so a node is only ever asked for the kind
// of result its type() names; the other accessors keep their harmless defaults.
class ExprNode {
public:
    explicit ExprNode(Value::Type type) : m_type(type) {}
    virtual ~ExprNode() = default;
    ExprNode(const ExprNode&) = delete;
    ExprNode& operator=(const ExprNode&) = delete;

    Value::Type type() const { return m_type; }
    int length() const { return m_length; }
    int depth() const { return m_depth; }
    bool isConstant() const { return m_constant; }

    virtual double num() const { return 0.0; }
    virtual bool log() const { return false; }
    virtual std::int32_t date() const { return 0; }
    virtual void appendText(std::string&) const {}
    // Text nodes that already hold their bytes (fields, literals, named values) hand them out without copying.
    virtual bool viewText(std::string_view&) const { return false; }

protected:
    void adopt(const ExprNode& child) {
        m_depth = std::max(m_depth, child.m_depth + 1);
        m_constant = m_constant && child.m_constant;
    }

    Value::Type m_type;
    int m_length = -1;      // static length of a text result, -1 when it varies
    int m_depth = 1;        // evaluation and destruction recurse this deep
    bool m_constant = true; // no record or named value below
};

} // namespace detail

namespace {

using detail::ExprNode;
using NodePtr = std::unique_ptr<ExprNode>;

constexpr std::size_t kMaxTextLength = 64 * 1024;
constexpr int kMaxNesting = 100; // parentheses, calls and unary operators inside each other
constexpr int kMaxDepth = 200;   // depth of the finished tree, e.g. long chains of arithmetic
constexpr int kDefaultStrWidth = 10;
// Significant decimal digits that survive a round trip through a double.
constexpr int kSignificantDigits = 15;

constexpr std::array<double, 16> kPowersOfTen = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                                 1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};

const char* typeName(Value::Type type) {
    switch (type) {
    case Value::Type::Text:
        return "Text";
    case Value::Type::Number:
        return "Zahl";
    case Value::Type::Logical:
        return "Logisch";
    case Value::Type::Date:
        return "Datum";
    }
    return "?";
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
bool isIdentStart(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}
bool isIdentChar(char c) {
    return isIdentStart(c) || isDigit(c);
}
char asciiUpper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool equalsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (asciiUpper(a[i]) != asciiUpper(b[i])) return false;
    return true;
}

std::string upperAscii(std::string_view s) {
    std::string r(s);
    for (char& c : r)
        c = asciiUpper(c);
    return r;
}

// cp1252 case mapping: ASCII, the Latin-1 letters (umlauts included) and the four letters of 0x80..0x9F.
// ß has no single-byte capital and stays as it is.
struct CaseTables {
    std::array<unsigned char, 256> upper{};
    std::array<unsigned char, 256> lower{};
    constexpr CaseTables() {
        for (int i = 0; i < 256; ++i) {
            upper[i] = static_cast<unsigned char>(i);
            lower[i] = static_cast<unsigned char>(i);
        }
        auto pair = [this](int low, int up) {
            upper[low] = static_cast<unsigned char>(up);
            lower[up] = static_cast<unsigned char>(low);
        };
        for (int c = 'a'; c <= 'z'; ++c)
            pair(c, c - 32);
        for (int c = 0xE0; c <= 0xFE; ++c)
            if (c != 0xF7) pair(c, c - 32);
        pair(0x9A, 0x8A);
        pair(0x9C, 0x8C);
        pair(0x9E, 0x8E);
        pair(0xFF, 0x9F);
    }
};
constexpr CaseTables kCase;

// --- numbers ----------------------------------------------------------------------------------------------------

// The stored text of an N field: blanks, optional sign, digits, optional point and digits. Blank reads as 0.
// False for anything else, so that the table's own reading decides.
bool parseStoredNumber(std::string_view raw, double& out) {
    std::size_t b = 0, e = raw.size();
    while (b < e && raw[b] == ' ')
        ++b;
    while (e > b && raw[e - 1] == ' ')
        --e;
    if (b == e) {
        out = 0.0;
        return true;
    }
    std::size_t i = b;
    bool negative = raw[i] == '-';
    if (negative) ++i;
    std::uint64_t mantissa = 0;
    int digits = 0, fraction = 0;
    bool point = false;
    for (; i < e; ++i) {
        char c = raw[i];
        if (isDigit(c)) {
            mantissa = mantissa * 10 + static_cast<unsigned>(c - '0');
            ++digits;
            if (point) ++fraction;
        } else if (c == '.' && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (i == e && digits > 0 && digits <= kSignificantDigits) {
        // Both operands are exact, so the quotient is the correctly rounded value.
        double v = static_cast<double>(mantissa) / kPowersOfTen[static_cast<std::size_t>(fraction)];
        out = negative ? -v : v;
        return true;
    }
    // Long or unusual digit strings: let the library read them exactly.
    double v = 0.0;
    auto [ptr, ec] = std::from_chars(raw.data() + b, raw.data() + e, v, std::chars_format::fixed);
    if (ec != std::errc() || ptr != raw.data() + e) return false;
    out = v;
    return true;
}

// True when the stored text of an N field is exactly what formatting its value in the field's width and decimals
// would give, so STR() can copy it. Blank, "-0", leading zeros and non-standard spellings go the long way.
bool isCanonicalStored(std::string_view raw, int decimals) {
    std::size_t i = 0, n = raw.size();
    while (i < n && raw[i] == ' ')
        ++i;
    if (i == n) return false;
    bool negative = raw[i] == '-';
    if (negative) ++i;
    std::size_t intStart = i;
    bool nonZero = false;
    while (i < n && isDigit(raw[i]))
        nonZero |= raw[i++] != '0';
    std::size_t intDigits = i - intStart;
    if (intDigits == 0 || (intDigits > 1 && raw[intStart] == '0')) return false;
    if (decimals > 0) {
        if (i == n || raw[i] != '.') return false;
        std::size_t fracStart = ++i;
        while (i < n && isDigit(raw[i]))
            nonZero |= raw[i++] != '0';
        if (i - fracStart != static_cast<std::size_t>(decimals)) return false;
    }
    if (i != n) return false;
    if (negative && !nonZero) return false;
    return intDigits + static_cast<std::size_t>(decimals) <= static_cast<std::size_t>(kSignificantDigits);
}

// STR()'s width and decimals arrive as numbers: the fraction is dropped, NaN and anything below 1 count as 0.
int clampWidth(double w) {
    if (!(w >= 1.0)) return 0; // also NaN
    return w >= kStrMaxWidth ? kStrMaxWidth : static_cast<int>(w);
}

int clampDecimals(double d) {
    if (!(d >= 1.0)) return 0;
    return d >= kStrMaxWidth ? kStrMaxWidth : static_cast<int>(d);
}

// VAL(): the number at the start of a text after leading blanks; 0 when there is none.
double leadingNumber(std::string_view s) {
    std::size_t i = 0, n = s.size();
    while (i < n && (s[i] == ' ' || s[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < n && (s[i] == '-' || s[i] == '+')) negative = s[i++] == '-';
    std::size_t start = i;
    while (i < n && isDigit(s[i]))
        ++i;
    if (i + 1 < n && s[i] == '.' && isDigit(s[i + 1])) {
        ++i;
        while (i < n && isDigit(s[i]))
            ++i;
    }
    if (i == start) return 0.0;
    double v = 0.0;
    auto [ptr, ec] = std::from_chars(s.data() + start, s.data() + i, v, std::chars_format::fixed);
    if (ec != std::errc()) return 0.0;
    return negative ? -v : v;
}

void appendDoubleKey(double d, std::string& out) {
    if (d == 0.0) d = 0.0; // -0 and +0 are the same key
    std::uint64_t bits;
    std::memcpy(&bits, &d, sizeof bits);
    bits = (bits >> 63) ? ~bits : bits ^ (std::uint64_t{1} << 63);
    for (int shift = 56; shift >= 0; shift -= 8)
        out.push_back(static_cast<char>((bits >> shift) & 0xFF));
}

void appendDtos(std::string& out, std::int32_t julianDay) {
    constexpr std::int32_t kUnixEpochJulianDay = 2440588;
    if (julianDay <= 0) {
        out.append(8, ' ');
        return;
    }
    using namespace std::chrono;
    year_month_day ymd{sys_days{days{julianDay - kUnixEpochJulianDay}}};
    int y = static_cast<int>(ymd.year());
    if (y < 1 || y > 9999) {
        out.append(8, ' ');
        return;
    }
    unsigned parts[3] = {static_cast<unsigned>(y), static_cast<unsigned>(ymd.month()),
                         static_cast<unsigned>(ymd.day())};
    char buf[8] = {char('0' + parts[0] / 1000), char('0' + parts[0] / 100 % 10), char('0' + parts[0] / 10 % 10),
                   char('0' + parts[0] % 10),   char('0' + parts[1] / 10),       char('0' + parts[1] % 10),
                   char('0' + parts[2] / 10),   char('0' + parts[2] % 10)};
    out.append(buf, 8);
}

// --- texts ------------------------------------------------------------------------------------------------------

std::string_view textOf(const ExprNode& node, std::string& scratch) {
    std::string_view v;
    if (node.viewText(v)) return v;
    scratch.clear();
    node.appendText(scratch);
    return scratch;
}

// SET EXACT OFF: the texts are compared up to the length of the right one, as unsigned bytes; a left text that
// ends first is smaller. So a = b exactly when a begins with b.
int compareTexts(std::string_view a, std::string_view b) {
    std::size_t n = std::min(a.size(), b.size());
    int c = n == 0 ? 0 : std::memcmp(a.data(), b.data(), n);
    if (c != 0) return c < 0 ? -1 : 1;
    return a.size() >= b.size() ? 0 : -1;
}

bool isBlankText(std::string_view s) {
    for (char c : s)
        if (c != ' ' && c != '\t' && c != '\r' && c != '\n') return false;
    return true;
}

// --- leaves -----------------------------------------------------------------------------------------------------

class NumberLiteral final : public ExprNode {
public:
    explicit NumberLiteral(double v) : ExprNode(Value::Type::Number), m_value(v) {}
    double num() const override { return m_value; }

private:
    double m_value;
};

class TextLiteral final : public ExprNode {
public:
    explicit TextLiteral(std::string_view v) : ExprNode(Value::Type::Text), m_value(v) {
        m_length = static_cast<int>(m_value.size());
    }
    void appendText(std::string& out) const override { out += m_value; }
    bool viewText(std::string_view& v) const override {
        v = m_value;
        return true;
    }

private:
    std::string m_value;
};

class LogicalLiteral final : public ExprNode {
public:
    explicit LogicalLiteral(bool v) : ExprNode(Value::Type::Logical), m_value(v) {}
    bool log() const override { return m_value; }

private:
    bool m_value;
};

class FieldNode : public ExprNode {
public:
    std::string_view raw() const { return m_view.rawField(m_index); }

protected:
    FieldNode(Value::Type type, const RecordView& view, int index) : ExprNode(type), m_view(view), m_index(index) {
        m_constant = false;
    }
    const RecordView& m_view;
    int m_index;
};

class CharField final : public FieldNode {
public:
    CharField(const RecordView& view, int index) : FieldNode(Value::Type::Text, view, index) {
        m_length = view.fieldDef(index).length;
    }
    void appendText(std::string& out) const override { out += raw(); }
    bool viewText(std::string_view& v) const override {
        v = raw();
        return true;
    }
};

class MemoField final : public FieldNode {
public:
    MemoField(const RecordView& view, int index) : FieldNode(Value::Type::Text, view, index) {}
    void appendText(std::string& out) const override { out += m_view.fieldValue(m_index).asText(); }
};

class NumField final : public FieldNode {
public:
    NumField(const RecordView& view, int index)
        : FieldNode(Value::Type::Number, view, index), m_width(view.fieldDef(index).length),
          m_decimals(view.fieldDef(index).decimals) {}
    double num() const override {
        double v;
        if (parseStoredNumber(raw(), v)) return v;
        return m_view.fieldValue(m_index).asNumber();
    }
    int width() const { return m_width; }
    int decimals() const { return m_decimals; }

private:
    int m_width;
    int m_decimals;
};

class LogField final : public FieldNode {
public:
    LogField(const RecordView& view, int index) : FieldNode(Value::Type::Logical, view, index) {}
    bool log() const override {
        std::string_view r = raw();
        if (r.empty()) return false;
        char c = r[0];
        return c == 'T' || c == 't' || c == 'Y' || c == 'y';
    }
};

class DateField final : public FieldNode {
public:
    DateField(const RecordView& view, int index) : FieldNode(Value::Type::Date, view, index) {}
    std::int32_t date() const override { return m_view.fieldValue(m_index).asDate(); }
};

NodePtr makeField(const RecordView& view, int index) {
    switch (view.fieldDef(index).type) {
    case FieldType::Character:
        return std::make_unique<CharField>(view, index);
    case FieldType::Numeric:
        return std::make_unique<NumField>(view, index);
    case FieldType::Logical:
        return std::make_unique<LogField>(view, index);
    case FieldType::Date:
        return std::make_unique<DateField>(view, index);
    case FieldType::Memo:
        return std::make_unique<MemoField>(view, index);
    }
    return std::make_unique<CharField>(view, index);
}

// A named value keeps the type it had at parse time; if it changes later, the expression sees the empty value
// of that type rather than reinterpreting bytes, and says so once.
class VariableNode final : public ExprNode {
public:
    VariableNode(std::string name, const Value& value)
        : ExprNode(value.type()), m_name(std::move(name)), m_value(value) {
        m_constant = false;
    }
    double num() const override { return fits() ? m_value.asNumber() : 0.0; }
    bool log() const override { return fits() && m_value.asLogical(); }
    std::int32_t date() const override { return fits() ? m_value.asDate() : 0; }
    void appendText(std::string& out) const override {
        if (fits()) out += m_value.asText();
    }
    bool viewText(std::string_view& v) const override {
        v = fits() ? std::string_view(m_value.asText()) : std::string_view();
        return true;
    }

private:
    bool fits() const {
        if (m_value.type() == m_type) return true;
        if (!m_reported) {
            m_reported = true;
            reportError("", "Ausdruck: der benannte Wert " + m_name + " hat jetzt den Typ " + typeName(m_value.type()) +
                                " statt " + typeName(m_type) + "; es gilt der leere Wert");
        }
        return false;
    }
    std::string m_name;
    const Value& m_value;
    mutable bool m_reported = false;
};

// --- operators --------------------------------------------------------------------------------------------------

class NegateNode final : public ExprNode {
public:
    explicit NegateNode(NodePtr operand) : ExprNode(Value::Type::Number), m_operand(std::move(operand)) {
        adopt(*m_operand);
    }
    double num() const override { return -m_operand->num(); }

private:
    NodePtr m_operand;
};

class NotNode final : public ExprNode {
public:
    explicit NotNode(NodePtr operand) : ExprNode(Value::Type::Logical), m_operand(std::move(operand)) {
        adopt(*m_operand);
    }
    bool log() const override { return !m_operand->log(); }

private:
    NodePtr m_operand;
};

class ArithNode final : public ExprNode {
public:
    ArithNode(char op, NodePtr left, NodePtr right)
        : ExprNode(Value::Type::Number), m_op(op), m_left(std::move(left)), m_right(std::move(right)) {
        adopt(*m_left);
        adopt(*m_right);
    }
    // Division by zero gives an infinity (or NaN); STR() shows it as asterisks like any overflow.
    double num() const override {
        double a = m_left->num(), b = m_right->num();
        switch (m_op) {
        case '+':
            return a + b;
        case '-':
            return a - b;
        case '*':
            return a * b;
        default:
            return a / b;
        }
    }

private:
    char m_op;
    NodePtr m_left, m_right;
};

// Text + and -, flattened so that long key expressions stay shallow.
class ConcatNode final : public ExprNode {
public:
    explicit ConcatNode(NodePtr first) : ExprNode(Value::Type::Text) {
        m_length = first->length();
        add(false, std::move(first));
    }
    void add(bool minus, NodePtr part) {
        adopt(*part);
        if (!m_parts.empty()) m_length = (m_length < 0 || part->length() < 0) ? -1 : m_length + part->length();
        m_minus.push_back(minus);
        m_parts.push_back(std::move(part));
    }
    void appendText(std::string& out) const override {
        std::size_t start = out.size();
        for (std::size_t i = 0; i < m_parts.size(); ++i) {
            if (!m_minus[i]) {
                m_parts[i]->appendText(out);
                continue;
            }
            // a - b: the trailing blanks of a go behind b.
            std::size_t end = out.size(), keep = end;
            while (keep > start && out[keep - 1] == ' ')
                --keep;
            out.resize(keep);
            m_parts[i]->appendText(out);
            out.append(end - keep, ' ');
        }
    }

private:
    std::vector<NodePtr> m_parts;
    std::vector<bool> m_minus;
};

enum class CompareOp { Equal, Exact, NotEqual, Less, Greater, LessEqual, GreaterEqual };

template <typename T> bool compareOrdered(CompareOp op, T a, T b) {
    switch (op) {
    case CompareOp::Equal:
    case CompareOp::Exact:
        return a == b;
    case CompareOp::NotEqual:
        return !(a == b);
    case CompareOp::Less:
        return a < b;
    case CompareOp::Greater:
        return a > b;
    case CompareOp::LessEqual:
        return a <= b;
    case CompareOp::GreaterEqual:
        return a >= b;
    }
    return false;
}

class CompareNode final : public ExprNode {
public:
    CompareNode(CompareOp op, NodePtr left, NodePtr right)
        : ExprNode(Value::Type::Logical), m_op(op), m_left(std::move(left)), m_right(std::move(right)) {
        adopt(*m_left);
        adopt(*m_right);
    }
    bool log() const override {
        switch (m_left->type()) {
        case Value::Type::Text: {
            std::string_view a = textOf(*m_left, m_leftBuffer);
            std::string_view b = textOf(*m_right, m_rightBuffer);
            if (m_op == CompareOp::Exact) return a == b;
            return compareOrdered(m_op, compareTexts(a, b), 0);
        }
        case Value::Type::Number:
            return compareOrdered(m_op, m_left->num(), m_right->num());
        case Value::Type::Date:
            return compareOrdered(m_op, m_left->date(), m_right->date());
        case Value::Type::Logical:
            return compareOrdered(m_op, static_cast<int>(m_left->log()), static_cast<int>(m_right->log()));
        }
        return false;
    }

private:
    CompareOp m_op;
    NodePtr m_left, m_right;
    mutable std::string m_leftBuffer, m_rightBuffer;
};

// .AND. / .OR. chains, evaluated left to right until the result is decided.
class JunctionNode final : public ExprNode {
public:
    JunctionNode(bool isAnd, NodePtr first) : ExprNode(Value::Type::Logical), m_and(isAnd) { add(std::move(first)); }
    void add(NodePtr part) {
        adopt(*part);
        m_parts.push_back(std::move(part));
    }
    bool log() const override {
        for (const NodePtr& part : m_parts)
            if (part->log() != m_and) return !m_and;
        return m_and;
    }

private:
    bool m_and;
    std::vector<NodePtr> m_parts;
};

// --- functions --------------------------------------------------------------------------------------------------

std::optional<double> constantNumber(const NodePtr& node) {
    if (!node || !node->isConstant() || node->type() != Value::Type::Number) return std::nullopt;
    return node->num();
}

class StrNode final : public ExprNode {
public:
    // STR(n): a bare numeric field gives its own width and decimals, anything else 10 places and no decimals.
    // A width alone means no decimals. Constant widths are fixed here, so the key length is known.
    StrNode(NodePtr value, NodePtr width, NodePtr decimals) : ExprNode(Value::Type::Text), m_value(std::move(value)) {
        adopt(*m_value);
        const auto* field = dynamic_cast<const NumField*>(m_value.get());
        m_width = field ? field->width() : kDefaultStrWidth;
        m_decimals = field ? field->decimals() : 0;
        if (width) {
            adopt(*width);
            m_decimals = 0;
            if (auto w = constantNumber(width))
                m_width = clampWidth(*w);
            else
                m_widthNode = std::move(width);
        }
        if (decimals) {
            adopt(*decimals);
            if (auto d = constantNumber(decimals))
                m_decimals = clampDecimals(*d);
            else
                m_decimalsNode = std::move(decimals);
        }
        if (field && !m_widthNode && !m_decimalsNode && m_width == field->width() && m_decimals == field->decimals())
            m_field = field;
        m_length = m_widthNode ? -1 : std::min(m_width, kStrMaxWidth);
        m_width = std::min(m_width, kStrMaxWidth);
    }
    void appendText(std::string& out) const override {
        if (m_field) {
            // The stored text usually is the formatted number already.
            std::string_view raw = m_field->raw();
            if (static_cast<int>(raw.size()) == m_width && isCanonicalStored(raw, m_decimals)) {
                out += raw;
                return;
            }
        }
        int width = m_widthNode ? clampWidth(m_widthNode->num()) : m_width;
        int decimals = m_decimalsNode ? clampDecimals(m_decimalsNode->num()) : m_decimals;
        appendStrNumber(out, m_value->num(), width, decimals);
    }

private:
    NodePtr m_value, m_widthNode, m_decimalsNode;
    const NumField* m_field = nullptr;
    int m_width = 0, m_decimals = 0;
};

class EmptyNode final : public ExprNode {
public:
    explicit EmptyNode(NodePtr operand) : ExprNode(Value::Type::Logical), m_operand(std::move(operand)) {
        adopt(*m_operand);
        m_memo = dynamic_cast<const MemoField*>(m_operand.get()) != nullptr;
    }
    bool log() const override {
        switch (m_operand->type()) {
        case Value::Type::Text: {
            std::string_view s = textOf(*m_operand, m_buffer);
            return m_memo ? s.empty() : isBlankText(s);
        }
        case Value::Type::Number:
            return m_operand->num() == 0.0;
        case Value::Type::Date:
            return m_operand->date() == 0;
        case Value::Type::Logical:
            return !m_operand->log();
        }
        return true;
    }

private:
    NodePtr m_operand;
    bool m_memo = false; // a memo is empty only without content; blanks are content
    mutable std::string m_buffer;
};

class CaseNode final : public ExprNode {
public:
    CaseNode(bool upper, NodePtr operand) : ExprNode(Value::Type::Text), m_operand(std::move(operand)) {
        adopt(*m_operand);
        m_length = m_operand->length();
        m_table = upper ? &kCase.upper : &kCase.lower;
    }
    void appendText(std::string& out) const override {
        std::size_t start = out.size();
        m_operand->appendText(out);
        for (std::size_t i = start; i < out.size(); ++i)
            out[i] = static_cast<char>((*m_table)[static_cast<unsigned char>(out[i])]);
    }

private:
    NodePtr m_operand;
    const std::array<unsigned char, 256>* m_table;
};

class TrimNode final : public ExprNode {
public:
    TrimNode(bool left, bool right, NodePtr operand)
        : ExprNode(Value::Type::Text), m_left(left), m_right(right), m_operand(std::move(operand)) {
        adopt(*m_operand);
    }
    void appendText(std::string& out) const override {
        std::size_t start = out.size();
        m_operand->appendText(out);
        if (m_right)
            while (out.size() > start && out.back() == ' ')
                out.pop_back();
        if (m_left) {
            std::size_t first = start;
            while (first < out.size() && out[first] == ' ')
                ++first;
            out.erase(start, first - start);
        }
    }

private:
    bool m_left, m_right;
    NodePtr m_operand;
};

// A count argument as a number of characters: negative and NaN are 0, large values are capped.
std::size_t toCount(double v) {
    if (!(v > 0.0)) return 0;
    return v >= 1e9 ? std::size_t{1000000000} : static_cast<std::size_t>(v);
}

// SUBSTR(s, start[, count]), LEFT(s, n) and RIGHT(s, n) as one cut of the text.
class CutNode final : public ExprNode {
public:
    enum class Kind { Substr, Left, Right };
    CutNode(Kind kind, NodePtr text, NodePtr first, NodePtr second)
        : ExprNode(Value::Type::Text), m_kind(kind), m_text(std::move(text)), m_first(std::move(first)),
          m_second(std::move(second)) {
        adopt(*m_text);
        adopt(*m_first);
        if (m_second) adopt(*m_second);
        auto a = constantNumber(m_first);
        auto b = constantNumber(m_second);
        if (m_text->length() >= 0 && a && (!m_second || b))
            m_length = static_cast<int>(cut(static_cast<std::size_t>(m_text->length()), *a, b.value_or(0)).second);
    }
    void appendText(std::string& out) const override {
        std::size_t start = out.size();
        m_text->appendText(out);
        auto [offset, count] = cut(out.size() - start, m_first->num(), m_second ? m_second->num() : 0.0);
        out.resize(start + offset + count);
        out.erase(start, offset);
    }

private:
    // Offset and length of the part that stays, for a text of `size` bytes.
    std::pair<std::size_t, std::size_t> cut(std::size_t size, double a, double b) const {
        switch (m_kind) {
        case Kind::Left:
            return {0, std::min(size, toCount(a))};
        case Kind::Right: {
            std::size_t n = std::min(size, toCount(a));
            return {size - n, n};
        }
        case Kind::Substr: {
            std::size_t from = std::max<std::size_t>(toCount(a), 1) - 1; // positions count from 1
            if (from >= size) return {size, 0};
            std::size_t rest = size - from;
            return {from, m_second ? std::min(rest, toCount(b)) : rest};
        }
        }
        return {0, 0};
    }
    Kind m_kind;
    NodePtr m_text, m_first, m_second;
};

class LenNode final : public ExprNode {
public:
    explicit LenNode(NodePtr operand) : ExprNode(Value::Type::Number), m_operand(std::move(operand)) {
        adopt(*m_operand);
    }
    double num() const override { return static_cast<double>(textOf(*m_operand, m_buffer).size()); }

private:
    NodePtr m_operand;
    mutable std::string m_buffer;
};

class ValNode final : public ExprNode {
public:
    explicit ValNode(NodePtr operand) : ExprNode(Value::Type::Number), m_operand(std::move(operand)) {
        adopt(*m_operand);
    }
    double num() const override { return leadingNumber(textOf(*m_operand, m_buffer)); }

private:
    NodePtr m_operand;
    mutable std::string m_buffer;
};

class DtosNode final : public ExprNode {
public:
    explicit DtosNode(NodePtr operand) : ExprNode(Value::Type::Text), m_operand(std::move(operand)) {
        adopt(*m_operand);
        m_length = 8;
    }
    void appendText(std::string& out) const override { appendDtos(out, m_operand->date()); }

private:
    NodePtr m_operand;
};

class IifNode final : public ExprNode {
public:
    IifNode(NodePtr condition, NodePtr whenTrue, NodePtr whenFalse)
        : ExprNode(whenTrue->type()), m_condition(std::move(condition)), m_true(std::move(whenTrue)),
          m_false(std::move(whenFalse)) {
        adopt(*m_condition);
        adopt(*m_true);
        adopt(*m_false);
        m_length = m_true->length() == m_false->length() ? m_true->length() : -1;
    }
    double num() const override { return pick().num(); }
    bool log() const override { return pick().log(); }
    std::int32_t date() const override { return pick().date(); }
    void appendText(std::string& out) const override { pick().appendText(out); }
    bool viewText(std::string_view& v) const override { return pick().viewText(v); }

private:
    const ExprNode& pick() const { return m_condition->log() ? *m_true : *m_false; }
    NodePtr m_condition, m_true, m_false;
};

// --- parser -----------------------------------------------------------------------------------------------------

enum class Tok {
    End,
    Number,
    Text,
    Ident,
    Arrow,
    LParen,
    RParen,
    Comma,
    Plus,
    Minus,
    Star,
    Slash,
    Equal,
    Exact,
    NotEqual,
    Less,
    Greater,
    LessEqual,
    GreaterEqual,
    And,
    Or,
    Not,
    True,
    False,
    Bad
};

struct Token {
    Tok kind = Tok::End;
    std::size_t pos = 0;
    std::size_t len = 0;
    std::string_view text; // identifier, or the content of a text literal
    double number = 0.0;
};

struct FunctionInfo {
    const char* name;
    int minArgs;
    int maxArgs;
};

constexpr FunctionInfo kFunctions[] = {
    {"STR", 1, 3},   {"EMPTY", 1, 1}, {"UPPER", 1, 1},   {"LOWER", 1, 1},  {"TRIM", 1, 1},
    {"RTRIM", 1, 1}, {"LTRIM", 1, 1}, {"ALLTRIM", 1, 1}, {"SUBSTR", 2, 3}, {"LEFT", 2, 2},
    {"RIGHT", 2, 2}, {"LEN", 1, 1},   {"VAL", 1, 1},     {"DTOS", 1, 1},   {"IIF", 3, 3},
};

class Parser {
public:
    Parser(std::string_view text, const ExprScope& scope) : m_text(text), m_scope(scope) {}

    NodePtr run(std::string* error) {
        NodePtr root;
        if (m_text.size() > kMaxTextLength) {
            fail(0, "Ausdruck zu lang (maximal " + std::to_string(kMaxTextLength) + " Zeichen)");
        } else {
            advance();
            if (m_token.kind == Tok::End)
                fail(m_token.pos, "Ausdruck ist leer");
            else
                root = parseOr();
            if (root && m_token.kind != Tok::End) {
                fail(m_token.pos, "Operator oder Ende erwartet statt " + describe(m_token));
                root.reset();
            }
        }
        if (m_failed) root.reset();
        if (!root && error) *error = message();
        return root;
    }

private:
    // --- errors

    NodePtr fail(std::size_t pos, std::string what) {
        if (!m_failed) {
            m_failed = true;
            m_errorPos = pos;
            m_errorText = std::move(what);
        }
        return nullptr;
    }

    std::string message() const {
        constexpr std::size_t kQuoteMax = 120;
        std::string quoted(m_text.substr(0, kQuoteMax));
        if (m_text.size() > kQuoteMax) quoted += "...";
        std::string where =
            m_errorPos >= m_text.size() ? std::string(" am Ende") : " an Position " + std::to_string(m_errorPos + 1);
        return "Ausdruck \"" + quoted + "\": " + m_errorText + where;
    }

    std::string describe(const Token& t) const {
        if (t.kind == Tok::End) return "dem Ende";
        std::string s(m_text.substr(t.pos, std::min<std::size_t>(t.len, 20)));
        return "\"" + s + "\"";
    }

    // Guards parser recursion; every nested construct passes through one.
    struct Nest {
        explicit Nest(Parser& p) : parser(p) { ++parser.m_nesting; }
        ~Nest() { --parser.m_nesting; }
        bool ok() { return parser.m_nesting <= kMaxNesting; }
        Parser& parser;
    };

    NodePtr tooDeep(std::size_t pos) {
        return fail(pos, "zu tief verschachtelt (maximal " + std::to_string(kMaxNesting) + " Ebenen)");
    }

    NodePtr checked(NodePtr node, std::size_t pos) {
        if (node && node->depth() > kMaxDepth)
            return fail(pos, "zu viele Operatoren hintereinander (maximal " + std::to_string(kMaxDepth) + " Ebenen)");
        return node;
    }

    NodePtr typeError(std::size_t pos, const std::string& what) { return fail(pos, "Typfehler: " + what); }

    // --- lexer

    void advance() { m_token = lex(); }

    Token lex() {
        std::size_t n = m_text.size();
        while (m_pos < n &&
               (m_text[m_pos] == ' ' || m_text[m_pos] == '\t' || m_text[m_pos] == '\r' || m_text[m_pos] == '\n'))
            ++m_pos;
        Token t;
        t.pos = m_pos;
        if (m_pos >= n) return t;
        char c = m_text[m_pos];
        auto single = [&](Tok kind, std::size_t len) {
            t.kind = kind;
            t.len = len;
            m_pos += len;
            return t;
        };
        auto next = [&](std::size_t k) { return m_pos + k < n ? m_text[m_pos + k] : '\0'; };

        if (isDigit(c) || (c == '.' && isDigit(next(1)))) return lexNumber(t);
        if (c == '"' || c == '\'' || c == '[') {
            char close = c == '[' ? ']' : c;
            std::size_t end = m_text.find(close, m_pos + 1);
            if (end == std::string_view::npos) {
                fail(m_pos, std::string("Text ohne Ende (es fehlt ") + close + ")");
                t.kind = Tok::Bad;
                return t;
            }
            t.kind = Tok::Text;
            t.text = m_text.substr(m_pos + 1, end - m_pos - 1);
            t.len = end + 1 - m_pos;
            m_pos = end + 1;
            return t;
        }
        if (isIdentStart(c)) {
            std::size_t end = m_pos;
            while (end < n && isIdentChar(m_text[end]))
                ++end;
            t.kind = Tok::Ident;
            t.text = m_text.substr(m_pos, end - m_pos);
            t.len = end - m_pos;
            m_pos = end;
            return t;
        }
        if (c == '.') {
            std::size_t end = m_pos + 1;
            while (end < n && end - m_pos <= 4 && isIdentStart(m_text[end]))
                ++end;
            if (end < n && m_text[end] == '.') {
                std::string word = upperAscii(m_text.substr(m_pos + 1, end - m_pos - 1));
                Tok kind = Tok::Bad;
                if (word == "T" || word == "Y") kind = Tok::True;
                if (word == "F" || word == "N") kind = Tok::False;
                if (word == "AND") kind = Tok::And;
                if (word == "OR") kind = Tok::Or;
                if (word == "NOT") kind = Tok::Not;
                if (kind != Tok::Bad) return single(kind, end + 1 - m_pos);
            }
        }
        switch (c) {
        case '(':
            return single(Tok::LParen, 1);
        case ')':
            return single(Tok::RParen, 1);
        case ',':
            return single(Tok::Comma, 1);
        case '+':
            return single(Tok::Plus, 1);
        case '-':
            return next(1) == '>' ? single(Tok::Arrow, 2) : single(Tok::Minus, 1);
        case '*':
            return single(Tok::Star, 1);
        case '/':
            return single(Tok::Slash, 1);
        case '=':
            return next(1) == '=' ? single(Tok::Exact, 2) : single(Tok::Equal, 1);
        case '<':
            if (next(1) == '=') return single(Tok::LessEqual, 2);
            if (next(1) == '>') return single(Tok::NotEqual, 2);
            return single(Tok::Less, 1);
        case '>':
            return next(1) == '=' ? single(Tok::GreaterEqual, 2) : single(Tok::Greater, 1);
        case '#':
            return single(Tok::NotEqual, 1);
        case '!':
            return next(1) == '=' ? single(Tok::NotEqual, 2) : single(Tok::Not, 1);
        default:
            break;
        }
        auto byte = static_cast<unsigned char>(c);
        char shown[32];
        if (byte >= 0x21 && byte < 0x7F)
            std::snprintf(shown, sizeof shown, "'%c'", c);
        else
            std::snprintf(shown, sizeof shown, "(Byte 0x%02X)", byte);
        fail(m_pos, std::string("unerwartetes Zeichen ") + shown);
        t.kind = Tok::Bad;
        return t;
    }

    Token lexNumber(Token t) {
        std::size_t n = m_text.size(), end = m_pos;
        while (end < n && isDigit(m_text[end]))
            ++end;
        if (end + 1 < n && m_text[end] == '.' && isDigit(m_text[end + 1])) {
            ++end;
            while (end < n && isDigit(m_text[end]))
                ++end;
        }
        t.len = end - m_pos;
        const char* first = m_text.data() + m_pos;
        if (*first == '.') {
            // from_chars wants a digit first.
            std::string padded = "0" + std::string(m_text.substr(m_pos, t.len));
            auto [ptr, ec] =
                std::from_chars(padded.data(), padded.data() + padded.size(), t.number, std::chars_format::fixed);
            (void)ptr;
            t.kind = ec == std::errc() ? Tok::Number : Tok::Bad;
        } else {
            auto [ptr, ec] = std::from_chars(first, m_text.data() + end, t.number, std::chars_format::fixed);
            (void)ptr;
            t.kind = ec == std::errc() ? Tok::Number : Tok::Bad;
        }
        if (t.kind == Tok::Bad) fail(m_pos, "Zahl ausserhalb des Wertebereichs");
        m_pos = end;
        return t;
    }

    // --- grammar, lowest precedence first

    NodePtr parseOr() { return parseJunction(true); }

    NodePtr parseJunction(bool isOr) {
        Tok op = isOr ? Tok::Or : Tok::And;
        const char* name = isOr ? ".OR." : ".AND.";
        std::size_t firstPos = m_token.pos;
        NodePtr left = isOr ? parseJunction(false) : parseNot();
        if (!left || m_token.kind != op) return left;
        if (left->type() != Value::Type::Logical)
            return typeError(m_token.pos,
                             std::string(name) + " verbindet logische Werte, links steht " + typeName(left->type()));
        auto junction = std::make_unique<JunctionNode>(!isOr, std::move(left));
        while (m_token.kind == op) {
            std::size_t pos = m_token.pos;
            advance();
            NodePtr right = isOr ? parseJunction(false) : parseNot();
            if (!right) return nullptr;
            if (right->type() != Value::Type::Logical)
                return typeError(pos, std::string(name) + " verbindet logische Werte, rechts steht " +
                                          typeName(right->type()));
            junction->add(std::move(right));
            if (junction->depth() > kMaxDepth) return checked(std::move(junction), firstPos);
        }
        return junction;
    }

    NodePtr parseNot() {
        if (m_token.kind != Tok::Not) return parseCompare();
        Nest nest(*this);
        std::size_t pos = m_token.pos;
        if (!nest.ok()) return tooDeep(pos);
        advance();
        NodePtr operand = parseNot();
        if (!operand) return nullptr;
        return makeNot(std::move(operand), pos);
    }

    NodePtr makeNot(NodePtr operand, std::size_t pos) {
        if (operand->type() != Value::Type::Logical)
            return typeError(pos,
                             std::string(".NOT. braucht einen logischen Wert, nicht ") + typeName(operand->type()));
        return checked(std::make_unique<NotNode>(std::move(operand)), pos);
    }

    static std::optional<CompareOp> compareOp(Tok kind) {
        switch (kind) {
        case Tok::Equal:
            return CompareOp::Equal;
        case Tok::Exact:
            return CompareOp::Exact;
        case Tok::NotEqual:
            return CompareOp::NotEqual;
        case Tok::Less:
            return CompareOp::Less;
        case Tok::Greater:
            return CompareOp::Greater;
        case Tok::LessEqual:
            return CompareOp::LessEqual;
        case Tok::GreaterEqual:
            return CompareOp::GreaterEqual;
        default:
            return std::nullopt;
        }
    }

    NodePtr parseCompare() {
        NodePtr left = parseAdditive();
        while (left) {
            auto op = compareOp(m_token.kind);
            if (!op) break;
            Token opToken = m_token;
            advance();
            NodePtr right = parseAdditive();
            if (!right) return nullptr;
            if (left->type() != right->type())
                return typeError(opToken.pos, std::string(typeName(left->type())) + " " +
                                                  std::string(m_text.substr(opToken.pos, opToken.len)) + " " +
                                                  typeName(right->type()) + " ist kein Vergleich");
            left = checked(std::make_unique<CompareNode>(*op, std::move(left), std::move(right)), opToken.pos);
        }
        return left;
    }

    NodePtr parseAdditive() {
        NodePtr left = parseTerm();
        ConcatNode* concat = nullptr; // the chain this loop is building, if any
        while (left && (m_token.kind == Tok::Plus || m_token.kind == Tok::Minus)) {
            bool minus = m_token.kind == Tok::Minus;
            std::size_t pos = m_token.pos;
            advance();
            NodePtr right = parseTerm();
            if (!right) return nullptr;
            if (left->type() == Value::Type::Number && right->type() == Value::Type::Number) {
                left = checked(std::make_unique<ArithNode>(minus ? '-' : '+', std::move(left), std::move(right)), pos);
                concat = nullptr;
            } else if (left->type() == Value::Type::Text && right->type() == Value::Type::Text) {
                if (!concat) {
                    auto node = std::make_unique<ConcatNode>(std::move(left));
                    concat = node.get();
                    left = std::move(node);
                }
                concat->add(minus, std::move(right));
                left = checked(std::move(left), pos);
            } else {
                return typeError(pos, std::string(typeName(left->type())) + (minus ? " - " : " + ") +
                                          typeName(right->type()));
            }
        }
        return left;
    }

    NodePtr parseTerm() {
        NodePtr left = parseUnary();
        while (left && (m_token.kind == Tok::Star || m_token.kind == Tok::Slash)) {
            char op = m_token.kind == Tok::Star ? '*' : '/';
            std::size_t pos = m_token.pos;
            advance();
            NodePtr right = parseUnary();
            if (!right) return nullptr;
            if (left->type() != Value::Type::Number || right->type() != Value::Type::Number)
                return typeError(pos, std::string(typeName(left->type())) + " " + op + " " + typeName(right->type()));
            left = checked(std::make_unique<ArithNode>(op, std::move(left), std::move(right)), pos);
        }
        return left;
    }

    NodePtr parseUnary() {
        Tok kind = m_token.kind;
        if (kind != Tok::Minus && kind != Tok::Plus && kind != Tok::Not) return parsePrimary();
        Nest nest(*this);
        std::size_t pos = m_token.pos;
        if (!nest.ok()) return tooDeep(pos);
        advance();
        NodePtr operand = parseUnary();
        if (!operand) return nullptr;
        // A .NOT. in operand position (x = .NOT. y) takes just the operand.
        if (kind == Tok::Not) return makeNot(std::move(operand), pos);
        if (operand->type() != Value::Type::Number)
            return typeError(pos, std::string("Vorzeichen vor ") + typeName(operand->type()));
        if (kind == Tok::Plus) return operand;
        return checked(std::make_unique<NegateNode>(std::move(operand)), pos);
    }

    NodePtr parsePrimary() {
        Token t = m_token;
        switch (t.kind) {
        case Tok::Number:
            advance();
            return std::make_unique<NumberLiteral>(t.number);
        case Tok::Text:
            advance();
            return std::make_unique<TextLiteral>(t.text);
        case Tok::True:
        case Tok::False:
            advance();
            return std::make_unique<LogicalLiteral>(t.kind == Tok::True);
        case Tok::LParen: {
            Nest nest(*this);
            if (!nest.ok()) return tooDeep(t.pos);
            advance();
            NodePtr inner = parseOr();
            if (!inner) return nullptr;
            if (m_token.kind != Tok::RParen)
                return fail(m_token.pos, "\")\" erwartet statt " + describe(m_token) + " (zu \"(\" an Position " +
                                             std::to_string(t.pos + 1) + ")");
            advance();
            return inner;
        }
        case Tok::Ident:
            return parseName();
        case Tok::Bad:
            return nullptr; // the lexer has said what is wrong
        case Tok::End:
            return fail(t.pos, "Operand fehlt");
        default:
            return fail(t.pos, "Operand erwartet statt " + describe(t));
        }
    }

    NodePtr parseName() {
        Token name = m_token;
        advance();
        if (m_token.kind == Tok::LParen) return parseCall(name);
        if (m_token.kind == Tok::Arrow) {
            advance();
            if (m_token.kind != Tok::Ident) return fail(m_token.pos, "Feldname erwartet nach \"->\"");
            Token field = m_token;
            advance();
            const RecordView* view = m_scope.area(name.text);
            if (!view) {
                // M->NAME is the xBase way to say "the named value, not a field".
                if (equalsNoCase(name.text, "M"))
                    if (const Value* v = m_scope.variable(field.text))
                        return std::make_unique<VariableNode>(upperAscii(field.text), *v);
                return fail(name.pos, "unbekannter Alias \"" + std::string(name.text) + "\"");
            }
            int index = view->fieldIndex(field.text);
            if (index < 0)
                return fail(field.pos,
                            "kein Feld \"" + std::string(field.text) + "\" in \"" + std::string(name.text) + "\"");
            return makeField(*view, index);
        }
        if (const RecordView* view = m_scope.area({})) {
            int index = view->fieldIndex(name.text);
            if (index >= 0) return makeField(*view, index);
        }
        if (const Value* v = m_scope.variable(name.text))
            return std::make_unique<VariableNode>(upperAscii(name.text), *v);
        return fail(name.pos, "unbekannter Name \"" + std::string(name.text) + "\"");
    }

    NodePtr parseCall(const Token& name) {
        Nest nest(*this);
        if (!nest.ok()) return tooDeep(name.pos);
        const FunctionInfo* fn = nullptr;
        for (const FunctionInfo& f : kFunctions)
            if (equalsNoCase(name.text, f.name)) fn = &f;
        if (!fn) return fail(name.pos, "unbekannte Funktion \"" + std::string(name.text) + "()\"");
        advance(); // "("
        std::vector<NodePtr> args;
        if (m_token.kind != Tok::RParen) {
            for (;;) {
                NodePtr arg = parseOr();
                if (!arg) return nullptr;
                args.push_back(std::move(arg));
                if (m_token.kind != Tok::Comma) break;
                advance();
            }
        }
        if (m_token.kind != Tok::RParen)
            return fail(m_token.pos, "\",\" oder \")\" erwartet statt " + describe(m_token));
        advance();
        int count = static_cast<int>(args.size());
        if (count < fn->minArgs || count > fn->maxArgs) {
            std::string expected = fn->minArgs == fn->maxArgs
                                       ? std::to_string(fn->minArgs)
                                       : std::to_string(fn->minArgs) + " bis " + std::to_string(fn->maxArgs);
            return fail(name.pos, std::string(fn->name) + "() erwartet " + expected + " Argument" +
                                      (fn->maxArgs == 1 ? "" : "e") + ", nicht " + std::to_string(count));
        }
        return checked(makeCall(fn->name, name.pos, args), name.pos);
    }

    // Checks argument i against the type a function wants.
    bool argIs(const char* fn, std::size_t pos, const std::vector<NodePtr>& args, std::size_t i, Value::Type want) {
        if (i >= args.size() || args[i]->type() == want) return true;
        typeError(pos, std::to_string(i + 1) + ". Argument von " + fn + "() muss " + typeName(want) + " sein, nicht " +
                           typeName(args[i]->type()));
        return false;
    }

    NodePtr makeCall(std::string_view fn, std::size_t pos, std::vector<NodePtr>& args) {
        using T = Value::Type;
        auto arg = [&](std::size_t i) { return i < args.size() ? std::move(args[i]) : NodePtr(); };
        auto wants = [&](std::initializer_list<T> types) {
            std::size_t i = 0;
            for (T type : types)
                if (!argIs(fn.data(), pos, args, i++, type)) return false;
            return true;
        };
        NodePtr none;
        if (fn == "STR") {
            if (!wants({T::Number, T::Number, T::Number})) return none;
            return std::make_unique<StrNode>(arg(0), arg(1), arg(2));
        }
        if (fn == "EMPTY") return std::make_unique<EmptyNode>(arg(0));
        if (fn == "UPPER" || fn == "LOWER") {
            if (!wants({T::Text})) return none;
            return std::make_unique<CaseNode>(fn == "UPPER", arg(0));
        }
        if (fn == "TRIM" || fn == "RTRIM" || fn == "LTRIM" || fn == "ALLTRIM") {
            if (!wants({T::Text})) return none;
            return std::make_unique<TrimNode>(fn == "LTRIM" || fn == "ALLTRIM", fn != "LTRIM", arg(0));
        }
        if (fn == "SUBSTR" || fn == "LEFT" || fn == "RIGHT") {
            if (!wants({T::Text, T::Number, T::Number})) return none;
            auto kind = fn == "SUBSTR" ? CutNode::Kind::Substr
                        : fn == "LEFT" ? CutNode::Kind::Left
                                       : CutNode::Kind::Right;
            return std::make_unique<CutNode>(kind, arg(0), arg(1), arg(2));
        }
        if (fn == "LEN" || fn == "VAL") {
            if (!wants({T::Text})) return none;
            if (fn == "LEN") return std::make_unique<LenNode>(arg(0));
            return std::make_unique<ValNode>(arg(0));
        }
        if (fn == "DTOS") {
            if (!wants({T::Date})) return none;
            return std::make_unique<DtosNode>(arg(0));
        }
        // IIF
        if (!wants({T::Logical})) return none;
        if (args[1]->type() != args[2]->type())
            return typeError(pos, std::string("IIF() braucht zwei Zweige gleichen Typs, nicht ") +
                                      typeName(args[1]->type()) + " und " + typeName(args[2]->type()));
        return std::make_unique<IifNode>(arg(0), arg(1), arg(2));
    }

    std::string_view m_text;
    const ExprScope& m_scope;
    std::size_t m_pos = 0;
    Token m_token;
    int m_nesting = 0;
    bool m_failed = false;
    std::size_t m_errorPos = 0;
    std::string m_errorText;
};

} // namespace

// --- Expression -------------------------------------------------------------------------------------------------

std::unique_ptr<Expression> Expression::parse(std::string_view text, const ExprScope& scope, std::string* error) {
    Parser parser(text, scope);
    NodePtr root = parser.run(error);
    if (!root) return nullptr;
    return std::unique_ptr<Expression>(new Expression(std::string(text), std::move(root)));
}

Expression::Expression(std::string text, std::unique_ptr<detail::ExprNode> root)
    : m_text(std::move(text)), m_root(std::move(root)) {}

Expression::~Expression() = default;

Value::Type Expression::resultType() const {
    return m_root->type();
}

int Expression::resultLength() const {
    return m_root->type() == Value::Type::Text ? m_root->length() : -1;
}

Value Expression::evaluate() const {
    switch (m_root->type()) {
    case Value::Type::Text: {
        std::string s;
        m_root->appendText(s);
        return Value::text(std::move(s));
    }
    case Value::Type::Number:
        return Value::number(m_root->num());
    case Value::Type::Logical:
        return Value::logical(m_root->log());
    case Value::Type::Date:
        return Value::date(m_root->date());
    }
    return {};
}

bool Expression::isTrue() const {
    return m_root->type() == Value::Type::Logical && m_root->log();
}

void Expression::evaluateKey(std::string& out) const {
    out.clear();
    switch (m_root->type()) {
    case Value::Type::Text:
        m_root->appendText(out);
        break;
    case Value::Type::Number:
        appendDoubleKey(m_root->num(), out);
        break;
    case Value::Type::Date:
        appendDoubleKey(m_root->date(), out);
        break;
    case Value::Type::Logical:
        out.push_back(m_root->log() ? 'T' : 'F');
        break;
    }
}

void appendIndexKey(const Value& value, std::string& out) {
    switch (value.type()) {
    case Value::Type::Text:
        out += value.asText();
        break;
    case Value::Type::Number:
        appendDoubleKey(value.asNumber(), out);
        break;
    case Value::Type::Date:
        appendDoubleKey(value.asDate(), out);
        break;
    case Value::Type::Logical:
        out.push_back(value.asLogical() ? 'T' : 'F');
        break;
    }
}

} // namespace store
