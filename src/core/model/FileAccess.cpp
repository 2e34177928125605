#include "model/FileAccess.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

// A descriptor that closes itself.
class CFileDescriptor
{
public:
    explicit CFileDescriptor(int fd) : m_fd(fd) {}
    ~CFileDescriptor()
    {
        if (m_fd >= 0)
            close(m_fd);
    }
    CFileDescriptor(const CFileDescriptor&) = delete;
    CFileDescriptor& operator=(const CFileDescriptor&) = delete;

    int Get() const { return m_fd; }

private:
    int m_fd;
};

// Opens without blocking (a FIFO opens at once this way) and checks the kind
// of file; on success returns 0 and the open descriptor's status.
int OpenRegular(const CFileDescriptor& fd, struct stat& st)
{
    if (fd.Get() < 0)
        return errno;
    if (fstat(fd.Get(), &st) != 0)
        return errno;
    if (S_ISDIR(st.st_mode))
        return EISDIR;
    if (!S_ISREG(st.st_mode))
        return kErrNotRegularFile;
    return 0;
}

int OpenFlags()
{
    return O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY;
}

bool InGroup(gid_t gid)
{
    if (getegid() == gid)
        return true;
    const int nGroups = getgroups(0, nullptr);
    if (nGroups <= 0)
        return false;
    std::vector<gid_t> groups(static_cast<std::size_t>(nGroups));
    const int nRead = getgroups(nGroups, groups.data());
    for (int i = 0; i < nRead; ++i)
        if (groups[static_cast<std::size_t>(i)] == gid)
            return true;
    return false;
}

} // namespace

std::string FileErrorText(int nError)
{
    if (nError == kErrNotRegularFile)
        return "not a regular file (a pipe, device or socket)";
    return std::strerror(nError);
}

int CheckFileForReading(const std::string& path)
{
    CFileDescriptor fd(open(path.c_str(), OpenFlags()));
    struct stat st
    {};
    return OpenRegular(fd, st);
}

int ReadWholeFile(const std::string& path, std::size_t nMaxBytes, std::string& bytes)
{
    bytes.clear();
    CFileDescriptor fd(open(path.c_str(), OpenFlags()));
    struct stat st
    {};
    if (const int nError = OpenRegular(fd, st))
        return nError;
    if (st.st_size < 0 || static_cast<std::size_t>(st.st_size) > nMaxBytes)
        return EFBIG;
    // A regular file never blocks; the flag goes so that reads are plain.
    const int flags = fcntl(fd.Get(), F_GETFL);
    if (flags < 0 || fcntl(fd.Get(), F_SETFL, flags & ~O_NONBLOCK) != 0)
        return errno;
    std::string read;
    read.reserve(static_cast<std::size_t>(st.st_size));
    char buffer[64 * 1024];
    for (;;) {
        const ssize_t n = ::read(fd.Get(), buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        if (n == 0)
            break;
        // The file may have grown since it was measured.
        if (static_cast<std::size_t>(n) > nMaxBytes - read.size())
            return EFBIG;
        read.append(buffer, static_cast<std::size_t>(n));
    }
    bytes = std::move(read);
    return 0;
}

bool IsReadOnlyFile(const std::string& path)
{
    struct stat st
    {};
    if (stat(path.c_str(), &st) != 0)
        return false;
    const uid_t uid = geteuid();
    if (uid == 0)
        return (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
    if (st.st_uid == uid)
        return (st.st_mode & S_IWUSR) == 0;
    if (InGroup(st.st_gid))
        return (st.st_mode & S_IWGRP) == 0;
    return (st.st_mode & S_IWOTH) == 0;
}
