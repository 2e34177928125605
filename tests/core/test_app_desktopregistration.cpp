#include "app/DesktopRegistration.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

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

// The Exec lines of the entry: the program's own, then its print action's.
std::vector<std::string> ExecLines(const std::string& executable)
{
    const std::string entry = DesktopEntryText(executable);
    std::vector<std::string> lines;
    for (auto start = entry.find("\nExec="); start != std::string::npos;
         start = entry.find("\nExec=", start)) {
        start += 6;
        lines.push_back(entry.substr(start, entry.find('\n', start) - start));
    }
    return lines;
}

void WriteFile(const fs::path& path)
{
    fs::create_directories(path.parent_path());
    std::ofstream(path) << "x";
}

} // namespace

TEST(DesktopRegistration, ExecLinesQuoteWhatNeedsIt)
{
    struct
    {
        const char* szName;
        std::string executable;
        std::string exec; // the program as the Exec lines start it
    } const cases[] = {
        {"plain path", "/usr/bin/tavromark", "/usr/bin/tavromark"},
        {"space", "/opt/my apps/tavromark", "\"/opt/my apps/tavromark\""},
        {"dollar and quote", "/opt/a$b\"c/t", "\"/opt/a\\\\$b\\\\\"c/t\""},
        {"percent sign", "/opt/100%/t", "/opt/100%%/t"},
        {"backslash", "/opt/a\\b/t", "\"/opt/a\\\\\\\\b/t\""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.szName);
        const std::vector<std::string> expected = {c.exec + " %f", c.exec + " /p %f"};
        EXPECT_EQ(ExecLines(c.executable), expected);
    }
}

TEST(DesktopRegistration, TypeAndEntryNameTheDocuments)
{
    const std::string mime = MimeTypeText();
    EXPECT_NE(mime.find("<glob pattern=\"*.tav\"/>"), std::string::npos);
    EXPECT_NE(mime.find("TAVRO Document"), std::string::npos);
    EXPECT_NE(mime.find("TAVRO.Document"), std::string::npos);
    const std::string entry = DesktopEntryText("/x");
    EXPECT_NE(entry.find("MimeType=application/x-tavro-document;"), std::string::npos);
    EXPECT_NE(entry.find("Actions=print;"), std::string::npos);
    EXPECT_NE(entry.find("[Desktop Action print]\nName=Print\nName[zh_CN]=打印\n"), std::string::npos);
    EXPECT_EQ(entry.find('@'), std::string::npos);
}

TEST(DesktopRegistration, InstalledProgramIsKnownByItsInstalledEntry)
{
    const fs::path root = UniqueTempDir();
    struct
    {
        const char* szName;
        const char* szExecutable;   // below the temporary directory
        const char* szDesktopEntry; // made below it too, or nullptr
        bool bInstalled;
    } const cases[] = {
        {"installed", "usr/bin/tavromark", "usr/share/applications/tavromark.desktop", true},
        {"installed under another prefix", "opt/t/bin/tavromark",
         "opt/t/share/applications/tavromark.desktop", true},
        {"build tree", "build/src/tavromark", nullptr, false},
        {"binary copied beside no entry", "home/bin/tavromark", nullptr, false},
        {"entry of another prefix", "usr/local/bin/tavromark", "usr/share/applications/tavromark.desktop",
         false},
        {"entry is a directory", "srv/bin/tavromark", "srv/share/applications/tavromark.desktop/", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.szName);
        fs::remove_all(root);
        WriteFile(root / c.szExecutable);
        if (c.szDesktopEntry) {
            const std::string entry = c.szDesktopEntry;
            if (entry.back() == '/')
                fs::create_directories(root / entry);
            else
                WriteFile(root / entry);
        }
        EXPECT_EQ(IsInstalledProgram((root / c.szExecutable).string()), c.bInstalled);
    }
    EXPECT_FALSE(IsInstalledProgram(""));
    fs::remove_all(root);
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
    EXPECT_NE(ReadAll(home / "applications/tavromark.desktop").find("Exec=/opt/tavromark %f"),
              std::string::npos);

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
