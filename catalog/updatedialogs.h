#pragma once

namespace core {
class Context;
}

namespace catalog {

// Imports a waiting catalog update FRUPDATE.DBF/.FPT into FRAGEN at start-up: writes the logbook FRUPDATE.LOG,
// removes the update table, resets both learning-state tables and offers to show the logbook. Without an update
// table nothing happens.
void ISUPDATE(core::Context& ctx);

} // namespace catalog
