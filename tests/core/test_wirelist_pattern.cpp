#include "print/PageSelection.h"
#include "wirelist/SequencePattern.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The markers of a pattern in UTF-8, or the English error.
std::vector<std::string> MarkersOf(const std::string& pattern, std::string* error = nullptr)
{
    CSequencePattern parsed;
    if (const std::optional<CPatternError> e = CSequencePattern::Parse(pattern, parsed)) {
        if (error)
            *error = EnglishText(*e);
        return {};
    }
    std::vector<std::string> markers;
    for (std::size_t i = 0; i < parsed.Count(); ++i)
        markers.push_back(parsed.MarkerUtf8(i));
    return markers;
}

std::string Repeated(const std::string& text, std::size_t nTimes)
{
    std::string repeated;
    for (std::size_t i = 0; i < nTimes; ++i)
        repeated += text;
    return repeated;
}

} // namespace

TEST(SequencePattern, EveryForm)
{
    using Markers = std::vector<std::string>;
    const struct
    {
        const char* name;
        std::string pattern;
        Markers first;      // the first markers
        std::size_t nCount; // all of them
        std::string last;
    } cases[] = {
        {"literal only", "PE", {"PE"}, 1, "PE"},
        {"numbers", "X{1-24}", {"X1", "X2", "X3"}, 24, "X24"},
        {"padded by the bound as written", "{01-24}", {"01", "02"}, 24, "24"},
        {"padding wider than the numbers", "-W{001-120}", {"-W001"}, 120, "-W120"},
        {"no padding without a leading zero", "{9-10}", {"9", "10"}, 2, "10"},
        {"step", "{1-99/2}", {"1", "3", "5"}, 50, "99"},
        {"step that does not reach the end", "{1-10/4}", {"1", "5", "9"}, 3, "9"},
        {"counting down", "{24-1}", {"24", "23"}, 24, "1"},
        {"counting down by steps", "{10-1/3}", {"10", "7", "4", "1"}, 4, "1"},
        {"letters", "{A-Z}", {"A", "B"}, 26, "Z"},
        {"small letters", "{a-h}", {"a", "b"}, 8, "h"},
        {"letters past Z", "{Y-AB}", {"Y", "Z", "AA", "AB"}, 4, "AB"},
        {"letters to AZ", "{A-AZ}", {"A"}, 52, "AZ"},
        {"letters down", "{AB-Y}", {"AB", "AA", "Z", "Y"}, 4, "Y"},
        {"list", "{L1,L2,L3,N,PE}", {"L1", "L2", "L3", "N", "PE"}, 5, "PE"},
        {"nested like an odometer", "X{1-3}:{1-24}", {"X1:1", "X1:2"}, 72, "X3:24"},
        {"rightmost turns fastest", "{A-B}{1-2}", {"A1", "A2", "B1", "B2"}, 4, "B2"},
        {"side by side", "{1-10}{A-J}=", {"1A", "2B", "3C"}, 10, "10J"},
        {"side by side with text between", "{1-3}-{x,y,z}=", {"1-x", "2-y", "3-z"}, 3, "3-z"},
        {"repeats", "W{1-300}*2", {"W1", "W1", "W2", "W2"}, 600, "W300"},
        {"repeat and together", "{1-4}*2{a-h}=", {"1a", "1b", "2c"}, 8, "4h"},
        {"escaped braces", "{{{1-2}}}", {"{1}", "{2}"}, 2, "{2}"},
        {"line break", "-K{1-2}\n{13,14}", {"-K1\n13", "-K1\n14", "-K2\n13"}, 4, "-K2\n14"},
        {"Chinese text", "电机{1-2}", {"电机1", "电机2"}, 2, "电机2"},
        {"three counters", "-W{1-2}.{1-3}{a,b}", {"-W1.1a", "-W1.1b", "-W1.2a"}, 12, "-W2.3b"},
        {"an empty list value", "W1{,B}", {"W1", "W1B"}, 2, "W1B"},
        {"as many counters as allowed",
         Repeated("{1-1}", 50),
         {std::string(50, '1')},
         1,
         std::string(50, '1')},
        {"as long as allowed", "X{" + Repeated("a,", 49998) + "a}", {"Xa", "Xa"}, 49999, "Xa"},
    };
    for (const auto& t : cases) {
        SCOPED_TRACE(t.name);
        std::string error;
        const std::vector<std::string> markers = MarkersOf(t.pattern, &error);
        ASSERT_EQ(error, "");
        ASSERT_EQ(markers.size(), t.nCount);
        EXPECT_EQ(Markers(markers.begin(), markers.begin() + static_cast<long>(t.first.size())), t.first);
        EXPECT_EQ(markers.back(), t.last);
    }
}

TEST(SequencePattern, ErrorsNameTheirPlace)
{
    const struct
    {
        const char* name;
        std::string pattern;
        std::string error;
    } cases[] = {
        {"empty", "", "the pattern is empty"},
        {"unclosed", "X{1-3", "character 2: '{' is not closed by '}'"},
        {"stray close", "X1}", "character 3: '}' without '{' (write '}}' for a brace)"},
        {"empty counter", "A{}", "character 2: '{}' holds no counter"},
        {"no range", "{1 24}", "character 1: '{1 24}' is neither a range (1-24, A-Z) nor a list (L1,L2)"},
        {"open range", "{1-}", "character 1: '{1-}' is neither a range (1-24, A-Z) nor a list (L1,L2)"},
        {"number to letter", "{1-Z}",
         "character 1: both ends of a range must be numbers, or letters of the same case"},
        {"cases mixed", "{a-Z}",
         "character 1: both ends of a range must be numbers, or letters of the same case"},
        {"bound too large", "{1-1234567890}",
         "character 1: the ends of a range have at most 9 digits or 6 letters"},
        {"zero step", "{1-9/0}", "character 5: the step cannot be 0"},
        {"step not a number", "电{1-9/x}", "character 6: the step must be a whole number"},
        {"bad repeat", "{1-2}*0", "character 6: '*' takes a whole number from 1 to 1000"},
        {"repeat too large", "{1-2}*1001", "character 6: '*' takes a whole number from 1 to 1000"},
        {"nothing to turn with", "X{1-2}=", "character 7: '=' needs a counter before it to turn with"},
        {"unequal together", "{1-10}{A-C}=",
         "character 7: a counter that turns with the one before needs as many values (10 and 3)"},
        {"too many", "{1-1000}{1-1001}", "the pattern gives more than 1000000 markers"},
        {"too many by far", "{1-999999999}{1-999999999}{1-999999999}",
         "the pattern gives more than 1000000 markers"},
        {"too long", "{1-200}" + std::string(48, 'x'),
         "marker 100 '100" + std::string(48, 'x') + "': it takes 51 bytes; a label holds at most 50"},
        {"too long where the first counter has stepped", "{1-20}{1-9}" + std::string(48, 'x'),
         "marker 82 '101" + std::string(48, 'x') + "': it takes 51 bytes; a label holds at most 50"},
        {"too long where a repeated list value first shows", "{A,BB}*3{1-2}" + std::string(48, 'x'),
         "marker 7 'BB1" + std::string(48, 'x') + "': it takes 51 bytes; a label holds at most 50"},
        {"too many counters", Repeated("{1-1}", 51), "character 251: a pattern has at most 50 counters"},
        {"counters that add nothing to a million markers", "{1-1000}{1-1000}" + Repeated("{,}*500=", 1000),
         "character 401: a pattern has at most 50 counters"},
        {"too long a pattern", std::string(100'001, 'x'),
         "the pattern has 100001 characters; at most 100000"},
        {"a list of ten million values", "{" + std::string(10'000'000, ',') + "}",
         "the pattern has 10000002 characters; at most 100000"},
        {"not code page 936", "X{1-3}{a,b,한}",
         "marker 3 'X1한': '한' cannot be printed on a label (labels hold "
         "code page 936 characters only)"},
    };
    for (const auto& t : cases) {
        SCOPED_TRACE(t.name);
        std::string error;
        EXPECT_TRUE(MarkersOf(t.pattern, &error).empty());
        EXPECT_EQ(error, t.error);
    }
}

// Markers are stored as labels hold them, repeats in a row are one run, and
// copies multiply every marker.
TEST(SequencePattern, MarkersForAJob)
{
    CSequencePattern pattern;
    ASSERT_FALSE(CSequencePattern::Parse("电{1-2}\n{A-B}*2", pattern));
    EXPECT_EQ(pattern.Marker(0), "\xB5\xE7"
                                 "1\r\nA");
    const CMarkerList markers = pattern.Markers(3);
    EXPECT_EQ(markers.Total(), 24u);
    ASSERT_EQ(markers.RunCount(), 4u);
    const CMarkerRun second = *std::next(markers.begin());
    EXPECT_EQ(second.m_strText, "\xB5\xE7"
                                "1\r\nB");
    EXPECT_EQ(second.m_nCount, 6u);
}

// The sheets of a job as people list them; the text written back is the
// list as given.
TEST(PageSelection, ListsOfSheets)
{
    const struct
    {
        const char* text;
        bool bValid;
        std::vector<std::size_t> selected; // of sheets 1 to 12
        std::size_t nLast;
    } cases[] = {
        {"7", true, {7}, 7},
        {"7-9,12", true, {7, 8, 9, 12}, 12},
        {" 2 - 3 , 1", true, {1, 2, 3}, 3},
        {"12,1", true, {1, 12}, 12},
        {"", false, {}, 0},
        {"0", false, {}, 0},
        {"3-1", false, {}, 0},
        {"1,,2", false, {}, 0},
        {"2-", false, {}, 0},
        {"x", false, {}, 0},
        {"-3", false, {}, 0},
    };
    for (const auto& t : cases) {
        SCOPED_TRACE(t.text);
        const std::optional<CPageSelection> pages = CPageSelection::Parse(t.text);
        ASSERT_EQ(pages.has_value(), t.bValid);
        if (!pages)
            continue;
        std::vector<std::size_t> selected;
        for (std::size_t n = 1; n <= 12; ++n)
            if (pages->Contains(n))
                selected.push_back(n);
        EXPECT_EQ(selected, t.selected);
        EXPECT_EQ(pages->Last(), t.nLast);
        EXPECT_EQ(pages->CountOf(12), t.selected.size());
    }
    EXPECT_EQ(CPageSelection::Parse("7-9,12")->Text(), "7-9,12");
    EXPECT_TRUE(CPageSelection().All());
    EXPECT_EQ(CPageSelection().CountOf(5), 5u);
}
