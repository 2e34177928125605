#include "app/DesktopRegistration.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

namespace {

// A directory of this test run alone: other runs may share the machine.
std::filesystem::path UniqueTempDir()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "tavro_test.XXXXXX").string();
    return mkdtemp(pattern.data()) ? std::filesystem::path(pattern) : std::filesystem::path();
}

std::string ReadAll(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string ExecLine(const std::string& executable)
{
    const std::string entry = DesktopEntryText(executable);
    const auto start = entry.find("\nExec=") + 6;
    return entry.substr(start, entry.find('\n', start) - start);
}

} // namespace

TEST(DesktopRegistration, ExecLineQuotesWhatNeedsIt)
{
    struct
    {
        const char* szName;
        std::string executable;
        std::string exec;
    } const cases[] = {
        {"plain path", "/usr/bin/tavromark", "/usr/bin/tavromark %f"},
        {"space", "/opt/my apps/tavromark", "\"/opt/my apps/tavromark\" %f"},
        {"dollar and quote", "/opt/a$b\"c/t", "\"/opt/a\\\\$b\\\\\"c/t\" %f"},
        {"percent sign", "/opt/100%/t", "/opt/100%%/t %f"},
        {"backslash", "/opt/a\\b/t", "\"/opt/a\\\\\\\\b/t\" %f"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.szName);
        EXPECT_EQ(ExecLine(c.executable), c.exec);
    }
}

TEST(DesktopRegistration, TypeAndEntryNameTheDocuments)
{
    const std::string mime = MimeTypeText();
    EXPECT_NE(mime.find("<glob pattern=\"*.tav\"/>"), std::string::npos);
    EXPECT_NE(mime.find("TAVRO Document"), std::string::npos);
    EXPECT_NE(mime.find("TAVRO.Document"), std::string::npos);
    EXPECT_NE(DesktopEntryText("/x").find("MimeType=application/x-tavro-document;"), std::string::npos);
}

TEST(DesktopRegistration, InstallsOnlyWhatDiffersAndRemoves)
{
    const fs::path home = UniqueTempDir();
    fs::remove_all(home);
    const std::vector<CDesktopFile> files = DesktopRegistrationFiles("/usr/bin/tavromark");

    CRegistrationResult result = InstallDesktopFiles(home.string(), files);
    EXPECT_EQ(result.m_nError, 0);
    EXPECT_TRUE(result.m_bChanged);
    for (const CDesktopFile& file : files)
        EXPECT_EQ(ReadAll(home / file.m_strRelativePath), file.m_strContents);

    // A second start finds everything in place and writes nothing.
    result = InstallDesktopFiles(home.string(), files);
    EXPECT_EQ(result.m_nError, 0);
    EXPECT_FALSE(result.m_bChanged);

    // A moved program rewrites its entry.
    result = InstallDesktopFiles(home.string(), DesktopRegistrationFiles("/opt/tavromark"));
    EXPECT_TRUE(result.m_bChanged);
    EXPECT_NE(ReadAll(home / "applications/tavromark.desktop").find("Exec=/opt/tavromark %f"), std::string::npos);

    result = RemoveDesktopFiles(home.string(), files);
    EXPECT_EQ(result.m_nError, 0);
    EXPECT_TRUE(result.m_bChanged);
    for (const CDesktopFile& file : files)
        EXPECT_FALSE(fs::exists(home / file.m_strRelativePath));

    // Removing what is gone is no failure.
    result = RemoveDesktopFiles(home.string(), files);
    EXPECT_EQ(result.m_nError, 0);
    EXPECT_FALSE(result.m_bChanged);
    fs::remove_all(home);
}

TEST(DesktopRegistration, DataHomeFollowsXdgRules)
{
    const char* savedData = std::getenv("XDG_DATA_HOME");
    const std::string saved = savedData ? savedData : "";
    setenv("HOME", std::getenv("HOME") ? std::getenv("HOME") : "/root", 1);
    const std::string home = std::getenv("HOME");
    setenv("XDG_DATA_HOME", "/srv/data", 1);
    EXPECT_EQ(XdgDataHome(), "/srv/data");
    setenv("XDG_DATA_HOME", "relative/data", 1);
    EXPECT_EQ(XdgDataHome(), home + "/.local/share");
    unsetenv("XDG_DATA_HOME");
    EXPECT_EQ(XdgDataHome(), home + "/.local/share");
    if (savedData)
        setenv("XDG_DATA_HOME", saved.c_str(), 1);
}
