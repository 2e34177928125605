#include "view/TextDirection.h"

#include <gtest/gtest.h>

namespace {

CLogFont Font(std::int32_t nEscapement, const std::string& face, std::int32_t nOrientation = -1)
{
    CLogFont font = CLogFont::LabelDefault();
    font.lfEscapement = nEscapement;
    font.lfOrientation = nOrientation < 0 ? nEscapement : nOrientation;
    font.SetFaceName(face);
    return font;
}

const std::string kSong = "\xCB\xCE\xCC\xE5"; // 宋体

} // namespace

TEST(TextDirection, FromTheFontRecord)
{
    struct Case
    {
        const char* name;
        CLogFont font;
        TextDirection direction;
    };
    const Case cases[] = {
        {"nothing turned", Font(0, kSong), TextDirection::Horizontal},
        {"a quarter left", Font(900, kSong), TextDirection::Up},
        {"a quarter right", Font(2700, kSong), TextDirection::Down},
        {"half a turn", Font(1800, kSong), TextDirection::UpsideDown},
        {"vertical face turned right", Font(2700, "@" + kSong), TextDirection::Vertical},
        {"vertical face turned left reads up", Font(900, "@" + kSong), TextDirection::Up},
        {"vertical face unturned", Font(0, "@" + kSong), TextDirection::Horizontal},
        {"orientation alone turns nothing", Font(0, kSong, 900), TextDirection::Horizontal},
        {"escapement decides", Font(900, kSong, 0), TextDirection::Up},
        {"other angle", Font(450, kSong), TextDirection::Horizontal},
        {"full turn", Font(3600, kSong), TextDirection::Horizontal},
        {"negative quarter", Font(-900, kSong), TextDirection::Horizontal},
        {"at sign alone", Font(2700, "@"), TextDirection::Vertical},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(DirectionOfFont(c.font), c.direction);
    }
}

TEST(TextDirection, SetKeepsTheRestOfTheRecord)
{
    for (const TextDirection from : kTextDirections) {
        for (const TextDirection to : kTextDirections) {
            SCOPED_TRACE(static_cast<int>(from) * 10 + static_cast<int>(to));
            CLogFont font = Font(0, kSong);
            font.lfHeight = -37;
            font.lfWeight = 700;
            font.lfItalic = 1;
            SetFontDirection(font, from);
            SetFontDirection(font, to);
            EXPECT_EQ(DirectionOfFont(font), to);
            EXPECT_EQ(font.lfEscapement, font.lfOrientation);
            EXPECT_EQ(FaceWithoutVerticalMark(font.FaceName()), kSong);
            EXPECT_EQ(font.FaceName().front() == '@', to == TextDirection::Vertical);
            EXPECT_EQ(font.lfHeight, -37);
            EXPECT_EQ(font.lfWeight, 700);
            EXPECT_EQ(font.lfItalic, 1);
        }
    }
}

TEST(TextDirection, UnchangedFaceKeepsItsBytesAfterTheName)
{
    CLogFont font = Font(2700, "@" + kSong);
    font.lfFaceName[20] = 'x'; // what memory held after the name
    SetFontDirection(font, TextDirection::Vertical);
    EXPECT_EQ(font.lfFaceName[20], 'x');
    SetFontDirection(font, TextDirection::Down);
    EXPECT_EQ(font.FaceName(), kSong);
}

TEST(TextDirection, LongestFaceTakesTheMarkWithinTheRecord)
{
    CLogFont font = Font(0, std::string(31, 'F'));
    SetFontDirection(font, TextDirection::Vertical);
    EXPECT_EQ(font.FaceName(), "@" + std::string(30, 'F'));
    EXPECT_EQ(DirectionOfFont(font), TextDirection::Vertical);
    // A letter and fifteen Chinese characters: the mark leaves room for
    // fourteen, and never for half of one.
    std::string chinese;
    for (int i = 0; i < 15; ++i)
        chinese += kSong.substr(0, 2);
    font = Font(0, "F" + chinese);
    SetFontDirection(font, TextDirection::Vertical);
    EXPECT_EQ(font.FaceName(), "@F" + chinese.substr(0, 28));
}

TEST(TextDirection, LayoutInTheReadersFrame)
{
    // A tall label 40 × 100 pixels with margins 2, 3, 4 and 5 leaves the text
    // box (2, 3)–(36, 95): 34 wide, 92 high; turned a quarter it is 92 long
    // and 34 across. Lines are 10 pixels high, 5 per byte. Two lines, the
    // first 4 bytes long, fit as they are; the first line of 20 bytes (100
    // pixels) shrinks to the box less a pixel each side, along the lines.
    const CPixelRect rcLabel{0, 0, 40, 100};
    const CTextMetrics metrics{10, 5};
    struct Case
    {
        const char* name;
        TextDirection direction;
        int nVAlign;
        bool bShrink;
        CPixelRect rcFirstLine; // on the device
        int nCharWidth;         // the shrunk font's average width
    };
    using D = TextDirection;
    const Case cases[] = {
        {"across top", D::Horizontal, 0, false, {2, 3, 36, 13}, 0},
        {"across middle", D::Horizontal, 4, false, {2, 39, 36, 49}, 0},
        {"across bottom", D::Horizontal, 8, false, {2, 75, 36, 85}, 0},
        {"up top: tops face left", D::Up, 0, false, {2, 3, 12, 95}, 0},
        {"up middle", D::Up, 4, false, {9, 3, 19, 95}, 0},
        {"up bottom", D::Up, 8, false, {16, 3, 26, 95}, 0},
        {"down top: tops face right", D::Down, 0, false, {26, 3, 36, 95}, 0},
        {"down middle", D::Down, 4, false, {19, 3, 29, 95}, 0},
        {"down bottom", D::Down, 8, false, {12, 3, 22, 95}, 0},
        {"upside down top: at the bottom", D::UpsideDown, 0, false, {2, 85, 36, 95}, 0},
        {"upside down middle", D::UpsideDown, 4, false, {2, 49, 36, 59}, 0},
        {"upside down bottom", D::UpsideDown, 8, false, {2, 13, 36, 23}, 0},
        {"vertical top: first column right", D::Vertical, 0, false, {26, 3, 36, 95}, 0},
        {"vertical bottom", D::Vertical, 8, false, {12, 3, 22, 95}, 0},
        {"across top shrunk", D::Horizontal, 0, true, {3, 4, 35, 14}, 1},
        {"across middle shrunk", D::Horizontal, 4, true, {3, 39, 35, 49}, 1},
        {"across bottom shrunk", D::Horizontal, 8, true, {3, 74, 35, 84}, 1},
        {"up top shrunk", D::Up, 0, true, {3, 4, 13, 94}, 4},
        {"up middle shrunk", D::Up, 4, true, {9, 4, 19, 94}, 4},
        {"up bottom shrunk", D::Up, 8, true, {15, 4, 25, 94}, 4},
        {"down top shrunk", D::Down, 0, true, {25, 4, 35, 94}, 4},
        {"down middle shrunk", D::Down, 4, true, {19, 4, 29, 94}, 4},
        {"down bottom shrunk", D::Down, 8, true, {13, 4, 23, 94}, 4},
        {"upside down top shrunk", D::UpsideDown, 0, true, {3, 84, 35, 94}, 1},
        {"upside down middle shrunk", D::UpsideDown, 4, true, {3, 49, 35, 59}, 1},
        {"upside down bottom shrunk", D::UpsideDown, 8, true, {3, 14, 35, 24}, 1},
        {"vertical middle shrunk", D::Vertical, 4, true, {19, 4, 29, 94}, 4},
    };
    for (const Case& c : cases) {
        for (const int nHAlign : {0, 1, 2}) {
            SCOPED_TRACE(std::string(c.name) + " align " + std::to_string(nHAlign));
            CLabelTextStyle style;
            style.m_nInsetLeft = 2;
            style.m_nInsetTop = 3;
            style.m_nInsetRight = 4;
            style.m_nInsetBottom = 5;
            style.m_nHAlign = nHAlign;
            style.m_nVAlign = c.nVAlign;
            style.m_bAutoShrink = c.bShrink;
            const std::string text = c.bShrink ? "ABCDEFGHIJKLMNOPQRST\r\nEF" : "ABCD\r\nEF";
            const CDirectedLayout directed =
                LayoutDirectedText(text, rcLabel, style, metrics, {}, c.direction);
            ASSERT_TRUE(directed.m_layout.m_bDraw);
            EXPECT_EQ(directed.m_rcBox, (CPixelRect{2, 3, 36, 95}));
            EXPECT_EQ(directed.m_frame.ToDevice(directed.m_layout.m_rcText), directed.m_rcBox);
            EXPECT_EQ(directed.m_frame.ToDevice(directed.m_layout.LineRect(0)), c.rcFirstLine);
            EXPECT_EQ(directed.m_layout.m_bShrunk, c.bShrink);
            if (c.bShrink) {
                EXPECT_EQ(directed.m_layout.m_nShrunkCharWidth, c.nCharWidth);
            }
            // The second line follows the first away from its top.
            const CLabelTextLayout& layout = directed.m_layout;
            EXPECT_EQ(layout.LineRect(1).top - layout.LineRect(0).top, 10);
        }
    }
}

TEST(TextDirection, HorizontalIsTheUpright)
{
    CLabelTextStyle style;
    style.m_nInsetLeft = 3;
    style.m_nGap = 4;
    const CPixelRect rcLabel{10, 20, 70, 50};
    const CLabelTextLayout upright = LayoutLabelText("A\r\nB\r\nC", rcLabel, style, {10, 5});
    const CDirectedLayout directed =
        LayoutDirectedText("A\r\nB\r\nC", rcLabel, style, {10, 5}, {}, TextDirection::Horizontal);
    EXPECT_TRUE(directed.m_frame.IsIdentity());
    EXPECT_EQ(directed.m_layout.m_rcText, upright.m_rcText);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(directed.m_layout.LineRect(i), upright.LineRect(i));
}

TEST(TextDirection, BoxWithoutAreaDrawsNothingInAnyDirection)
{
    CLabelTextStyle style;
    style.m_nInsetLeft = 30;
    style.m_nInsetRight = 30;
    for (const TextDirection direction : kTextDirections) {
        SCOPED_TRACE(static_cast<int>(direction));
        EXPECT_FALSE(
            LayoutDirectedText("A", {0, 0, 60, 100}, style, {10, 5}, {}, direction).m_layout.m_bDraw);
    }
}

TEST(TextDirection, UprightCharactersInVerticalWriting)
{
    struct Case
    {
        const char* name;
        char32_t ch;
        bool bUpright;
    };
    const Case cases[] = {
        {"ideograph", U'\u4E2D', true},
        {"last common ideograph", U'\u9FFF', true},
        {"ideographic full stop", U'\u3002', true},
        {"katakana", U'\u30AB', true},
        {"full-width digit", U'\uFF11', true},
        {"full-width letter", U'\uFF37', true},
        {"full-width yen", U'\uFFE5', true},
        {"rare ideograph", U'\U00020000', true},
        {"Latin letter", U'W', false},
        {"digit", U'1', false},
        {"hyphen", U'-', false},
        {"space", U' ', false},
        {"half-width katakana", U'\uFF71', false},
        {"Greek", U'\u03A9', false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(IsUprightInVerticalText(c.ch), c.bUpright);
    }
}
