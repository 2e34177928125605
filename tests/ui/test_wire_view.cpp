#include "test_app_support.h"

#include "model/Arithmetic.h"
#include "model/CTAVRODoc.h"
#include "sheets/CDocTypeDlg.h"
#include "sheets/SheetTypeList.h"
#include "text/CBatchTextDlg.h"
#include "text/CFontColorDlg.h"
#include "text/CLabelTextDlg.h"
#include "text/CMarginDlg.h"
#include "view/CTAVROView.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

#include <set>
#include <string_view>
#include <utility>

namespace {

template <class T>
T* Child(QWidget* pParent, const char* name)
{
    T* pChild = pParent->findChild<T*>(QLatin1String(name));
    EXPECT_NE(pChild, nullptr) << name;
    return pChild;
}

using Cells = std::set<std::pair<int, int>>;

// The text and format commands through the view's command map, on the
// default sheet (5 × 14) with nothing selected and the document unmodified.
class WireView : public ::testing::Test
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

    void SetText(int r, int c, const std::string& strText)
    {
        m_view.Model().SetText(CSheetModel::IndexOf(r, c), strText, true);
    }
    void DoubleClick(int r, int c)
    {
        QTest::mouseDClick(m_view.viewport(), Qt::LeftButton, {}, m_view.LabelRect(r, c).center());
    }
    QImage Shot(int r, int c) { return m_view.viewport()->grab(m_view.LabelRect(r, c)).toImage(); }
    const CLabelRecord& Record(int r, int c) { return m_view.Model().Label(r, c); }
    // Sets a label up through the model; the document's modified flag stays.
    void Edit(int r, int c, const std::function<void(CLabelRecord&)>& edit)
    {
        const bool bModified = m_doc.IsModified();
        EditLabel(m_doc.Model(), r, c, edit);
        m_doc.SetModifiedFlag(bModified);
    }

    void Select(const Cells& cells)
    {
        for (const auto& [r, c] : cells)
            m_view.Model().SetSelected(CSheetModel::IndexOf(r, c), true);
        Settle();
    }

    // Whether the document is modified once the event loop has run.
    bool ModifiedAfterEvents()
    {
        QCoreApplication::processEvents();
        return m_doc.IsModified();
    }

    CTAVRODoc m_doc;
    CTAVROView m_view{&m_doc};
    CMainController m_controller{m_doc, m_view};
};

const char* const kSelectionCommands[] = {
    "actionSetText",         "actionClearText",         "actionFont",
    "actionAlignTopLeft",    "actionAlignTopCentre",    "actionAlignTopRight",
    "actionAlignMiddleLeft", "actionAlignMiddleCentre", "actionAlignMiddleRight",
    "actionAlignBottomLeft", "actionAlignBottomCentre", "actionAlignBottomRight",
    "actionLabelSettings",   "actionAutoShrink",
};

} // namespace

TEST_F(WireView, CommandsNeedASelection)
{
    Edit(0, 0, [](CLabelRecord& l) { l.m_bAutoShrink = 1; });
    for (const char* szName : kSelectionCommands) {
        SCOPED_TRACE(szName);
        const QAction* action = m_controller.Action(QLatin1String(szName));
        EXPECT_FALSE(action->isEnabled());
        EXPECT_FALSE(action->isChecked());
    }
    Select({{0, 0}});
    for (const char* szName : kSelectionCommands) {
        SCOPED_TRACE(szName);
        EXPECT_TRUE(m_controller.Action(QLatin1String(szName))->isEnabled());
    }
    EXPECT_TRUE(m_controller.Action("actionAutoShrink")->isChecked());
}

TEST_F(WireView, SetTextFillsTheSelectionWithOneDialogThatRemembers)
{
    SetText(0, 3, "keep");
    Select({{0, 0}, {0, 1}, {0, 2}, {1, 0}});
    CBatchTextDlg* pFirst = nullptr;
    AnswerNextDialog<CBatchTextDlg>([&pFirst](CBatchTextDlg* pDlg) {
        pFirst = pDlg;
        Child<QLineEdit>(pDlg, "editMiddle")->setText(QStringLiteral("07"));
        Child<QRadioButton>(pDlg, "radioMode1")->click();
        Child<QPushButton>(pDlg, "buttonOk")->click();
    });
    EXPECT_TRUE(RunAction(m_controller, "actionSetText"));
    EXPECT_TRUE(m_doc.IsModified());
    const std::pair<std::pair<int, int>, const char*> expected[] = {
        {{0, 0}, "07"}, {{0, 1}, "08"}, {{0, 2}, "09"}, {{0, 3}, "keep"}, {{1, 0}, "10"}, {{1, 1}, ""}};
    for (const auto& [cell, text] : expected) {
        SCOPED_TRACE(text);
        EXPECT_EQ(Record(cell.first, cell.second).m_strText, text);
    }

    // The same dialog opens again with the last values; Cancel writes nothing.
    Settle();
    AnswerNextDialog<CBatchTextDlg>([pFirst](CBatchTextDlg* pDlg) {
        EXPECT_EQ(pDlg, pFirst);
        EXPECT_EQ(Child<QLineEdit>(pDlg, "editMiddle")->text(), QStringLiteral("07"));
        pDlg->reject();
    });
    EXPECT_TRUE(RunAction(m_controller, "actionSetText"));
    EXPECT_FALSE(ModifiedAfterEvents());
    EXPECT_EQ(Record(0, 0).m_strText, "07");
}

TEST_F(WireView, ClearTextAsksAndEmptiesOnlyTheSelection)
{
    for (auto [r, c] : {std::pair{0, 0}, {0, 1}, {1, 0}})
        SetText(r, c, "A");
    Select({{0, 0}, {1, 0}, {2, 2}});

    CSeenBox seen;
    AnswerNextMessageBox(QMessageBox::No, &seen);
    EXPECT_TRUE(RunAction(m_controller, "actionClearText"));
    EXPECT_EQ(seen.m_strCaption, QStringLiteral("Tavromark"));
    EXPECT_EQ(seen.m_strText, QStringLiteral("是否清除所选的标签文字？"));
    EXPECT_FALSE(ModifiedAfterEvents());
    EXPECT_EQ(Record(0, 0).m_strText, "A");

    AnswerNextMessageBox(QMessageBox::Yes);
    EXPECT_TRUE(RunAction(m_controller, "actionClearText"));
    EXPECT_TRUE(ModifiedAfterEvents());
    EXPECT_EQ(Record(0, 0).m_strText, "");
    EXPECT_EQ(Record(1, 0).m_strText, "");
    EXPECT_EQ(Record(0, 1).m_strText, "A");
}

TEST_F(WireView, DoubleClickOpensTheLabelDialog)
{
    SetText(2, 2, "A");
    Settle();
    // OK with the text unchanged still stores it and marks the document.
    AnswerNextDialog<CLabelTextDlg>([](CLabelTextDlg* pDlg) {
        EXPECT_EQ(Child<QPlainTextEdit>(pDlg, "editText")->toPlainText(), QStringLiteral("A"));
        pDlg->accept();
    });
    DoubleClick(2, 2);
    EXPECT_TRUE(ModifiedAfterEvents());
    EXPECT_EQ(Record(2, 2).m_strText, "A");

    Settle();
    AnswerNextDialog<CLabelTextDlg>([](CLabelTextDlg* pDlg) {
        Child<QPlainTextEdit>(pDlg, "editText")->setPlainText(QStringLiteral("B\n中"));
        pDlg->accept();
    });
    DoubleClick(2, 2);
    EXPECT_TRUE(ModifiedAfterEvents());
    EXPECT_EQ(Record(2, 2).m_strText, "B\r\n\xD6\xD0");

    Settle();
    AnswerNextDialog<CLabelTextDlg>([](CLabelTextDlg* pDlg) {
        Child<QPlainTextEdit>(pDlg, "editText")->setPlainText(QStringLiteral("C"));
        pDlg->reject();
    });
    DoubleClick(2, 2);
    EXPECT_FALSE(ModifiedAfterEvents());
    EXPECT_EQ(Record(2, 2).m_strText, "B\r\n\xD6\xD0");
}

TEST_F(WireView, FontGoesToEverySelectedLabelAndCancelKeepsTheirOwn)
{
    const auto giveDifferentFonts = [this] {
        Edit(0, 0, [](CLabelRecord& l) { l = CLabelRecord{}; });
        Edit(0, 1, [](CLabelRecord& l) {
            l.m_logFont.SetFaceName("DejaVu Sans");
            l.m_logFont.lfWeight = 700;
            l.m_nFontHeight = -20;
            l.m_crText = 0x00FF0000;
        });
    };
    giveDifferentFonts();
    SetText(0, 1, "X");
    Select({{0, 0}, {0, 1}});
    const CLabelRecord own00 = Record(0, 0);
    const CLabelRecord own01 = Record(0, 1);

    AnswerNextDialog<CFontColorDlg>([](CFontColorDlg* pDlg) {
        Child<QComboBox>(pDlg, "comboSize")->setCurrentText(QStringLiteral("14"));
        pDlg->SetColor(QColor(255, 0, 0));
        pDlg->reject();
    });
    EXPECT_TRUE(RunAction(m_controller, "actionFont"));
    EXPECT_FALSE(m_doc.IsModified());
    for (const auto& [pRecord, own] : {std::pair{&Record(0, 0), own00}, {&Record(0, 1), own01}}) {
        EXPECT_EQ(pRecord->m_logFont.FaceName(), own.m_logFont.FaceName());
        EXPECT_EQ(pRecord->m_logFont.lfWeight, own.m_logFont.lfWeight);
        EXPECT_EQ(pRecord->m_nFontHeight, own.m_nFontHeight);
        EXPECT_EQ(pRecord->m_crText, own.m_crText);
    }

    AnswerNextDialog<CFontColorDlg>([](CFontColorDlg* pDlg) {
        Child<QComboBox>(pDlg, "comboSize")->setCurrentText(QStringLiteral("14"));
        pDlg->SetColor(QColor(255, 0, 0));
        Child<QPushButton>(pDlg, "buttonOk")->click();
    });
    EXPECT_TRUE(RunAction(m_controller, "actionFont"));
    EXPECT_TRUE(m_doc.IsModified());
    for (int c : {0, 1}) {
        SCOPED_TRACE(c);
        const CLabelRecord& label = Record(0, c);
        EXPECT_EQ(label.m_logFont.FaceName(), "\xCB\xCE\xCC\xE5") << "the first one's face";
        EXPECT_EQ(label.m_logFont.lfWeight, 400);
        EXPECT_EQ(label.m_nFontHeight, -MulDiv(14, 96, 72));
        EXPECT_EQ(label.m_logFont.lfHeight, ScreenFontHeight(label.m_nFontHeight, m_view.m_dZoom))
            << "as the screen draws it";
        EXPECT_EQ(label.m_crText, 0x000000FFu);
    }
    EXPECT_EQ(Record(0, 2).m_nFontHeight, -12) << "not selected";
}

TEST_F(WireView, NineAlignmentsAsOnTheToolbarAndTheCellRepaints)
{
    struct Case
    {
        const char* m_szAction;
        int m_nHAlign;
        int m_nVAlign;
    };
    const Case cases[] = {
        {"actionAlignTopLeft", 0, 0},    {"actionAlignTopCentre", 1, 0},    {"actionAlignTopRight", 2, 0},
        {"actionAlignMiddleLeft", 0, 4}, {"actionAlignMiddleCentre", 1, 4}, {"actionAlignMiddleRight", 2, 4},
        {"actionAlignBottomLeft", 0, 8}, {"actionAlignBottomCentre", 1, 8}, {"actionAlignBottomRight", 2, 8},
    };
    SetText(1, 1, "W");
    Select({{1, 1}, {1, 2}});
    const CLabelRecord unselected = Record(1, 3);
    QImage before = Shot(1, 1);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.m_szAction);
        Settle();
        EXPECT_TRUE(RunAction(m_controller, c.m_szAction));
        EXPECT_TRUE(m_doc.IsModified());
        for (int nColumn : {1, 2}) {
            EXPECT_EQ(Record(1, nColumn).m_nHAlign, c.m_nHAlign);
            EXPECT_EQ(Record(1, nColumn).m_nVAlign, c.m_nVAlign);
        }
        EXPECT_TRUE(Record(1, 3) == unselected) << "not selected";
        // The cell shows the new place of its text once painted.
        QCoreApplication::processEvents();
        const QImage after = Shot(1, 1);
        if (c.m_szAction != std::string_view("actionAlignTopLeft")) {
            EXPECT_NE(after, before);
        }
        before = after;
    }
}

TEST_F(WireView, ShrinkToFitSwitchesToTheOppositeOfTheFirst)
{
    Edit(0, 0, [](CLabelRecord& l) { l.m_bAutoShrink = 0; });
    Edit(0, 1, [](CLabelRecord& l) { l.m_bAutoShrink = 1; });
    Select({{0, 0}, {0, 1}});
    EXPECT_FALSE(m_controller.Action("actionAutoShrink")->isChecked());
    EXPECT_TRUE(RunAction(m_controller, "actionAutoShrink"));
    EXPECT_EQ(Record(0, 0).m_bAutoShrink, 1);
    EXPECT_EQ(Record(0, 1).m_bAutoShrink, 1);
    EXPECT_TRUE(m_controller.Action("actionAutoShrink")->isChecked());
    EXPECT_TRUE(m_doc.IsModified()) << "a change that closing must not lose unasked";

    Settle();
    EXPECT_TRUE(RunAction(m_controller, "actionAutoShrink"));
    EXPECT_EQ(Record(0, 0).m_bAutoShrink, 0);
    EXPECT_EQ(Record(0, 1).m_bAutoShrink, 0);
    EXPECT_TRUE(m_doc.IsModified());
}

TEST_F(WireView, LabelSettingsTruncateToTenthsAndGoToEverySelectedLabel)
{
    Edit(0, 0, [](CLabelRecord& l) {
        l.m_dMarginLeft = 1.05;
        l.m_dLineSpacing = 0.37;
    });
    Edit(0, 1, [](CLabelRecord& l) {
        l.m_dMarginLeft = 3.0;
        l.m_dMarginBottom = 2.5;
    });
    Select({{0, 0}, {0, 1}});

    AnswerNextDialog<CMarginDlg>([](CMarginDlg* pDlg) {
        EXPECT_EQ(Child<QLineEdit>(pDlg, "editLeft")->text(), QStringLiteral("10"));
        Child<QPushButton>(pDlg, "buttonOk")->click();
    });
    EXPECT_TRUE(RunAction(m_controller, "actionLabelSettings"));
    for (int c : {0, 1}) {
        SCOPED_TRACE(c);
        const CLabelRecord& label = Record(0, c);
        EXPECT_EQ(label.m_dMarginLeft, 10 * 0.1);
        EXPECT_EQ(label.m_dMarginBottom, 10 * 0.1);
        EXPECT_EQ(label.m_dLineSpacing, 3 * 0.1);
    }
    EXPECT_TRUE(m_doc.IsModified()) << "a change that closing must not lose unasked";

    Settle();
    AnswerNextDialog<CMarginDlg>([](CMarginDlg* pDlg) {
        Child<QLineEdit>(pDlg, "editLeft")->setText(QStringLiteral("50"));
        pDlg->reject();
    });
    EXPECT_TRUE(RunAction(m_controller, "actionLabelSettings"));
    EXPECT_EQ(Record(0, 1).m_dMarginLeft, 1.0);
    EXPECT_FALSE(m_doc.IsModified());
}

TEST_F(WireView, SavedAndReopenedSheetKeepsEveryFormatField)
{
    Edit(2, 3, [](CLabelRecord& label) {
        label.m_strText = "Format";
        label.m_logFont.SetFaceName("DejaVu Serif");
        label.m_logFont.lfWeight = 700;
        label.m_logFont.lfItalic = 1;
        label.m_logFont.lfUnderline = 1;
        label.m_logFont.lfStrikeOut = 1;
        label.m_logFont.lfCharSet = 134;
        label.m_logFont.lfQuality = 2;
        label.m_logFont.lfPitchAndFamily = 49;
        label.m_nFontHeight = -27;
        label.m_crText = 0x00123456;
        label.m_nHAlign = 2;
        label.m_nVAlign = 8;
        label.m_dMarginLeft = 1.1;
        label.m_dMarginTop = 2.2;
        label.m_dMarginRight = 3.3;
        label.m_dMarginBottom = 4.4;
        label.m_dLineSpacing = 0.7;
        label.m_bAutoShrink = 1;
        label.m_bSelected = 0;
    });
    Edit(4, 4, [](CLabelRecord& l) { l.m_nVAlign = 4; });

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("formats.tav"));
    const CSheet saved = m_view.GetSheet();
    ASSERT_FALSE(m_doc.Save(path));
    m_doc.Model().Reset(m_view.Format());
    Edit(2, 3, [](CLabelRecord& l) { l = CLabelRecord{}; });
    ASSERT_FALSE(m_doc.Open(path));
    const CSheet reopened = m_view.GetSheet();
    for (int r = 0; r < CPageFormat::kMaxRows; ++r)
        for (int c = 0; c < CPageFormat::kMaxColumns; ++c)
            ASSERT_TRUE(reopened.m_labels[r][c] == saved.m_labels[r][c]) << r << ", " << c;
}

// New through the sheet type dialog: OK starts a sheet of the chosen type,
// Cancel changes nothing.
TEST_F(AppTest, NewTakesTheChosenTypeAndCancelKeepsTheSheet)
{
    const std::optional<std::string> library = SettingsFilePath("tavropage.lps");
    ASSERT_TRUE(library);
    QFile::remove(QString::fromStdString(*library));
    CSheetType type7x20;
    for (const CSheetType& type : PresetTypes())
        if (type.m_format.m_nColumns == 7 && type.m_format.m_nRows == 20)
            type7x20 = type;
    ASSERT_FALSE(type7x20.m_strName.empty());

    AnswerNextDialog<CDocTypeDlg>([&type7x20](CDocTypeDlg* pDlg) {
        auto* pList = Child<QListWidget>(pDlg, "listTypes");
        const auto items = pList->findItems(QString::fromStdString(type7x20.m_strName), Qt::MatchExactly);
        ASSERT_EQ(items.size(), 1);
        pList->setCurrentItem(items.front());
        Child<QPushButton>(pDlg, "btnOK")->click();
    });
    RunAction(*Frame()->Controller(), "actionFileNew");
    EXPECT_EVENTUALLY_EQ(View()->Format().m_nColumns, 7);
    EXPECT_EQ(View()->Format(), type7x20.m_format);
    EXPECT_TRUE(!View()->LabelRect(19, 6).isNull());

    View()->Model().SetText(CSheetModel::IndexOf(19, 6), "W-140", 1);
    QCoreApplication::processEvents();
    ASSERT_TRUE(Doc()->IsModified());
    const CSheet before = View()->GetSheet();

    AnswerNextDialog<CDocTypeDlg>([](CDocTypeDlg* pDlg) { pDlg->reject(); });
    RunAction(*Frame()->Controller(), "actionFileNew");
    QTest::qWait(50);
    EXPECT_TRUE(Doc()->IsModified());
    EXPECT_EQ(View()->Format(), type7x20.m_format);
    EXPECT_EQ(View()->Model().Label(19, 6).m_strText, "W-140");
    EXPECT_EQ(View()->GetSheet().m_labels[19][6].m_strText, before.m_labels[19][6].m_strText);
    QFile::remove(QString::fromStdString(*library));
}
