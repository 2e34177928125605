#include "wirelist/WireListImport.h"

#include "print/PageOffsetSettings.h"
#include "view/CLabelWnd.h"
#include "view/CTAVROView.h"
#include "wirelist/CWireListDlg.h"

#include <QFileDialog>

#include <algorithm>

namespace {

// The dialog's one way into the document: texts into the selected labels,
// row by row, left to right. Returns how many labels took a text.
std::size_t ApplyTextsToSelectedLabels(CTAVROView& view, const std::vector<std::string>& texts)
{
    const std::vector<CGridPosition> positions = SelectedPositions(view.GetSheet());
    const std::size_t nCount = std::min(positions.size(), texts.size());
    for (std::size_t i = 0; i < nCount; ++i)
        view.Label(positions[i].m_nRow, positions[i].m_nColumn)->SetText(texts[i], 1);
    return nCount;
}

} // namespace

void ImportWireList(QWidget* parent, CTAVROView& view)
{
    const QString path = QFileDialog::getOpenFileName(
        parent, QStringLiteral("导入线号表"), QString(),
        QStringLiteral("线号表 (*.csv *.tsv *.txt *.xlsx *.ods);;所有文件 (*)"));
    if (path.isEmpty())
        return;
    const CPageOffset offset = ReadPageOffset();
    CWireListDlg dialog(path, view.GetSheet(), offset.m_nMoveX, offset.m_nMoveY,
                        [&view](const std::vector<std::string>& texts) { return ApplyTextsToSelectedLabels(view, texts); },
                        parent);
    dialog.exec();
}
