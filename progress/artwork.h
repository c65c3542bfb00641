#pragma once

#include "ui/artwork.h"

namespace progress {

// The progress dialog's background with its panels, and the buttons only it and the review show.
const ui::art::Artwork& artwork();

// Makes them known to the toolkit; the program, its tools and the tests call it before drawing.
void registerArtwork();

} // namespace progress
