#pragma once

namespace halvane {

// The power the readers apply to linear floating-point values, as to the
// Radiance reader's: linear^(1/2.2), evaluated in extended precision and
// rounded once to float. `linear` is finite and not negative.
float PowerOfLinearByFormula(long double linear);

// The same float, about thirty times faster: a double-precision estimate
// decides wherever it lies clearly away from the midpoint between two floats;
// near one, the extended formula decides.
float PowerOfLinear(long double linear);

}  // namespace halvane
