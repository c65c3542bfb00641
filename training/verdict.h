#pragma once

namespace core {
class Context;
}

namespace training {

// The verdict of a run with `errors` error points: the sound (unless speech is on), the spoken verdict and the
// message. With offerStatistics the message asks "Statistik anzeigen ?" and the answer is returned; without, it
// is a notice and the result false.
bool askVerdict(core::Context& ctx, int errors, bool offerStatistics);

} // namespace training
