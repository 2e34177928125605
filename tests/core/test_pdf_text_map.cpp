// Text maps of PDF fonts pointed back at the ideographs a marker is written
// in, where a face draws a radical and its ideograph with one glyph.
#include "print/PdfTextMap.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

TEST(PdfTextMap, RadicalsAndStrokesStandForTheirIdeographs)
{
    const struct
    {
        const char* name;
        char32_t code, expected;
    } cases[] = {
        {"Kangxi radical one", 0x2F00, 0x4E00},
        {"Kangxi radical flute", 0x2FD5, 0x9FA0},
        {"simplified gate", 0x2ED4, 0x95E8},
        {"simplified yellow", 0x2EE9, 0x9EC4},
        {"radical beyond the BMP", 0x2E87, 0x20628},
        {"stroke H", 0x31D0, 0x4E00},
        {"an ideograph itself", 0x4E00, 0x4E00},
        {"a Latin letter", 'W', 'W'},
        {"a radical with no ideograph", 0x2E80, 0x2E80},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(EquivalentIdeograph(c.code), c.expected);
    }
}

TEST(PdfTextMap, DestinationsMendedInEveryForm)
{
    const struct
    {
        const char* name;
        std::string cmap, expected;
    } cases[] = {
        {"a list, as Qt writes one",
         "2 beginbfrange\n<0000> <0000> <0000>\n<0001> <0004> [<2F00> <53F7> <2ED4> <0057> ]\nendbfrange\n",
         "2 beginbfrange\n<0000> <0000> <0000>\n<0001> <0004> [<4E00> <53F7> <95E8> <0057> ]\nendbfrange\n"},
        {"a run of radicals becomes a list", "1 beginbfrange\n<0005> <0006> <2F00>\nendbfrange\n",
         "1 beginbfrange\n<0005> <0006> [<4E00> <4E28> ]\nendbfrange\n"},
        {"a run without radicals stays", "1 beginbfrange\n<0001> <0003> <0041>\nendbfrange\n",
         "1 beginbfrange\n<0001> <0003> <0041>\nendbfrange\n"},
        {"single codes", "2 beginbfchar\n<0003> <2F08>\n<0004> <4EBA>\nendbfchar\n",
         "2 beginbfchar\n<0003> <4EBA>\n<0004> <4EBA>\nendbfchar\n"},
        {"an ideograph beyond the BMP as a surrogate pair", "1 beginbfchar\n<0003> <2E87>\nendbfchar\n",
         "1 beginbfchar\n<0003> <D841DE28>\nendbfchar\n"},
        {"a ligature's several characters stay", "1 beginbfchar\n<0003> <00660069>\nendbfchar\n",
         "1 beginbfchar\n<0003> <00660069>\nendbfchar\n"},
        {"nothing to mend", "/CMapType 2 def\nendcmap\n", "/CMapType 2 def\nendcmap\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(MendTextMap(c.cmap), c.expected);
    }
}

namespace {

// A PDF laid out as Qt writes one: numbered objects, a text map among them,
// a cross-reference table of ten-digit offsets and startxref.
std::string SmallPdf(const std::string& cmap)
{
    const std::vector<std::string> objects = {
        "<< /Type /Catalog /Pages 2 0 R >>",
        "<< /Type /Pages /Kids [] /Count 0 >>",
        "<< /Length 11 >>\nstream\n0123456789\n\nendstream",
        "<< /Length " + std::to_string(cmap.size()) + " >>\nstream\n" + cmap + "\nendstream",
        "<< /Type /Font /ToUnicode 4 0 R >>",
    };
    std::string pdf = "%PDF-1.4\n";
    std::vector<std::size_t> offsets;
    for (std::size_t i = 0; i < objects.size(); ++i) {
        offsets.push_back(pdf.size());
        pdf += std::to_string(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
    }
    const std::size_t table = pdf.size();
    pdf += "xref\n0 " + std::to_string(objects.size() + 1) + "\n0000000000 65535 f \n";
    for (const std::size_t offset : offsets) {
        char entry[21];
        std::snprintf(entry, sizeof entry, "%010zu 00000 n \n", offset);
        pdf += entry;
    }
    pdf += "trailer\n<< /Size 6 /Root 1 0 R >>\nstartxref\n" + std::to_string(table) + "\n%%EOF\n";
    return pdf;
}

// Whether every offset of the table and startxref point where they should.
void ExpectConsistent(const std::string& pdf, int nObjects)
{
    const std::size_t startKey = pdf.rfind("startxref\n");
    const std::size_t table = std::stoul(pdf.substr(startKey + 10));
    ASSERT_EQ(pdf.compare(table, 5, "xref\n"), 0);
    std::size_t entry = pdf.find("0000000000 65535 f \n", table) + 20;
    for (int i = 1; i <= nObjects; ++i, entry += 20) {
        const std::size_t offset = std::stoul(pdf.substr(entry, 10));
        const std::string header = std::to_string(i) + " 0 obj\n";
        EXPECT_EQ(pdf.compare(offset, header.size(), header), 0) << "object " << i;
    }
    const std::size_t lengthKey = pdf.find("/Length ", pdf.find("4 0 obj"));
    const std::size_t length = std::stoul(pdf.substr(lengthKey + 8));
    const std::size_t content = pdf.find("stream\n", lengthKey) + 7;
    EXPECT_EQ(pdf.compare(content + length, 10, "\nendstream"), 0);
}

} // namespace

TEST(PdfTextMap, ObjectsAfterAMendedMapMove)
{
    const std::string cmap = "begincmap\n1 beginbfrange\n<0001> <0003> <2F00>\nendbfrange\nendcmap\n";
    const std::string pdf = SmallPdf(cmap);
    for (const std::size_t split : {pdf.find("3 0 obj"), pdf.find("4 0 obj") - 30, pdf.find("4 0 obj") + 5}) {
        SCOPED_TRACE(split);
        std::string tail = pdf.substr(split);
        ASSERT_TRUE(MendPdfTextMaps(tail, split));
        const std::string mended = pdf.substr(0, split) + tail;
        EXPECT_NE(mended.find("[<4E00> <4E28> <4E36> ]"), std::string::npos);
        ExpectConsistent(mended, 5);
    }
}

TEST(PdfTextMap, TailsNotLaidOutAsExpectedStayAsTheyAre)
{
    const std::string cmap = "begincmap\n1 beginbfchar\n<0001> <2F00>\nendbfchar\nendcmap\n";
    std::string pdf = SmallPdf(cmap);
    const struct
    {
        const char* name;
        std::string tail;
    } cases[] = {
        {"no cross-reference table", pdf.substr(0, pdf.find("xref"))},
        {"a length that misses the stream's end",
         std::string(pdf).replace(pdf.find("/Length 5") + 8, 2, "12")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string tail = c.tail;
        EXPECT_FALSE(MendPdfTextMaps(tail, 0));
        EXPECT_EQ(tail, c.tail);
    }
    std::string plain = SmallPdf("no map here");
    const std::string before = plain;
    EXPECT_TRUE(MendPdfTextMaps(plain, 0));
    EXPECT_EQ(plain, before);
}
