#include "TempDir.h"
#include "model/Archive.h"
#include "sheets/SheetTypeExchange.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <fstream>
#include <sstream>

namespace {

CPageFormat Format(std::int32_t nColumns, std::int32_t nRows = 14)
{
    CPageFormat format;
    format.m_nColumns = nColumns;
    format.m_nRows = nRows;
    format.Recalc();
    return format;
}

} // namespace

TEST(SheetTypeExchange, WrittenFilesReadBackWhole)
{
    const CSheetTypeList types = {{"Avery 5160", Format(3, 10)}, {"\xB1\xEA\xC7\xA9", Format(4)}}; // 标签
    const CTypeFileRead read = ReadTypeFileBytes(TypeListBytes(types));
    EXPECT_EQ(read.m_fault, TypeFileFault::None);
    EXPECT_EQ(read.m_types, types);

    CTempDir dir;
    ASSERT_EQ(WriteTypeListFile(dir / "shared.lps", types), 0);
    EXPECT_EQ(ReadTypeFile(dir / "shared.lps").m_types, types);
    EXPECT_EQ(ReadTypeFile(dir / "missing.lps").m_nError, ENOENT);
}

TEST(SheetTypeExchange, AnythingElseIsRefused)
{
    const std::string two = TypeListBytes({{"A", Format(3)}, {"B", Format(4)}});
    std::string unusable = TypeListBytes({{"A", Format(3)}, {"B", Format(1)}});
    const struct
    {
        const char* name;
        std::string bytes;
        TypeFileFault fault;
        std::size_t nEntry;
    } cases[] = {
        {"empty file", "", TypeFileFault::NoEntries, 0},
        {"count cut short", std::string("\x01\x00", 2), TypeFileFault::NoEntries, 0},
        {"no entries", std::string(4, '\0'), TypeFileFault::NoEntries, 0},
        {"negative count", "\xFF\xFF\xFF\xFF", TypeFileFault::NoEntries, 0},
        {"second entry cut short", two.substr(0, two.size() - 1), TypeFileFault::CutShort, 2},
        {"count beyond the entries", std::string("\x03", 1) + two.substr(1), TypeFileFault::CutShort, 3},
        {"one column", unusable, TypeFileFault::Unusable, 2},
        {"a byte after the last entry", two + "x", TypeFileFault::BytesAfterEnd, 0},
        {"count below the entries", std::string("\x01", 1) + two.substr(1), TypeFileFault::BytesAfterEnd, 0},
        {"a PNG", std::string("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16), TypeFileFault::CutShort, 1},
        {"text", "Avery 5160, 3 x 10 labels\n", TypeFileFault::CutShort, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const CTypeFileRead read = ReadTypeFileBytes(c.bytes);
        EXPECT_EQ(read.m_fault, c.fault);
        EXPECT_EQ(read.m_nEntry, c.nEntry);
        EXPECT_TRUE(read.m_types.empty());
    }
}

TEST(SheetTypeExchange, MergeByNameAsksOnAClash)
{
    const CSheetTypeList library = {{"A", Format(3)}, {"B", Format(4)}, {"C", Format(5)}};
    const struct
    {
        const char* name;
        CSheetTypeList incoming;
        std::optional<ClashAnswer> answer;
        CSheetTypeList expected;
        std::size_t nAdded, nReplaced, nSkipped, nAlreadyThere, nAsked;
    } cases[] = {
        {"new names go to their places",
         {{"D", Format(6)}, {"AA", Format(7)}},
         std::nullopt,
         {{"A", Format(3)}, {"AA", Format(7)}, {"B", Format(4)}, {"C", Format(5)}, {"D", Format(6)}},
         2,
         0,
         0,
         0,
         0},
        {"the same entry is already there", {{"B", Format(4)}}, std::nullopt, library, 0, 0, 0, 1, 0},
        {"replace",
         {{"B", Format(9)}},
         ClashAnswer::Replace,
         {{"A", Format(3)}, {"B", Format(9)}, {"C", Format(5)}},
         0,
         1,
         0,
         0,
         1},
        {"a name that differs in case clashes",
         {{"b", Format(9)}},
         ClashAnswer::Replace,
         {{"A", Format(3)}, {"b", Format(9)}, {"C", Format(5)}},
         0,
         1,
         0,
         0,
         1},
        {"keep both",
         {{"B", Format(9)}},
         ClashAnswer::KeepBoth,
         {{"A", Format(3)}, {"B", Format(4)}, {"B", Format(9)}, {"C", Format(5)}},
         1,
         0,
         0,
         0,
         1},
        {"skip",
         {{"B", Format(9)}, {"D", Format(6)}},
         ClashAnswer::Skip,
         {{"A", Format(3)}, {"B", Format(4)}, {"C", Format(5)}, {"D", Format(6)}},
         1,
         0,
         1,
         0,
         1},
        {"cancel keeps the library as it was",
         {{"D", Format(6)}, {"B", Format(9)}},
         std::nullopt,
         library,
         0,
         0,
         0,
         0,
         1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CSheetTypeList merged = library;
        std::size_t nAsked = 0;
        const CTypeMerge merge =
            MergeTypes(merged, c.incoming, [&](const CSheetType& existing, const CSheetType&) {
                ++nAsked;
                EXPECT_EQ(existing.m_strName, "B");
                return c.answer;
            });
        EXPECT_EQ(merged, c.expected);
        EXPECT_EQ(merge.m_bCancelled, nAsked > 0 && !c.answer);
        EXPECT_EQ(merge.m_nAdded, c.nAdded);
        EXPECT_EQ(merge.m_nReplaced, c.nReplaced);
        EXPECT_EQ(merge.m_nSkipped, c.nSkipped);
        EXPECT_EQ(merge.m_nAlreadyThere, c.nAlreadyThere);
        EXPECT_EQ(nAsked, c.nAsked);
        EXPECT_EQ(merge.m_names.size(), c.nAdded + c.nReplaced);
    }
}

// Names equal as the list sorts them stay in the order they came, whatever
// the answers: a replaced or kept entry goes after the others of its name,
// and an incoming name may clash with one imported just before it.
TEST(SheetTypeExchange, MergeKeepsTheOrderOfEqualNames)
{
    const CSheetTypeList library = {{"A", Format(3)}, {"B", Format(4)}, {"b", Format(5)}, {"C", Format(6)}};
    const struct
    {
        const char* name;
        CSheetTypeList incoming;
        ClashAnswer answer;
        CSheetTypeList expected;
        std::vector<std::string> asked; // the existing entries' names
        std::size_t nAdded, nAlreadyThere;
    } cases[] = {
        {"replace the first of a run",
         {{"B", Format(9)}},
         ClashAnswer::Replace,
         {{"A", Format(3)}, {"b", Format(5)}, {"B", Format(9)}, {"C", Format(6)}},
         {"B"},
         0,
         0},
        {"keep both at the end of the run",
         {{"b", Format(9)}},
         ClashAnswer::KeepBoth,
         {{"A", Format(3)}, {"B", Format(4)}, {"b", Format(5)}, {"b", Format(9)}, {"C", Format(6)}},
         {"B"},
         1,
         0},
        {"a name twice in the file",
         {{"D", Format(7)}, {"d", Format(8)}},
         ClashAnswer::KeepBoth,
         {{"A", Format(3)},
          {"B", Format(4)},
          {"b", Format(5)},
          {"C", Format(6)},
          {"D", Format(7)},
          {"d", Format(8)}},
         {"D"},
         2,
         0},
        {"the same entry twice in the file",
         {{"D", Format(7)}, {"D", Format(7)}},
         ClashAnswer::KeepBoth,
         {{"A", Format(3)}, {"B", Format(4)}, {"b", Format(5)}, {"C", Format(6)}, {"D", Format(7)}},
         {},
         1,
         1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CSheetTypeList merged = library;
        std::vector<std::string> asked;
        const CTypeMerge merge =
            MergeTypes(merged, c.incoming, [&](const CSheetType& existing, const CSheetType&) {
                asked.push_back(existing.m_strName);
                return std::optional<ClashAnswer>(c.answer);
            });
        EXPECT_EQ(merged, c.expected);
        EXPECT_EQ(asked, c.asked);
        EXPECT_EQ(merge.m_nAdded, c.nAdded);
        EXPECT_EQ(merge.m_nAlreadyThere, c.nAlreadyThere);
    }
}
