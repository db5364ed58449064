// The German build.
#include "../build.h"

VX_RASTER_BUILD("ge", "0407:04B0");
