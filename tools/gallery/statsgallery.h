#pragma once

#include "pages.h"

namespace gallery {

// The statistics dialogs, real ones, over the tables of two learners who have trained a while.
void renderStatistics(const SaveFn& save);

} // namespace gallery
