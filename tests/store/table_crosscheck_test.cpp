// Cross-checks of the table files against independent readers and writers (dbfread, python-dbf).

#include <gtest/gtest.h>

#include <charconv>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "store/calendar.h"
#include "store/table.h"
#include "support/testdir.h"
#include "table_support.h"

namespace {

using lwtest::ErrorLog;
using lwtest::field;
using lwtest::TempDir;
using store::FieldType;
using store::Table;
using store::Value;

const char* const kPython = "/usr/bin/python3";

bool pythonHas(const std::string& module) {
    return lwtest::runCommand(std::string(kPython) + " -c 'import " + module + "' 2>/dev/null") == 0;
}

#define REQUIRE_PYTHON_MODULE(module)                                                                                  \
    if (!pythonHas(module))                                                                                            \
    GTEST_SKIP() << kPython << " lacks the module " << module << ", so this cross-check cannot run"

// Prints every record as "<deleted> NAME=<token> ...". Tokens: '-' none, T/F, i<int>, n<float repr>,
// d<iso date>, x<hex of the text in cp1252>, b<hex of raw bytes>.
const char* const kDumpScript = R"(
import sys
tool, path = sys.argv[1], sys.argv[2]
def enc(v):
    if v is None: return '-'
    if isinstance(v, bool): return 'T' if v else 'F'
    if isinstance(v, (bytes, bytearray)): return 'b' + bytes(v).hex()
    if isinstance(v, str): return 'x' + v.encode('cp1252').hex()
    if isinstance(v, int): return 'i' + str(v)
    if isinstance(v, float): return 'n' + repr(v)
    if hasattr(v, 'isoformat'): return 'd' + v.isoformat()
    return '?' + repr(v)
if tool == 'dbfread':
    import dbfread
    t = dbfread.DBF(path, encoding='cp1252')
    for deleted, recs in ((0, t), (1, t.deleted)):
        for r in recs:
            print(deleted, ' '.join(k.upper() + '=' + enc(v) for k, v in r.items()))
else:
    import dbf
    t = dbf.Table(path)
    t.open(dbf.READ_ONLY)
    for r in t:
        print(int(dbf.is_deleted(r)), ' '.join(n.upper() + '=' + enc(r[n]) for n in t.field_names))
    t.close()
)";

std::vector<std::string> dump(const TempDir& dir, const std::string& tool, const std::filesystem::path& table) {
    lwtest::writeFile(dir / "dump.py", kDumpScript);
    std::string out;
    int rc = lwtest::runCommand(
        std::string(kPython) + " " + (dir / "dump.py").string() + " " + tool + " '" + table.string() + "' 2>&1", &out);
    EXPECT_EQ(rc, 0) << out;
    std::vector<std::string> lines;
    std::istringstream in(out);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

std::string hex(std::string_view bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (unsigned char c : bytes) {
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

std::string rstrip(std::string s) {
    while (!s.empty() && s.back() == ' ')
        s.pop_back();
    return s;
}

// Python's repr() of a float: the shortest round-trip form, always with a point.
std::string pyFloat(double v) {
    char buf[64];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v);
    std::string s(buf, end);
    if (s.find_first_of(".e") == std::string::npos) s += ".0";
    return s;
}

std::string isoDate(std::int32_t jd) {
    auto d = store::civilFromJulian(jd);
    char buf[16];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", d.year, d.month, d.day);
    return buf;
}

// What the test puts into a table of mixed fields, and so what every reader must find.
struct Row {
    bool deleted = false;
    std::string name;
    std::optional<double> qty;
    std::optional<int> cnt;
    std::optional<bool> ok;
    std::int32_t when = 0;
    std::string note;
    std::string pic; // binary
};

std::vector<store::FieldDef> mixedFields() {
    return {field("NAME", FieldType::Character, 12),
            field("QTY", FieldType::Numeric, 7, 2),
            field("CNT", FieldType::Numeric, 4),
            field("OK", FieldType::Logical),
            field("WHEN", FieldType::Date),
            field("NOTE", FieldType::Memo),
            field("PIC", FieldType::Memo)};
}

void write(Table& t, const Row& row) {
    ASSERT_TRUE(t.appendBlank());
    EXPECT_TRUE(t.replace(0, Value::text(row.name)));
    if (row.qty) {
        EXPECT_TRUE(t.replace(1, Value::number(*row.qty)));
    }
    if (row.cnt) {
        EXPECT_TRUE(t.replace(2, Value::number(*row.cnt)));
    }
    if (row.ok) {
        EXPECT_TRUE(t.replace(3, Value::logical(*row.ok)));
    }
    if (row.when) {
        EXPECT_TRUE(t.replace(4, Value::date(row.when)));
    }
    EXPECT_TRUE(t.replaceMemo(5, row.note, false));
    EXPECT_TRUE(t.replaceMemo(6, row.pic, true));
    if (row.deleted) {
        EXPECT_TRUE(t.deleteRecord());
    }
}

// dbfread: live records first, then the deleted ones; texts without trailing blanks, blanks as None.
std::vector<std::string> expectedForDbfread(const std::vector<Row>& rows) {
    std::vector<std::string> lines;
    for (bool deleted : {false, true})
        for (const Row& r : rows) {
            if (r.deleted != deleted) continue;
            std::string line = deleted ? "1" : "0";
            line += " NAME=x" + hex(rstrip(r.name.substr(0, 12)));
            line += " QTY=" + (r.qty ? "n" + pyFloat(*r.qty) : "-");
            line += " CNT=" + (r.cnt ? "i" + std::to_string(*r.cnt) : "-");
            line += " OK=" + (r.ok ? std::string(*r.ok ? "T" : "F") : "-");
            line += " WHEN=" + (r.when ? "d" + isoDate(r.when) : "-");
            line += " NOTE=" + (r.note.empty() ? "-" : "x" + hex(r.note));
            line += " PIC=" + (r.pic.empty() ? "-" : "b" + hex(r.pic));
            lines.push_back(line);
        }
    return lines;
}

// python-dbf: physical order, texts padded, every memo as text (it ignores the block type).
std::vector<std::string> expectedForPythonDbf(const std::vector<Row>& rows) {
    std::vector<std::string> lines;
    for (const Row& r : rows) {
        std::string name = r.name.substr(0, 12);
        name.resize(12, ' ');
        std::string line = r.deleted ? "1" : "0";
        line += " NAME=x" + hex(name);
        line += " QTY=" + (r.qty ? "n" + pyFloat(*r.qty) : "-");
        line += " CNT=" + (r.cnt ? "i" + std::to_string(*r.cnt) : "-");
        line += " OK=" + (r.ok ? std::string(*r.ok ? "T" : "F") : "-");
        line += " WHEN=" + (r.when ? "d" + isoDate(r.when) : "-");
        line += " NOTE=x" + hex(r.note);
        line += " PIC=x" + hex(r.pic);
        lines.push_back(line);
    }
    return lines;
}

std::vector<Row> sampleRows(bool pythonDbfSafe) {
    // python-dbf decodes binary memos as cp1252 text, which has no characters for 0x81, 0x8D, 0x8F, 0x90, 0x9D.
    std::string picture = lwtest::bitmapLikeBytes(pythonDbfSafe ? 0 : 4000);
    if (pythonDbfSafe)
        for (int i = 0; i < 600; ++i)
            picture += static_cast<char>(i % 0x80);
    return {
        {false, "\xC4rger  x", 12.5, 42, true, store::julianDay(2024, 2, 29), "memo \xFC\r\nzweite Zeile", picture},
        {true, "gel\xF6scht", -0.25, 0, false, store::julianDay(1999, 12, 31), std::string(5000, 'w'), "BM"},
        {false, "", std::nullopt, std::nullopt, std::nullopt, 0, "", ""},
        {false,
         "Stra\xDF"
         "e 12 zu lang",
         1234.5, 9999, false, store::julianDay(1, 1, 1), std::string(56, 'k'), std::string(1, '\0')},
    };
}

// ---------------------------------------------------------------------------------------------------------------

TEST(TableCrossCheck, DbfreadReadsOurTablesIdenticallyBeforeAndAfterChanges) {
    REQUIRE_PYTHON_MODULE("dbfread");
    TempDir dir;
    const auto path = dir / "OURS.DBF";
    std::vector<Row> rows = sampleRows(false);
    {
        auto t = Table::create(path, mixedFields());
        ASSERT_TRUE(t);
        for (const Row& r : rows)
            write(*t, r);
    }
    EXPECT_EQ(dump(dir, "dbfread", path), expectedForDbfread(rows));

    // Memos rewritten in place and moved, a record recalled, another deleted, then packed.
    {
        auto t = Table::open(path);
        ASSERT_TRUE(t);
        ASSERT_TRUE(t->goTo(1));
        ASSERT_TRUE(t->replaceMemo(5, "kurz", false));
        rows[0].note = "kurz";
        ASSERT_TRUE(t->replaceMemo(6, lwtest::bitmapLikeBytes(9000), true));
        rows[0].pic = lwtest::bitmapLikeBytes(9000);
        ASSERT_TRUE(t->goTo(2));
        ASSERT_TRUE(t->recall());
        rows[1].deleted = false;
        ASSERT_TRUE(t->goTo(4));
        ASSERT_TRUE(t->deleteRecord());
        rows[3].deleted = true;
    }
    EXPECT_EQ(dump(dir, "dbfread", path), expectedForDbfread(rows));
    {
        auto t = Table::open(path);
        ASSERT_TRUE(t);
        ASSERT_TRUE(t->pack());
        rows.pop_back();
    }
    EXPECT_EQ(dump(dir, "dbfread", path), expectedForDbfread(rows));
}

TEST(TableCrossCheck, PythonDbfReadsOurTablesIdentically) {
    REQUIRE_PYTHON_MODULE("dbf");
    TempDir dir;
    const auto path = dir / "ours.dbf";
    const std::vector<Row> rows = sampleRows(true);
    {
        auto t = Table::create(path, mixedFields());
        ASSERT_TRUE(t);
        for (const Row& r : rows)
            write(*t, r);
    }
    EXPECT_EQ(dump(dir, "dbf", path), expectedForPythonDbf(rows));
}

// python-dbf writes both a FoxPro (0xF5) and a Visual FoxPro (0x30) table; we read them and write into them.
class ForeignTables : public ::testing::TestWithParam<const char*> {};

TEST_P(ForeignTables, TablesWrittenByPythonDbfReadIdenticallyAndTakeOurChanges) {
    REQUIRE_PYTHON_MODULE("dbf");
    const std::string type = GetParam();
    TempDir dir;
    const auto path = dir / "foreign.dbf";
    const std::string script = R"(
import sys, datetime, dbf
t = dbf.Table(sys.argv[1], 'NAME C(10); QTY N(7,2); CNT N(4,0); OK L; WHEN D; NOTE M', dbf_type=sys.argv[2], codepage='cp1252')
t.open(dbf.READ_WRITE)
t.append(('Ärger', 12.5, 42, True, datetime.date(2024, 2, 29), 'erste Notiz\r\nmit Umlaut ü'))
t.append(('zwei', -0.25, 7, False, None, ''))
t.append(('lang', 0, 0, None, datetime.date(1999, 12, 31), 'x' * 3000))
dbf.delete(t[1])
t.close()
)";
    lwtest::writeFile(dir / "make.py", script);
    std::string out;
    ASSERT_EQ(lwtest::runCommand(std::string(kPython) + " " + (dir / "make.py").string() + " " + path.string() + " " +
                                     type + " 2>&1",
                                 &out),
              0)
        << out;

    ErrorLog log;
    {
        auto t = Table::open(path);
        ASSERT_TRUE(t);
        EXPECT_EQ(t->version(), type == "vfp" ? 0x30 : 0xF5);
        ASSERT_EQ(t->recCount(), 3u);
        ASSERT_EQ(t->fieldCount(), 6);
        EXPECT_EQ(t->fieldDef(5).type, FieldType::Memo);
        ASSERT_TRUE(t->goTo(1));
        EXPECT_EQ(t->fieldValue(0), Value::text("\xC4rger     "));
        EXPECT_EQ(t->fieldValue(1), Value::number(12.5));
        EXPECT_EQ(t->fieldValue(2), Value::number(42));
        EXPECT_EQ(t->fieldValue(3), Value::logical(true));
        EXPECT_EQ(t->fieldValue(4), Value::date(store::julianDay(2024, 2, 29)));
        EXPECT_EQ(t->memo(5), "erste Notiz\r\nmit Umlaut \xFC");
        EXPECT_FALSE(t->isDeleted());
        ASSERT_TRUE(t->goTo(2));
        EXPECT_TRUE(t->isDeleted());
        EXPECT_EQ(t->fieldValue(1), Value::number(-0.25));
        EXPECT_EQ(t->fieldValue(4), Value::date(0));
        EXPECT_EQ(t->memo(5), "");
        ASSERT_TRUE(t->goTo(3));
        EXPECT_EQ(t->fieldValue(3), Value::logical(false)); // '?' is not true
        EXPECT_EQ(t->memo(5), std::string(3000, 'x'));

        // Our changes in their file: a memo rewritten, a new record with a memo, then a pack.
        ASSERT_TRUE(t->goTo(1));
        ASSERT_TRUE(t->replaceMemo(5, "neu", false));
        ASSERT_TRUE(t->appendBlank());
        ASSERT_TRUE(t->replace(0, Value::text("vier")));
        ASSERT_TRUE(t->replace(2, Value::number(4)));
        ASSERT_TRUE(t->replaceMemo(5, std::string(700, 'v'), false));
        ASSERT_TRUE(t->pack());
    }
    EXPECT_EQ(log.count(), 0u);
    if (pythonHas("dbfread")) {
        const std::vector<std::string> expected = {
            "0 NAME=x" + hex("\xC4rger") + " QTY=n12.5 CNT=i42 OK=T WHEN=d2024-02-29 NOTE=x" + hex("neu"),
            "0 NAME=x" + hex("lang") + " QTY=n0.0 CNT=i0 OK=- WHEN=d1999-12-31 NOTE=x" + hex(std::string(3000, 'x')),
            "0 NAME=x" + hex("vier") + " QTY=- CNT=i4 OK=- WHEN=- NOTE=x" + hex(std::string(700, 'v')),
        };
        EXPECT_EQ(dump(dir, "dbfread", path), expected);
    }
    const std::vector<std::string> lines = dump(dir, "dbf", path);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_NE(lines[2].find("NOTE=x" + hex(std::string(700, 'v'))), std::string::npos) << lines[2];
}

INSTANTIATE_TEST_SUITE_P(PythonDbf, ForeignTables, ::testing::Values("fp", "vfp"));

// Our reading of the table, in the dump's token form as dbfread would give it.
std::vector<std::string> ourDbfreadStyleDump(Table& t) {
    std::vector<std::string> lines;
    for (bool deleted : {false, true})
        for (std::uint32_t r = 1; r <= t.recCount(); ++r) {
            t.goTo(r);
            if (t.isDeleted() != deleted) continue;
            std::string line = deleted ? "1" : "0";
            for (int i = 0; i < t.fieldCount(); ++i) {
                const store::FieldDef& f = t.fieldDef(i);
                const std::string raw(t.rawField(i));
                std::string token;
                switch (f.type) {
                case FieldType::Character:
                    token = "x" + hex(rstrip(raw));
                    break;
                case FieldType::Numeric:
                    if (rstrip(raw).empty())
                        token = "-";
                    else if (raw.find('.') != std::string::npos)
                        token = "n" + pyFloat(t.fieldValue(i).asNumber());
                    else
                        token = "i" + std::to_string(static_cast<long long>(t.fieldValue(i).asNumber()));
                    break;
                case FieldType::Logical:
                    token = raw == " " || raw == "?" ? "-" : t.fieldValue(i).asLogical() ? "T" : "F";
                    break;
                case FieldType::Date:
                    token = t.fieldValue(i).asDate() ? "d" + isoDate(t.fieldValue(i).asDate()) : "-";
                    break;
                case FieldType::Memo: {
                    std::string m = t.memo(i);
                    token = m.empty() ? "-" : "x" + hex(m);
                    break;
                }
                }
                line += " " + f.name + "=" + token;
            }
            lines.push_back(line);
        }
    return lines;
}

TEST(TableCrossCheck, TheVisualFoxProSampleReadsAsDbfreadReportsIt) {
    REQUIRE_PYTHON_MODULE("dbfread");
    const std::filesystem::path sample = std::filesystem::path(LW_SHARED_DIR) / "formats/samples/afox5.dbf";
    if (!std::filesystem::exists(sample)) GTEST_SKIP() << "no shared sample files beside this clone: " << sample;
    TempDir dir;
    ErrorLog log;
    auto t = Table::open(sample, Table::Mode::SharedRead); // the shared sample is read-only
    ASSERT_TRUE(t);
    EXPECT_EQ(t->version(), 0x30);
    EXPECT_EQ(t->memoPath().filename(), "afox5.FPT");
    const std::vector<std::string> ours = ourDbfreadStyleDump(*t);
    EXPECT_EQ(ours, dump(dir, "dbfread", sample));
    ASSERT_EQ(ours.size(), 2u);
    EXPECT_NE(ours[0].find("DESC=x" + hex("first desc.")), std::string::npos) << ours[0];
    EXPECT_EQ(log.count(), 0u);
}

// ---------------------------------------------------------------------------------------------------------------

TEST(TableCrossCheck, LocksAreRealFileLocksOtherProgramsSee) {
    TempDir dir;
    const auto path = dir / "LOCK.DBF";
    ASSERT_TRUE(Table::create(path, mixedFields()));
    const std::string tryLock = std::string(kPython) +
                                " -c 'import fcntl,sys; f=open(sys.argv[1],\"rb\"); "
                                "fcntl.flock(f, fcntl.LOCK_EX | fcntl.LOCK_NB)' " +
                                path.string() + " 2>/dev/null";
    {
        auto t = Table::open(path);
        ASSERT_TRUE(t);
        EXPECT_NE(lwtest::runCommand(tryLock), 0) << "another program got the lock on our open table";
    }
    EXPECT_EQ(lwtest::runCommand(tryLock), 0);

    // A program holding the lock keeps us out until it lets go.
    const auto stop = dir / "stop";
    const std::string hold =
        std::string(kPython) +
        " -c 'import fcntl,os,sys,time; f=open(sys.argv[1],\"rb\"); fcntl.flock(f, fcntl.LOCK_EX); "
        "print(\"locked\", flush=True); "
        "end=time.time()+20\nwhile not os.path.exists(sys.argv[2]) and time.time()<end: "
        "time.sleep(0.02)' " +
        path.string() + " " + stop.string();
    FILE* holder = ::popen(hold.c_str(), "r");
    ASSERT_NE(holder, nullptr);
    char line[16] = {};
    ASSERT_NE(std::fgets(line, sizeof line, holder), nullptr);
    EXPECT_STREQ(line, "locked\n");
    {
        ErrorLog log;
        EXPECT_FALSE(Table::open(path));
        ASSERT_EQ(log.count(), 1u);
        EXPECT_NE(log.last().message.find("gesperrt"), std::string::npos);
    }
    lwtest::writeFile(stop, "");
    ::pclose(holder);
    EXPECT_TRUE(Table::open(path));
}

} // namespace
