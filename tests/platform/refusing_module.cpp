// A module whose start-up refuses the load, as a driver does without its resources.
#include "platform/vxplatform.h"

namespace {

__attribute__((constructor)) void refuse() {
    vxp::refuse_module_load("test module says no");
}

} // namespace
