#include "model/Archive.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

std::string Written(const std::string& str)
{
    std::ostringstream out(std::ios::binary);
    CArchiveWriter ar(out);
    ar.WriteString(str);
    return std::move(out).str();
}

struct ReadResult
{
    std::string str;
    bool bOk;
    std::uint64_t nLeft;
};

ReadResult ReadOneString(const std::string& bytes)
{
    std::istringstream in(bytes, std::ios::binary);
    CArchiveReader ar(in);
    std::string str = ar.ReadString();
    return {str, ar.Ok(), ar.BytesLeft()};
}

TEST(Archive, NumbersAreLittleEndian)
{
    std::ostringstream out(std::ios::binary);
    CArchiveWriter ar(out);
    ar.WriteInt32(-2);
    ar.WriteInt32(0x01020304);
    ar.WriteDouble(1.0);
    EXPECT_EQ(out.str(), std::string("\xFE\xFF\xFF\xFF\x04\x03\x02\x01\0\0\0\0\0\0\xF0\x3F", 16));

    std::istringstream in(out.str(), std::ios::binary);
    CArchiveReader reader(in);
    EXPECT_EQ(reader.ReadInt32(), -2);
    EXPECT_EQ(reader.ReadInt32(), 0x01020304);
    EXPECT_EQ(reader.ReadDouble(), 1.0);
    EXPECT_TRUE(reader.Ok());
}

TEST(Archive, StringLengthPrefixes)
{
    struct Case
    {
        std::size_t nLength;
        std::string prefix;
    };
    const Case cases[] = {
        {0, std::string("\x00", 1)},
        {1, "\x01"},
        {254, "\xFE"},
        {255, std::string("\xFF\xFF\x00", 3)},
        {256, std::string("\xFF\x00\x01", 3)},
        {65533, "\xFF\xFD\xFF"},
        {65534, std::string("\xFF\xFF\xFF\xFE\xFF\x00\x00", 7)},
        {70000, std::string("\xFF\xFF\xFF\x70\x11\x01\x00", 7)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.nLength);
        const std::string text(c.nLength, 'x');
        const std::string bytes = Written(text);
        EXPECT_EQ(bytes.size(), c.prefix.size() + c.nLength);
        EXPECT_EQ(bytes.substr(0, c.prefix.size()), c.prefix);
        const ReadResult read = ReadOneString(bytes);
        EXPECT_TRUE(read.bOk);
        EXPECT_EQ(read.str, text);
        EXPECT_EQ(read.nLeft, 0u);
    }
}

TEST(Archive, TextBytesPassUnchanged)
{
    // Code page 936 text, line breaks, NUL and 0xFF bytes are just bytes.
    const std::string text("\xB1\xEA\xC7\xA9\r\nA\0\xFF\r", 10);
    const ReadResult read = ReadOneString(Written(text));
    EXPECT_TRUE(read.bOk);
    EXPECT_EQ(read.str, text);
}

// 0xFF 0xFFFE announces 16-bit characters with their own length prefix in
// the same scheme; they are converted to code page 936.
TEST(Archive, SixteenBitStringsAreConverted)
{
    struct Case
    {
        const char* name;
        std::string bytes;
        std::string expected; // empty with bOk false: refused
        bool bOk;
    };
    std::string longUtf16;
    for (int i = 0; i < 300; ++i)
        longUtf16 += std::string("\x07\x68", 2); // 标
    std::string longGbk;
    for (int i = 0; i < 300; ++i)
        longGbk += "\xB1\xEA";
    const Case cases[] = {
        {"empty", std::string("\xFF\xFE\xFF\x00", 4), "", true},
        {"ascii", std::string("\xFF\xFE\xFF\x02\x41\x00\x42\x00", 8), "AB", true},
        {"chinese and euro", std::string("\xFF\xFE\xFF\x03\x07\x68\x7E\x7B\xAC\x20", 10),
         "\xB1\xEA\xC7\xA9\x80", true},
        {"three-byte inner prefix", std::string("\xFF\xFE\xFF\xFF\x2C\x01", 6) + longUtf16, longGbk, true},
        {"emoji (surrogate pair)", std::string("\xFF\xFE\xFF\x02\x3D\xD8\x00\xDE", 8), "", false},
        {"hiragana a", std::string("\xFF\xFE\xFF\x01\x42\x30", 6), "\xA4\xA2", true},
        {"lone surrogate", std::string("\xFF\xFE\xFF\x01\x00\xD8", 6), "", false},
        {"runs past the end", std::string("\xFF\xFE\xFF\x03\x41\x00\x42\x00", 8), "", false},
        {"inner prefix cut", std::string("\xFF\xFE\xFF\xFF\x2C", 5), "", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ReadResult read = ReadOneString(c.bytes);
        EXPECT_EQ(read.bOk, c.bOk);
        EXPECT_EQ(read.str, c.expected);
    }
}

// Lengths are checked against the bytes left before anything is allocated;
// a failed read leaves nothing readable behind it.
TEST(Archive, ShortOrHugeStringsFail)
{
    const std::string cases[] = {
        "",
        "\x05"
        "abcd",
        "\xFF",
        "\xFF\x10",
        std::string("\xFF\x00\x01", 3) + std::string(255, 'x'),
        "\xFF\xFF\xFF\xFF\xFF\xFF",
        "\xFF\xFF\xFF\xFF\xFF\xFF\xFF"
        "abc",
        "\xFF\xFE\xFF\xFF\xFF\xFF\xFF\xFF\xFF"
        "ab",
    };
    for (const std::string& bytes : cases) {
        SCOPED_TRACE(testing::PrintToString(bytes));
        std::istringstream in(bytes, std::ios::binary);
        CArchiveReader ar(in);
        EXPECT_EQ(ar.ReadString(), "");
        EXPECT_FALSE(ar.Ok());
        EXPECT_EQ(ar.BytesLeft(), 0u);
    }
    // Failure is sticky: nothing after it reads, even where bytes follow.
    std::istringstream in(std::string("\x09"
                                      "abc\x01\x00\x00\x00",
                                      8),
                          std::ios::binary);
    CArchiveReader ar(in);
    ar.ReadString();
    EXPECT_EQ(ar.ReadInt32(), 0);
    EXPECT_FALSE(ar.Ok());
}

TEST(Archive, ReadsFromTheCurrentPosition)
{
    std::istringstream in(std::string("skip\x02hi", 7), std::ios::binary);
    in.seekg(4);
    CArchiveReader ar(in);
    EXPECT_EQ(ar.BytesLeft(), 3u);
    EXPECT_EQ(ar.ReadString(), "hi");
    EXPECT_TRUE(ar.Ok());
}

} // namespace
