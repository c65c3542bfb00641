#include "app/artwork.h"

#include "calc/artwork.h"
#include "diag/artwork.h"
#include "online/artwork.h"
#include "progress/artwork.h"
#include "shell/artwork.h"
#include "stats/artwork.h"
#include "training/artwork.h"

namespace app {

void registerArtwork() {
    shell::registerArtwork();
    training::registerArtwork();
    stats::registerArtwork();
    calc::registerArtwork();
    online::registerArtwork();
    diag::registerArtwork();
    progress::registerArtwork();
}

} // namespace app
