#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

// A fresh directory under /tmp, removed with everything in it at the end of
// the test.
class CTempDir
{
public:
    CTempDir()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "tavro-test-XXXXXX").string();
        if (mkdtemp(pattern.data()))
            m_path = pattern;
    }
    ~CTempDir()
    {
        std::error_code ignored;
        if (!m_path.empty())
            std::filesystem::remove_all(m_path, ignored);
    }
    CTempDir(const CTempDir&) = delete;
    CTempDir& operator=(const CTempDir&) = delete;

    const std::string& Path() const { return m_path; }
    std::string operator/(const std::string& name) const { return m_path + "/" + name; }

private:
    std::string m_path;
};
