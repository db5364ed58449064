// The Spanish build.
#include "../build.h"

VX_RASTER_BUILD("sp", "0C0A:04B0");
