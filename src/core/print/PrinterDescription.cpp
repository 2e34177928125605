#include "print/PrinterDescription.h"

#include "model/AtomicFile.h"
#include "model/FileAccess.h"

#include <cerrno>

const std::string kPrinterFileName = "tavrops.spd";

namespace {

constexpr std::uint64_t kMaxFileBytes =
    8 + std::uint64_t{CPrinterDescription::kMaxSettingsBytes} + CPrinterDescription::kMaxNamesBytes;

void AppendLength(std::string& out, std::size_t n)
{
    const auto n32 = static_cast<std::uint32_t>(n);
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<char>((n32 >> (8 * i)) & 0xFF));
}

std::uint32_t LengthAt(std::string_view bytes, std::size_t pos)
{
    std::uint32_t n = 0;
    for (int i = 3; i >= 0; --i)
        n = (n << 8) | static_cast<unsigned char>(bytes[pos + i]);
    return n;
}

} // namespace

std::string CPrinterDescription::PrinterName() const
{
    const std::size_t nEnd = m_strSettings.find('\0');
    return nEnd == std::string::npos ? std::string() : m_strSettings.substr(0, nEnd);
}

CPrinterDescription CPrinterDescription::ForPrinter(const std::string& strName)
{
    CPrinterDescription description;
    description.m_strSettings = strName;
    description.m_strSettings.push_back('\0');
    return description;
}

bool IsValidPrinterDescription(const CPrinterDescription& description)
{
    if (description.m_strSettings.size() > CPrinterDescription::kMaxSettingsBytes ||
        description.m_strNames.size() > CPrinterDescription::kMaxNamesBytes)
        return false;
    const std::size_t nEnd = description.m_strSettings.find('\0');
    if (nEnd == std::string::npos || nEnd == 0 || nEnd > CPrinterDescription::kMaxNameBytes)
        return false;
    for (std::size_t i = 0; i < nEnd; ++i) {
        const auto b = static_cast<unsigned char>(description.m_strSettings[i]);
        if (b < 0x20 || b == 0x7F)
            return false;
    }
    return true;
}

std::string PrinterDescriptionBytes(const CPrinterDescription& description)
{
    std::string out;
    out.reserve(8 + description.m_strSettings.size() + description.m_strNames.size());
    AppendLength(out, description.m_strSettings.size());
    out += description.m_strSettings;
    AppendLength(out, description.m_strNames.size());
    out += description.m_strNames;
    return out;
}

std::optional<CPrinterDescription> ParsePrinterDescription(std::string_view bytes)
{
    if (bytes.size() < 8 || bytes.size() > kMaxFileBytes)
        return std::nullopt;
    const std::uint32_t nSettings = LengthAt(bytes, 0);
    if (nSettings > CPrinterDescription::kMaxSettingsBytes || nSettings > bytes.size() - 8)
        return std::nullopt;
    const std::uint32_t nNames = LengthAt(bytes, 4 + nSettings);
    if (std::uint64_t{8} + nSettings + nNames != bytes.size())
        return std::nullopt;
    CPrinterDescription description;
    description.m_strSettings = std::string(bytes.substr(4, nSettings));
    description.m_strNames = std::string(bytes.substr(8 + nSettings, nNames));
    if (!IsValidPrinterDescription(description))
        return std::nullopt;
    return description;
}

std::optional<CPrinterDescription> ReadPrinterDescriptionFile(const std::string& path)
{
    std::string bytes;
    if (ReadWholeFile(path, kMaxFileBytes, bytes) != 0)
        return std::nullopt;
    return ParsePrinterDescription(bytes);
}

int WritePrinterDescriptionFile(const std::string& path, const CPrinterDescription& description)
{
    if (!IsValidPrinterDescription(description))
        return EINVAL;
    return WriteFileAtomically(path, PrinterDescriptionBytes(description));
}
