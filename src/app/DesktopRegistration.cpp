#include "app/DesktopRegistration.h"

#include "model/AtomicFile.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

namespace fs = std::filesystem;

const char* const kDocumentTypeId = "TAVRO.Document";
const char* const kDocumentTypeDescription = "TAVRO Document";
const char* const kDocumentMimeType = "application/x-tavro-document";

namespace {

std::optional<std::string> ReadWholeFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), {});
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
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=Tavromark\n"
           "GenericName=Cable label designer\n"
           "GenericName[zh_CN]=线缆标签设计\n"
           "Comment=Design and print sheets of cable and wire labels\n"
           "Comment[zh_CN]=设计并打印线缆标签\n"
           "Exec=" + ExecArgument(executable) + " %f\n"
           "Icon=tavromark\n"
           "Terminal=false\n"
           "Categories=Office;Graphics;\n"
           "MimeType=" + std::string(kDocumentMimeType) + ";\n";
}

std::string MimeTypeText()
{
    // The magic is the length byte 0x30 and the start of the signature that
    // every document begins with.
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
           "  <mime-type type=\"" + std::string(kDocumentMimeType) + "\">\n"
           "    <comment>" + kDocumentTypeDescription + "</comment>\n"
           "    <comment xml:lang=\"zh_CN\">TAVRO 文件</comment>\n"
           "    <acronym>" + kDocumentTypeId + "</acronym>\n"
           "    <glob pattern=\"*.tav\"/>\n"
           "    <magic priority=\"50\">\n"
           "      <match type=\"string\" offset=\"0\" value=\"0_TAVRO MARKER SUITE\"/>\n"
           "    </magic>\n"
           "  </mime-type>\n"
           "</mime-info>\n";
}

std::vector<CDesktopFile> DesktopRegistrationFiles(const std::string& executable)
{
    return {
        {"applications/tavromark.desktop", DesktopEntryText(executable)},
        {"mime/packages/tavromark.xml", MimeTypeText()},
    };
}

CRegistrationResult InstallDesktopFiles(const std::string& dataHome,
                                        const std::vector<CDesktopFile>& files)
{
    CRegistrationResult result;
    for (const CDesktopFile& file : files) {
        const fs::path path = fs::path(dataHome) / file.m_strRelativePath;
        if (ReadWholeFile(path) == file.m_strContents)
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

CRegistrationResult RemoveDesktopFiles(const std::string& dataHome,
                                       const std::vector<CDesktopFile>& files)
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
