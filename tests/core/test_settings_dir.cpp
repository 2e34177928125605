#include "TempDir.h"

#include "model/SettingsDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <stdlib.h>

namespace {

// Sets an environment variable for one test and puts the old value back.
class CScopedEnv
{
public:
    CScopedEnv(const char* name, const char* value) : m_name(name)
    {
        if (const char* old = getenv(name))
            m_old = old;
        if (value)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    ~CScopedEnv()
    {
        if (m_old)
            setenv(m_name, m_old->c_str(), 1);
        else
            unsetenv(m_name);
    }
    CScopedEnv(const CScopedEnv&) = delete;
    CScopedEnv& operator=(const CScopedEnv&) = delete;

private:
    const char* m_name;
    std::optional<std::string> m_old;
};

TEST(SettingsDirectory, XdgConfigHomeCreatedLevelByLevel)
{
    CTempDir dir;
    const std::string config = dir / "a/b/config";
    CScopedEnv xdg("XDG_CONFIG_HOME", config.c_str());
    const std::filesystem::path cwd = std::filesystem::current_path();

    EXPECT_EQ(SettingsDirectory(), config + "/TAVRO");
    EXPECT_TRUE(std::filesystem::is_directory(config + "/TAVRO"));
    EXPECT_EQ(std::filesystem::current_path(), cwd);
    EXPECT_EQ(SettingsFilePath("tavropage.lps"), config + "/TAVRO/tavropage.lps");
    // Again, with everything in place.
    EXPECT_EQ(SettingsDirectory(), config + "/TAVRO");
}

TEST(SettingsDirectory, FallsBackToHomeConfig)
{
    CTempDir home;
    CScopedEnv homeEnv("HOME", home.Path().c_str());
    for (const char* xdg : {static_cast<const char*>(nullptr), "", "relative/config"}) {
        SCOPED_TRACE(xdg ? xdg : "(unset)");
        CScopedEnv xdgEnv("XDG_CONFIG_HOME", xdg);
        EXPECT_EQ(SettingsDirectory(), home / ".config/TAVRO");
        EXPECT_TRUE(std::filesystem::is_directory(home / ".config/TAVRO"));
    }
    EXPECT_FALSE(std::filesystem::exists("relative"));
}

TEST(SettingsDirectory, ReportsWhatCannotBeCreated)
{
    CTempDir dir;
    {
        std::ofstream(dir / "file") << "in the way";
    }
    const std::string config = dir / "file/config";
    CScopedEnv xdg("XDG_CONFIG_HOME", config.c_str());
    EXPECT_EQ(SettingsDirectory(), std::nullopt);
    EXPECT_EQ(SettingsFilePath("tavrops.spd"), std::nullopt);
}

} // namespace
