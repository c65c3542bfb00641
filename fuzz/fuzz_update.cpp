// The catalog update import over a small catalog: FRUPDATE.DBF and FRUPDATE.FPT made of the input, imported by the
// program's own routine. Input: u32 LE length of the DBF part, the DBF bytes, the rest as FPT (none when empty).
#include "catalog/startcheck.h"
#include "catalog/update.h"
#include "core/context.h"
#include "program_folder.h"
#include "store/byteorder.h"
#include "store/filecommit.h"
#include "store/table.h"
#include "support/scripted.h"

namespace fs = std::filesystem;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 4) return 0;
    std::size_t dbfLength = store::endian::getLE32(data);
    if (dbfLength > size - 4) dbfLength = size - 4;
    const std::string_view dbf(reinterpret_cast<const char*>(data) + 4, dbfLength);
    const std::string_view fpt(reinterpret_cast<const char*>(data) + 4 + dbfLength, size - 4 - dbfLength);

    const fs::path dir = fuzz::freshFolder({"FRAGEN.DBF", "FRAGEN.FPT", "LOCAL1.DBF", "LOCAL2.DBF"});
    fuzz::writeString(dir / "FRUPDATE.DBF", dbf);
    if (!fpt.empty()) fuzz::writeString(dir / "FRUPDATE.FPT", fpt);

    catalog::UpdateResult result;
    {
        core::Context ctx(QString::fromStdString(dir.string()));
        lwtest::useScriptedServices(ctx);
        result = catalog::importUpdate(ctx);
    }

    const auto& fixed = fuzz::fixedFiles();
    if (result == catalog::UpdateResult::Imported) {
        // The new catalog is readable, the learner starts again on it, the update is gone.
        fuzz::require(catalog::catalogFault(dir).empty(), "imported catalog unreadable");
        fuzz::require(!fs::exists(dir / "FRUPDATE.DBF") && fs::exists(dir / "FRUPDATE.LOG"), "update left behind");
        auto catalogTable = store::Table::open(dir / "FRAGEN.DBF", store::Table::Mode::SharedRead);
        fuzz::require(catalogTable != nullptr, "imported catalog does not open");
        fuzz::require(catalog::learningTableFault(dir / "LOCAL1.DBF", catalogTable->recCount()).empty(),
                      "new learning state unusable");
    } else {
        // Whatever went wrong, the catalog and both learners' tables are as they were.
        for (const char* name : {"FRAGEN.DBF", "FRAGEN.FPT", "LOCAL1.DBF", "LOCAL2.DBF"})
            fuzz::require(fuzz::readAll(dir / name) == fixed.at(name), "file changed by a refused import");
        if (result == catalog::UpdateResult::UpdateRejected)
            fuzz::require(fs::exists(dir / "FRUPDERR.DBF") && !fs::exists(dir / "FRUPDATE.DBF"),
                          "rejected update not kept aside");
    }
    for (const auto& e : fs::directory_iterator(dir)) {
        const std::string name = e.path().filename().string();
        fuzz::require(!store::isEngineTempName(name) && name.find(".journal") == std::string::npos,
                      "temporary file left behind");
    }
    return 0;
}
