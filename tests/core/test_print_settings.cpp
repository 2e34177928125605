#include "print/PageOffset.h"
#include "print/PrinterDescription.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace {

std::string Le32(std::uint32_t n)
{
    std::string s;
    for (int i = 0; i < 4; ++i)
        s.push_back(static_cast<char>((n >> (8 * i)) & 0xFF));
    return s;
}

std::string Block(const std::string& bytes)
{
    return Le32(static_cast<std::uint32_t>(bytes.size())) + bytes;
}

const std::string kSettings = std::string("PDF\0orientation=1\n", 19);

} // namespace

TEST(PrinterDescription, Layout)
{
    CPrinterDescription description;
    description.m_strSettings = kSettings;
    description.m_strNames = "cups";
    const std::string bytes = PrinterDescriptionBytes(description);
    EXPECT_EQ(bytes, Block(kSettings) + Block("cups"));
    EXPECT_EQ(ParsePrinterDescription(bytes), description);
    EXPECT_EQ(description.PrinterName(), "PDF");
    EXPECT_EQ(PrinterDescriptionBytes(CPrinterDescription::ForPrinter("Office")),
              Le32(7) + std::string("Office\0", 7) + Le32(0));
}

TEST(PrinterDescription, ShortOversizedOrForeignReadsAsMissing)
{
    const std::string good = Block(kSettings) + Block("");
    const struct
    {
        const char* name;
        std::string bytes;
        bool bTaken;
    } cases[] = {
        {"good, no names block", good, true},
        {"good, names block", Block(kSettings) + Block("x"), true},
        {"empty file", "", false},
        {"first length only", Le32(19), false},
        {"first block cut short", Le32(19) + kSettings.substr(0, 10), false},
        {"second length missing", Block(kSettings), false},
        {"second block cut short", Block(kSettings) + Le32(10) + "abc", false},
        {"trailing bytes", good + "x", false},
        {"first length huge", Le32(0xFFFFFFF0u) + kSettings + Le32(0), false},
        {"first block over the bound", Block(std::string("P\0", 2) + std::string(64 * 1024, 'x')) + Le32(0),
         false},
        {"first block at the bound", Block(std::string("P\0", 2) + std::string(64 * 1024 - 2, 'x')) + Le32(0),
         true},
        {"names block over the bound", Block(kSettings) + Block(std::string(4097, 'n')), false},
        {"empty first block", Block("") + Block(""), false},
        {"no terminator", Block("PDF") + Block(""), false},
        {"empty name", Block(std::string("\0rest", 5)) + Block(""), false},
        {"control character in the name", Block(std::string("P\x01\0", 3)) + Block(""), false},
        {"name too long", Block(std::string(256, 'p') + '\0') + Block(""), false},
        {"a sheet file", std::string("\x30_TAVRO MARKER SUITE", 20), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ParsePrinterDescription(c.bytes).has_value(), c.bTaken);
    }
}

TEST(PrinterDescription, FileReadAndAtomicWrite)
{
    char pattern[] = "/tmp/tavro-spd-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    const std::filesystem::path dir = pattern;
    const std::string path = dir / kPrinterFileName;

    EXPECT_FALSE(ReadPrinterDescriptionFile(path)) << "missing";
    const CPrinterDescription first = CPrinterDescription::ForPrinter("First");
    ASSERT_EQ(WritePrinterDescriptionFile(path, first), 0);
    EXPECT_EQ(ReadPrinterDescriptionFile(path), first);

    // A description that would not read back is refused and changes nothing.
    EXPECT_EQ(WritePrinterDescriptionFile(path, CPrinterDescription{}), EINVAL);
    EXPECT_EQ(ReadPrinterDescriptionFile(path), first);

    // An oversized file is not taken.
    std::ofstream(path, std::ios::binary | std::ios::trunc) << Block(kSettings) + std::string(70000, 'x');
    EXPECT_FALSE(ReadPrinterDescriptionFile(path));
    EXPECT_FALSE(ReadPrinterDescriptionFile(dir)) << "a directory";
    std::filesystem::remove_all(dir);
}

TEST(PageOffset, StoredTextAsReadAtStart)
{
    const struct
    {
        std::string text;
        int nExpected;
    } cases[] = {
        {"", 0},
        {"0", 0},
        {"150", 150},
        {"-150", -150},
        {"+20", 20},
        {"  \t42", 42},
        {"12abc", 12},
        {"abc", 0},
        {"-", 0},
        {"9999", 9999},
        {"-9999", -9999},
        {"10000", 0},
        {"-10000", 0},
        {"99999999999999999999", 0},
        {"-99999999999999999999", 0},
        {"1 5", 1},
        {std::string(199, '0'), 0},
        {std::string(198, '0') + "7", 7},
        {std::string(199, '0') + "7", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(PageMoveFromText(c.text), c.nExpected);
    }
}

TEST(PageOffset, DecimalTextSaturates)
{
    EXPECT_EQ(DecimalTextValue("2147483647"), 2147483647);
    EXPECT_EQ(DecimalTextValue("2147483648"), 2147483647);
    EXPECT_EQ(DecimalTextValue("-2147483648"), -2147483647 - 1);
    EXPECT_EQ(DecimalTextValue("-99999999999"), -2147483647 - 1);
}

TEST(PageOffset, DialogCheck)
{
    const struct
    {
        const char* typed;
        OffsetTextCheck check;
        const char* stored;
        int nValue;
    } cases[] = {
        {" 1 5 ", OffsetTextCheck::Ok, "15", 15},
        {"", OffsetTextCheck::Ok, "0", 0},
        {"   ", OffsetTextCheck::Ok, "0", 0},
        {"+20", OffsetTextCheck::Ok, "+20", 20},
        {"-", OffsetTextCheck::Ok, "-", 0},
        {"+", OffsetTextCheck::Ok, "+", 0},
        {"-150", OffsetTextCheck::Ok, "-150", -150},
        {"2-0", OffsetTextCheck::NotANumber, "2-0", 0},
        {"1.5", OffsetTextCheck::NotANumber, "1.5", 0},
        {"a1", OffsetTextCheck::NotANumber, "a1", 0},
        {"12abc", OffsetTextCheck::NotANumber, "12abc", 0},
        {"--1", OffsetTextCheck::NotANumber, "--1", 0},
        {"\t1", OffsetTextCheck::NotANumber, "\t1", 0},
        {"9999", OffsetTextCheck::Ok, "9999", 9999},
        {"-9999", OffsetTextCheck::Ok, "-9999", -9999},
        {"10000", OffsetTextCheck::OutOfRange, "10000", 10000},
        {"-10000", OffsetTextCheck::OutOfRange, "-10000", -10000},
        {"999999", OffsetTextCheck::OutOfRange, "999999", 999999},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        const COffsetText result = CheckOffsetText(c.typed);
        EXPECT_EQ(result.m_check, c.check);
        EXPECT_EQ(result.m_strText, c.stored);
        if (c.check != OffsetTextCheck::NotANumber) {
            EXPECT_EQ(result.m_nValue, c.nValue);
        }
    }
}
