#include "model/CSheet.h"
#include "print/PrintPage.h"
#include "render/LabelRenderer.h"
#include "test_app_support.h"
#include "view/TextDirection.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <gtest/gtest.h>

#include <algorithm>

namespace {

const QString kDirectionSheet = QStringLiteral(TAVRO_TEST_DATA "/direction-sheet.tav");
const QString kDirectionGolden = QStringLiteral(TAVRO_TEST_DATA "/direction-sheet.png");

bool IsInk(QRgb rgb)
{
    return qRed(rgb) < 160 && qGreen(rgb) < 160 && qBlue(rgb) < 160;
}

// The smallest rectangle holding every ink pixel of the image.
QRect InkBox(const QImage& image)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (IsInk(image.pixel(x, y)))
                box |= QRect(x, y, 1, 1);
    return box;
}

// A label 120 × 240 pixels at zoom 1, em 20 pixels, margins of 10 pixels.
QImage Render(const CLabelRecord& label)
{
    QImage image(120, 240, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    DrawLabel(painter, label, image.rect(), CDeviceInsets{10, 10, 10, 10, 0}, kScreenMode, 1.0);
    return image;
}

CLabelRecord Label(const std::string& text, TextDirection direction, HAlign hAlign, VAlign vAlign)
{
    CLabelRecord label;
    label.m_strText = text;
    label.m_nFontHeight = -80;
    label.SetAlignment(hAlign, vAlign);
    SetFontDirection(label.m_logFont, direction);
    return label;
}

} // namespace

TEST(TextDirectionRender, TextRunsAndAlignsAsItsReaderSeesIt)
{
    // "W-123" is about 55 pixels long and 20 across. Aligned top left
    // for its reader, it starts at the reader's top-left corner of the box.
    struct Case
    {
        const char* name;
        TextDirection direction;
        bool bAlong; // the ink is taller than wide
        bool bLeft;  // the ink touches the left margin, else the right
        bool bTop;   // the ink touches the top margin, else the bottom
    };
    using D = TextDirection;
    const Case cases[] = {
        {"across: top left", D::Horizontal, false, true, true},
        {"up: starts at the bottom, tops to the left", D::Up, true, true, false},
        {"down: starts at the top, tops to the right", D::Down, true, false, true},
        {"upside down: starts at the bottom right", D::UpsideDown, false, false, false},
        {"vertical: first column at the right, from the top", D::Vertical, true, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QRect ink = InkBox(Render(Label("W-123", c.direction, HAlign::Left, VAlign::Top)));
        ASSERT_FALSE(ink.isEmpty());
        EXPECT_EQ(ink.height() > ink.width(), c.bAlong);
        ASSERT_TRUE(QRect(10, 10, 100, 220).contains(ink));
        // The gaps between the ink and the text box's sides.
        const int nLeft = ink.left() - 10;
        const int nRight = 109 - ink.right();
        const int nTop = ink.top() - 10;
        const int nBottom = 229 - ink.bottom();
        EXPECT_EQ(nLeft < nRight, c.bLeft) << nLeft << " " << nRight;
        EXPECT_LE(std::min(nLeft, nRight), 4);
        EXPECT_EQ(nTop < nBottom, c.bTop) << nTop << " " << nBottom;
        EXPECT_LE(std::min(nTop, nBottom), 6);
    }
}

TEST(TextDirectionRender, OtherAnglesAndOrientationAloneDrawAcross)
{
    const CLabelRecord across =
        Label("W-12\r\n\xD6\xD0", TextDirection::Horizontal, HAlign::Centre, VAlign::Middle);
    const QImage expected = Render(across);
    for (const std::int32_t nEscapement : {450, 3600, -900, 1}) {
        SCOPED_TRACE(nEscapement);
        CLabelRecord label = across;
        label.m_logFont.lfEscapement = nEscapement;
        label.m_logFont.lfOrientation = nEscapement;
        EXPECT_TRUE(Render(label) == expected);
    }
    CLabelRecord oriented = across;
    oriented.m_logFont.lfOrientation = 900;
    EXPECT_TRUE(Render(oriented) == expected);
}

TEST(TextDirectionRender, VerticalWritingStandsChineseUpright)
{
    // Three ideographs stacked: one em wide, three ems down, and not the
    // same picture as the text turned a quarter right.
    const std::string text = "\xD6\xD0\xCE\xC4\xD7\xD6"; // 中文字
    const QImage vertical = Render(Label(text, TextDirection::Vertical, HAlign::Left, VAlign::Top));
    const QImage down = Render(Label(text, TextDirection::Down, HAlign::Left, VAlign::Top));
    const QRect ink = InkBox(vertical);
    EXPECT_LE(ink.width(), 21);
    EXPECT_GE(ink.height(), 50);
    EXPECT_FALSE(vertical == down);
    // Upright, each character is the horizontal one's picture.
    const QImage across = Render(Label("\xD6\xD0", TextDirection::Horizontal, HAlign::Left, VAlign::Top));
    const QRect first = InkBox(across);
    const QImage column = vertical.copy(ink.left(), ink.top(), first.width(), first.height());
    const QImage character = across.copy(first);
    int nSame = 0;
    for (int y = 0; y < character.height(); ++y)
        for (int x = 0; x < character.width(); ++x)
            nSame += IsInk(column.pixel(x, y)) == IsInk(character.pixel(x, y)) ? 1 : 0;
    EXPECT_GT(nSame, character.width() * character.height() * 3 / 4);
}

TEST(TextDirectionRender, ShrinkFitsTheTurnedLinesIntoTheirBox)
{
    for (const TextDirection direction : kTextDirections) {
        SCOPED_TRACE(static_cast<int>(direction));
        CLabelRecord label =
            Label("CABLE-0123456789-ABCDEFGH\r\nW2", direction, HAlign::Centre, VAlign::Middle);
        label.m_bAutoShrink = 1;
        const QRect ink = InkBox(Render(label));
        ASSERT_FALSE(ink.isEmpty());
        EXPECT_TRUE(QRect(10, 10, 100, 220).contains(ink))
            << ink.x() << "," << ink.y() << " " << ink.width() << "x" << ink.height();
    }
}

TEST(TextDirectionRender, SheetOfEveryDirectionMatchesItsPicture)
{
    // The sheet's labels at 100 dpi, outlines and texts, as the preview
    // draws them; set TAVRO_UPDATE_GOLDEN=1 to write the picture anew.
    CSheet sheet;
    ASSERT_EQ(ReadSheetFile(kDirectionSheet.toStdString(), sheet), SheetReadResult::Ok);
    const int nWidth = static_cast<int>(std::lround(sheet.m_format.m_dPageWidth / 25.4 * 100));
    const int nHeight = static_cast<int>(std::lround(sheet.m_format.m_dPageHeight / 25.4 * 100));
    QImage page(nWidth, nHeight, QImage::Format_RGB32);
    page.setDotsPerMeterX(3937);
    page.setDotsPerMeterY(3937);
    page.fill(Qt::white);
    {
        QPainter painter(&page);
        PrintSheetPage(painter, sheet, PrintMode::Preview, CPrinterCalibration{});
    }
    if (qEnvironmentVariableIsSet("TAVRO_UPDATE_GOLDEN")) {
        ASSERT_TRUE(page.save(kDirectionGolden));
    }
    QImage golden(kDirectionGolden);
    ASSERT_FALSE(golden.isNull());
    golden = golden.convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(golden.size(), page.size());
    // Antialiasing may shade an edge pixel differently; a glyph turned the
    // wrong way or moved differs in hundreds.
    int nDiffering = 0;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x) {
            const QRgb a = page.pixel(x, y);
            const QRgb b = golden.pixel(x, y);
            nDiffering += std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                                    std::abs(qBlue(a) - qBlue(b))}) > 64
                              ? 1
                              : 0;
        }
    if (nDiffering > 40) {
        const QString actual = QDir::temp().filePath(QStringLiteral("direction-sheet-actual.png"));
        page.save(actual);
        ADD_FAILURE() << nDiffering << " pixels differ; the drawing is in " << actual.toStdString();
    }
}

TEST_F(AppTest, TurnedSheetOfAnotherWriterOpensDrawsAndSavesUnchanged)
{
    // Written by a script from the file layout alone.
    const QString written = PathOf(QStringLiteral("written.tav"));
    QProcess writer;
    writer.start(QStringLiteral("python3"),
                 {QStringLiteral(TAVRO_TEST_DATA "/../tools/write_direction_sheet.py"), written});
    ASSERT_TRUE(writer.waitForFinished(30000));
    ASSERT_EQ(writer.exitCode(), 0) << writer.readAllStandardError().toStdString();
    const QByteArray bytes = ReadFile(written);
    EXPECT_EQ(bytes, ReadFile(kDirectionSheet));

    // Labels never shown keep the font sizes they were loaded with.
    Frame()->hide();
    ASSERT_TRUE(m_pApp->OpenDocumentFile(written));
    const CSheet& sheet = Doc()->Model().Sheet();
    EXPECT_EQ(DirectionOfFont(sheet.m_labels[0][1].m_logFont), TextDirection::Up);
    EXPECT_EQ(DirectionOfFont(sheet.m_labels[0][4].m_logFont), TextDirection::Vertical);
    // Drawn on paper: the up label's ink is taller than wide.
    QImage image(240, 300, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        DrawLabel(painter, sheet.m_labels[0][1], image.rect(), CDeviceInsets{}, 0, 0.0);
    }
    const QRect ink = InkBox(image);
    EXPECT_GT(ink.height(), ink.width());

    const QString saved = PathOf(QStringLiteral("saved.tav"));
    ASSERT_TRUE(Frame()->Controller()->SaveAs(saved));
    const QByteArray savedBytes = ReadFile(saved);
    EXPECT_TRUE(savedBytes == bytes);
    for (qsizetype i = 0; i < std::min(savedBytes.size(), bytes.size()); ++i)
        if (savedBytes[i] != bytes[i]) {
            ADD_FAILURE() << "first difference at byte " << i;
            break;
        }

    // Shown, they take the sizes the screen draws them with, and nothing else.
    const CSheet loaded = Doc()->Model().Sheet();
    Frame()->show();
    const CSheet shown = Doc()->Model().Sheet();
    EXPECT_EQ(Content(shown), Content(loaded));
    const double dZoom = View()->m_dZoom;
    EXPECT_EQ(shown.m_labels[0][1].m_logFont.lfHeight, ScreenFontHeight(-16, dZoom));
}

TEST_F(AppTest, DirectionMenuSetsTheSelectedLabelsAndChecksTheFirstOnesDirection)
{
    CSheetModel& model = Doc()->Model();
    CSheet sheet = model.Sheet();
    for (auto& row : sheet.m_labels)
        for (CLabelRecord& label : row)
            label.SetSelected(false);
    sheet.m_labels[0][1].SetSelected(true);
    sheet.m_labels[2][3].SetSelected(true);
    model.Load(sheet);
    const auto checked = [this] {
        QStringList names;
        for (const char* szName : {"actionDirectionHorizontal", "actionDirectionUp", "actionDirectionDown",
                                   "actionDirectionUpsideDown", "actionDirectionVertical"})
            if (Frame()->Action(QLatin1String(szName))->isChecked())
                names << QLatin1String(szName);
        return names;
    };
    EXPECT_EQ(checked(), QStringList{"actionDirectionHorizontal"});
    RunAction(*Frame()->Controller(), "actionDirectionVertical");
    EXPECT_EQ(checked(), QStringList{"actionDirectionVertical"});
    EXPECT_EQ(DirectionOfFont(model.Sheet().m_labels[0][1].m_logFont), TextDirection::Vertical);
    EXPECT_EQ(DirectionOfFont(model.Sheet().m_labels[2][3].m_logFont), TextDirection::Vertical);
    EXPECT_EQ(DirectionOfFont(model.Sheet().m_labels[0][0].m_logFont), TextDirection::Horizontal);
    EXPECT_EQ(model.UndoStack().count(), 1);
    EXPECT_EQ(model.UndoStack().undoText(), QStringLiteral("文字方向"));
    // Chosen again, the checked entry stays checked.
    RunAction(*Frame()->Controller(), "actionDirectionVertical");
    EXPECT_EQ(checked(), QStringList{"actionDirectionVertical"});
    model.UndoStack().undo();
    model.UndoStack().undo();
    EXPECT_EQ(checked(), QStringList{"actionDirectionHorizontal"});
    EXPECT_EQ(model.Sheet().m_labels[0][1].m_logFont, sheet.m_labels[0][1].m_logFont);
}

TEST(TextDirectionRender, FitCheckMeasuresTheTurnedLines)
{
    // A label 120 × 600 dots of a 600 dpi page, lines 70 dots high: a long
    // line fits only along it, three lines only across it.
    QBuffer sink;
    QPdfWriter page(&sink);
    page.setResolution(600);
    const QRect rc(0, 0, 120, 600);
    struct Case
    {
        const char* name;
        TextDirection direction;
        const char* text;
        bool bCut;
    };
    using D = TextDirection;
    const Case cases[] = {
        {"long line across", D::Horizontal, "W001-X2:2-K2:8", true},
        {"long line up", D::Up, "W001-X2:2-K2:8", false},
        {"long line down", D::Down, "W001-X2:2-K2:8", false},
        {"long line upside down", D::UpsideDown, "W001-X2:2-K2:8", true},
        {"long line in a column", D::Vertical, "W001-X2:2-K2:8", false},
        {"three lines across", D::Horizontal, "W1\r\nW2\r\nW3", false},
        {"three lines up", D::Up, "W1\r\nW2\r\nW3", true},
        {"three columns", D::Vertical, "W1\r\nW2\r\nW3", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CLabelRecord format;
        SetFontDirection(format.m_logFont, c.direction);
        EXPECT_EQ(CLabelFit(page, format, rc, CDeviceInsets{}).Cuts(c.text), c.bCut);
        format.m_bAutoShrink = 1;
        EXPECT_FALSE(CLabelFit(page, format, rc, CDeviceInsets{}).Cuts(c.text));
    }
}
