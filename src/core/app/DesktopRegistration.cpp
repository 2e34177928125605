#include "app/DesktopRegistration.h"

#include "app/DesktopFileTexts.h"
#include "model/AtomicFile.h"
#include "model/FileAccess.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <string_view>
#include <system_error>

namespace fs = std::filesystem;

namespace {

constexpr const char* kDesktopEntryPath = "applications/tavromark.desktop";

// What a file of ours in the data folder holds; nullopt when it is missing,
// not a regular file (read without blocking on a pipe) or larger than any
// of ours.
std::optional<std::string> InstalledContents(const fs::path& path)
{
    constexpr std::size_t kLargestOfOurs = 1 << 20;
    std::string bytes;
    if (ReadWholeFile(path.string(), kLargestOfOurs, bytes) != 0)
        return std::nullopt;
    return bytes;
}

// Quoting of an Exec argument: reserved characters need double quotes, and
// inside them ", `, $ and \ take a backslash. The value is then a desktop
// entry string, whose own escape doubles every backslash again.
std::string ExecArgument(const std::string& arg)
{
    const std::string reserved = " \t\n\"'\\><~|&;$*?#()`";
    std::string quoted;
    bool bNeedsQuotes = arg.empty();
    for (const char ch : arg) {
        if (reserved.find(ch) != std::string::npos)
            bNeedsQuotes = true;
        if (ch == '"' || ch == '`' || ch == '$' || ch == '\\')
            quoted += '\\';
        quoted += ch;
    }
    if (bNeedsQuotes)
        quoted = '"' + quoted + '"';
    std::string entry;
    for (const char ch : quoted) {
        if (ch == '\\')
            entry += "\\\\";
        else if (ch == '%')
            entry += "%%"; // a literal percent sign among the field codes
        else
            entry += ch;
    }
    return entry;
}

} // namespace

std::optional<std::string> XdgDataHome()
{
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    if (dataHome && dataHome[0] == '/')
        return std::string(dataHome);
    const char* home = std::getenv("HOME");
    if (!home || home[0] != '/')
        return std::nullopt;
    return std::string(home) + "/.local/share";
}

std::string DesktopEntryText(const std::string& executable)
{
    constexpr std::string_view placeholder = "@TAVRO_EXEC@";
    const std::string exec = ExecArgument(executable);
    std::string entry;
    std::string_view rest = kDesktopEntryTemplate;
    for (auto at = rest.find(placeholder); at != std::string_view::npos; at = rest.find(placeholder)) {
        entry.append(rest.substr(0, at)).append(exec);
        rest.remove_prefix(at + placeholder.size());
    }
    return entry.append(rest);
}

std::string MimeTypeText()
{
    return std::string(kMimeTypeDefinition);
}

std::vector<CDesktopFile> DesktopRegistrationFiles(const std::string& executable)
{
    return {
        {kDesktopEntryPath, DesktopEntryText(executable)},
        {"mime/packages/tavromark.xml", MimeTypeText()},
    };
}

CRegistrationResult InstallDesktopFiles(const std::string& dataHome, const std::vector<CDesktopFile>& files)
{
    CRegistrationResult result;
    for (const CDesktopFile& file : files) {
        const fs::path path = fs::path(dataHome) / file.m_strRelativePath;
        if (InstalledContents(path) == file.m_strContents)
            continue;
        std::error_code error;
        fs::create_directories(path.parent_path(), error);
        if (error) {
            result.m_nError = error.value();
            return result;
        }
        if (const int nError = WriteFileAtomically(path.string(), file.m_strContents)) {
            result.m_nError = nError;
            return result;
        }
        result.m_bChanged = true;
    }
    return result;
}

CRegistrationResult RemoveDesktopFiles(const std::string& dataHome, const std::vector<CDesktopFile>& files)
{
    CRegistrationResult result;
    for (const CDesktopFile& file : files) {
        std::error_code error;
        if (fs::remove(fs::path(dataHome) / file.m_strRelativePath, error))
            result.m_bChanged = true;
        else if (error && result.m_nError == 0)
            result.m_nError = error.value();
    }
    return result;
}

std::string ExecutablePath()
{
    std::error_code error;
    const fs::path path = fs::read_symlink("/proc/self/exe", error);
    return error ? std::string() : path.string();
}

bool IsInstalledProgram(const std::string& executable)
{
    if (executable.empty())
        return false;
    const fs::path entry = fs::path(executable).parent_path() / TAVRO_DATADIR_FROM_BINDIR / kDesktopEntryPath;
    std::error_code error;
    return fs::is_regular_file(entry, error);
}
