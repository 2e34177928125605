#include "wirelist/WireListImport.h"

#include "model/CSheetModel.h"
#include "print/PageOffsetSettings.h"
#include "view/CTAVROView.h"
#include "wirelist/CWireListDlg.h"

#include <QFileDialog>

#include <algorithm>

namespace {

// The dialog's one way into the document: texts into the selected labels,
// row by row, left to right, as one edit. Returns how many labels took a
// text.
std::size_t ApplyTextsToSelectedLabels(CSheetModel& model, const std::vector<std::string>& texts)
{
    const std::vector<CGridPosition> positions = SelectedPositions(model.Sheet());
    const std::size_t nCount = std::min(positions.size(), texts.size());
    std::vector<LabelIndex> indices;
    std::vector<CLabelRecord> after;
    for (std::size_t i = 0; i < nCount; ++i) {
        const LabelIndex nIndex = CSheetModel::IndexOf(positions[i].m_nRow, positions[i].m_nColumn);
        CLabelRecord label = model.Label(nIndex);
        label.m_strText = texts[i];
        indices.push_back(nIndex);
        after.push_back(std::move(label));
    }
    model.ApplyEdit(model.MakeEdit(indices, after), CSheetModel::Marking::Always, QStringLiteral("填入线号"));
    return nCount;
}

} // namespace

void ImportWireList(QWidget* parent, CTAVROView& view)
{
    const QString path =
        QFileDialog::getOpenFileName(parent, QStringLiteral("导入线号表"), QString(),
                                     QStringLiteral("线号表 (*.csv *.tsv *.txt *.xlsx *.ods);;所有文件 (*)"));
    if (path.isEmpty())
        return;
    const CPageOffset offset = ReadPageOffset();
    CWireListDlg dialog(
        path, view.GetSheet(), offset.m_nMoveX, offset.m_nMoveY,
        [&view](const std::vector<std::string>& texts) {
            return ApplyTextsToSelectedLabels(view.Model(), texts);
        },
        parent);
    dialog.exec();
}
