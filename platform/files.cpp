#include "vxplatform.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vxp {
namespace {

std::string folder_of(const std::string& path) {
    std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash + 1);
}

bool write_all(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// A new file beside `path` that no one else has: ".<name>.<pid>.<counter>.tmp".
int create_temporary(const std::string& path, std::string& temporary) {
    static std::atomic<unsigned> counter{0};
    std::size_t slash = path.rfind('/');
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    std::string folder = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = folder + "." + name + "." + std::to_string(getpid()) + "." +
                    std::to_string(counter++) + ".tmp";
        // NOTE: mode 0666 lets the umask decide, as for any new file of the user.
        int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

} // namespace

bool write_file_atomically(const std::string& path, std::string_view bytes) {
    struct stat existing {};
    bool exists = ::stat(path.c_str(), &existing) == 0;
    // A write-protected file stays as it is, as it would for an in-place write.
    if (exists && ::access(path.c_str(), W_OK) != 0)
        return false;
    std::string temporary;
    int fd = create_temporary(path, temporary);
    if (fd < 0)
        return false;
    bool ok = write_all(fd, bytes) && (!exists || ::fchmod(fd, existing.st_mode & 07777) == 0) &&
              ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    ok = ok && ::rename(temporary.c_str(), path.c_str()) == 0;
    if (!ok) {
        ::unlink(temporary.c_str());
        return false;
    }
    // Make the rename itself durable.
    if (int folder = ::open(folder_of(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
    return true;
}

std::optional<std::string> keep_file_aside(const std::string& path) {
    // NOTE: a hundred backups are plenty; past that the file is not renamed.
    for (int n = 1; n <= 100; ++n) {
        std::string backup = path + ".bak" + (n == 1 ? std::string() : std::to_string(n));
        if (::renameat2(AT_FDCWD, path.c_str(), AT_FDCWD, backup.c_str(), RENAME_NOREPLACE) == 0)
            return backup;
        if (errno != EEXIST)
            return std::nullopt;
    }
    return std::nullopt;
}

} // namespace vxp
