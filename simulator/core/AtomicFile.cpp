#include "AtomicFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace zentrava {

namespace {

int writeAll(int fd, const std::string &bytes)
{
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t count = ::write(fd, bytes.data() + written, bytes.size() - written);
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            return errno;
        if (count == 0)
            return EIO;
        written += static_cast<std::size_t>(count);
    }
    return 0;
}

// The rename is durable only once the folder's entry is on the disk too.
void syncFolder(const std::string &path)
{
    const std::filesystem::path parent = std::filesystem::path(path).parent_path();
    const int fd = ::open(parent.empty() ? "." : parent.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

} // namespace

std::string writeFileAtomically(const std::string &path, const std::string &bytes)
{
    // The file is written without a name where the system allows it, so that a writer killed
    // half-way leaves nothing behind; it gets its temporary name only once it is complete.
    const std::filesystem::path parent = std::filesystem::path(path).parent_path();
    std::string temporary = path + ".XXXXXX";
    int fd = ::open(parent.empty() ? "." : parent.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
    const bool unnamed = fd >= 0;
    if (!unnamed)
        fd = ::mkstemp(temporary.data());
    bool named = !unnamed;
    if (fd < 0)
        return std::strerror(errno);
    // The file starts private; keep the mode of the file we replace, else an ordinary one.
    struct stat previous {};
    const mode_t mode = ::stat(path.c_str(), &previous) == 0 ? (previous.st_mode & 07777) : 0644;
    int error = writeAll(fd, bytes);
    if (error == 0 && (::fchmod(fd, mode) != 0 || ::fsync(fd) != 0))
        error = errno;
    if (error == 0 && unnamed) {
        const std::string self = "/proc/self/fd/" + std::to_string(fd);
        // A name of our own beside the target, unused at this moment.
        for (int attempt = 0; attempt < 100; ++attempt) {
            temporary = path + ".tmp" + std::to_string(::getpid()) + "." + std::to_string(attempt);
            if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, temporary.c_str(), AT_SYMLINK_FOLLOW) == 0) {
                error = 0;
                named = true;
                break;
            }
            error = errno;
            if (error != EEXIST)
                break;
        }
    }
    if (::close(fd) != 0 && error == 0)
        error = errno;
    if (error == 0 && ::rename(temporary.c_str(), path.c_str()) != 0)
        error = errno;
    if (error != 0) {
        if (named)
            ::unlink(temporary.c_str());
        return std::strerror(error);
    }
    syncFolder(path);
    return {};
}

} // namespace zentrava
