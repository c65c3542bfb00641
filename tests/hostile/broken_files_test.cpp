// Damaged program files (tests/data/broken/, written by make_broken.py) through the routines that meet them in the
// program: the start-up check, the update import, the fine calculator, the training's selection and the statistics'
// count. Each gives its one message, naming the file; none crashes or hangs, and nothing of the learner's is lost.
#include <gtest/gtest.h>

#include <set>

#include "calc/fines.h"
#include "catalog/startcheck.h"
#include "catalog/update.h"
#include "core/context.h"
#include "stats/statistics.h"
#include "store/error.h"
#include "store/filecommit.h"
#include "support/scripted.h"
#include "support/testdir.h"
#include "training/run.h"

namespace {

namespace fs = std::filesystem;

enum class Routine { Start, Import, Fines, Training, Statistics };

struct Case {
    const char* folder;
    Routine routine;
    std::string message; // as shown: "title: text" of a message box, the engine's text for the error dialog
    std::vector<const char*> removed = {}; // files of the sound folder that the case lacks
};

const fs::path kBroken = fs::path(LW_TEST_DATA_DIR) / "broken";

std::string shownMessage(const lwtest::ScriptedMessages& messages) {
    for (const auto& m : messages.shown())
        if (m.kind == lwtest::ScriptedMessages::Kind::Warning)
            return (m.title + QStringLiteral(": ") + m.text).toStdString();
    return {};
}

// `engineReport` is the engine's first report while the routine runs: what the error dialog would show.
std::string run(Routine routine, core::Context& ctx, const lwtest::Scripted& s, const std::string& engineReport) {
    switch (routine) {
    case Routine::Start:
        catalog::prepareCatalog(ctx);
        return shownMessage(*s.messages);
    case Routine::Import:
        catalog::importUpdate(ctx);
        return shownMessage(*s.messages);
    case Routine::Fines: {
        QString error;
        const bool opened = calc::bussrech::FineTable::open(ctx.dir(), &error) != nullptr;
        EXPECT_EQ(opened, error.isEmpty());
        return error.toStdString();
    }
    case Routine::Training: {
        training::Run r(ctx);
        r.begin(QStringLiteral("B / BE"), 1, QStringLiteral("\"Thema\""));
        const bool ok = r.CHECKDBF(QStringLiteral("B / BE"), 1);
        EXPECT_EQ(ok, engineReport.empty());
        if (ok) {
            // Whatever the files, the run shows only questions of the catalog, each of its class and theme.
            r.GETDATA();
            EXPECT_EQ(r.state().NVON, 2);
            EXPECT_EQ(r.state().CFRGNR.trimmed(), QStringLiteral("1.1.01-801")); // never answered right: first
            EXPECT_EQ(r.state().CFRAGE, QStringLiteral("2?"));
        }
        return engineReport;
    }
    case Routine::Statistics: {
        stats::Overview overview(ctx);
        const bool ok = overview.CHECKDBF(QStringLiteral("B / BE"));
        EXPECT_EQ(ok, engineReport.empty());
        return engineReport;
    }
    }
    return {};
}

std::string bytesOf(const fs::path& p) {
    return fs::exists(p) ? lwtest::readFile(p) : std::string();
}

// The frames of the messages; the reason inside names the file and what is wrong with it.
std::string catalogUnreadable(const std::string& reason) {
    return "Fragendatenbank: Die Fragendatenbank kann nicht gelesen werden:\r" + reason +
           "\r\rTraining und Prüfung sind nicht verfügbar, bis sie ersetzt ist.";
}
std::string learnerSetAside(const std::string& reason) {
    return "Lerndaten: Die Lerndaten LOCAL1.DBF sind beschädigt:\r" + reason +
           "\r\rSie sind als LOCAL1_defekt1.DBF aufbewahrt und werden neu angelegt; die bisherigen Lernstände sind "
           "darin nicht enthalten.";
}
std::string updateRejected(const std::string& reason) {
    return "Update: Das Update FRUPDATE.DBF kann nicht eingespielt werden:\r" + reason +
           "\r\rDie Fragendatenbank bleibt unverändert. Die Update-Datei ist als FRUPDERR.DBF aufbewahrt.";
}
std::string finesClosed(const std::string& reason) {
    return reason + "\nDer Bußgeldrechner kann nicht geöffnet werden.";
}

const std::string kLocalCut = "LOCAL1.DBF ist abgeschnitten: der Kopf nennt 4 Sätze zu 72 Bytes, das sind 1025 Bytes, "
                              "die Datei hat nur 966";
const std::string kLocalTooHigh = "LOCAL1.DBF ist abgeschnitten: der Kopf nennt 9000 Sätze zu 72 Bytes, das sind "
                                  "648737 Bytes, die Datei hat nur 1026";
const std::string kLocalLies = "LOCAL1.DBF ist abgeschnitten: der Kopf nennt 40 Sätze zu 72 Bytes, das sind 3617 "
                               "Bytes, die Datei hat nur 738";
const std::string kLocalEmpty = "LOCAL1.DBF ist keine Tabelle: die Datei hat nur 0 Bytes, der Kopf allein braucht 32";
const std::string kLocalHeader = "LOCAL1.DBF ist abgeschnitten: der Kopf ist 60000 Bytes lang, die Datei hat nur 1026";
const std::string kCatalogCut = "FRAGEN.DBF ist abgeschnitten: der Kopf nennt 4 Sätze zu 204 Bytes, das sind 1841 "
                                "Bytes, die Datei hat nur 1692";

const std::vector<Case> kCases = {
    // The start-up check: a catalog that cannot be read is named; a damaged learner's table is set aside.
    {"catalog_empty", Routine::Start,
     catalogUnreadable("FRAGEN.DBF ist keine Tabelle: die Datei hat nur 0 Bytes, der Kopf allein braucht 32")},
    {"catalog_cut", Routine::Start, catalogUnreadable(kCatalogCut)},
    {"catalog_without_field", Routine::Start, catalogUnreadable("FRAGEN.DBF: das Feld OK3 fehlt")},
    {"catalog_header_garbage", Routine::Start,
     catalogUnreadable("FRAGEN.DBF hat eine unbekannte Dateiart (Kennbyte 0x46)")},
    {"base", Routine::Start, catalogUnreadable("Die Memodatei FRAGEN.FPT zu FRAGEN.DBF fehlt"), {"FRAGEN.FPT"}},
    {"local_empty", Routine::Start, learnerSetAside("LOCAL1.DBF ist leer (0 Bytes)")},
    {"local_cut", Routine::Start, learnerSetAside(kLocalCut)},
    {"local_count_lies", Routine::Start, learnerSetAside(kLocalLies)},
    {"local_count_too_high", Routine::Start, learnerSetAside(kLocalTooHigh)},
    {"local_counter_as_text", Routine::Start, learnerSetAside("LOCAL1.DBF: das Feld RICHTIG hat den Typ C statt N")},
    {"local_without_field", Routine::Start, learnerSetAside("LOCAL1.DBF: das Feld ZULETZT fehlt")},
    {"local_header_past_end", Routine::Start, learnerSetAside(kLocalHeader)},
    // The update import: a broken update is refused whole and kept aside.
    {"update_without_fpt", Routine::Import, updateRejected("Die Memodatei FRUPDATE.FPT zu FRUPDATE.DBF fehlt")},
    {"update_memo_past_end", Routine::Import,
     updateRejected("Memo in Block 9 liegt hinter dem Ende von FRUPDATE.FPT (576 Bytes)")},
    {"update_cut", Routine::Import,
     updateRejected("FRUPDATE.DBF ist abgeschnitten: der Kopf nennt 2 Sätze zu 204 Bytes, das sind 1433 Bytes, die "
                    "Datei hat nur 1334")},
    {"update_wrong_type", Routine::Import, updateRejected("FRUPDATE.DBF: das Feld THEMA hat den Typ C statt N")},
    {"update_empty", Routine::Import,
     updateRejected("FRUPDATE.DBF ist keine Tabelle: die Datei hat nur 0 Bytes, der Kopf allein braucht 32")},
    {"update_memo_block_size_zero", Routine::Import, updateRejected("Memodatei FRUPDATE.FPT nennt die Blockgröße 0")},
    // The fine calculator does not open on a table it cannot use.
    {"fines_empty", Routine::Fines,
     finesClosed("Die Bußgeldtabelle BUSSRECH.DBF kann nicht gelesen werden (BUSSRECH.DBF ist keine Tabelle: die "
                 "Datei hat nur 0 Bytes, der Kopf allein braucht 32).")},
    {"fines_without_field", Routine::Fines,
     finesClosed("Die Bußgeldtabelle BUSSRECH.DBF ist beschädigt: das Feld INFO fehlt oder hat den falschen Typ.")},
    {"fines_wrong_type", Routine::Fines,
     finesClosed("Die Bußgeldtabelle BUSSRECH.DBF ist beschädigt: das Feld TYPE fehlt oder hat den falschen Typ.")},
    {"fines_without_kind", Routine::Fines,
     finesClosed("Die Bußgeldtabelle BUSSRECH.DBF ist beschädigt: sie enthält keine Zeile für Alkohol.")},
    {"fines_cut", Routine::Fines,
     finesClosed("Die Bußgeldtabelle BUSSRECH.DBF kann nicht gelesen werden (BUSSRECH.DBF ist abgeschnitten: der Kopf "
                 "nennt 5 Sätze zu 189 Bytes, das sind 1330 Bytes, die Datei hat nur 1131).")},
    {"base", Routine::Fines, finesClosed("Die Bußgeldtabelle BUSSRECH.DBF fehlt im Programmordner."), {"BUSSRECH.DBF"}},
    // A training run and the statistics on files damaged after the start: the error dialog names the file.
    {"local_cut", Routine::Training, kLocalCut},
    {"local_count_too_high", Routine::Training, kLocalTooHigh},
    {"local_header_past_end", Routine::Training, kLocalHeader},
    {"local_counter_as_text", Routine::Training, "LOCAL1.DBF: das Feld RICHTIG hat den Typ C statt N"},
    {"local_empty", Routine::Training, kLocalEmpty},
    {"catalog_cut", Routine::Training, kCatalogCut},
    // An index made for another catalog, whose keys name other records: the run still shows the right questions.
    {"fragen_cdx_of_other_catalog", Routine::Training, ""},
    {"local_cut", Routine::Statistics, kLocalCut},
    {"local_count_too_high", Routine::Statistics, kLocalTooHigh},
    {"local_without_field", Routine::Statistics, "LOCAL1.DBF: das Feld ZULETZT fehlt"},
    {"local_empty", Routine::Statistics, kLocalEmpty},
    {"local_count_lies", Routine::Statistics, kLocalLies},
};

TEST(BrokenFiles, EachGivesItsMessageAndTheLearnersDataStays) {
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.folder);
        lwtest::TempDir dir;
        for (const fs::path& from : {kBroken / "base", kBroken / c.folder})
            for (const auto& e : fs::directory_iterator(from))
                fs::copy_file(e.path(), dir / e.path().filename().string(), fs::copy_options::overwrite_existing);
        for (const char* name : c.removed)
            fs::remove(dir / name);
        const std::string learnerBefore = bytesOf(dir / "LOCAL1.DBF");
        std::set<std::string> before;
        for (const auto& e : fs::directory_iterator(dir.path()))
            before.insert(e.path().filename().string());

        lwtest::ScriptedContext ctx(QString::fromStdString(dir.path().string()));
        std::string engineReport;
        const store::ErrorCallback previous = store::setErrorCallback([&](const store::StoreError& e) {
            if (engineReport.empty()) engineReport = e.message;
        });
        const std::string message = run(c.routine, ctx, ctx.scripted, engineReport);
        store::setErrorCallback(previous);
        EXPECT_EQ(message, c.message);

        // The learner's table is where it was, or set aside under a new name; never gone.
        bool kept = bytesOf(dir / "LOCAL1.DBF") == learnerBefore;
        for (const auto& e : fs::directory_iterator(dir.path()))
            kept = kept || (e.path().filename().string().starts_with("LOCAL1_defekt") &&
                            lwtest::readFile(e.path()) == learnerBefore);
        EXPECT_TRUE(kept);
        // Nothing of the routine's own is left behind.
        for (const auto& e : fs::directory_iterator(dir.path())) {
            const std::string name = e.path().filename().string();
            EXPECT_FALSE(store::isEngineTempName(name)) << name;
            for (const char* temporary : {"LOCAL.CDX", "T_FRAGE.DBF", "T_FRAGE.FPT", "T_FRAGE.CDX", "BUSSRECH.CDX"})
                EXPECT_NE(name, temporary);
        }
    }
}

} // namespace
