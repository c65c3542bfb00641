#pragma once

#include "ui/artwork.h"

namespace viewer {

// The catalog viewer's own pictures: the backgrounds of the area choice, the table, the two question views, the
// search and the catalog statistics, with the headings and captions they bear.
const ui::art::Artwork& artwork();

// Makes them known to the toolkit; the program, its tools and the tests call it before drawing.
void registerArtwork();

} // namespace viewer
