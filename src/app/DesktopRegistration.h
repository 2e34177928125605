#pragma once

#include <optional>
#include <string>
#include <vector>

// The registration of ".tav" documents with the desktop: a desktop entry that
// opens them with this program and a shared-mime-info type that names them,
// both in the user's XDG data directory. Start-up installs them when they are
// missing or differ; "Unregister" removes them.

// The registered file type: identifier and description.
extern const char* const kDocumentTypeId;          // "TAVRO.Document"
extern const char* const kDocumentTypeDescription; // "TAVRO Document"
extern const char* const kDocumentMimeType;        // "application/x-tavro-document"

struct CDesktopFile
{
    std::string m_strRelativePath; // below the data directory
    std::string m_strContents;
};

// $XDG_DATA_HOME, or ~/.local/share when it is unset, empty or relative;
// nullopt without a home directory.
std::optional<std::string> XdgDataHome();

// The entry that starts `executable` with a document ("%f"), quoted as the
// desktop entry rules ask.
std::string DesktopEntryText(const std::string& executable);
std::string MimeTypeText();

// The desktop entry and the MIME type for `executable`.
std::vector<CDesktopFile> DesktopRegistrationFiles(const std::string& executable);

struct CRegistrationResult
{
    int m_nError = 0;      // 0, or the errno of the first failure
    bool m_bChanged = false; // some file was written or removed
};

// Writes each file whose contents differ from `files` (atomically, creating
// directories as needed); files already right are left alone.
CRegistrationResult InstallDesktopFiles(const std::string& dataHome,
                                        const std::vector<CDesktopFile>& files);
// Removes the files; files already gone are no failure.
CRegistrationResult RemoveDesktopFiles(const std::string& dataHome,
                                       const std::vector<CDesktopFile>& files);

// The program's own path, from /proc/self/exe; empty when unknown.
std::string ExecutablePath();
