// STR() in expressions and the runtime's strNumber() are one mechanism: these tests hold both to the same texts,
// and both to a rounding worked out in integers on the decimal text of each value.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "store/expr.h"
#include "store/format.h"

namespace {

using store::Expression;
using store::Value;

// Named values X, W and D, and one table area with a numeric field N whose bytes the test sets.
class NumberScope : public store::ExprScope, public store::RecordView {
public:
    // The width and decimals count when an expression is parsed; the bytes when it is evaluated.
    void setField(int width, int decimals, std::string raw) {
        m_field = store::FieldDef{"N", store::FieldType::Numeric, width, decimals};
        m_raw = std::move(raw);
    }
    Value& named(const std::string& name) { return m_values[name]; }

    const store::RecordView* area(std::string_view alias) const override { return alias.empty() ? this : nullptr; }
    const Value* variable(std::string_view name) const override {
        std::string upper(name);
        for (char& c : upper)
            if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        auto it = m_values.find(upper);
        return it == m_values.end() ? nullptr : &it->second;
    }

    int fieldCount() const override { return 1; }
    const store::FieldDef& fieldDef(int) const override { return m_field; }
    int fieldIndex(std::string_view name) const override { return name == "N" || name == "n" ? 0 : -1; }
    std::string_view rawField(int) const override { return m_raw; }
    Value fieldValue(int) const override { return Value::number(std::strtod(m_raw.c_str(), nullptr)); }

private:
    std::map<std::string, Value, std::less<>> m_values{
        {"X", Value::number(0)}, {"W", Value::number(10)}, {"D", Value::number(0)}};
    store::FieldDef m_field{"N", store::FieldType::Numeric, 8, 2};
    std::string m_raw = "    0.00";
};

std::unique_ptr<Expression> parse(const std::string& text, const NumberScope& scope) {
    std::string error;
    auto e = Expression::parse(text, scope, &error);
    EXPECT_TRUE(e) << text << ": " << error;
    return e;
}

std::string textOf(const Expression& e) {
    const Value v = e.evaluate();
    EXPECT_TRUE(v.isText()) << e.text();
    return v.asText();
}

// n / 10^places as text with exactly `places` decimals: withPoint(5, 2) is "0.05".
std::string withPoint(std::int64_t n, int places) {
    std::string digits = std::to_string(n);
    if (places == 0) return digits;
    const auto p = static_cast<std::size_t>(places);
    if (digits.size() <= p) digits = std::string(p + 1 - digits.size(), '0') + digits;
    return digits.substr(0, digits.size() - p) + "." + digits.substr(digits.size() - p);
}

// A value written as mantissa / 10^scale with at most 15 significant digits, so the double reads back as exactly
// that text and its rounding can be worked out in integers.
struct Typed {
    std::int64_t mantissa; // |mantissa| < 10^12
    int scale;             // 0..8
    double value() const { return std::strtod(text().c_str(), nullptr); }
    std::string text() const {
        std::string text = mantissa < 0 ? "-" : "";
        return text += withPoint(std::llabs(mantissa), scale);
    }
};

std::int64_t pow10(int n) {
    std::int64_t p = 1;
    while (n-- > 0)
        p *= 10;
    return p;
}

// STR() of a typed value by integer arithmetic: half away from zero, no sign on zero, stars when too wide.
std::string expectedStr(const Typed& t, int width, int decimals) {
    const std::int64_t magnitude = std::llabs(t.mantissa);
    std::int64_t units; // the rounded value in units of 10^-decimals
    if (decimals >= t.scale) {
        units = magnitude * pow10(decimals - t.scale);
    } else {
        const std::int64_t step = pow10(t.scale - decimals);
        units = magnitude / step + (magnitude % step * 2 >= step ? 1 : 0);
    }
    std::string digits = t.mantissa < 0 && units != 0 ? "-" : "";
    digits += withPoint(units, decimals);
    if (digits.size() > static_cast<std::size_t>(width)) return std::string(static_cast<std::size_t>(width), '*');
    return std::string(static_cast<std::size_t>(width) - digits.size(), ' ') + digits;
}

// Ties at every number of decimals, the classic binary troublemakers, and random decimal texts.
std::vector<Typed> typedValues() {
    std::vector<Typed> values;
    for (int scale = 1; scale <= 7; ++scale)
        for (std::int64_t k : {0, 1, 2, 3, 4, 7, 12, 99, 123, 4999, 99999})
            for (int sign : {1, -1})
                values.push_back({sign * (k * 10 + 5), scale}); // ….5 at the place just below scale - 1 decimals
    for (Typed t : {Typed{1005, 3}, Typed{2675, 3}, Typed{1015, 3}, Typed{12345, 3}, Typed{9995, 3}, Typed{99995, 3},
                    Typed{285, 3}, Typed{1115, 3}, Typed{4445, 4}, Typed{8345, 3}, Typed{5, 7}, Typed{49, 8},
                    Typed{999999999995, 2}, Typed{100000000000, 0}, Typed{0, 0}})
        for (int sign : {1, -1})
            values.push_back({sign * t.mantissa, t.scale});
    std::mt19937_64 rng(20240517);
    for (int i = 0; i < 1200; ++i) {
        const auto digits = static_cast<int>(rng() % 12) + 1;
        const auto mantissa = static_cast<std::int64_t>(rng() % static_cast<std::uint64_t>(pow10(digits)));
        values.push_back({(rng() & 1) ? -mantissa : mantissa, static_cast<int>(rng() % 9)});
    }
    return values;
}

// Values that are not typed decimals: sums and products with binary noise, the ends of the double range.
std::vector<double> computedValues() {
    std::vector<double> values = {0.1 + 0.2,
                                  1.15 * 3,
                                  1.1 * 1.1,
                                  100.0 / 3,
                                  -2.0 / 3,
                                  6.75 * 15.9,
                                  15.44 * 15.9,
                                  1e15,
                                  1e16 + 2,
                                  123456789012345678.0,
                                  9007199254740993.0,
                                  1e20,
                                  1e300,
                                  -1e300,
                                  1e-7,
                                  5e-7,
                                  -5e-7,
                                  4.9e-7,
                                  std::numeric_limits<double>::denorm_min(),
                                  std::numeric_limits<double>::max(),
                                  -0.0,
                                  std::numeric_limits<double>::quiet_NaN(),
                                  std::numeric_limits<double>::infinity(),
                                  -std::numeric_limits<double>::infinity()};
    std::mt19937_64 rng(7);
    for (int i = 0; i < 300; ++i) {
        const double a = static_cast<double>(rng() % 100000) / 100, b = static_cast<double>(rng() % 1000) / 10;
        values.push_back(a * b);
        values.push_back(a / (b + 1));
        values.push_back(std::ldexp(static_cast<double>(rng() >> 11), static_cast<int>(rng() % 90) - 80));
    }
    return values;
}

TEST(StrOnePath, ExpressionAndRuntimeGiveTheSameTextForEveryWidthAndDecimals) {
    NumberScope scope;
    auto variable = parse("STR(X, W, D)", scope);
    auto widthOnly = parse("str(x, w)", scope);
    auto bare = parse("Str(X)", scope);
    ASSERT_TRUE(variable && widthOnly && bare);
    std::vector<std::unique_ptr<Expression>> constant; // widths and decimals fixed when parsed
    for (int w = 1; w <= 20; ++w)
        for (int d = 0; d <= 6; ++d)
            constant.push_back(parse("STR(X, " + std::to_string(w) + ", " + std::to_string(d) + ")", scope));

    std::vector<double> values;
    for (const Typed& t : typedValues())
        values.push_back(t.value());
    for (double v : computedValues())
        values.push_back(v);

    int compared = 0;
    for (double v : values) {
        scope.named("X") = Value::number(v);
        EXPECT_EQ(textOf(*bare), store::strNumber(v)) << v;
        for (int w = 1; w <= 20; ++w) {
            scope.named("W") = Value::number(w);
            EXPECT_EQ(textOf(*widthOnly), store::strNumber(v, w)) << v << " " << w;
            for (int d = 0; d <= 6; ++d) {
                scope.named("D") = Value::number(d);
                const std::string want = store::strNumber(v, w, d);
                ASSERT_EQ(want.size(), static_cast<std::size_t>(w));
                EXPECT_EQ(textOf(*variable), want) << v << " " << w << "," << d;
                EXPECT_EQ(textOf(*constant[static_cast<std::size_t>((w - 1) * 7 + d)]), want)
                    << v << " " << w << "," << d;
                ++compared;
            }
        }
    }
    EXPECT_GT(values.size(), 2000u);
    EXPECT_EQ(compared, static_cast<int>(values.size()) * 140);
}

TEST(StrOnePath, TypedDecimalsRoundHalfAwayFromZeroOnTheirText) {
    NumberScope scope;
    auto e = parse("STR(X, W, D)", scope);
    ASSERT_TRUE(e);
    for (const Typed& t : typedValues()) {
        scope.named("X") = Value::number(t.value());
        for (int w = 1; w <= 20; ++w) {
            scope.named("W") = Value::number(w);
            for (int d = 0; d <= 6; ++d) {
                scope.named("D") = Value::number(d);
                const std::string want = expectedStr(t, w, d);
                EXPECT_EQ(store::strNumber(t.value(), w, d), want) << t.text() << " " << w << "," << d;
                EXPECT_EQ(textOf(*e), want) << t.text() << " " << w << "," << d;
            }
        }
    }
}

TEST(StrOnePath, HandCheckedTexts) {
    struct Case {
        double value;
        int width, decimals;
        const char* text;
    };
    const Case cases[] = {
        {0.5, 1, 0, "1"},
        {-0.5, 2, 0, "-1"},
        {-0.5, 1, 0, "*"}, // the sign needs its own place
        {-2.5, 4, 0, "  -3"},
        {2.5, 4, 1, " 2.5"},
        {-1.005, 6, 2, " -1.01"},
        {2.675, 6, 3, " 2.675"},
        {-2.675, 6, 2, " -2.68"},
        {1.015, 4, 2, "1.02"},
        {0.0005, 8, 3, "   0.001"},
        {-0.0005, 8, 3, "  -0.001"},
        {-0.0004, 8, 3, "   0.000"},
        {1.15 * 3, 4, 1, " 3.4"},       // the product reads 3.4499999999999997: no tie
        {6.75 * 15.9, 7, 2, " 107.33"}, // reads 107.325
        {-0.0, 3, 0, "  0"},
        // Decimals that leave no room, and more decimals than width.
        {1, 2, 1, "**"},
        {1.5, 3, 5, "***"},
        {0.5, 7, 5, "0.50000"},
        // Large and small values.
        {123456789012345678.0, 20, 0, "  123456789012345680"}, // the double holds ...680
        {1e19, 20, 0, "10000000000000000000"},
        {1e20, 20, 0, "********************"},
        {5e-7, 9, 6, " 0.000001"},
        {-5e-7, 9, 6, "-0.000001"},
        {4.9e-7, 9, 6, " 0.000000"},
        {std::numeric_limits<double>::denorm_min(), 8, 6, "0.000000"},
        {std::numeric_limits<double>::quiet_NaN(), 4, 1, "****"},
        {-std::numeric_limits<double>::infinity(), 3, 0, "***"},
    };
    NumberScope scope;
    auto e = parse("STR(X, W, D)", scope);
    ASSERT_TRUE(e);
    for (const Case& c : cases) {
        EXPECT_EQ(store::strNumber(c.value, c.width, c.decimals), c.text) << c.value;
        scope.named("X") = Value::number(c.value);
        scope.named("W") = Value::number(c.width);
        scope.named("D") = Value::number(c.decimals);
        EXPECT_EQ(textOf(*e), c.text) << c.value;
    }
}

TEST(StrOnePath, WidthAndDecimalsAreCutToTheLongestKey) {
    EXPECT_EQ(store::strNumber(1, 300), std::string(254, ' ') + "1");
    EXPECT_EQ(store::strNumber(1, 50, 40), "        1." + std::string(40, '0'));
    EXPECT_EQ(store::strNumber(1, -3), "");
    NumberScope scope;
    EXPECT_EQ(textOf(*parse("STR(1, 300)", scope)), store::strNumber(1, 300));
    EXPECT_EQ(textOf(*parse("STR(1, 50, 40)", scope)), store::strNumber(1, 50, 40));
    EXPECT_EQ(textOf(*parse("STR(1, 0 - 3)", scope)), "");
    EXPECT_EQ(textOf(*parse("STR(0 / 0, 4)", scope)), "****");
}

// STR(field) copies the stored bytes when they already are the formatted number, and formats them otherwise;
// either way the text is the one strNumber() gives for the field's width and decimals.
TEST(StrOnePath, AFieldGivesTheSameTextStoredOrRewritten) {
    NumberScope scope;
    scope.setField(10, 2, "      0.00");
    auto e = parse("STR(N)", scope); // takes the field's width and decimals now
    ASSERT_TRUE(e);
    for (const Typed& t : typedValues()) {
        if (t.scale > 2 || std::llabs(t.mantissa) >= 10000000) continue;
        const double v = t.value();
        const std::string canonical = store::strNumber(v, 10, 2);
        if (canonical.front() == '*') continue;          // a table stores no number that does not fit
        const std::string plain = store::plainNumber(v); // "12.5" instead of "12.50"
        for (const std::string& raw : {canonical, std::string(10 - plain.size(), ' ') + plain}) {
            scope.setField(10, 2, raw);
            EXPECT_EQ(textOf(*e), canonical) << '"' << raw << '"';
        }
    }
}

// The picture path rounds through the same digits: a picture of plain digit cells shows what STR() shows.
TEST(StrOnePath, APictureOfDigitCellsShowsWhatStrShows) {
    for (const Typed& t : typedValues()) {
        if (std::fabs(t.value()) >= 1e8) continue;
        for (int d = 0; d <= 6; ++d) {
            std::string picture(10, '9');
            if (d > 0) picture.append(".").append(static_cast<std::size_t>(d), '9');
            EXPECT_EQ(store::transformPicture(t.value(), picture),
                      store::strNumber(t.value(), static_cast<int>(picture.size()), d))
                << t.text() << " " << d;
        }
    }
    EXPECT_EQ(store::transformPicture(2.675, "@E 9.99"), "2,68");
    EXPECT_EQ(store::transformPicture(-2.5, "99"), "-3");
}

} // namespace
