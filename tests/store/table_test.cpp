#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "crash_support.h"
#include "store/calendar.h"
#include "store/table.h"
#include "support/testdir.h"
#include "table_support.h"

namespace {

using lwtest::ErrorLog;
using lwtest::field;
using lwtest::readFile;
using lwtest::TempDir;
using lwtest::writeFile;
using store::FieldType;
using store::Table;
using store::Value;

std::vector<store::FieldDef> mixedFields() {
    return {field("name", FieldType::Character, 12),
            field("QTY", FieldType::Numeric, 7, 2),
            field("CNT", FieldType::Numeric, 4),
            field("OK", FieldType::Logical),
            field("WHEN", FieldType::Date),
            field("NOTE", FieldType::Memo),
            field("PIC", FieldType::Memo)};
}

// Three records: "alpha" (memo text), "beta" (deleted, a binary memo), "gamma" (no memos).
void fillThree(Table& t) {
    ASSERT_TRUE(t.appendBlank());
    ASSERT_TRUE(t.replace(0, Value::text("alpha")));
    ASSERT_TRUE(t.replace(1, Value::number(12.5)));
    ASSERT_TRUE(t.replaceMemo(5, "first note", false));
    ASSERT_TRUE(t.appendBlank());
    ASSERT_TRUE(t.replace(0, Value::text("beta")));
    ASSERT_TRUE(t.replaceMemo(6, lwtest::bitmapLikeBytes(300), true));
    ASSERT_TRUE(t.deleteRecord());
    ASSERT_TRUE(t.appendBlank());
    ASSERT_TRUE(t.replace(0, Value::text("gamma")));
}

std::filesystem::file_time_type mtime(const std::filesystem::path& p) {
    return std::filesystem::last_write_time(p);
}

// ---------------------------------------------------------------------------------------------------------------

TEST(DateTest, JulianDayNumbersOfKnownDatesAndTheirInverse) {
    EXPECT_EQ(store::julianDay(2000, 1, 1), 2451545);
    EXPECT_EQ(store::julianDay(1970, 1, 1), 2440588);
    EXPECT_EQ(store::julianDay(1582, 10, 15), 2299161);
    EXPECT_EQ(store::julianDay(2024, 3, 1) - store::julianDay(2024, 2, 28), 2); // leap year
    EXPECT_EQ(store::julianDay(2100, 3, 1) - store::julianDay(2100, 2, 28), 1); // century, not leap
    EXPECT_EQ(store::julianDay(2000, 3, 1) - store::julianDay(2000, 2, 28), 2); // 400-year leap
    for (std::int32_t jd = store::julianDay(1, 1, 1); jd <= store::julianDay(9999, 12, 31); jd += 997) {
        store::CivilDate d = store::civilFromJulian(jd);
        ASSERT_EQ(store::julianDay(d.year, d.month, d.day), jd);
    }
    EXPECT_EQ(store::civilFromJulian(store::julianDay(9999, 12, 31)), (store::CivilDate{9999, 12, 31}));
    EXPECT_EQ(store::civilFromJulian(store::julianDay(2024, 2, 29)), (store::CivilDate{2024, 2, 29}));
}

TEST(DateTest, ImpossibleDatesGiveTheBlankDate) {
    EXPECT_EQ(store::julianDay(2023, 2, 29), 0);
    EXPECT_EQ(store::julianDay(2024, 13, 1), 0);
    EXPECT_EQ(store::julianDay(2024, 4, 31), 0);
    EXPECT_EQ(store::julianDay(0, 1, 1), 0);
    EXPECT_EQ(store::civilFromJulian(0), store::CivilDate{});
    EXPECT_EQ(store::civilFromJulian(store::julianDay(1, 1, 1) - 1), store::CivilDate{});
}

// ---------------------------------------------------------------------------------------------------------------

TEST(TableCreate, WritesFoxProLayoutWithMemoFileNamedInTheSameCase) {
    TempDir dir;
    {
        ErrorLog log;
        auto t = Table::create(dir / "FRAGEN.DBF", mixedFields());
        ASSERT_TRUE(t);
        EXPECT_EQ(t->memoPath(), dir / "FRAGEN.FPT");
        EXPECT_EQ(t->version(), 0xF5);
        EXPECT_TRUE(t->isExclusive());
        EXPECT_EQ(t->fieldDef(0).name, "NAME"); // upper-cased
        EXPECT_EQ(t->fieldDef(3).length, 1);    // fixed lengths filled in
        EXPECT_EQ(t->fieldDef(5).length, 10);
        EXPECT_EQ(log.count(), 0u);
    }
    const std::string dbf = readFile(dir / "FRAGEN.DBF");
    const std::size_t hl = 32 + 32 * 7 + 1;
    const std::size_t rl = 1 + 12 + 7 + 4 + 1 + 8 + 10 + 10;
    ASSERT_EQ(dbf.size(), hl + 1);
    EXPECT_EQ(static_cast<unsigned char>(dbf[0]), 0xF5);
    EXPECT_EQ(lwtest::le32(dbf, 4), 0u);
    EXPECT_EQ(lwtest::le16(dbf, 8), hl);
    EXPECT_EQ(lwtest::le16(dbf, 10), rl);
    EXPECT_EQ(dbf[29], 0x03);
    EXPECT_EQ(dbf.substr(32, 5), std::string("NAME\0", 5));
    EXPECT_EQ(dbf[32 + 11], 'C');
    EXPECT_EQ(dbf[32 + 32 + 16], 7);
    EXPECT_EQ(dbf[32 + 32 + 17], 2);
    EXPECT_EQ(dbf[hl - 1], 0x0D);
    EXPECT_EQ(dbf[hl], 0x1A);
    const std::string fpt = readFile(dir / "FRAGEN.FPT");
    ASSERT_EQ(fpt.size(), 512u);
    EXPECT_EQ(lwtest::be32(fpt, 0), 8u); // first free block after a 512-byte header of 64-byte blocks
    EXPECT_EQ(static_cast<unsigned char>(fpt[6]) << 8 | static_cast<unsigned char>(fpt[7]), 64);

    auto lower = Table::create(dir / "x.dbf", mixedFields());
    ASSERT_TRUE(lower);
    EXPECT_EQ(lower->memoPath(), dir / "x.fpt");
    EXPECT_TRUE(std::filesystem::exists(dir / "x.fpt"));
    auto plain = Table::create(dir / "PLAIN.DBF", {field("A", FieldType::Character, 3)});
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->version(), 0x03);
    EXPECT_TRUE(plain->memoPath().empty());
    EXPECT_FALSE(std::filesystem::exists(dir / "PLAIN.FPT"));
}

TEST(TableCreate, RejectsBadFieldListsAndLeavesNoFile) {
    const std::vector<std::vector<store::FieldDef>> bad = {
        {},
        {field("ELEVENCHARS", FieldType::Character, 5)},
        {field("A", FieldType::Character, 5), field("a", FieldType::Numeric, 3)},
        {field("1ST", FieldType::Character, 5)},
        {field("WITH SPACE", FieldType::Character, 5)},
        {field("C0", FieldType::Character, 0)},
        {field("C255", FieldType::Character, 255)},
        {field("N21", FieldType::Numeric, 21)},
        {field("NDEC", FieldType::Numeric, 4, 4)},
        {field("NNEG", FieldType::Numeric, 4, -1)},
        {field("L2", FieldType::Logical, 2)},
        {field("D6", FieldType::Date, 6)},
        {field("M4", FieldType::Memo, 4)},
        {field("CDEC", FieldType::Character, 5, 1)},
    };
    TempDir dir;
    for (std::size_t i = 0; i < bad.size(); ++i) {
        ErrorLog log;
        EXPECT_FALSE(Table::create(dir / "BAD.DBF", bad[i])) << "case " << i;
        ASSERT_EQ(log.count(), 1u) << "case " << i;
        EXPECT_EQ(log.last().file, (dir / "BAD.DBF").string());
    }
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

TEST(TableCreate, ReplacesAnExistingTableOnlyWhenTheNewOneIsComplete) {
    TempDir dir;
    {
        auto t = Table::create(dir / "T.DBF", mixedFields());
        ASSERT_TRUE(t);
        fillThree(*t);
    }
    const std::string before = readFile(dir / "T.DBF");
    const std::string memoBefore = readFile(dir / "T.FPT");
    {
        ErrorLog log;
        EXPECT_FALSE(Table::create(dir / "T.DBF", {field("TOOLONGNAME1", FieldType::Character, 3)}));
        EXPECT_EQ(readFile(dir / "T.DBF"), before);
        EXPECT_EQ(readFile(dir / "T.FPT"), memoBefore);
    }
    {
        auto open = Table::open(dir / "T.DBF");
        ASSERT_TRUE(open);
        ErrorLog log;
        EXPECT_FALSE(Table::create(dir / "T.DBF", mixedFields())) << "an open table must not be replaced";
        ASSERT_EQ(log.count(), 1u);
        EXPECT_NE(log.last().message.find("gesperrt"), std::string::npos);
    }
    EXPECT_EQ(readFile(dir / "T.DBF"), before);
    {
        auto t = Table::create(dir / "T.DBF", {field("ONLY", FieldType::Character, 3)});
        ASSERT_TRUE(t);
        EXPECT_EQ(t->recCount(), 0u);
    }
    EXPECT_FALSE(std::filesystem::exists(dir / "T.FPT")) << "the replaced table's memo file is stale";
    for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
        EXPECT_EQ(entry.path().filename().string().find(".tmp"), std::string::npos) << entry.path();
}

// ---------------------------------------------------------------------------------------------------------------

TEST(TableValues, EveryTypeReadsBackAfterReopen) {
    TempDir dir;
    const std::int32_t leapDay = store::julianDay(2024, 2, 29);
    {
        auto t = Table::create(dir / "V.DBF", mixedFields());
        ASSERT_TRUE(t);
        ASSERT_TRUE(t->appendBlank());
        EXPECT_TRUE(t->replace(0, Value::text("Ölwechsel")));
        EXPECT_TRUE(t->replace(1, Value::number(-0.25)));
        EXPECT_TRUE(t->replace(2, Value::number(42)));
        EXPECT_TRUE(t->replace(3, Value::logical(true)));
        EXPECT_TRUE(t->replace(4, Value::date(leapDay)));
        EXPECT_TRUE(t->replace(5, Value::text("Zeile 1\r\nZeile 2")));
        ASSERT_TRUE(t->appendBlank());
        EXPECT_TRUE(t->replace(0, Value::text("a text longer than twelve")));
        EXPECT_TRUE(t->replace(1, Value::number(1234.567))); // rounds to two decimals
        EXPECT_TRUE(t->replace(3, Value::logical(false)));
        ASSERT_TRUE(t->appendBlank()); // stays blank
    }
    ErrorLog log;
    auto t = Table::open(dir / "V.DBF");
    ASSERT_TRUE(t);
    ASSERT_EQ(t->recCount(), 3u);
    ASSERT_TRUE(t->goTo(1));
    EXPECT_EQ(t->fieldValue(0), Value::text("Ölwechsel" + std::string(12 - std::string("Ölwechsel").size(), ' ')));
    EXPECT_EQ(t->rawField(1), "  -0.25");
    EXPECT_EQ(t->fieldValue(1), Value::number(-0.25));
    EXPECT_EQ(t->rawField(2), "  42");
    EXPECT_EQ(t->fieldValue(3), Value::logical(true));
    EXPECT_EQ(t->rawField(4), "20240229");
    EXPECT_EQ(t->fieldValue(4), Value::date(leapDay));
    EXPECT_EQ(t->fieldValue(5), Value::text("Zeile 1\r\nZeile 2"));
    EXPECT_EQ(t->memo(6), "");
    ASSERT_TRUE(t->goTo(2));
    EXPECT_EQ(t->rawField(0), "a text longe");
    EXPECT_EQ(t->rawField(1), "1234.57");
    EXPECT_EQ(t->rawField(3), "F");
    ASSERT_TRUE(t->goTo(3));
    EXPECT_EQ(t->fieldValue(0), Value::text(std::string(12, ' ')));
    EXPECT_EQ(t->fieldValue(1), Value::number(0));
    EXPECT_EQ(t->fieldValue(3), Value::logical(false));
    EXPECT_EQ(t->fieldValue(4), Value::date(0));
    EXPECT_EQ(t->rawField(5), std::string(10, ' '));
    EXPECT_EQ(t->fieldIndex("when"), 4);
    EXPECT_EQ(t->fieldIndex("missing"), -1);
    EXPECT_EQ(log.count(), 0u);
}

TEST(TableValues, NumericEdgeCasesOverflowAndTypeMismatch) {
    TempDir dir;
    auto t = Table::create(dir / "N.DBF", {field("N3", FieldType::Numeric, 3), field("N52", FieldType::Numeric, 5, 2),
                                           field("C", FieldType::Character, 4), field("L", FieldType::Logical),
                                           field("D", FieldType::Date)});
    ASSERT_TRUE(t);
    ASSERT_TRUE(t->appendBlank());
    ErrorLog log;
    EXPECT_TRUE(t->replace(0, Value::number(-0.4))); // rounds to zero: no "-0"
    EXPECT_EQ(t->rawField(0), "  0");
    EXPECT_TRUE(t->replace(0, Value::number(999)));
    EXPECT_EQ(t->rawField(0), "999");
    EXPECT_EQ(log.count(), 0u);

    EXPECT_FALSE(t->replace(0, Value::number(1000)));
    EXPECT_EQ(t->rawField(0), "***");
    EXPECT_EQ(t->fieldValue(0), Value::number(0)); // stars read as 0
    EXPECT_FALSE(t->replace(1, Value::number(-99.999)));
    EXPECT_EQ(t->rawField(1), "*****");
    ASSERT_EQ(log.count(), 2u);
    EXPECT_EQ(log.last().file, (dir / "N.DBF").string());

    log.clear();
    EXPECT_TRUE(t->replace(2, Value::text("ab")));
    EXPECT_FALSE(t->replace(2, Value::number(1)));
    EXPECT_FALSE(t->replace(0, Value::text("12")));
    EXPECT_FALSE(t->replace(3, Value::number(1)));
    EXPECT_FALSE(t->replace(4, Value::text("20240101")));
    EXPECT_FALSE(t->replace(9, Value::text("x")));
    EXPECT_EQ(log.count(), 5u);
    EXPECT_EQ(t->rawField(2), "ab  ");
    EXPECT_EQ(t->rawField(3), " ");
    EXPECT_EQ(t->rawField(4), "        ");

    // A date field: blank again with the blank date; dates outside 1..9999 do not fit.
    EXPECT_TRUE(t->replace(4, Value::date(store::julianDay(1999, 12, 31))));
    EXPECT_TRUE(t->replace(4, Value::date(0)));
    EXPECT_EQ(t->rawField(4), "        ");
    log.clear();
    EXPECT_FALSE(t->replace(4, Value::date(store::julianDay(9999, 12, 31) + 1)));
    EXPECT_EQ(log.count(), 1u);
}

TEST(TableValues, ReadingToleratesForeignSpellings) {
    TempDir dir;
    {
        auto t = Table::create(dir / "F.DBF", {field("N", FieldType::Numeric, 6, 1), field("L", FieldType::Logical),
                                               field("D", FieldType::Date)});
        ASSERT_TRUE(t);
        for (int i = 0; i < 6; ++i)
            ASSERT_TRUE(t->appendBlank());
    }
    // Patch the records by hand with what other programs write.
    std::string bytes = readFile(dir / "F.DBF");
    const std::size_t hl = 32 + 3 * 32 + 1, rl = 1 + 6 + 1 + 8;
    const char* numbers[] = {"  -1.5", "+2.0  ", "**** ", "   .5 ", "abc   ", "    7."};
    const char logicals[] = {'t', 'y', 'Y', 'N', '?', 'f'};
    const char* dates[] = {"19991231", "2024 2 1", "20241301", "        ", "00000000", "20000229"};
    for (std::size_t r = 0; r < 6; ++r) {
        bytes.replace(hl + r * rl + 1, 6, numbers[r]);
        bytes[hl + r * rl + 7] = logicals[r];
        bytes.replace(hl + r * rl + 8, 8, dates[r]);
    }
    writeFile(dir / "F.DBF", bytes);
    auto t = Table::open(dir / "F.DBF");
    ASSERT_TRUE(t);
    const double n[] = {-1.5, 2.0, 0, 0.5, 0, 7};
    const bool l[] = {true, true, true, false, false, false};
    const std::int32_t d[] = {store::julianDay(1999, 12, 31), 0, 0, 0, 0, store::julianDay(2000, 2, 29)};
    for (std::uint32_t r = 1; r <= 6; ++r) {
        ASSERT_TRUE(t->goTo(r));
        EXPECT_EQ(t->fieldValue(0), Value::number(n[r - 1])) << r;
        EXPECT_EQ(t->fieldValue(1), Value::logical(l[r - 1])) << r;
        EXPECT_EQ(t->fieldValue(2), Value::date(d[r - 1])) << r;
    }
}

// ---------------------------------------------------------------------------------------------------------------

TEST(TableCursor, PositionsPastTheEndShowABlankRecordAndRefuseWrites) {
    TempDir dir;
    auto t = Table::create(dir / "C.DBF", mixedFields());
    ASSERT_TRUE(t);
    EXPECT_EQ(t->recCount(), 0u);
    EXPECT_EQ(t->recNo(), 1u);
    EXPECT_TRUE(t->eof());
    fillThree(*t);
    EXPECT_EQ(t->recNo(), 3u);
    EXPECT_FALSE(t->goTo(0));
    EXPECT_EQ(t->recNo(), 4u);
    EXPECT_FALSE(t->goTo(99));
    EXPECT_EQ(t->recNo(), 4u);
    EXPECT_EQ(t->rawField(0), std::string(12, ' '));
    EXPECT_FALSE(t->isDeleted());
    EXPECT_EQ(t->memo(5), "");
    ErrorLog log;
    EXPECT_FALSE(t->replace(0, Value::text("x")));
    EXPECT_FALSE(t->deleteRecord());
    EXPECT_FALSE(t->replaceMemo(5, "x", false));
    EXPECT_EQ(log.count(), 3u);
    ASSERT_TRUE(t->goTo(2));
    EXPECT_TRUE(t->isDeleted());
    EXPECT_TRUE(t->recall());
    EXPECT_FALSE(t->isDeleted());
    ASSERT_TRUE(t->goTo(1));
    EXPECT_TRUE(t->blankRecord());
    EXPECT_EQ(t->rawField(0), std::string(12, ' '));
    EXPECT_EQ(t->memo(5), "");
    EXPECT_FALSE(t->replaceMemo(0, "not a memo field", false));
}

TEST(TableCursor, ChangesReachTheFileOnMoveFlushCloseAndDestruction) {
    TempDir dir;
    const auto path = dir / "W.DBF";
    const std::size_t hl = 32 + 32 + 1, rl = 5;
    {
        auto t = Table::create(path, {field("CNT", FieldType::Numeric, 4)});
        ASSERT_TRUE(t);
        for (int i = 0; i < 3; ++i)
            ASSERT_TRUE(t->appendBlank());
        ASSERT_TRUE(t->goTo(2));
        ASSERT_TRUE(t->replace(0, Value::number(7)));
        ASSERT_TRUE(t->goTo(1)); // leaving record 2 writes it
        EXPECT_EQ(readFile(path).substr(hl + rl, rl), "    7");
        ASSERT_TRUE(t->replace(0, Value::number(5)));
        ASSERT_TRUE(t->flush());
        std::string bytes = readFile(path);
        EXPECT_EQ(bytes.substr(hl, rl), "    5");
        EXPECT_EQ(lwtest::le32(bytes, 4), 3u);
        EXPECT_EQ(bytes.size(), hl + 3 * rl + 1);
        EXPECT_EQ(bytes.back(), 0x1A);
        ASSERT_TRUE(t->goTo(3));
        ASSERT_TRUE(t->replace(0, Value::number(9))); // only the destructor writes this one
    }
    std::string bytes = readFile(path);
    EXPECT_EQ(bytes.substr(hl + 2 * rl, rl), "    9");
    EXPECT_EQ(bytes.back(), 0x1A);

    auto t = Table::open(path);
    ASSERT_TRUE(t);
    ASSERT_TRUE(t->goTo(1));
    ASSERT_TRUE(t->replace(0, Value::number(1)));
    ASSERT_TRUE(t->close());
    EXPECT_EQ(readFile(path).substr(hl, rl), "    1");
    EXPECT_FALSE(t->isOpen());
    ErrorLog log;
    EXPECT_FALSE(t->appendBlank()) << "a closed table takes no writes";
    EXPECT_EQ(log.count(), 1u);
    EXPECT_EQ(readFile(path), bytes.replace(hl, rl, "    1"));
}

// ---------------------------------------------------------------------------------------------------------------

TEST(TableMemo, TextAndBinaryMemosOfManySizesRoundTrip) {
    const std::size_t sizes[] = {0, 1, 55, 56, 57, 64, 5000, 300000};
    TempDir dir;
    auto textOf = [](std::size_t n) {
        std::string s(n, 'x');
        for (std::size_t i = 0; i < n; ++i)
            s[i] = static_cast<char>('a' + i % 26);
        if (n > 3) s.replace(n / 2, 2, "\r\n");
        return s;
    };
    {
        auto t = Table::create(dir / "M.DBF", mixedFields());
        ASSERT_TRUE(t);
        for (std::size_t n : sizes) {
            ASSERT_TRUE(t->appendBlank());
            ASSERT_TRUE(t->replaceMemo(5, textOf(n), false));
            ASSERT_TRUE(t->replaceMemo(6, lwtest::bitmapLikeBytes(n), true));
        }
    }
    // Each memo occupies whole 64-byte blocks: 8 header bytes plus the data, rounded up.
    std::size_t blocks = 0;
    for (std::size_t n : sizes)
        blocks += n == 0 ? 0 : 2 * ((8 + n + 63) / 64);
    const std::string fpt = readFile(dir / "M.FPT");
    EXPECT_EQ(fpt.size(), 512 + 64 * blocks);
    EXPECT_EQ(lwtest::be32(fpt, 0), 8 + blocks);

    ErrorLog log;
    auto t = Table::open(dir / "M.DBF");
    ASSERT_TRUE(t);
    for (std::uint32_t r = 1; r <= std::size(sizes); ++r) {
        ASSERT_TRUE(t->goTo(r));
        const std::size_t n = sizes[r - 1];
        EXPECT_EQ(t->memo(5), textOf(n)) << n;
        EXPECT_EQ(t->memo(6), lwtest::bitmapLikeBytes(n)) << n;
        EXPECT_EQ(t->fieldValue(5), Value::text(textOf(n)));
        if (n == 0) {
            EXPECT_EQ(t->rawField(5), std::string(10, ' ')) << "an empty memo takes no block";
        } else {
            const std::uint32_t block = std::stoul(std::string(t->rawField(6)));
            EXPECT_EQ(lwtest::be32(fpt, block * 64), 0u) << "binary memos are block type 0";
            const std::uint32_t textBlock = std::stoul(std::string(t->rawField(5)));
            EXPECT_EQ(lwtest::be32(fpt, textBlock * 64), 1u);
            EXPECT_EQ(lwtest::be32(fpt, textBlock * 64 + 4), n);
        }
    }
    EXPECT_EQ(log.count(), 0u);
}

TEST(TableMemo, AWholeBitmapRoundTripsByteForByte) {
    TempDir dir;
    const std::string bmp = lwtest::bitmapLikeBytes(54 + 3 * 120 * 90);
    {
        auto t = Table::create(dir / "FRAGEN.DBF", mixedFields());
        ASSERT_TRUE(t);
        ASSERT_TRUE(t->appendBlank());
        ASSERT_TRUE(t->replaceMemo(6, bmp, true));
    }
    auto t = Table::open(dir / "FRAGEN.DBF", Table::Mode::SharedRead);
    ASSERT_TRUE(t);
    ASSERT_TRUE(t->goTo(1));
    const std::string back = t->memo(6);
    ASSERT_EQ(back.size(), bmp.size());
    EXPECT_TRUE(back == bmp);
}

TEST(TableMemo, ReplacingReusesTheOldBlocksWhenTheValueFits) {
    TempDir dir;
    auto t = Table::create(dir / "R.DBF", mixedFields());
    ASSERT_TRUE(t);
    ASSERT_TRUE(t->appendBlank());
    ASSERT_TRUE(t->replaceMemo(5, std::string(100, 'a'), false)); // 2 blocks
    ASSERT_TRUE(t->appendBlank());
    ASSERT_TRUE(t->replaceMemo(5, std::string(10, 'b'), false)); // 1 block, the last memo
    ASSERT_TRUE(t->goTo(1));
    const std::string first(t->rawField(5));
    const auto size = std::filesystem::file_size(dir / "R.FPT");

    ASSERT_TRUE(t->replaceMemo(5, std::string(120, 'c'), false)); // 128 bytes: still 2 blocks
    EXPECT_EQ(t->rawField(5), first);
    EXPECT_EQ(std::filesystem::file_size(dir / "R.FPT"), size);
    EXPECT_EQ(t->memo(5), std::string(120, 'c'));

    ASSERT_TRUE(t->replaceMemo(5, std::string(121, 'd'), false)); // 3 blocks: goes to the end
    EXPECT_NE(t->rawField(5), first);
    EXPECT_EQ(std::filesystem::file_size(dir / "R.FPT"), size + 3 * 64);
    EXPECT_EQ(t->memo(5), std::string(121, 'd'));

    // The last memo of the file grows where it is.
    const std::string last(t->rawField(5));
    ASSERT_TRUE(t->replaceMemo(5, std::string(300, 'e'), false));
    EXPECT_EQ(t->rawField(5), last);
    EXPECT_EQ(std::filesystem::file_size(dir / "R.FPT"), size + 5 * 64);

    ASSERT_TRUE(t->goTo(2));
    EXPECT_EQ(t->memo(5), std::string(10, 'b')) << "neighbours stay intact";
    ASSERT_TRUE(t->replace(5, Value::text(""))); // empty: blank pointer
    EXPECT_EQ(t->rawField(5), std::string(10, ' '));
    EXPECT_EQ(t->memo(5), "");
    ASSERT_TRUE(t->replace(5, Value::text("via replace")));
    EXPECT_EQ(t->fieldValue(5), Value::text("via replace"));
}

// Memos rewritten in place, moved to the end, emptied, deleted with their records and packed: every record keeps
// exactly its own memos, before and after reopening.
TEST(TableMemo, RandomRewritesDeletesAndPacksKeepEveryRecordsMemos) {
    TempDir dir;
    ErrorLog log;
    for (unsigned seed = 1; seed <= 8; ++seed) {
        SCOPED_TRACE(seed);
        std::mt19937 rng(seed);
        const auto path = dir / (std::string("M").append(std::to_string(seed)).append(".DBF"));
        auto t = Table::create(path, {field("K", FieldType::Character, 4), field("A", FieldType::Memo, 10),
                                      field("B", FieldType::Memo, 10)});
        ASSERT_TRUE(t);
        std::vector<std::array<std::string, 2>> memos;
        std::vector<bool> deleted;
        auto check = [&](Table& table) {
            ASSERT_EQ(table.recCount(), memos.size());
            for (std::uint32_t r = 1; r <= memos.size(); ++r) {
                table.goTo(r);
                ASSERT_EQ(table.memo(1), memos[r - 1][0]) << "record " << r;
                ASSERT_EQ(table.memo(2), memos[r - 1][1]) << "record " << r;
            }
        };
        for (int step = 0; step < 300; ++step) {
            const unsigned op = rng() % 6;
            if (op == 0 || memos.empty()) {
                ASSERT_TRUE(t->appendBlank());
                memos.push_back({});
                deleted.push_back(false);
            }
            const auto r = static_cast<std::uint32_t>(1 + rng() % memos.size());
            t->goTo(r);
            if (op <= 3) {
                const int f = 1 + static_cast<int>(rng() % 2);
                std::string bytes(rng() % 4 == 0 ? 0 : rng() % 300, '\0');
                for (char& c : bytes)
                    c = static_cast<char>(rng() % 256);
                ASSERT_TRUE(t->replaceMemo(f, bytes, rng() % 2 == 0));
                memos[r - 1][static_cast<std::size_t>(f - 1)] = bytes;
            } else if (op == 4) {
                ASSERT_TRUE(t->deleteRecord());
                deleted[r - 1] = true;
            } else if (rng() % 8 == 0) {
                ASSERT_TRUE(t->pack());
                std::vector<std::array<std::string, 2>> live;
                for (std::size_t i = 0; i < memos.size(); ++i)
                    if (!deleted[i])
                        live.push_back(memos[i]);
                memos = live;
                deleted.assign(memos.size(), false);
            }
            if (step % 60 == 59)
                check(*t);
        }
        ASSERT_TRUE(t->close());
        t = Table::open(path);
        ASSERT_TRUE(t);
        check(*t);
    }
    EXPECT_EQ(log.count(), 0u);
}

// ---------------------------------------------------------------------------------------------------------------

TEST(TablePackZap, PackDropsDeletedRecordsAndCompactsTheMemoFile) {
    TempDir dir;
    const std::string picture = lwtest::bitmapLikeBytes(5000);
    {
        auto t = Table::create(dir / "P.DBF", mixedFields());
        ASSERT_TRUE(t);
        for (int i = 1; i <= 6; ++i) {
            ASSERT_TRUE(t->appendBlank());
            ASSERT_TRUE(t->replace(2, Value::number(i)));
            ASSERT_TRUE(t->replaceMemo(5, "note " + std::to_string(i) + std::string(200, '.'), false));
            ASSERT_TRUE(t->replaceMemo(6, i % 2 ? picture : std::string(), true));
            if (i % 3 == 0) {
                ASSERT_TRUE(t->deleteRecord()); // records 3 and 6
            }
        }
        ASSERT_TRUE(t->goTo(1));
        ASSERT_TRUE(t->replaceMemo(5, std::string(1000, 'g'), false)); // leaves garbage behind
    }
    const auto sizeBefore = std::filesystem::file_size(dir / "P.FPT");
    ErrorLog log;
    auto t = Table::open(dir / "P.DBF");
    ASSERT_TRUE(t);
    ASSERT_TRUE(t->pack());
    EXPECT_EQ(t->recCount(), 4u);
    EXPECT_EQ(t->recNo(), 1u);
    const int expected[] = {1, 2, 4, 5};
    for (std::uint32_t r = 1; r <= 4; ++r) {
        ASSERT_TRUE(t->goTo(r));
        const int i = expected[r - 1];
        EXPECT_EQ(t->fieldValue(2), Value::number(i));
        EXPECT_FALSE(t->isDeleted());
        EXPECT_EQ(t->memo(5), i == 1 ? std::string(1000, 'g') : "note " + std::to_string(i) + std::string(200, '.'));
        EXPECT_EQ(t->memo(6), i % 2 ? picture : std::string());
    }
    // Live memos only: 1000 g's (16 blocks), three notes (4 blocks each), pictures of records 1 and 5 (79 each).
    const auto sizeAfter = std::filesystem::file_size(dir / "P.FPT");
    EXPECT_EQ(sizeAfter, 512u + 64u * (16 + 3 * 4 + 2 * 79));
    EXPECT_LT(sizeAfter, sizeBefore);
    EXPECT_EQ(std::filesystem::file_size(dir / "P.DBF"), t->headerLength() + 4u * t->recordLength() + 1);
    t.reset();

    t = Table::open(dir / "P.DBF");
    ASSERT_TRUE(t);
    ASSERT_EQ(t->recCount(), 4u);
    ASSERT_TRUE(t->goTo(4));
    EXPECT_EQ(t->memo(6), picture);
    EXPECT_EQ(log.count(), 0u);
    // The packed table carries on: appends and memos after the pack land behind the live data.
    ASSERT_TRUE(t->appendBlank());
    ASSERT_TRUE(t->replaceMemo(5, "after pack", false));
    ASSERT_TRUE(t->goTo(1));
    EXPECT_EQ(t->memo(5), std::string(1000, 'g'));
    ASSERT_TRUE(t->goTo(5));
    EXPECT_EQ(t->memo(5), "after pack");
}

TEST(TablePackZap, ZapEmptiesTableAndMemoFile) {
    TempDir dir;
    auto t = Table::create(dir / "Z.DBF", mixedFields());
    ASSERT_TRUE(t);
    fillThree(*t);
    ASSERT_TRUE(t->zap());
    EXPECT_EQ(t->recCount(), 0u);
    EXPECT_TRUE(t->eof());
    EXPECT_EQ(std::filesystem::file_size(dir / "Z.DBF"), t->headerLength() + 1u);
    EXPECT_EQ(std::filesystem::file_size(dir / "Z.FPT"), 512u);
    ASSERT_TRUE(t->appendBlank());
    ASSERT_TRUE(t->replaceMemo(5, "fresh", false));
    EXPECT_EQ(t->rawField(5), "         8") << "memos start again after the header";
    t.reset();
    t = Table::open(dir / "Z.DBF");
    ASSERT_TRUE(t);
    ASSERT_EQ(t->recCount(), 1u);
    EXPECT_EQ(t->memo(5), "fresh");
}

// ---------------------------------------------------------------------------------------------------------------

TEST(TableCopy, AppendFromMatchesFieldsByNameAndConvertsTypes) {
    TempDir dir;
    auto source = Table::create(dir / "SRC.DBF", mixedFields());
    ASSERT_TRUE(source);
    fillThree(*source);
    ASSERT_TRUE(source->goTo(3));
    ASSERT_TRUE(source->replace(2, Value::number(123)));
    ASSERT_TRUE(source->replace(4, Value::date(store::julianDay(2023, 5, 17))));
    ASSERT_TRUE(source->replace(3, Value::logical(true)));
    ASSERT_TRUE(source->goTo(2));

    // Other order, other widths, other types; EXTRA has no source, OK and WHEN arrive as text.
    auto target =
        Table::create(dir / "DST.DBF", {field("PIC", FieldType::Memo), field("EXTRA", FieldType::Character, 3),
                                        field("CNT", FieldType::Character, 6), field("QTY", FieldType::Numeric, 5, 1),
                                        field("NAME", FieldType::Character, 3), field("WHEN", FieldType::Character, 8),
                                        field("OK", FieldType::Character, 1), field("NOTE", FieldType::Character, 20)});
    ASSERT_TRUE(target);
    ErrorLog log;
    ASSERT_TRUE(target->appendFrom(*source));
    EXPECT_EQ(log.count(), 0u);
    EXPECT_EQ(source->recNo(), 2u) << "the source keeps its position";
    ASSERT_EQ(target->recCount(), 3u);
    ASSERT_TRUE(target->goTo(1));
    EXPECT_EQ(target->rawField(4), "alp");
    EXPECT_EQ(target->rawField(3), " 12.5");
    EXPECT_EQ(target->rawField(1), "   ");
    EXPECT_EQ(target->rawField(7), "first note          ");
    EXPECT_FALSE(target->isDeleted());
    ASSERT_TRUE(target->goTo(2));
    EXPECT_TRUE(target->isDeleted()) << "deletion marks travel with the records";
    EXPECT_EQ(target->memo(0), lwtest::bitmapLikeBytes(300));
    ASSERT_TRUE(target->goTo(3));
    EXPECT_EQ(target->rawField(2), "123   ");
    EXPECT_EQ(target->rawField(5), "20230517");
    EXPECT_EQ(target->rawField(6), "T");
    EXPECT_EQ(target->memo(0), "");

    // Back the other way: text becomes number, date and logical again.
    auto back = Table::create(dir / "BACK.DBF", mixedFields());
    ASSERT_TRUE(back);
    ASSERT_TRUE(back->appendFrom(*target));
    ASSERT_TRUE(back->goTo(3));
    EXPECT_EQ(back->fieldValue(2), Value::number(123));
    EXPECT_EQ(back->fieldValue(4), Value::date(store::julianDay(2023, 5, 17)));
    EXPECT_EQ(back->fieldValue(3), Value::logical(true));
    EXPECT_EQ(back->memo(5), "");
    ASSERT_TRUE(back->goTo(1));
    EXPECT_EQ(back->memo(5), "first note");
}

TEST(TableCopy, AppendFromItselfDoublesAndCopyStructureGivesAnEmptyTwin) {
    TempDir dir;
    auto t = Table::create(dir / "S.DBF", mixedFields());
    ASSERT_TRUE(t);
    fillThree(*t);
    ASSERT_TRUE(t->appendFrom(*t));
    ASSERT_EQ(t->recCount(), 6u);
    ASSERT_TRUE(t->goTo(5));
    EXPECT_EQ(t->memo(6), lwtest::bitmapLikeBytes(300));
    ASSERT_TRUE(t->goTo(4));
    EXPECT_EQ(t->memo(5), "first note");
    ASSERT_TRUE(t->replaceMemo(5, "changed copy", false));
    ASSERT_TRUE(t->goTo(1));
    EXPECT_EQ(t->memo(5), "first note") << "copies own their memos";

    ASSERT_TRUE(t->copyStructure(dir / "EMPTY.DBF"));
    auto twin = Table::open(dir / "EMPTY.DBF");
    ASSERT_TRUE(twin);
    EXPECT_EQ(twin->recCount(), 0u);
    ASSERT_EQ(twin->fieldCount(), t->fieldCount());
    for (int i = 0; i < t->fieldCount(); ++i) {
        EXPECT_EQ(twin->fieldDef(i).name, t->fieldDef(i).name);
        EXPECT_EQ(twin->fieldDef(i).type, t->fieldDef(i).type);
        EXPECT_EQ(twin->fieldDef(i).length, t->fieldDef(i).length);
        EXPECT_EQ(twin->fieldDef(i).decimals, t->fieldDef(i).decimals);
    }
    EXPECT_TRUE(std::filesystem::exists(dir / "EMPTY.FPT"));
}

// ---------------------------------------------------------------------------------------------------------------

struct RecordingObserver : store::TableObserver {
    std::vector<std::uint32_t> changed;
    int resets = 0;
    void recordChanged(Table&, std::uint32_t recno) override { changed.push_back(recno); }
    void tableReset(Table&) override { ++resets; }
};

TEST(TableObservers, HearEveryRecordChangeAndEveryReset) {
    TempDir dir;
    auto t = Table::create(dir / "O.DBF", mixedFields());
    ASSERT_TRUE(t);
    RecordingObserver seen;
    t->addObserver(&seen);
    t->addObserver(&seen); // once is enough
    ASSERT_TRUE(t->appendBlank());
    ASSERT_TRUE(t->replace(0, Value::text("x")));
    ASSERT_TRUE(t->replaceMemo(5, "m", false));
    ASSERT_TRUE(t->appendBlank());
    ASSERT_TRUE(t->deleteRecord());
    ASSERT_TRUE(t->goTo(1));
    ASSERT_TRUE(t->blankRecord());
    ASSERT_TRUE(t->goTo(2));
    ASSERT_TRUE(t->recall());
    EXPECT_EQ(seen.changed, (std::vector<std::uint32_t>{1, 1, 1, 2, 2, 1, 2}));
    {
        ErrorLog log;
        EXPECT_FALSE(t->replace(0, Value::number(1)));
    }
    EXPECT_EQ(seen.changed.size(), 7u) << "a refused replace changes nothing";
    seen.changed.clear();
    ASSERT_TRUE(t->appendFrom(*t));
    EXPECT_EQ(seen.changed, (std::vector<std::uint32_t>{3, 4}));
    ASSERT_TRUE(t->pack());
    ASSERT_TRUE(t->zap());
    EXPECT_EQ(seen.resets, 2);
    t->removeObserver(&seen);
    ASSERT_TRUE(t->appendBlank());
    EXPECT_EQ(seen.changed.size(), 2u);
}

// An observer that leaves during a notification must not make the table skip or call a gone observer.
TEST(TableObservers, MayRemoveThemselvesWhileBeingNotified) {
    struct Leaver : RecordingObserver {
        Table* table = nullptr;
        void recordChanged(Table& t, std::uint32_t recno) override {
            RecordingObserver::recordChanged(t, recno);
            table->removeObserver(this);
        }
    };
    TempDir dir;
    auto t = Table::create(dir / "O.DBF", {field("A", FieldType::Character, 1)});
    ASSERT_TRUE(t);
    Leaver leaver;
    leaver.table = t.get();
    RecordingObserver stays;
    t->addObserver(&leaver);
    t->addObserver(&stays);
    ASSERT_TRUE(t->appendBlank());
    ASSERT_TRUE(t->appendBlank());
    EXPECT_EQ(leaver.changed, (std::vector<std::uint32_t>{1}));
    EXPECT_EQ(stays.changed, (std::vector<std::uint32_t>{1, 2}));
}

// ---------------------------------------------------------------------------------------------------------------

class TableLocking : public ::testing::Test {
protected:
    void SetUp() override {
        auto t = Table::create(dir / "L.DBF", mixedFields());
        ASSERT_TRUE(t);
        fillThree(*t);
    }
    TempDir dir;
};

TEST_F(TableLocking, ASecondOpenInThisProcessFailsWhileExclusive) {
    auto first = Table::open(dir / "L.DBF");
    ASSERT_TRUE(first);
    for (auto mode : {Table::Mode::Exclusive, Table::Mode::SharedRead}) {
        ErrorLog log;
        EXPECT_FALSE(Table::open(dir / "L.DBF", mode));
        ASSERT_EQ(log.count(), 1u);
        EXPECT_EQ(log.last().file, (dir / "L.DBF").string());
        EXPECT_NE(log.last().message.find("gesperrt"), std::string::npos) << log.last().message;
    }
    first.reset();
    EXPECT_TRUE(Table::open(dir / "L.DBF"));
}

TEST_F(TableLocking, SharedReadersCoexistButKeepWritersOut) {
    auto a = Table::open(dir / "L.DBF", Table::Mode::SharedRead);
    auto b = Table::open(dir / "L.DBF", Table::Mode::SharedRead);
    ASSERT_TRUE(a);
    ASSERT_TRUE(b);
    EXPECT_FALSE(a->isExclusive());
    ErrorLog log;
    EXPECT_FALSE(Table::open(dir / "L.DBF"));
    EXPECT_EQ(log.count(), 1u);
}

TEST_F(TableLocking, AnotherProcessHoldingTheTableKeepsUsOut) {
    int ready[2], release[2];
    ASSERT_EQ(::pipe(ready), 0);
    ASSERT_EQ(::pipe(release), 0);
    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::close(ready[0]);
        ::close(release[1]);
        auto t = Table::open(dir / "L.DBF");
        char ok = t ? 'y' : 'n';
        (void)!::write(ready[1], &ok, 1);
        char c;
        (void)!::read(release[0], &c, 1); // until the parent closes its end
        ::_exit(0);
    }
    ::close(ready[1]);
    ::close(release[0]);
    char ok = 0;
    ASSERT_EQ(::read(ready[0], &ok, 1), 1);
    ASSERT_EQ(ok, 'y');
    {
        ErrorLog log;
        EXPECT_FALSE(Table::open(dir / "L.DBF"));
        EXPECT_FALSE(Table::open(dir / "L.DBF", Table::Mode::SharedRead));
        EXPECT_EQ(log.count(), 2u);
    }
    ::close(release[1]);
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(Table::open(dir / "L.DBF"));
}

TEST_F(TableLocking, SharedReadRefusesEveryWriteAndLeavesTheFilesAlone) {
    const std::string dbf = readFile(dir / "L.DBF");
    const std::string fpt = readFile(dir / "L.FPT");
    {
        auto t = Table::open(dir / "L.DBF", Table::Mode::SharedRead);
        ASSERT_TRUE(t);
        ASSERT_TRUE(t->goTo(1));
        EXPECT_EQ(t->memo(5), "first note");
        ErrorLog log;
        EXPECT_FALSE(t->appendBlank());
        EXPECT_FALSE(t->replace(0, Value::text("x")));
        EXPECT_FALSE(t->replaceMemo(5, "x", false));
        EXPECT_FALSE(t->blankRecord());
        EXPECT_FALSE(t->deleteRecord());
        EXPECT_FALSE(t->recall());
        EXPECT_FALSE(t->pack());
        EXPECT_FALSE(t->zap());
        EXPECT_FALSE(t->appendFrom(*t));
        EXPECT_EQ(log.count(), 9u);
        for (const auto& e : log.errors())
            EXPECT_EQ(e.file, (dir / "L.DBF").string());
        EXPECT_EQ(t->recCount(), 3u);
        EXPECT_EQ(t->rawField(0), "alpha       ");
    }
    EXPECT_EQ(readFile(dir / "L.DBF"), dbf);
    EXPECT_EQ(readFile(dir / "L.FPT"), fpt);
}

TEST_F(TableLocking, AReadOnlyFileOpensOnlyForReading) {
    for (const char* name : {"L.DBF", "L.FPT"}) {
        std::filesystem::permissions(dir / name,
                                     std::filesystem::perms::owner_read | std::filesystem::perms::group_read);
        const auto stamp = mtime(dir / "L.DBF");
        {
            ErrorLog log;
            EXPECT_FALSE(Table::open(dir / "L.DBF"));
            ASSERT_EQ(log.count(), 1u);
            EXPECT_EQ(log.last().file, (dir / name).string());
            EXPECT_NE(log.last().message.find("schreibgeschützt"), std::string::npos);
        }
        auto t = Table::open(dir / "L.DBF", Table::Mode::SharedRead);
        ASSERT_TRUE(t);
        EXPECT_EQ(t->recCount(), 3u);
        t.reset();
        EXPECT_EQ(mtime(dir / "L.DBF"), stamp);
        std::filesystem::permissions(dir / name, std::filesystem::perms::owner_write,
                                     std::filesystem::perm_options::add);
    }
}

// ---------------------------------------------------------------------------------------------------------------

// Damaged files: each gives exactly one error naming the file, and nothing is written.
class TableDamage : public ::testing::Test {
protected:
    void SetUp() override {
        auto t = Table::create(dir / "D.DBF", mixedFields());
        ASSERT_TRUE(t);
        fillThree(*t);
        t.reset();
        good = readFile(dir / "D.DBF");
        hl = lwtest::le16(good, 8);
        rl = lwtest::le16(good, 10);
    }
    // Writes the damaged bytes, opens, and checks the one error and the untouched file.
    void expectRefused(const std::string& bytes, const std::string& expectedFile, const char* words) {
        writeFile(dir / "D.DBF", bytes);
        ErrorLog log;
        EXPECT_FALSE(Table::open(dir / "D.DBF"));
        ASSERT_EQ(log.count(), 1u);
        EXPECT_EQ(log.last().file, expectedFile);
        EXPECT_NE(log.last().message.find(words), std::string::npos) << log.last().message;
        EXPECT_EQ(readFile(dir / "D.DBF"), bytes);
    }
    TempDir dir;
    std::string good;
    std::size_t hl = 0, rl = 0;
};

TEST_F(TableDamage, TruncatedFilesAndOverstatedCountsAreRefused) {
    const std::string file = (dir / "D.DBF").string();
    expectRefused(good.substr(0, 20), file, "20 Bytes");
    expectRefused(good.substr(0, hl + 2 * rl + 5), file, "abgeschnitten");
    std::string overstated = good;
    lwtest::putLe32(overstated, 4, 4);
    expectRefused(overstated, file, "4 Sätze");
    std::string huge = good;
    lwtest::putLe32(huge, 4, 0xFFFFFFFF);
    expectRefused(huge, file, "abgeschnitten");
}

TEST_F(TableDamage, HeaderAndRecordLengthsMustMatchTheFields) {
    const std::string file = (dir / "D.DBF").string();
    std::string shortHeader = good;
    lwtest::putLe16(shortHeader, 8, hl - 32);
    expectRefused(shortHeader, file, "Kopflänge");
    std::string longHeader = good;
    lwtest::putLe16(longHeader, 8, hl + 2000);
    expectRefused(longHeader + std::string(4000, ' '), file, "Kopflänge");
    std::string recordLength = good;
    lwtest::putLe16(recordLength, 10, rl + 1);
    expectRefused(recordLength, file, "Satzlänge");
    std::string noTerminator = good;
    noTerminator[hl - 1] = 'X';
    expectRefused(noTerminator, file, "Kopflänge");
    std::string unknownType = good;
    unknownType[32 + 11] = 'Q';
    expectRefused(unknownType, file, "Typ");
    std::string version = good;
    version[0] = 0x04;
    expectRefused(version, file, "0x04");
}

TEST_F(TableDamage, AMissingMemoFileIsNamed) {
    std::filesystem::remove(dir / "D.FPT");
    expectRefused(good, (dir / "D.FPT").string(), "D.FPT");
}

TEST_F(TableDamage, ABrokenMemoFileHeaderIsRefused) {
    writeFile(dir / "D.FPT", std::string(100, '\0'));
    expectRefused(good, (dir / "D.FPT").string(), "zu kurz");
    writeFile(dir / "D.FPT", std::string(512, '\0')); // block size 0
    expectRefused(good, (dir / "D.FPT").string(), "Blockgröße");
}

TEST_F(TableDamage, TrailingBytesAndAMissingEndMarkAreAccepted) {
    writeFile(dir / "D.DBF", good.substr(0, good.size() - 1));
    auto t = Table::open(dir / "D.DBF");
    ASSERT_TRUE(t);
    EXPECT_EQ(t->recCount(), 3u);
    ASSERT_TRUE(t->appendBlank());
    t.reset();
    EXPECT_EQ(readFile(dir / "D.DBF").back(), 0x1A);
    writeFile(dir / "D.DBF", good + "\x1A\x1A garbage");
    t = Table::open(dir / "D.DBF");
    ASSERT_TRUE(t);
    EXPECT_EQ(t->recCount(), 3u);
}

TEST_F(TableDamage, BadMemoPointersReadAsEmptyWithOneError) {
    // Record 1's NOTE points past the end of the memo file, record 3's into its header, record 2's is garbage.
    const std::size_t note = 1 + 12 + 7 + 4 + 1 + 8;
    std::string bytes = good;
    bytes.replace(hl + note, 10, "    999999");
    bytes.replace(hl + 2 * rl + note, 10, "         2");
    bytes.replace(hl + rl + note, 10, "   12x    ");
    writeFile(dir / "D.DBF", bytes);
    // And record 2's picture claims more bytes than the file holds.
    std::string fpt = readFile(dir / "D.FPT");
    auto t = Table::open(dir / "D.DBF");
    ASSERT_TRUE(t);
    ASSERT_TRUE(t->goTo(2));
    const std::uint32_t pic = std::stoul(std::string(t->rawField(6)));
    fpt[pic * 64 + 4] = 0x7F;
    writeFile(dir / "D.FPT", fpt);

    const std::string memoFile = (dir / "D.FPT").string();
    for (std::uint32_t r : {1u, 3u}) {
        ASSERT_TRUE(t->goTo(r));
        ErrorLog log;
        EXPECT_EQ(t->memo(5), "");
        EXPECT_EQ(t->fieldValue(5), Value::text(""));
        ASSERT_EQ(log.count(), 2u) << "one error per read";
        EXPECT_EQ(log.last().file, memoFile);
    }
    ASSERT_TRUE(t->goTo(2));
    {
        ErrorLog log;
        EXPECT_EQ(t->memo(5), "");
        ASSERT_EQ(log.count(), 1u);
        EXPECT_EQ(log.last().file, (dir / "D.DBF").string());
        EXPECT_NE(log.last().message.find("12x"), std::string::npos);
        EXPECT_EQ(t->memo(6), "");
        ASSERT_EQ(log.count(), 2u);
        EXPECT_EQ(log.last().file, memoFile);
    }
    // Writing over a broken pointer puts the memo at the end of the file and repairs the record.
    const std::uint32_t nextFree = lwtest::be32(fpt, 0);
    ASSERT_TRUE(t->goTo(1));
    ASSERT_TRUE(t->replaceMemo(5, "repaired", false));
    EXPECT_EQ(t->rawField(5), std::string(10 - std::to_string(nextFree).size(), ' ') + std::to_string(nextFree));
    EXPECT_EQ(t->memo(5), "repaired");
    t.reset();
    EXPECT_EQ(lwtest::be32(readFile(dir / "D.FPT"), 0), nextFree + 1);
}

TEST_F(TableDamage, PackSurvivesUnreadableMemosAndReportsThem) {
    const std::size_t note = 1 + 12 + 7 + 4 + 1 + 8;
    std::string bytes = good;
    bytes.replace(hl + note, 10, "    999999");
    writeFile(dir / "D.DBF", bytes);
    auto t = Table::open(dir / "D.DBF");
    ASSERT_TRUE(t);
    ErrorLog log;
    EXPECT_TRUE(t->pack());
    EXPECT_EQ(log.count(), 1u);
    ASSERT_EQ(t->recCount(), 2u);
    ASSERT_TRUE(t->goTo(1));
    EXPECT_EQ(t->rawField(5), std::string(10, ' '));
    EXPECT_EQ(t->memo(5), "");
    EXPECT_EQ(log.count(), 1u);
}

// Four damaged bytes in the memo header: a next free block far beyond the end must not place new memos there.
TEST_F(TableDamage, ANextFreeBlockBeyondTheEndIsReportedAndNotTrusted) {
    std::string fpt = readFile(dir / "D.FPT");
    const std::uint64_t realBlocks = (fpt.size() + 63) / 64;
    fpt[0] = 0x7F; // next free block 0x7F......: about 137 GB into the file
    writeFile(dir / "D.FPT", fpt);
    const std::string memoFile = (dir / "D.FPT").string();
    {
        ErrorLog log;
        EXPECT_TRUE(Table::open(dir / "D.DBF", Table::Mode::SharedRead)); // reading is not affected
        EXPECT_EQ(log.count(), 0u);
    }
    ErrorLog log;
    auto t = Table::open(dir / "D.DBF");
    ASSERT_TRUE(t);
    ASSERT_EQ(log.count(), 1u);
    EXPECT_EQ(log.last().file, memoFile);
    EXPECT_NE(log.last().message.find("D.FPT"), std::string::npos);
    EXPECT_NE(log.last().message.find("beschädigt"), std::string::npos);
    ASSERT_TRUE(t->goTo(3));
    ASSERT_TRUE(t->replaceMemo(5, "a new memo after the damage", false));
    ASSERT_TRUE(t->goTo(1));
    EXPECT_EQ(t->memo(5), "first note");
    ASSERT_TRUE(t->goTo(3));
    EXPECT_EQ(t->memo(5), "a new memo after the damage");
    t.reset();
    const std::string after = readFile(dir / "D.FPT");
    EXPECT_EQ(after.size(), (realBlocks + 1) * 64);    // the old end plus the one block of the new memo
    EXPECT_EQ(lwtest::be32(after, 0), realBlocks + 1); // and the header is right again
    EXPECT_EQ(log.count(), 1u);
}

// A memo length beyond the end of the file is damage: nothing of that size is allocated, reading, rewriting and
// packing go on. Run with a 256 MB address-space limit, so that trusting the 2 GB length would end the child.
TEST_F(TableDamage, AMemoLengthBeyondTheEndIsReportedWithoutAllocatingIt) {
    auto t = Table::open(dir / "D.DBF", Table::Mode::SharedRead);
    ASSERT_TRUE(t && t->goTo(1));
    const std::uint32_t block = std::stoul(std::string(t->rawField(5)));
    t.reset();
    std::string fpt = readFile(dir / "D.FPT");
    lwtest::putLe32(fpt, block * 64 + 4, 0xF0FFFF7F); // big-endian 0x7FFFFFF0
    writeFile(dir / "D.FPT", fpt);
    const auto size = fpt.size();

    const std::string memoFile = (dir / "D.FPT").string();
    const int code = lwtest::runInChild({store::faults::AnyOp, "", 0}, [&] {
        rlimit limit{};
        limit.rlim_cur = limit.rlim_max = 256u << 20;
        ::setrlimit(RLIMIT_AS, &limit);
        std::vector<store::StoreError> errors;
        store::setErrorCallback([&](const store::StoreError& e) { errors.push_back(e); });
        auto t = Table::open(dir / "D.DBF");
        if (!t || !t->goTo(1)) ::_exit(10);
        if (!t->memo(5).empty() || errors.size() != 1 || errors[0].file != memoFile ||
            errors[0].message.find("D.FPT") == std::string::npos)
            ::_exit(11);
        if (!t->replaceMemo(5, "rewritten", false) || t->memo(5) != "rewritten") ::_exit(12);
        if (!t->pack() || t->recCount() != 2) ::_exit(13);
        ::_exit(0);
    });
    EXPECT_EQ(code, 0);
    EXPECT_LE(readFile(dir / "D.FPT").size(), size);
    t = Table::open(dir / "D.DBF", Table::Mode::SharedRead);
    ASSERT_TRUE(t && t->goTo(1));
    EXPECT_EQ(t->memo(5), "rewritten");
}

// A dBASE III table with its DBT memo file is read; its memos cannot be written.
TEST(TableDbt, DBaseIIIMemosAreReadable) {
    TempDir dir;
    std::string dbf(32 + 2 * 32 + 1, '\0');
    dbf[0] = static_cast<char>(0x83);
    dbf[8] = static_cast<char>(dbf.size());
    dbf[10] = 1 + 4 + 10;
    dbf.replace(32, 4, "NAME");
    dbf[32 + 11] = 'C';
    dbf[32 + 16] = 4;
    dbf.replace(64, 4, "TEXT");
    dbf[64 + 11] = 'M';
    dbf[64 + 16] = 10;
    dbf[96] = 0x0D;
    dbf += " abcd         1 efgh          \x1A";
    dbf[4] = 2;
    writeFile(dir / "OLD.DBF", dbf);
    std::string dbt(512, '\0');
    dbt[0] = 3;
    dbt += "old memo\x1A\x1A";
    dbt.resize(1024, '\0');
    writeFile(dir / "OLD.DBT", dbt);

    ErrorLog log;
    auto t = Table::open(dir / "OLD.DBF");
    ASSERT_TRUE(t);
    ASSERT_TRUE(t->goTo(1));
    EXPECT_EQ(t->memo(1), "old memo");
    ASSERT_TRUE(t->goTo(2));
    EXPECT_EQ(t->memo(1), "");
    EXPECT_EQ(log.count(), 0u);
    EXPECT_TRUE(t->replace(0, Value::text("ijkl")));
    EXPECT_FALSE(t->replaceMemo(1, "new", false));
    EXPECT_EQ(log.count(), 1u);
}

} // namespace
