#include "model/DecimalScan.h"

#include <gtest/gtest.h>

TEST(DecimalScan, EachFieldsRulesDecide)
{
    const CDecimalRules kDialogInt{true, true, -2147483648LL, 2147483647LL};
    const CDecimalRules kUnsigned{false, false, 0, 4294967295LL};
    const struct
    {
        const char* name;
        const char* text;
        const CDecimalRules& rules;
        std::optional<std::int64_t> expected;
    } cases[] = {
        {"digits", "42", kUnsigned, 42},
        {"blanks and sign where allowed", " \t-17 ", kDialogInt, -17},
        {"blanks where not allowed", " 17", kUnsigned, std::nullopt},
        {"a sign where not allowed", "+17", kUnsigned, std::nullopt},
        {"a sign alone", "-", kDialogInt, std::nullopt},
        {"empty", "", kUnsigned, std::nullopt},
        {"a decimal point", "1.5", kDialogInt, std::nullopt},
        {"the largest unsigned", "4294967295", kUnsigned, 4294967295LL},
        {"one beyond", "4294967296", kUnsigned, std::nullopt},
        {"the smallest int", "-2147483648", kDialogInt, -2147483648LL},
        {"below it", "-2147483649", kDialogInt, std::nullopt},
        {"very many digits", "99999999999999999999999999", kDialogInt, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ScanDecimal(c.text, c.rules), c.expected);
    }
}
