#include "SampleSheets.h"
#include "TempDir.h"

#include "model/CSheet.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <limits>
#include <new>
#include <optional>
#include <sstream>
#include <unistd.h>

// The largest single allocation since the last reset, to show that a length
// read from a file never drives an allocation before it was checked.
static std::atomic<std::size_t> g_nLargestAllocation{0};

void* operator new(std::size_t size)
{
    std::size_t largest = g_nLargestAllocation.load();
    while (size > largest && !g_nLargestAllocation.compare_exchange_weak(largest, size)) {
    }
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}
// GCC takes the replaced pair for a mismatch of new and free.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void operator delete(void* p) noexcept
{
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept
{
    std::free(p);
}
#pragma GCC diagnostic pop

namespace {

constexpr std::size_t kSignatureSize = 49;
constexpr std::size_t kFormatAt = kSignatureSize;
constexpr std::size_t kFirstLabelAt = kFormatAt + CPageFormat::kSerializedSize;
constexpr std::size_t kFirstTextAt = kFirstLabelAt + 4;

// The sheet a caller holds before a read: full size, every label filled, so
// that any change a refused read makes shows.
class SheetFile : public testing::Test
{
protected:
    const CSheet m_before = samples::TextSheet(samples::Format(15, 25));
};

template <typename T>
void Patch(std::string& bytes, std::size_t offset, T value)
{
    std::memcpy(&bytes[offset], &value, sizeof value);
}

TEST_F(SheetFile, DefaultSheetIs8871BytesAfterTheSignature)
{
    const std::string bytes = SheetBytes(CSheet{});
    EXPECT_EQ(bytes.size(), 49u + 72u + 70u * 125u);
    EXPECT_EQ(bytes.size(), 8871u);
    EXPECT_EQ(static_cast<unsigned char>(bytes[0]), 0x30);
    EXPECT_EQ(bytes.substr(1, 48), "_TAVRO MARKER SUITE DESIGNED BY DELMARO 2004-02_");
    EXPECT_EQ(bytes.substr(1, 48), kSheetSignature);
}

TEST_F(SheetFile, TextLengthPrefixesInTheFile)
{
    struct Case
    {
        std::size_t nLength;
        std::string prefix;
    };
    const Case cases[] = {
        {254, "\xFE"},
        {255, std::string("\xFF\xFF\x00", 3)},
        {65534, std::string("\xFF\xFF\xFF\xFE\xFF\x00\x00", 7)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.nLength);
        CSheet sheet;
        sheet.m_labels[0][0].m_strText.assign(c.nLength, 'A');
        const std::string bytes = SheetBytes(sheet);
        EXPECT_EQ(bytes.size(), 8871u + c.nLength + c.prefix.size() - 1);
        EXPECT_EQ(bytes.substr(kFirstTextAt, c.prefix.size()), c.prefix);

        CSheet read = m_before;
        std::istringstream in(bytes, std::ios::binary);
        ASSERT_TRUE(ReadSheet(in, read));
        EXPECT_EQ(read.m_labels[0][0].m_strText, sheet.m_labels[0][0].m_strText);
    }
}

TEST_F(SheetFile, LineBreaksInTextsRoundTrip)
{
    CSheet sheet;
    const std::string texts[] = {"A\r\nB",     "\r\n",         "A\r\n\r\nB",
                                 "A\r\nB\r\n", "lone\rCR\nLF", "\r\n\r\n\r\n"};
    for (std::size_t i = 0; i < std::size(texts); ++i)
        sheet.m_labels[i / 5][i % 5].m_strText = texts[i];
    CSheet read = m_before;
    std::istringstream in(SheetBytes(sheet), std::ios::binary);
    ASSERT_TRUE(ReadSheet(in, read));
    for (std::size_t i = 0; i < std::size(texts); ++i)
        EXPECT_EQ(read.m_labels[i / 5][i % 5].m_strText, texts[i]) << i;
}

// Only rows × columns of the file's format are read; the cells outside keep
// what the caller's sheet held.
TEST_F(SheetFile, FewerRowsAndColumnsReadOnlyThatMany)
{
    CSheet small = samples::TextSheet(samples::Format(3, 2));
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 3; ++c)
            small.m_labels[r][c].m_strText = "new " + std::to_string(r) + "," + std::to_string(c);
    const std::string bytes = SheetBytes(small);
    EXPECT_EQ(bytes.size(), kFirstLabelAt + 6 * (125 + 7)); // six records, texts of 7 bytes

    CSheet sheet = m_before;
    std::istringstream in(bytes, std::ios::binary);
    ASSERT_TRUE(ReadSheet(in, sheet));
    EXPECT_EQ(sheet.m_format, small.m_format);
    for (int r = 0; r < CPageFormat::kMaxRows; ++r)
        for (int c = 0; c < CPageFormat::kMaxColumns; ++c) {
            SCOPED_TRACE(testing::Message() << r << "," << c);
            const bool bInside = r < 2 && c < 3;
            EXPECT_EQ(sheet.m_labels[r][c], bInside ? small.m_labels[r][c] : m_before.m_labels[r][c]);
        }
}

// A file that ends anywhere, even inside the last label's font block, is
// refused as a whole.
TEST_F(SheetFile, EveryTruncationIsRefused)
{
    CSheet source = samples::TextSheet(samples::Format(2, 3));
    source.m_labels[1][1].m_strText.assign(300, 'L');
    const std::string bytes = SheetBytes(source);
    for (std::size_t size = 0; size < bytes.size(); ++size) {
        SCOPED_TRACE(size);
        const std::string cut = bytes.substr(0, size);
        std::istringstream check(cut, std::ios::binary);
        EXPECT_EQ(CheckSignature(check),
                  size < kSignatureSize ? SignatureCheck::Unreadable : SignatureCheck::Ok);

        CSheet sheet = m_before;
        std::istringstream in(cut, std::ios::binary);
        ASSERT_FALSE(ReadSheet(in, sheet));
        ASSERT_EQ(sheet, m_before);
    }
    CSheet sheet = m_before;
    std::istringstream in(bytes, std::ios::binary);
    EXPECT_TRUE(ReadSheet(in, sheet));
}

TEST_F(SheetFile, SignatureCheck)
{
    std::string wide("\xFF\xFE\xFF\x30", 4);
    for (char ch : kSheetSignature)
        wide += std::string{ch, '\0'};
    struct Case
    {
        const char* name;
        std::string bytes;
        SignatureCheck expected;
    };
    const Case cases[] = {
        {"the signature", SheetBytes(CSheet{}), SignatureCheck::Ok},
        {"in 16-bit characters", wide, SignatureCheck::Ok},
        {"empty file", "", SignatureCheck::Unreadable},
        {"other string", "\x05hello and more", SignatureCheck::WrongSignature},
        {"empty string", std::string(1, '\0'), SignatureCheck::WrongSignature},
        {"one byte short", "\x2F" + kSheetSignature.substr(0, 47), SignatureCheck::WrongSignature},
        {"last character differs", "\x30" + kSheetSignature.substr(0, 47) + "-",
         SignatureCheck::WrongSignature},
        {"length beyond the file", "\x31" + kSheetSignature, SignatureCheck::Unreadable},
        {"huge length", "\xFF\xFF\xFF\xFF\xFF\xFF\x7F" + kSheetSignature, SignatureCheck::Unreadable},
        {"cut prefix", "\xFF\x30", SignatureCheck::Unreadable},
        {"16-bit form not code page 936", std::string("\xFF\xFE\xFF\x01\x3D\xD8", 6),
         SignatureCheck::Unreadable},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::istringstream in(c.bytes, std::ios::binary);
        EXPECT_EQ(CheckSignature(in), c.expected);
    }
}

// A text length far beyond the file is refused before anything is allocated.
TEST_F(SheetFile, HugeTextLengthAllocatesNothingLarge)
{
    // The tracker sees the allocation of a real long text.
    CSheet longText;
    longText.m_labels[0][0].m_strText.assign(70000, 'x');
    std::istringstream longIn(SheetBytes(longText), std::ios::binary);
    g_nLargestAllocation = 0;
    ASSERT_TRUE(ReadSheet(longIn, longText));
    EXPECT_GE(g_nLargestAllocation.load(), 70000u);

    std::string bytes = SheetBytes(CSheet{});
    bytes.replace(kFirstTextAt, 1, std::string("\xFF\xFF\xFF\xFF\xFF\xFF\x7F", 7));
    CSheet sheet = m_before;
    std::istringstream in(bytes, std::ios::binary);
    g_nLargestAllocation = 0;
    EXPECT_FALSE(ReadSheet(in, sheet));
    EXPECT_LT(g_nLargestAllocation.load(), std::size_t{1} << 20);
    EXPECT_EQ(sheet, m_before);
}

// Formats a sheet cannot show are refused even where the file holds enough
// records for them.
TEST_F(SheetFile, UnusableFormatsAreRefused)
{
    constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
    struct Case
    {
        const char* name;
        std::size_t offset; // within the 72-byte block
        bool bInt;
        double value;
    };
    const Case cases[] = {
        {"rows 0", 68, true, 0},
        {"rows 1", 68, true, 1},
        {"rows 1000", 68, true, 1000},
        {"rows -1", 68, true, -1},
        {"columns 1", 64, true, 1},
        {"columns 16", 64, true, 16},
        {"page width NaN", 0, false, kNaN},
        {"page height negative", 8, false, -200.0},
        {"page width zero", 0, false, 0.0},
        {"left margin negative", 16, false, -1.0},
        {"bottom margin infinite", 40, false, std::numeric_limits<double>::infinity()},
        {"label width zero", 48, false, 0.0},
        {"label height NaN", 56, false, kNaN},
        {"label height negative", 56, false, -8.65},
    };
    // 25 rows of 15 labels: enough records for any of the counts above but 1000.
    const std::string valid = SheetBytes(samples::TextSheet(samples::Format(15, 25)));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string bytes = valid;
        if (c.bInt)
            Patch(bytes, kFormatAt + c.offset, static_cast<std::int32_t>(c.value));
        else
            Patch(bytes, kFormatAt + c.offset, c.value);
        CSheet sheet = m_before;
        std::istringstream in(bytes, std::ios::binary);
        EXPECT_FALSE(ReadSheet(in, sheet));
        EXPECT_EQ(sheet, m_before);
    }
}

TEST_F(SheetFile, UnusableFormatIsNotWritten)
{
    CSheet sheet;
    sheet.m_format.m_nRows = 26;
    std::ostringstream out(std::ios::binary);
    EXPECT_FALSE(WriteSheet(out, sheet));
    EXPECT_TRUE(out.str().empty());
    EXPECT_TRUE(SheetBytes(sheet).empty());

    CTempDir dir;
    EXPECT_EQ(SaveSheetFile(dir / "bad.tav", sheet), EINVAL);
    EXPECT_FALSE(std::filesystem::exists(dir / "bad.tav"));
}

// One open of a real file: the three outcomes of the signature check, a
// broken body, and a good file; only the good file changes the sheet.
TEST_F(SheetFile, ReadSheetFileOutcomes)
{
    CTempDir dir;
    const std::string good = SheetBytes(samples::TextSheet(samples::Preset7x20()));
    const auto write = [&](const std::string& name, const std::string& bytes) {
        std::ofstream(dir / name, std::ios::binary) << bytes;
        return dir / name;
    };
    struct Case
    {
        const char* name;
        std::string path;
        SheetReadResult expected;
    };
    std::filesystem::create_directory(dir / "folder.tav");
    const Case cases[] = {
        {"missing", dir / "missing.tav", SheetReadResult::CannotOpen},
        {"directory", dir / "folder.tav", SheetReadResult::CannotOpen},
        {"empty", write("empty.tav", ""), SheetReadResult::Unreadable},
        {"short signature", write("short.tav", good.substr(0, 30)), SheetReadResult::Unreadable},
        {"other file", write("other.tav", "\x0BHello world, this is text"), SheetReadResult::WrongSignature},
        {"cut in the font block", write("cut.tav", good.substr(0, good.size() - 10)),
         SheetReadResult::Corrupt},
        {"good", write("good.tav", good), SheetReadResult::Ok},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CSheet sheet = m_before;
        EXPECT_EQ(ReadSheetFile(c.path, sheet), c.expected);
        if (c.expected == SheetReadResult::Ok)
            EXPECT_EQ(SheetBytes(sheet), good);
        else
            EXPECT_EQ(sheet, m_before);
    }
    EXPECT_EQ(CheckSignatureFile(dir / "missing.tav"), SignatureCheck::CannotOpen);
    EXPECT_EQ(CheckSignatureFile(dir / "other.tav"), SignatureCheck::WrongSignature);
    EXPECT_EQ(CheckSignatureFile(dir / "empty.tav"), SignatureCheck::Unreadable);
    EXPECT_EQ(CheckSignatureFile(dir / "good.tav"), SignatureCheck::Ok);
}

// A 16-bit text holding a character code page 936 has no code for is
// refused, and the read names that character.
TEST_F(SheetFile, UnconvertibleCharacterIsNamed)
{
    CTempDir dir;
    const std::string chinese200 = [] {
        std::string s;
        for (int i = 0; i < 200; ++i)
            s += std::string("\x07\x68", 2); // 标
        return s;
    }();
    const struct
    {
        const char* name;
        std::string utf16le;
        std::optional<char32_t> expected; // nullopt: the file reads
    } cases[] = {
        {"Thai letter after Chinese", std::string("\x07\x68\x01\x0E", 4), U'\x0E01'},
        {"emoji as a surrogate pair", std::string("A\0\x3D\xD8\x00\xDE", 6), U'\x1F600'},
        {"lone surrogate",
         std::string("\x00\xD8"
                     "A\0",
                     4),
         char32_t{0xD800}},
        {"last of many", chinese200 + std::string("\x01\x0E", 2), U'\x0E01'},
        {"first of many", std::string("\x01\x0E", 2) + chinese200, U'\x0E01'},
        {"pair split by halving",
         std::string("A\0B\0\x3D\xD8\x00\xDE"
                     "C\0",
                     10),
         U'\x1F600'},
        {"all convertible",
         std::string("\x07\x68"
                     "A\0",
                     4),
         std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = dir / "wide.tav";
        std::ofstream(path, std::ios::binary) << samples::WideTextFileBytes(c.utf16le);
        CSheet sheet = m_before;
        std::optional<char32_t> unconvertible;
        const SheetReadResult result = ReadSheetFile(path, sheet, &unconvertible);
        EXPECT_EQ(unconvertible, c.expected);
        if (c.expected) {
            EXPECT_EQ(result, SheetReadResult::Corrupt);
            EXPECT_EQ(sheet, m_before);
        } else {
            EXPECT_EQ(result, SheetReadResult::Ok);
        }
    }
}

TEST_F(SheetFile, UnreadableFileCannotBeOpened)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "root reads any file";
    CTempDir dir;
    std::ofstream(dir / "locked.tav", std::ios::binary) << SheetBytes(CSheet{});
    std::filesystem::permissions(dir / "locked.tav", std::filesystem::perms::none);
    CSheet sheet = m_before;
    EXPECT_EQ(ReadSheetFile(dir / "locked.tav", sheet), SheetReadResult::CannotOpen);
    EXPECT_EQ(sheet, m_before);
}

TEST_F(SheetFile, SavedFileReadsBack)
{
    CTempDir dir;
    const CSheet sheet = samples::TextSheet(samples::Format(15, 25));
    ASSERT_EQ(SaveSheetFile(dir / "saved.tav", sheet), 0);
    CSheet read;
    ASSERT_EQ(ReadSheetFile(dir / "saved.tav", read), SheetReadResult::Ok);
    EXPECT_EQ(read, sheet);
}

} // namespace
