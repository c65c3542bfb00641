#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace core {
class Context;
}

namespace catalog {

// Why the catalog FRAGEN (table, memo file, fields) in `dir` cannot be used, naming the file; empty when it can.
std::string catalogFault(const std::filesystem::path& dir);

// Why a learning-state table must not be used: empty (no bytes, or no records while the catalog has some), a size
// that disagrees with its header, or a table that does not open or lacks fields. Empty when it is fine.
std::string learningTableFault(const std::filesystem::path& dbf, std::uint32_t catalogRecords);

// Moves a damaged table out of the way under a new name that nothing else uses (LOCAL1.DBF -> LOCAL1_defekt1.DBF,
// then _defekt2 ...); it is never deleted. The new path, or nothing when it could not be moved.
std::optional<std::filesystem::path> setAsideTable(const std::filesystem::path& dbf);

// Start-up, after the login: the catalog is checked first; one that cannot be read is named in a message, its
// reason kept in ctx.catalogProblem, and false returned (no learning state is made from it, no update imported).
// Otherwise damaged learning-state tables are set aside with a message, LOCAL1 (and the active learner's table) is
// created when missing, with the greeting, and true is returned.
bool prepareCatalog(core::Context& ctx);

} // namespace catalog
