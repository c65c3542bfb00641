// DBF header, field descriptors and records: open whatever bytes come and read every field of every record.
#include "fuzz_common.h"
#include "store/table.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto path = fuzz::scratch() / "T.DBF";
    fuzz::writeBytes(path, data, size);
    std::filesystem::remove(fuzz::scratch() / "T.FPT");
    auto table = store::Table::open(path, store::Table::Mode::SharedRead);
    if (!table)
        return 0;
    for (std::uint32_t r = 1; r <= table->recCount() && r <= 2000; ++r) {
        table->goTo(r);
        (void)table->isDeleted();
        for (int f = 0; f < table->fieldCount(); ++f) {
            (void)table->rawField(f);
            (void)table->fieldValue(f);
        }
    }
    return 0;
}
