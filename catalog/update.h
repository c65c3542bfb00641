#pragma once

#include <filesystem>
#include <string_view>

namespace core {
class Context;
}

namespace catalog {

// How an import ended.
enum class UpdateResult {
    NoUpdate,           // no FRUPDATE.DBF: nothing shown, nothing changed
    Imported,           // catalog updated, logbook written, update table and learning state gone, LOCAL1 new
    UpdateRejected,     // the update table is unusable: the catalog is untouched, the table kept as FRUPDERR.*
    CatalogUnavailable, // the catalog cannot be opened or indexed: nothing changed, the update waits for next time
    Failed,             // preparing or committing the new catalog failed: reported; unless the commit was already
                        // under way (then the next start finishes it) nothing changed and the update waits
};

// Finishes an import that a crash interrupted while it put the new catalog in place (the start-up sweep does the
// same for every table). False when it could not be finished (reported).
bool recoverInterruptedImport(const core::Context& ctx);

// ISUPDATE without the closing question: the notice, the import and the new learning state. Failures are shown
// with the warning box.
UpdateResult importUpdate(core::Context& ctx);

// An unusable update table is renamed to this base name (same extensions), so the next start does not stumble
// over it again while the maintainer can still look at it.
inline constexpr std::string_view REJECTED_UPDATE = "FRUPDERR";

} // namespace catalog
