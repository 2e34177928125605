#include "app/CMainController.h"

#include "clipboard/LabelClipboard.h"
#include "model/CTAVRODoc.h"
#include "view/CTAVROView.h"
#include "wirelist/WireListImport.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QUndoStack>

// The edit, text and selection menus.
void CMainController::CreateEditActions()
{
    QUndoStack& history = m_document.Model().UndoStack();
    AddHistoryAction(history.createUndoAction(this, QStringLiteral("撤销")), "actionUndo", "撤销", "(&U)",
                     "撤销上一步操作", "edit-undo", {Qt::CTRL | Qt::Key_Z, Qt::ALT | Qt::Key_Backspace});
    AddHistoryAction(history.createRedoAction(this, QStringLiteral("重做")), "actionRedo", "重做", "(&R)",
                     "重做上一步撤销的操作", "edit-redo",
                     {Qt::CTRL | Qt::Key_Y, Qt::CTRL | Qt::SHIFT | Qt::Key_Z});

    QAction* action =
        AddSelectionAction({"actionCut", "剪切(&T)", "剪切所选标签：复制到剪贴板，再清除其文字", "剪切", ""},
                           {Qt::CTRL | Qt::Key_X, Qt::SHIFT | Qt::Key_Delete});
    connect(action, &QAction::triggered, &m_view, &CTAVROView::OnEditCut);
    action = AddSelectionAction({"actionCopy", "复制(&C)", "把所选标签复制到剪贴板", "复制", ""},
                                {Qt::CTRL | Qt::Key_C, Qt::CTRL | Qt::Key_Insert});
    connect(action, &QAction::triggered, &m_view, &CTAVROView::OnEditCopy);
    action = AddAction({"actionPaste", "粘贴(&P)", "把剪贴板上的内容按行依次填入所选标签", "粘贴", ""},
                       {Qt::CTRL | Qt::Key_V, Qt::SHIFT | Qt::Key_Insert});
    connect(action, &QAction::triggered, &m_view, &CTAVROView::OnEditPaste);
    // Paste depends on what the clipboard holds, whoever put it there.
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this,
            &CMainController::UpdatePasteAction);

    action = AddSelectionAction({"actionClearText", "清除文字(&D)", "清除文字", "清除文字", "clear-text"},
                                {QKeySequence(Qt::Key_Delete)});
    connect(action, &QAction::triggered, &m_view, &CTAVROView::OnClearText);
    action = AddSelectionAction({"actionSetText", "设定文字(&S)", "设定文字", "设定文字", "set-text"},
                                {Qt::CTRL | Qt::Key_T});
    connect(action, &QAction::triggered, &m_view, &CTAVROView::OnSetText);
    action = AddSelectionAction({"actionSequencePattern", "序列编号(&Q)...",
                                 "按序列（如 X{1-3}:{1-24}）编号所选标签，或打印为多页", "序列编号", ""});
    connect(action, &QAction::triggered, this, [this] { NumberWithPattern(m_view.window(), m_view); });

    action = AddAction({"actionSelectAll", "全选(&A)", "全选", "全选", "select-all"},
                       QKeySequence::keyBindings(QKeySequence::SelectAll));
    connect(action, &QAction::triggered, &m_view, &CTAVROView::OnSelectAll);
    action = AddAction({"actionSelectNone", "全不选(&N)", "全不选", "全不选", "select-none"});
    connect(action, &QAction::triggered, &m_view, &CTAVROView::OnSelectNone);
    action = AddAction({"actionInvertSelection", "反选(&V)", "反选", "反选", "select-invert"},
                       {Qt::CTRL | Qt::Key_I});
    connect(action, &QAction::triggered, &m_view, &CTAVROView::OnInvertSelection);
    action = AddAction({"actionSelectText", "选取文字(&T)", "选取文字标签", "选取文字标签", "select-text"});
    connect(action, &QAction::triggered, &m_view, &CTAVROView::OnSelectText);
    action = AddAction({"actionSelectEmpty", "选取空白(&O)", "选取空白标签", "选取空白标签", "select-empty"});
    connect(action, &QAction::triggered, &m_view, &CTAVROView::OnSelectBlank);
}

void CMainController::UpdatePasteAction()
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    const bool bPasteable =
        data && (data->hasFormat(QLatin1String(kLabelRecordsMimeType)) || !data->text().isEmpty());
    Action(QStringLiteral("actionPaste"))->setEnabled(bPasteable && m_document.Model().SelectedCount() > 0);
}
