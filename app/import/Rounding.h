#pragma once

namespace importer {

// The one rounding of money amounts in stage two: to hundredths, halves upwards
// (towards positive infinity, also for negative amounts), and a hundredfold that
// falls a hair short of a half because of double precision still counts as a
// half. Raises 6 (overflow) when the rounded hundredths leave the 32-bit range.
double RoundToTwoPlaces(double value);

} // namespace importer
