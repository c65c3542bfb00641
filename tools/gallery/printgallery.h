#pragma once

#include "pages.h"

namespace gallery {

// The printing dialogs, real ones: the class choice and the theme choice with remembered choices.
void renderPrintout(const SaveFn& save);

} // namespace gallery
