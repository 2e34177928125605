// Markers their labels would cut off, found before a job prints: the check
// lays each marker out as the page does, and agrees with what the PDF of the
// job shows (pdftotext -bbox): a marker it names runs out of its text box or
// loses a line there, the others stay inside; shrunk, none leaves its box.
#include "test_app_support.h"

#include "model/Gbk.h"
#include "print/CPrintService.h"
#include "print/PdfFile.h"
#include "print/WireListPrint.h"
#include "render/LabelRenderer.h"
#include "wirelist/CWireListDlg.h"
#include "wirelist/MarkerSheets.h"
#include "wirelist/SequencePattern.h"

#include "PdfCheck.h"
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace {

struct CFitCase
{
    const char* name;
    const char* face;
    const char* text; // UTF-8, lines separated by \r\n
    int nHAlign;
    bool bAutoShrink;
    bool bCut; // without shrinking
};

const CFitCase kCases[] = {
    {"a short Latin marker", "宋体", "W001", 1, false, false},
    {"a long Latin marker", "宋体", "W001 -X2:2 -K2:8", 1, false, true},
    {"the same, right aligned", "宋体", "W001 -X2:2 -K2:8", 2, false, true},
    {"the same on a label that shrinks", "宋体", "W001 -X2:2 -K2:8", 1, true, false},
    {"a short Chinese marker", "黑体", "电机 M1", 0, false, false},
    {"a long Chinese marker", "黑体", "电机水泵火警黄绿用电", 0, false, true},
    {"a long Chinese marker in 楷体", "楷体", "电机水泵火警黄绿用电", 1, false, true},
    {"a Latin face", "DejaVu Sans", "W001 -K2", 1, false, false},
    {"a long marker in a Latin face", "DejaVu Sans", "W001-X2:2-K2:8-M1", 1, false, true},
    {"more lines than the label holds", "宋体", "L1\r\nL2\r\nL3\r\nL4\r\nL5\r\nL6\r\nL7", 1, false, true},
    {"two lines that fit", "宋体", "W001\r\n-K2:8", 1, false, false},
};

constexpr double kPointsPerMm = 72.0 / 25.4;

// The default sheet with label (i, 0) formatted for case i and selected, so
// that the job puts case i's marker there.
CSheet CaseSheet()
{
    CSheet sheet;
    for (CSheet::Row& row : sheet.m_labels)
        for (CLabelRecord& label : row)
            label.m_bSelected = 0;
    for (std::size_t i = 0; i < std::size(kCases); ++i) {
        CLabelRecord& label = sheet.m_labels[i][0];
        label.m_bSelected = 1;
        label.m_logFont.SetFaceName(*Utf8ToGbk(kCases[i].face));
        label.m_nHAlign = kCases[i].nHAlign;
        label.m_bAutoShrink = kCases[i].bAutoShrink;
    }
    return sheet;
}

CMarkerList CaseMarkers()
{
    CMarkerList markers;
    for (std::size_t i = 0; i < std::size(kCases); ++i)
        markers.Add({*Utf8ToGbk(kCases[i].text), 1, static_cast<std::uint32_t>(i + 1)});
    return markers;
}

struct CBox
{
    double left, top, right, bottom; // points
};

// Every word on the PDF's page, by pdftotext -bbox.
std::vector<std::pair<QString, CBox>> Words(const QString& pdf)
{
    static const QRegularExpression word(QStringLiteral(
        R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re"));
    std::vector<std::pair<QString, CBox>> words;
    for (auto it = word.globalMatch(PdfText(pdf, {QStringLiteral("-bbox")})); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        words.push_back({m.captured(5),
                         {m.captured(1).toDouble(), m.captured(2).toDouble(), m.captured(3).toDouble(),
                          m.captured(4).toDouble()}});
    }
    return words;
}

// The cases whose markers the PDF shows cut: a word of the marker missing, or
// one reaching out of its label's text box.
std::set<std::size_t> CutOnPaper(const QString& pdf, const CSheet& sheet)
{
    const auto words = Words(pdf);
    const CPageFormat& format = sheet.m_format;
    std::set<std::size_t> cut;
    for (std::size_t i = 0; i < std::size(kCases); ++i) {
        const CLabelRecord& label = sheet.m_labels[i][0];
        const double dTop = format.m_dTopMargin + static_cast<double>(i) * format.m_dRowPitch;
        const CBox box{(format.m_dLeftMargin + label.m_dMarginLeft) * kPointsPerMm,
                       (dTop + label.m_dMarginTop) * kPointsPerMm,
                       (format.m_dLeftMargin + format.m_dLabelWidth - label.m_dMarginRight) * kPointsPerMm,
                       (dTop + format.m_dLabelHeight - label.m_dMarginBottom) * kPointsPerMm};
        const double dPitch = format.m_dRowPitch * kPointsPerMm;
        for (const QString& expected :
             QString::fromUtf8(kCases[i].text).split(QRegularExpression(QStringLiteral("\\s+")))) {
            bool bFound = false;
            for (const auto& [text, word] : words) {
                // The word of this label: its box starts within the label's row.
                if (text != expected || word.top < box.top - dPitch / 2 || word.top > box.bottom + dPitch / 2)
                    continue;
                bFound = true;
                constexpr double kSlack = 0.5;
                if (word.left < box.left - kSlack || word.right > box.right + kSlack)
                    cut.insert(i);
            }
            if (!bFound)
                cut.insert(i);
        }
    }
    return cut;
}

} // namespace

TEST(FitCheck, NamesTheMarkersThePageCutsOff)
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        GTEST_SKIP() << "poppler-utils are not installed";
    const CSheet sheet = CaseSheet();
    const CMarkerList markers = CaseMarkers();
    CMarkerSheets sheets(sheet, markers, false);
    CPdfPageProbe page;
    const CFitReport report = FindClippedMarkers(sheets, page.Device(), {});

    std::set<std::size_t> expected;
    for (std::size_t i = 0; i < std::size(kCases); ++i)
        if (kCases[i].bCut)
            expected.insert(i);
    std::set<std::size_t> named;
    for (const CClippedMarker& marker : report.m_first) {
        EXPECT_EQ(marker.m_nSheet, 1u);
        EXPECT_EQ(marker.m_position.m_nColumn, 0);
        EXPECT_EQ(marker.m_nRow, static_cast<std::size_t>(marker.m_position.m_nRow) + 1) << "the list row";
        EXPECT_EQ(marker.m_strText,
                  *Utf8ToGbk(kCases[static_cast<std::size_t>(marker.m_position.m_nRow)].text));
        named.insert(static_cast<std::size_t>(marker.m_position.m_nRow));
    }
    EXPECT_EQ(report.m_nClipped, expected.size());
    for (std::size_t i = 0; i < std::size(kCases); ++i)
        EXPECT_EQ(named.count(i), expected.count(i)) << kCases[i].name;

    QTemporaryDir dir;
    for (const bool bShrinkCut : {false, true}) {
        SCOPED_TRACE(bShrinkCut ? "shrunk" : "as they are");
        CMarkerSheets job(sheet, markers, false);
        const QString pdf =
            dir.filePath(bShrinkCut ? QStringLiteral("shrunk.pdf") : QStringLiteral("cut.pdf"));
        QString error;
        ASSERT_EQ(ExportMarkerSheetsPdf(pdf, job, PrintMode::Labels, {}, error, {}, bShrinkCut),
                  SheetsPdfResult::Written);
        const std::set<std::size_t> onPaper = CutOnPaper(pdf, sheet);
        for (std::size_t i = 0; i < std::size(kCases); ++i)
            EXPECT_EQ(onPaper.count(i), bShrinkCut ? 0u : expected.count(i)) << kCases[i].name;
    }
}

TEST(FitCheck, OnlyTheSheetsToPrintAreChecked)
{
    CSheet sheet;
    // The default sheet's 70 labels: the long marker is the first of sheet 2.
    const CMarkerList markers{{"W1", 70, 1}, {*Utf8ToGbk("W001 -X2:2 -K2:8 -M1:U1"), 1, 2}};
    CPdfPageProbe page;
    CMarkerSheets all(sheet, markers, false);
    const CFitReport report = FindClippedMarkers(all, page.Device(), {});
    ASSERT_EQ(report.m_nClipped, 1u);
    EXPECT_EQ(report.m_first[0].m_nSheet, 2u);
    EXPECT_EQ(report.m_first[0].m_nLabel, 71u);
    EXPECT_EQ(report.m_first[0].m_position, (CGridPosition{0, 0}));
    CMarkerSheets firstOnly(sheet, markers, false);
    firstOnly.SelectSheets(*CPageSelection::Parse("1"));
    EXPECT_EQ(FindClippedMarkers(firstOnly, page.Device(), {}).m_nClipped, 0u);
}

// The wire-list dialog says which markers would be cut off before it exports,
// and does what the user chooses.
TEST(FitCheck, TheDialogAsksBeforeExporting)
{
    CSequencePattern pattern;
    const QString text = QStringLiteral("W{1-3} -X2:2 -K2:8 -M1:U1");
    ASSERT_FALSE(CSequencePattern::Parse(text.toStdString(), pattern));
    const struct
    {
        const char* button;
        bool bWritten;
        bool bCutOnPaper;
    } answers[] = {
        {"导出（自动缩小这些标签）", true, false},
        {"仍然导出", true, true},
        {"取消", false, false},
    };
    QTemporaryDir dir;
    for (const auto& answer : answers) {
        SCOPED_TRACE(answer.button);
        const QString pdf = dir.filePath(QString::fromUtf8(answer.button) + QStringLiteral(".pdf"));
        CWireListDlg dialog(pattern, text, CSheet(), 0, 0, [](const std::vector<std::string>&) { return 0; });
        QString message;
        // The question comes once the file is chosen: its wait starts then.
        AnswerNextDialog<QFileDialog>([&](QFileDialog* files) {
            AnswerNextDialog<QMessageBox>([&](QMessageBox* box) {
                message = box->text();
                for (QAbstractButton* button : box->buttons())
                    if (button->text() == QString::fromUtf8(answer.button))
                        button->click();
            });
            AcceptFileDialog(files, pdf);
        });
        for (QPushButton* button : dialog.findChildren<QPushButton*>())
            if (button->text() == QStringLiteral("导出 PDF(&D)..."))
                button->click();
        EXPECT_TRUE(message.startsWith(QStringLiteral("有 3 个线号在标签上放不下，会被截断：")))
            << message.toStdString();
        EXPECT_TRUE(
            message.contains(QStringLiteral("第 2 个标签“W2 -X2:2 -K2:8 -M1:U1”（第 1 页，第 1 行第 2 列）")))
            << message.toStdString();
        ASSERT_EQ(QFile::exists(pdf), answer.bWritten);
        if (!answer.bWritten)
            continue;
        // Centred and cut off, the first marker reaches left of its label.
        double dLeftmost = 1e9;
        for (const auto& [word, box] : Words(pdf))
            dLeftmost = std::min(dLeftmost, box.left);
        const double dLabelLeft = CSheet().m_format.m_dLeftMargin * kPointsPerMm;
        EXPECT_EQ(dLeftmost < dLabelLeft, answer.bCutOnPaper)
            << dLeftmost << " pt, the label at " << dLabelLeft;
    }
}

// A list opened like a document is placed by the page offset in force, as
// the sheet is, also one that could not be saved: the job asks the print
// service for it rather than reading the settings file again.
TEST_F(AppTest, AListJobIsMovedByTheOffsetInForce)
{
    const QString list = PathOf(QStringLiteral("wires.csv"));
    WriteFile(list, "W1\nW2\n");
    std::vector<double> leftmost;
    for (const int nMoveX : {0, 1000}) {
        SCOPED_TRACE(nMoveX);
        Frame()->Controller()->Printing().SetPageOffset({nMoveX, 0});
        const QString pdf = PathOf(QStringLiteral("moved%1.pdf").arg(nMoveX));
        AnswerNextDialog<CWireListDlg>([&pdf](CWireListDlg* dialog) {
            AnswerNextDialog<QFileDialog>([&pdf](QFileDialog* files) { AcceptFileDialog(files, pdf); });
            for (QPushButton* button : dialog->findChildren<QPushButton*>())
                if (button->text() == QStringLiteral("导出 PDF(&D)..."))
                    button->click();
            dialog->reject();
        });
        m_pApp->OpenFile(list);
        ASSERT_TRUE(QFile::exists(pdf));
        double dLeftmost = 1e9;
        for (const auto& [word, box] : Words(pdf))
            dLeftmost = std::min(dLeftmost, box.left);
        leftmost.push_back(dLeftmost);
    }
    EXPECT_NEAR(leftmost[1] - leftmost[0], 10 * kPointsPerMm, 0.1);
}

// Characters whose ink passes their advance (黄 at 70 pixels advances 69.98
// and reaches 72.98) take in a line the advance the line gives them: beside
// a marker of the same advances, on a label just wide enough for that one,
// each is judged, shrunk and placed as the other (the default record's
// height, 3 mm, is 70 pixels on a 600 dpi page).
TEST(FitCheck, InkPastTheAdvanceTakesNoRoomInTheLine)
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        GTEST_SKIP() << "poppler-utils are not installed";
    const struct
    {
        const char* name;
        const char* inked;  // ideographs whose ink passes their advance
        const char* others; // the same advances, the same last character
    } pairs[] = {
        {"黄 first", "黄黄00", "电电00"},
        {"黄 between Latin", "W黄黄1", "W电电1"},
        {"黄绿 in a longer marker", "黄绿黄绿W01", "电机电机W01"},
    };
    const struct
    {
        const char* face;
        std::int32_t nWeight;
    } faces[] = {{"宋体", 400}, {"宋体", 700}, {"黑体", 400}, {"楷体", 400}, {"仿宋", 400}};
    QTemporaryDir dir;
    CPdfPageProbe page;
    const CDeviceInsets insets{};
    for (const auto& face : faces) {
        for (const auto& pair : pairs) {
            SCOPED_TRACE(std::string(face.face) + (face.nWeight > 400 ? " bold, " : ", ") + pair.name);
            CLabelRecord label;
            label.m_logFont.SetFaceName(*Utf8ToGbk(face.face));
            label.m_logFont.lfWeight = face.nWeight;
            label.m_nHAlign = 1;
            const std::string inked = *Utf8ToGbk(pair.inked);
            const std::string others = *Utf8ToGbk(pair.others);
            // The narrowest label (in 600 dpi pixels) the other marker fits.
            int nLow = 1;
            int nHigh = 4000;
            while (nLow < nHigh) {
                const int nWidth = (nLow + nHigh) / 2;
                if (CLabelFit(page.Device(), label, QRect(0, 0, nWidth, 236), insets).Cuts(others))
                    nLow = nWidth + 1;
                else
                    nHigh = nWidth;
            }
            const QRect rc(0, 0, nLow, 236);
            EXPECT_FALSE(CLabelFit(page.Device(), label, rc, insets).Cuts(inked)) << nLow << " pixels";

            // On paper, shrinking or not, both are drawn at the same size in
            // the same place: their word boxes agree.
            for (const bool bShrink : {true, false}) {
                SCOPED_TRACE(bShrink ? "shrinking" : "as it is");
                label.m_bAutoShrink = bShrink ? 1 : 0;
                const QString pdf = dir.filePath(QStringLiteral("ink.pdf"));
                EXPECT_EQ(WritePdfFile(pdf, SheetPdfLayout(CSheet().m_format), kPdfDotsPerInch,
                                       [&](QPainter& painter, QPdfWriter&, const std::function<bool()>&) {
                                           label.m_strText = inked;
                                           DrawLabel(painter, label, rc, insets, 0, 1.0);
                                           label.m_strText = others;
                                           DrawLabel(painter, label, rc.translated(0, 600), insets, 0, 1.0);
                                           return true;
                                       }),
                          0);
                const auto words = Words(pdf);
                ASSERT_EQ(words.size(), 2u);
                EXPECT_NEAR(words[0].second.left, words[1].second.left, 0.1);
                EXPECT_NEAR(words[0].second.right, words[1].second.right, 0.1);
            }
        }
    }
}
