#include "catalog/update.h"

#include <array>
#include <fstream>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <QDate>
#include <QString>

#include <fcntl.h>
#include <unistd.h>

#include "catalog/runfiles.h"
#include "catalog/tables.h"
#include "core/context.h"
#include "store/error.h"
#include "store/filecommit.h"
#include "store/fileio.h"
#include "store/format.h"
#include "store/workarea.h"

namespace catalog {

namespace fs = std::filesystem;
using store::FieldDef;
using store::FieldType;
using store::Value;
using store::WorkArea;

namespace {

const QString kTitle = QStringLiteral("Update");
const std::string kCrLf = "\r\n";

QString fromUtf8(const std::string& s) {
    return QString::fromStdString(s);
}

// While the import runs, the engine's reports are collected instead of handed on: the import itself tells the
// user what went wrong, once, and what it did about it.
class Reports {
public:
    Reports() {
        m_previous = store::setErrorCallback([this](const store::StoreError& e) { m_list.push_back(e); });
    }
    ~Reports() { store::setErrorCallback(std::move(m_previous)); }
    Reports(const Reports&) = delete;
    Reports& operator=(const Reports&) = delete;

    bool any() const { return !m_list.empty(); }
    std::string first() const { return m_list.empty() ? std::string() : m_list.front().message; }

private:
    store::ErrorCallback m_previous;
    std::vector<store::StoreError> m_list;
};

// Opens the update and reads every field of every record once, memos included, so that a damaged or half
// written table shows itself before the catalog is changed. Empty when usable; otherwise why not.
std::string checkUpdate(store::Session& session, const fs::path& dbf, const Reports& reports) {
    WorkArea* dfru = session.use(dbf, "DFRU");
    if (!dfru) return reports.first();
    store::Table& table = dfru->table();
    if (std::string fault = structureFault(table, fragenFields(), "FRUPDATE.DBF"); !fault.empty()) return fault;
    for (std::uint32_t r = 1; r <= table.recCount() && !reports.any(); ++r) {
        table.goTo(r);
        for (int i = 0; i < table.fieldCount(); ++i)
            (void)table.fieldValue(i);
    }
    table.goTo(1);
    return reports.first();
}

void removeFile(const core::Context& ctx, std::string_view name) {
    std::error_code ec;
    fs::remove(ctx.filePath(name), ec);
}

// Moves an unusable update out of the way under REJECTED_UPDATE; true when FRUPDATE.DBF is gone.
bool setAside(const core::Context& ctx) {
    std::error_code ec;
    const std::string target(REJECTED_UPDATE);
    for (const char* ext : {".DBF", ".FPT", ".CDX"}) // an older rejected set must not pair with this one
        removeFile(ctx, target + ext);
    bool moved = true;
    for (const char* ext : {".DBF", ".FPT", ".CDX"}) {
        const fs::path source = ctx.filePath(std::string("FRUPDATE") + ext);
        if (!fs::exists(source, ec)) continue;
        fs::rename(source, ctx.folder() / (target + ext), ec);
        if (ec && std::string_view(ext) == ".DBF") moved = false;
    }
    return moved;
}

void rejectUpdate(core::Context& ctx, const std::string& reason) {
    const bool moved = setAside(ctx);
    QString message = QStringLiteral("Das Update FRUPDATE.DBF kann nicht eingespielt werden:\r%1\r\r"
                                     "Die Fragendatenbank bleibt unverändert.")
                          .arg(fromUtf8(reason));
    if (moved)
        message += QStringLiteral(" Die Update-Datei ist als %1.DBF aufbewahrt.")
                       .arg(QString::fromLatin1(REJECTED_UPDATE.data(), REJECTED_UPDATE.size()));
    core::WARNBOX(ctx, message, kTitle);
}

struct Tally {
    int records = 0;
    int deleted = 0;
    int added = 0;
    int texts = 0;
    int pictures = 0;
    std::array<int, 3> flags{};
    std::array<int, 3> answers{};
};

std::string logbook(const QDate& date, const std::string& lines, const Tally& t) {
    std::string s = "Logbuch des Fragenupdate vom: " + date.toString(QStringLiteral("dd.MM.yyyy")).toStdString() +
                    kCrLf + kCrLf + "Folgende Fragenummern wurden aktualisiert:" + kCrLf + kCrLf + lines + kCrLf +
                    "Es wurden " + std::to_string(t.records) + " Fragen aktualisiert." + kCrLf + kCrLf;
    const std::pair<const char*, int> summary[] = {
        {"   Gel\xF6scht: ", t.deleted}, {"Neue Fragen: ", t.added},      {" Fragetexte: ", t.texts},
        {"     Flag 1: ", t.flags[0]},   {"     Flag 2: ", t.flags[1]},   {"     Flag 3: ", t.flags[2]},
        {"  Antwort 1: ", t.answers[0]}, {"  Antwort 2: ", t.answers[1]}, {"  Antwort 3: ", t.answers[2]},
        {"     Bilder: ", t.pictures},
    };
    for (const auto& [label, count] : summary)
        s += label + std::to_string(count) + kCrLf;
    return s;
}

// The fields of the current update record that act on the current catalog record, in the order of the
// takeover table; appends the log marker of each counted field to `line`.
void takeOver(WorkArea& dfrg, const store::Table& update, std::string& line, Tally& tally) {
    auto value = [&](std::string_view field) { return update.fieldValue(update.fieldIndex(field)); };
    auto memo = [&](std::string_view field) { return update.memo(update.fieldIndex(field)); };

    dfrg.replace("THEMA", value("THEMA"));
    static const std::array<const char*, 3> flags = {"OK1", "OK2", "OK3"};
    for (std::size_t k = 0; k < flags.size(); ++k) {
        const Value v = value(flags[k]);
        if (v.asLogical() != dfrg.logical(flags[k])) {
            line += " Flag" + std::to_string(k + 1);
            ++tally.flags[k];
        }
        dfrg.replace(flags[k], v);
    }
    for (const char* field : {"MC_VOR", "MC_WERT", "MC_NACH"})
        dfrg.replace(field, value(field));
    for (const std::string& field : KLASSEN_FELDER)
        dfrg.replace(field, value(field));
    dfrg.replace("BITMAP", value("BITMAP"));

    if (const std::string picture = memo("PICTURE"); !picture.empty()) {
        dfrg.replaceMemo("PICTURE", picture, true);
        line += " Bild";
        ++tally.pictures;
    }
    if (const std::string text = memo("FRAGE"); !text.empty()) {
        dfrg.replaceMemo("FRAGE", text, false);
        line += " Frage";
        ++tally.texts;
    }
    static const std::array<const char*, 2> answers = {"ANTW1", "ANTW2"};
    for (std::size_t k = 0; k < answers.size(); ++k) {
        if (const std::string text = memo(answers[k]); !text.empty()) {
            dfrg.replaceMemo(answers[k], text, false);
            line += " Antw" + std::to_string(k + 1);
            ++tally.answers[k];
        }
    }
    // A question with one or two options has no third answer: an empty one clears the catalog's quietly.
    const std::string third = memo("ANTW3");
    const double options = value("MC_ANZAHL").asNumber();
    if (third.empty() && (options == 1 || options == 2)) {
        dfrg.replaceMemo("ANTW3", "", false);
    } else {
        dfrg.replaceMemo("ANTW3", third, false);
        line += " Antw3";
        ++tally.answers[2];
    }
}

struct Applied {
    std::string lines;
    Tally tally;
    bool deletedAny = false;
};

// Every update record in physical order against the catalog, which must have its FRAGENR order set.
Applied applyUpdate(WorkArea& dfrg, store::Table& update, const Reports& reports) {
    Applied a;
    const int keyField = update.fieldIndex("FRAGENR");
    const int themeField = update.fieldIndex("THEMA");
    for (std::uint32_t r = 1; r <= update.recCount() && !reports.any(); ++r) {
        update.goTo(r);
        ++a.tally.records;
        const std::string key(update.rawField(keyField));
        const double theme = update.fieldValue(themeField).asNumber();
        std::string line = store::strNumber(a.tally.records, 3); // "***" from 1000 on
        if (!dfrg.seek(key)) {
            dfrg.appendBlank();
            dfrg.replace("FRAGENR", Value::text(key));
            line += " Neu      ";
            ++a.tally.added;
        } else if (theme == 0) {
            line += " Gel\xF6scht ";
            ++a.tally.deleted;
            a.deletedAny = true;
            dfrg.deleteRecord();
        } else {
            // A question with a theme is updated, even when its text is empty in the catalog; and one that an
            // earlier record of this update deleted is brought back, as the records apply in order.
            if (dfrg.table().isDeleted()) dfrg.recall();
            line += " Update ";
        }
        line += key;
        if (theme > 0) takeOver(dfrg, update, line, a.tally);
        a.lines += line + kCrLf;
    }
    return a;
}

// Builds the FRAGENR order of the catalog being prepared under the progress dialog, into the index file beside it,
// and makes it the area's order; the wait cursor goes on once the meter is gone.
bool indexCatalog(core::Context& ctx, WorkArea& dfrg, const fs::path& cdx, std::optional<core::BusyScope>& wait) {
    bool built = false;
    core::MSGMETER(
        ctx,
        [&](core::Progress& progress) {
            progress.setTotal(static_cast<int>(dfrg.recCount()));
            built = dfrg.indexOn(
                "FRAGENR", cdx, "FRAGEN", {},
                [&](std::uint32_t recno, std::uint32_t) {
                    progress.setPosition(static_cast<int>(recno));
                    return !progress.cancelled();
                },
                dfrg.recCount() / 100);
        },
        QStringLiteral("FRAGEN Index aufbauen..."));
    if (!built) return false;
    dfrg.closeIndexes();
    wait.emplace(ctx.messages());
    return dfrg.openIndex(cdx) && dfrg.setOrder("FRAGEN");
}

// The files of the new catalog while it is prepared; whatever is still there when the import gives up goes.
struct Staged {
    fs::path dbf, fpt, cdx;
    std::optional<store::io::TempFile> log;

    void discard() {
        std::error_code ec;
        for (const fs::path& p : {dbf, fpt, cdx})
            if (!p.empty()) fs::remove(p, ec);
        if (log) fs::remove(log->tempPath(), ec);
        log.reset();
    }
};

// A copy of the catalog with its memos under a staging name, open as DFRG; the catalog itself is only read.
WorkArea* stageCatalog(store::Session& session, store::Table& catalog, Staged& staged) {
    std::vector<FieldDef> fields;
    for (int i = 0; i < catalog.fieldCount(); ++i) {
        fields.push_back(catalog.fieldDef(i));
        if (fields.back().type == FieldType::Memo) fields.back().length = 10;
    }
    staged.dbf = store::stagingPath(catalog.path());
    staged.cdx = fs::path(staged.dbf).replace_extension(".CDX");
    WorkArea* dfrg = session.create(staged.dbf, std::move(fields), "DFRG");
    if (!dfrg) return nullptr;
    staged.fpt = dfrg->table().memoPath();
    return dfrg->table().appendFrom(catalog) ? dfrg : nullptr;
}

// The logbook under a temporary name, written and synced; it takes its place with the catalog.
bool stageLogbook(const fs::path& target, const std::string& text, Staged& staged) {
    staged.log = store::io::TempFile::create(target);
    if (!staged.log) return false;
    staged.log->keep();
    if (store::io::writeAt(staged.log->fd(), text.data(), text.size(), 0) && staged.log->sync()) return true;
    store::reportError(target.string(), "FRUPDATE.LOG kann nicht geschrieben werden: " + store::io::lastError());
    return false;
}

// Makes the prepared files durable before the commit points at them.
bool syncFile(const fs::path& file) {
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    const bool ok = fd >= 0 && ::fsync(fd) == 0;
    if (fd >= 0) ::close(fd);
    if (!ok) store::reportError(file.string(), store::io::displayName(file) + ": " + store::io::lastError());
    return ok;
}

void warnFailed(core::Context& ctx, const std::string& reason) {
    core::WARNBOX(ctx,
                  QStringLiteral("Beim Einspielen des Updates ist ein Fehler aufgetreten:\r%1\r\r"
                                 "Die Update-Datei und die Lerndaten bleiben erhalten; das Update wird beim "
                                 "nächsten Start erneut eingespielt.")
                      .arg(fromUtf8(reason)),
                  kTitle);
}

} // namespace

bool recoverInterruptedImport(const core::Context& ctx) {
    return store::recoverCommit(ctx.filePath("FRAGEN.DBF")) != store::Recovery::Failed;
}

UpdateResult importUpdate(core::Context& ctx) {
    // An import that a crash interrupted after its point of no return is finished first: its update is gone then.
    recoverInterruptedImport(ctx);
    const fs::path updateDbf = ctx.filePath("FRUPDATE.DBF");
    std::error_code ec;
    if (!fs::is_regular_file(updateDbf, ec)) return UpdateResult::NoUpdate;

    core::MSGINFO(ctx, QStringLiteral("Es wird nun ein Update für die\rFragendatenbank importiert !"), kTitle);

    // The new catalog is prepared beside the old one, which is only read; one commit then puts it in place together
    // with its logbook and removes the update and the learning state that belonged to the old catalog. A crash or
    // an error before that commit leaves everything as it was, with the update waiting; one after it is finished
    // by the next start.
    const fs::path catalogDbf = ctx.filePath("FRAGEN.DBF");
    std::optional<core::BusyScope> wait;
    Staged staged;
    store::FileCommit commit(catalogDbf);
    {
        Reports reports;
        store::Session session;

        // The whole update is read before anything is prepared, so a broken one is recognised as such.
        if (std::string fault = checkUpdate(session, updateDbf, reports); !fault.empty()) {
            session.closeAll();
            rejectUpdate(ctx, fault);
            return UpdateResult::UpdateRejected;
        }

        WorkArea* old = session.use(catalogDbf, "DORG");
        if (std::string fault = old ? structureFault(old->table(), fragenFields(), "FRAGEN.DBF") : reports.first();
            !fault.empty()) {
            session.closeAll();
            core::WARNBOX(ctx,
                          QStringLiteral("Die Fragendatenbank kann nicht geöffnet werden:\r%1\r\r"
                                         "Das Update wird beim nächsten Start eingespielt.")
                              .arg(fromUtf8(fault)),
                          kTitle);
            return UpdateResult::CatalogUnavailable;
        }

        // Replaced under the name it has, whatever its case.
        fs::path catalogFpt = old->table().memoPath();
        if (catalogFpt.empty()) catalogFpt = fs::path(catalogDbf).replace_extension(".FPT");
        WorkArea* dfrg = stageCatalog(session, old->table(), staged);
        bool ok = dfrg && !reports.any() && indexCatalog(ctx, *dfrg, staged.cdx, wait);
        Applied applied;
        if (ok) {
            applied = applyUpdate(*dfrg, session.find("DFRU")->table(), reports);
            if (applied.deletedAny && !reports.any()) {
                dfrg->closeIndexes(); // the index is not needed any more; no need to keep it current while packing
                dfrg->pack();
            }
        }
        session.closeAll();
        ok = ok && !reports.any() && syncFile(staged.dbf) && (staged.fpt.empty() || syncFile(staged.fpt));
        ok = ok && stageLogbook(ctx.filePath("FRUPDATE.LOG"),
                                logbook(ctx.clock().now().date(), applied.lines, applied.tally), staged);
        if (!ok) {
            std::string reason = reports.first();
            if (reason.empty()) reason = "FRAGEN.DBF: die neue Fassung lässt sich nicht vorbereiten";
            staged.discard();
            wait.reset();
            warnFailed(ctx, reason);
            return UpdateResult::Failed;
        }

        if (!staged.fpt.empty()) commit.replace(staged.fpt, catalogFpt);
        commit.replace(staged.dbf, catalogDbf);
        commit.replace(staged.log->tempPath(), ctx.filePath("FRUPDATE.LOG"));
        for (const char* name :
             {"FRUPDATE.DBF", "FRUPDATE.FPT", "FRUPDATE.CDX", "LOCAL1.DBF", "LOCAL2.DBF", "FRAGEN.CDX"})
            commit.remove(ctx.filePath(name));
        std::error_code gone;
        fs::remove(staged.cdx, gone); // derived from the new catalog, which gets its index when it is next needed

        const store::FileCommit::Result result = commit.run();
        if (result != store::FileCommit::Result::Done) {
            const std::string reason = reports.first();
            wait.reset();
            if (result == store::FileCommit::Result::NotStarted) {
                staged.discard();
                warnFailed(ctx, reason);
            } else {
                core::WARNBOX(ctx,
                              QStringLiteral("Das Update wurde eingespielt, lässt sich aber nicht ganz abschließen:"
                                             "\r%1\r\rDas wird beim nächsten Start nachgeholt.")
                                  .arg(fromUtf8(reason)),
                              kTitle);
            }
            return UpdateResult::Failed;
        }
        staged.log.reset();
    }

    MAKELOCAL(ctx, "LOCAL1");
    // Whoever is logged in keeps a table to work on; user 2's table would otherwise be missing until the next login.
    const std::string active = ctx.login().CS_LOCAL.toStdString();
    if (!active.empty() && active != "LOCAL1") MAKELOCAL(ctx.folder(), active);
    return UpdateResult::Imported;
}

} // namespace catalog
