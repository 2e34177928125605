#pragma once

#include <optional>
#include <string>

// Why a document could not be opened or saved: what went wrong and its
// facts. The front end words it for the user.
struct CDocumentError
{
    enum class Code {
        NotFound,       // open: no such file
        IsFolder,       // open: the path is a folder
        NotRegularFile, // open: a pipe, device or socket
        NoPermission,   // open: the file cannot be read
        WrongSignature, // open: not a sheet file
        Unreadable,     // open: the file broke off while reading
        Corrupt,        // open: the contents make no sheet
        ReadOnly,       // save: the file is read-only
        WriteFailed,    // save: writing failed with m_nErrno
    };

    Code m_code;
    std::string m_strPath;                   // as the file system names it
    int m_nErrno = 0;                        // WriteFailed
    std::optional<char32_t> m_unconvertible; // Corrupt: a character code page 936 cannot hold
};

// Why a file that could not be opened at all was refused: NotFound,
// IsFolder, NotRegularFile or NoPermission.
CDocumentError::Code WhyNotOpened(const std::string& path);
