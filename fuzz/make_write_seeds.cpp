// Writes seed inputs for fuzz_write into a folder: small tables made by the engine (with memos, deleted records and an
// index) and the tables given on the command line.
#include <cstdio>
#include <fstream>
#include <iterator>

#include "fuzz_common.h"
#include "store/workarea.h"
#include "write_input.h"

namespace fs = std::filesystem;
using store::FieldType;
using store::Value;

namespace {

std::string slurp(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void put(const fs::path& out, int n, const std::string& bytes) {
    std::ofstream(out / ("seed" + std::to_string(n)), std::ios::binary) << bytes;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: make_write_seeds OUTDIR [DBF]...\n");
        return 2;
    }
    const fs::path out = argv[1];
    fs::create_directories(out);
    const fs::path dir = fuzz::scratch();
    int n = 0;
    for (int records : {3, 20, 60}) {
        std::error_code ec;
        for (const char* name : {"S.DBF", "S.FPT", "S.CDX"})
            fs::remove(dir / name, ec);
        {
            store::Session session;
            store::WorkArea* a = session.create(dir / "S.DBF",
                                                {{"NAME", FieldType::Character, 12, 0},
                                                 {"NR", FieldType::Numeric, 6, 1},
                                                 {"OK", FieldType::Logical, 1, 0},
                                                 {"AM", FieldType::Date, 8, 0},
                                                 {"TEXT", FieldType::Memo, 10, 0}},
                                                "S");
            for (int i = 0; i < records; ++i) {
                a->appendBlank();
                a->replace("NAME", Value::text("name" + std::to_string(i * 7 % 13)));
                a->replace("NR", Value::number(i * 1.5));
                a->replace("OK", Value::logical(i % 2));
                a->replace("AM", Value::date(2450000 + i));
                if (i % 3 != 1) a->replaceMemo("TEXT", std::string(10 + i * 11, char('a' + i % 26)), i % 5 == 0);
                if (i % 4 == 3) a->deleteRecord();
            }
            a->indexOn("NAME", dir / "S.CDX", "NAME");
        }
        const std::string changes[] = {std::string("\x05\x02\x00\x06\x03\x05\x01\x04\x00\x02\x05\x06", 12),
                                       std::string("\x00\x00\x02\x0a\x03\x0b\x05\x47\x00\x06\x02\x05", 12)};
        for (const auto& c : changes) {
            put(out, n++, fuzz::joinWriteInput(slurp(dir / "S.DBF"), slurp(dir / "S.FPT"), slurp(dir / "S.CDX"), c));
            put(out, n++, fuzz::joinWriteInput(slurp(dir / "S.DBF"), slurp(dir / "S.FPT"), "", c));
        }
    }
    // Tables given by their DBF; the memo file and index beside them, in either case, go along.
    auto beside = [](fs::path p, const char* upper, const char* lower) {
        p.replace_extension(upper);
        if (fs::exists(p)) return slurp(p);
        p.replace_extension(lower);
        return fs::exists(p) ? slurp(p) : std::string();
    };
    for (int i = 2; i < argc; ++i)
        put(out, n++,
            fuzz::joinWriteInput(slurp(argv[i]), beside(argv[i], ".FPT", ".fpt"), beside(argv[i], ".CDX", ".cdx"),
                                 std::string("\x02\x05\x06\x00\x03\x05", 6)));
    std::printf("%d seeds\n", n);
    return 0;
}
