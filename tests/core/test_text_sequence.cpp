#include "text/Sequence.h"

#include <gtest/gtest.h>

TEST(TextSequence, IncrementNumber)
{
    struct Case
    {
        const char* name;
        std::string text;
        int nStep;
        std::string expected;
    } const cases[] = {
        {"keeps width with zeros", "007", 5, "012"},
        {"step 0 is the number itself", "01", 0, "01"},
        {"overflows the width", "99", 1, "_NULL_"},
        {"just fits", "98", 1, "99"},
        {"empty text, step 0", "", 0, "_NULL_"},
        {"empty text, step 3", "", 3, "_NULL_"},
        {"digits then letters", "12AB", 1, "0013"},
        {"no digits reads as 0", "AB", 4, "04"},
        {"leading blanks", " 5", 1, "06"},
        {"sign", "+5", 1, "06"},
        {"negative keeps its sign", "-5", 1, "-4"},
        {"negative pads in front", "-05", 1, "0-4"},
        {"lone minus reads as 0", "-", 3, "3"},
        {"too many digits for any successor", std::string(25, '9'), 1, "_NULL_"},
        {"long zero run", std::string(25, '0'), 7, std::string(24, '0') + "7"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(IncrementNumber(c.text, c.nStep), c.expected);
    }
}

TEST(TextSequence, IncrementLetter)
{
    struct Case
    {
        const char* name;
        std::string text;
        int nStep;
        std::string expected;
    } const cases[] = {
        {"upper", "A", 1, "B"},       {"lower", "y", 1, "z"},       {"to Z", "X", 2, "Z"},
        {"wraps upper", "Z", 1, "A"}, {"wraps lower", "x", 4, "b"}, {"many rounds", "A", 26 * 3 + 2, "C"},
        {"step 0", "q", 0, "q"},      {"empty", "", 1, ""},         {"two letters", "AB", 1, ""},
        {"digit", "5", 1, ""},        {"byte after Z", "[", 1, ""}, {"GBK lead byte", "\xB0", 1, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(IncrementLetter(c.text, c.nStep), c.expected);
    }
}
