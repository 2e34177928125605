#pragma once

#include <optional>
#include <string>
#include <vector>

// The registration of ".tav" documents with the desktop: a desktop entry that
// opens (and prints) them with this program and a shared-mime-info type that
// names them, both in the user's XDG data directory. A program run from a
// build tree installs them at start-up when they are missing or differ;
// "Unregister" removes them. An installed program has them from its package
// and writes nothing.

struct CDesktopFile
{
    std::string m_strRelativePath; // below the data directory
    std::string m_strContents;
};

// $XDG_DATA_HOME, or ~/.local/share when it is unset, empty or relative;
// nullopt without a home directory.
std::optional<std::string> XdgDataHome();

// The entry that starts `executable` with a document ("%f"), and with "/p"
// in its print action, quoted as the desktop entry rules ask. The same text
// as the installed entry, data/tavromark.desktop.in.
std::string DesktopEntryText(const std::string& executable);
// The type definition of data/tavromark.xml.
std::string MimeTypeText();

// The desktop entry and the MIME type for `executable`.
std::vector<CDesktopFile> DesktopRegistrationFiles(const std::string& executable);

struct CRegistrationResult
{
    int m_nError = 0;        // 0, or the errno of the first failure
    bool m_bChanged = false; // some file was written or removed
};

// Writes each file whose contents differ from `files` (atomically, creating
// directories as needed); files already right are left alone.
CRegistrationResult InstallDesktopFiles(const std::string& dataHome, const std::vector<CDesktopFile>& files);
// Removes the files; files already gone are no failure.
CRegistrationResult RemoveDesktopFiles(const std::string& dataHome, const std::vector<CDesktopFile>& files);

// The program's own path, from /proc/self/exe; empty when unknown.
std::string ExecutablePath();

// True when `executable` is an installed program: the installation's desktop
// entry lies where the install rules put it relative to the program
// (bin/../share/applications/tavromark.desktop), as it does after a package
// or "cmake --install" and never in a build tree.
bool IsInstalledProgram(const std::string& executable);
