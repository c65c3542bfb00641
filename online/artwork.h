#pragma once

#include "ui/artwork.h"

namespace online {

// The online dialogs' pictures: the update dialog's background and its window icon "Update".
const ui::art::Artwork& artwork();

// Makes them known to the toolkit; the program, its tools and the tests call it before drawing.
void registerArtwork();

} // namespace online
