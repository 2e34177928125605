#include "test_app_support.h"

#include "model/CTAVRODoc.h"
#include "model/Gbk.h"
#include "render/LabelRenderer.h"
#include "text/CBatchTextDlg.h"
#include "view/CTAVROView.h"

#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <gtest/gtest.h>

namespace {

// Pictures of the sheet view for the documentation, saved when
// TAVRO_SCREENSHOT_DIR names a directory.
class SheetPictures : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_view.resize(900, 900);
        m_view.show();
        QCoreApplication::processEvents();
    }

    void Save(const char* name)
    {
        QCoreApplication::processEvents();
        const QPixmap shot = m_view.grab();
        ASSERT_FALSE(shot.isNull());
        const QString strDir = qEnvironmentVariable("TAVRO_SCREENSHOT_DIR");
        if (!strDir.isEmpty()) {
            EXPECT_TRUE(shot.save(strDir + QLatin1Char('/') + QLatin1String(name)));
        }
    }

    void SelectOnly(int r, int c)
    {
        m_view.Model().Select(SelectionRule::None);
        m_view.Model().SetSelected(CSheetModel::IndexOf(r, c), 1);
    }

    CTAVRODoc m_doc;
    CTAVROView m_view{&m_doc};
    CMainController m_controller{m_doc, m_view};
};

} // namespace

TEST_F(SheetPictures, SequenceSheet)
{
    m_view.ShowNewSheet();
    m_view.Model().Select(SelectionRule::All);
    AnswerNextDialog<CBatchTextDlg>([](CBatchTextDlg* pDlg) {
        pDlg->findChild<QPlainTextEdit*>(QStringLiteral("editPrefix"))->setPlainText(QStringLiteral("L1-"));
        pDlg->findChild<QLineEdit*>(QStringLiteral("editMiddle"))->setText(QStringLiteral("001"));
        pDlg->findChild<QRadioButton*>(QStringLiteral("radioMode1"))->click();
        pDlg->findChild<QPushButton*>(QStringLiteral("buttonOk"))->click();
    });
    ASSERT_TRUE(RunAction(m_controller, "actionSetText"));
    EXPECT_EQ(m_view.Model().Label(0, 0).m_strText, "L1-001");
    EXPECT_EQ(m_view.Model().Label(13, 4).m_strText, "L1-070");
    m_view.Model().Select(SelectionRule::None);
    Save("sequence-sheet.png");
}

// Nine alignments, two faces, a colour, a shrunk long text and a wide inner
// margin, on labels of 36 × 24 mm.
TEST_F(SheetPictures, FormatsSheet)
{
    CSheet sheet = m_view.GetSheet();
    CPageFormat& format = sheet.m_format;
    format.m_nColumns = 3;
    format.m_nRows = 5;
    format.m_dLabelWidth = 36.0;
    format.m_dLabelHeight = 24.0;
    format.m_dTopMargin = format.m_dBottomMargin = 20.0;
    format.Recalc();
    for (CSheet::Row& row : sheet.m_labels)
        for (CLabelRecord& label : row) {
            label.m_bSelected = 0;
            label.m_nFontHeight = -16;
        }
    m_view.SetSheet(sheet);
    m_view.ShowNewSheet();

    struct Alignment
    {
        const char* m_szAction;
        const char* m_text;
    };
    const Alignment alignments[] = {
        {"actionAlignTopLeft", "\xC9\xCF\xD7\xF3"},      {"actionAlignTopCentre", "\xC9\xCF\xD6\xD0"},
        {"actionAlignTopRight", "\xC9\xCF\xD3\xD2"},     {"actionAlignMiddleLeft", "\xD6\xD0\xD7\xF3"},
        {"actionAlignMiddleCentre", "\xD6\xD0\xD6\xD0"}, {"actionAlignMiddleRight", "\xD6\xD0\xD3\xD2"},
        {"actionAlignBottomLeft", "\xCF\xC2\xD7\xF3"},   {"actionAlignBottomCentre", "\xCF\xC2\xD6\xD0"},
        {"actionAlignBottomRight", "\xCF\xC2\xD3\xD2"},
    };
    for (int i = 0; i < 9; ++i) {
        SelectOnly(i / 3, i % 3);
        m_view.Model().SetText(CSheetModel::IndexOf(i / 3, i % 3), alignments[i].m_text, 1);
        ASSERT_TRUE(RunAction(m_controller, alignments[i].m_szAction));
    }

    // Row 4: a Hei face in red, a Latin face in bold blue, a long text shrunk.
    EditLabel(m_view.Model(), 3, 0, [](CLabelRecord& hei) {
        hei.m_strText = "\xBA\xDA\xCC\xE5 W-17"; // 黑体
        hei.m_logFont.SetFaceName("\xBA\xDA\xCC\xE5");
        hei.m_crText = 0x000000C0;
    });
    EditLabel(m_view.Model(), 3, 1, [](CLabelRecord& latin) {
        latin.m_strText = "DejaVu Sans";
        latin.m_logFont.SetFaceName("DejaVu Sans");
        latin.m_logFont.lfWeight = 700;
        latin.m_crText = 0x00C00000;
    });
    m_view.Model().SetText(CSheetModel::IndexOf(3, 2), "Cabinet 3 / rail 12 / terminal 40\r\n380 V\r\n50 Hz",
                           1);
    SelectOnly(3, 2);
    ASSERT_TRUE(RunAction(m_controller, "actionAutoShrink"));
    EXPECT_EQ(m_view.Model().Label(3, 2).m_bAutoShrink, 1);

    // Row 5: the same text at the top left with inner margins of 1 mm and
    // of 6 mm.
    for (int c : {0, 1})
        EditLabel(m_view.Model(), 4, c, [c](CLabelRecord& label) {
            label.m_strText = "\xB1\xDF\xBE\xE0 margin";
            label.m_nHAlign = 0;
            label.m_nVAlign = 0;
            if (c == 1)
                label.m_dMarginLeft = label.m_dMarginTop = label.m_dMarginRight = label.m_dMarginBottom = 6.0;
        });
    m_view.Model().Select(SelectionRule::None);
    Save("formats-sheet.png");
}

namespace {

// Rows of the image inside rc that hold a dark pixel.
int InkRows(const QImage& image, const QRect& rc)
{
    int nRows = 0;
    for (int y = rc.top(); y <= rc.bottom(); ++y)
        for (int x = rc.left(); x <= rc.right(); ++x)
            if (qGray(image.pixel(x, y)) < 128) {
                ++nRows;
                break;
            }
    return nRows;
}

} // namespace

// Song texts in a 19 × 8.65 mm label at the zoom of a maximised window are
// drawn whole: the clip of a line keeps every row the glyphs have when drawn
// freely with the same font, Latin descenders included.
TEST(LabelPictures, SmallLabelTextIsNotCut)
{
    CLogFont logFont = CLabelRecord{}.m_logFont;
    logFont.lfHeight = ScreenFontHeight(-12, 4.4);
    const CLabelFont font = MakeLabelFont(logFont);
    const QString texts[] = {QStringLiteral("电源 1"), QStringLiteral("配电柜"), QStringLiteral("gyp Qj")};
    for (const QString& text : texts) {
        SCOPED_TRACE(text.toStdString());
        CLabelRecord label;
        label.m_strText = *Utf8ToGbk(text.toStdString());
        label.m_nHAlign = 1;
        label.m_nVAlign = 4;
        CLabelPictures pictures;
        const QImage drawn = PaintedCell(pictures, label, 19.0, 8.65, 4.4);
        // Inside the frames: the text box starts at the 1 mm margin.
        const int nDrawn = InkRows(drawn, drawn.rect().adjusted(4, 4, -4, -4));

        QImage free(200, 60, QImage::Format_RGB32);
        free.fill(Qt::white);
        QPainter painter(&free);
        painter.setPen(Qt::black);
        painter.setFont(font.m_font);
        painter.drawText(10, 40, text);
        painter.end();
        const int nFree = InkRows(free, free.rect());
        EXPECT_GE(nFree, 10);
        EXPECT_EQ(nDrawn, nFree);
    }
}
