#include "test_app_support.h"

#include "model/CSheet.h"
#include "text/CBatchTextDlg.h"
#include "text/CFontColorDlg.h"
#include "text/CMarginDlg.h"
#include "wirelist/CSequencePatternDlg.h"
#include "wirelist/CWireListDlg.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolBar>
#include <QUndoStack>

#include <functional>
#include <set>

namespace {

// Accepts the dialog a command opens, as it stands.
void AcceptNextDialog()
{
    AnswerNextDialog<QDialog>([](QDialog* pDialog) { QMetaObject::invokeMethod(pDialog, "accept"); });
}

// The top three rows selected, texts and formats varied, so that every
// format command copies something new from the first selected label.
CSheet VariedSheet(const CSheet& base)
{
    CSheet sheet = base;
    for (int r = 0; r < sheet.m_format.m_nRows; ++r)
        for (int c = 0; c < sheet.m_format.m_nColumns; ++c) {
            CLabelRecord& label = sheet.m_labels[r][c];
            label.SetSelected(r < 3);
            label.m_strText = (r + c) % 3 ? "W" + std::to_string(r * 10 + c) : std::string();
            label.m_dMarginLeft = 0.5 * c;
            label.m_nFontHeight = -12 - r;
            label.m_logFont.lfWeight = 100 * (c + 1);
            label.m_crText = 0x10203 * static_cast<std::uint32_t>(c);
        }
    sheet.m_labels[0][0].m_bAutoShrink = 1;
    sheet.m_labels[0][0].SetAlignment(HAlign::Left, VAlign::Top);
    return sheet;
}

} // namespace

TEST_F(AppTest, EveryEditCommandIsOneStepThatUndoesAndRedoesByteForByte)
{
    struct Case
    {
        const char* step;
        std::function<void(CMainFrame&)> edit;
    };
    const auto command = [](const char* szName) {
        return [szName](CMainFrame& frame) { RunAction(*frame.Controller(), szName); };
    };
    const Case cases[] = {
        {"设定文字",
         [](CMainFrame& frame) {
             // The program's one batch dialog, made by a first, cancelled run,
             // reopens with the text "X1" for every selected label.
             AnswerNextDialog<QDialog>([](QDialog* pDialog) { pDialog->reject(); });
             RunAction(*frame.Controller(), "actionSetText");
             auto* pDlg = frame.GetView()->findChild<CBatchTextDlg*>();
             ASSERT_NE(pDlg, nullptr);
             pDlg->m_strLastMiddle = "X1";
             pDlg->m_nMode = CBatchFillRequest::SameText;
             pDlg->m_bSkipFilled = 0;
             AcceptNextDialog();
             RunAction(*frame.Controller(), "actionSetText");
         }},
        {"标签文字",
         [](CMainFrame& frame) { frame.GetView()->Model().SetText(CSheetModel::IndexOf(4, 1), "N1", true); }},
        {"清除文字",
         [](CMainFrame& frame) {
             AnswerNextMessageBox(QMessageBox::Yes);
             RunAction(*frame.Controller(), "actionClearText");
         }},
        {"自动缩小", command("actionAutoShrink")},
        {"靠上左对齐", command("actionAlignTopLeft")},
        {"靠上中对齐", command("actionAlignTopCentre")},
        {"靠上右对齐", command("actionAlignTopRight")},
        {"靠中左对齐", command("actionAlignMiddleLeft")},
        {"靠中中对齐", command("actionAlignMiddleCentre")},
        {"靠中右对齐", command("actionAlignMiddleRight")},
        {"靠下左对齐", command("actionAlignBottomLeft")},
        {"靠下中对齐", command("actionAlignBottomCentre")},
        {"靠下右对齐", command("actionAlignBottomRight")},
        {"文字方向", command("actionDirectionUp")},
        {"文字方向", command("actionDirectionVertical")},
        {"字体",
         [](CMainFrame& frame) {
             AnswerNextDialog<CFontColorDlg>([](CFontColorDlg* pDlg) {
                 pDlg->SetColor(QColor(0x12, 0x34, 0x56));
                 QMetaObject::invokeMethod(pDlg, "accept");
             });
             RunAction(*frame.Controller(), "actionFont");
         }},
        {"填入线号",
         [](CMainFrame& frame) {
             // 导入线号表, a workbook of six markers, 填入本页 once the whole
             // list is read, then the dialog closed.
             AnswerNextFileDialog(QStringLiteral(TAVRO_TEST_DATA "/wirelists/libreoffice.xlsx"));
             AnswerNextDialog<CWireListDlg>([](CWireListDlg* pDlg) {
                 EXPECT_TRUE(QTest::qWaitFor(
                     [pDlg] { return pDlg->CountText().startsWith(QStringLiteral("共 6 个标签")); }));
                 pDlg->OnFill();
                 pDlg->reject();
             });
             RunAction(*frame.Controller(), "actionImportWireList");
         }},
        {"序列编号",
         [](CMainFrame& frame) {
             // A pattern of more markers than selected labels fills them all.
             AnswerNextDialog<CSequencePatternDlg>([](CSequencePatternDlg* pDlg) {
                 pDlg->findChild<QComboBox*>()->setEditText(QStringLiteral("X{1-3}:{1-24}"));
                 pDlg->findChild<QPushButton*>(QStringLiteral("fill"))->click();
             });
             RunAction(*frame.Controller(), "actionSequencePattern");
         }},
        {"标签设置",
         [](CMainFrame& frame) {
             // Every margin and the line spacing typed as 1.5 mm.
             AnswerNextDialog<CMarginDlg>([](CMarginDlg* pDlg) {
                 for (QLineEdit* pEdit : pDlg->findChildren<QLineEdit*>())
                     pEdit->setText(QStringLiteral("15"));
                 QMetaObject::invokeMethod(pDlg, "accept");
             });
             RunAction(*frame.Controller(), "actionLabelSettings");
         }},
    };
    CSheetModel& model = Doc()->Model();
    QUndoStack& stack = model.UndoStack();
    for (const Case& t : cases) {
        SCOPED_TRACE(t.step);
        model.Load(VariedSheet(model.Sheet()));
        // Dialogs run the event loop, and every painting notes the rendered
        // font sizes in the labels: those are left out.
        const CSheet before = Content(model.Sheet());
        t.edit(*Frame());
        const CSheet after = Content(model.Sheet());
        ASSERT_EQ(stack.count(), 1);
        EXPECT_EQ(stack.undoText(), QString::fromUtf8(t.step));
        EXPECT_TRUE(Doc()->IsModified());

        QSignalSpy labels(&model, &CSheetModel::labelsChanged);
        stack.undo();
        EXPECT_TRUE(SheetBytes(Content(model.Sheet())) == SheetBytes(before));
        EXPECT_FALSE(Doc()->IsModified());
        // Exactly the labels the step changed repaint.
        const std::set<LabelIndex> changed = Differing(before, after);
        EXPECT_FALSE(changed.empty());
        ASSERT_EQ(labels.count(), 1);
        const auto indices = labels.at(0).at(0).value<QList<LabelIndex>>();
        EXPECT_EQ(std::set<LabelIndex>(indices.begin(), indices.end()), changed);
        stack.redo();
        EXPECT_TRUE(SheetBytes(Content(model.Sheet())) == SheetBytes(after));
        EXPECT_TRUE(Doc()->IsModified());
    }
}

// Undoing a fill gives back the texts, and leaves the selection made since.
TEST_F(AppTest, UndoKeepsTheCurrentSelection)
{
    CSheetModel& model = Doc()->Model();
    model.Load(VariedSheet(model.Sheet()));
    View()->Model().SetText(CSheetModel::IndexOf(0, 1), "X", true);
    View()->Model().Select(SelectionRule::All);
    EXPECT_EQ(model.UndoStack().count(), 1);
    model.UndoStack().undo();
    EXPECT_EQ(model.Label(0, 1).m_strText, "W1");
    EXPECT_EQ(model.SelectedCount(), model.Format().m_nRows * model.Format().m_nColumns);
    // The selection changed since the load: the document stays modified.
    EXPECT_TRUE(Doc()->IsModified());
}

TEST_F(AppTest, TheModifiedMarkFollowsTheSavedPointOfTheHistory)
{
    const QString path = PathOf(QStringLiteral("undo.tav"));
    View()->Model().SetText(CSheetModel::IndexOf(0, 0), "A", true);
    EXPECT_EQ(ShownTitle(Frame()), QStringLiteral("无标题* - TAVRO"));
    ASSERT_TRUE(Frame()->Controller()->SaveAs(path));
    EXPECT_EQ(ShownTitle(Frame()), QStringLiteral("undo.tav - TAVRO"));
    View()->Model().SetText(CSheetModel::IndexOf(0, 1), "B", true);
    EXPECT_EQ(ShownTitle(Frame()), QStringLiteral("undo.tav* - TAVRO"));

    QUndoStack& stack = Doc()->Model().UndoStack();
    stack.undo(); // back to what was saved
    EXPECT_FALSE(Doc()->IsModified());
    EXPECT_EQ(ShownTitle(Frame()), QStringLiteral("undo.tav - TAVRO"));
    bool bAsked = false;
    QTimer::singleShot(0, [&bAsked] {
        if (QWidget* pModal = QApplication::activeModalWidget()) {
            bAsked = true;
            QMetaObject::invokeMethod(pModal, "reject");
        }
    });
    EXPECT_TRUE(Frame()->Controller()->SaveModified());
    QApplication::processEvents();
    EXPECT_FALSE(bAsked);

    stack.undo(); // before the save: modified again
    EXPECT_TRUE(Doc()->IsModified());
    EXPECT_EQ(ShownTitle(Frame()), QStringLiteral("undo.tav* - TAVRO"));
    stack.redo();
    EXPECT_FALSE(Doc()->IsModified());

    // New starts an empty history.
    View()->Model().SetText(CSheetModel::IndexOf(0, 1), "C", true);
    Doc()->OnNewDocument(Doc()->Model().Format());
    EXPECT_FALSE(stack.canUndo());
    EXPECT_FALSE(stack.canRedo());
    EXPECT_FALSE(Doc()->IsModified());
}

TEST_F(AppTest, TheEditMenuNamesTheStepsUndoAndRedoWouldTake)
{
    Frame()->show();
    QApplication::setActiveWindow(Frame());
    const QList<QAction*> menus = Frame()->menuBar()->actions();
    ASSERT_GE(menus.size(), 3);
    EXPECT_EQ(menus[0]->text(), QStringLiteral("文件(&F)"));
    EXPECT_EQ(menus[1]->text(), QStringLiteral("编辑(&E)"));
    EXPECT_EQ(menus[2]->text(), QStringLiteral("文字(&O)"));
    QStringList items;
    for (QAction* action : menus[1]->menu()->actions())
        items << ShownText(action);
    EXPECT_EQ(items, QStringList({QStringLiteral("撤销(&U)\tCtrl+Z"), QStringLiteral("重做(&R)\tCtrl+Y"),
                                  QStringLiteral("-"), QStringLiteral("剪切(&T)\tCtrl+X"),
                                  QStringLiteral("复制(&C)\tCtrl+C"), QStringLiteral("粘贴(&P)\tCtrl+V")}));

    QAction* undo = Frame()->Action("actionUndo");
    QAction* redo = Frame()->Action("actionRedo");
    EXPECT_FALSE(undo->isEnabled());
    EXPECT_FALSE(redo->isEnabled());
    EXPECT_FALSE(undo->statusTip().isEmpty());
    EXPECT_FALSE(redo->statusTip().isEmpty());

    View()->Model().SetText(CSheetModel::IndexOf(0, 0), "A", true);
    EXPECT_TRUE(undo->isEnabled());
    EXPECT_EQ(ShownText(undo), QStringLiteral("撤销 标签文字(&U)\tCtrl+Z"));
    EXPECT_EQ(undo->toolTip(), QStringLiteral("撤销 标签文字"));
    QTest::keyClick(Frame(), Qt::Key_Z, Qt::ControlModifier);
    QApplication::processEvents();
    EXPECT_EQ(Doc()->Model().Label(0, 0).m_strText, "");
    EXPECT_FALSE(undo->isEnabled());
    EXPECT_TRUE(redo->isEnabled());
    EXPECT_EQ(redo->toolTip(), QStringLiteral("重做 标签文字"));
    QTest::keyClick(Frame(), Qt::Key_Y, Qt::ControlModifier);
    QApplication::processEvents();
    EXPECT_EQ(Doc()->Model().Label(0, 0).m_strText, "A");
    QTest::keyClick(Frame(), Qt::Key_Backspace, Qt::AltModifier);
    QApplication::processEvents();
    EXPECT_EQ(Doc()->Model().Label(0, 0).m_strText, "");
    QTest::keyClick(Frame(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(Doc()->Model().Label(0, 0).m_strText, "A");

    const QList<QAction*> buttons = Frame()->FileToolBar()->actions();
    EXPECT_TRUE(buttons.contains(undo));
    EXPECT_TRUE(buttons.contains(redo));
}

// 序列编号: the dialog counts the pattern's markers against the selected
// labels as it is typed; a pattern of more markers than labels fills the
// selected ones in scan order, or prints as a job over as many sheets as it
// needs; the box offers the patterns used last.
TEST_F(AppTest, SequencePatternsFillTheSelectedLabelsOrPrintAsAJob)
{
    CSheetModel& model = Doc()->Model(); // 5 × 14, every label selected
    QString countText;
    AnswerNextDialog<CSequencePatternDlg>([&](CSequencePatternDlg* pDlg) {
        auto* box = pDlg->findChild<QComboBox*>();
        box->setEditText(QStringLiteral("X{1-9/0}"));
        EXPECT_EQ(pDlg->CountText(), QStringLiteral("第 6 个字符：步长不能为 0。"));
        box->setEditText(QStringLiteral("{1-1}").repeated(51));
        EXPECT_EQ(pDlg->CountText(), QStringLiteral("第 251 个字符：一个序列最多 50 个计数器。"));
        EXPECT_FALSE(pDlg->findChild<QPushButton*>(QStringLiteral("fill"))->isEnabled());
        box->setEditText(QStringLiteral("X{1-3}:{1-24}"));
        EXPECT_EQ(pDlg->CountText(), QStringLiteral("共 72 个，已选 70 个标签"));
        AnswerNextDialog<CWireListDlg>([&](CWireListDlg* pJob) {
            countText = pJob->CountText();
            pJob->reject();
        });
        pDlg->findChild<QPushButton*>(QStringLiteral("print"))->click();
    });
    RunAction(*Frame()->Controller(), "actionSequencePattern");
    EXPECT_EQ(countText, QStringLiteral("共 72 个标签，需要 2 页"));
    EXPECT_FALSE(model.UndoStack().canUndo()); // printing changes no label

    AnswerNextDialog<CSequencePatternDlg>([](CSequencePatternDlg* pDlg) {
        auto* box = pDlg->findChild<QComboBox*>();
        EXPECT_EQ(box->itemText(0), QStringLiteral("X{1-3}:{1-24}")); // remembered
        box->setEditText(QStringLiteral("-K{1-2}\n{13,14}"));
        pDlg->findChild<QPushButton*>(QStringLiteral("fill"))->click();
    });
    RunAction(*Frame()->Controller(), "actionSequencePattern");
    EXPECT_EQ(model.UndoStack().undoText(), QStringLiteral("序列编号"));
    EXPECT_EQ(model.Label(0, 0).m_strText, "-K1\r\n13");
    EXPECT_EQ(model.Label(0, 3).m_strText, "-K2\r\n14");
    EXPECT_EQ(model.Label(0, 4).m_strText, ""); // beyond the four markers
}
