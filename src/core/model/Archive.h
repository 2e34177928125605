#pragma once

#include <cstdint>
#include <istream>
#include <optional>
#include <ostream>
#include <string>

// The binary encodings of the sheet and library files: little-endian int32,
// IEEE 754 doubles, and byte strings with a 1-, 3- or 7-byte length prefix and
// no terminator. Strings hold code page 936 bytes, as the files do.

class CArchiveWriter
{
public:
    explicit CArchiveWriter(std::ostream& out) : m_out(out) {}

    void WriteInt32(std::int32_t n);
    void WriteDouble(double d);
    void WriteString(const std::string& str);
    void WriteBytes(const void* data, std::size_t size);

    bool Ok() const { return m_out.good(); }

private:
    std::ostream& m_out;
};

// Reads from a stream whose size is known up front, so that no length taken
// from the file is trusted: a string longer than the bytes left fails before
// anything is allocated. Failure is sticky: after the first short read every
// read returns zero or empty and Ok() stays false.
class CArchiveReader
{
public:
    explicit CArchiveReader(std::istream& in);

    std::int32_t ReadInt32();
    double ReadDouble();
    std::string ReadString();
    bool ReadBytes(void* data, std::size_t size);

    bool Ok() const { return !m_bFailed; }
    std::uint64_t BytesLeft() const { return m_nBytesLeft; }
    // The character the read failed on when a 16-bit string held one that
    // code page 936 cannot hold.
    std::optional<char32_t> UnconvertibleChar() const { return m_unconvertible; }

private:
    std::uint32_t ReadLength(); // one length prefix, without the 16-bit marker
    bool Fail();

    std::istream& m_in;
    std::uint64_t m_nBytesLeft = 0;
    bool m_bFailed = false;
    std::optional<char32_t> m_unconvertible;
};
