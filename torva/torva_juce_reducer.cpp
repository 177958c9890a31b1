#include "torva/torva_juce_reducer.h"

#include <cmath>

namespace torvaLib
{

} // namespace torvaLib
