#include "app/import/Rounding.h"

#include "platform/basic/RuntimeError.h"

#include <cmath>
#include <cstdint>
#include <limits>

namespace importer {

double RoundToTwoPlaces(double value)
{
    const double hundredfold = 100.0 * value;
    const double whole = std::floor(hundredfold);
    // Not 0.5: 1.005 is held as 1.00499999999999989..., and still rounds up.
    const double rounded = hundredfold - whole >= 0.49999999901 ? whole + 1.0 : whole;
    // The hundredths pass through a 32-bit integer (and NaN never fits).
    if (!(rounded >= double(std::numeric_limits<int32_t>::min()) &&
          rounded <= double(std::numeric_limits<int32_t>::max())))
        throw basic::RuntimeError(basic::err::Overflow);
    return rounded / 100.0;
}

} // namespace importer
