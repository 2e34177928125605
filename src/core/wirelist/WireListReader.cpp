#include "wirelist/WireListReader.h"

#include "model/FileAccess.h"
#include "wirelist/TableBuilder.h"

#include <cerrno>

std::string ReadWireListBytes(std::string_view bytes, const CWireListOptions& options, CWireList& list)
{
    list = {};
    if (bytes.empty())
        return "the file is empty";
    if (bytes.starts_with("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1"))
        return "an old binary Excel workbook (.xls): save it as .xlsx, .ods or CSV";
    const bool bZip = bytes.starts_with("PK\x03\x04") || bytes.starts_with("PK\x05\x06");
    std::string error = bZip ? ReadWorkbook(bytes, options, list) : ReadTextList(bytes, options, list);
    if (error.empty() && list.m_table.RowCount() == 0)
        return "the list has no cells";
    return error;
}

std::string ReadWireListFile(const std::string& path, const CWireListOptions& options, CWireList& list)
{
    const std::string prefix = "'" + path + "': ";
    // Read without blocking on a pipe or a device, as documents are.
    std::string bytes;
    switch (const int nError = ReadWholeFile(path, kMaxWireListBytes, bytes)) {
    case 0:
        break;
    case EISDIR:
        return prefix + "is a folder, not a wire list";
    case EFBIG:
        return prefix + "larger than " + std::to_string(kMaxWireListBytes >> 20) +
               " MB, too large for a wire list";
    default:
        return prefix + FileErrorText(nError);
    }
    std::string error = ReadWireListBytes(bytes, options, list);
    return error.empty() ? error : prefix + error;
}
