#include "model/DocumentError.h"

#include "model/FileAccess.h"

#include <filesystem>
#include <system_error>

CDocumentError::Code WhyNotOpened(const std::string& path)
{
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(path, error);
    if (!std::filesystem::exists(status))
        return CDocumentError::Code::NotFound;
    if (std::filesystem::is_directory(status))
        return CDocumentError::Code::IsFolder;
    if (CheckFileForReading(path) == kErrNotRegularFile)
        return CDocumentError::Code::NotRegularFile;
    return CDocumentError::Code::NoPermission;
}
