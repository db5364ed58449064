// Module start-up and exit of a driver build: the resource library is loaded before any entry
// point is used; a driver without it refuses to load.
#include "resource_library.h"

namespace {

__attribute__((constructor)) void raster_module_start() {
    if (!LoadResourceLibrary())
        vxp::refuse_module_load("its resource library is missing");
}

__attribute__((destructor)) void raster_module_exit() {
    FreeResourceLibrary();
}

} // namespace
