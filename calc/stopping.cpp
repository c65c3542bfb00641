#include "calc/stopping.h"

#include "calc/numbers.h"
#include "store/format.h"

namespace calc::anhaweg {

const std::array<RoadCondition, 11>& AVERZG() {
    static const std::array<RoadCondition, 11> list = {{
        {"Strassenzustand - ideal", 8},
        {"Beton trocken - Sommerreifen", 8},
        {"Beton trocken - Winterreifen", 7},
        {"Beton, nass und sauber", 4},
        {"Beton - nass und verschmutzt", 3},
        {"Pflaster - trocken", 6},
        {"Pflaster - nass", 4},
        {"Neuschnee - Sommerreifen", 2},
        {"Neuschnee - Winterreifen", 3},
        {"Eis oder festgefahrener Schnee", 2},
        {"Glatteis", 1},
    }};
    return list;
}

std::optional<double> decelerationOf(int position) {
    if (position < 0 || position >= static_cast<int>(AVERZG().size())) return std::nullopt;
    return AVERZG()[static_cast<std::size_t>(position)].deceleration;
}

QString Result::fieldText(double value) {
    return QString::fromStdString(store::transformPicture(value, "@E 9999.99"));
}

std::optional<Result> MAKEDATA(const Input& in) {
    if (!(in.NSPEED > 0 && in.NREAKTIME > 0 && in.NVERZOEG > 0)) return std::nullopt;
    const double v = in.NSPEED * 1000 / 3600;
    Result r;
    // Rounded before it is added, so that the three distances shown add up.
    r.NREAKTWEG = roundCents(v * in.NREAKTIME);
    r.NBREMSWEG = v * v / (2 * in.NVERZOEG);
    r.NANHALWEG = r.NREAKTWEG + r.NBREMSWEG;
    r.NANHALSEK = v / in.NVERZOEG + in.NREAKTIME;
    return r;
}

} // namespace calc::anhaweg
