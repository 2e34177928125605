#include "model/CSheetModel.h"

#include <algorithm>

CSheetModel::CSheetModel(QObject* parent) : QObject(parent)
{}

const CLabelRecord& CSheetModel::Label(LabelIndex nIndex) const
{
    return m_sheet.m_labels[RowOf(nIndex)][ColumnOf(nIndex)];
}

CLabelRecord& CSheetModel::LabelRef(LabelIndex nIndex)
{
    return m_sheet.m_labels[RowOf(nIndex)][ColumnOf(nIndex)];
}

std::vector<LabelIndex> CSheetModel::GridIndices() const
{
    std::vector<LabelIndex> indices;
    const int nRows = std::min<int>(m_sheet.m_format.m_nRows, CPageFormat::kMaxRows);
    const int nColumns = std::min<int>(m_sheet.m_format.m_nColumns, CPageFormat::kMaxColumns);
    for (int r = 0; r < nRows; ++r)
        for (int c = 0; c < nColumns; ++c)
            indices.push_back(IndexOf(r, c));
    return indices;
}

int CSheetModel::SelectedCount() const
{
    const std::vector<LabelIndex> indices = GridIndices();
    return static_cast<int>(std::count_if(indices.begin(), indices.end(),
                                          [this](LabelIndex n) { return Label(n).IsSelected(); }));
}

void CSheetModel::SetModified(bool bModified)
{
    if (m_bModified == bModified)
        return;
    m_bModified = bModified;
    Q_EMIT modifiedChanged(m_bModified);
}

CLabelEdit CSheetModel::MakeEdit(const std::vector<LabelIndex>& indices,
                                 const std::vector<CLabelRecord>& after) const
{
    CLabelEdit edit;
    for (std::size_t i = 0; i < indices.size() && i < after.size(); ++i) {
        const CLabelRecord& before = Label(indices[i]);
        if (before == after[i])
            continue;
        edit.m_indices.push_back(indices[i]);
        edit.m_before.push_back(before);
        edit.m_after.push_back(after[i]);
    }
    return edit;
}

void CSheetModel::ApplyEdit(const CLabelEdit& edit, Marking marking)
{
    bool bSelectionMoved = false;
    QList<LabelIndex> changed;
    for (std::size_t i = 0; i < edit.m_indices.size(); ++i) {
        CLabelRecord& label = LabelRef(edit.m_indices[i]);
        bSelectionMoved = bSelectionMoved || label.IsSelected() != edit.m_after[i].IsSelected();
        label = edit.m_after[i];
        changed.append(edit.m_indices[i]);
    }
    if (!changed.isEmpty())
        Q_EMIT labelsChanged(changed);
    if (bSelectionMoved)
        Q_EMIT selectionChanged();
    if (!changed.isEmpty() || marking == Marking::Always)
        SetModified(true);
}

void CSheetModel::SetSelected(LabelIndex nIndex, bool bSelected)
{
    if (Label(nIndex).IsSelected() == bSelected)
        return;
    CLabelRecord after = Label(nIndex);
    after.SetSelected(bSelected);
    ApplyEdit(MakeEdit({nIndex}, {after}));
}

void CSheetModel::SetText(LabelIndex nIndex, const std::string& strText, bool bOverwrite)
{
    if (!bOverwrite && !Label(nIndex).m_strText.empty())
        return;
    CLabelRecord after = Label(nIndex);
    after.m_strText = strText;
    ApplyEdit(MakeEdit({nIndex}, {after}), Marking::Always);
}

void CSheetModel::ReplaceSheet(CSheet sheet)
{
    m_sheet = std::move(sheet);
    Q_EMIT formatChanged();
    Q_EMIT selectionChanged();
    SetModified(false);
}

void CSheetModel::Reset(const CPageFormat& format)
{
    CSheet sheet = m_sheet;
    sheet.m_format = format;
    for (CSheet::Row& row : sheet.m_labels)
        for (CLabelRecord& label : row) {
            label.SetSelected(true);
            label.m_strText.clear();
        }
    ReplaceSheet(std::move(sheet));
}

void CSheetModel::Load(const CSheet& sheet)
{
    ReplaceSheet(sheet);
}

SheetReadResult CSheetModel::Open(const std::string& path, std::optional<char32_t>* unconvertible)
{
    CSheet sheet = m_sheet;
    const SheetReadResult result = ReadSheetFile(path, sheet, unconvertible);
    if (result == SheetReadResult::Ok)
        ReplaceSheet(std::move(sheet));
    return result;
}

void CSheetModel::NoteScreenFont(LabelIndex nIndex, std::int32_t nHeight, std::int32_t nWidth)
{
    CLogFont& font = LabelRef(nIndex).m_logFont;
    font.lfHeight = nHeight;
    font.lfWidth = nWidth;
}
