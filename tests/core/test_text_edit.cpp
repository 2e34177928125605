#include "text/EditText.h"

#include <gtest/gtest.h>

TEST(TextEdit, StoredLengthCountsCodePage936Bytes)
{
    struct Case
    {
        const char* name;
        std::string utf8;
        std::size_t nBytes;
    } const cases[] = {
        {"empty", "", 0},
        {"ASCII", "AB-12", 5},
        {"Chinese counts two", "标签", 4},
        {"line break counts two", "A\nB", 4},
        {"CR LF counts two", "A\r\nB", 4},
        {"mixed", "第1行\n二", 9},
        {"unstorable counts two", "A\xF0\x9F\x98\x80", 3},
        {"fifty bytes", std::string(48, 'x') + "\n", 50},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(StoredLength(c.utf8), c.nBytes);
    }
}

TEST(TextEdit, LineBreaksBecomeCrLfAndBack)
{
    const auto gbk = EditTextToGbk("宋体\nB\n");
    ASSERT_TRUE(gbk);
    EXPECT_EQ(*gbk, "\xCB\xCE\xCC\xE5\r\nB\r\n");
    EXPECT_EQ(GbkToEditText(*gbk), "宋体\nB\n");
    EXPECT_EQ(*EditTextToGbk("A\r\nB"), "A\r\nB");
    // A lone CR read from a file stays.
    EXPECT_EQ(GbkToEditText("A\rB"), "A\rB");
}

TEST(TextEdit, UnstorableTextIsRefused)
{
    EXPECT_FALSE(EditTextToGbk("OK \xF0\x9F\x98\x80"));
    EXPECT_EQ(FirstUnstorableCharacter("标\xF0\x9F\x98\x80x"), "\xF0\x9F\x98\x80");
    EXPECT_EQ(FirstUnstorableCharacter("标签 A"), std::nullopt);
}

TEST(TextEdit, ParseDialogInt)
{
    struct Case
    {
        const char* text;
        std::optional<int> value;
    } const cases[] = {
        {"10", 10},
        {" 7 ", 7},
        {"-3", -3},
        {"+4", 4},
        {"0", 0},
        {"", std::nullopt},
        {"  ", std::nullopt},
        {"-", std::nullopt},
        {"1 2", std::nullopt},
        {"9a", std::nullopt},
        {"2147483647", 2147483647},
        {"-2147483648", -2147483647 - 1},
        {"2147483648", std::nullopt},
        {"99999999999999999999", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ParseDialogInt(c.text), c.value);
    }
}
