// The write path: a possibly damaged table, memo file and index are opened, changed, packed, indexed and closed; the
// engine must then read back exactly what it held before closing, with no journal or temporary file left behind.
#include <cstdlib>

#include "fuzz_common.h"
#include "store/filecommit.h"
#include "store/workarea.h"
#include "write_input.h"

namespace {

namespace fs = std::filesystem;
using store::FieldType;
using store::Value;

unsigned g_errors = 0;

// What a reader sees of the table: every record's mark and fields, memos by their contents. Without deleted records
// when `liveOnly`: what a pack must keep.
std::string digest(store::Table& t, bool liveOnly = false) {
    std::string out;
    for (std::uint32_t r = 1; r <= t.recCount(); ++r) {
        t.goTo(r);
        if (liveOnly && t.isDeleted()) continue;
        out.append(t.isDeleted() ? "*" : " ");
        for (int f = 0; f < t.fieldCount(); ++f) {
            if (t.fieldDef(f).type == FieldType::Memo)
                out.append("m").append(t.memo(f)).append("|");
            else
                out.append(t.rawField(f)).append("|");
        }
    }
    return out;
}

Value valueFor(const store::FieldDef& f, unsigned char b) {
    switch (f.type) {
    case FieldType::Character:
    case FieldType::Memo:
        return Value::text(std::string(b % 40, char('A' + b % 26)));
    case FieldType::Numeric:
        return Value::number((b - 100) * 1.25);
    case FieldType::Logical:
        return Value::logical(b & 1);
    case FieldType::Date:
        return Value::date(2451545 + b);
    }
    return {};
}

void check(bool ok) {
    if (!ok) __builtin_trap();
}

void clearScratch(const fs::path& dir) {
    std::error_code ec;
    for (const char* name : {"T.DBF", "T.FPT", "T.CDX"})
        fs::remove(dir / name, ec);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::WriteInput in;
    if (!fuzz::splitWriteInput(data, size, in)) return 0;
    const fs::path dir = fuzz::scratch();
    store::setErrorCallback([](const store::StoreError&) { ++g_errors; });
    clearScratch(dir);
    fuzz::writeBytes(dir / "T.DBF", reinterpret_cast<const std::uint8_t*>(in.dbf.data()), in.dbf.size());
    if (!in.fpt.empty())
        fuzz::writeBytes(dir / "T.FPT", reinterpret_cast<const std::uint8_t*>(in.fpt.data()), in.fpt.size());
    if (!in.cdx.empty())
        fuzz::writeBytes(dir / "T.CDX", reinterpret_cast<const std::uint8_t*>(in.cdx.data()), in.cdx.size());

    std::string before;
    bool indexed = false;
    std::uint32_t records = 0;
    {
        store::Session session;
        store::WorkArea* a = session.use(dir / "T.DBF", "T");
        if (!a) return 0;
        if (!in.cdx.empty()) a->openIndex(dir / "T.CDX");
        store::Table& t = a->table();
        int memoField = -1, keyField = -1;
        for (int f = 0; f < t.fieldCount(); ++f) {
            if (t.fieldDef(f).type == FieldType::Memo && memoField < 0) memoField = f;
            if ((t.fieldDef(f).type == FieldType::Character || t.fieldDef(f).type == FieldType::Numeric) &&
                keyField < 0)
                keyField = f;
        }
        for (unsigned char b : in.changes) {
            const std::uint32_t count = t.recCount();
            switch (b % 8) {
            case 0:
                if (count < 5000 && a->appendBlank())
                    for (int f = 0; f < t.fieldCount(); ++f)
                        if (t.fieldDef(f).type != FieldType::Memo)
                            a->replace(t.fieldDef(f).name, valueFor(t.fieldDef(f), b));
                break;
            case 1:
                if (count > 0 && a->goTo(1 + b % count) && keyField >= 0)
                    a->replace(t.fieldDef(keyField).name, valueFor(t.fieldDef(keyField), b));
                break;
            case 2:
                if (count > 0 && a->goTo(1 + b % count) && memoField >= 0) {
                    const std::string memo(b * 13u, char(b));
                    if (a->replaceMemo(t.fieldDef(memoField).name, memo, b & 8)) check(t.memo(memoField) == memo);
                }
                break;
            case 3:
                if (count > 0 && a->goTo(1 + b % count)) a->deleteRecord();
                break;
            case 4:
                if (count > 0 && a->goTo(1 + b % count)) a->recall();
                break;
            case 5: {
                // Every live record keeps its fields and memos, unless they were unreadable before.
                const unsigned errors = g_errors;
                const std::string live = digest(t, true);
                const bool readable = g_errors == errors;
                if (a->pack() && readable) check(digest(t) == live);
                break;
            }
            case 6:
                if (keyField >= 0 && a->indexOn(t.fieldDef(keyField).name, dir / "T.CDX", "FZ")) indexed = true;
                break;
            case 7:
                if ((b & 0x40) && a->zap()) check(t.recCount() == 0 && digest(t).empty());
                break;
            }
        }
        check(t.flush());
        before = digest(t);
        records = t.recCount();
    }

    // Whatever the input was, what the engine wrote it must read back unchanged.
    {
        auto t = store::Table::open(dir / "T.DBF", store::Table::Mode::SharedRead);
        check(t != nullptr);
        check(digest(*t) == before);
    }
    if (indexed) {
        auto cdx = store::CdxFile::open((dir / "T.CDX").string(),
                                        [](const std::string&) { return store::KeyType::Character; });
        check(cdx != nullptr);
    }
    // Every commit finished: no journal, no temporary file.
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(dir, ec)) {
        const std::string name = e.path().filename().string();
        check(!store::isEngineTempName(name));
        check(name.find(".journal") == std::string::npos);
    }
    return 0;
}
