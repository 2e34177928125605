#include "view/CTAVROView.h"

#include "base/AppMessageBox.h"
#include "base/CharacterText.h"
#include "clipboard/LabelClipboard.h"
#include "model/CSheetModel.h"
#include "text/BatchFill.h"
#include "text/EditText.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace {

const QString kRecordsType = QString::fromLatin1(kLabelRecordsMimeType);

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
    case CPasteRefusal::Kind::Unreadable:
        break;
    }
    return QStringLiteral("无法粘贴：剪贴板上的文字读不成表格（引号不成对）。");
}

} // namespace

void CTAVROView::OnEditCopy()
{
    const CCopiedLabels copied = CopySelectedLabels(m_pModel->Sheet());
    if (copied.m_nCount == 0)
        return;
    auto* data = new QMimeData;
    data->setText(QString::fromStdString(copied.m_strText));
    data->setData(kRecordsType, QByteArray::fromStdString(copied.m_strRecords));
    QGuiApplication::clipboard()->setMimeData(data);
}

void CTAVROView::OnEditCut()
{
    OnEditCopy();
    m_pModel->EditGrid(
        [](const LabelGrid& grid) {
            ClearLabels(grid);
            return true;
        },
        CSheetModel::Marking::IfChanged, QStringLiteral("剪切"));
}

void CTAVROView::OnEditPaste()
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (!data)
        return;
    const CSheet& sheet = m_pModel->Sheet();
    std::optional<CPastePlacement> placement;
    if (data->hasFormat(kRecordsType))
        if (const auto records = ReadCopiedRecords(data->data(kRecordsType).toStdString()))
            placement = PlaceRecords(sheet, *records);
    if (!placement) {
        const CClipboardTexts texts = ReadClipboardText(data->text().toStdString());
        if (texts.m_refusal) {
            AppMessageBox(this, QMessageBox::Warning, RefusalText(*texts.m_refusal));
            return;
        }
        placement = PlaceTexts(sheet, texts.m_texts);
    }
    std::vector<LabelIndex> indices;
    for (const CGridPosition& position : placement->m_targets)
        indices.push_back(CSheetModel::IndexOf(position.m_nRow, position.m_nColumn));
    m_pModel->ApplyEdit(m_pModel->MakeEdit(indices, placement->m_after), CSheetModel::Marking::IfChanged,
                        QStringLiteral("粘贴"));
    if (placement->m_nLeftOver > 0)
        Q_EMIT statusMessage(
            QStringLiteral("已粘贴到 %1 个标签；剪贴板上另有 %2 个单元格没有可填的所选标签。")
                .arg(placement->m_targets.size())
                .arg(placement->m_nLeftOver));
}
