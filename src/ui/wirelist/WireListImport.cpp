#include "wirelist/WireListImport.h"

#include "model/CSheetModel.h"
#include "print/CPrintService.h"
#include "view/CTAVROView.h"
#include "wirelist/CSequencePatternDlg.h"
#include "wirelist/CWireListDlg.h"
#include "wirelist/WireListSettings.h"

#include <QFileDialog>

#include <algorithm>

namespace {

// The dialogs' one way into the document: texts into the selected labels,
// row by row, left to right, as one edit named `step`. Returns how many
// labels took a text.
std::size_t ApplyTextsToSelectedLabels(CSheetModel& model, const std::vector<std::string>& texts,
                                       const QString& step)
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
    model.ApplyEdit(model.MakeEdit(indices, after), CSheetModel::Marking::Always, step);
    return nCount;
}

} // namespace

void ImportWireList(QWidget* parent, CTAVROView& view, CPrintService& printing)
{
    const QString path =
        QFileDialog::getOpenFileName(parent, QStringLiteral("导入线号表"), RememberedListFolder(),
                                     QStringLiteral("线号表 (*.csv *.tsv *.txt *.xlsx *.ods);;所有文件 (*)"));
    if (path.isEmpty())
        return;
    ImportWireListFile(parent, view, printing, path);
}

void ImportWireListFile(QWidget* parent, CTAVROView& view, CPrintService& printing, const QString& path)
{
    printing.LoadPrinterChoice();
    const CPageOffset offset = printing.PageOffset();
    CWireListDlg dialog(
        path, view.GetSheet(), offset.m_nMoveX, offset.m_nMoveY,
        [&view](const std::vector<std::string>& texts) {
            return ApplyTextsToSelectedLabels(view.Model(), texts, QStringLiteral("填入线号"));
        },
        parent);
    dialog.exec();
}

void NumberWithPattern(QWidget* parent, CTAVROView& view, CPrintService& printing)
{
    CSequencePatternDlg dialog(SelectedPositions(view.GetSheet()).size(), parent);
    const int nResult = dialog.exec();
    if (!dialog.Pattern())
        return;
    const CSequencePattern& pattern = *dialog.Pattern();
    if (nResult == CSequencePatternDlg::Fill) {
        const std::size_t nCount = std::min(pattern.Count(), SelectedPositions(view.GetSheet()).size());
        std::vector<std::string> texts;
        texts.reserve(nCount);
        for (std::size_t i = 0; i < nCount; ++i)
            texts.push_back(pattern.Marker(i));
        ApplyTextsToSelectedLabels(view.Model(), texts, QStringLiteral("序列编号"));
    } else if (nResult == CSequencePatternDlg::PrintAsJob) {
        printing.LoadPrinterChoice();
        const CPageOffset offset = printing.PageOffset();
        CWireListDlg job(
            pattern, dialog.PatternText(), view.GetSheet(), offset.m_nMoveX, offset.m_nMoveY,
            [&view](const std::vector<std::string>& texts) {
                return ApplyTextsToSelectedLabels(view.Model(), texts, QStringLiteral("序列编号"));
            },
            parent);
        job.exec();
    }
}
