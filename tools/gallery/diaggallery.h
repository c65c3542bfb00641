#pragma once

#include "pages.h"

namespace gallery {

// The error dialog in each of its button layouts and the start-up dialog for an old error log.
void renderDiagnostics(const SaveFn& save);

} // namespace gallery
