#include "model/LabelChanges.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

CLabelRecord Labelled(const std::string& text)
{
    CLabelRecord record;
    record.m_strText = text;
    return record;
}

// Each record comes back whole, texts of every length and formats shared or
// not, in the order given.
TEST(PackedLabelChanges, GivesBackEveryRecordExactly)
{
    std::vector<int> indices;
    std::vector<CLabelRecord> before;
    std::vector<CLabelRecord> after;
    for (int i = 0; i < 40; ++i) {
        indices.push_back(374 - i);
        before.push_back(Labelled(i % 3 ? std::string(static_cast<std::size_t>(i), 'x') : std::string()));
        CLabelRecord changed = Labelled("W" + std::to_string(i) + "\r\nline two");
        changed.m_bSelected = i % 2;
        if (i % 5 == 0) {
            changed.m_dMarginLeft = 0.1 * i;
            changed.m_logFont.SetFaceName("Arial");
            changed.m_logFont.lfWidth = i;
        }
        after.push_back(changed);
    }
    const CPackedLabelChanges packed(indices, before, after);
    ASSERT_EQ(packed.Count(), indices.size());
    for (std::size_t i = 0; i < indices.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(packed.Index(i), indices[i]);
        EXPECT_EQ(packed.Before(i), before[i]);
        EXPECT_EQ(packed.After(i), after[i]);
    }
}

// Texts of every length a sheet file holds come back byte for byte, also
// past the 16-bit and 32-bit boundaries of the offsets they are kept at.
TEST(PackedLabelChanges, TextsOfAnyLengthComeBackWhole)
{
    const struct
    {
        const char* name;
        std::size_t nBefore;
        std::size_t nAfter;
    } cases[] = {
        {"just under 64 KB", 65535, 0},  {"64 KB", 65536, 3},
        {"200 KB", 204800, 0},           {"1 MB after", 0, 1 << 20},
        {"20 MB", 20u << 20, 20u << 20},
    };
    for (const auto& t : cases) {
        SCOPED_TRACE(t.name);
        std::string before(t.nBefore, 'b');
        std::string after(t.nAfter, 'a');
        if (!before.empty())
            before.back() = 'B';
        if (!after.empty())
            after.front() = 'A';
        const CPackedLabelChanges packed({0, 7}, {Labelled(before), Labelled("x")},
                                         {Labelled(after), Labelled("")});
        EXPECT_EQ(packed.Before(0).m_strText, before);
        EXPECT_EQ(packed.After(0).m_strText, after);
        EXPECT_EQ(packed.Before(1).m_strText, "x");
        EXPECT_EQ(packed.After(1).m_strText, "");
    }
}

// A full-sheet fill of short texts over one format: far less than two whole
// records a label, so a thousand such steps stay small.
TEST(PackedLabelChanges, FullSheetFillIsSmall)
{
    std::vector<int> indices;
    std::vector<CLabelRecord> before;
    std::vector<CLabelRecord> after;
    for (int i = 0; i < 375; ++i) {
        indices.push_back(i);
        before.push_back(Labelled(""));
        after.push_back(Labelled("WIRE-" + std::to_string(1000 + i)));
    }
    const CPackedLabelChanges packed(indices, before, after);
    EXPECT_LT(packed.MemoryUse(), 375u * 40u);
}

} // namespace
