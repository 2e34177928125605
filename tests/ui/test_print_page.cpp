// The printed page as a PDF: each selected label's text inside its
// rectangle, nothing of unselected labels, outlines where the mode draws
// them, all moved by the page offset. Checked with poppler's pdftotext and
// pdftoppm, as a reader of the PDF would see it.
#include "model/Gbk.h"
#include "print/PrintLayout.h"
#include "print/PrintPage.h"

#include "PdfCheck.h"
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <map>
#include <ostream>

namespace {

constexpr int kPdfDpi = 600;
constexpr double kPointsPerDot = 72.0 / kPdfDpi;

// The text of label (r, c): "L<row>x<column>". Latin letters and digits in
// the default Song face, which Qt's PDF text map once dropped.
QString LabelText(int nRow, int nColumn)
{
    return QStringLiteral("L%1x%2").arg(nRow).arg(nColumn);
}

// The default sheet (5 × 14) with its own text in every label and every
// other label selected, like a chessboard.
CSheet ChessboardSheet()
{
    CSheet sheet;
    for (int r = 0; r < sheet.m_format.m_nRows; ++r)
        for (int c = 0; c < sheet.m_format.m_nColumns; ++c) {
            CLabelRecord& label = sheet.m_labels[r][c];
            label.m_strText = LabelText(r, c).toStdString();
            label.m_bSelected = (r + c) % 2 == 0;
        }
    return sheet;
}

struct CWordBox
{
    double m_dLeft, m_dTop, m_dRight, m_dBottom; // points
};

// Every word of the PDF's page with its box, by pdftotext -bbox.
std::multimap<QString, CWordBox> PdfWords(const QString& pdf)
{
    const QString html = PdfText(pdf, {QStringLiteral("-bbox")});
    static const QRegularExpression word(QStringLiteral(
        R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re"));
    std::multimap<QString, CWordBox> words;
    for (auto it = word.globalMatch(html); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        words.emplace(m.captured(5), CWordBox{m.captured(1).toDouble(), m.captured(2).toDouble(),
                                              m.captured(3).toDouble(), m.captured(4).toDouble()});
    }
    return words;
}

QImage RenderPdf(const QString& pdf, int nDpi, const QString& prefix)
{
    ExpectValidPdf(pdf);
    QProcess process;
    process.start(QStringLiteral("pdftoppm"),
                  {QStringLiteral("-png"), QStringLiteral("-r"), QString::number(nDpi),
                   QStringLiteral("-singlefile"), pdf, prefix});
    EXPECT_TRUE(process.waitForFinished(60000));
    return QImage(prefix + QStringLiteral(".png"));
}

// Whether some pixel near the vertical middle of the rectangle's left edge
// (rendered at nDpi) is green, as the ruler pen draws.
bool HasGreenLeftEdge(const QImage& image, const CPixelRect& rc, int nDpi)
{
    const double dScale = double(nDpi) / kPdfDpi;
    const int y = int((rc.top + rc.bottom) / 2 * dScale);
    const int x0 = int(rc.left * dScale);
    for (int x = x0 - 2; x <= x0 + 2; ++x) {
        if (x < 0 || x >= image.width() || y < 0 || y >= image.height())
            continue;
        const QColor color = image.pixelColor(x, y);
        if (color.green() > color.red() + 20 && color.green() > color.blue() + 20)
            return true;
    }
    return false;
}

struct CPdfCase
{
    const char* szName;
    PrintMode printMode;
    int nMoveX;
    int nMoveY;
};

// Names the case in test listings, where the default would print its raw bytes
// (a pointer among them) and so change the test's name from build to build.
void PrintTo(const CPdfCase& c, std::ostream* os)
{
    *os << c.szName;
}

class PrintPagePdf : public ::testing::TestWithParam<CPdfCase>
{
protected:
    void SetUp() override
    {
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty() ||
            QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty())
            GTEST_SKIP() << "poppler-utils are not installed";
        ASSERT_TRUE(m_dir.isValid());
    }
    QTemporaryDir m_dir;
};

} // namespace

TEST_P(PrintPagePdf, TextsInsideSelectedLabelsOnly)
{
    const CPdfCase& c = GetParam();
    const CSheet sheet = ChessboardSheet();
    const QString pdf = m_dir.filePath(QStringLiteral("page.pdf"));
    ASSERT_EQ(ExportSheetPdf(pdf, sheet, c.printMode, {c.nMoveX, c.nMoveY}), QString());
    const std::multimap<QString, CWordBox> words = PdfWords(pdf);
    const CPageFormat& format = sheet.m_format;

    if (c.printMode == PrintMode::Baseline) {
        EXPECT_TRUE(words.empty()) << "the baseline prints no text";
    }
    for (int r = 0; r < format.m_nRows && c.printMode != PrintMode::Baseline; ++r)
        for (int col = 0; col < format.m_nColumns; ++col) {
            const QString text = LabelText(r, col);
            SCOPED_TRACE(text.toStdString());
            const auto found = words.equal_range(text);
            if (!sheet.m_labels[r][col].m_bSelected) {
                EXPECT_EQ(found.first, found.second) << "an unselected label printed";
                continue;
            }
            ASSERT_EQ(std::distance(found.first, found.second), 1);
            const CWordBox& box = found.first->second;
            const CPixelRect rc = LabelDeviceRect(format, r, col, {c.nMoveX, c.nMoveY}, {kPdfDpi, kPdfDpi});
            // The text box is the label's less its insets; the word's box may
            // reach half a point beyond the glyphs.
            EXPECT_GE(box.m_dLeft, rc.left * kPointsPerDot - 0.5);
            EXPECT_LE(box.m_dRight, rc.right * kPointsPerDot + 0.5);
            EXPECT_GE(box.m_dTop, rc.top * kPointsPerDot - 0.5);
            EXPECT_LE(box.m_dBottom, rc.bottom * kPointsPerDot + 0.5);
            // Centred, with equal insets: the word's middle is the label's,
            // so an offset of a fraction of a millimetre shows.
            EXPECT_NEAR((box.m_dLeft + box.m_dRight) / 2, (rc.left + rc.right) / 2 * kPointsPerDot, 0.6);
        }

    // Outlines: the baseline's rows 0 and 1 and the preview's every row.
    constexpr int kRenderDpi = 150;
    const QImage image = RenderPdf(pdf, kRenderDpi, m_dir.filePath(QStringLiteral("page")));
    ASSERT_FALSE(image.isNull());
    for (int r : {0, 1, 2, format.m_nRows - 1}) {
        SCOPED_TRACE("outline of row " + std::to_string(r));
        const bool bOutlined =
            c.printMode == PrintMode::Preview || (c.printMode == PrintMode::Baseline && r < 2);
        const CPixelRect rc = LabelDeviceRect(format, r, 1, {c.nMoveX, c.nMoveY}, {kPdfDpi, kPdfDpi});
        EXPECT_EQ(HasGreenLeftEdge(image, rc, kRenderDpi), bOutlined);
    }
}

INSTANTIATE_TEST_SUITE_P(Modes, PrintPagePdf,
                         ::testing::Values(CPdfCase{"Labels", PrintMode::Labels, 0, 0},
                                           CPdfCase{"LabelsMoved", PrintMode::Labels, 50, -30},
                                           CPdfCase{"NoneMeansLabels", PrintMode::None, 0, 0},
                                           CPdfCase{"PreviewMoved", PrintMode::Preview, 150, 220},
                                           CPdfCase{"Baseline", PrintMode::Baseline, 0, 0},
                                           CPdfCase{"BaselineMoved", PrintMode::Baseline, -120, 300}),
                         [](const auto& info) { return std::string(info.param.szName); });

// The cases' names are what test listings and CTest show, the same in every
// build.
TEST(PrintPagePdfCases, PrintAsTheirName)
{
    EXPECT_EQ(::testing::PrintToString(CPdfCase{"LabelsMoved", PrintMode::Labels, 50, -30}), "LabelsMoved");
}

TEST(PrintPagePdfFile, UnwritableOutputIsReported)
{
    QTemporaryDir dir;
    const QString error =
        ExportSheetPdf(dir.filePath(QStringLiteral("missing/page.pdf")), CSheet(), PrintMode::Labels, {});
    EXPECT_FALSE(error.isEmpty());
}

TEST(PrintPagePdfFile, PageIsTheSheetsPageSize)
{
    QTemporaryDir dir;
    CSheet sheet;
    sheet.m_format.m_dPageWidth = 100.0;
    sheet.m_format.m_dPageHeight = 150.0;
    sheet.m_format.Recalc();
    const QString pdf = dir.filePath(QStringLiteral("small.pdf"));
    ASSERT_EQ(ExportSheetPdf(pdf, sheet, PrintMode::Labels, {}), QString());
    ExpectValidPdf(pdf);
    QProcess process;
    process.start(QStringLiteral("pdfinfo"), {pdf});
    ASSERT_TRUE(process.waitForFinished(20000));
    const QString info = QString::fromUtf8(process.readAllStandardOutput());
    // 100 × 150 mm is 283.46 × 425.2 points; Qt keeps PDF page sizes in
    // whole points.
    EXPECT_TRUE(
        info.contains(QRegularExpression(QStringLiteral("Page size:\\s+283(\\.\\d+)? x 425(\\.\\d+)? pts"))))
        << info.toStdString();
    EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\n")))) << info.toStdString();
}

// Noto CJK draws 一 and the radical ⼀, 门 and ⻔ with one glyph; the PDF's
// text still gives the ideographs, in every Chinese face, upright and bold.
TEST(PrintPagePdfFile, ChineseTextSearchesAsWritten)
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        GTEST_SKIP() << "poppler-utils are not installed";
    const QStringList words =
        QStringLiteral("一号 人工 大门 水泵 火警 用电 马达 长度 风机 车间 见图 黄绿 白 黑 丨")
            .split(QLatin1Char(' '));
    const char* faces[] = {"宋体", "黑体", "楷体", "仿宋"};
    CSheet sheet;
    for (int r = 0; r < 8; ++r)
        for (int c = 0; c < sheet.m_format.m_nColumns; ++c) {
            CLabelRecord& label = sheet.m_labels[r][c];
            label.m_logFont.SetFaceName(*Utf8ToGbk(faces[r % 4]));
            label.m_logFont.lfWeight = r < 4 ? 400 : 700;
            label.m_bAutoShrink = 1;
            label.m_strText = *Utf8ToGbk(words.mid(3 * c, 3).join(QLatin1Char(' ')).toStdString());
        }
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("chinese.pdf"));
    ASSERT_EQ(ExportSheetPdf(pdf, sheet, PrintMode::Labels, {0, 0}), QString());
    const QString text = PdfText(pdf);
    for (const QString& word : words)
        EXPECT_EQ(text.count(word), 8) << word.toStdString();
    for (const QChar ch : text)
        EXPECT_FALSE((ch.unicode() >= 0x2E80 && ch.unicode() < 0x2FE0) ||
                     (ch.unicode() >= 0x31C0 && ch.unicode() < 0x31F0))
            << "a radical or stroke U+" << std::hex << int(ch.unicode());
}
