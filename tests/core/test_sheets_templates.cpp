#include "TempDir.h"
#include "sheets/PageSetupValues.h"
#include "sheets/TemplateCollection.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>

namespace {

// Where Debian's glabels-data installs the collection.
const std::string kInstalledDir = "/usr/share/libglabels-3.0/templates";

const CTemplateCollection& InstalledCollection()
{
    static const CTemplateCollection collection = ReadTemplateCollection({{kInstalledDir}, {}});
    return collection;
}

#define SKIP_WITHOUT_COLLECTION()                                                                            \
    do {                                                                                                     \
        if (InstalledCollection().m_templates.empty())                                                       \
            GTEST_SKIP() << "no template collection in " << kInstalledDir << " (apt install glabels-data)";  \
    } while (false)

const CLabelTemplate* FindTemplate(const CTemplateCollection& collection, const std::string& strBrand,
                                   const std::string& strPart)
{
    const auto it = std::find_if(
        collection.m_templates.begin(), collection.m_templates.end(),
        [&](const CLabelTemplate& t) { return t.m_strBrand == strBrand && t.m_strPart == strPart; });
    return it == collection.m_templates.end() ? nullptr : &*it;
}

std::optional<TemplateLeftOut> LeftOutReason(const CTemplateCollection& collection,
                                             const std::string& strBrand, const std::string& strPart)
{
    for (const CLeftOutTemplate& t : collection.m_leftOut)
        if (t.m_strBrand == strBrand && t.m_strPart == strPart)
            return t.m_why;
    return std::nullopt;
}

void WriteFile(const std::string& path, const std::string& text)
{
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

} // namespace

TEST(TemplateCollection, LengthsInEveryUnit)
{
    const struct
    {
        const char* text;
        std::optional<double> expected; // mm
    } cases[] = {
        {"72pt", 25.4},
        {"72", 25.4},
        {"1in", 25.4},
        {"2.5mm", 2.5},
        {"0.7cm", 7.0},
        {"6pc", 25.4},
        {" 3.175mm ", 3.175},
        {"", 0.0},
        {"1e1mm", 10.0},
        {"-5mm", -5.0},
        {"3.93386e-16pt", 3.93386e-16 * 25.4 / 72},
        {"12 mm", 12.0},
        {"1ft", std::nullopt},
        {"mm", std::nullopt},
        {"abc", std::nullopt},
        {"1.5.2mm", std::nullopt},
        {"inf", std::nullopt},
        {"nanmm", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const std::optional<double> value = ParseTemplateLength(c.text);
        ASSERT_EQ(value.has_value(), c.expected.has_value());
        if (value) {
            EXPECT_NEAR(*value, *c.expected, 1e-9);
        }
    }
}

// The figures below are worked by hand from the installed files, in
// hundredths of a millimetre, truncated; 1 pt = 25.4 / 72 mm.
TEST(TemplateCollection, InstalledTemplatesMapOntoSheetFormats)
{
    SKIP_WITHOUT_COLLECTION();
    const struct
    {
        const char* brand;
        const char* part;
        const char* paper;
        CPageSetupValues
            expected; // page height, width, left, top, right, bottom, label height, width, columns, rows
    } cases[] = {
        // 2.625 × 1 in, x0 0.15625 in, dx 2.78125 in: right 215.9 − 3.96875 − 2 × 70.64375 − 66.675
        // = 3.96875;
        // rows touch: 279.4 − 12.7 − 9 × 25.4 − 25.4 = 12.7.
        {"Avery", "5160", "US Letter", {27940, 21590, 396, 1270, 396, 1270, 2540, 6667, 3, 10}},
        {"Avery",
         "5260",
         "US Letter",
         {27940, 21590, 396, 1270, 396, 1270, 2540, 6667, 3, 10}}, // alias of 5160
        // Points without a unit: 181.4 × 108 pt = 63.994 × 38.1 mm, x0 21.2 pt = 7.479, dx 187.2 pt = 66.04:
        // right 210 − 7.479 − 132.08 − 63.994 = 6.447; y0 43.9 pt = 15.487, bottom 297 − 15.487 − 7 × 38.1
        // = 14.813.
        {"Avery", "7160", "A4", {29700, 21000, 747, 1548, 644, 1481, 3810, 6399, 3, 7}},
        {"Avery", "L7160", "A4", {29700, 21000, 747, 1548, 644, 1481, 3810, 6399, 3, 7}}, // alias of 7160
        // 107.928 × 60.12 pt = 38.075 × 21.209 mm, touching: right 210 − 9.500 − 5 × 38.075 = 10.127.
        {"Avery", "6121", "A4", {29700, 21000, 949, 1049, 1012, 1079, 2120, 3807, 5, 13}},
        // 126 × 90 pt = 44.45 × 31.75 mm from 36 pt = 12.7 mm, dx 139.536 pt = 49.226 mm:
        // right 215.9 − 12.7 − 3 × 49.226 − 44.45 = 11.071.
        {"Avery", "6570", "US Letter", {27940, 21590, 1270, 1270, 1107, 1270, 3175, 4445, 4, 8}},
        // Three labels of 198.425 pt = 69.99993 mm fill the width from x0 ≈ 0: the label is cut to 69.99.
        {"DataBecker", "0526", "A4", {29700, 21000, 0, 550, 0, 350, 3599, 6999, 3, 8}},
        // x0="" is 0; y0 12.557 pt = 4.430 mm, bottom 297 − 4.430 − 8 × 35.99992 = 4.571.
        {"Zweckform", "3490", "A4", {29700, 21000, 0, 442, 0, 457, 3599, 6999, 3, 8}},
        // Six labels of 1.41667 in = 35.983 mm overrun the page by 0.0005 mm: a rounding, read as 0.
        {"Online Labels", "OL1075", "US Letter", {27940, 21590, 0, 0, 0, 0, 2540, 3598, 6, 11}},
        // Its own page, 210 × 261 mm: right 210 − 5 − 9 × 20 − 20 = 5, bottom 261 − 5 − 130 − 100 = 26.
        {"Felga", "EP1220", "", {26100, 21000, 500, 500, 500, 2600, 10000, 2000, 10, 2}},
        // 100 × 148 mm: right 100 − 12 − 3 × 20 − 16 = 12, bottom 148 − 15 − 19 × 6 − 3 = 16.
        {"Hisago", "OP2505", "", {14800, 10000, 1200, 1500, 1200, 1600, 300, 1600, 4, 20}},
        {"Agipa", "114036", "A5", {21000, 14800, 400, 200, 550, 1250, 4850, 1850, 7, 4}},
        {"Russian", "A3 5x9", "A3", {42000, 29700, 1400, 1000, 1300, 1000, 5000, 9000, 3, 8}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.brand) + " " + c.part);
        const CLabelTemplate* label = FindTemplate(InstalledCollection(), c.brand, c.part);
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(ValuesFromFormat(label->m_format), c.expected);
        EXPECT_EQ(label->m_strPaper, c.paper);
        // The page setup dialog takes these values as they are.
        EXPECT_EQ(CheckLabelsFit(label->m_format), LabelFit::Fits);
        EXPECT_TRUE(label->m_format.IsUsable());
    }
}

TEST(TemplateCollection, InstalledTemplatesLeftOutAndWhy)
{
    SKIP_WITHOUT_COLLECTION();
    const struct
    {
        const char* brand;
        const char* part;
        TemplateLeftOut why;
    } cases[] = {
        {"Avery", "3274.2", TemplateLeftOut::NotRectangle}, // round labels
        {"Avery", "3112", TemplateLeftOut::NotRectangle},   // an alias of them
        {"Avery", "5126", TemplateLeftOut::Columns},        // one column of two shipping labels
        {"Avery", "8658", TemplateLeftOut::Rows},           // more than 25 rows
        {"JAC", "F-2048", TemplateLeftOut::NotOneLayout},   // two layouts
        {"JAC", "5229", TemplateLeftOut::NegativeMargin},   // 0.6 mm beyond the right edge
        {"Avery", "7161", TemplateLeftOut::Overlapping},    // rows 0.035 mm closer than the labels are tall
        {"Avery", "7169", TemplateLeftOut::BeyondLimits},   // labels 139 mm tall
        {"Begalabel", "AC-700", TemplateLeftOut::BeyondLimits}, // labels 108 mm wide
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.brand) + " " + c.part);
        EXPECT_EQ(FindTemplate(InstalledCollection(), c.brand, c.part), nullptr);
        EXPECT_EQ(LeftOutReason(InstalledCollection(), c.brand, c.part), c.why);
    }
}

// Every template of the installed files is either offered or left out with
// its reason; the figures go to the test's output.
TEST(TemplateCollection, EveryInstalledTemplateIsCounted)
{
    SKIP_WITHOUT_COLLECTION();
    std::size_t nElements = 0;
    std::size_t nFiles = 0;
    for (const auto& entry : std::filesystem::directory_iterator(kInstalledDir)) {
        const std::string name = entry.path().filename().string();
        if (!name.ends_with("-templates.xml"))
            continue;
        ++nFiles;
        std::ifstream in(entry.path());
        const std::string text{std::istreambuf_iterator<char>(in), {}};
        for (std::size_t at = text.find("<Template "); at != std::string::npos;
             at = text.find("<Template ", at + 1))
            ++nElements;
    }
    const CTemplateCollection& collection = InstalledCollection();
    EXPECT_EQ(collection.m_nFiles, nFiles);
    EXPECT_TRUE(collection.m_problems.empty());
    EXPECT_EQ(collection.m_templates.size() + collection.m_leftOut.size(), nElements);
    EXPECT_EQ(collection.LeftOutCount(TemplateLeftOut::UnknownAlias), 0u);
    EXPECT_EQ(collection.LeftOutCount(TemplateLeftOut::UnknownPaper), 0u);
    EXPECT_EQ(collection.LeftOutCount(TemplateLeftOut::Unreadable), 0u);
    std::cout << nElements << " templates in " << nFiles << " files: " << collection.m_templates.size()
              << " offered, " << collection.m_leftOut.size() << " left out (";
    const std::pair<TemplateLeftOut, const char*> reasons[] = {
        {TemplateLeftOut::NotRectangle, "not rectangular"},
        {TemplateLeftOut::NotOneLayout, "several layouts"},
        {TemplateLeftOut::Columns, "columns"},
        {TemplateLeftOut::Rows, "rows"},
        {TemplateLeftOut::NegativeMargin, "negative margins"},
        {TemplateLeftOut::Overlapping, "overlapping"},
        {TemplateLeftOut::BeyondLimits, "beyond the limits"},
    };
    for (const auto& [why, name] : reasons)
        std::cout << collection.LeftOutCount(why) << " " << name
                  << (why == TemplateLeftOut::BeyondLimits ? ")\n" : ", ");
    for (const CLabelTemplate& label : collection.m_templates) {
        SCOPED_TRACE(label.m_strBrand + " " + label.m_strPart);
        EXPECT_TRUE(label.m_format.IsUsable());
        EXPECT_EQ(CheckLabelsFit(label.m_format), LabelFit::Fits);
    }
}

// Within 0.03 mm of where the template puts each label: the truncated
// hundredths of the margins and the label move the grid by less than that.
TEST(TemplateCollection, LabelsStayWhereTheTemplatePutsThem)
{
    SKIP_WITHOUT_COLLECTION();
    const CLabelTemplate* label = FindTemplate(InstalledCollection(), "Avery", "5160");
    ASSERT_NE(label, nullptr);
    const CPageFormat& f = label->m_format;
    for (int c = 0; c < f.m_nColumns; ++c)
        EXPECT_NEAR(f.m_dLeftMargin + c * f.m_dColumnPitch, 0.15625 * 25.4 + c * 2.78125 * 25.4, 0.03) << c;
    for (int r = 0; r < f.m_nRows; ++r)
        EXPECT_NEAR(f.m_dTopMargin + r * f.m_dRowPitch, 0.5 * 25.4 + r * 25.4, 0.03) << r;
}

TEST(TemplateCollection, Search)
{
    SKIP_WITHOUT_COLLECTION();
    const auto& templates = InstalledCollection().m_templates;
    const auto found = [&](const std::string& query) {
        std::vector<std::string> names;
        for (std::size_t i : SearchTemplates(templates, query))
            names.push_back(templates[i].m_strBrand + " " + templates[i].m_strPart);
        return names;
    };
    const auto has = [](const std::vector<std::string>& names, const std::string& name) {
        return std::find(names.begin(), names.end(), name) != names.end();
    };
    EXPECT_EQ(SearchTemplates(templates, "").size(), templates.size());
    EXPECT_EQ(SearchTemplates(templates, "   ").size(), templates.size());

    const struct
    {
        const char* query;
        const char* expected;
        bool bFound;
    } cases[] = {
        {"5160", "Avery 5160", true},
        {"avery 5160", "Avery 5160", true},         // brand and part, any case
        {"AVERY ADDRESS 5160", "Avery 5160", true}, // with a word of the description
        {"66.7x25.4", "Avery 5160", true},          // the label's size
        {"25.4×66.7", "Avery 5160", true},          // either way round, with ×
        {"67*25", "Avery 5160", true},              // to half a millimetre
        {"66.6x25.4", "Avery 5160", true},
        {"66.1x25.4", "Avery 5160", false},
        {"63.5x38.1", "Avery L7160", true},     // 63.99 × 38.1 in the collection
        {"us letter 5160", "Avery 5160", true}, // the paper
        {"5160 a4", "Avery 5160", false},
        {"felga plant", "Felga EP1220", true},
        {"20x100", "Felga EP1220", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.query);
        EXPECT_EQ(has(found(c.query), c.expected), c.bFound);
    }
    for (const std::string& name : found("45.7x21.2")) {
        SCOPED_TRACE(name);
        const CLabelTemplate* label = nullptr;
        for (const CLabelTemplate& t : templates)
            if (t.m_strBrand + " " + t.m_strPart == name)
                label = &t;
        ASSERT_NE(label, nullptr);
        EXPECT_NEAR(label->m_format.m_dLabelWidth, 45.7, 0.5);
        EXPECT_NEAR(label->m_format.m_dLabelHeight, 21.2, 0.5);
    }
    EXPECT_FALSE(found("45.7x21.2").empty());
    // Part numbers in the order of their numbers: 5160 before 15160.
    const std::vector<std::string> numbered = found("avery 66.7x25.4 60");
    ASSERT_GE(numbered.size(), 2u);
    for (std::size_t i = 1; i < numbered.size(); ++i)
        EXPECT_LT(std::stoi(numbered[i - 1].substr(6)), std::stoi(numbered[i].substr(6))) << numbered[i];
}

// Sizes as people search for them, rounded from inches or from the box,
// find a label within half a millimetre each way, either way round.
TEST(TemplateCollection, SizeSearchWithinHalfAMillimetre)
{
    std::vector<CLabelTemplate> templates(1);
    templates[0].m_format.m_dLabelWidth = 63.99; // L7160 as the collection holds it
    templates[0].m_format.m_dLabelHeight = 38.1;
    const struct
    {
        const char* query;
        bool bFound;
    } cases[] = {
        {"63.5x38.1", true},   // the size on the box
        {"38.1x63.5", true},   // either way round
        {"64x38", true},       // whole millimetres
        {"63.49x38.1", true},  // exactly half a millimetre off
        {"63.48x38.1", false}, // a little more
        {"63.5x38.7", false},  // the other side too far
        {"2.5x1.5", false},    // inches are no millimetres
        {"63.99×38.10", true}, // as stored, with ×
        {"63.5x", false},      // no size
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.query);
        EXPECT_EQ(SearchTemplates(templates, c.query).size(), c.bFound ? 1u : 0u);
    }
}

// Small collections of our own show how the reader copes with what the
// installed one does not hold.
TEST(TemplateCollection, AliasesPapersAndDamagedFiles)
{
    CTempDir dir;
    const std::string system = dir / "share";
    const std::string user = dir / "config";
    WriteFile(system + "/paper-sizes.xml", R"(<?xml version="1.0"?>
<Glabels-paper-sizes>
  <Paper-size id="A4" _name="A4" pwg_size="iso_a4" width="210mm" height="297mm"/>
  <Paper-size id="Broken" _name="Broken" pwg_size="x" width="wide" height="297mm"/>
</Glabels-paper-sizes>)");
    WriteFile(system + "/a-templates.xml", R"(<?xml version="1.0"?>
<Glabels-templates xmlns="http://glabels.org/xmlns/3.0/">
  <Template brand="B" part="alias-of-alias" equiv="alias"/>
  <Template brand="B" part="alias" equiv="full"/>
  <Template brand="B" part="full" size="A4" _description="Labels">
    <Label-rectangle id="0" width="70mm" height="30mm">
      <Layout nx="3" ny="9" x0="0mm" y0="13.5mm" dx="70mm" dy="30mm"/>
    </Label-rectangle>
  </Template>
  <Template brand="C" part="full" equiv="full"/>
  <Template brand="B" part="loop-1" equiv="loop-2"/>
  <Template brand="B" part="loop-2" equiv="loop-1"/>
  <Template brand="B" part="broken-paper" size="Broken">
    <Label-rectangle width="70mm" height="30mm"><Layout nx="3" ny="9" x0="0" y0="0" dx="70mm" dy="30mm"/></Label-rectangle>
  </Template>
  <Template brand="B" part="no-count" size="A4">
    <Label-rectangle width="70mm" height="30mm"><Layout nx="three" ny="9" x0="0" y0="0" dx="70mm" dy="30mm"/></Label-rectangle>
  </Template>
  <Template brand="B" part="no-width" size="A4">
    <Label-rectangle height="30mm"><Layout nx="3" ny="9" x0="0" y0="0" dx="70mm" dy="30mm"/></Label-rectangle>
  </Template>
  <Template brand="B" part="no-shape" size="A4"/>
  <Template brand="B" part="two-shapes" size="A4">
    <Label-rectangle width="70mm" height="30mm"><Layout nx="3" ny="9" x0="0" y0="0" dx="70mm" dy="30mm"/></Label-rectangle>
    <Label-rectangle width="70mm" height="30mm"><Layout nx="3" ny="9" x0="0" y0="0" dx="70mm" dy="30mm"/></Label-rectangle>
  </Template>
</Glabels-templates>)");
    // Not a template file by its name; never read.
    WriteFile(system + "/categories.xml",
              "<Glabels-templates><Template brand='X' part='1'/></Glabels-templates>");
    WriteFile(user + "/mine.template", R"(<Glabels-templates>
  <Template name="Own 1" size="Other" width="100mm" height="50mm" description="Mine">
    <Label-rectangle width="40mm" height="20mm"><Layout nx="2" ny="2" x0="5mm" y0="5mm" dx="50mm" dy="25mm"/></Label-rectangle>
  </Template>
  <Template brand="Own" part="2" equiv="1"/>
  <Template brand="Own" part="3" size="A4">)");

    const CTemplateCollection collection = ReadTemplateCollection({{dir / "missing", system}, user});
    EXPECT_EQ(collection.m_nFiles, 2u);
    ASSERT_EQ(collection.m_problems.size(), 1u);
    EXPECT_EQ(collection.m_problems[0].m_strPath, user + "/mine.template");
    EXPECT_EQ(collection.m_problems[0].m_nError, 0);
    EXPECT_FALSE(collection.m_problems[0].m_strXmlError.empty());
    EXPECT_GT(collection.m_problems[0].m_nLine, 0u);

    std::vector<std::string> offered;
    for (const CLabelTemplate& t : collection.m_templates)
        offered.push_back(t.m_strBrand + " " + t.m_strPart + " " + t.m_strAliasOf);
    // By brand and part; an alias of an alias resolves, one across brands does not.
    EXPECT_EQ(offered, (std::vector<std::string>{"B alias full", "B alias-of-alias alias", "B full ",
                                                 "Own 1 ", "Own 2 1"}));
    const CLabelTemplate* full = FindTemplate(collection, "B", "alias-of-alias");
    ASSERT_NE(full, nullptr);
    EXPECT_EQ(full->m_strDescription, "Labels");
    EXPECT_EQ(ValuesFromFormat(full->m_format),
              (CPageSetupValues{29700, 21000, 0, 1350, 0, 1350, 3000, 7000, 3, 9}));
    const CLabelTemplate* own = FindTemplate(collection, "Own", "1");
    ASSERT_NE(own, nullptr);
    EXPECT_EQ(own->m_strPaper, "");
    EXPECT_EQ(ValuesFromFormat(own->m_format),
              (CPageSetupValues{5000, 10000, 500, 500, 500, 0, 2000, 4000, 2, 2}));

    const std::map<std::string, TemplateLeftOut> expected = {
        {"C full", TemplateLeftOut::UnknownAlias},     {"B loop-1", TemplateLeftOut::UnknownAlias},
        {"B loop-2", TemplateLeftOut::UnknownAlias},   {"B broken-paper", TemplateLeftOut::UnknownPaper},
        {"B no-count", TemplateLeftOut::Unreadable},   {"B no-width", TemplateLeftOut::Unreadable},
        {"B no-shape", TemplateLeftOut::NotOneLayout}, {"B two-shapes", TemplateLeftOut::NotOneLayout},
    };
    std::map<std::string, TemplateLeftOut> leftOut;
    for (const CLeftOutTemplate& t : collection.m_leftOut)
        leftOut[t.m_strBrand + " " + t.m_strPart] = t.m_why;
    EXPECT_EQ(leftOut, expected);
}

// A folder of more template files or templates than the limits is read up
// to them, the first files in name order, and the collection says so.
TEST(TemplateCollection, ReadingStopsAtTheLimits)
{
    CTempDir dir;
    const std::string user = dir / "config";
    // Five files of three templates each, written in an order other than
    // their names'.
    for (const char* name : {"d", "b", "e", "a", "c"}) {
        std::string xml = "<Glabels-templates>";
        for (int i = 1; i <= 3; ++i)
            xml +=
                std::string("<Template brand='") + name + "' part='" + std::to_string(i) +
                "' size='Other' width='100mm' height='50mm'><Label-rectangle width='40mm' height='20mm'>"
                "<Layout nx='2' ny='2' x0='5mm' y0='5mm' dx='50mm' dy='25mm'/></Label-rectangle></Template>";
        WriteFile(user + "/" + name + ".template", xml + "</Glabels-templates>");
    }
    const struct
    {
        const char* name;
        CTemplateLimits limits;
        std::vector<std::string> read; // brand and part
        std::size_t nFiles, nFilesNotRead;
        bool bTemplatesCut;
    } cases[] = {
        {"within both",
         {},
         {"a 1", "a 2", "a 3", "b 1", "b 2", "b 3", "c 1", "c 2", "c 3", "d 1", "d 2", "d 3", "e 1", "e 2",
          "e 3"},
         5,
         0,
         false},
        {"two files", {2, 100}, {"a 1", "a 2", "a 3", "b 1", "b 2", "b 3"}, 2, 3, false},
        {"four templates", {100, 4}, {"a 1", "a 2", "a 3", "b 1"}, 2, 0, true},
        {"templates end with a file", {100, 6}, {"a 1", "a 2", "a 3", "b 1", "b 2", "b 3"}, 2, 0, true},
        {"no file", {0, 100}, {}, 0, 5, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const CTemplateCollection collection = ReadTemplateCollection({{}, user}, c.limits);
        std::vector<std::string> read;
        for (const CLabelTemplate& t : collection.m_templates)
            read.push_back(t.m_strBrand + " " + t.m_strPart);
        EXPECT_EQ(read, c.read);
        EXPECT_TRUE(collection.m_leftOut.empty());
        EXPECT_TRUE(collection.m_problems.empty());
        EXPECT_EQ(collection.m_nFiles, c.nFiles);
        EXPECT_EQ(collection.m_nFilesNotRead, c.nFilesNotRead);
        EXPECT_EQ(collection.m_bTemplatesCut, c.bTemplatesCut);
    }
}

TEST(TemplateCollection, SourcesFollowTheXdgDirectories)
{
    const auto with = [](const char* dataDirs, const char* configHome, const char* home) {
        const auto set = [](const char* name, const char* value) {
            if (value)
                setenv(name, value, 1);
            else
                unsetenv(name);
        };
        const char* oldData = std::getenv("XDG_DATA_DIRS");
        const char* oldConfig = std::getenv("XDG_CONFIG_HOME");
        const char* oldHome = std::getenv("HOME");
        const std::string savedData = oldData ? oldData : "", savedConfig = oldConfig ? oldConfig : "",
                          savedHome = oldHome ? oldHome : "";
        set("XDG_DATA_DIRS", dataDirs);
        set("XDG_CONFIG_HOME", configHome);
        set("HOME", home);
        CTemplateSources sources = DefaultTemplateSources();
        set("XDG_DATA_DIRS", oldData ? savedData.c_str() : nullptr);
        set("XDG_CONFIG_HOME", oldConfig ? savedConfig.c_str() : nullptr);
        set("HOME", oldHome ? savedHome.c_str() : nullptr);
        return sources;
    };
    const CTemplateSources defaults = with(nullptr, nullptr, "/home/u");
    EXPECT_EQ(defaults.m_systemDirs, (std::vector<std::string>{"/usr/local/share/libglabels-3.0/templates",
                                                               "/usr/share/libglabels-3.0/templates"}));
    EXPECT_EQ(defaults.m_strUserDir, "/home/u/.config/libglabels/templates");
    const CTemplateSources set = with("/opt/share:relative:/x", "/cfg", "/home/u");
    EXPECT_EQ(set.m_systemDirs, (std::vector<std::string>{"/opt/share/libglabels-3.0/templates",
                                                          "/x/libglabels-3.0/templates"}));
    EXPECT_EQ(set.m_strUserDir, "/cfg/libglabels/templates");
    EXPECT_EQ(with("", "relative", nullptr).m_strUserDir, "");
}

TEST(PageSetupValues, WholeHundredthsComeBackWhole)
{
    // 0.29 × 100 is 28.999999999999996: each of these values showed a
    // hundredth less in the page setup dialog than it was stored with.
    std::size_t nChanged = 0;
    for (std::uint32_t n = 0; n <= kMaxPageSize; ++n)
        nChanged += ToHundredths(n * 0.01) != n;
    EXPECT_EQ(nChanged, 0u);
}
