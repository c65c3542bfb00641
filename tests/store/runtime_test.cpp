#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "store/calendar.h"
#include "store/codepage.h"
#include "store/format.h"

namespace {

std::string allBytes() {
    std::string s(256, '\0');
    for (int i = 0; i < 256; ++i)
        s[i] = static_cast<char>(i);
    return s;
}

// ---- code pages ----

TEST(CodePage, EveryByteRoundTripsThroughUtf8) {
    const std::string bytes = allBytes();
    const std::string viaAnsi = store::cp1252ToUtf8(bytes);
    const std::string viaOem = store::cp850ToUtf8(bytes);
    EXPECT_TRUE(store::isValidUtf8(viaAnsi));
    EXPECT_TRUE(store::isValidUtf8(viaOem));
    EXPECT_EQ(store::utf8ToCp1252(viaAnsi), bytes);
    EXPECT_EQ(store::utf8ToCp850(viaOem), bytes);
}

TEST(CodePage, UndefinedCp1252BytesBecomeC1Controls) {
    EXPECT_EQ(store::cp1252ToUtf8("\x81\x8D\x8F\x90\x9D"), "\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D");
    EXPECT_EQ(store::cp1252ToUtf8("\x80"), "\xE2\x82\xAC"); // euro sign
    // The other C1 controls have no cp1252 byte.
    EXPECT_EQ(store::utf8ToCp1252("\xC2\x80"), "?");
}

TEST(CodePage, GermanLettersBothWaysInBothCodePages) {
    const std::string utf8 = "äöüßÄÖÜ";
    EXPECT_EQ(store::utf8ToCp1252(utf8), "\xE4\xF6\xFC\xDF\xC4\xD6\xDC");
    EXPECT_EQ(store::utf8ToCp850(utf8), "\x84\x94\x81\xE1\x8E\x99\x9A");
    EXPECT_EQ(store::cp1252ToUtf8("\xE4\xF6\xFC\xDF\xC4\xD6\xDC"), utf8);
    EXPECT_EQ(store::cp850ToUtf8("\x84\x94\x81\xE1\x8E\x99\x9A"), utf8);
}

TEST(CodePage, CharactersTheCodePageLacksBecomeQuestionMarks) {
    EXPECT_EQ(store::utf8ToCp850("5 €"), "5 ?");
    EXPECT_EQ(store::utf8ToCp1252("a漢b"), "a?b");
    EXPECT_EQ(store::utf8ToCp1252("a\xF0\x9F\x9A\x97z"), "a?z"); // one character outside the BMP, one '?'
    EXPECT_EQ(store::utf8ToCp1252("Straßenverkehr"), "Stra\xDF"
                                                     "enverkehr");
}

TEST(CodePage, MalformedUtf8IsReplacedWithoutSwallowingTheNextCharacter) {
    EXPECT_EQ(store::utf8ToCp1252("a\x80z"), "a?z"); // stray continuation byte
    EXPECT_EQ(store::utf8ToCp1252("ab\xC3"), "ab?"); // cut off at the end
    EXPECT_EQ(store::utf8ToCp1252("\xE2\x82"
                                  "A"),
              "?A");                                            // cut off before an ASCII letter
    EXPECT_EQ(store::utf8ToCp1252("\xC3\xC3\xBC"), "?\xFC");    // cut off before a complete 'ü'
    EXPECT_EQ(store::utf8ToCp1252("\xC0\xAF"), "??");           // overlong '/'
    EXPECT_EQ(store::utf8ToCp1252("\xED\xA0\x80"), "???");      // surrogate
    EXPECT_EQ(store::utf8ToCp1252("\xF4\x90\x80\x80"), "????"); // above U+10FFFF
    EXPECT_EQ(store::utf8ToCp1252("\xFF"), "?");
    EXPECT_FALSE(store::isValidUtf8("Fahrsch\xFCler"));
    EXPECT_FALSE(store::isValidUtf8("\xE0\x80\x80"));
    EXPECT_TRUE(store::isValidUtf8("Fahrschüler \xF0\x9F\x9A\x97"));
    EXPECT_TRUE(store::isValidUtf8(""));
}

TEST(CodePage, OemToAnsiKeepsLettersAndApproximatesGraphics) {
    EXPECT_EQ(store::oemToAnsi("Fahrsch\x81ler"), "Fahrsch\xFCler");
    EXPECT_EQ(store::oemToAnsi("'Stra\xE1"
                               "enverkehr, \x8E"
                               "nderungen, \x99l, \x9A"
                               "berholen'"),
              "'Stra\xDF"
              "enverkehr, \xC4nderungen, \xD6l, \xDC"
              "berholen'");
    EXPECT_EQ(store::oemToAnsi("\xDA\xC4\xBF\xB3\xC0\xCD\xD9"), "+-+|+-+");
    EXPECT_EQ(store::oemToAnsi("\xB0\xDB\xFE\xD5\xF2"), "###i_");
    EXPECT_EQ(store::oemToAnsi(std::string("a\0b", 3)), std::string("a\0b", 3));

    // Every cp850 character with a cp1252 counterpart arrives as that character, and nothing becomes '?'.
    const std::string ansi = store::oemToAnsi(allBytes());
    ASSERT_EQ(ansi.size(), 256u);
    for (int b = 0; b < 256; ++b) {
        const char32_t cp = store::cp850ToUnicode(static_cast<unsigned char>(b));
        const auto out = static_cast<unsigned char>(ansi[b]);
        if (store::unicodeToCp1252(cp) >= 0) {
            EXPECT_EQ(store::cp1252ToUnicode(out), cp) << "byte " << b;
        }
        EXPECT_TRUE(out != '?' || b == '?') << "byte " << b;
    }
}

// ---- str() ----

TEST(StrNumber, RightAlignedInTheWidth) {
    EXPECT_EQ(store::strNumber(3), "         3");
    EXPECT_EQ(store::strNumber(3, 4), "   3");
    EXPECT_EQ(store::strNumber(-42, 4), " -42");
    EXPECT_EQ(store::strNumber(12345, 5), "12345");
    EXPECT_EQ(store::strNumber(3.14159, 8, 2), "    3.14");
    EXPECT_EQ(store::strNumber(7, 6, 2), "  7.00");
    EXPECT_EQ(store::strNumber(1e15, 16), "1000000000000000");
}

TEST(StrNumber, RoundsHalfAwayFromZeroOnTheDecimalValue) {
    EXPECT_EQ(store::strNumber(2.5, 3), "  3");
    EXPECT_EQ(store::strNumber(-2.5, 3), " -3");
    EXPECT_EQ(store::strNumber(2.4999, 3), "  2");
    EXPECT_EQ(store::strNumber(0.125, 5, 2), " 0.13");
    EXPECT_EQ(store::strNumber(2.675, 5, 2), " 2.68"); // the double lies just below 2.675
    EXPECT_EQ(store::strNumber(1.005, 5, 2), " 1.01");
    EXPECT_EQ(store::strNumber(9.96, 5, 1), " 10.0");    // the carry reaches a new digit
    EXPECT_EQ(store::strNumber(-0.001, 6, 2), "  0.00"); // no "-0.00"
}

TEST(StrNumber, TooWideGivesStars) {
    EXPECT_EQ(store::strNumber(123456, 5), "*****");
    EXPECT_EQ(store::strNumber(-1234, 4), "****");
    EXPECT_EQ(store::strNumber(99.995, 5, 2), "*****"); // fits only before rounding
    EXPECT_EQ(store::strNumber(NAN, 3), "***");
    EXPECT_EQ(store::strNumber(INFINITY), "**********");
    EXPECT_EQ(store::strNumber(5, 0), "");
}

TEST(PlainNumber, NoBlanksAndDecimalsOnlyWhenPresent) {
    EXPECT_EQ(store::plainNumber(30), "30");
    EXPECT_EQ(store::plainNumber(2.5), "2.5");
    EXPECT_EQ(store::plainNumber(-3), "-3");
    EXPECT_EQ(store::plainNumber(-0.0), "0");
    EXPECT_EQ(store::plainNumber(1e20), "100000000000000000000");
}

// ---- pictures ----

TEST(Picture, EuropeanAmounts) {
    EXPECT_EQ(store::transformPicture(1234.5, "@E 999,999.99"), "  1.234,50");
    EXPECT_EQ(store::transformPicture(123456.78, "@E 999,999.99"), "123.456,78");
    EXPECT_EQ(store::transformPicture(999.999, "@E 999,999.99"), "  1.000,00");
    EXPECT_EQ(store::transformPicture(0, "@E 999,999.99"), "      0,00");
    EXPECT_EQ(store::transformPicture(0.004, "@E 999,999.99"), "      0,00");
    EXPECT_EQ(store::transformPicture(-0.004, "@E 999,999.99"), "      0,00");
    EXPECT_EQ(store::transformPicture(-1234.5, "@E 999,999.99"), " -1.234,50");
    EXPECT_EQ(store::transformPicture(-12, "@E 999,999.99"), "    -12,00");
    EXPECT_EQ(store::transformPicture(12.345, "@E 9999.99"), "  12,35");
    EXPECT_EQ(store::transformPicture(51.2, "@E 9999.99"), "  51,20");
    EXPECT_EQ(store::transformPicture(0.8, "@E 99999.99"), "    0,80");
    EXPECT_EQ(store::transformPicture(1.5, "@E 9.99"), "1,50");
    EXPECT_EQ(store::transformPicture(7.256, "@E 9.99"), "7,26");
}

TEST(Picture, NegativeSignTakesTheCellBeforeTheFirstDigit) {
    EXPECT_EQ(store::transformPicture(-12, "999"), "-12");
    EXPECT_EQ(store::transformPicture(-5, "999"), " -5");
    EXPECT_EQ(store::transformPicture(-0.5, "@E 9.99"), "-,50");
    EXPECT_EQ(store::transformPicture(-0.5, "@E 99.99"), "-0,50");
    EXPECT_EQ(store::transformPicture(-123, "999"), "***");
    EXPECT_EQ(store::transformPicture(-1.5, "@E 9.99"), "****");
    EXPECT_EQ(store::transformPicture(-123, "@E 9,999"), " -123"); // the blank separator cell takes the sign
}

TEST(Picture, WholeNumbersAndLiteralText) {
    EXPECT_EQ(store::transformPicture(100, "999"), "100");
    EXPECT_EQ(store::transformPicture(5, "999"), "  5");
    EXPECT_EQ(store::transformPicture(0, "999"), "  0");
    EXPECT_EQ(store::transformPicture(12.5, "999"), " 13");
    EXPECT_EQ(store::transformPicture(42, "99999"), "   42");
    EXPECT_EQ(store::transformPicture(1234567, "9,999,999 Bytes"), "1,234,567 Bytes");
    EXPECT_EQ(store::transformPicture(1000, "9,999,999 Bytes"), "    1,000 Bytes");
    EXPECT_EQ(store::transformPicture(999, "9,999,999 Bytes"), "      999 Bytes");
    EXPECT_EQ(store::transformPicture(1234567, "@E 9,999,999 Bytes"), "1.234.567 Bytes");
    EXPECT_EQ(store::transformPicture(12, "EUR 999"), "EUR  12");
    EXPECT_EQ(store::transformPicture(1234, "99-99"), "12-34");
}

TEST(Picture, OverflowFillsTheNumericPartWithStars) {
    EXPECT_EQ(store::transformPicture(1234, "999"), "***");
    EXPECT_EQ(store::transformPicture(1000000, "@E 999,999.99"), "**********");
    EXPECT_EQ(store::transformPicture(999999.995, "@E 999,999.99"), "**********"); // by rounding
    EXPECT_EQ(store::transformPicture(10, "@E 9.99"), "****");
    EXPECT_EQ(store::transformPicture(12345678, "9,999,999 Bytes"), "********* Bytes");
    EXPECT_EQ(store::transformPicture(NAN, "@E 9.99"), "****");
}

TEST(Picture, FunctionLetters) {
    EXPECT_EQ(store::transformPicture(0, "@Z 999"), "   ");
    EXPECT_EQ(store::transformPicture(0.001, "@EZ 9.99"), "    ");
    EXPECT_EQ(store::transformPicture(3, "@EZ 9.99"), "3,00");
    EXPECT_EQ(store::transformPicture(12, "@B 9999"), "12  ");
    EXPECT_EQ(store::transformPicture(2.5, "@E"), "2,5");
    EXPECT_EQ(store::transformPicture(2.5, ""), "2.5");
}

// ---- dates and clock ----

TEST(Calendar, JulianDaysOfKnownDates) {
    EXPECT_EQ(store::julianDay(2000, 1, 1), 2451545);
    EXPECT_EQ(store::julianDay(1970, 1, 1), 2440588);
    EXPECT_EQ(store::julianDay(1900, 3, 1) - store::julianDay(1900, 2, 28), 1); // 1900 has no 29th February
    EXPECT_EQ(store::julianDay(2000, 3, 1) - store::julianDay(2000, 2, 28), 2);
    EXPECT_EQ(store::civilFromJulian(2451545), (store::CivilDate{2000, 1, 1}));
}

TEST(Calendar, EveryDayOfTwoCenturiesFollowsItsPredecessor) {
    const std::int32_t first = store::julianDay(1899, 12, 31);
    const std::int32_t last = store::julianDay(2100, 3, 1);
    store::CivilDate prev = store::civilFromJulian(first);
    for (std::int32_t jd = first + 1; jd <= last; ++jd) {
        const store::CivilDate c = store::civilFromJulian(jd);
        ASSERT_TRUE(store::isValidDate(c.year, c.month, c.day)) << jd;
        ASSERT_EQ(store::julianDay(c.year, c.month, c.day), jd);
        const bool nextDay = c.year == prev.year && c.month == prev.month && c.day == prev.day + 1;
        const bool nextMonth = c.year == prev.year && c.month == prev.month + 1 && c.day == 1;
        const bool nextYear =
            c.year == prev.year + 1 && c.month == 1 && c.day == 1 && prev.month == 12 && prev.day == 31;
        ASSERT_TRUE(nextDay || nextMonth || nextYear) << c.day << '.' << c.month << '.' << c.year;
        prev = c;
    }
}

TEST(Calendar, ValidDates) {
    EXPECT_TRUE(store::isValidDate(2024, 2, 29));
    EXPECT_TRUE(store::isValidDate(2000, 2, 29));
    EXPECT_FALSE(store::isValidDate(1900, 2, 29));
    EXPECT_FALSE(store::isValidDate(2023, 2, 29));
    EXPECT_FALSE(store::isValidDate(2024, 4, 31));
    EXPECT_FALSE(store::isValidDate(2024, 13, 1));
    EXPECT_FALSE(store::isValidDate(2024, 0, 1));
}

TEST(DateText, FormatsWithCenturyAndBlankDate) {
    EXPECT_EQ(store::formatDate(store::julianDay(2024, 3, 5)), "05.03.2024");
    EXPECT_EQ(store::formatDate(store::julianDay(1999, 12, 31)), "31.12.1999");
    EXPECT_EQ(store::formatDate(0), "  .  .    ");
}

TEST(DateText, ParsesWhatTheDateFieldHolds) {
    const std::int32_t d = store::julianDay(2024, 3, 5);
    EXPECT_EQ(store::parseDate("05.03.2024"), d);
    EXPECT_EQ(store::parseDate("5.3.2024"), d);
    EXPECT_EQ(store::parseDate(" 5. 3.2024"), d);
    EXPECT_EQ(store::parseDate("29.02.2024"), store::julianDay(2024, 2, 29));
    EXPECT_EQ(store::parseDate("  .  .    "), 0);
    EXPECT_EQ(store::parseDate(""), 0);
    for (std::int32_t jd : {store::julianDay(1900, 1, 1), d, store::julianDay(2099, 12, 31)})
        EXPECT_EQ(store::parseDate(store::formatDate(jd)), jd);
}

TEST(DateText, RejectsDatesThatDoNotExistAndOtherText) {
    for (const char* text : {"31.02.2024", "29.02.2023", "00.01.2024", "01.13.2024", "05.03.24", "05.03.20245",
                             "5-3-2024", "05.03.2024x", "aa.bb.cccc", "05.03.", "05032024", "1.2.3.2024", "  .03.2024"})
        EXPECT_FALSE(store::parseDate(text).has_value()) << text;
}

TEST(Clock, SecondsSinceMidnightWithHundredths) {
    EXPECT_EQ(store::secondsSinceMidnight(0, 0, 0, 0), 0.0);
    EXPECT_EQ(store::secondsSinceMidnight(12, 34, 56, 120), 45296.12);
    EXPECT_EQ(store::secondsSinceMidnight(12, 34, 56, 129), 45296.12); // hundredths, not rounded up
    EXPECT_EQ(store::secondsSinceMidnight(23, 59, 59, 999), 86399.99);

    const double now = store::secondsSinceMidnight();
    EXPECT_GE(now, 0.0);
    EXPECT_LT(now, 86400.0);
    EXPECT_NEAR(now * 100, std::round(now * 100), 1e-6);
}

TEST(Clock, TimeAndDateTexts) {
    EXPECT_EQ(store::timeText(7, 5, 3), "07:05:03");
    EXPECT_EQ(store::timeText(23, 59, 0), "23:59:00");
    const std::string now = store::timeText();
    ASSERT_EQ(now.size(), 8u);
    EXPECT_EQ(now[2], ':');
    EXPECT_EQ(now[5], ':');
    EXPECT_LT(std::stoi(now.substr(0, 2)), 24);
    EXPECT_GT(store::today(), store::julianDay(2024, 1, 1));
    EXPECT_EQ(store::parseDate(store::formatDate(store::today())), store::today());
}

} // namespace
