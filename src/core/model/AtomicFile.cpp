#include "model/AtomicFile.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

// The mode a newly created file would get: 0666 less the umask. The umask is
// read from /proc rather than set and reset, which would race with any other
// thread creating a file.
mode_t NewFileMode()
{
    mode_t mask = 022;
    if (std::FILE* status = std::fopen("/proc/self/status", "re")) {
        char line[256];
        unsigned int value = 0;
        while (std::fgets(line, sizeof line, status))
            if (std::sscanf(line, "Umask: %o", &value) == 1) {
                mask = static_cast<mode_t>(value);
                break;
            }
        std::fclose(status);
    }
    return 0666 & ~mask;
}

// Saving through a symbolic link replaces the file it points to and keeps
// the link; a dangling link is replaced like a missing file.
std::string ResolveLink(const std::string& path)
{
    struct stat st
    {};
    if (lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
        return path;
    char* resolved = realpath(path.c_str(), nullptr);
    if (!resolved)
        return path;
    std::string target(resolved);
    std::free(resolved);
    return target;
}

constexpr std::size_t kRandomChars = 6; // mkostemp's XXXXXX

struct CTargetPath
{
    std::string m_strDir; // with its final slash, or empty for the current directory
    std::string m_strName;
};

CTargetPath SplitTarget(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return {std::string(), path};
    return {path.substr(0, slash + 1), path.substr(slash + 1)};
}

bool IsDigits(std::string_view text)
{
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

bool IsRandomPart(std::string_view text)
{
    if (text.size() != kRandomChars)
        return false;
    for (const char ch : text)
        if (!((ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9')))
            return false;
    return true;
}

// The process id in a temporary name of `target` made by SaveTemporaryPrefix,
// or 0 when the name is not one.
pid_t SavingProcess(std::string_view name, const std::string& prefix)
{
    if (name.substr(0, prefix.size()) != prefix)
        return 0;
    name.remove_prefix(prefix.size());
    const std::size_t dash = name.find('-');
    if (dash == std::string_view::npos || !IsDigits(name.substr(0, dash)) || dash > 9 ||
        !IsRandomPart(name.substr(dash + 1)))
        return 0;
    return static_cast<pid_t>(std::atol(std::string(name.substr(0, dash)).c_str()));
}

bool ProcessIsGone(pid_t pid)
{
    return kill(pid, 0) != 0 && errno == ESRCH;
}

// Temporaries of `target` left by a save that never finished (the process was
// killed, the machine lost power): only files of this user whose name says
// they belong to the same target and whose saving process is gone.
void RemoveStaleTemporaries(const CTargetPath& target)
{
    const std::string prefix = SaveTemporaryPrefix(target.m_strName);
    DIR* dir = opendir(target.m_strDir.empty() ? "." : target.m_strDir.c_str());
    if (!dir)
        return;
    while (const dirent* entry = readdir(dir)) {
        const pid_t pid = SavingProcess(entry->d_name, prefix);
        if (pid <= 0 || pid == getpid() || !ProcessIsGone(pid))
            continue;
        const std::string path = target.m_strDir + entry->d_name;
        struct stat st
        {};
        if (lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == geteuid())
            unlink(path.c_str());
    }
    closedir(dir);
}

} // namespace

std::string SaveTemporaryPrefix(const std::string& name)
{
    // Shortened so that the whole name stays within the 255 bytes of a
    // file name.
    return "." + name.substr(0, 200) + ".tavromark-save-";
}

int CAtomicFileWriter::Open(const std::string& pathGiven)
{
    Abandon();
    m_strPath = ResolveLink(pathGiven);
    const CTargetPath target = SplitTarget(m_strPath);
    RemoveStaleTemporaries(target);
    const std::string pattern = target.m_strDir + SaveTemporaryPrefix(target.m_strName) +
                                std::to_string(getpid()) + "-" + std::string(kRandomChars, 'X');
    std::vector<char> tmpPath(pattern.begin(), pattern.end());
    tmpPath.push_back('\0');

    m_fd = mkostemp(tmpPath.data(), O_CLOEXEC);
    if (m_fd < 0)
        return m_nError = errno;
    m_strTemporary = tmpPath.data();

    // Keep the permissions of the file being replaced.
    struct stat existing
    {};
    const mode_t mode = stat(m_strPath.c_str(), &existing) == 0 ? (existing.st_mode & 07777) : NewFileMode();
    if (fchmod(m_fd, mode) != 0)
        return Fail(errno);
    return 0;
}

int CAtomicFileWriter::Write(std::string_view bytes)
{
    if (m_nError != 0)
        return m_nError;
    if (m_fd < 0)
        return m_nError = EBADF;
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = write(m_fd, bytes.data() + written, bytes.size() - written);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return Fail(errno);
        }
        if (n == 0)
            return Fail(ENOSPC);
        written += static_cast<std::size_t>(n);
    }
    return 0;
}

int CAtomicFileWriter::Commit()
{
    if (m_nError != 0)
        return m_nError;
    if (m_fd < 0)
        return m_nError = EBADF;
    if (fsync(m_fd) != 0)
        return Fail(errno);
    const int fd = m_fd;
    m_fd = -1;
    if (close(fd) != 0)
        return Fail(errno);
    if (std::rename(m_strTemporary.c_str(), m_strPath.c_str()) != 0)
        return Fail(errno);
    m_strTemporary.clear();
    return 0;
}

int CAtomicFileWriter::Fail(int error)
{
    m_nError = error;
    Abandon();
    return error;
}

void CAtomicFileWriter::Abandon()
{
    if (m_fd >= 0)
        close(m_fd);
    m_fd = -1;
    if (!m_strTemporary.empty())
        unlink(m_strTemporary.c_str());
    m_strTemporary.clear();
}

CAtomicFileWriter::~CAtomicFileWriter()
{
    Abandon();
}

int WriteFileAtomically(const std::string& path, std::string_view bytes)
{
    CAtomicFileWriter writer;
    if (const int error = writer.Open(path))
        return error;
    if (const int error = writer.Write(bytes))
        return error;
    return writer.Commit();
}
