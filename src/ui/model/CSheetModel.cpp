#include "model/CSheetModel.h"

#include "model/LabelChanges.h"
#include "render/LabelRenderer.h"
#include "view/ViewGeometry.h"

#include <QUndoCommand>

#include <algorithm>

// One undo step: the changed labels' records before and after, packed.
class CLabelStep : public QUndoCommand
{
public:
    CLabelStep(CSheetModel& model, const QString& strName, const CLabelEdit& edit)
        : QUndoCommand(strName), m_model(model), m_changes(edit.m_indices, edit.m_before, edit.m_after)
    {}

    void undo() override { Restore(&CPackedLabelChanges::Before); }
    void redo() override { Restore(&CPackedLabelChanges::After); }

private:
    void Restore(CLabelRecord (CPackedLabelChanges::*side)(std::size_t) const)
    {
        std::vector<LabelIndex> indices;
        std::vector<CLabelRecord> records;
        indices.reserve(m_changes.Count());
        records.reserve(m_changes.Count());
        for (std::size_t i = 0; i < m_changes.Count(); ++i) {
            const LabelIndex nIndex = m_changes.Index(i);
            CLabelRecord record = (m_changes.*side)(i);
            record.m_bSelected = m_model.Label(nIndex).m_bSelected;
            indices.push_back(nIndex);
            records.push_back(std::move(record));
        }
        m_model.StoreRecords(indices, records);
    }

    CSheetModel& m_model;
    CPackedLabelChanges m_changes;
};

CSheetModel::CSheetModel(QObject* parent) : QObject(parent)
{
    connect(&m_undoStack, &QUndoStack::cleanChanged, this, &CSheetModel::UpdateModified);
    CountSelection();
}

// The history empties itself as it goes, and must tell no one.
CSheetModel::~CSheetModel()
{
    m_undoStack.blockSignals(true);
}

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

void CSheetModel::CountSelection()
{
    m_nSelectedCount = 0;
    m_firstSelected.reset();
    for (const LabelIndex nIndex : GridIndices()) {
        if (!Label(nIndex).IsSelected())
            continue;
        if (!m_firstSelected)
            m_firstSelected = nIndex;
        ++m_nSelectedCount;
    }
}

void CSheetModel::SetModified(bool bModified)
{
    m_bChangedOutsideHistory = bModified;
    if (!bModified)
        m_undoStack.setClean();
    UpdateModified();
}

void CSheetModel::UpdateModified()
{
    const bool bModified = m_bChangedOutsideHistory || !m_undoStack.isClean();
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

void CSheetModel::ApplyEdit(const CLabelEdit& edit, Marking marking, const QString& strStep)
{
    if (edit.IsEmpty() && marking == Marking::IfChanged)
        return;
    if (!strStep.isEmpty()) {
        m_undoStack.push(new CLabelStep(*this, strStep, edit));
        return;
    }
    StoreRecords(edit.m_indices, edit.m_after);
    m_bChangedOutsideHistory = true;
    UpdateModified();
}

void CSheetModel::StoreRecords(const std::vector<LabelIndex>& indices,
                               const std::vector<CLabelRecord>& records)
{
    bool bSelectionMoved = false;
    QList<LabelIndex> changed;
    for (std::size_t i = 0; i < indices.size(); ++i) {
        CLabelRecord& label = LabelRef(indices[i]);
        if (label == records[i])
            continue;
        const bool bSelectionChanged = label.IsSelected() != records[i].IsSelected();
        bSelectionMoved = bSelectionMoved || bSelectionChanged;
        CLabelRecord looksAsBefore = records[i];
        looksAsBefore.m_bSelected = label.m_bSelected;
        const bool bLooksDifferent = !(looksAsBefore == label);
        label = records[i];
        if (bLooksDifferent && m_shown[indices[i]])
            StoreScreenFont(indices[i]);
        changed.append(indices[i]);
    }
    if (!changed.isEmpty())
        Q_EMIT labelsChanged(changed);
    if (bSelectionMoved) {
        CountSelection();
        Q_EMIT selectionChanged();
    }
}

void CSheetModel::Select(SelectionRule rule)
{
    const bool bAlwaysMarks = rule == SelectionRule::None || rule == SelectionRule::Invert;
    EditGrid(
        [rule](const LabelGrid& grid) {
            SelectLabels(grid, rule);
            return true;
        },
        bAlwaysMarks ? Marking::Always : Marking::IfChanged);
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
    ApplyEdit(MakeEdit({nIndex}, {after}), Marking::Always, QStringLiteral("标签文字"));
}

void CSheetModel::ReplaceSheet(CSheet sheet)
{
    m_sheet = std::move(sheet);
    // Every label keeps what was loaded until the view shows it.
    m_shown = {};
    m_undoStack.clear();
    CountSelection();
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

void CSheetModel::SetShownLabels(const std::vector<LabelIndex>& shown, double dZoom)
{
    const bool bNewZoom = dZoom != m_dShownZoom;
    std::array<bool, kLabelCount> bWasShown{};
    bWasShown.swap(m_shown);
    m_dShownZoom = dZoom;
    for (const LabelIndex nIndex : shown) {
        m_shown[nIndex] = true;
        if (bNewZoom || !bWasShown[nIndex])
            StoreScreenFont(nIndex);
    }
}

void CSheetModel::StoreScreenFont(LabelIndex nIndex)
{
    CLabelRecord& label = LabelRef(nIndex);
    const CPixelRect rcCell{0, 0, LabelPixelWidth(Format().m_dLabelWidth, m_dShownZoom),
                            LabelPixelHeight(Format().m_dLabelHeight, m_dShownZoom)};
    const CDeviceInsets insets = ScreenInsets(label, m_dShownZoom);
    // A text box with no room draws nothing.
    if (TextBoxOf(rcCell, insets).IsEmpty())
        return;
    const CRenderedFont font = ScreenLabelFont(label, ToQRect(rcCell), insets, m_dShownZoom);
    label.m_logFont.lfHeight = font.m_nHeight;
    label.m_logFont.lfWidth = font.m_nWidth;
}
