#include "app/import/Rounding.h"

namespace importer {

double RoundToTwoPlaces(double value) { return value; }

} // namespace importer
