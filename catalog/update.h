#pragma once

#include <filesystem>
#include <string_view>

namespace ui {
class Context;
}

namespace catalog {

// Imports a waiting catalog update FRUPDATE.DBF/.FPT into FRAGEN at start-up: writes the logbook FRUPDATE.LOG,
// removes the update table, resets both learning-state tables and offers to show the logbook. Without an update
// table nothing happens.
void ISUPDATE(ui::Context& ctx);

// How an import ended.
enum class UpdateResult {
    NoUpdate,           // no FRUPDATE.DBF: nothing shown, nothing changed
    Imported,           // catalog updated, logbook written, update table and learning state gone, LOCAL1 new
    UpdateRejected,     // the update table is unusable: the catalog is untouched, the table kept as FRUPDERR.*
    CatalogUnavailable, // the catalog cannot be opened or indexed: nothing changed, the update waits for next time
    Failed,             // writing the catalog failed part-way: reported, the update table and learning state kept
};

// ISUPDATE without the closing question: the notice, the import and the new learning state. Failures are shown
// with the warning box.
UpdateResult importUpdate(ui::Context& ctx);

// An unusable update table is renamed to this base name (same extensions), so the next start does not stumble
// over it again while the maintainer can still look at it.
inline constexpr std::string_view REJECTED_UPDATE = "FRUPDERR";

// A file of the program folder, found without regard to case; a missing file gets the name as written.
std::filesystem::path programFile(const ui::Context& ctx, std::string_view name);

} // namespace catalog
