#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <new>
#include <random>
#include <string>
#include <vector>

#include "store/error.h"
#include "store/expr.h"

// Counts heap allocations while g_countAllocations is set, to prove the key path allocates nothing.
namespace {
thread_local bool g_countAllocations = false;
std::atomic<long> g_allocations{0};
} // namespace

// GCC sees malloc/free behind new/delete after inlining and warns about a pairing that is correct here.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(std::size_t size) {
    if (g_countAllocations) ++g_allocations;
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
#pragma GCC diagnostic pop

namespace {

using store::Expression;
using store::FieldDef;
using store::FieldType;
using store::Value;

std::string upperName(std::string_view s) {
    std::string r(s);
    for (char& c : r)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
    return r;
}

std::int32_t julianDay(int y, unsigned m, unsigned d) {
    using namespace std::chrono;
    return sys_days{year{y} / month{m} / day{d}}.time_since_epoch().count() + 2440588;
}

// An in-memory table: records hold the field bytes as a DBF stores them; memos are kept as text.
class FakeTable : public store::RecordView {
public:
    explicit FakeTable(std::vector<FieldDef> fields) : m_fields(std::move(fields)) {}

    int fieldCount() const override { return static_cast<int>(m_fields.size()); }
    const FieldDef& fieldDef(int index) const override { return m_fields[static_cast<std::size_t>(index)]; }
    int fieldIndex(std::string_view name) const override {
        for (std::size_t i = 0; i < m_fields.size(); ++i)
            if (m_fields[i].name == upperName(name)) return static_cast<int>(i);
        return -1;
    }
    std::string_view rawField(int index) const override { return cell(index); }
    Value fieldValue(int index) const override {
        const std::string& raw = cell(index);
        switch (fieldDef(index).type) {
        case FieldType::Character:
        case FieldType::Memo:
            return Value::text(raw);
        case FieldType::Numeric:
            return Value::number(std::strtod(raw.c_str(), nullptr));
        case FieldType::Logical:
            return Value::logical(raw == "T" || raw == "t" || raw == "Y" || raw == "y");
        case FieldType::Date:
            if (raw.find_first_not_of(' ') == std::string::npos) return Value::date(0);
            return Value::date(julianDay(std::stoi(raw.substr(0, 4)),
                                         static_cast<unsigned>(std::stoi(raw.substr(4, 2))),
                                         static_cast<unsigned>(std::stoi(raw.substr(6, 2)))));
        }
        return {};
    }

    // A blank record (as APPEND BLANK makes it) becomes the current one.
    void append() {
        std::vector<std::string> record;
        for (const FieldDef& f : m_fields)
            record.push_back(f.type == FieldType::Memo ? std::string()
                                                       : std::string(static_cast<std::size_t>(f.length), ' '));
        m_records.push_back(std::move(record));
        m_current = m_records.size() - 1;
    }
    void go(std::size_t recno) { m_current = recno - 1; }
    std::size_t count() const { return m_records.size(); }

    // Stores a value the way a table writer would: texts padded, numbers right-aligned.
    void set(std::string_view name, std::string_view text) {
        int i = fieldIndex(name);
        const FieldDef& f = fieldDef(i);
        std::string s(text);
        if (f.type == FieldType::Character) s.resize(static_cast<std::size_t>(f.length), ' ');
        if (f.type == FieldType::Numeric) s.insert(0, static_cast<std::size_t>(f.length) - s.size(), ' ');
        cell(i) = s;
    }
    // Stores the bytes exactly as given.
    void setRaw(std::string_view name, std::string_view raw) { cell(fieldIndex(name)) = std::string(raw); }

private:
    const std::string& cell(int i) const { return m_records[m_current][static_cast<std::size_t>(i)]; }
    std::string& cell(int i) { return m_records[m_current][static_cast<std::size_t>(i)]; }

    std::vector<FieldDef> m_fields;
    std::vector<std::vector<std::string>> m_records;
    std::size_t m_current = 0;
};

class FakeScope : public store::ExprScope {
public:
    void addArea(const std::string& alias, const store::RecordView* view, bool current) {
        m_areas[upperName(alias)] = view;
        if (current) m_current = view;
    }
    Value& set(const std::string& name, Value v) { return m_values[upperName(name)] = std::move(v); }

    const store::RecordView* area(std::string_view alias) const override {
        if (alias.empty()) return m_current;
        auto it = m_areas.find(upperName(alias));
        return it == m_areas.end() ? nullptr : it->second;
    }
    const Value* variable(std::string_view name) const override {
        auto it = m_values.find(upperName(name));
        return it == m_values.end() ? nullptr : &it->second;
    }

private:
    std::map<std::string, const store::RecordView*> m_areas;
    std::map<std::string, Value> m_values;
    const store::RecordView* m_current = nullptr;
};

FieldDef field(const char* name, FieldType type, int length, int decimals = 0) {
    return FieldDef{name, type, length, decimals};
}

class ExprTest : public ::testing::Test {
protected:
    ExprTest()
        : local({field("FRAGENR", FieldType::Character, 12), field("THEMA", FieldType::Numeric, 4),
                 field("KLASSE_A", FieldType::Numeric, 1), field("KLASSE_A1", FieldType::Numeric, 1),
                 field("KLASSE_B", FieldType::Numeric, 1), field("MC_WERT", FieldType::Character, 10),
                 field("ANTWORTEN", FieldType::Numeric, 4), field("RICHTIG", FieldType::Numeric, 4),
                 field("ZULETZT", FieldType::Character, 2), field("PREIS", FieldType::Numeric, 7, 2),
                 field("OK1", FieldType::Logical, 1), field("DATUM", FieldType::Date, 8),
                 field("NOTIZ", FieldType::Memo, 10)}),
          work({field("NUMMER", FieldType::Numeric, 3), field("FRAGENR", FieldType::Character, 12)}) {
        local.append();
        local.set("FRAGENR", "1.1.01-001");
        local.set("THEMA", "1");
        local.set("KLASSE_B", "3");
        local.set("ANTWORTEN", "7");
        local.set("RICHTIG", "3");
        local.set("ZULETZT", "42");
        local.set("PREIS", "12.50");
        local.set("OK1", "T");
        local.set("DATUM", "20240517");
        local.set("NOTIZ", "Notiz");
        work.append();
        work.set("NUMMER", "7");
        work.set("FRAGENR", "1.1.01-001");
        scope.addArea("DLOC", &local, true);
        scope.addArea("DFRA", &work, false);
        workScope.addArea("DFRA", &work, true);
        scope.set("nI_THEMA", Value::number(1));
    }

    std::unique_ptr<Expression> parse(std::string_view text, const FakeScope* in = nullptr) {
        std::string error;
        auto e = Expression::parse(text, in ? *in : scope, &error);
        EXPECT_TRUE(e) << text << ": " << error;
        return e;
    }
    Value eval(std::string_view text) {
        auto e = parse(text);
        return e ? e->evaluate() : Value::text("<parse failed>");
    }
    std::string str(std::string_view text) {
        Value v = eval(text);
        EXPECT_TRUE(v.isText()) << text;
        return v.asText();
    }
    double num(std::string_view text) {
        Value v = eval(text);
        EXPECT_TRUE(v.isNumber()) << text;
        return v.asNumber();
    }
    bool truth(std::string_view text) {
        auto e = parse(text);
        if (!e) return false;
        EXPECT_EQ(e->resultType(), Value::Type::Logical) << text;
        return e->isTrue();
    }
    std::string error(std::string_view text) {
        std::string message;
        auto e = Expression::parse(text, scope, &message);
        EXPECT_FALSE(e) << "parsed: " << text;
        EXPECT_FALSE(message.empty()) << text;
        return message;
    }

    FakeTable local;
    FakeTable work;
    FakeScope scope;
    FakeScope workScope;
};

// --- STR() --------------------------------------------------------------------------------------------------------

TEST_F(ExprTest, StrOfANumericFieldUsesTheFieldsWidthAndDecimals) {
    EXPECT_EQ(str("str(RICHTIG)"), "   3");
    EXPECT_EQ(str("str(PREIS)"), "  12.50");
    EXPECT_EQ(str("str(DFRA->NUMMER)"), "  7");
    local.set("PREIS", "-0.25");
    EXPECT_EQ(str("str(PREIS)"), "  -0.25");
    local.set("RICHTIG", "-12");
    EXPECT_EQ(str("str(RICHTIG)"), " -12");
    // A blank field reads as 0 and is formatted, not copied.
    local.setRaw("RICHTIG", "    ");
    EXPECT_EQ(str("str(RICHTIG)"), "   0");
    // Odd spellings on disk still give the canonical text.
    local.setRaw("PREIS", "   12.5");
    EXPECT_EQ(str("str(PREIS)"), "  12.50");
    local.setRaw("RICHTIG", "0012");
    EXPECT_EQ(str("str(RICHTIG)"), "  12");
    local.setRaw("RICHTIG", "  -0");
    EXPECT_EQ(str("str(RICHTIG)"), "   0");
}

TEST_F(ExprTest, StrOfOtherNumbersIsTenWideUnlessAWidthIsGiven) {
    EXPECT_EQ(str("str(RICHTIG + 1)"), "         4");
    EXPECT_EQ(str("str(7)"), "         7");
    EXPECT_EQ(str("str(PREIS, 5)"), "   13"); // a width alone means no decimals
    EXPECT_EQ(str("str(PREIS, 8, 3)"), "  12.500");
    EXPECT_EQ(str("str(RICHTIG, 2 + 4)"), "     3");
    EXPECT_EQ(str("str(3, 0)"), "");
}

TEST_F(ExprTest, StrRoundsHalfAwayFromZeroOnTheDecimalValue) {
    EXPECT_EQ(str("str(2.5)"), "         3");
    EXPECT_EQ(str("str(-2.5)"), "        -3");
    EXPECT_EQ(str("str(0.5)"), "         1");
    EXPECT_EQ(str("str(0.125, 5, 2)"), " 0.13");
    EXPECT_EQ(str("str(12.345, 6, 2)"), " 12.35"); // 12.345 is 12.3449999... as a double
    EXPECT_EQ(str("str(1.005, 5, 2)"), " 1.01");
    EXPECT_EQ(str("str(9.995, 5, 2)"), "10.00");
    EXPECT_EQ(str("str(0.005, 4, 2)"), "0.01");
    EXPECT_EQ(str("str(-0.001, 5, 2)"), " 0.00"); // no sign on a value that rounds to zero
    EXPECT_EQ(str("str(123456789.25, 12, 1)"), " 123456789.3");
}

TEST_F(ExprTest, StrFillsWithAsterisksWhenTheNumberDoesNotFit) {
    local.set("RICHTIG", "123");
    EXPECT_EQ(str("str(RICHTIG, 2)"), "**");
    EXPECT_EQ(str("str(99.999, 5, 2)"), "*****"); // rounds to 100.00
    EXPECT_EQ(str("str(-1000, 4)"), "****");
    EXPECT_EQ(str("str(12345678901)"), "**********");
    EXPECT_EQ(str("str(1 / 0)"), "**********");
    EXPECT_EQ(str("str(99999999999999999999999999999999999999.5, 30)"), std::string(30, '*'));
}

// --- comparisons --------------------------------------------------------------------------------------------------

TEST_F(ExprTest, TextEqualityFollowsExactOffAndDoubleEqualsIsExact) {
    struct Row {
        const char* left;
        const char* right;
        bool equal;
    };
    const Row rows[] = {
        {"abc", "ab", true}, {"ab", "abc", false}, {"abc", "ab ", false}, {"ab", "ab ", false},
        {"ab ", "ab", true}, {"ab", "", true},     {"", "ab", false},     {"", "   ", false},
    };
    for (const Row& r : rows) {
        std::string lhs = std::string("\"") + r.left + "\"", rhs = std::string("\"") + r.right + "\"";
        EXPECT_EQ(truth(lhs + " = " + rhs), r.equal) << lhs << " = " << rhs;
        EXPECT_EQ(truth(lhs + " <> " + rhs), !r.equal) << lhs << " <> " << rhs;
        EXPECT_EQ(truth(lhs + " # " + rhs), !r.equal);
        EXPECT_EQ(truth(lhs + " != " + rhs), !r.equal);
        EXPECT_FALSE(truth(lhs + " == " + rhs)) << lhs << " == " << rhs;
    }
    EXPECT_TRUE(truth("\"ab\" == 'ab'"));
    // A C field carries its blanks: FRAGENR is "1.1.01-001  ".
    EXPECT_TRUE(truth("FRAGENR = '1.1.01-001'"));
    EXPECT_FALSE(truth("FRAGENR == '1.1.01-001'"));
    EXPECT_TRUE(truth("FRAGENR == '1.1.01-001  '"));
    EXPECT_TRUE(truth("FRAGENR = '1.1.01'"));
}

TEST_F(ExprTest, TextOrderIsBytewiseUnsignedAndAgreesWithEquals) {
    EXPECT_TRUE(truth("\"\xE4\" > \"z\"")); // cp1252 a-umlaut after z
    EXPECT_TRUE(truth("'B' < 'a'"));
    EXPECT_TRUE(truth("'ab' < 'abc'"));
    EXPECT_FALSE(truth("'abc' > 'ab'")); // equal as far as the right side goes
    EXPECT_TRUE(truth("'abc' >= 'ab'"));
    EXPECT_TRUE(truth("'abc' <= 'ab'"));
    EXPECT_TRUE(truth("'abd' > 'abc'"));
}

TEST_F(ExprTest, ClassCodesMatchByPrefix) {
    Value& code = scope.set("cKlasse", Value::text("B / BE"));
    auto isB = parse("cKlasse = \"B\"");
    auto isA = parse("cKlasse = 'A'");
    auto isA1 = parse("cKlasse = [A1]");
    auto isD = parse("cKlasse = \"D\"");
    ASSERT_TRUE(isB && isA && isA1 && isD);
    EXPECT_TRUE(isB->isTrue());
    EXPECT_FALSE(isA->isTrue());
    code = Value::text("A1");
    EXPECT_TRUE(isA->isTrue()); // why "A1" has to be tested before "A"
    EXPECT_TRUE(isA1->isTrue());
    code = Value::text("A");
    EXPECT_FALSE(isA1->isTrue());
    code = Value::text("DE");
    EXPECT_TRUE(isD->isTrue());
    EXPECT_FALSE(truth("cKlasse == 'D'"));
}

TEST_F(ExprTest, NumbersDatesAndLogicalsCompareWithinTheirType) {
    EXPECT_TRUE(truth("RICHTIG < ANTWORTEN"));
    EXPECT_TRUE(truth("PREIS = 12.5"));
    EXPECT_TRUE(truth("PREIS == 12.5"));
    EXPECT_TRUE(truth("THEMA >= 1 .and. THEMA <= 1"));
    scope.set("dStichtag", Value::date(julianDay(2024, 6, 1)));
    EXPECT_TRUE(truth("DATUM < dStichtag"));
    EXPECT_FALSE(truth("DATUM = dStichtag"));
    EXPECT_TRUE(truth("OK1 = .T."));
    EXPECT_TRUE(truth(".F. < .T."));
    EXPECT_TRUE(truth("(1 = 1) = .y."));
}

TEST_F(ExprTest, TheFilterReadsTheNamedValueAtEachEvaluation) {
    // Three more questions: theme 2 in class B, theme 1 not in class B, theme 2 in class B.
    for (auto [thema, klasse] : {std::pair{"2", "1"}, std::pair{"1", "0"}, std::pair{"2", "5"}}) {
        local.append();
        local.set("THEMA", thema);
        local.set("KLASSE_B", klasse);
    }
    auto filter = parse("KLASSE_B > 0 .and. THEMA = nI_THEMA");
    ASSERT_TRUE(filter);
    auto matches = [&] {
        std::vector<std::size_t> hits;
        for (std::size_t r = 1; r <= local.count(); ++r) {
            local.go(r);
            if (filter->isTrue()) hits.push_back(r);
        }
        return hits;
    };
    EXPECT_EQ(matches(), (std::vector<std::size_t>{1}));
    *const_cast<Value*>(scope.variable("NI_THEMA")) = Value::number(2);
    EXPECT_EQ(matches(), (std::vector<std::size_t>{2, 4}));
}

TEST_F(ExprTest, NamedValueThatChangesTypeReadsAsEmptyAndIsReportedOnce) {
    std::vector<std::string> reports;
    auto previous = store::setErrorCallback([&](const store::StoreError& e) { reports.push_back(e.message); });
    auto e = parse("THEMA = nI_THEMA");
    ASSERT_TRUE(e);
    *const_cast<Value*>(scope.variable("nI_THEMA")) = Value::text("1");
    EXPECT_FALSE(e->isTrue());
    local.set("THEMA", "0");
    EXPECT_TRUE(e->isTrue()); // compared with 0, the empty number
    store::setErrorCallback(previous);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_NE(reports[0].find("NI_THEMA"), std::string::npos);
}

// --- logic and arithmetic -----------------------------------------------------------------------------------------

TEST_F(ExprTest, OperatorPrecedence) {
    EXPECT_FALSE(truth(".not. .T. .and. .F."));   // (.not. .T.) .and. .F.
    EXPECT_TRUE(truth(".T. .or. .F. .and. .F.")); // .and. before .or.
    EXPECT_FALSE(truth("(.T. .or. .F.) .and. .F."));
    EXPECT_TRUE(truth(".not. 1 = 2")); // comparison before .not.
    EXPECT_TRUE(truth("!.F. .and. !(1 > 2)"));
    EXPECT_TRUE(truth("1 = 2 .or. .NOT. 3 = 4 .AND. 5 = 5"));
    EXPECT_TRUE(truth("OK1 = .not. .F.")); // .not. as an operand
    EXPECT_EQ(num("1 + 2 * 3"), 7);
    EXPECT_EQ(num("(1 + 2) * 3"), 9);
    EXPECT_EQ(num("2 - 3 - 4"), -5);
    EXPECT_EQ(num("12 / 4 / 3"), 1);
    EXPECT_EQ(num("-2 * -3"), 6);
    EXPECT_EQ(num("- -+2"), 2);
    EXPECT_EQ(num(".5 + 1.25"), 1.75);
}

TEST_F(ExprTest, AndOrStopAsSoonAsTheResultIsKnown) {
    // The named value turns into a text after parsing; reading it would be reported.
    std::vector<std::string> reports;
    auto previous = store::setErrorCallback([&](const store::StoreError& e) { reports.push_back(e.message); });
    auto e = parse(".F. .and. nI_THEMA = 1 .or. .T. .or. nI_THEMA = 1");
    *const_cast<Value*>(scope.variable("nI_THEMA")) = Value::text("x");
    EXPECT_TRUE(e->isTrue());
    store::setErrorCallback(previous);
    EXPECT_TRUE(reports.empty());
}

// --- names ------------------------------------------------------------------------------------------------------

TEST_F(ExprTest, AliasArrowReadsAnotherAreaAndNamesIgnoreCase) {
    EXPECT_TRUE(truth("DLOC->KLASSE_B > 0"));
    EXPECT_TRUE(truth("dloc->klasse_b > 0 .and. Dfra -> Nummer = 7"));
    EXPECT_TRUE(truth("DFRA->FRAGENR = FRAGENR"));
    work.set("FRAGENR", "2.2.02-002");
    EXPECT_FALSE(truth("DFRA->FRAGENR = FRAGENR"));
    // Without a current area a plain name must be a named value or fail.
    FakeScope none;
    none.addArea("DLOC", &local, false);
    std::string message;
    EXPECT_FALSE(Expression::parse("KLASSE_B > 0", none, &message));
    EXPECT_TRUE(Expression::parse("DLOC->KLASSE_B > 0", none, &message));
}

TEST_F(ExprTest, AFieldHidesANamedValueOfTheSameNameUnlessMArrowIsUsed) {
    scope.set("THEMA", Value::number(5));
    EXPECT_EQ(num("THEMA"), 1);
    EXPECT_EQ(num("M->THEMA"), 5);
    EXPECT_EQ(num("m->nI_THEMA"), 1);
}

// --- EMPTY() ------------------------------------------------------------------------------------------------------

TEST_F(ExprTest, EmptyFollowsTheRulesOfEachType) {
    EXPECT_TRUE(truth("empty(MC_WERT)"));
    local.setRaw("MC_WERT", " \t\r\n      ");
    EXPECT_TRUE(truth("empty(MC_WERT)"));
    local.set("MC_WERT", "0,5");
    EXPECT_FALSE(truth("empty(MC_WERT)"));
    EXPECT_TRUE(truth(".not. empty(MC_WERT)"));
    EXPECT_TRUE(truth("empty('')") && truth("empty('   ')"));

    EXPECT_TRUE(truth("empty(KLASSE_A)")); // blank N field
    local.set("KLASSE_A", "0");
    EXPECT_TRUE(truth("empty(KLASSE_A)"));
    EXPECT_FALSE(truth("empty(RICHTIG)"));
    local.set("PREIS", "0.00");
    EXPECT_TRUE(truth("empty(PREIS)"));
    EXPECT_TRUE(truth("empty(0)"));

    EXPECT_FALSE(truth("empty(DATUM)"));
    local.setRaw("DATUM", "        ");
    EXPECT_TRUE(truth("empty(DATUM)"));

    EXPECT_FALSE(truth("empty(OK1)"));
    local.setRaw("OK1", " ");
    EXPECT_TRUE(truth("empty(OK1)"));
    local.set("OK1", "F");
    EXPECT_TRUE(truth("empty(OK1)"));

    EXPECT_FALSE(truth("empty(NOTIZ)"));
    local.set("NOTIZ", " ");
    EXPECT_FALSE(truth("empty(NOTIZ)")); // a memo holding a blank has content
    local.set("NOTIZ", "");
    EXPECT_TRUE(truth("empty(NOTIZ)"));
}

// --- text functions -----------------------------------------------------------------------------------------------

TEST_F(ExprTest, UpperAndLowerMapCp1252UmlautsButNotSharpS) {
    EXPECT_EQ(str("upper('Stra\xDF"
                  "e \xE4\xF6\xFC abc')"),
              "STRA\xDF"
              "E \xC4\xD6\xDC ABC");
    EXPECT_EQ(str("lower('\xC4\xD6\xDC XYZ \xDF')"), "\xE4\xF6\xFC xyz \xDF");
    EXPECT_EQ(str("UPPER(FRAGENR)"), "1.1.01-001  ");
    local.set("MC_WERT", "km/h");
    EXPECT_TRUE(truth("upper(MC_WERT) = 'KM/H'"));
}

TEST_F(ExprTest, TrimCutAndMeasureTexts) {
    EXPECT_EQ(str("trim('  ab  ')"), "  ab");
    EXPECT_EQ(str("rtrim('  ab  ')"), "  ab");
    EXPECT_EQ(str("ltrim('  ab  ')"), "ab  ");
    EXPECT_EQ(str("alltrim('  ab  ')"), "ab");
    EXPECT_EQ(str("alltrim('    ')"), "");
    EXPECT_EQ(str("ltrim(str(RICHTIG)) + '%'"), "3%");
    EXPECT_EQ(str("substr('Vorfahrt', 4)"), "fahrt");
    EXPECT_EQ(str("substr('Vorfahrt', 4, 2)"), "fa");
    EXPECT_EQ(str("substr('Vorfahrt', 0, 3)"), "Vor");
    EXPECT_EQ(str("substr('Vorfahrt', 9)"), "");
    EXPECT_EQ(str("substr('Vorfahrt', 2, -1)"), "");
    EXPECT_EQ(str("left(FRAGENR, 1)"), "1");
    EXPECT_EQ(str("left('ab', 5)"), "ab");
    EXPECT_EQ(str("right('Vorfahrt', 5)"), "fahrt");
    EXPECT_EQ(str("right('ab', -2)"), "");
    EXPECT_EQ(num("len(FRAGENR)"), 12);
    EXPECT_EQ(num("len(trim(FRAGENR))"), 10);
    EXPECT_EQ(num("len(NOTIZ)"), 5);
    // Text minus moves the left side's trailing blanks behind the right side.
    EXPECT_EQ(str("'ab  ' - 'cd' + '|'"), "abcd  |");
    EXPECT_EQ(str("'ab  ' + 'cd' - 'ef '"), "ab  cdef ");
}

TEST_F(ExprTest, ValDtosAndIif) {
    EXPECT_EQ(num("val('  12.5kg')"), 12.5);
    EXPECT_EQ(num("val('-3')"), -3);
    EXPECT_EQ(num("val('abc')"), 0);
    EXPECT_EQ(num("val('')"), 0);
    EXPECT_EQ(num("val(str(PREIS))"), 12.5);
    EXPECT_EQ(str("dtos(DATUM)"), "20240517");
    local.setRaw("DATUM", "        ");
    EXPECT_EQ(str("dtos(DATUM)"), "        ");
    EXPECT_EQ(str("iif(OK1, 'ja', 'nein')"), "ja");
    EXPECT_EQ(num("iif(RICHTIG > 5, 1, 2)"), 2);
    EXPECT_TRUE(truth("iif(.F., .F., .T.)"));
}

// --- keys -------------------------------------------------------------------------------------------------------

TEST_F(ExprTest, KeyLengthsOfTheProgramsIndexes) {
    auto len = [&](std::string_view text, const FakeScope* in = nullptr) {
        auto e = parse(text, in);
        return e ? e->resultLength() : -2;
    };
    EXPECT_EQ(len("str(RICHTIG)+str(ANTWORTEN)+ZULETZT"), 10);
    EXPECT_EQ(len("str(THEMA)+str(RICHTIG)+str(ANTWORTEN)+ZULETZT"), 14);
    EXPECT_EQ(len("FRAGENR"), 12);
    EXPECT_EQ(len("str(THEMA)"), 4);
    EXPECT_EQ(len("str(NUMMER)", &workScope), 3);
    EXPECT_EQ(len("upper(MC_WERT) + dtos(DATUM)"), 18);
    EXPECT_EQ(len("substr(FRAGENR, 3, 4) + left(FRAGENR, 20)"), 16);
    EXPECT_EQ(len("str(PREIS, 3 * 2) + str(RICHTIG + 1)"), 16);
    EXPECT_EQ(len("trim(FRAGENR)"), -1);
    EXPECT_EQ(len("NOTIZ"), -1);
    EXPECT_EQ(len("str(RICHTIG, ANTWORTEN)"), -1);
    EXPECT_EQ(len("RICHTIG"), -1);

    auto key = parse("str(RICHTIG)+str(ANTWORTEN)+ZULETZT");
    ASSERT_TRUE(key);
    std::string out = "old contents";
    key->evaluateKey(out);
    EXPECT_EQ(out, "   3   742");
    EXPECT_EQ(out, key->evaluate().asText());
    auto work = parse("str(NUMMER)", &workScope);
    ASSERT_TRUE(work);
    work->evaluateKey(out);
    EXPECT_EQ(out, "  7");
}

TEST_F(ExprTest, NonTextKeysSortLikeTheirValues) {
    auto hex = [](const std::string& s) {
        std::string r;
        char b[4];
        for (unsigned char c : s) {
            std::snprintf(b, sizeof b, "%02X", c);
            r += b;
        }
        return r;
    };
    auto keyOf = [&](Value v) {
        std::string out;
        store::appendIndexKey(v, out);
        return hex(out);
    };
    EXPECT_EQ(keyOf(Value::number(0)), "8000000000000000");
    EXPECT_EQ(keyOf(Value::number(-0.0)), "8000000000000000");
    EXPECT_EQ(keyOf(Value::number(1)), "BFF0000000000000");
    EXPECT_EQ(keyOf(Value::number(-1)), "400FFFFFFFFFFFFF");
    EXPECT_EQ(keyOf(Value::number(12.5)), "C029000000000000");
    EXPECT_EQ(keyOf(Value::date(julianDay(2024, 5, 17))), "C142C59000000000");
    EXPECT_EQ(keyOf(Value::logical(true)), "54");

    auto thema = parse("THEMA");
    std::string out;
    thema->evaluateKey(out);
    EXPECT_EQ(hex(out), "BFF0000000000000");
    auto datum = parse("DATUM");
    datum->evaluateKey(out);
    EXPECT_EQ(hex(out), "C142C59000000000");
}

TEST_F(ExprTest, KeyAndFilterEvaluationDoNotAllocate) {
    auto key = parse("str(THEMA)+str(RICHTIG)+str(ANTWORTEN)+ZULETZT");
    auto filter = parse("KLASSE_B > 0 .and. THEMA = nI_THEMA .and. .not. empty(MC_WERT) .or. FRAGENR = 'x'");
    auto mixed = parse("upper(left(FRAGENR, 6)) + str(PREIS * 2, 8, 2) = DFRA->FRAGENR");
    ASSERT_TRUE(key && filter && mixed);
    std::string out;
    key->evaluateKey(out); // warm-up: buffers reach their size
    mixed->isTrue();
    g_allocations = 0;
    g_countAllocations = true;
    int hits = 0;
    for (int i = 0; i < 1000; ++i) {
        key->evaluateKey(out);
        hits += filter->isTrue() + mixed->isTrue();
    }
    g_countAllocations = false;
    EXPECT_EQ(g_allocations.load(), 0);
    EXPECT_EQ(hits, 0);
    EXPECT_EQ(out, "   1   3   742");
}

// --- errors -------------------------------------------------------------------------------------------------------

TEST_F(ExprTest, ErrorsQuoteTheExpressionAndSayWhatAndWhere) {
    struct Case {
        const char* text;
        const char* says;
    };
    const Case cases[] = {
        {"", "leer"},
        {"   ", "leer"},
        {"KLASSE_B >", "Operand fehlt am Ende"},
        {"* 2", "Operand erwartet statt \"*\" an Position 1"},
        {"1 2", "Operator oder Ende erwartet statt \"2\" an Position 3"},
        {"(1 + 2", "\")\" erwartet"},
        {"1 + 2)", "statt \")\""},
        {"'abc", "Text ohne Ende"},
        {"[abc", "es fehlt ]"},
        {"KLASSE_X > 0", "unbekannter Name \"KLASSE_X\" an Position 1"},
        {"DLOCX->THEMA", "unbekannter Alias \"DLOCX\""},
        {"DLOC->THEMAX", "kein Feld \"THEMAX\""},
        {"DLOC->", "Feldname erwartet"},
        {"strx(THEMA)", "unbekannte Funktion"},
        {"str()", "STR() erwartet 1 bis 3 Argumente, nicht 0"},
        {"empty(1, 2)", "EMPTY() erwartet 1 Argument, nicht 2"},
        {"str(1,", "Operand fehlt"},
        {"\"A\" + 1", "Typfehler: Text + Zahl"},
        {".not. \"x\"", "Typfehler: .NOT."},
        {"THEMA = '1'", "Typfehler: Zahl = Text"},
        {"THEMA .and. .T.", "Typfehler: .AND."},
        {"str('1')", "1. Argument von STR() muss Zahl sein"},
        {"iif(.T., 1, 'a')", "gleichen Typs"},
        {"-'a'", "Vorzeichen"},
        {"DATUM + 1", "Datum + Zahl"},
        {"a.b", "unerwartetes Zeichen '.'"},
        {"THEMA $ 1", "unerwartetes Zeichen '$'"},
        {"THEMA = \x01", "Byte 0x01"},
        {".and.", "Operand erwartet"},
    };
    for (const Case& c : cases) {
        std::string message = error(c.text);
        EXPECT_NE(message.find(std::string("\"") + c.text + "\""), std::string::npos) << message;
        EXPECT_NE(message.find(c.says), std::string::npos) << c.text << " -> " << message;
    }
}

TEST_F(ExprTest, DeepOrLongInputIsRejectedWithoutCrashing) {
    const int n = 20000;
    EXPECT_NE(error(std::string(n, '(') + "1" + std::string(n, ')')).find("verschachtelt"), std::string::npos);
    EXPECT_NE(error(std::string(n, '-') + "1").find("verschachtelt"), std::string::npos);
    EXPECT_NE(error(std::string(n, '!') + ".T.").find("verschachtelt"), std::string::npos);
    std::string nots;
    for (int i = 0; i < 1000; ++i)
        nots += ".not. ";
    EXPECT_NE(error(nots + ".T.").find("verschachtelt"), std::string::npos);
    std::string calls;
    for (int i = 0; i < 1000; ++i)
        calls += "upper(";
    EXPECT_NE(error(calls + "'a'" + std::string(1000, ')')).find("verschachtelt"), std::string::npos);
    std::string sum = "1";
    for (int i = 0; i < 5000; ++i)
        sum += "+1";
    EXPECT_NE(error(sum).find("zu viele Operatoren"), std::string::npos);
    EXPECT_NE(error(std::string(70000, ' ') + "1").find("zu lang"), std::string::npos);

    // Nesting within the limits works, and so do long flat chains of texts and conditions.
    EXPECT_EQ(num(std::string(50, '(') + "2" + std::string(50, ')')), 2);
    std::string key = "ZULETZT", condition = "THEMA = 1";
    for (int i = 0; i < 2000; ++i) {
        key += "+ZULETZT";
        condition += " .and. THEMA = 1";
    }
    auto longKey = parse(key);
    ASSERT_TRUE(longKey);
    EXPECT_EQ(longKey->resultLength(), 4002);
    EXPECT_TRUE(truth(condition));
}

TEST_F(ExprTest, RandomInputEitherParsesAndEvaluatesOrExplainsItself) {
    const char* pieces[] = {
        "(",        ")",       ",",       "+",     "-",      "*",     "/",        "=",      "==",           "<>",
        "#",        "!=",      "<",       ">=",    "!",      ".and.", ".OR.",     ".not.",  ".T.",          ".f.",
        "1",        "2.5",     ".5",      "0",     "'ab '",  "\"\"",  "[x]",      "'",      "\"",           "[",
        "THEMA",    "FRAGENR", "NOTIZ",   "DATUM", "OK1",    "PREIS", "nI_THEMA", "DLOC->", "DFRA->NUMMER", "->",
        "str(",     "empty(",  "substr(", "iif(",  "upper(", "len(",  "val(",     "dtos(",  "left(",        "right(",
        "alltrim(", " ",       "\x01",    "\xE4",  ".",      "$"};
    std::mt19937 random(20240517);
    std::uniform_int_distribution<std::size_t> pick(0, std::size(pieces) - 1), count(0, 14);
    int parsed = 0;
    for (int round = 0; round < 30000; ++round) {
        std::string text;
        for (std::size_t i = count(random); i > 0; --i)
            text += pieces[pick(random)];
        std::string message;
        auto e = Expression::parse(text, scope, &message);
        if (!e) {
            ASSERT_NE(message.find("Ausdruck \""), std::string::npos) << text;
            continue;
        }
        ++parsed;
        Value v = e->evaluate();
        ASSERT_EQ(v.type(), e->resultType()) << text;
        if (v.isText() && e->resultLength() >= 0) {
            ASSERT_EQ(static_cast<int>(v.asText().size()), e->resultLength()) << text;
        }
        std::string key;
        e->evaluateKey(key);
        if (v.isText()) {
            ASSERT_EQ(key, v.asText()) << text;
        }
    }
    EXPECT_GT(parsed, 300); // the generator does reach the evaluator
}

// --- speed --------------------------------------------------------------------------------------------------------

TEST_F(ExprTest, MicroBenchmarkOfTheTrainingKeyAndFilter) {
    for (int i = 0; i < 99; ++i) {
        local.append();
        local.set("THEMA", std::to_string(i % 8 + 1));
        local.set("KLASSE_B", std::to_string(i % 3));
        local.set("RICHTIG", std::to_string(i % 17));
        local.set("ANTWORTEN", std::to_string(i % 23));
        local.set("ZULETZT", std::to_string(10 + i % 50));
    }
    auto key = parse("str(RICHTIG)+str(ANTWORTEN)+ZULETZT");
    auto filter = parse("KLASSE_B > 0 .and. THEMA = nI_THEMA");
    ASSERT_TRUE(key && filter);
    const int rounds = 5000;
    std::string out;
    std::size_t bytes = 0;
    int hits = 0;
    auto t0 = std::chrono::steady_clock::now();
    for (int r = 0; r < rounds; ++r)
        for (std::size_t rec = 1; rec <= local.count(); ++rec) {
            local.go(rec);
            key->evaluateKey(out);
            bytes += out.size();
        }
    auto t1 = std::chrono::steady_clock::now();
    for (int r = 0; r < rounds; ++r)
        for (std::size_t rec = 1; rec <= local.count(); ++rec) {
            local.go(rec);
            hits += filter->isTrue();
        }
    auto t2 = std::chrono::steady_clock::now();
    double n = static_cast<double>(rounds) * static_cast<double>(local.count());
    auto perSecond = [&](auto a, auto b) { return n / std::chrono::duration<double>(b - a).count(); };
    std::printf("[ bench    ] key    %.2f M evaluations/s\n[ bench    ] filter %.2f M evaluations/s\n",
                perSecond(t0, t1) / 1e6, perSecond(t1, t2) / 1e6);
    EXPECT_EQ(bytes, static_cast<std::size_t>(n) * 10);
    // Theme 1 and class B > 0: record 1, and i = 8, 32, 56, 80 ... where i % 8 == 0 and i % 3 != 0.
    int expected = 1;
    for (int i = 0; i < 99; ++i)
        expected += (i % 8 == 0 && i % 3 != 0);
    EXPECT_EQ(hits, rounds * expected);
}

} // namespace
