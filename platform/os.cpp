#include "vxplatform.h"

#include <cstdio>
#include <sys/utsname.h>

namespace vxp {

Os_Version os_version() {
    Os_Version version{platform_posix, 0, 0};
    utsname name{};
    if (uname(&name) == 0)
        std::sscanf(name.release, "%d.%d", &version.major, &version.minor);
    return version;
}

} // namespace vxp
