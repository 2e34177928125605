#include "test_app_support.h"

#include "model/CTAVRODoc.h"
#include "view/CTAVROView.h"

#include <QTest>
#include <gtest/gtest.h>

#include <string_view>

#include <set>
#include <utility>

namespace {

using Cells = std::set<std::pair<int, int>>;

// The default sheet (5 × 14) shown at zoom 4.5, nothing selected, unmodified.
class Selection : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_view.resize(1000, 980);
        m_view.show();
        QCoreApplication::processEvents();
        m_view.ShowNewSheet();
        m_view.Model().Select(SelectionRule::None);
        Settle();
    }

    void Settle()
    {
        QCoreApplication::processEvents();
        m_doc.SetModifiedFlag(false);
    }

    QRect Cell(int r, int c) const { return m_view.LabelRect(r, c); }

    Cells Selected() const
    {
        Cells cells;
        for (int r = 0; r < m_view.Format().m_nRows; ++r)
            for (int c = 0; c < m_view.Format().m_nColumns; ++c)
                if (m_view.Model().Label(r, c).IsSelected() == 1)
                    cells.insert({r, c});
        return cells;
    }

    void Band(QPoint from, QPoint to, Qt::MouseButton button = Qt::LeftButton)
    {
        QWidget* pPage = m_view.viewport();
        QTest::mousePress(pPage, button, {}, from);
        QTest::mouseMove(pPage, (from + to) / 2);
        QTest::mouseMove(pPage, to);
        QTest::mouseRelease(pPage, button, {}, to);
    }

    CTAVRODoc m_doc;
    CTAVROView m_view{&m_doc};
};

} // namespace

TEST_F(Selection, BandSelectsTheLabelsWithACornerInside)
{
    // From the gap above and left of label [0][0] to the middle of [1][1].
    Band(Cell(0, 0).topLeft() - QPoint(3, 3), Cell(1, 1).center());
    EXPECT_EQ(Selected(), (Cells{{0, 0}, {0, 1}, {1, 0}, {1, 1}}));
    QCoreApplication::processEvents();
    EXPECT_TRUE(m_doc.IsModified());
}

TEST_F(Selection, BandsThatTouchNoCornerChangeNothing)
{
    const QRect cell = Cell(2, 2);
    struct Case
    {
        const char* name;
        QPoint from, to;
    };
    const Case cases[] = {
        {"through the label's middle",
         {Cell(2, 1).right() + 3, cell.top() + 5},
         {Cell(2, 3).left() - 3, cell.bottom() - 5}},
        {"right edge exactly on the label's left",
         {cell.left() - 10, cell.top() - 5},
         {cell.left(), cell.bottom() + 5}},
        {"press and release on one point", cell.topLeft() - QPoint(2, 2), cell.topLeft() - QPoint(2, 2)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Band(c.from, c.to);
        EXPECT_EQ(Selected(), Cells{});
    }
    QCoreApplication::processEvents();
    EXPECT_FALSE(m_doc.IsModified());
}

TEST_F(Selection, TheReleasingButtonDecides)
{
    m_view.Model().Select(SelectionRule::All);
    QWidget* pPage = m_view.viewport();
    const QPoint from = Cell(0, 0).topLeft() - QPoint(3, 3);
    const QPoint to = Cell(0, 1).center();
    QTest::mousePress(pPage, Qt::LeftButton, {}, from);
    QTest::mouseMove(pPage, to);
    QTest::mousePress(pPage, Qt::RightButton, {}, to); // swallowed: a band is under way
    QTest::mouseRelease(pPage, Qt::RightButton, {}, to);
    EXPECT_EQ(Selected().size(), 5u * 14u - 2u);
    EXPECT_EQ(m_view.Model().Label(0, 0).IsSelected(), 0);
    EXPECT_EQ(m_view.Model().Label(0, 1).IsSelected(), 0);

    QTest::mouseRelease(pPage, Qt::LeftButton, {}, Cell(5, 4).center());
    EXPECT_EQ(Selected().size(), 5u * 14u - 2u) << "the later left release does nothing";
}

TEST_F(Selection, BandAddsToTheSelection)
{
    m_view.Model().SetSelected(CSheetModel::IndexOf(5, 4), 1);
    Band(Cell(0, 0).topLeft() - QPoint(3, 3), Cell(0, 0).center());
    EXPECT_EQ(Selected(), (Cells{{0, 0}, {5, 4}}));
}

TEST_F(Selection, CommandsAndTheModifiedFlag)
{
    struct Case
    {
        const char* name;
        const char* szAction;
        Cells before;
        size_t nSelectedAfter;
        bool bModified;
    };
    const size_t nAll = 5 * 14;
    const CMainController controller(m_doc, m_view);
    const Case cases[] = {
        {"select all on a sheet all selected", "actionSelectAll", {}, nAll, false},
        {"select all with one missing", "actionSelectAll", {{0, 0}}, nAll, true},
        {"select none with nothing selected", "actionSelectNone", {{0, 0}}, 0, true},
        {"invert", "actionInvertSelection", {}, nAll, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_view.Model().Select(SelectionRule::All);
        if (c.szAction != std::string_view("actionSelectAll"))
            m_view.Model().Select(SelectionRule::None);
        for (const auto& [r, col] : c.before)
            m_view.Model().SetSelected(CSheetModel::IndexOf(r, col), 0);
        Settle();
        ASSERT_TRUE(RunAction(controller, c.szAction));
        QCoreApplication::processEvents();
        EXPECT_EQ(Selected().size(), c.nSelectedAfter);
        EXPECT_EQ(m_doc.IsModified(), c.bModified);
    }
}

TEST_F(Selection, SelectByContent)
{
    m_view.Model().SetText(CSheetModel::IndexOf(0, 0), "A", 1);
    m_view.Model().SetText(CSheetModel::IndexOf(3, 2), "B", 1);
    m_view.Model().SetText(CSheetModel::IndexOf(20, 10), "hidden", 1);
    m_view.Model().SetSelected(CSheetModel::IndexOf(0, 1), 1);
    Settle();

    m_view.Model().Select(SelectionRule::WithText);
    EXPECT_EQ(Selected(), (Cells{{0, 0}, {3, 2}}));
    m_view.Model().Select(SelectionRule::Empty);
    EXPECT_EQ(Selected().size(), 5u * 14u - 2u);
    EXPECT_EQ(m_view.Model().Label(0, 0).IsSelected(), 0);

    for (int r = 0; r < 14; ++r)
        for (int c = 0; c < 5; ++c)
            m_view.Model().SetText(CSheetModel::IndexOf(r, c), "", true);
    m_view.Model().Select(SelectionRule::WithText);
    EXPECT_EQ(Selected(), Cells{}) << "no label has text";
}

TEST_F(Selection, EscapeDeselectsTheGridOnly)
{
    m_view.Model().Select(SelectionRule::All);
    m_view.Model().SetSelected(CSheetModel::IndexOf(20, 10), 1);
    Settle();
    m_view.setFocus();
    QTest::keyClick(&m_view, Qt::Key_Escape);
    EXPECT_EQ(Selected(), Cells{});
    EXPECT_TRUE(m_doc.IsModified());
    EXPECT_EQ(m_view.Model().Label(20, 10).IsSelected(), 1) << "cells outside the grid keep their flags";
}

TEST_F(Selection, ClickOnThePageFocusesTheView)
{
    QTest::mouseClick(m_view.viewport(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(m_view.hasFocus());
}

TEST_F(Selection, CommandsThatNeedASelection)
{
    const CMainController controller(m_doc, m_view);
    QAction* clear = controller.Action(QStringLiteral("actionClearText"));
    int nCleared = 0;
    QObject::connect(clear, &QAction::triggered, [&nCleared] { ++nCleared; });

    EXPECT_EQ(m_view.Model().SelectedCount(), 0);
    EXPECT_FALSE(clear->isEnabled());
    clear->trigger();
    EXPECT_EQ(nCleared, 0) << "a disabled command does not run";
    for (const char* szName : {"actionSelectAll", "actionSelectNone", "actionInvertSelection",
                               "actionSelectText", "actionSelectEmpty"})
        EXPECT_TRUE(controller.Action(QLatin1String(szName))->isEnabled()) << szName;

    m_view.Model().SetSelected(CSheetModel::IndexOf(20, 10), 1);
    EXPECT_FALSE(clear->isEnabled()) << "a hidden cell does not count";
    m_view.Model().SetSelected(CSheetModel::IndexOf(13, 4), 1);
    EXPECT_EQ(m_view.Model().SelectedCount(), 1);
    EXPECT_TRUE(clear->isEnabled());
    EXPECT_FALSE(clear->isChecked());
    AnswerNextMessageBox(QMessageBox::No);
    EXPECT_TRUE(RunAction(controller, "actionClearText"));
    EXPECT_EQ(nCleared, 1);
}

TEST_F(Selection, PressOnALabelStartsNoBand)
{
    QTest::mousePress(m_view.viewport(), Qt::LeftButton, {}, Cell(0, 0).center());
    QTest::mouseRelease(m_view.viewport(), Qt::LeftButton, {}, Cell(3, 3).center());
    EXPECT_EQ(Selected(), (Cells{{0, 0}}));
}
