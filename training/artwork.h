#pragma once

#include "ui/artwork.h"

namespace training {

// The training's pictures: the backgrounds of the theme selection, of the question dialog in its two looks and of
// the solution pop-up, and the filler pictures shown for questions without a picture of their own.
const ui::art::Artwork& artwork();

// Makes them known to the toolkit; the program, its tools and the tests call it before drawing.
void registerArtwork();

} // namespace training
