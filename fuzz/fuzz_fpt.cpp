// FPT memo files: a fixed table whose memo pointers name many blocks, over a memo file made of the input.
#include "fuzz_common.h"
#include "store/table.h"

namespace {

const std::filesystem::path& tablePath() {
    static const std::filesystem::path path = [] {
        auto p = fuzz::scratch() / "M.DBF";
        auto t = store::Table::create(p, {{"NR", store::FieldType::Numeric, 3, 0},
                                          {"TEXT", store::FieldType::Memo, 10, 0},
                                          {"BILD", store::FieldType::Memo, 10, 0}});
        // Records whose memo pointers are written by hand below: blocks 0..63.
        for (int i = 0; i < 64; ++i)
            t->appendBlank();
        t->close();
        return p;
    }();
    return path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto& dbf = tablePath();
    {
        // Point record i's memos at block i (and at a far block) by patching the DBF bytes.
        std::fstream f(dbf, std::ios::in | std::ios::out | std::ios::binary);
        const int header = 32 + 3 * 32 + 1, recLen = 1 + 3 + 10 + 10;
        for (int i = 0; i < 64; ++i) {
            std::string a = std::to_string(i), b = std::to_string(i * 977 + 8);
            a.insert(0, 10 - a.size(), ' ');
            b.insert(0, 10 - b.size(), ' ');
            f.seekp(header + i * recLen + 4);
            f.write(a.data(), 10);
            f.write(b.data(), 10);
        }
    }
    fuzz::writeBytes(fuzz::scratch() / "M.FPT", data, size);
    auto table = store::Table::open(dbf, store::Table::Mode::SharedRead);
    if (!table)
        return 0;
    for (std::uint32_t r = 1; r <= table->recCount(); ++r) {
        table->goTo(r);
        (void)table->memo(1);
        (void)table->memo(2);
    }
    return 0;
}
