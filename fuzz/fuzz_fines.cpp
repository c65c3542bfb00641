// The fine calculator over a BUSSRECH.DBF made of the input: the table opened with its four lists and every entry
// looked up. Input: 8 bytes of choices (inside/outside, the values typed), then the table's bytes.
#include <cmath>

#include "calc/fines.h"
#include "platform/programdir.h"
#include "program_folder.h"

namespace fs = std::filesystem;
using calc::bussrech::FineTable;
using calc::bussrech::Result;

namespace {

// Every value the dialog can show is a number it can print.
void checkResult(const Result& r) {
    fuzz::require(std::isfinite(r.NBUSSGELD), "fine not a number");
    (void)r.fineText();
    (void)r.pointsText();
    (void)r.banText();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 8) return 0;
    const std::string_view table(reinterpret_cast<const char*>(data) + 8, size - 8);
    const fs::path dir = fuzz::freshFolder({});
    fuzz::writeString(dir / "BUSSRECH.DBF", table);

    const platform::ProgramDir program(QString::fromStdString(dir.string()));
    QString error;
    {
        std::unique_ptr<FineTable> fines = FineTable::open(program, &error);
        fuzz::require(fines ? error.isEmpty() : error.contains(QStringLiteral("Bußgeldrechner")),
                      "no message for a table that does not open");
        if (fines) {
            const int place = data[0] % 2 ? calc::bussrech::Ausserorts : calc::bussrech::Innerorts;
            const double speed = data[1] * 2.0 + data[2] / 100.0; // km/h over the limit, driven
            const double alcohol = data[3] / 50.0;
            constexpr int kMost = 64; // enough entries to reach every kind of row without making an input slow
            for (int i = 0; i < fines->AFZEUG().size() && i < kMost; ++i)
                checkResult(fines->speeding(i, place, speed));
            for (int i = 0; i < fines->AABSTA().size() && i < kMost; ++i)
                checkResult(fines->distance(i, speed + data[4]));
            for (int i = 0; i < fines->AALKOH().size() && i < kMost; ++i)
                checkResult(fines->alcohol(i, alcohol));
            for (int i = 0; i < fines->ADIVER().size() && i < kMost; ++i) {
                const Result r = fines->miscellaneous(i);
                checkResult(r);
                fuzz::require(!r.groupTitle || (r.NBUSSGELD == 0 && r.NPUNKTE == 0 && r.NFVERBOT == 0),
                              "group title with a result");
            }
            // Outside every list: nothing.
            const Result none = fines->miscellaneous(-1 - data[5]);
            fuzz::require(none.NBUSSGELD == 0 && none.text.isEmpty(), "result outside the list");
        }
    }
    // The calculator never changes the table and leaves no index behind.
    fuzz::require(fuzz::readAll(dir / "BUSSRECH.DBF") == table, "fine table changed");
    fuzz::require(!fs::exists(dir / "BUSSRECH.CDX"), "temporary index left behind");
    return 0;
}
