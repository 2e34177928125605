#include "test_app_support.h"

#include "model/CTAVRODoc.h"
#include "model/SharedConstants.h"
#include "sheets/CDocTypeDlg.h"
#include "sheets/SheetTypeList.h"
#include "view/CTAVROView.h"

#include <QAbstractButton>
#include <QApplication>
#include <QHelpEvent>
#include <QListWidget>
#include <QMessageBox>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QToolTip>
#include <gtest/gtest.h>

#include <set>

namespace {

CPageFormat Format(int nColumns, int nRows)
{
    CPageFormat format;
    format.m_nColumns = nColumns;
    format.m_nRows = nRows;
    format.m_dLabelWidth = 15.0;
    format.m_dLabelHeight = 7.0;
    format.Recalc();
    return format;
}

// A shown view of a given client size showing its sheet.
class SheetView : public ::testing::Test
{
protected:
    void Show(int nWidth, int nHeight)
    {
        m_view.resize(nWidth, nHeight);
        m_view.show();
        QCoreApplication::processEvents();
        m_view.ShowNewSheet();
        QCoreApplication::processEvents();
    }

    int VisibleCells() const
    {
        int n = 0;
        for (int r = 0; r < CPageFormat::kMaxRows; ++r)
            for (int c = 0; c < CPageFormat::kMaxColumns; ++c)
                n += !m_view.LabelRect(r, c).isNull() ? 1 : 0;
        return n;
    }

    // Answers the next modal message box with the given button.
    static void AnswerMessageBox(QMessageBox::StandardButton button)
    {
        QTimer::singleShot(0, [button] {
            if (auto* pBox = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                EXPECT_EQ(pBox->windowTitle(), QStringLiteral("Tavromark"));
                pBox->button(button)->click();
            }
        });
    }

    CTAVRODoc m_doc;
    CTAVROView m_view{&m_doc};
};

} // namespace

TEST_F(SheetView, ZoomAndScrollSizeFollowTheClientHeight)
{
    struct Case
    {
        const char* name;
        int nHeight;
        bool bFullPage;
        double dZoom;
    };
    const Case cases[] = {
        {"980 pixels", 980, false, 4.5},
        {"600 pixels scrolls", 600, false, 4.5},
        {"600 pixels in full-page display", 600, true, 2.6},
        {"1200 pixels capped", 1200, false, 5.0},
        {"1200 pixels in full-page display capped", 1200, true, 5.0},
    };
    Show(1000, 980);
    EXPECT_EQ(m_view.viewport()->height(), 980);
    EXPECT_DOUBLE_EQ(m_view.m_dZoom, 4.5);
    EXPECT_EQ(m_view.ScrollSize(), QSize(710, 980));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if ((m_view.m_dMinZoom == 0.0) != c.bFullPage)
            m_view.OnFullPage();
        m_view.resize(1000, c.nHeight);
        QCoreApplication::processEvents();
        EXPECT_EQ(m_view.viewport()->height(), c.nHeight);
        EXPECT_DOUBLE_EQ(m_view.m_dZoom, c.dZoom);
    }
}

TEST_F(SheetView, FullPageDisplayTogglesAndIsChecked)
{
    Show(1000, 600);
    const CMainController controller(m_doc, m_view);
    QAction* fullPage = controller.Action(QStringLiteral("actionFullPage"));
    ASSERT_NE(fullPage, nullptr);
    EXPECT_FALSE(fullPage->isChecked());

    fullPage->trigger();
    EXPECT_TRUE(fullPage->isChecked());
    EXPECT_DOUBLE_EQ(m_view.m_dZoom, 2.6);
    EXPECT_EQ(m_view.LabelRect(0, 0).width(), 49); // trunc(19 × 2.6)

    fullPage->trigger();
    EXPECT_FALSE(fullPage->isChecked());
    EXPECT_DOUBLE_EQ(m_view.m_dZoom, 4.5);
}

TEST_F(SheetView, FullPageZoomStaysPositiveInATinyWindow)
{
    Show(400, 60);
    m_view.OnFullPage();
    EXPECT_GT(m_view.m_dZoom, 0.0);
    EXPECT_GT(m_view.LabelRect(0, 0).width(), 0);
}

TEST_F(SheetView, FirstLabelSitsInsideThePage)
{
    Show(1000, 980);
    // The page is centred: its left edge at 500 − 630 / 2, its top at 40.
    const QRect rc = m_view.LabelRect(0, 0);
    EXPECT_EQ(rc.left() - 185, 54);
    EXPECT_EQ(rc.top() - 40, 13);
    EXPECT_EQ(rc.size(), QSize(85, 38));
}

TEST_F(SheetView, OnlyCellsOfRowsTimesColumnsShow)
{
    Show(1000, 980);
    EXPECT_EQ(VisibleCells(), 5 * 14);

    CSheet sheet = m_view.GetSheet();
    sheet.m_format = Format(7, 20);
    sheet.m_labels[24][14].m_strText = "kept";
    m_view.SetSheet(sheet);
    m_view.ShowNewSheet();
    EXPECT_EQ(VisibleCells(), 140);
    EXPECT_TRUE(!m_view.LabelRect(19, 6).isNull());
    EXPECT_FALSE(!m_view.LabelRect(20, 0).isNull());
    EXPECT_FALSE(!m_view.LabelRect(0, 7).isNull());

    sheet.m_format = Format(2, 2);
    m_view.SetSheet(sheet);
    m_view.ShowNewSheet();
    EXPECT_EQ(VisibleCells(), 4);
    EXPECT_EQ(m_view.Model().Label(24, 14).m_strText, "kept");
}

TEST_F(SheetView, ShowingANewSheetIsSignalled)
{
    QSignalSpy spy(&m_view, &CTAVROView::newSheetShown);
    Show(800, 600);
    EXPECT_EQ(spy.count(), 1);
}

TEST_F(SheetView, EveryLabelHasItsColumnAndRowAsTooltip)
{
    CSheet sheet = m_view.GetSheet();
    sheet.m_format = Format(15, 25);
    sheet.m_format.m_dLabelWidth = 10.0;
    sheet.m_format.Recalc();
    m_view.SetSheet(sheet);
    Show(1000, 980);
    const struct
    {
        int nRow;
        int nColumn;
        QString tip;
    } cases[] = {{1, 2, QStringLiteral("列 : 3 行: 2")}, {24, 14, QStringLiteral("列 : 15 行: 25")}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.tip.toStdString());
        const QPoint pt = m_view.LabelRect(c.nRow, c.nColumn).center();
        QHelpEvent help(QEvent::ToolTip, pt, m_view.viewport()->mapToGlobal(pt));
        QApplication::sendEvent(m_view.viewport(), &help);
        EXPECT_EQ(QToolTip::text(), c.tip);
    }
    EXPECT_EQ(m_view.LabelRect(25, 0), QRect());
    EXPECT_EQ(m_view.LabelRect(0, -1), QRect());
}

TEST_F(SheetView, ClicksChangeTheSelectionAndMarkTheDocument)
{
    Show(1000, 980);
    const QPoint pt = m_view.LabelRect(2, 3).center();
    const auto selected = [this] { return m_view.Model().Label(2, 3).IsSelected(); };
    ASSERT_TRUE(selected());

    QTest::mouseClick(m_view.viewport(), Qt::RightButton, {}, pt);
    EXPECT_FALSE(selected());
    EXPECT_TRUE(m_doc.IsModified());

    m_doc.SetModifiedFlag(false);
    QTest::mouseClick(m_view.viewport(), Qt::RightButton, {}, pt);
    QCoreApplication::processEvents();
    EXPECT_FALSE(m_doc.IsModified()) << "deselecting a deselected label changes nothing";

    QTest::mouseClick(m_view.viewport(), Qt::LeftButton, {}, pt);
    EXPECT_TRUE(selected());
    QCoreApplication::processEvents();
    EXPECT_TRUE(m_doc.IsModified());
    EXPECT_EQ(m_view.Model().Label(2, 4).IsSelected(), 1) << "other cells are not touched";
}

TEST_F(SheetView, DoubleClickIsHandedOn)
{
    Show(1000, 980);
    const CMainController controller(m_doc, m_view);
    QSignalSpy spy(&m_view, &CTAVROView::labelDoubleClicked);
    // The controller answers with the label's text dialog: closed at once.
    bool bAnswered = false;
    AnswerNextDialog<QDialog>([&bAnswered](QDialog* pDlg) {
        bAnswered = true;
        pDlg->reject();
    });
    QTest::mouseDClick(m_view.viewport(), Qt::LeftButton, {}, m_view.LabelRect(0, 1).center());
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy.front().front().toInt(), 1);
    EXPECT_TRUE(bAnswered);
}

TEST_F(SheetView, WhichOperationsNotify)
{
    constexpr LabelIndex nIndex = CSheetModel::IndexOf(3, 3);
    struct Case
    {
        const char* name;
        std::function<void(CSheetModel&)> operation;
        bool bModified;
    };
    const Case cases[] = {
        {"SetSelected with the same value", [](CSheetModel& m) { m.SetSelected(nIndex, true); }, false},
        {"SetSelected with another value", [](CSheetModel& m) { m.SetSelected(nIndex, false); }, true},
        {"SetText", [](CSheetModel& m) { m.SetText(nIndex, "A", false); }, true},
        {"SetText of the same text", [](CSheetModel& m) { m.SetText(nIndex, "", true); }, true},
        {"SetText without overwrite on text",
         [](CSheetModel& m) {
             CSheet sheet = m.Sheet();
             sheet.m_labels[3][3].m_strText = "old";
             m.Load(sheet);
             m.SetText(nIndex, "new", false);
             EXPECT_EQ(m.Label(nIndex).m_strText, "old");
         },
         false},
        {"loading a sheet", [](CSheetModel& m) { m.Load(CSheet{}); }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_doc.Model().Load(CSheet{});
        c.operation(m_doc.Model());
        EXPECT_EQ(m_doc.IsModified(), c.bModified);
    }
}

TEST_F(SheetView, ResetLabelsEmptiesAndSelectsEveryCellSilently)
{
    CSheet sheet;
    for (auto& row : sheet.m_labels)
        for (CLabelRecord& label : row) {
            label.m_bSelected = 0;
            label.m_strText = "x";
            label.m_nHAlign = 2;
        }
    m_view.SetSheet(sheet);
    m_doc.Model().Reset(sheet.m_format);
    EXPECT_FALSE(m_doc.IsModified());
    const CSheet after = m_view.GetSheet();
    for (const auto& row : after.m_labels)
        for (const CLabelRecord& label : row) {
            EXPECT_EQ(label.m_bSelected, 1);
            EXPECT_EQ(label.m_strText, "");
            EXPECT_EQ(label.m_nHAlign, 2);
        }
}

TEST_F(SheetView, SheetRoundTripsThroughTheCells)
{
    CSheet sheet;
    sheet.m_format = Format(7, 20);
    for (int r = 0; r < CPageFormat::kMaxRows; ++r)
        for (int c = 0; c < CPageFormat::kMaxColumns; ++c) {
            CLabelRecord& label = sheet.m_labels[r][c];
            label.m_bSelected = (r + c) % 2;
            label.m_strText = std::to_string(r) + "\r\n" + std::to_string(c);
            label.m_dMarginLeft = 0.5 * c;
            label.m_crText = 0x0000FF00u + r;
            label.m_nVAlign = 8;
        }
    m_view.SetSheet(sheet);
    EXPECT_EQ(m_view.GetSheet(), sheet);
    QCoreApplication::processEvents();
    EXPECT_FALSE(m_doc.IsModified());
}

TEST_F(SheetView, NewAsksThenRequestsANewDocument)
{
    Show(800, 600);
    CMainController controller(m_doc, m_view);
    QSignalSpy spy(&controller, &CMainController::newDocumentRequested);
    QAction* pNew = controller.Action(QStringLiteral("actionFileNew"));
    ASSERT_NE(pNew, nullptr);

    AnswerNextDialog<CDocTypeDlg>([](CDocTypeDlg* pDlg) { pDlg->reject(); });
    pNew->trigger();
    QCoreApplication::processEvents();
    EXPECT_EQ(spy.count(), 0);
    EXPECT_EQ(controller.LastChosenFormat(), CPageFormat());

    AnswerNextDialog<CDocTypeDlg>([](CDocTypeDlg* pDlg) {
        auto* pList = pDlg->findChild<QListWidget*>(QStringLiteral("listTypes"));
        const auto items =
            pList->findItems(QString::fromStdString(PresetTypes().back().m_strName), Qt::MatchExactly);
        ASSERT_FALSE(items.isEmpty());
        pList->setCurrentItem(items.front());
        pDlg->accept();
    });
    pNew->trigger();
    EXPECT_EQ(spy.count(), 0) << "posted, not sent";
    QCoreApplication::processEvents();
    EXPECT_EQ(spy.count(), 1);
    EXPECT_TRUE(controller.LastChosenFormat() == PresetTypes().back().m_format);
    EXPECT_FALSE(m_doc.IsModified());
}

TEST_F(SheetView, ScrollingMovesTheCellsWithThePage)
{
    Show(1000, 600);
    ASSERT_GT(m_view.verticalScrollBar()->maximum(), 100);
    const QPoint before = m_view.LabelRect(3, 2).topLeft();
    m_view.verticalScrollBar()->setValue(100);
    EXPECT_EQ(m_view.LabelRect(3, 2).topLeft(), before - QPoint(0, 100));
    // A layout at this scroll position puts the cells where scrolling did.
    m_view.LayoutLabels();
    EXPECT_EQ(m_view.LabelRect(3, 2).topLeft(), before - QPoint(0, 100));
}

namespace {

// Whether the picture shows `colour` near each edge of `rc`: at a quarter,
// half and three quarters of each edge's length, within a dot period (six
// pixels) along it and from the edge up to nDepth pixels inwards, where the
// inner frame of a selected cell lies.
bool FramedIn(const QImage& image, const QRect& rc, QRgb colour, int nDepth)
{
    const auto seen = [&](QPoint at, QPoint along, QPoint inwards) {
        for (int a = 0; a < 6; ++a)
            for (int d = 0; d <= nDepth; ++d) {
                const QPoint p = at + along * a + inwards * d;
                if (image.rect().contains(p) && image.pixel(p) == colour)
                    return true;
            }
        return false;
    };
    for (const double dAlong : {0.25, 0.5, 0.75}) {
        const int x = rc.left() + int(rc.width() * dAlong);
        const int y = rc.top() + int(rc.height() * dAlong);
        if (!seen({x, rc.top()}, {1, 0}, {0, 1}) || !seen({x, rc.bottom()}, {1, 0}, {0, -1}) ||
            !seen({rc.left(), y}, {0, 1}, {1, 0}) || !seen({rc.right(), y}, {0, 1}, {-1, 0}))
            return false;
    }
    return true;
}

} // namespace

// The sheet as the view draws it, at the zooms its window sizes give, in
// normal and in full-page display: every label in view shows its frames, the
// solid blue one of a selected label and the dotted grey one of the others.
TEST_F(SheetView, EveryLabelShowsItsFrameAtEveryZoom)
{
    CSheet sheet = m_view.GetSheet();
    for (int r = 0; r < sheet.m_format.m_nRows; ++r)
        for (int c = 0; c < sheet.m_format.m_nColumns; ++c)
            sheet.m_labels[r][c].m_bSelected = (r + c) % 2;
    m_view.SetSheet(sheet);
    const struct
    {
        const char* szName;
        int nWidth, nHeight;
        bool bFullPage;
    } cases[] = {
        {"small window", 500, 300, false},     {"middle window", 800, 600, false},
        {"tall window", 1000, 980, false},     {"capped zoom", 1300, 1250, false},
        {"full page, small", 400, 300, true},  {"full page, tiny", 200, 150, true},
        {"full page, large", 1000, 900, true},
    };
    Show(800, 600);
    std::set<double> zooms;
    for (const auto& window : cases) {
        SCOPED_TRACE(window.szName);
        if (m_view.IsFullPage() != window.bFullPage)
            m_view.OnFullPage();
        m_view.resize(window.nWidth, window.nHeight);
        QApplication::processEvents();
        QApplication::processEvents(); // the exact pictures after scaled ones
        zooms.insert(m_view.m_dZoom);
        const QImage image = m_view.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
        int nSeen = 0;
        QStringList missing;
        for (int r = 0; r < sheet.m_format.m_nRows; ++r)
            for (int c = 0; c < sheet.m_format.m_nColumns; ++c) {
                const QRect rc = m_view.LabelRect(r, c);
                if (!image.rect().contains(rc))
                    continue; // scrolled out of view
                ++nSeen;
                const bool bSelected = sheet.m_labels[r][c].m_bSelected;
                const QRgb colour = QColor(bSelected ? kSelectedInnerColour : kFrameColour).rgb();
                if (!FramedIn(image, rc, colour, rc.height() / 4))
                    missing << QStringLiteral("%1,%2").arg(r).arg(c);
            }
        EXPECT_GT(nSeen, 0);
        EXPECT_EQ(missing.join(QLatin1Char(' ')).toStdString(), "");
    }
    EXPECT_GE(zooms.size(), 5u) << "the cases are to show different zooms";
}
