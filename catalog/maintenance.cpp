#include "catalog/maintenance.h"

#include <array>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "catalog/crypt.h"
#include "catalog/tables.h"
#include "store/error.h"
#include "store/workarea.h"
#include "core/context.h"

namespace catalog {

namespace fs = std::filesystem;
using store::FieldDef;
using store::FieldType;
using store::Table;
using store::Value;
using store::WorkArea;

namespace {

const std::array<const char*, 4> kTextMemos = {"FRAGE", "ANTW1", "ANTW2", "ANTW3"};

// The picture memo holds the bytes of a bitmap file; every other memo is text.
bool isBinaryMemo(const std::string& field) {
    return field == "PICTURE";
}

// Copies the fields of equal name and type from the current record of `from` into the current record of `to`.
bool copyByName(const Table& from, Table& to) {
    bool ok = true;
    for (int i = 0; i < to.fieldCount(); ++i) {
        const FieldDef& f = to.fieldDef(i);
        const int j = from.fieldIndex(f.name);
        if (j < 0 || from.fieldDef(j).type != f.type) continue;
        if (f.type == FieldType::Memo)
            ok = to.replaceMemo(i, from.memo(j), isBinaryMemo(f.name)) && ok;
        else
            ok = to.replace(i, from.fieldValue(j)) && ok;
    }
    return ok;
}

WorkArea* openCatalog(const core::Context& ctx, store::Session& session) {
    return session.use(ctx.filePath("FRAGEN.DBF"), "DFRG");
}

// The field numbers of `names` in the table; empty after a report when one is missing.
template <std::size_t N> std::vector<int> fieldsOf(const Table& table, const std::array<const char*, N>& names) {
    std::vector<int> indexes;
    for (const char* name : names) {
        const int i = table.fieldIndex(name);
        if (i < 0) {
            store::reportError(table.path().string(),
                               table.path().filename().string() + ": das Feld " + name + " fehlt");
            return {};
        }
        indexes.push_back(i);
    }
    return indexes;
}

using Conversion = std::string (*)(std::string_view, std::string_view);

// Runs the four text memos of every record through `convert`. A memo that comes out the same is not written, so a
// second run leaves the files as they are.
bool convertTexts(core::Context& ctx, Conversion convert) {
    const core::BusyScope wait(ctx.messages());
    store::Session session;
    WorkArea* dfrg = openCatalog(ctx, session);
    if (!dfrg) return false;
    Table& table = dfrg->table();
    const std::vector<int> memos = fieldsOf(table, kTextMemos);
    bool ok = !memos.empty();
    for (std::uint32_t r = 1; ok && r <= table.recCount(); ++r) {
        table.goTo(r);
        for (int field : memos) {
            const std::string before = table.memo(field);
            const std::string after = convert(before, CKEY);
            if (after != before) ok = table.replaceMemo(field, after, false) && ok;
        }
    }
    session.closeAll();
    return ok;
}

std::optional<std::string> readBytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return std::nullopt;
    std::string bytes{std::istreambuf_iterator<char>(in), {}};
    if (in.bad()) return std::nullopt;
    return bytes;
}

// Collects the engine's reports while a command runs; when the command fails, the first of them (or what the command
// was doing) is shown in one warning, so that a failure is never silent.
class Outcome {
public:
    Outcome(core::Context& ctx, QString command) : m_ctx(ctx), m_command(std::move(command)) {
        m_previous = store::setErrorCallback([this](const store::StoreError& e) {
            if (m_first.empty()) m_first = e.message;
        });
    }
    ~Outcome() { restore(); }
    Outcome(const Outcome&) = delete;
    Outcome& operator=(const Outcome&) = delete;

    // The command's result: shown when it is a failure, and passed on.
    bool operator()(bool ok) {
        restore();
        if (ok) return true;
        const QString reason =
            m_first.empty() ? QStringLiteral("Die Fragendatenbank FRAGEN.DBF lässt sich nicht bearbeiten.")
                            : QString::fromStdString(m_first);
        core::WARNBOX(m_ctx, QStringLiteral("%1 ist fehlgeschlagen:\r%2").arg(m_command, reason),
                      QStringLiteral("Pflege"));
        return false;
    }

private:
    void restore() {
        if (m_restored) return;
        m_restored = true;
        store::setErrorCallback(std::move(m_previous));
    }

    core::Context& m_ctx;
    QString m_command;
    bool m_restored = false;
    store::ErrorCallback m_previous;
    std::string m_first;
};

bool makeupdateWork(core::Context& ctx, store::Session& session) {
    WorkArea* dfra = session.find("DFRA");
    if (!dfra) {
        store::reportError("DFRA", "Fragen-Export: der Katalog ist nicht geöffnet");
        return false;
    }
    const core::BusyScope wait(ctx.messages());
    const std::uint32_t recno = dfra->recNo();
    const fs::path catalogPath = dfra->table().path();

    const fs::path updatePath = ctx.filePath("FRUPDATE.DBF");
    std::error_code ec;
    bool ok = true;
    if (!fs::exists(updatePath, ec)) ok = dfra->table().copyStructure(ctx.folder() / "FRUPDATE.DBF");
    session.close("DFRA");

    if (ok) {
        WorkArea* dfup = session.use(ctx.filePath("FRUPDATE.DBF"), "DFUP");
        std::unique_ptr<Table> source = Table::open(catalogPath, Table::Mode::SharedRead);
        ok = dfup && source && source->goTo(recno) && dfup->appendBlank() && copyByName(*source, dfup->table());
        session.close("DFUP");
    }

    dfra = session.use(catalogPath, "DFRA");
    if (!dfra) return false;
    ok = dfra->openIndex(ctx.filePath("FRAGEN.CDX")) && ok;
    dfra->goTo(recno);
    return ok;
}
bool konvtransWork(core::Context& ctx) {
    const core::BusyScope wait(ctx.messages());
    store::Session session;
    WorkArea* dfrg = openCatalog(ctx, session);
    if (!dfrg) return false;
    const fs::path copyPath = ctx.filePath("FRG.DBF");
    WorkArea* dnew = dfrg->table().copyStructure(copyPath) ? session.use(copyPath, "DNEW") : nullptr;
    bool ok = dnew && dnew->zap();
    Table& from = dfrg->table();
    for (std::uint32_t r = 1; ok && r <= from.recCount(); ++r) {
        from.goTo(r);
        ok = dnew->appendBlank() && copyByName(from, dnew->table());
    }
    session.closeAll();
    return ok;
}
bool importpicsWork(core::Context& ctx) {
    const core::BusyScope wait(ctx.messages());
    store::Session session;
    WorkArea* dfrg = openCatalog(ctx, session);
    if (!dfrg) return false;
    Table& table = dfrg->table();
    const std::vector<int> fields = fieldsOf(table, std::array<const char*, 3>{"FRAGENR", "BITMAP", "PICTURE"});
    bool ok = !fields.empty();
    for (std::uint32_t r = 1; ok && r <= table.recCount(); ++r) {
        table.goTo(r);
        const std::string name = pictureName(table.rawField(fields[0]));
        const fs::path file = ctx.filePath(".\\Maint\\Bitmaps\\" + name + ".BMP");
        std::error_code ec;
        if (!fs::is_regular_file(file, ec)) {
            ok = table.replace(fields[1], Value::text("KEINBILD"));
            continue;
        }
        const std::optional<std::string> bytes = readBytes(file);
        if (!bytes) {
            store::reportError(file.string(), file.filename().string() + " lässt sich nicht lesen");
            ok = false;
            break;
        }
        ok = table.replace(fields[1], Value::text(name)) && table.replaceMemo(fields[2], *bytes, true);
    }
    session.closeAll();
    return ok;
}

} // namespace

bool MAKEUPDATE(core::Context& ctx, store::Session& session) {
    Outcome outcome(ctx, QStringLiteral("Der Fragen-Export"));
    return outcome(makeupdateWork(ctx, session));
}

bool KONVTRANS(core::Context& ctx) {
    Outcome outcome(ctx, QStringLiteral("Konvertieren DBT -> DBV"));
    return outcome(konvtransWork(ctx));
}

bool DECRYPTALL(core::Context& ctx) {
    Outcome outcome(ctx, QStringLiteral("Verschlüsseln"));
    return outcome(
        convertTexts(ctx, [](std::string_view text, std::string_view key) { return DECRYPT(text, key); }));
}

bool ENCRYPTALL(core::Context& ctx) {
    Outcome outcome(ctx, QStringLiteral("Entschlüsseln"));
    return outcome(
        convertTexts(ctx, [](std::string_view text, std::string_view key) { return ENCRYPT(text, key); }));
}

bool IMPORTPICS(core::Context& ctx) {
    Outcome outcome(ctx, QStringLiteral("Bilder einlesen"));
    return outcome(importpicsWork(ctx));
}

} // namespace catalog
