#include "catalog/startcheck.h"

#include <QString>

#include <system_error>
#include <vector>

#include "catalog/runfiles.h"
#include "catalog/tables.h"
#include "core/context.h"
#include "store/error.h"
#include "store/table.h"

namespace catalog {

namespace fs = std::filesystem;

namespace {

// The engine's first report while the object lives, instead of handing it on.
class FirstReport {
public:
    FirstReport() {
        m_previous = store::setErrorCallback([this](const store::StoreError& e) {
            if (m_first.empty()) m_first = e.message;
        });
    }
    ~FirstReport() { store::setErrorCallback(std::move(m_previous)); }
    FirstReport(const FirstReport&) = delete;
    FirstReport& operator=(const FirstReport&) = delete;
    const std::string& first() const { return m_first; }

private:
    store::ErrorCallback m_previous;
    std::string m_first;
};

std::optional<fs::path> existing(const fs::path& dir, const std::string& name) {
    std::error_code ec;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string have = it->path().filename().string();
        if (have.size() == name.size() &&
            QString::fromStdString(have).compare(QString::fromStdString(name), Qt::CaseInsensitive) == 0)
            return it->path();
    }
    return std::nullopt;
}

std::uint32_t recordsOf(const fs::path& dbf) {
    FirstReport quiet;
    auto t = store::Table::open(dbf, store::Table::Mode::SharedRead);
    return t ? t->recCount() : 0;
}

QString fromUtf8(const std::string& s) {
    return QString::fromStdString(s);
}

} // namespace

std::string catalogFault(const fs::path& dir) {
    const auto dbf = existing(dir, "FRAGEN.DBF");
    if (!dbf) return "FRAGEN.DBF fehlt";
    FirstReport report;
    auto t = store::Table::open(*dbf, store::Table::Mode::SharedRead);
    if (!t) return report.first().empty() ? "FRAGEN.DBF lässt sich nicht öffnen" : report.first();
    if (t->memoPath().empty()) return "FRAGEN.DBF hat keine Memodatei FRAGEN.FPT";
    return structureFault(*t, fragenFields(), "FRAGEN.DBF");
}

std::string learningTableFault(const fs::path& dbf, std::uint32_t catalogRecords) {
    const std::string name = dbf.filename().string();
    std::error_code ec;
    const auto size = fs::file_size(dbf, ec);
    if (ec) return name + " lässt sich nicht lesen";
    if (size == 0) return name + " ist leer (0 Bytes)";
    FirstReport report;
    auto t = store::Table::open(dbf, store::Table::Mode::SharedRead);
    if (!t) return report.first().empty() ? name + " lässt sich nicht öffnen" : report.first();
    if (std::string fault = structureFault(*t, localFields(), name); !fault.empty()) return fault;
    // The engine accepts a file longer than its records; a learning-state table never grows after its creation, so
    // anything but the records and the end mark means the header no longer tells the truth.
    const std::uint64_t expected = t->headerLength() + std::uint64_t(t->recCount()) * t->recordLength();
    if (size != expected && size != expected + 1)
        return name + ": die Größe passt nicht zum Kopf (" + std::to_string(t->recCount()) + " Sätze zu " +
               std::to_string(t->recordLength()) + " Bytes ergeben " + std::to_string(expected) +
               " Bytes, die Datei hat " + std::to_string(size) + ")";
    if (t->recCount() == 0 && catalogRecords > 0) return name + " enthält keine Fragen";
    return {};
}

std::optional<fs::path> setAsideTable(const fs::path& dbf) {
    const std::string stem = dbf.stem().string(), ext = dbf.extension().string();
    for (int n = 1; n < 1000; ++n) {
        const std::string candidate = stem + "_defekt" + std::to_string(n) + ext;
        if (existing(dbf.parent_path(), candidate)) continue;
        std::error_code ec;
        fs::rename(dbf, dbf.parent_path() / candidate, ec);
        if (ec) return std::nullopt;
        return dbf.parent_path() / candidate;
    }
    return std::nullopt;
}

bool prepareCatalog(core::Context& ctx) {
    const std::string fault = catalogFault(ctx.folder());
    ctx.catalogProblem = fromUtf8(fault);
    if (!fault.empty()) {
        core::WARNBOX(ctx,
                      QStringLiteral("Die Fragendatenbank kann nicht gelesen werden:\r%1\r\r"
                                     "Training und Prüfung sind nicht verfügbar, bis sie ersetzt ist.")
                          .arg(ctx.catalogProblem),
                      QStringLiteral("Fragendatenbank"));
        return false;
    }

    const std::uint32_t questions = recordsOf(ctx.filePath("FRAGEN.DBF"));
    for (const char* name : {"LOCAL1.DBF", "LOCAL2.DBF"}) {
        const auto dbf = existing(ctx.folder(), name);
        if (!dbf) continue;
        const std::string why = learningTableFault(*dbf, questions);
        if (why.empty()) continue;
        const auto aside = setAsideTable(*dbf);
        QString message = QStringLiteral("Die Lerndaten %1 sind beschädigt:\r%2\r\r")
                              .arg(fromUtf8(dbf->filename().string()), fromUtf8(why));
        if (aside)
            message += QStringLiteral("Sie sind als %1 aufbewahrt und werden neu angelegt; die bisherigen "
                                      "Lernstände sind darin nicht enthalten.")
                           .arg(fromUtf8(aside->filename().string()));
        else
            message += QStringLiteral("Sie lassen sich nicht beiseitelegen und bleiben, wie sie sind.");
        core::WARNBOX(ctx, message, QStringLiteral("Lerndaten"));
    }

    MAKELOCAL(ctx, "LOCAL1");
    // A learner logged in at the start keeps a table to work on when theirs was set aside.
    const std::string active = ctx.login().CS_LOCAL.toStdString();
    if (!active.empty() && active != "LOCAL1") MAKELOCAL(ctx.folder(), active);
    return true;
}

} // namespace catalog
