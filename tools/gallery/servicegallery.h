#pragma once

#include "pages.h"

namespace gallery {

// The online dialogs and the logbook viewer with realistic contents.
void renderServices(const SaveFn& save);

} // namespace gallery
