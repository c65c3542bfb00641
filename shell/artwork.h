#pragma once

#include "ui/artwork.h"

namespace shell {

// The shell's own pictures: its dialogs' skins with their decorations, the start pictures and the logo.
const ui::art::Artwork& artwork();

// Makes them known to the toolkit; the program, its tools and the tests call it before drawing.
void registerArtwork();

} // namespace shell
