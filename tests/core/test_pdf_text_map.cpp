// Text maps of PDF fonts as Qt writes them, read (its padding skipped),
// corrected and written anew while the PDF streams, with every offset of the
// PDF moved to match.
#include "print/PdfTextMap.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <tuple>
#include <vector>

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

constexpr const char* kMapHead = "/CIDInit /ProcSet findresource begin\n12 dict begin\nbegincmap\n"
                                 "/CIDSystemInfo << /Registry (Adobe) /Ordering (UCS) /Supplement 0 >> def\n"
                                 "/CMapName /Adobe-Identity-UCS def\n/CMapType 2 def\n"
                                 "1 begincodespacerange\n<0000> <FFFF>\nendcodespacerange\n";
constexpr const char* kMapTail = "endcmap\nCMapName currentdict /CMap defineresource pop\nend\nend\n";

// A text map as Qt 6.4 writes one: `nRanges` entries of two glyphs each (a
// radical, then the ideograph U+4E00 + i), after the first block of a
// hundred each block begun with as many bytes of leftover memory as the
// block before it held (here a stale copy of the map's beginning, markers
// and all).
std::string QtTextMap(std::size_t nRanges)
{
    std::string map = kMapHead;
    std::string block = "<0000> <0000> <0000>\n";
    std::size_t nInBlock = 1;
    const auto flush = [&] {
        map += std::to_string(nInBlock) + "beginbfrange\n" + block + "endbfrange\n";
        std::string padding;
        while (padding.size() < block.size())
            padding += std::string("\x01\x7f") + kMapHead;
        block = padding.substr(0, block.size());
        nInBlock = 0;
    };
    for (std::size_t i = 0; i < nRanges; ++i) {
        char entry[64];
        std::snprintf(entry, sizeof entry, "<%04zX> <%04zX> [<2E87> <%04zX> ]\n", 2 * i + 1, 2 * i + 2,
                      0x4E00 + i);
        block += entry;
        if (++nInBlock > 100)
            flush();
    }
    if (nInBlock != 0)
        map += std::to_string(nInBlock) + "beginbfrange\n" + block + "endbfrange\n";
    return map + kMapTail;
}

std::vector<STextMapEntry> QtTextMapEntries(std::size_t nRanges)
{
    std::vector<STextMapEntry> entries;
    for (std::size_t i = 0; i < nRanges; ++i) {
        entries.push_back({static_cast<std::uint16_t>(2 * i + 1), 0x2E87});
        entries.push_back({static_cast<std::uint16_t>(2 * i + 2), char32_t(0x4E00 + i)});
    }
    return entries;
}

// The PDF passed through a rewriter in pieces of `nPiece` bytes.
std::string Rewritten(const std::string& pdf, std::size_t nPiece, const TextMapCorrection& correct,
                      bool* pbFinished = nullptr)
{
    CPdfTextMapRewriter rewriter(correct);
    std::string out;
    for (std::size_t i = 0; i < pdf.size(); i += nPiece)
        rewriter.Put(std::string_view(pdf).substr(i, nPiece), out);
    const bool bFinished = rewriter.Finish(out);
    if (pbFinished)
        *pbFinished = bFinished;
    return out;
}

// The text map (object 4) of a PDF made by SmallPdf.
std::string MapOf(const std::string& pdf)
{
    const std::size_t lengthKey = pdf.find("/Length ", pdf.find("4 0 obj"));
    const std::size_t content = pdf.find("stream\n", lengthKey) + 7;
    return pdf.substr(content, std::stoul(pdf.substr(lengthKey + 8)));
}

char32_t Unchanged(std::string_view, char32_t code)
{
    return code;
}

} // namespace

TEST(PdfTextMap, MapsReadInEveryFormQtWrites)
{
    const struct
    {
        const char* name;
        std::string body;
        std::vector<STextMapEntry> expected;
    } cases[] = {
        {"a list, as Qt writes one",
         "2 beginbfrange\n<0000> <0000> <0000>\n<0001> <0004> [<2F00> <53F7> <2ED4> <0057> ]\nendbfrange\n",
         {{1, 0x2F00}, {2, 0x53F7}, {3, 0x2ED4}, {4, 'W'}}},
        {"a run", "1 beginbfrange\n<0005> <0007> <0041>\nendbfrange\n", {{5, 'A'}, {6, 'B'}, {7, 'C'}}},
        {"single codes",
         "2 beginbfchar\n<0003> <2F08>\n<0004> <4EBA>\nendbfchar\n",
         {{3, 0x2F08}, {4, 0x4EBA}}},
        {"a code beyond the BMP as a surrogate pair",
         "1 beginbfchar\n<0003> <D841DE28>\nendbfchar\n",
         {{3, 0x20628}}},
        {"several blocks",
         "1 beginbfchar\n<0003> <0031>\nendbfchar\n1 beginbfrange\n<0001> <0002> <0061>\nendbfrange\n",
         {{1, 'a'}, {2, 'b'}, {3, '1'}}},
        {"no entries", "", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto entries = ReadTextMap(kMapHead + c.body + kMapTail);
        ASSERT_TRUE(entries.has_value());
        EXPECT_EQ(*entries, c.expected);
    }
}

TEST(PdfTextMap, BlocksPaddedWithLeftoverMemoryRead)
{
    for (const std::size_t nRanges :
         {std::size_t(100), std::size_t(101), std::size_t(250), std::size_t(1000)}) {
        SCOPED_TRACE(nRanges);
        const auto entries = ReadTextMap(QtTextMap(nRanges));
        ASSERT_TRUE(entries.has_value());
        EXPECT_EQ(*entries, QtTextMapEntries(nRanges));
    }
}

TEST(PdfTextMap, MapsNotLaidOutAsQtWritesThemDoNotRead)
{
    const struct
    {
        const char* name;
        std::string map;
    } cases[] = {
        {"no code space", "begincmap\n1 beginbfchar\n<0001> <0041>\nendbfchar\nendcmap\n"},
        {"fewer entries than the block says",
         std::string(kMapHead) + "2 beginbfchar\n<0001> <0041>\nendbfchar\n" + kMapTail},
        {"a list shorter than its range",
         std::string(kMapHead) + "1 beginbfrange\n<0001> <0003> [<0041> ]\nendbfrange\n" + kMapTail},
        {"a lone surrogate", std::string(kMapHead) + "1 beginbfchar\n<0001> <D841>\nendbfchar\n" + kMapTail},
        {"cut off", std::string(kMapHead) + "1 beginbfchar\n<0001> <0041>\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(ReadTextMap(c.map).has_value());
    }
}

TEST(PdfTextMap, FontNamesAsAPdfGivesThem)
{
    // A "name" table: format 0, its records, then the strings.
    const auto table = [](std::vector<std::tuple<int, int, std::string>> records) {
        std::string storage;
        std::string out = {0, 0, 0, char(records.size()), 0, char(6 + 12 * records.size())};
        for (const auto& [platform, id, text] : records) {
            const std::size_t offset = storage.size();
            storage += text;
            for (const int value : {platform, 0, 0, id, int(text.size()), int(offset)})
                out += {char(value >> 8), char(value & 0xFF)};
        }
        return out + storage;
    };
    const std::string utf16 = std::string("\0U\0K\0a\0i\0C\0N", 12);
    const struct
    {
        const char* name;
        std::string table;
        std::string expected;
    } cases[] = {
        {"Windows, UTF-16", table({{3, 1, "AR PL"}, {3, 6, utf16}}), "UKaiCN"},
        {"Macintosh, spaces as underscores", table({{1, 6, "Noto Sans CJK"}}), "Noto_Sans_CJK"},
        {"no PostScript name", table({{3, 1, "AR PL"}}), ""},
        {"a string past the table's end", table({{1, 6, "UKaiCN"}}).substr(0, 20), ""},
        {"no table", "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(PdfFontName(c.table), c.expected);
    }
}

TEST(PdfTextMap, WrittenMapsReadBack)
{
    std::vector<STextMapEntry> many;
    for (std::uint16_t glyph = 1; glyph < 700; ++glyph)
        many.push_back({glyph, char32_t(glyph % 3 == 0 ? 0x4E00 + 7 * glyph : 0x4E00 + glyph)});
    const struct
    {
        const char* name;
        std::vector<STextMapEntry> entries;
    } cases[] = {
        {"none", {}},
        {"a run across a block of 256 glyphs", {{254, 0x4E00}, {255, 0x4E01}, {256, 0x4E02}, {257, 0x4E03}}},
        {"a run across a block of 256 code points", {{1, 0x4EFE}, {2, 0x4EFF}, {3, 0x4F00}}},
        {"codes beyond the BMP", {{1, 0x20628}, {2, 0x20629}, {3, 0x2B739}}},
        {"more than a hundred runs and singles", many},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string map = WriteTextMap(c.entries);
        EXPECT_EQ(ReadTextMap(map), c.entries);
        EXPECT_EQ(map.find("\x01"), std::string::npos);
    }
}

TEST(PdfTextMap, ObjectsMoveWithTheMapsRewrittenAtAnySize)
{
    // A correction that makes every map longer: the radical becomes an
    // ideograph beyond the BMP, written as a surrogate pair.
    const TextMapCorrection correct = [](std::string_view, char32_t code) {
        return code == 0x2E87 ? char32_t(0x20628) : code;
    };
    for (const std::size_t nRanges : {std::size_t(3), std::size_t(150), std::size_t(2000)}) {
        const std::string pdf = SmallPdf(QtTextMap(nRanges));
        for (const std::size_t nPiece : {std::size_t(1), std::size_t(7), std::size_t(4096), pdf.size()}) {
            SCOPED_TRACE(std::to_string(nRanges) + " ranges in pieces of " + std::to_string(nPiece));
            bool bFinished = false;
            const std::string out = Rewritten(pdf, nPiece, correct, &bFinished);
            ASSERT_TRUE(bFinished);
            ExpectConsistent(out, 5);
            std::vector<STextMapEntry> expected = QtTextMapEntries(nRanges);
            for (STextMapEntry& entry : expected)
                entry.m_code = correct("", entry.m_code);
            EXPECT_EQ(ReadTextMap(MapOf(out)), expected);
        }
    }
}

TEST(PdfTextMap, WhatIsNotAMapPassesAsItIs)
{
    const std::string unreadable = std::string(kMapHead) + "1 beginbfchar\n<0001>\nendbfchar\n" + kMapTail;
    const struct
    {
        const char* name;
        std::string pdf;
    } cases[] = {
        {"no map", SmallPdf("no map here")},
        {"a map that does not read", SmallPdf(unreadable)},
        {"no cross-reference table", SmallPdf("no map here").substr(0, SmallPdf("no map here").find("xref"))},
    };
    for (const auto& c : cases) {
        for (const std::size_t nPiece : {std::size_t(1), std::size_t(100), c.pdf.size()}) {
            SCOPED_TRACE(std::string(c.name) + " in pieces of " + std::to_string(nPiece));
            bool bFinished = false;
            EXPECT_EQ(Rewritten(c.pdf, nPiece, Unchanged, &bFinished), c.pdf);
            EXPECT_TRUE(bFinished);
        }
    }
}

TEST(PdfTextMap, AMovedMapWithoutCrossReferenceTableFails)
{
    const std::string pdf = SmallPdf(QtTextMap(150));
    bool bFinished = true;
    Rewritten(pdf.substr(0, pdf.find("xref")), 4096, Unchanged, &bFinished);
    EXPECT_FALSE(bFinished);
}
