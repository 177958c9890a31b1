#include "torva/torva_juce_lanes.h"

namespace torvaLib
{

#if TORVA_LANES_HAVE_AVX
// Static initialisers may run before the compiler's own processor check, so it is started here first.
const bool avxLanesAvailable = []
{
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx") != 0;
}();
#endif

} // namespace torvaLib
