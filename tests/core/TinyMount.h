#pragma once

#include <string>
#include <sys/mount.h>
#include <unistd.h>

// A small tmpfs mounted over a directory for one test (root only), always
// unmounted at the end: a full disk at a known size.
class CTinyMount
{
public:
    explicit CTinyMount(const std::string& dir, const std::string& size = "64k")
        : m_dir(dir), m_options("size=" + size)
    {
        m_bMounted = geteuid() == 0 && mount("tmpfs", dir.c_str(), "tmpfs", 0, m_options.c_str()) == 0;
    }
    ~CTinyMount()
    {
        if (m_bMounted)
            umount2(m_dir.c_str(), MNT_DETACH);
    }
    CTinyMount(const CTinyMount&) = delete;
    CTinyMount& operator=(const CTinyMount&) = delete;

    bool Mounted() const { return m_bMounted; }
    bool MakeReadOnly()
    {
        return mount(nullptr, m_dir.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, m_options.c_str()) == 0;
    }

private:
    std::string m_dir;
    std::string m_options;
    bool m_bMounted = false;
};
