#include "test_app_support.h"

#include "model/CSheetModel.h"
#include "model/CTAVRODoc.h"
#include "print/PrintLayout.h"
#include "print/PrintPage.h"
#include "view/CTAVROView.h"
#include "view/LabelTextLayout.h"

#include "PdfCheck.h"

#include <QCoreApplication>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <set>

namespace {

CPageFormat Format(int nColumns, int nRows, double dLabelWidth = 15.0, double dLabelHeight = 7.0)
{
    CPageFormat format;
    format.m_nColumns = nColumns;
    format.m_nRows = nRows;
    format.m_dLabelWidth = dLabelWidth;
    format.m_dLabelHeight = dLabelHeight;
    format.Recalc();
    return format;
}

// A 3 × 2 sheet: row 0 selected with texts "A" "B" "", row 1 unselected and
// empty but for "F" in its last label.
CSheet SmallSheet()
{
    CSheet sheet;
    sheet.m_format = Format(3, 2);
    const char* texts[2][3] = {{"A", "B", ""}, {"", "", "F"}};
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 3; ++c) {
            sheet.m_labels[r][c].m_strText = texts[r][c];
            sheet.m_labels[r][c].SetSelected(r == 0);
        }
    return sheet;
}

std::set<LabelIndex> IndicesOf(const QList<LabelIndex>& list)
{
    return {list.begin(), list.end()};
}

class SheetModelTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Model().Load(SmallSheet());
        m_view.resize(900, 700);
    }
    CSheetModel& Model() { return m_doc.Model(); }

    CTAVRODoc m_doc;
    CTAVROView m_view{&m_doc};
    CMainController m_controller{m_doc, m_view};
};

} // namespace

TEST_F(SheetModelTest, EachEditChangesItsLabelsWithOneNotification)
{
    const LabelIndex a = CSheetModel::IndexOf(0, 0);
    const LabelIndex b = CSheetModel::IndexOf(0, 1);
    const LabelIndex c = CSheetModel::IndexOf(0, 2);
    const LabelIndex d = CSheetModel::IndexOf(1, 0);
    const LabelIndex e = CSheetModel::IndexOf(1, 1);
    const LabelIndex f = CSheetModel::IndexOf(1, 2);
    struct Case
    {
        const char* name;
        std::function<void(CTAVROView&)> edit;
        std::set<LabelIndex> changed;
        bool bSelectionMoved;
        bool bModified;
    };
    const Case cases[] = {
        {"select all", [](CTAVROView& v) { v.Model().Select(SelectionRule::All); }, {d, e, f}, true, true},
        {"select none", [](CTAVROView& v) { v.Model().Select(SelectionRule::None); }, {a, b, c}, true, true},
        {"invert",
         [](CTAVROView& v) { v.Model().Select(SelectionRule::Invert); },
         {a, b, c, d, e, f},
         true,
         true},
        {"select text", [](CTAVROView& v) { v.Model().Select(SelectionRule::WithText); }, {c, f}, true, true},
        {"select blank",
         [](CTAVROView& v) { v.Model().Select(SelectionRule::Empty); },
         {a, b, d, e},
         true,
         true},
        {"alignment",
         [this](CTAVROView&) { RunAction(m_controller, "actionAlignBottomLeft"); },
         {a, b, c},
         false,
         true},
        {"shrink to fit",
         [this](CTAVROView&) { RunAction(m_controller, "actionAutoShrink"); },
         {a, b, c},
         false,
         true},
        {"a click's selection",
         [](CTAVROView& v) { v.Model().SetSelected(CSheetModel::IndexOf(1, 1), true); },
         {e},
         true,
         true},
        {"a typed text",
         [](CTAVROView& v) { v.Model().SetText(CSheetModel::IndexOf(1, 0), "X", true); },
         {d},
         false,
         true},
        {"an equal text stored",
         [](CTAVROView& v) { v.Model().SetText(CSheetModel::IndexOf(0, 0), "A", true); },
         {},
         false,
         true},
        {"an unchanged selection",
         [](CTAVROView& v) { v.Model().SetSelected(CSheetModel::IndexOf(0, 0), true); },
         {},
         false,
         false},
    };
    for (const Case& t : cases) {
        SCOPED_TRACE(t.name);
        Model().Load(SmallSheet());
        const CSheet before = Model().Sheet();
        QSignalSpy labels(&Model(), &CSheetModel::labelsChanged);
        QSignalSpy selection(&Model(), &CSheetModel::selectionChanged);
        QSignalSpy format(&Model(), &CSheetModel::formatChanged);
        t.edit(m_view);
        EXPECT_EQ(Differing(before, Model().Sheet()), t.changed);
        ASSERT_EQ(labels.count(), t.changed.empty() ? 0 : 1);
        if (!t.changed.empty()) {
            EXPECT_EQ(IndicesOf(labels.at(0).at(0).value<QList<LabelIndex>>()), t.changed);
        }
        EXPECT_EQ(selection.count(), t.bSelectionMoved ? 1 : 0);
        EXPECT_EQ(format.count(), 0);
        EXPECT_EQ(Model().IsModified(), t.bModified);
    }
}

TEST_F(SheetModelTest, AnEditsBeforeRecordsRestoreTheSheetByteForByte)
{
    const std::string bytes = SheetBytes(Model().Sheet());
    CSheet sheet = Model().Sheet();
    std::vector<LabelIndex> indices;
    std::vector<CLabelRecord> after;
    for (int c = 0; c < 3; ++c) {
        CLabelRecord label = sheet.m_labels[0][c];
        label.m_strText += "-1";
        label.m_nHAlign = 2;
        label.m_logFont.lfWeight = 700;
        indices.push_back(CSheetModel::IndexOf(0, c));
        after.push_back(label);
    }
    const CLabelEdit edit = Model().MakeEdit(indices, after);
    ASSERT_EQ(edit.m_indices.size(), 3u);
    Model().ApplyEdit(edit);
    EXPECT_NE(SheetBytes(Model().Sheet()), bytes);
    Model().ApplyEdit(Model().MakeEdit(edit.m_indices, edit.m_before));
    EXPECT_EQ(SheetBytes(Model().Sheet()), bytes);
}

TEST_F(SheetModelTest, AFailedOpenLeavesTheModelUntouched)
{
    QTemporaryDir dir;
    const std::string good = SheetBytes(SmallSheet());
    const struct
    {
        const char* name;
        std::string bytes;
        SheetReadResult result;
    } cases[] = {
        {"cut inside a label", good.substr(0, good.size() - 3), SheetReadResult::Corrupt},
        {"not a sheet", std::string("\x05hello", 6), SheetReadResult::WrongSignature},
        {"cut inside the signature", good.substr(0, 20), SheetReadResult::Unreadable},
    };
    Model().SetModified(true);
    const CSheet before = Model().Sheet();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = dir.filePath(QString::fromUtf8(c.name)).toStdString();
        std::ofstream(path, std::ios::binary) << c.bytes;
        QSignalSpy labels(&Model(), &CSheetModel::labelsChanged);
        QSignalSpy format(&Model(), &CSheetModel::formatChanged);
        QSignalSpy modified(&Model(), &CSheetModel::modifiedChanged);
        EXPECT_EQ(Model().Open(path), c.result);
        EXPECT_EQ(Model().Sheet(), before);
        EXPECT_TRUE(Model().IsModified());
        EXPECT_EQ(labels.count() + format.count() + modified.count(), 0);
    }
    EXPECT_EQ(Model().Open(dir.filePath(QStringLiteral("missing")).toStdString()),
              SheetReadResult::CannotOpen);
    EXPECT_EQ(Model().Sheet(), before);
}

TEST_F(SheetModelTest, PaintingChangesOnlyTheRenderedFontSizes)
{
    CSheet sheet = SmallSheet();
    sheet.m_labels[0][0].m_bAutoShrink = 1;
    sheet.m_labels[0][0].m_strText = "a long text that must shrink to fit";
    sheet.m_labels[0][1].m_logFont.lfHeight = 99; // as a file may hold it
    Model().Load(sheet);
    const std::string bytes = SheetBytes(Model().Sheet());
    QSignalSpy labels(&Model(), &CSheetModel::labelsChanged);
    m_view.show();
    m_view.ShowNewSheet();
    QImage image(m_view.size(), QImage::Format_RGB32);
    for (int i = 0; i < 2; ++i) {
        m_view.OnFullPage();
        QPainter painter(&image);
        m_view.render(&painter);
        QCoreApplication::processEvents();
    }
    EXPECT_EQ(labels.count(), 0);
    EXPECT_FALSE(Model().IsModified());
    EXPECT_NE(SheetBytes(Model().Sheet()), bytes) << "the rendered sizes are written";
    EXPECT_EQ(SheetBytes(Content(Model().Sheet())), SheetBytes(Content(sheet)));
    EXPECT_NE(Model().Label(0, 1).m_logFont.lfHeight, 99);
}

// The file keeps the font sizes the screen last drew each label with: a
// label off screen keeps those it was last shown with through edits, and
// takes the screen's again when it comes into view.
TEST_F(SheetModelTest, LabelsOffScreenKeepTheSizesTheyWereLastShownWith)
{
    CSheet sheet;
    sheet.m_format = Format(2, 25, 40.0, 10.0);
    sheet.m_format.m_dPageWidth = 210.0;
    sheet.m_format.m_dPageHeight = 297.0;
    sheet.m_format.Recalc();
    for (auto& row : sheet.m_labels)
        for (CLabelRecord& label : row)
            label.m_logFont.lfHeight = 99; // as a file may hold it
    Model().Load(sheet);
    m_view.resize(900, 400);
    m_view.show();
    m_view.ShowNewSheet();
    const double dZoom = m_view.m_dZoom;
    const std::int32_t nShown = ScreenFontHeight(CLabelRecord{}.m_nFontHeight, dZoom);
    ASSERT_NE(nShown, 99);
    const auto height = [this](int r) { return Model().Label(r, 0).m_logFont.lfHeight; };
    ASSERT_TRUE(m_view.LabelRect(24, 0).top() > m_view.viewport()->height()) << "the last row is off screen";
    EXPECT_EQ(height(0), nShown);
    EXPECT_EQ(height(24), 99) << "never shown";

    // Off screen through an edit of its font size: kept.
    const auto setFontHeight = [this](int r, std::int32_t nHeight) {
        EditLabel(Model(), r, 0, [nHeight](CLabelRecord& label) { label.m_nFontHeight = nHeight; });
    };
    setFontHeight(24, -40);
    EXPECT_EQ(height(24), 99);
    setFontHeight(0, -40);
    EXPECT_EQ(height(0), ScreenFontHeight(-40, dZoom)) << "on screen: as drawn";

    // Scrolled into view: as drawn; scrolled out again: kept.
    m_view.verticalScrollBar()->setValue(m_view.verticalScrollBar()->maximum());
    EXPECT_EQ(height(24), ScreenFontHeight(-40, dZoom));
    setFontHeight(0, -12);
    EXPECT_EQ(height(0), ScreenFontHeight(-40, dZoom)) << "row 1 is off screen now";

    // Hidden, the view shows nothing.
    m_view.hide();
    setFontHeight(24, -12);
    EXPECT_EQ(height(24), ScreenFontHeight(-40, dZoom));
}

// A label shows the picture it showed a step before when undo or redo gives
// it that record again; what it shows must equal what it draws anew, at the
// zoom of the moment, and the font sizes it notes must be those of the
// drawing.
TEST_F(SheetModelTest, UndoAndRedoShowWhatTheLabelsWouldDrawAnew)
{
    CSheet sheet = SmallSheet();
    sheet.m_labels[0][1].m_bAutoShrink = 1;
    sheet.m_labels[0][1].m_strText = "a long text that must shrink to fit";
    Model().Load(sheet);
    m_view.show();
    m_view.ShowNewSheet();
    const auto shot = [this] {
        QCoreApplication::processEvents();
        QImage image(m_view.size(), QImage::Format_RGB32);
        QPainter painter(&image);
        m_view.render(&painter);
        return image;
    };
    // A second view of the document, of the same size and display, draws
    // every label anew.
    const auto drawnAnew = [this] {
        CTAVROView fresh(&m_doc);
        fresh.resize(m_view.size());
        if (m_view.IsFullPage())
            fresh.OnFullPage();
        fresh.show();
        fresh.ShowNewSheet();
        QCoreApplication::processEvents();
        QImage image(fresh.size(), QImage::Format_RGB32);
        QPainter painter(&image);
        fresh.render(&painter);
        return image;
    };
    const QImage original = shot();
    const std::string originalBytes = SheetBytes(Model().Sheet());
    Model().EditGrid(
        [](const LabelGrid& grid) {
            for (CLabelRecord* pLabel : grid)
                pLabel->m_strText = "W-0123456789";
            return true;
        },
        CSheetModel::Marking::Always, QStringLiteral("设定文字"));
    const QImage filled = shot();
    ASSERT_NE(filled, original);
    const std::string filledBytes = SheetBytes(Model().Sheet());

    Model().UndoStack().undo();
    EXPECT_EQ(shot(), original);
    EXPECT_EQ(SheetBytes(Model().Sheet()), originalBytes);
    Model().UndoStack().redo();
    EXPECT_EQ(shot(), filled);
    EXPECT_EQ(SheetBytes(Model().Sheet()), filledBytes);

    // The pictures kept aside were drawn at the old zoom: not shown again.
    m_view.OnFullPage();
    shot();
    Model().UndoStack().undo();
    const QImage undoneAtNewZoom = shot();
    EXPECT_EQ(undoneAtNewZoom, drawnAnew());
    Model().UndoStack().redo();
    const QImage redoneAtNewZoom = shot();
    EXPECT_EQ(redoneAtNewZoom, drawnAnew());
}

// The file stores the selection as an int32; only 1 means selected, on
// screen and on paper alike.
TEST_F(SheetModelTest, OnlyAFlagOfOneIsSelectedOnScreenAndInThePdf)
{
    const std::int32_t flags[] = {2, -1, 256, 0};
    CSheet sheet;
    sheet.m_format = Format(4, 2, 40.0, 20.0);
    sheet.m_format.m_dPageWidth = 210.0;
    sheet.m_format.m_dPageHeight = 297.0;
    sheet.m_format.Recalc();
    for (int c = 0; c < 4; ++c) {
        sheet.m_labels[0][c].m_bSelected = flags[c];
        sheet.m_labels[0][c].m_strText = "FLAG" + std::to_string(flags[c]);
        sheet.m_labels[1][c].SetSelected(c == 0);
        sheet.m_labels[1][c].m_strText = "ONE" + std::to_string(c);
    }
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("flags.tav"));
    ASSERT_EQ(SaveSheetFile(file.toStdString(), sheet), 0);
    ASSERT_FALSE(m_doc.Open(file));
    m_view.ShowNewSheet();

    for (int c = 0; c < 4; ++c) {
        SCOPED_TRACE(flags[c]);
        EXPECT_FALSE(m_view.Model().Label(0, c).IsSelected());
    }
    EXPECT_EQ(m_view.Model().SelectedCount(), 1);

    const QString pdf = dir.filePath(QStringLiteral("flags.pdf"));
    ASSERT_EQ(ExportSheetPdf(pdf, Model().Sheet(), PrintMode::Labels, {}), QString());
    const QString text = PdfText(pdf);
    EXPECT_TRUE(text.contains(QStringLiteral("ONE0")));
    EXPECT_FALSE(text.contains(QStringLiteral("FLAG"))) << text.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("ONE1")));
}

// The largest labels a file may hold (10 m) keep no picture of their own:
// they are drawn where exposed.
TEST(LabelCell, KeepsNoPictureLargerThanItsBound)
{
    CSheetModel model;
    CSheet sheet;
    sheet.m_format = Format(2, 2, CPageFormat::kMaxLength, CPageFormat::kMaxLength);
    sheet.m_labels[0][0].m_strText = "W";
    model.Load(sheet);
    const struct
    {
        const char* name;
        double dSize;
        bool bKept;
    } cases[] = {{"ordinary", 20.0, true}, {"10 m", CPageFormat::kMaxLength, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CLabelPictures pictures;
        // The first paint keeps no picture; the second would.
        PaintedCell(pictures, model.Label(0, 0), c.dSize, c.dSize, 4.5);
        const QImage image = PaintedCell(pictures, model.Label(0, 0), c.dSize, c.dSize, 4.5);
        EXPECT_LE(pictures.CachedBytes(), CLabelPictures::kMaxCachedPixels * 4);
        EXPECT_EQ(pictures.CachedBytes() > 0, c.bKept);
        EXPECT_EQ(image.pixel(10, 10), qRgb(255, 255, 255)) << "the exposed part is painted";
    }
}
