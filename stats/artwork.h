#pragma once

#include "ui/artwork.h"

namespace stats {

// The statistics' own pictures: the backgrounds of the overview, the theme statistic, the three pages by theme
// and the comparison, with the captions and legends they bear.
const ui::art::Artwork& artwork();

// Makes them known to the toolkit; the program, its tools and the tests call it before drawing.
void registerArtwork();

} // namespace stats
