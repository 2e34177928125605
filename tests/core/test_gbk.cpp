#include "model/Gbk.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>

namespace {

TEST(Gbk, RoundTrips)
{
    struct Case
    {
        const char* name;
        std::string utf8;
        std::string gbk;
    };
    const Case cases[] = {
        {"empty", "", ""},
        {"ascii with CR LF", "W-01\r\nB", "W-01\r\nB"},
        {"simplified Chinese", "\xE6\xA0\x87\xE7\xAD\xBE", "\xB1\xEA\xC7\xA9"}, // 标签
        {"song ti", "\xE5\xAE\x8B\xE4\xBD\x93", "\xCB\xCE\xCC\xE5"},            // 宋体
        {"e acute (pinyin)", "\xC3\xA9", "\xA8\xA6"},
        {"euro sign", "\xE2\x82\xAC", "\x80"},
        {"full-width tilde", "\xEF\xBD\x9E", "\xA1\xAB"},
        {"GBK extension character", "\xE4\xB8\x82", "\x81\x40"}, // 丂
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Utf8ToGbk(c.utf8), c.gbk);
        EXPECT_EQ(GbkToUtf8(c.gbk), c.utf8);
        EXPECT_EQ(GbkToUtf8Lossy(c.gbk), c.utf8);
    }
}

// Text that code page 936 cannot hold is reported, never turned into '?'.
TEST(Gbk, UnrepresentableTextIsReported)
{
    const std::string cases[] = {
        "\xF0\x9F\x98\x80", // an emoji
        "A\xE3\x83\xBB"
        "B",                        // katakana middle dot
        "\xEA\xB0\x80",             // a Hangul syllable
        "\xC5\x91",                 // o with double acute
        "ok \xF0\x9F\x94\x8C plug", // fine text around one that is not
        "\xFF\xFE",                 // not UTF-8 at all
    };
    for (const std::string& utf8 : cases) {
        SCOPED_TRACE(utf8);
        EXPECT_EQ(Utf8ToGbk(utf8), std::nullopt);
    }
    EXPECT_EQ(Utf16LeToGbk(std::string("\x3D\xD8\x00\xDE", 4)), std::nullopt);
    EXPECT_EQ(Utf16LeToGbk(std::string("\x41", 1)), std::nullopt) << "half a character";
    EXPECT_EQ(Utf16LeToGbk(std::string("\x07\x68\x41\x00", 4)), "\xB1\xEA"
                                                                "A");
}

TEST(Gbk, InvalidBytesAreReportedOrShownAsReplacement)
{
    struct Case
    {
        const char* name;
        std::string gbk;
        std::string lossy;
    };
    const Case cases[] = {
        {"lone lead byte at the end", "AB\xB1", "AB\xEF\xBF\xBD"},
        {"lead byte before a space", "\x81 x", "\xEF\xBF\xBD x"},
        {"0xFF",
         "a\xFF"
         "b",
         "a\xEF\xBF\xBD"
         "b"},
        {"good around bad", "\xB1\xEA\xFF\xC7\xA9", "\xE6\xA0\x87\xEF\xBF\xBD\xE7\xAD\xBE"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(GbkToUtf8(c.gbk), std::nullopt);
        EXPECT_EQ(GbkToUtf8Lossy(c.gbk), c.lossy);
    }
}

// Every character of code page 936 survives the trip to the front end and
// back unchanged, so showing and editing a label never alters its bytes.
TEST(Gbk, EveryCharacterRoundTrips)
{
    int nCharacters = 0;
    const auto check = [&](const std::string& gbk) {
        const std::optional<std::string> utf8 = GbkToUtf8(gbk);
        if (!utf8)
            return;
        ++nCharacters;
        EXPECT_EQ(Utf8ToGbk(*utf8), gbk) << testing::PrintToString(gbk);
    };
    for (int b = 0; b <= 0x80; ++b)
        check(std::string(1, static_cast<char>(b)));
    for (int lead = 0x81; lead <= 0xFE; ++lead)
        for (int trail = 0x40; trail <= 0xFE; ++trail)
            check({static_cast<char>(lead), static_cast<char>(trail)});
    EXPECT_EQ(nCharacters, 129 + 21791); // ASCII, the euro sign, the two-byte codes
}

TEST(Gbk, LongTextsConvertWhole)
{
    // Longer than the converter's buffer.
    std::string utf8, gbk;
    for (int i = 0; i < 5000; ++i) {
        utf8 += "\xE6\xA0\x87"
                "1";
        gbk += "\xB1\xEA"
               "1";
    }
    EXPECT_EQ(Utf8ToGbk(utf8), gbk);
    EXPECT_EQ(GbkToUtf8(gbk), utf8);
}

// Converters are opened once per thread and kept; unknown encoding names a
// user typed must neither pile up nor disturb the ones in use.
TEST(Gbk, ConvertsAfterManyEncodingNamesAndOnEveryThread)
{
    for (int i = 0; i < 100; ++i)
        EXPECT_FALSE(IsKnownEncoding(("NO-SUCH-ENCODING-" + std::to_string(i)).c_str()));
    EXPECT_TRUE(IsKnownEncoding("GB18030"));
    EXPECT_EQ(Utf8ToGbk("\xE6\xA0\x87"), "\xB1\xEA");
    std::thread([] { EXPECT_EQ(GbkToUtf8("\xB1\xEA"), "\xE6\xA0\x87"); }).join();
}

// An encoding whose UTF-8 is many times longer than itself is converted no
// further than the limit: TSCII's 0x87 is three Tamil characters, nine
// bytes of UTF-8.
TEST(Gbk, ConversionStopsAtTheLimit)
{
    const std::string tamil(1000, '\x87');
    const struct
    {
        const char* name;
        std::string text;
        const char* encoding;
        std::size_t nLimit;
        std::optional<std::size_t> nConverted; // nullopt: nothing kept
        bool bOverLimit;
    } cases[] = {
        {"TSCII past the limit", tamil, "TSCII", 4096, std::nullopt, true},
        {"TSCII just within", tamil, "TSCII", 9000, 9000, false},
        {"Thai past the limit", std::string(2000, '\xA1'), "TIS-620", 5999, std::nullopt, true},
        {"invalid before the limit", "W1\x80", "GB18030", 4096, std::nullopt, false},
        {"GB18030 within", "W1,\xB5\xE7", "GB18030", 6, 6, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        bool bOverLimit = !c.bOverLimit;
        const std::optional<std::string> text = ToUtf8Within(c.text, c.encoding, c.nLimit, bOverLimit);
        EXPECT_EQ(bOverLimit, c.bOverLimit);
        EXPECT_EQ(text ? std::optional<std::size_t>(text->size()) : std::nullopt, c.nConverted);
        if (text)
            EXPECT_EQ(*text, ToUtf8(c.text, c.encoding));
    }
}

} // namespace
