#include "model/Archive.h"

#include "model/Gbk.h"

#include <bit>
#include <cstring>

static_assert(std::endian::native == std::endian::little,
              "the file encodings are read and written as little-endian memory");
static_assert(sizeof(double) == 8);

namespace {

constexpr std::uint8_t kWideMarker8 = 0xFF;
constexpr std::uint16_t kWideMarker16 = 0xFFFF;
constexpr std::uint16_t kUnicodeMarker = 0xFFFE;

std::uint16_t CodeUnit(std::string_view utf16le, std::size_t at)
{
    return static_cast<std::uint16_t>(static_cast<std::uint8_t>(utf16le[at]) |
                                      static_cast<std::uint8_t>(utf16le[at + 1]) << 8);
}

bool IsHighSurrogate(std::uint16_t unit)
{
    return unit >= 0xD800 && unit < 0xDC00;
}

bool IsLowSurrogate(std::uint16_t unit)
{
    return unit >= 0xDC00 && unit < 0xE000;
}

// Bytes of the first character: a surrogate pair is one.
std::size_t FirstCharBytes(std::string_view utf16le)
{
    return utf16le.size() >= 4 && IsHighSurrogate(CodeUnit(utf16le, 0)) &&
                   IsLowSurrogate(CodeUnit(utf16le, 2))
               ? 4
               : 2;
}

// The first character of a 16-bit string (an even number of bytes) that does
// not convert to code page 936. Found by halving, so that a long string costs
// few conversions; a surrogate pair is never split.
char32_t FirstUnconvertibleChar(std::string_view utf16le)
{
    while (utf16le.size() > FirstCharBytes(utf16le)) {
        std::size_t half = utf16le.size() / 4 * 2;
        if (IsLowSurrogate(CodeUnit(utf16le, half)) && IsHighSurrogate(CodeUnit(utf16le, half - 2)))
            half += 2;
        const std::string_view front = utf16le.substr(0, half);
        utf16le = Utf16LeToGbk(front) ? utf16le.substr(half) : front;
    }
    const std::uint16_t unit = CodeUnit(utf16le, 0);
    if (utf16le.size() == 4)
        return 0x10000 + ((char32_t{unit} - 0xD800) << 10) + (CodeUnit(utf16le, 2) - 0xDC00);
    return unit;
}

} // namespace

void CArchiveWriter::WriteBytes(const void* data, std::size_t size)
{
    m_out.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
}

void CArchiveWriter::WriteInt32(std::int32_t n)
{
    WriteBytes(&n, sizeof n);
}

void CArchiveWriter::WriteDouble(double d)
{
    WriteBytes(&d, sizeof d);
}

void CArchiveWriter::WriteString(const std::string& str)
{
    const std::size_t len = str.size();
    if (len < kWideMarker8) {
        const auto n = static_cast<std::uint8_t>(len);
        WriteBytes(&n, 1);
    } else if (len < kUnicodeMarker) {
        const auto n = static_cast<std::uint16_t>(len);
        WriteBytes(&kWideMarker8, 1);
        WriteBytes(&n, 2);
    } else {
        const auto n = static_cast<std::uint32_t>(len);
        WriteBytes(&kWideMarker8, 1);
        WriteBytes(&kWideMarker16, 2);
        WriteBytes(&n, 4);
    }
    WriteBytes(str.data(), len);
}

CArchiveReader::CArchiveReader(std::istream& in) : m_in(in)
{
    const std::istream::pos_type start = m_in.tellg();
    m_in.seekg(0, std::ios::end);
    const std::istream::pos_type end = m_in.tellg();
    m_in.seekg(start);
    if (start < 0 || end < start || !m_in)
        m_bFailed = true;
    else
        m_nBytesLeft = static_cast<std::uint64_t>(end - start);
}

bool CArchiveReader::Fail()
{
    m_bFailed = true;
    m_nBytesLeft = 0;
    return false;
}

bool CArchiveReader::ReadBytes(void* data, std::size_t size)
{
    if (m_bFailed || size > m_nBytesLeft)
        return Fail();
    m_in.read(static_cast<char*>(data), static_cast<std::streamsize>(size));
    if (static_cast<std::size_t>(m_in.gcount()) != size)
        return Fail();
    m_nBytesLeft -= size;
    return true;
}

std::int32_t CArchiveReader::ReadInt32()
{
    std::int32_t n = 0;
    return ReadBytes(&n, sizeof n) ? n : 0;
}

double CArchiveReader::ReadDouble()
{
    double d = 0.0;
    return ReadBytes(&d, sizeof d) ? d : 0.0;
}

std::uint32_t CArchiveReader::ReadLength()
{
    std::uint8_t n8 = 0;
    if (!ReadBytes(&n8, 1) || n8 < kWideMarker8)
        return n8;
    std::uint16_t n16 = 0;
    if (!ReadBytes(&n16, 2) || n16 < kWideMarker16)
        return n16;
    std::uint32_t n32 = 0;
    ReadBytes(&n32, 4);
    return n32;
}

std::string CArchiveReader::ReadString()
{
    // The prefix is read by hand here because 0xFF 0xFFFE announces a string
    // of 16-bit characters whose own length follows.
    std::uint8_t n8 = 0;
    if (!ReadBytes(&n8, 1))
        return {};
    std::uint64_t nBytes = n8;
    bool bWide = false;
    if (n8 == kWideMarker8) {
        std::uint16_t n16 = 0;
        if (!ReadBytes(&n16, 2))
            return {};
        if (n16 == kUnicodeMarker) {
            bWide = true;
            nBytes = std::uint64_t{ReadLength()} * 2;
        } else if (n16 == kWideMarker16) {
            std::uint32_t n32 = 0;
            if (!ReadBytes(&n32, 4))
                return {};
            nBytes = n32;
        } else {
            nBytes = n16;
        }
    }
    if (m_bFailed || nBytes > m_nBytesLeft) {
        Fail();
        return {};
    }
    std::string str(static_cast<std::size_t>(nBytes), '\0');
    if (!ReadBytes(str.data(), str.size()))
        return {};
    if (!bWide)
        return str;
    std::optional<std::string> gbk = Utf16LeToGbk(str);
    if (!gbk) {
        m_unconvertible = FirstUnconvertibleChar(str);
        Fail();
        return {};
    }
    return std::move(*gbk);
}
