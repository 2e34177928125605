#include "model/SettingsDir.h"

#include "model/FileAccess.h"

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <sys/stat.h>

namespace {

bool IsDirectory(const std::string& path)
{
    struct stat st
    {};
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// mkdir -p on an absolute path; an existing directory counts as success.
bool MakeDirectories(const std::string& path)
{
    std::size_t pos = 0;
    while (pos != std::string::npos) {
        pos = path.find('/', pos + 1);
        const std::string level = path.substr(0, pos);
        if (level.empty() || IsDirectory(level))
            continue;
        if (mkdir(level.c_str(), 0700) != 0 && !(errno == EEXIST && IsDirectory(level)))
            return false;
    }
    return true;
}

} // namespace

std::optional<std::string> SettingsDirectory()
{
    std::string base;
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg && xdg[0] == '/') {
        base = xdg;
    } else {
        const char* home = std::getenv("HOME");
        if (!home || home[0] != '/')
            return std::nullopt;
        base = std::string(home) + "/.config";
    }
    while (base.size() > 1 && base.back() == '/')
        base.pop_back();
    std::string dir = base + "/TAVRO";
    if (!MakeDirectories(dir))
        return std::nullopt;
    return dir;
}

std::optional<std::string> SettingsFilePath(const std::string& name)
{
    std::optional<std::string> dir = SettingsDirectory();
    if (!dir)
        return std::nullopt;
    return *dir + "/" + name;
}

int CheckSettingsFile(const std::string& path)
{
    struct stat st
    {};
    if (stat(path.c_str(), &st) != 0)
        return errno == ENOENT ? 0 : errno;
    if (S_ISDIR(st.st_mode))
        return EISDIR;
    if (!S_ISREG(st.st_mode))
        return kErrNotRegularFile;
    if (static_cast<std::uint64_t>(st.st_size) > kMaxSettingsFileBytes)
        return EFBIG;
    return 0;
}
