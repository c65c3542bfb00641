#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "value.h"

namespace store {

// What an expression can refer to. Names are looked up once, when the expression is parsed.
class ExprScope {
public:
    virtual ~ExprScope() = default;
    // The record source of the work area with this alias (compared without case); the empty alias is the current
    // area. nullptr when there is none. The view must outlive every expression parsed against it; the expression
    // reads whatever record the view is on when it is evaluated.
    virtual const RecordView* area(std::string_view alias) const = 0;
    // A named value such as NI_THEMA (compared without case); nullptr when unknown. The pointer must stay valid as
    // long as the expression lives; its value is read at every evaluation and may change in between, but it
    // should keep the type it had at parse time (otherwise the expression sees the empty value of that type and
    // the change is reported once through reportError).
    virtual const Value* variable(std::string_view name) const = 0;
};

namespace detail {
class ExprNode;
}

// A parsed xBase expression: index keys, FOR conditions, filters.
//
// Language: numbers (12, 1.5), texts in "..", '..' or [..], .T. .F. .Y. .N.; field names, ALIAS->FIELD, named
// values (M->NAME forces a named value); unary - +; * /; + - (texts: + concatenates, - concatenates and moves the
// left side's trailing blanks to the end); = == <> # != < > <= >=; .NOT. (or !), .AND., .OR.; parentheses.
// Precedence from high to low: unary sign, * /, + -, comparisons, .NOT., .AND., .OR.
// Functions: STR EMPTY UPPER LOWER TRIM RTRIM LTRIM ALLTRIM SUBSTR LEFT RIGHT LEN VAL DTOS IIF.
//
// Texts compare as unsigned bytes with SET EXACT OFF: "=" is true when the left text begins with the right one
// ("ab" = "" is true, "ab" = "ab " is false); "==" needs the same bytes. The ordering operators are consistent
// with "=": the texts are compared up to the length of the right one, a left text that is a proper prefix of the
// right one is smaller. "<>", "#" and "!=" are the negation of "=".
//
// An expression keeps scratch buffers for evaluation: it is not safe to evaluate one object from two threads.
class Expression {
public:
    // nullptr on a syntax error, an unknown name or function, a wrong number of arguments or operand types that do
    // not fit; *error (when given) then gets a message that quotes the expression and says what and where.
    static std::unique_ptr<Expression> parse(std::string_view text, const ExprScope& scope, std::string* error);

    ~Expression();
    Expression(const Expression&) = delete;
    Expression& operator=(const Expression&) = delete;

    const std::string& text() const { return m_text; }
    Value::Type resultType() const;
    // Length of a character result when it is fixed by the expression (fields, STR() with a known width, literals,
    // concatenations of those); -1 when it varies or the result is not a text.
    int resultLength() const;

    Value evaluate() const;
    // The result of a logical expression; false for any other type.
    bool isTrue() const;
    // Replaces out with the index key of the current record without allocating once out has grown to size:
    // texts as their bytes (not padded), numbers and dates in the 8-byte sortable form of appendIndexKey().
    void evaluateKey(std::string& out) const;

private:
    Expression(std::string text, std::unique_ptr<detail::ExprNode> root);

    std::string m_text;
    std::unique_ptr<detail::ExprNode> m_root;
};

// Appends the index key bytes of a value: a text as it is; a number, or a date as its Julian day number, as the
// big-endian IEEE double with the sign bit flipped (non-negative) or all bits inverted (negative), so that the
// bytes sort like the values; a logical as 'T' or 'F'.
void appendIndexKey(const Value& value, std::string& out);

} // namespace store
