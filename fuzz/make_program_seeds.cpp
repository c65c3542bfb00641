// Writes the fixed program folder and the seed corpora of the targets that run the program's own routines, from the
// real catalog and fine table:
//   make_program_seeds OUTDIR FRAGEN.DBF BUSSRECH.DBF
// OUTDIR/program: a small catalog (a few questions of every theme, value questions among them) and both learners'
// tables; OUTDIR/corpus-update, corpus-fines, corpus-learning: inputs in each target's format.
#include <cstdio>
#include <set>
#include <vector>

#include "catalog/tables.h"
#include "program_folder.h"
#include "store/byteorder.h"
#include "store/workarea.h"

namespace fs = std::filesystem;
using store::FieldType;
using store::Value;

namespace {

void copyRecord(const store::Table& from, store::WorkArea& to) {
    to.appendBlank();
    for (int i = 0; i < from.fieldCount(); ++i) {
        const store::FieldDef& f = from.fieldDef(i);
        if (to.fieldIndex(f.name) < 0) continue;
        if (f.type == FieldType::Memo)
            to.replaceMemo(f.name, from.memo(i), f.name == "PICTURE");
        else
            to.replace(f.name, from.fieldValue(i));
    }
}

// The records of `from` chosen by number, written as a new table `dbf` with the fields of `fields`.
void writeTable(const fs::path& dbf, std::vector<store::FieldDef> fields, store::Table& from,
                const std::vector<std::uint32_t>& records) {
    std::error_code ec;
    fs::remove(dbf, ec);
    fs::remove(fs::path(dbf).replace_extension(".FPT"), ec);
    store::Session s;
    store::WorkArea* a = s.create(dbf, std::move(fields), "OUT");
    if (!a) std::exit(1);
    for (std::uint32_t r : records) {
        from.goTo(r);
        copyRecord(from, *a);
    }
}

std::vector<store::FieldDef> fieldsOf(const store::Table& t) {
    std::vector<store::FieldDef> out;
    for (int i = 0; i < t.fieldCount(); ++i)
        out.push_back(t.fieldDef(i));
    return out;
}

void put(const fs::path& corpus, const std::string& name, const std::string& bytes) {
    fs::create_directories(corpus);
    fuzz::writeString(corpus / name, bytes);
}

std::string updateInput(const fs::path& dir) {
    const std::string dbf = fuzz::readAll(dir / "FRUPDATE.DBF");
    std::string out(4, '\0');
    store::endian::putLE32(out.data(), static_cast<std::uint32_t>(dbf.size()));
    return out + dbf + fuzz::readAll(dir / "FRUPDATE.FPT");
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: make_program_seeds OUTDIR FRAGEN.DBF BUSSRECH.DBF\n");
        return 2;
    }
    const fs::path out = argv[1];
    const fs::path program = out / "program";
    fs::create_directories(program);
    store::setErrorCallback([](const store::StoreError& e) { std::fprintf(stderr, "%s\n", e.message.c_str()); });

    auto real = store::Table::open(argv[2], store::Table::Mode::SharedRead);
    if (!real) return 1;
    // Two questions of every theme and four value questions, pictures small enough to keep the inputs small.
    std::vector<std::uint32_t> chosen, spare;
    std::map<int, int> perTheme;
    int values = 0;
    const int thema = real->fieldIndex("THEMA"), wert = real->fieldIndex("MC_WERT"),
              picture = real->fieldIndex("PICTURE");
    for (std::uint32_t r = 1; r <= real->recCount(); ++r) {
        real->goTo(r);
        if (real->memo(picture).size() > 6000) continue;
        const int t = int(real->fieldValue(thema).asNumber());
        const bool value = !real->fieldValue(wert).asText().empty() && real->fieldValue(wert).asText() != "          ";
        if (value && values < 4) {
            ++values;
            chosen.push_back(r);
        } else if (!value && perTheme[t] < 2) {
            ++perTheme[t];
            chosen.push_back(r);
        } else if (spare.size() < 6) {
            spare.push_back(r);
        }
    }
    writeTable(program / "FRAGEN.DBF", catalog::fragenFields(), *real, chosen);
    for (const char* name : {"LOCAL1", "LOCAL2"})
        if (catalog::MAKELOCAL(program, name) == catalog::MakeLocalResult::Failed) return 1;

    // LOCAL1 with a learner's history: some questions answered, right and wrong.
    {
        store::Session s;
        store::WorkArea* a = s.use(program / "LOCAL1.DBF", "DLOC");
        int n = 0;
        for (a->goTop(); !a->eof(); a->skip(), ++n) {
            const int right = n % 3, wrong = n % 4;
            a->replace("RICHTIG", Value::number(right));
            a->replace("FALSCH", Value::number(wrong));
            a->replace("ANTWORTEN", Value::number(right + wrong));
            a->replace("ZULETZT", Value::text(right + wrong ? std::to_string(10 + n * 7 % 50) : "  "));
        }
    }
    const std::string local1 = fuzz::readAll(program / "LOCAL1.DBF");
    const std::string local2 = fuzz::readAll(program / "LOCAL2.DBF");
    int seed = 0;
    for (const std::string* table : {&local1, &local2})
        for (std::uint8_t cls : {2, 7, 11})
            for (std::uint8_t theme : {0, 3, 8}) {
                ++seed;
                put(out / "corpus-learning", "seed" + std::to_string(seed),
                    std::string{char(cls), char(theme), char(seed * 37)} + *table);
            }

    // Updates: real questions new to the small catalog, and changes to questions it has.
    const fs::path work = fuzz::scratch();
    {
        std::vector<std::uint32_t> records = spare;
        records.insert(records.end(), chosen.begin(), chosen.begin() + 3);
        writeTable(work / "FRUPDATE.DBF", catalog::fragenFields(), *real, records);
        store::Session s;
        store::WorkArea* u = s.use(work / "FRUPDATE.DBF", "DFRU");
        u->goTo(u->recCount() - 2);
        u->replace("THEMA", Value::number(0)); // deletes it
        u->goTo(u->recCount() - 1);
        u->replace("OK2", Value::logical(!u->logical("OK2")));
        u->replaceMemo("FRAGE", "", false);
        u->goTo(u->recCount());
        u->replaceMemo("ANTW3", "", false);
        u->replace("MC_ANZAHL", Value::number(2));
    }
    put(out / "corpus-update", "changes", updateInput(work));
    writeTable(work / "FRUPDATE.DBF", catalog::fragenFields(), *real, chosen);
    put(out / "corpus-update", "same", updateInput(work));
    writeTable(work / "FRUPDATE.DBF", catalog::fragenFields(), *real, {spare.front()});
    put(out / "corpus-update", "one", updateInput(work));

    // The fine table with the first rows of every kind: the whole table would make each input many times slower.
    auto fines = store::Table::open(argv[3], store::Table::Mode::SharedRead);
    if (!fines) return 1;
    std::vector<std::uint32_t> fewRows;
    std::map<int, int> perKind;
    const int type = fines->fieldIndex("TYPE");
    for (std::uint32_t r = 1; r <= fines->recCount(); ++r) {
        fines->goTo(r);
        if (perKind[int(fines->fieldValue(type).asNumber())]++ < 3) fewRows.push_back(r);
    }
    writeTable(work / "BUSSRECH.DBF", fieldsOf(*fines), *fines, fewRows);
    const std::string few = fuzz::readAll(work / "BUSSRECH.DBF");
    put(out / "corpus-fines", "inside", std::string("\x00\x0a\x00\x19\x00\x00\x00\x00", 8) + few);
    put(out / "corpus-fines", "outside", std::string("\x01\x15\x32\x0a\x10\x03\x00\x00", 8) + few);
    std::printf("catalog %zu questions, %zu seeds of learning state\n", chosen.size(), std::size_t(seed));
    return 0;
}
