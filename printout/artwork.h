#pragma once

#include "ui/artwork.h"

namespace printout {

// The printing dialogs' background "KataDruck", shared by the class and the theme choice.
const ui::art::Artwork& artwork();

// Makes it known to the toolkit; the program, its tools and the tests call it before drawing.
void registerArtwork();

} // namespace printout
