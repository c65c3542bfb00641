#pragma once

namespace app {

// Every feature's pictures made known to the toolkit: the program, the picture writer, the gallery and the
// artwork tests all draw the same set.
void registerArtwork();

} // namespace app
