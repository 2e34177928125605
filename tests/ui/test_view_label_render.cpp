#include "test_app_support.h"

#include "model/Gbk.h"
#include "render/LabelRenderer.h"

#include "PdfCheck.h"

#include <QFile>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QRawFont>
#include <QTemporaryDir>
#include <QTextLayout>
#include <gtest/gtest.h>

namespace {

constexpr QRgb kBackground = 0xFFFF0000; // red: what the renderer must not touch

bool IsInk(QRgb rgb)
{
    return qRed(rgb) < 160 && qGreen(rgb) < 160 && qBlue(rgb) < 160;
}

// Ink pixels inside rc of the image.
int InkIn(const QImage& image, const QRect& rc)
{
    int n = 0;
    for (int y = rc.top(); y <= rc.bottom(); ++y)
        for (int x = rc.left(); x <= rc.right(); ++x)
            n += IsInk(image.pixel(x, y)) ? 1 : 0;
    return n;
}

// Renders a label on a red image of 200 × 100 pixels at zoom 1; the default
// font height is −80, an em of 20 pixels.
QImage Render(const CLabelRecord& label, int nInset = 0, int nGap = 0, QSize size = {200, 100},
              CRenderedFont* pFont = nullptr)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(kBackground);
    QPainter painter(&image);
    const CRenderedFont font =
        DrawLabel(painter, label, QRect(QPoint(0, 0), size),
                  CDeviceInsets{nInset, nInset, nInset, nInset, nGap}, kScreenMode, 1.0);
    if (pFont)
        *pFont = font;
    return image;
}

CLabelRecord Label(const std::string& strText, int nHAlign = 0, int nVAlign = 0, bool bShrink = false)
{
    CLabelRecord label;
    label.m_strText = strText;
    label.m_nHAlign = nHAlign;
    label.m_nVAlign = nVAlign;
    label.m_bAutoShrink = bShrink ? 1 : 0;
    label.m_nFontHeight = -80;
    return label;
}

// A shrunk label turned a quarter left, and one in vertical writing.
CLabelRecord TurnedLabel()
{
    CLabelRecord turned = Label("CABLE-0123456789\r\nW", 1, 4, true);
    turned.m_logFont.lfEscapement = turned.m_logFont.lfOrientation = 900;
    return turned;
}

CLabelRecord VerticalLabel()
{
    CLabelRecord vertical =
        Label("\xCA\xFA\xC5\xC5\xCE\xC4\xD7\xD6\xCA\xFA\xC5\xC5", 1, 4, true); // 竖排文字竖排
    vertical.m_logFont.SetFaceName("@\xCB\xCE\xCC\xE5");
    vertical.m_logFont.lfEscapement = vertical.m_logFont.lfOrientation = 2700;
    return vertical;
}

} // namespace

TEST(LabelRenderer, FontHeightForScreenAndDevice)
{
    CLabelRecord label;
    label.m_strText = "A";
    const CLabelRecord before = label;
    QImage screen(100, 40, QImage::Format_RGB32);
    {
        QPainter painter(&screen);
        const CRenderedFont font = DrawLabel(painter, label, screen.rect(), {}, kScreenMode, 2.5);
        EXPECT_EQ(font.m_nHeight, -7);
        EXPECT_EQ(font.m_nWidth, 0);
    }
    EXPECT_EQ(label, before) << "drawing leaves the record as it was";

    QImage printer(400, 200, QImage::Format_RGB32);
    printer.setDotsPerMeterX(qRound(600 / 0.0254));
    printer.setDotsPerMeterY(qRound(600 / 0.0254));
    ASSERT_EQ(printer.logicalDpiY(), 600);
    {
        QPainter painter(&printer);
        EXPECT_EQ(DrawLabel(painter, label, printer.rect(), {}, 0, 2.5).m_nHeight, 70);
    }
}

TEST(LabelRenderer, SongFaceIsSubstituted)
{
    const CLabelFont font = MakeLabelFont(CLogFont::LabelDefault());
    EXPECT_EQ(font.m_font.family(), QStringLiteral("Noto Serif CJK SC"));
    EXPECT_TRUE(font.m_bEmBox);
    CLogFont logFont = CLogFont::LabelDefault();
    logFont.lfHeight = -20;
    EXPECT_EQ(MakeLabelFont(logFont).m_font.pixelSize(), 20);
    EXPECT_EQ(MakeLabelFont(logFont).m_metrics.m_nLineHeight, 20);
    EXPECT_EQ(MakeLabelFont(logFont).m_metrics.m_nCharWidth, 10);
    logFont.lfHeight = 30; // a cell height: one em for this face
    EXPECT_EQ(MakeLabelFont(logFont).m_font.pixelSize(), 30);
    logFont.lfWidth = 5; // half the natural width of a byte
    EXPECT_EQ(MakeLabelFont(logFont).m_font.stretch(), 33);
    logFont.lfWeight = 700;
    logFont.lfItalic = 1;
    logFont.lfUnderline = 1;
    logFont.lfStrikeOut = 1;
    const QFont styled = MakeLabelFont(logFont).m_font;
    EXPECT_EQ(styled.weight(), QFont::Bold);
    EXPECT_TRUE(styled.italic());
    EXPECT_TRUE(styled.underline());
    EXPECT_TRUE(styled.strikeOut());
}

TEST(LabelRenderer, TextBoxIsWhiteAndNothingLeavesIt)
{
    CLabelRecord label = Label(std::string(60, 'W') + "\r\nW\r\nW\r\nW\r\nW\r\nW", 1, 4);
    const QImage image = Render(label, 10);
    const QRect box(10, 10, 180, 80);
    EXPECT_GT(InkIn(image, box), 0);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (!box.contains(x, y)) {
                ASSERT_EQ(image.pixel(x, y), kBackground) << x << "," << y;
            }
    EXPECT_EQ(image.pixel(11, 11), qRgb(255, 255, 255)) << "the text box is painted white";
}

TEST(LabelRenderer, BoxWithoutAreaDrawsNothing)
{
    for (int nInset : {50, 60}) {
        SCOPED_TRACE(nInset);
        CLabelRecord label = Label("text", 1, 4, true);
        const QImage image = Render(label, nInset);
        EXPECT_EQ(InkIn(image, image.rect()), 0);
        EXPECT_EQ(image.pixel(100, 50), kBackground);
    }
}

TEST(LabelRenderer, EmptyTextPaintsTheBoxOnly)
{
    CLabelRecord label = Label("");
    const QImage image = Render(label, 10);
    EXPECT_EQ(image.pixel(100, 50), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(5, 5), kBackground);
    EXPECT_EQ(InkIn(image, image.rect()), 0);
}

TEST(LabelRenderer, LinesSplitOnCrLf)
{
    // Lines of 20 pixels from the top: 0–19, 20–39, 40–59.
    struct Case
    {
        const char* name;
        std::string text;
        bool bInk[3];
    };
    const Case cases[] = {
        {"A CR LF CR LF B: three lines, the middle empty", "A\r\n\r\nB", {true, false, true}},
        {"A CR LF: one line", "A\r\n", {true, false, false}},
        {"A CR LF B", "A\r\nB", {true, true, false}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CLabelRecord label = Label(c.text);
        const QImage image = Render(label);
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(InkIn(image, QRect(0, 20 * i, 200, 20)) > 0, c.bInk[i]) << "line " << i;
    }
}

TEST(LabelRenderer, OversizedLineIsCroppedByAlignment)
{
    // 40 bytes of 10 pixels in a 100 pixel box: only a part shows.
    const std::string spaces(39, ' ');
    struct Case
    {
        const char* name;
        std::string text;
        int nHAlign;
        bool bShrink;
        bool bInk;
    };
    const Case cases[] = {
        {"left shows the beginning", "X" + spaces, 0, false, true},
        {"left hides the end", spaces + "X", 0, false, false},
        {"right shows the end", spaces + "X", 2, false, true},
        {"right hides the beginning", "X" + spaces, 2, false, false},
        {"centre hides both ends", "X" + spaces.substr(1) + "X", 1, false, false},
        {"centre shows the middle", spaces.substr(20) + "X" + spaces.substr(20), 1, false, true},
        {"shrink shows all", spaces + "X", 0, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CLabelRecord label = Label(c.text, c.nHAlign, 0, c.bShrink);
        const QImage image = Render(label, 0, 0, {100, 30});
        EXPECT_EQ(InkIn(image, image.rect()) > 0, c.bInk);
    }
}

TEST(LabelRenderer, ShrinkFitsThreeLinesIntoTwo)
{
    // Three lines of 20 in a box of 40, a pixel clear of its edges: lines of
    // 38 × 20 / 60 = 12 pixels from y = 1.
    CLabelRecord label = Label("A\r\n\r\nB", 0, 0, true);
    CRenderedFont font;
    const QImage image = Render(label, 0, 0, {200, 40}, &font);
    EXPECT_GT(InkIn(image, QRect(0, 1, 200, 12)), 0);
    EXPECT_EQ(InkIn(image, QRect(0, 14, 200, 10)), 0);
    EXPECT_GT(InkIn(image, QRect(0, 25, 200, 12)), 0);
    EXPECT_EQ(font.m_nHeight, 12);
    EXPECT_EQ(font.m_nWidth, 10) << "only the height overflowed: the width stays";

    CLabelRecord unshrunk = Label("A\r\n\r\nB", 0, 0, false);
    const QImage cropped = Render(unshrunk, 0, 0, {200, 40});
    EXPECT_EQ(InkIn(cropped, QRect(0, 20, 200, 20)), 0) << "the third line lies below the box";
}

// The model stores the font sizes the screen draws a label with without
// drawing it: they must be those of the drawing.
TEST(LabelRenderer, ScreenFontIsTheFontTheScreenDrawsWith)
{
    struct Case
    {
        const char* name;
        CLabelRecord label;
    };
    CLabelRecord margins = Label("W-17", 1, 4, true);
    margins.m_dMarginLeft = margins.m_dMarginRight = 4.0;
    const CLabelRecord turned = TurnedLabel();
    const CLabelRecord vertical = VerticalLabel();
    const Case cases[] = {
        {"fits, not shrunk", Label("A", 1, 4, false)},
        {"too long, not shrunk", Label("Cabinet 3 / rail 12 / terminal 40", 1, 4, false)},
        {"fits, shrink on", Label("A", 1, 4, true)},
        {"too long, shrunk", Label("Cabinet 3 / rail 12 / terminal 40\r\n380 V", 1, 4, true)},
        {"too many lines, shrunk", Label("A\r\nB\r\nC\r\nD\r\nE", 0, 0, true)},
        {"empty, shrink on", Label("", 1, 4, true)},
        {"wide margins", margins},
        {"turned up", turned},
        {"vertical", vertical},
    };
    for (const Case& c : cases)
        for (const double dZoom : {0.4, 2.5, 4.4, 5.0}) {
            SCOPED_TRACE(std::string(c.name) + " at " + std::to_string(dZoom));
            const QRect rc(0, 0, LabelPixelWidth(19.0, dZoom), LabelPixelHeight(8.65, dZoom));
            const CDeviceInsets insets = ScreenInsets(c.label, dZoom);
            QPixmap pixmap(rc.size());
            QPainter painter(&pixmap);
            const CRenderedFont drawn = DrawLabel(painter, c.label, rc, insets, kScreenMode, dZoom);
            const CRenderedFont stored = ScreenLabelFont(c.label, rc, insets, dZoom);
            EXPECT_EQ(stored.m_nHeight, drawn.m_nHeight);
            EXPECT_EQ(stored.m_nWidth, drawn.m_nWidth);
        }
}

// A label's first paint draws its text box straight onto the screen; the
// second keeps a picture of it, which later paints show. What the screen
// shows of the exposed part (a paint event's clip cuts the rest) is the same
// each time.
TEST(LabelCell, FirstPaintDrawsWithoutAPictureAndLooksAsThePicture)
{
    const CLabelRecord turned = TurnedLabel();
    const CLabelRecord vertical = VerticalLabel();
    CLabelRecord selected = Label("W-17\r\n380 V", 1, 4, false);
    selected.SetSelected(true);
    CLabelRecord overflowing = Label("Cabinet 3 / rail 12 / terminal 40\r\ngyp Qj", 0, 0, false);
    overflowing.m_dMarginLeft = 0.0;
    struct Case
    {
        const char* name;
        CLabelRecord label;
    };
    const Case cases[] = {
        {"two lines, shrunk", Label("W-17\r\n380 V", 1, 4, true)},
        {"selected", selected},
        {"text beyond the box", overflowing},
        {"turned up", turned},
        {"vertical", vertical},
    };
    const double dZoom = 4.4;
    const QSize cell(LabelPixelWidth(19.0, dZoom), LabelPixelHeight(8.65, dZoom));
    const QRect exposures[] = {QRect(QPoint(), cell), QRect(10, 7, 31, 12)};
    for (const Case& c : cases)
        for (const QRect& rcExposed : exposures) {
            SCOPED_TRACE(std::string(c.name) + (rcExposed.x() == 0 ? ", whole" : ", in part"));
            CLabelPictures pictures;
            const auto shown = [&] {
                QImage image(cell, QImage::Format_RGB32);
                image.fill(Qt::red);
                QPainter painter(&image);
                pictures.PaintCell(painter, 0, c.label, cell, rcExposed, dZoom,
                                   CLabelPictures::Stale::StandIn);
                return image.copy(rcExposed);
            };
            const QImage first = shown();
            EXPECT_EQ(pictures.CachedBytes(), 0);
            const QImage second = shown();
            EXPECT_GT(pictures.CachedBytes(), 0);
            EXPECT_EQ(first, second);
            EXPECT_EQ(first, shown());
            int nRed = 0;
            for (int y = 0; y < first.height(); ++y)
                for (int x = 0; x < first.width(); ++x)
                    nRed += first.pixel(x, y) == qRgb(255, 0, 0);
            EXPECT_EQ(nRed, 0) << "the exposed part is painted whole";
        }
}

TEST(LabelRenderer, PdfKeepsTextAsText)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("label.pdf"));
    {
        QPdfWriter writer(path);
        QPainter painter(&writer);
        CLabelRecord label = Label(*Utf8ToGbk("号线 A-01"), 1, 4);
        EXPECT_GT(DrawLabel(painter, label, QRect(0, 0, 2000, 800), CDeviceInsets{50, 50, 50, 50, 0}, 0, 1.0)
                      .m_nHeight,
                  0);
    }
    ExpectValidPdf(path);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_TRUE(bytes.contains("/FontFile")) << "text is embedded as a font, not as an image";
    EXPECT_FALSE(bytes.contains("/Subtype /Image"));
}

TEST(LabelCell, FramesByZoomAndSelection)
{
    struct Case
    {
        const char* name;
        double dZoom;
        bool bSelected;
        int nInset;
    };
    const Case cases[] = {
        {"selected at zoom 2.5", 2.5, true, 1},
        {"selected at zoom 5", 5.0, true, 3},
        {"unselected at zoom 5", 5.0, false, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CLabelPictures pictures;
        CLabelRecord label;
        label.SetSelected(c.bSelected);
        const QImage image = PaintedCell(pictures, label, 20.0, 10.0, c.dZoom);
        ASSERT_EQ(image.size(), QSize(int(20 * c.dZoom), int(10 * c.dZoom)));
        const QRgb inner = c.bSelected ? qRgb(0, 0, 220) : qRgb(132, 132, 132);
        const QRgb outer = c.bSelected ? qRgb(0, 132, 220) : qRgb(132, 132, 132);
        EXPECT_EQ(image.pixel(0, 1), outer);
        EXPECT_EQ(image.pixel(0, 4), qRgb(255, 255, 255)) << "the gaps of the dotted outline are white";
        // Row 6 is in a dash of the dotted pattern (3 on, 3 off).
        EXPECT_EQ(image.pixel(c.nInset, 6), inner);
        EXPECT_EQ(image.pixel(image.width() - 1 - c.nInset, 6), inner);
        if (c.nInset > 1) {
            EXPECT_EQ(image.pixel(c.nInset - 1, 6), qRgb(255, 255, 255));
        }
        EXPECT_EQ(image.pixel(c.nInset + 1, 6), qRgb(255, 255, 255));
    }
}

TEST(LabelRenderer, CellHeightIsMeasuredOnTheFaceItself)
{
    // A printer height of 236 dots is a cell height: ascent plus descent of a
    // Latin face, the em of a Chinese one, never a stand-in face's metrics.
    struct Case
    {
        const char* m_utf8Face;
        const char* m_family;
        bool m_bEmBox;
    };
    const Case cases[] = {
        {"DejaVu Sans", "DejaVu Sans", false},        {"Nimbus Roman", "Nimbus Roman", false},
        {"DejaVu Serif", "DejaVu Serif", false},      {"宋体", "Noto Serif CJK SC", true},
        {"新宋体_GB2312", "Noto Serif CJK SC", true}, {"黑体", "Noto Sans CJK SC", true},
        {"微软雅黑", "Noto Sans CJK SC", true},       {"楷体", "AR PL UKai CN", true},
        {"楷体_GB2312", "AR PL UKai CN", true},       {"仿宋", "AR PL UMing CN", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.m_utf8Face);
        CLogFont logFont = CLogFont::LabelDefault();
        logFont.SetFaceName(*Utf8ToGbk(c.m_utf8Face));
        logFont.lfHeight = 236;
        const CLabelFont font = MakeLabelFont(logFont);
        EXPECT_EQ(font.m_font.families().first(), QString::fromUtf8(c.m_family));
        EXPECT_EQ(font.m_bEmBox, c.m_bEmBox);
        EXPECT_NEAR(font.m_metrics.m_nLineHeight, 236, 1);
        const QFontMetricsF metrics(font.m_font);
        EXPECT_NEAR(c.m_bEmBox ? font.m_font.pixelSize() : metrics.ascent() + metrics.descent(), 236.0, 1.0);
    }
}

TEST(LabelRenderer, ChineseIsDrawnInSimplifiedForms)
{
    // 直 and 骨 differ between Simplified, Traditional and Japanese forms:
    // whatever the face, they come from a Simplified Chinese face.
    const QStringList simplified = {QStringLiteral("Noto Serif CJK SC"), QStringLiteral("Noto Sans CJK SC"),
                                    QStringLiteral("AR PL UKai CN"), QStringLiteral("AR PL UMing CN")};
    for (const char* face :
         {"宋体", "黑体", "楷体", "仿宋", "微软雅黑", "DejaVu Sans", "Nimbus Roman", "No Such Face"}) {
        SCOPED_TRACE(face);
        CLogFont logFont = CLogFont::LabelDefault();
        logFont.SetFaceName(*Utf8ToGbk(face));
        logFont.lfHeight = -40;
        QTextLayout layout(QStringLiteral("直骨"), MakeLabelFont(logFont).m_font);
        layout.beginLayout();
        layout.createLine();
        layout.endLayout();
        const QList<QGlyphRun> runs = layout.glyphRuns();
        ASSERT_FALSE(runs.isEmpty());
        for (const QGlyphRun& run : runs) {
            const QString family = run.rawFont().familyName();
            EXPECT_TRUE(simplified.contains(family)) << family.toStdString();
        }
    }
}

TEST(LabelRenderer, ShrunkTextLiesWholeInsideItsBox)
{
    // The ink of a shrunk text: inside the text box and clear of its edges,
    // where a text cut off by the box would leave strokes.
    struct Case
    {
        const char* m_text; // UTF-8
        int m_nHAlign;
        int m_nVAlign;
    };
    const Case cases[] = {
        {"CABLE-0123456789-ABCDEFGH", 1, 4},
        {"CABLE-0123456789-ABCDEFGH", 0, 0},
        {"WWWWWWWWWWWW-MMMMMMMMMMM", 2, 8},
        {"gjpqy gjpqy gjpqy gjpqy gjpqy", 1, 8},
        {"Hg 接线 gjpqy\r\nHg 接线 gjpqy", 1, 0},
        {"电缆 W-0042 gjpqy 接线端子排", 1, 4},
        {"电缆 A&B\r\ngjpqy-0123456789\r\nHgy 接线", 1, 4},
    };
    const char* faces[] = {"宋体", "黑体", "楷体", "仿宋", "DejaVu Sans", "Nimbus Roman", "DejaVu Serif"};
    const QRect rcLabel(0, 0, 240, 44);
    constexpr int kInset = 6;
    const QRect rcText = rcLabel.adjusted(kInset, kInset, -kInset, -kInset);
    for (const char* face : faces)
        for (const bool bItalic : {false, true})
            for (const Case& c : cases) {
                SCOPED_TRACE(std::string(face) + (bItalic ? " italic: " : ": ") + c.m_text);
                CLabelRecord label = Label(*Utf8ToGbk(c.m_text), c.m_nHAlign, c.m_nVAlign, true);
                label.m_logFont.SetFaceName(*Utf8ToGbk(face));
                label.m_logFont.lfItalic = bItalic ? 1 : 0;
                CRenderedFont font;
                const QImage image = Render(label, kInset, 0, rcLabel.size(), &font);
                EXPECT_TRUE(font.m_nHeight > 0) << "it was shrunk";
                QRect ink;
                for (int y = rcText.top(); y <= rcText.bottom(); ++y)
                    for (int x = rcText.left(); x <= rcText.right(); ++x)
                        if (IsInk(image.pixel(x, y)))
                            ink |= QRect(x, y, 1, 1);
                ASSERT_FALSE(ink.isEmpty());
                EXPECT_TRUE(rcText.adjusted(1, 1, -1, -1).contains(ink))
                    << "ink (" << ink.left() << ", " << ink.top() << ")-(" << ink.right() << ", "
                    << ink.bottom() << ")";
                EXPECT_TRUE(ink.width() > rcText.width() * 3 / 4 || ink.height() > rcText.height() * 3 / 4)
                    << "no smaller than needed";
            }
}

namespace {

// The ink of an image cut to the rectangle around it.
QImage InkOnly(const QImage& image)
{
    QRect bounds;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (IsInk(image.pixel(x, y)))
                bounds |= QRect(x, y, 1, 1);
    return image.copy(bounds);
}

} // namespace

// A line is drawn from the layout that measured it, and the characters after
// ampersands are underlined by the renderer itself: the ink must be the text
// call's, underlines included, in the label's face and in the face that
// stands in for characters it lacks.
TEST(LabelRenderer, AmpersandsAreUnderlinedAsTheTextCallDoesIt)
{
    const struct
    {
        const char* name;
        const char* face;
        const char* text;
    } cases[] = {
        {"Latin", "宋体", "L&N"},       {"two underlined", "宋体", "&x&y"},    {"doubled", "宋体", "a&&b"},
        {"Chinese", "宋体", "线号&中"}, {"stand-in face", "Arial", "W&1 &中"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CLabelRecord label = Label(*Utf8ToGbk(c.text));
        label.m_logFont.SetFaceName(*Utf8ToGbk(c.face));
        const QImage drawn = Render(label);

        QImage called(drawn.size(), QImage::Format_RGB32);
        called.fill(Qt::white);
        QPainter painter(&called);
        CLogFont logFont = label.m_logFont;
        logFont.lfHeight = -20;
        painter.setFont(MakeLabelFont(logFont).m_font);
        painter.setPen(Qt::black);
        painter.drawText(QRectF(10, 10, 180, 80),
                         Qt::AlignLeft | Qt::AlignTop | Qt::TextShowMnemonic | Qt::TextIncludeTrailingSpaces,
                         QString::fromUtf8(c.text));
        painter.end();
        EXPECT_EQ(InkOnly(drawn), InkOnly(called));
    }
}

// Dotted frames: 3 pixels of colour, 3 of the background, the pattern fixed
// to the painter's origin whatever the frame's position, as a textured fill
// lays it, on edges of any length (longer than the strip they are copied
// from) and at negative coordinates.
TEST(LabelRenderer, DottedFramesKeepTheirPatternAnywhere)
{
    const QColor colour(200, 40, 40);
    for (const bool bOpaque : {false, true}) {
        for (const QPoint& shift : {QPoint(0, 0), QPoint(5, 2), QPoint(-7, -4)}) {
            SCOPED_TRACE(testing::Message() << (bOpaque ? "opaque" : "transparent") << ", shifted "
                                            << shift.x() << ", " << shift.y());
            QImage drawn(2200, 2200, QImage::Format_RGB32);
            QImage expected = drawn;
            for (QImage* pImage : {&drawn, &expected}) {
                pImage->fill(Qt::darkGreen);
                QPainter painter(pImage);
                painter.translate(shift);
                painter.setBackgroundMode(bOpaque ? Qt::OpaqueMode : Qt::TransparentMode);
                for (const QRect& rc :
                     {QRect(-3, 1, 40, 23), QRect(9, 30, 2150, 2100), QRect(50, 60, 1, 1)}) {
                    if (pImage == &drawn) {
                        painter.setPen(DottedPen(colour));
                        DrawFrameRect(painter, rc);
                        continue;
                    }
                    // A dot where the pattern, counted along the edge from
                    // the painter's origin, is in its first three pixels.
                    const auto dot = [&](int x, int y, int nAlong) {
                        if (((nAlong % 6) + 6) % 6 < 3)
                            painter.fillRect(QRect(x, y, 1, 1), colour);
                        else if (bOpaque)
                            painter.fillRect(QRect(x, y, 1, 1), Qt::white);
                    };
                    for (int x = rc.left(); x <= rc.right(); ++x)
                        for (const int y : {rc.top(), rc.bottom()})
                            dot(x, y, x);
                    for (int y = rc.top(); y <= rc.bottom(); ++y)
                        for (const int x : {rc.left(), rc.right()})
                            dot(x, y, y);
                }
            }
            EXPECT_EQ(drawn, expected);
        }
    }
}

// A frame of one pixel is one device pixel wide on every device, as its
// cosmetic pen draws it, also where the device has two pixels to a pixel.
TEST(LabelRenderer, ThinFramesAreOneDevicePixelWide)
{
    for (const qreal dRatio : {1.0, 2.0}) {
        SCOPED_TRACE(testing::Message() << "device pixel ratio " << dRatio);
        QImage framed(QSize(40, 30) * dRatio, QImage::Format_RGB32);
        framed.setDevicePixelRatio(dRatio);
        QImage stroked = framed;
        for (QImage* pImage : {&framed, &stroked}) {
            pImage->fill(Qt::white);
            QPainter painter(pImage);
            painter.setPen(CosmeticPen(Qt::darkRed));
            painter.setBrush(Qt::yellow);
            const QRect rc(3, 4, 20, 11);
            if (pImage == &framed)
                DrawFrameRect(painter, rc);
            else
                painter.drawRect(rc.adjusted(0, 0, -1, -1));
        }
        EXPECT_EQ(framed, stroked);
    }
}
