#include "model/Archive.h"
#include "model/FileAccess.h"
#include "sheets/PageSetupValues.h"
#include "sheets/SheetTypeList.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string Entry(const std::string& strName, const CPageFormat& format = CPageFormat())
{
    std::ostringstream out(std::ios::binary);
    CArchiveWriter ar(out);
    ar.WriteString(strName);
    format.Store(ar);
    return std::move(out).str();
}

std::string Count(std::int32_t n)
{
    return std::string(reinterpret_cast<const char*>(&n), 4);
}

CSheetTypeList Read(const std::string& bytes)
{
    std::istringstream in(bytes, std::ios::binary);
    CSheetTypeList list;
    ReadTypeList(in, list);
    return list;
}

std::vector<std::string> Names(const CSheetTypeList& list)
{
    std::vector<std::string> names;
    for (const CSheetType& type : list)
        names.push_back(type.m_strName);
    return names;
}

// A private settings directory for each test.
class SheetTypeFiles : public ::testing::Test
{
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/tavro-sheets-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        m_dir = pattern;
        const char* old = std::getenv("XDG_CONFIG_HOME");
        m_strOldConfig = old ? old : "";
        m_bHadConfig = old != nullptr;
        setenv("XDG_CONFIG_HOME", m_dir.c_str(), 1);
        m_path = m_dir / "TAVRO" / kTypeListFileName;
    }

    void TearDown() override
    {
        if (m_bHadConfig)
            setenv("XDG_CONFIG_HOME", m_strOldConfig.c_str(), 1);
        else
            unsetenv("XDG_CONFIG_HOME");
        std::filesystem::remove_all(m_dir);
    }

    std::string FileBytes() const
    {
        std::ifstream in(m_path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }

    std::filesystem::path m_dir;
    std::filesystem::path m_path;
    std::string m_strOldConfig;
    bool m_bHadConfig = false;
};

} // namespace

TEST(SheetTypeList, OneDefaultEntryIs80Bytes)
{
    const std::string bytes = TypeListBytes({{"abc", CPageFormat()}});
    ASSERT_EQ(bytes.size(), 80u);
    EXPECT_EQ(bytes.substr(0, 8), std::string("\x01\x00\x00\x00\x03"
                                              "abc",
                                              8));
    EXPECT_EQ(bytes.substr(8), Entry("").substr(1));
    const CSheetTypeList back = Read(bytes);
    ASSERT_EQ(back.size(), 1u);
    EXPECT_EQ(back[0], (CSheetType{"abc", CPageFormat()}));
}

TEST(SheetTypeList, LongNameHasThreeBytePrefix)
{
    const std::string strName(300, 'x');
    const std::string bytes = TypeListBytes({{strName, CPageFormat()}});
    EXPECT_EQ(bytes.substr(4, 3), "\xFF\x2C\x01");
    EXPECT_EQ(bytes.size(), 4u + 3 + 300 + 72);
    EXPECT_EQ(Names(Read(bytes)), std::vector<std::string>{strName});
}

TEST(SheetTypeList, DamagedFilesKeepEveryCompleteEntry)
{
    CPageFormat unusable;
    unusable.m_nColumns = 16;
    const std::string a = Entry("A");
    const std::string b = Entry("B");
    const struct
    {
        const char* name;
        std::string bytes;
        std::vector<std::string> expected;
    } cases[] = {
        {"empty file", "", {}},
        {"count cut short", "\x01\x00", {}},
        {"count zero, entries follow", Count(0) + a, {}},
        {"negative count", Count(-1) + a, {}},
        {"second entry cut short", Count(2) + a + b.substr(0, b.size() - 1), {"A"}},
        {"second name cut short",
         Count(2) + a +
             "\x05"
             "BB",
         {"A"}},
        {"count larger than entries", Count(5) + a + b, {"A", "B"}},
        {"huge count", Count(0x7FFFFFFF) + a, {"A"}},
        {"name length beyond the file", Count(1) + std::string("\xFF\xFF\xFF\xF0\xFF\xFF\xFF", 7), {}},
        {"bytes after the last entry", Count(1) + a + "junk", {"A"}},
        {"unusable format skipped, next kept", Count(3) + a + Entry("X", unusable) + b, {"A", "B"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Names(Read(c.bytes)), c.expected);
    }
}

TEST(SheetTypeList, SixteenBitNamesAreRead)
{
    // 0xFF, 0xFFFE, then the length in characters and UTF-16LE text.
    const std::string wide = std::string("\xFF\xFE\xFF\x02"
                                         "A\0"
                                         "\x2D\x4E",
                                         8); // "A中"
    const std::string bytes = Count(1) + wide + Entry("").substr(1);
    EXPECT_EQ(Names(Read(bytes)), std::vector<std::string>{"A\xD6\xD0"});
}

TEST(SheetTypeList, SortedCaseInsensitivelyAndStable)
{
    const std::string bytes = Count(6) + Entry("beta") + Entry("Alpha") + Entry("same", CPageFormat()) +
                              Entry("ALPHA") + Entry("SAME") + Entry("alpha2");
    const CSheetTypeList list = Read(bytes);
    EXPECT_EQ(Names(list), (std::vector<std::string>{"Alpha", "ALPHA", "alpha2", "beta", "same", "SAME"}));
    // Equal names are both kept and both written.
    EXPECT_EQ(Read(TypeListBytes(list)), list);
}

// Reading into a list that already holds entries orders exactly as adding
// each read entry by InsertSorted would: equal names in the order they came,
// those already listed first. Many entries in descending order, the worst
// case of one insertion per entry, read in one sort.
TEST(SheetTypeList, ReadingSortsLikeInsertingEachEntry)
{
    CPageFormat other;
    other.m_nRows = 3;
    other.Recalc();
    std::string bytes = Count(8);
    CSheetTypeList expected = {{"b", other}, {"SAME", other}};
    CSheetTypeList list = expected;
    for (const std::string name : {"same", "Z", "a", "B", "same", "A", "\xD6\xD0", "b"}) {
        const CPageFormat format = name == "a" ? other : CPageFormat();
        bytes += Entry(name, format);
        InsertSorted(expected, {name, format});
    }
    std::istringstream in(bytes, std::ios::binary);
    ReadTypeList(in, list);
    EXPECT_EQ(list, expected);

    constexpr int kEntries = 20000;
    bytes = Count(kEntries);
    for (int i = kEntries; i > 0; --i)
        bytes += Entry("type " + std::to_string(100000 + i));
    const CSheetTypeList many = Read(bytes);
    ASSERT_EQ(many.size(), std::size_t{kEntries});
    EXPECT_TRUE(std::is_sorted(many.begin(), many.end(), [](const CSheetType& a, const CSheetType& b) {
        return CompareTypeNames(a.m_strName, b.m_strName) < 0;
    }));
}

TEST(SheetTypeList, NameComparisonTakesDoubleByteCharactersWhole)
{
    // "中" is D6 D0; "譨" is D7 41, whose second byte must not fold to 'a'.
    EXPECT_LT(CompareTypeNames("a", "\xD6\xD0"), 0);
    EXPECT_NE(CompareTypeNames("\xD7\x41", "\xD7\x61"), 0);
    EXPECT_FALSE(TypeNameHasPrefix("\xD7\x41", "\xD7\x61"));
    EXPECT_TRUE(TypeNameHasPrefix("\xD6\xD0\xCE\xC4 K1", "\xD6\xD0"));
    EXPECT_EQ(CompareTypeNames("Abc", "aBC"), 0);
    EXPECT_LT(CompareTypeNames("ab", "abc"), 0);
}

TEST(SheetTypeList, PrefixSearchStartsAtSecondAndWraps)
{
    const auto list = [](std::initializer_list<const char*> names) {
        CSheetTypeList l;
        for (const char* n : names)
            l.push_back({n, CPageFormat()});
        return l;
    };
    const struct
    {
        const char* name;
        CSheetTypeList list;
        std::string strPrefix;
        int nExpected;
    } cases[] = {
        {"A and AB, last A: AB first", list({"A", "AB"}), "A", 1},
        {"only entry X", list({"X"}), "X", 0},
        {"wraps to the first", list({"K1", "Z"}), "k", 0},
        {"empty prefix matches nothing", list({"A", "B"}), "", -1},
        {"no match", list({"A", "B"}), "C", -1},
        {"empty list", {}, "A", -1},
        {"case-insensitive", list({"a", "b", "Tavro"}), "TAV", 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FindTypeByPrefix(c.list, c.strPrefix), c.nExpected);
    }
}

TEST(SheetTypeList, InsertSortedPutsEqualNamesAfter)
{
    CSheetTypeList list;
    EXPECT_EQ(InsertSorted(list, {"b", CPageFormat()}), 0u);
    EXPECT_EQ(InsertSorted(list, {"a", CPageFormat()}), 0u);
    EXPECT_EQ(InsertSorted(list, {"B", CPageFormat()}), 2u);
    EXPECT_EQ(InsertSorted(list, {"c", CPageFormat()}), 3u);
    EXPECT_EQ(Names(list), (std::vector<std::string>{"a", "b", "B", "c"}));
}

TEST(SheetTypeList, Presets)
{
    const CSheetTypeList presets = PresetTypes();
    ASSERT_EQ(presets.size(), 3u);
    EXPECT_EQ(Names(presets),
              (std::vector<std::string>{"Tavro Marker Suite K7713-1-3", "Tavro Marker Suite K7713-2-6",
                                        "Tavro Marker Suite K7713-6-10"}));
    // Added one by one in this order, they are already in display order.
    CSheetTypeList sorted;
    for (const CSheetType& type : presets)
        InsertSorted(sorted, type);
    EXPECT_EQ(sorted, presets);
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(presets[i].m_format, CPageFormat());
        EXPECT_DOUBLE_EQ(presets[i].m_format.m_dColumnPitch, 24.25);
        EXPECT_DOUBLE_EQ(presets[i].m_format.m_dRowPitch, 185.35 / 13);
    }
    const CPageFormat& a4 = presets[2].m_format;
    EXPECT_EQ(a4.m_dPageWidth, 210.0);
    EXPECT_EQ(a4.m_dPageHeight, 297.0);
    EXPECT_EQ(a4.m_dTopMargin, 12.0);
    EXPECT_EQ(a4.m_dBottomMargin, 12.0);
    EXPECT_EQ(a4.m_dLabelWidth, 19.0);
    EXPECT_EQ(a4.m_dLabelHeight, 8.65);
    EXPECT_EQ(a4.m_nColumns, 7);
    EXPECT_EQ(a4.m_nRows, 20);
    EXPECT_DOUBLE_EQ(a4.m_dColumnPitch, 167.0 / 6);
    EXPECT_DOUBLE_EQ(a4.m_dRowPitch, 264.35 / 19);
}

TEST_F(SheetTypeFiles, MissingFileReadsNothing)
{
    CSheetTypeList list;
    EXPECT_EQ(LoadTypeList(list), ENOENT);
    EXPECT_TRUE(list.empty());
}

// The caller must tell a library it could not read from a missing one, as
// only a missing one may be written afresh.
TEST_F(SheetTypeFiles, UnreadableLibraryReportsWhy)
{
    ASSERT_EQ(SaveTypeList(PresetTypes()), 0);
    const struct
    {
        const char* name;
        std::function<void()> make;
        int nError;
    } cases[] = {
        {"FIFO", [&] { ASSERT_EQ(mkfifo(m_path.c_str(), 0600), 0); }, kErrNotRegularFile},
        {"directory", [&] { std::filesystem::create_directory(m_path); }, EISDIR},
        {"beyond the size limit",
         [&] {
             std::ofstream(m_path, std::ios::binary) << "x";
             std::filesystem::resize_file(m_path, kMaxTypeListBytes + 1);
         },
         EFBIG},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(m_path);
        c.make();
        CSheetTypeList list;
        EXPECT_EQ(LoadTypeList(list), c.nError);
        EXPECT_TRUE(list.empty());
    }
}

TEST_F(SheetTypeFiles, SaveAndLoadInSettingsDirectory)
{
    const CSheetTypeList presets = PresetTypes();
    ASSERT_EQ(SaveTypeList(presets), 0);
    EXPECT_EQ(FileBytes(), TypeListBytes(presets));
    CSheetTypeList list;
    LoadTypeList(list);
    EXPECT_EQ(list, presets);
}

TEST_F(SheetTypeFiles, FailedWriteLeavesPreviousLibrary)
{
    const CSheetTypeList before = {{"old", CPageFormat()}};
    ASSERT_EQ(SaveTypeList(before), 0);
    const std::string bytesBefore = FileBytes();

    // A file size limit below the new library makes its write fail part way,
    // as a full disk would.
    CSheetTypeList bigger;
    for (int i = 0; i < 50; ++i)
        bigger.push_back({"entry " + std::to_string(i), CPageFormat()});
    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 1000;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const int nError = SaveTypeList(bigger);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(nError, EFBIG);
    EXPECT_EQ(FileBytes(), bytesBefore);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(m_path.parent_path()), {}), 1)
        << "the temporary file is removed";
}

TEST(PageSetupValues, HundredthsTruncate)
{
    const struct
    {
        double dMillimetres;
        std::uint32_t nExpected;
    } cases[] = {
        {8.65, 865}, {200.0, 20000}, {0.019, 1}, {0.0099, 0}, {-5.0, 0}, {1e300, 0xFFFFFFFFu}, {0.0 / 0.0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.dMillimetres);
        EXPECT_EQ(ToHundredths(c.dMillimetres), c.nExpected);
    }
}

TEST(PageSetupValues, UnchangedValuesGiveTheSameFormat)
{
    for (const CSheetType& type : PresetTypes()) {
        SCOPED_TRACE(type.m_strName);
        const CPageSetupValues values = ValuesFromFormat(type.m_format);
        EXPECT_EQ(values.m_nLabelHeight, 865u);
        CPageFormat back;
        ApplyValuesToFormat(values, back);
        EXPECT_EQ(back, type.m_format);
    }
}

TEST(PageSetupValues, NumberFieldText)
{
    const struct
    {
        const char* text;
        std::optional<std::uint32_t> expected;
    } cases[] = {
        {"0", 0u},
        {"865", 865u},
        {"007", 7u},
        {"4294967295", 0xFFFFFFFFu},
        {"4294967296", std::nullopt},
        {"", std::nullopt},
        {"-1", std::nullopt},
        {"+1", std::nullopt},
        {" 1", std::nullopt},
        {"1.5", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ParseUnsignedField(c.text), c.expected);
    }
}

TEST(PageSetupValues, LabelsMustFitBetweenMargins)
{
    const auto with = [](auto change) {
        CPageFormat f;
        change(f);
        f.Recalc();
        return CheckLabelsFit(f);
    };
    EXPECT_EQ(with([](CPageFormat&) {}), LabelFit::Fits);
    // One label as wide as the space between the margins puts every column at
    // the same place: the labels print over each other.
    EXPECT_EQ(with([](CPageFormat& f) { f.m_dLabelWidth = 116.0; }), LabelFit::ColumnsOverlap);
    EXPECT_EQ(with([](CPageFormat& f) { f.m_dLabelWidth = 116.01; }), LabelFit::TooWide);
    EXPECT_EQ(with([](CPageFormat& f) {
                  f.m_dTopMargin = 100.0;
                  f.m_dBottomMargin = 100.0;
              }),
              LabelFit::TooTall);
}

TEST(PageSetupValues, NeighbouringLabelsMayTouchButNotOverlap)
{
    // The default page: 140 × 200 mm, 12 mm left and right, 3 mm top and
    // bottom, so 116 mm across and 194 mm down for the labels.
    const struct
    {
        const char* szName;
        std::int32_t nColumns;
        double dLabelWidth;
        std::int32_t nRows;
        double dLabelHeight;
        LabelFit expected;
    } cases[] = {
        {"columns touching", 5, 23.2, 14, 8.65, LabelFit::Fits},
        {"columns a hundredth too wide", 5, 23.21, 14, 8.65, LabelFit::ColumnsOverlap},
        {"15 columns of 19 mm", 15, 19.0, 14, 8.65, LabelFit::ColumnsOverlap},
        {"rows touching", 5, 19.0, 20, 9.7, LabelFit::Fits},
        {"rows a hundredth too tall", 5, 19.0, 20, 9.71, LabelFit::RowsOverlap},
        {"25 rows of 8 mm", 5, 19.0, 25, 8.0, LabelFit::RowsOverlap},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.szName);
        CPageFormat f;
        f.m_nColumns = c.nColumns;
        f.m_dLabelWidth = c.dLabelWidth;
        f.m_nRows = c.nRows;
        f.m_dLabelHeight = c.dLabelHeight;
        f.Recalc();
        EXPECT_EQ(CheckLabelsFit(f), c.expected);
    }
    for (const CSheetType& type : PresetTypes()) {
        SCOPED_TRACE(type.m_strName);
        CPageFormat f = type.m_format;
        f.Recalc();
        EXPECT_EQ(CheckLabelsFit(f), LabelFit::Fits);
    }
}
