#include "app/CMainController.h"

#include "base/AppMessageBox.h"
#include "base/CharacterText.h"
#include "clipboard/LabelClipboard.h"
#include "model/CTAVRODoc.h"
#include "text/BatchFill.h"
#include "text/CBatchTextDlg.h"
#include "text/EditText.h"
#include "text/TextCommands.h"
#include "view/CTAVROView.h"
#include "wirelist/WireListImport.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QLocale>
#include <QMimeData>
#include <QUndoStack>

namespace {

const QString kRecordsType = QString::fromLatin1(kLabelRecordsMimeType);

QString Number(std::size_t nValue)
{
    return QLocale(QLocale::English).toString(static_cast<qulonglong>(nValue));
}

QString RefusalText(const CPasteRefusal& refusal)
{
    switch (refusal.m_kind) {
    case CPasteRefusal::Kind::Unholdable:
        return QStringLiteral("无法粘贴：第 %1 行第 %2 列的字符 %3 无法转换为代码页 936（GBK）。")
            .arg(refusal.m_nRow)
            .arg(refusal.m_nColumn)
            .arg(CharacterText(QString::fromStdString(refusal.m_strCharacter)));
    case CPasteRefusal::Kind::TooLong:
        return QStringLiteral("无法粘贴：第 %1 行第 %2 列的文字有 %3 字节，标签文字最多 %4 字节。")
            .arg(refusal.m_nRow)
            .arg(refusal.m_nColumn)
            .arg(refusal.m_nLength)
            .arg(kLabelTextLimit);
    case CPasteRefusal::Kind::TooManyRows:
        return QStringLiteral("无法粘贴：剪贴板上的表格超过 %1 行。").arg(Number(refusal.m_nLimit));
    case CPasteRefusal::Kind::TooManyCells:
        return QStringLiteral("无法粘贴：剪贴板上的表格超过 %1 个单元格（跨几列的单元格算作几个）。")
            .arg(Number(refusal.m_nLimit));
    case CPasteRefusal::Kind::TooMuchText:
        return QStringLiteral("无法粘贴：剪贴板上的文字超过 %1 MB。").arg(Number(refusal.m_nLimit >> 20));
    case CPasteRefusal::Kind::Unreadable:
        break;
    }
    return QStringLiteral("无法粘贴：剪贴板上的文字读不成表格（引号不成对）。");
}

} // namespace

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
    connect(action, &QAction::triggered, this, &CMainController::OnCut);
    action = AddSelectionAction({"actionCopy", "复制(&C)", "把所选标签复制到剪贴板", "复制", ""},
                                {Qt::CTRL | Qt::Key_C, Qt::CTRL | Qt::Key_Insert});
    connect(action, &QAction::triggered, this, &CMainController::OnCopy);
    action = AddAction({"actionPaste", "粘贴(&P)", "把剪贴板上的内容按行依次填入所选标签", "粘贴", ""},
                       {Qt::CTRL | Qt::Key_V, Qt::SHIFT | Qt::Key_Insert});
    connect(action, &QAction::triggered, this, &CMainController::OnPaste);
    // Paste depends on what the clipboard holds, whoever put it there.
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this,
            &CMainController::UpdatePasteAction);

    action = AddSelectionAction({"actionClearText", "清除文字(&D)", "清除文字", "清除文字", "clear-text"},
                                {QKeySequence(Qt::Key_Delete)});
    connect(action, &QAction::triggered, this, &CMainController::OnClearText);
    action = AddSelectionAction({"actionSetText", "设定文字(&S)", "设定文字", "设定文字", "set-text"},
                                {Qt::CTRL | Qt::Key_T});
    connect(action, &QAction::triggered, this, &CMainController::OnSetText);
    connect(&m_view, &CTAVROView::labelDoubleClicked, this, &CMainController::OnLabelDoubleClicked);
    action = AddSelectionAction({"actionSequencePattern", "序列编号(&Q)...",
                                 "按序列（如 X{1-3}:{1-24}）编号所选标签，或打印为多页", "序列编号", ""});
    connect(action, &QAction::triggered, this,
            [this] { NumberWithPattern(m_view.window(), m_view, Printing()); });

    action = AddAction({"actionSelectAll", "全选(&A)", "全选", "全选", "select-all"},
                       QKeySequence::keyBindings(QKeySequence::SelectAll));
    connect(action, &QAction::triggered, this, [this] { m_document.Model().Select(SelectionRule::All); });
    action = AddAction({"actionSelectNone", "全不选(&N)", "全不选", "全不选", "select-none"});
    connect(action, &QAction::triggered, this, [this] { m_document.Model().Select(SelectionRule::None); });
    action = AddAction({"actionInvertSelection", "反选(&V)", "反选", "反选", "select-invert"},
                       {Qt::CTRL | Qt::Key_I});
    connect(action, &QAction::triggered, this, [this] { m_document.Model().Select(SelectionRule::Invert); });
    action = AddAction({"actionSelectText", "选取文字(&T)", "选取文字标签", "选取文字标签", "select-text"});
    connect(action, &QAction::triggered, this,
            [this] { m_document.Model().Select(SelectionRule::WithText); });
    action = AddAction({"actionSelectEmpty", "选取空白(&O)", "选取空白标签", "选取空白标签", "select-empty"});
    connect(action, &QAction::triggered, this, [this] { m_document.Model().Select(SelectionRule::Empty); });
}

void CMainController::UpdatePasteAction()
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    const bool bPasteable =
        data && (data->hasFormat(kRecordsType) || !data->text().isEmpty() || data->hasHtml());
    Action(QStringLiteral("actionPaste"))->setEnabled(bPasteable && m_document.Model().SelectedCount() > 0);
}

void CMainController::OnSetText()
{
    if (!m_pBatchTextDlg)
        m_pBatchTextDlg = new CBatchTextDlg(&m_view);
    // A text stored over an equal one still counts as a change.
    m_document.Model().EditGrid(
        [this](const LabelGrid& grid) {
            const auto changed = RunSetText(*m_pBatchTextDlg, grid);
            return changed && !changed->empty();
        },
        CSheetModel::Marking::Always, QStringLiteral("设定文字"));
}

void CMainController::OnClearText()
{
    m_document.Model().EditGrid(
        [this](const LabelGrid& grid) {
            const auto changed = RunClearText(&m_view, grid);
            return changed && !changed->empty();
        },
        CSheetModel::Marking::Always, QStringLiteral("清除文字"));
}

// OK stores the text, an unchanged one too.
void CMainController::OnLabelDoubleClicked(int nIndex)
{
    CLabelRecord record = m_document.Model().Label(nIndex);
    if (RunLabelText(&m_view, record))
        m_document.Model().SetText(nIndex, record.m_strText, true);
}

void CMainController::OnCopy()
{
    const CCopiedLabels copied = CopySelectedLabels(m_document.Model().Sheet());
    if (copied.m_nCount == 0)
        return;
    auto* data = new QMimeData;
    data->setText(QString::fromStdString(copied.m_strText));
    data->setHtml(QString::fromStdString(copied.m_strHtml));
    data->setData(kRecordsType, QByteArray::fromStdString(copied.m_strRecords));
    QGuiApplication::clipboard()->setMimeData(data);
}

void CMainController::OnCut()
{
    OnCopy();
    m_document.Model().EditGrid(
        [](const LabelGrid& grid) {
            ClearLabels(grid);
            return true;
        },
        CSheetModel::Marking::IfChanged, QStringLiteral("剪切"));
}

void CMainController::OnPaste()
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (!data)
        return;
    CSheetModel& model = m_document.Model();
    std::optional<CPastePlacement> placement;
    if (data->hasFormat(kRecordsType))
        if (const auto records = ReadCopiedRecords(data->data(kRecordsType).toStdString()))
            placement = PlaceRecords(model.Sheet(), *records);
    if (!placement) {
        // A spreadsheet's HTML keeps the line breaks inside its cells, which
        // its plain text loses.
        CClipboardTexts texts;
        if (data->hasHtml())
            texts = ReadClipboardHtml(data->html().toStdString());
        if (!data->hasHtml() ||
            (texts.m_refusal && texts.m_refusal->m_kind == CPasteRefusal::Kind::Unreadable))
            texts = ReadClipboardText(data->text().toStdString());
        if (texts.m_refusal) {
            AppMessageBox(&m_view, QMessageBox::Warning, RefusalText(*texts.m_refusal));
            return;
        }
        placement = PlaceTexts(model.Sheet(), texts.m_texts);
    }
    std::vector<LabelIndex> indices;
    for (const CGridPosition& position : placement->m_targets)
        indices.push_back(CSheetModel::IndexOf(position.m_nRow, position.m_nColumn));
    model.ApplyEdit(model.MakeEdit(indices, placement->m_after), CSheetModel::Marking::IfChanged,
                    QStringLiteral("粘贴"));
    if (placement->m_nLeftOver > 0)
        Q_EMIT statusMessage(
            QStringLiteral("已粘贴到 %1 个标签；剪贴板上另有 %2 个单元格没有可填的所选标签。")
                .arg(placement->m_targets.size())
                .arg(placement->m_nLeftOver));
}
