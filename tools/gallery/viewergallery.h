#pragma once

#include "pages.h"

namespace gallery {

// The catalog viewer's dialogs, real ones, over the delivered catalog and a learner who has trained a while.
void renderViewer(const SaveFn& save);

} // namespace gallery
