#pragma once

#include "ui/artwork.h"

namespace diag {

// The pictures of the error dialogs: their two skins and the stop sign "Stop_Max".
const ui::art::Artwork& artwork();

// Makes them known to the toolkit; the program, its tools and the tests call it before drawing.
void registerArtwork();

} // namespace diag
