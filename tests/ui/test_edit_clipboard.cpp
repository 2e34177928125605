#include "test_app_support.h"

#include "clipboard/LabelClipboard.h"
#include "model/CSheet.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>
#include <QUndoStack>

#include <memory>

namespace {

// One document with its view, as a second running copy would have.
struct CDocumentWithView
{
    CDocumentWithView(const std::vector<CGridPosition>& selected)
    {
        CSheet sheet;
        sheet.m_format.m_nColumns = 4;
        sheet.m_format.m_nRows = 3;
        sheet.m_format.m_dLabelWidth = 15.0;
        sheet.m_format.m_dLabelHeight = 7.0;
        sheet.m_format.Recalc();
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 4; ++c) {
                sheet.m_labels[r][c].m_strText = "L" + std::to_string(r) + std::to_string(c);
                sheet.m_labels[r][c].SetSelected(false);
            }
        for (const CGridPosition& p : selected)
            sheet.m_labels[p.m_nRow][p.m_nColumn].SetSelected(true);
        m_doc.Model().Load(sheet);
    }
    CSheetModel& Model() { return m_doc.Model(); }
    std::string Text(int nRow, int nColumn) { return Model().Label(nRow, nColumn).m_strText; }

    CTAVRODoc m_doc;
    CTAVROView m_view{&m_doc};
    CMainController m_controller{m_doc, m_view};
};

void PutText(const QString& text)
{
    QGuiApplication::clipboard()->setText(text);
}

} // namespace

TEST(EditClipboard, CopyPutsSpreadsheetTextAndWholeRecords)
{
    CDocumentWithView doc({{0, 1}, {1, 2}});
    EditLabel(doc.Model(), 1, 2, [](CLabelRecord& label) { label.m_strText = "A\r\nB"; });
    RunAction(doc.m_controller, "actionCopy");
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->text(), QStringLiteral("L01\t\n\t\"A\nB\"\n"));
    EXPECT_TRUE(data->hasFormat(QStringLiteral("application/x-tavromark-labels")));
}

TEST(EditClipboard, PasteFillsTheSelectedLabelsFromSpreadsheetText)
{
    const struct
    {
        const char* name;
        QString text;
        std::vector<std::string> expected; // the selected labels in scan order
        bool bLeftOver;
    } cases[] = {
        {"a column of two", QStringLiteral("W1\nW2\n"), {"W1", "W2", "L11", "L12"}, false},
        {"a block", QStringLiteral("a\tb\r\nc\td\r\n"), {"a", "b", "c", "d"}, false},
        {"more cells than labels", QStringLiteral("1\t2\t3\n4\t5\t6\n"), {"1", "2", "3", "4"}, true},
        {"quoted lines",
         QStringLiteral("\"上\n下\"\tx\n"),
         {"\xC9\xCF\r\n\xCF\xC2", "x", "L11", "L12"},
         false},
    };
    for (const auto& t : cases) {
        SCOPED_TRACE(t.name);
        CDocumentWithView doc({{0, 2}, {0, 3}, {1, 1}, {1, 2}});
        QSignalSpy status(&doc.m_controller, &CMainController::statusMessage);
        PutText(t.text);
        RunAction(doc.m_controller, "actionPaste");
        EXPECT_EQ((std::vector<std::string>{doc.Text(0, 2), doc.Text(0, 3), doc.Text(1, 1), doc.Text(1, 2)}),
                  t.expected);
        EXPECT_EQ(doc.Text(0, 0), "L00"); // unselected
        EXPECT_EQ(status.count(), t.bLeftOver ? 1 : 0);
        if (t.bLeftOver) {
            EXPECT_TRUE(status.at(0).at(0).toString().contains(QStringLiteral("2 个单元格")));
        }
        EXPECT_EQ(doc.Model().UndoStack().undoText(), QStringLiteral("粘贴"));
        EXPECT_EQ(doc.Model().Label(0, 2).m_dMarginLeft, 1.0); // formats kept
    }
}

TEST(EditClipboard, RecordsPasteWholeBetweenTwoDocuments)
{
    CDocumentWithView source({{0, 0}, {2, 3}});
    EditLabel(source.Model(), 0, 0, [](CLabelRecord& label) {
        label.m_logFont.SetFaceName("Arial");
        label.m_dMarginTop = 2.5;
        label.SetAlignment(HAlign::Right, VAlign::Bottom);
    });
    RunAction(source.m_controller, "actionCopy");

    CDocumentWithView target({{1, 1}, {1, 2}});
    RunAction(target.m_controller, "actionPaste");
    for (const auto& [from, to] : {std::pair{CGridPosition{0, 0}, CGridPosition{1, 1}},
                                   std::pair{CGridPosition{2, 3}, CGridPosition{1, 2}}}) {
        CLabelRecord expected = source.Model().Label(from.m_nRow, from.m_nColumn);
        expected.m_bSelected = target.Model().Label(to.m_nRow, to.m_nColumn).m_bSelected;
        EXPECT_EQ(target.Model().Label(to.m_nRow, to.m_nColumn), expected);
    }
}

// A cell no label can hold, or a table larger than a wire list may be,
// refuses the whole paste with a message.
TEST(EditClipboard, ARefusedPasteLeavesTheSheetUnchanged)
{
    QString spans;
    for (int i = 0; i < 8001; ++i)
        spans += QStringLiteral("<td colspan=1000>x</td>");
    const struct
    {
        const char* name;
        QString text;
        QString html; // beside the text, as spreadsheet programs give both
        QString message;
    } cases[] = {
        {"not in code page 936",
         QStringLiteral("ok\nok\t한\n"),
         {},
         QStringLiteral("无法粘贴：第 2 行第 2 列的字符 U+D55C（한） 无法转换为代码页 936（GBK）。")},
        {"too long",
         QStringLiteral("ok\n") + QString(51, QLatin1Char('x')),
         {},
         QStringLiteral("无法粘贴：第 2 行第 1 列的文字有 51 字节，标签文字最多 50 字节。")},
        {"8,001 HTML cells spanning 1000 columns each", QStringLiteral("x"),
         QStringLiteral("<table><tr>") + spans + QStringLiteral("</tr></table>"),
         QStringLiteral("无法粘贴：剪贴板上的表格超过 8,000,000 个单元格（跨几列的单元格算作几个）。")},
        {"a million rows and one",
         QStringLiteral("W\n").repeated(1000001),
         {},
         QStringLiteral("无法粘贴：剪贴板上的表格超过 1,000,000 行。")},
    };
    for (const auto& t : cases) {
        SCOPED_TRACE(t.name);
        CDocumentWithView doc({{0, 0}, {0, 1}, {0, 2}});
        const std::string bytes = SheetBytes(doc.Model().Sheet());
        auto* data = new QMimeData;
        data->setText(t.text);
        if (!t.html.isEmpty())
            data->setHtml(t.html);
        QGuiApplication::clipboard()->setMimeData(data);
        CSeenBox seen;
        AnswerNextMessageBox(QMessageBox::Ok, &seen);
        RunAction(doc.m_controller, "actionPaste");
        EXPECT_EQ(seen.m_strText, t.message);
        EXPECT_EQ(SheetBytes(doc.Model().Sheet()), bytes);
        EXPECT_FALSE(doc.Model().UndoStack().canUndo());
        EXPECT_FALSE(doc.Model().IsModified());
    }
}

TEST(EditClipboard, CutCopiesThenClearsAsOneStep)
{
    CDocumentWithView doc({{0, 0}, {0, 1}});
    const std::string bytes = SheetBytes(doc.Model().Sheet());
    RunAction(doc.m_controller, "actionCut");
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("L00\tL01\n"));
    EXPECT_EQ(doc.Text(0, 0), "");
    EXPECT_EQ(doc.Text(0, 1), "");
    EXPECT_EQ(doc.Model().UndoStack().count(), 1);
    EXPECT_EQ(doc.Model().UndoStack().undoText(), QStringLiteral("剪切"));
    doc.Model().UndoStack().undo();
    EXPECT_EQ(SheetBytes(doc.Model().Sheet()), bytes);
}

TEST_F(AppTest, ClipboardCommandsFollowTheSelectionAndTheClipboard)
{
    Frame()->show();
    QApplication::setActiveWindow(Frame());
    QAction* copy = Frame()->Action("actionCopy");
    QAction* cut = Frame()->Action("actionCut");
    QAction* paste = Frame()->Action("actionPaste");
    QGuiApplication::clipboard()->clear();
    EXPECT_TRUE(copy->isEnabled()); // a new sheet is all selected
    EXPECT_TRUE(cut->isEnabled());
    EXPECT_FALSE(paste->isEnabled());

    PutText(QStringLiteral("W1"));
    QApplication::processEvents(); // the clipboard's change schedules an update
    EXPECT_TRUE(paste->isEnabled());

    View()->Model().Select(SelectionRule::None);
    QApplication::processEvents();
    EXPECT_FALSE(copy->isEnabled());
    EXPECT_FALSE(cut->isEnabled());
    EXPECT_FALSE(paste->isEnabled());

    View()->Model().Select(SelectionRule::All);
    QApplication::processEvents();
    QTest::keyClick(Frame(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Doc()->Model().Label(0, 0).m_strText, "W1");
    QTest::keyClick(Frame(), Qt::Key_Insert, Qt::ControlModifier);
    EXPECT_TRUE(QGuiApplication::clipboard()->text().startsWith(QStringLiteral("W1\t\t")));
}

// A label's text may be far longer than typing allows (a sheet file holds
// any length): cut, undo, redo and a paste of the program's own records give
// it back byte for byte.
TEST(EditClipboard, LongTextsComeBackWholeThroughCutUndoAndPaste)
{
    for (const std::size_t nLength : {std::size_t{204800}, std::size_t{1} << 20, std::size_t{20} << 20}) {
        SCOPED_TRACE(nLength);
        std::string text(nLength, 'x');
        text.front() = 'W';
        text.back() = '9';
        CDocumentWithView source({{0, 0}, {0, 1}});
        EditLabel(source.Model(), 0, 0, [&](CLabelRecord& label) { label.m_strText = text; });
        const std::string bytes = SheetBytes(source.Model().Sheet());

        RunAction(source.m_controller, "actionCut");
        EXPECT_EQ(source.Text(0, 0), "");
        source.Model().UndoStack().undo();
        EXPECT_EQ(source.Text(0, 0), text);
        EXPECT_EQ(SheetBytes(source.Model().Sheet()), bytes);
        source.Model().UndoStack().redo();
        source.Model().UndoStack().undo();
        EXPECT_EQ(source.Text(0, 0), text);

        RunAction(source.m_controller, "actionCopy");
        CDocumentWithView target({{2, 3}, {2, 2}});
        RunAction(target.m_controller, "actionPaste");
        EXPECT_EQ(target.Text(2, 2), text);
        EXPECT_EQ(target.Text(2, 3), "L01");
        target.Model().UndoStack().undo();
        target.Model().UndoStack().redo();
        EXPECT_EQ(target.Text(2, 2), text);
    }
}
