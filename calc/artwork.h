#pragma once

#include "ui/artwork.h"

namespace calc {

// The calculators' pictures: the skins of the three dialogs and the pages of the fine calculator's tabs, with
// their decorations.
const ui::art::Artwork& artwork();

// Makes them known to the toolkit; the program, its tools and the tests call it before drawing.
void registerArtwork();

} // namespace calc
