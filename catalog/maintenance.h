#pragma once

namespace store {
class Session;
}
namespace core {
class Context;
}

namespace catalog {

// The maintainer's commands on the whole catalog. Each opens FRAGEN exclusively as DFRG, shows the wait cursor
// while it works and closes its tables at the end; a table that cannot be opened is reported through the engine's
// error handler and the command returns false.

// Appends the question the catalog viewer shows (DFRA, open with its index, on that record) to FRUPDATE.DBF,
// creating the table with the catalog's structure when missing; then reopens DFRA with its index on that record.
bool MAKEUPDATE(core::Context& ctx, store::Session& session);

// Copies the catalog, record by record and field by field, into FRG.DBF/.FPT; deletion marks are not copied.
bool KONVTRANS(core::Context& ctx);

// Readable catalog texts to their stored form ("Verschlüsseln"); texts already stored stay as they are.
bool DECRYPTALL(core::Context& ctx);

// Stored catalog texts to readable form ("Entschlüsseln").
bool ENCRYPTALL(core::Context& ctx);

// Takes each question's picture from Maint/Bitmaps/<picture name>.BMP into PICTURE and its name into BITMAP;
// a question without a picture file gets BITMAP "KEINBILD" and keeps its PICTURE.
bool IMPORTPICS(core::Context& ctx);

} // namespace catalog
