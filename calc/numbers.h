#pragma once

// Helpers the three calculators share.
namespace calc {

// Rounded to two decimals the way a numeric field with two decimals stores it (half away from zero on the
// number's shortest decimal form, so 2.675 gives 2.68).
double roundCents(double value);

} // namespace calc
