#include "printout/artwork.h"

#include "printout/layouts.h"
#include "ui/art_common.h"

namespace printout {

namespace {

// The title's tab and the amber panel under the text and the choices, where printout/layouts.h puts them.
void choice(QPainter& p, QSize) {
    namespace at = layout::choice;
    ui::art::detail::drawTitleTab(p, QRectF(at::title), ui::art::palette::titleTab);
    ui::art::detail::drawSurface(p, QRectF(at::panel), ui::art::palette::amber, 8);
}

} // namespace

const ui::art::Artwork& artwork() {
    using K = ui::art::SkinKind;
    static const ui::art::Artwork art{
        {{"KataDruck", layout::choice::kWidth, layout::choice::kHeight, K::Dialog, "", 44, choice}},
        {},
        {},
    };
    return art;
}

void registerArtwork() {
    ui::art::registerArtwork(artwork());
}

} // namespace printout
