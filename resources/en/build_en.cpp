// The English build.
#include "../build.h"

VX_RASTER_BUILD("en", "0409:04B0");
