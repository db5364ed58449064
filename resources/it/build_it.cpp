// The Italian build.
#include "../build.h"

VX_RASTER_BUILD("it", "0410:04B0");
