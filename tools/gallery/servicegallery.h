#pragma once

#include "pages.h"

namespace gallery {

// The online dialogs, the error dialog and the logbook viewer with realistic contents.
void renderServices(const SaveFn& save);

} // namespace gallery
