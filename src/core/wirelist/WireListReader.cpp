#include "wirelist/WireListReader.h"

#include "wirelist/TableBuilder.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

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
    std::error_code ignored;
    if (std::filesystem::is_directory(path, ignored))
        return prefix + "is a folder, not a wire list";
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return prefix + std::strerror(errno);
    in.seekg(0, std::ios::end);
    const std::streamoff nSize = in.tellg();
    if (nSize < 0)
        return prefix + "cannot be read (not a regular file?)";
    if (static_cast<std::size_t>(nSize) > kMaxWireListBytes)
        return prefix + "larger than " + std::to_string(kMaxWireListBytes >> 20) +
               " MB, too large for a wire list";
    in.seekg(0);
    std::string bytes(static_cast<std::size_t>(nSize), '\0');
    if (!in.read(bytes.data(), nSize))
        return prefix + "cannot be read";
    std::string error = ReadWireListBytes(bytes, options, list);
    return error.empty() ? error : prefix + error;
}
