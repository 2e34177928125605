#include "model/AtomicFile.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

// The mode a newly created file would get: 0666 less the umask. umask can
// only be read by setting it, so it is set back at once.
mode_t NewFileMode()
{
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

// Saving through a symbolic link replaces the file it points to and keeps
// the link; a dangling link is replaced like a missing file.
std::string ResolveLink(const std::string& path)
{
    struct stat st {};
    if (lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
        return path;
    char* resolved = realpath(path.c_str(), nullptr);
    if (!resolved)
        return path;
    std::string target(resolved);
    std::free(resolved);
    return target;
}

} // namespace

int WriteFileAtomically(const std::string& pathGiven, std::string_view bytes)
{
    const std::string path = ResolveLink(pathGiven);
    std::vector<char> tmpPath(path.begin(), path.end());
    const std::string suffix = ".XXXXXX";
    tmpPath.insert(tmpPath.end(), suffix.begin(), suffix.end());
    tmpPath.push_back('\0');

    const int fd = mkstemp(tmpPath.data());
    if (fd < 0)
        return errno;

    const auto fail = [&](int error) {
        close(fd);
        unlink(tmpPath.data());
        return error;
    };

    // Keep the permissions of the file being replaced.
    struct stat existing {};
    const mode_t mode = stat(path.c_str(), &existing) == 0 ? (existing.st_mode & 07777) : NewFileMode();
    if (fchmod(fd, mode) != 0)
        return fail(errno);

    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = write(fd, bytes.data() + written, bytes.size() - written);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return fail(errno);
        }
        if (n == 0)
            return fail(ENOSPC);
        written += static_cast<std::size_t>(n);
    }
    if (fsync(fd) != 0)
        return fail(errno);
    if (close(fd) != 0) {
        const int error = errno;
        unlink(tmpPath.data());
        return error;
    }
    if (std::rename(tmpPath.data(), path.c_str()) != 0) {
        const int error = errno;
        unlink(tmpPath.data());
        return error;
    }
    return 0;
}
