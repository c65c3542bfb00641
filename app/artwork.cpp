#include "app/artwork.h"

#include "calc/artwork.h"
#include "diag/artwork.h"
#include "online/artwork.h"
#include "printout/artwork.h"
#include "progress/artwork.h"
#include "shell/artwork.h"
#include "stats/artwork.h"
#include "training/artwork.h"
#include "viewer/artwork.h"

namespace app {

void registerArtwork() {
    shell::registerArtwork();
    training::registerArtwork();
    stats::registerArtwork();
    viewer::registerArtwork();
    calc::registerArtwork();
    online::registerArtwork();
    diag::registerArtwork();
    printout::registerArtwork();
    progress::registerArtwork();
}

} // namespace app
