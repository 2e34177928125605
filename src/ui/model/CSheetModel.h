#pragma once

#include "model/CSheet.h"
#include "text/LabelGrid.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QUndoStack>

#include <array>
#include <optional>
#include <string>
#include <vector>

// A label of the 25 × 15 grid: row × kMaxColumns + column.
using LabelIndex = int;

// One edit of some labels: each changed label with its record before and
// after. Applying the "after" records does the edit, applying the "before"
// records undoes it, byte for byte.
struct CLabelEdit
{
    std::vector<LabelIndex> m_indices;
    std::vector<CLabelRecord> m_before;
    std::vector<CLabelRecord> m_after;

    bool IsEmpty() const { return m_indices.empty(); }
};

// The sheet of the document: its format and every label record, with the
// modified flag and the undo history. It is the only way to change them:
// every edit goes through ApplyEdit (labels) or the format and load calls, and
// is followed by one notification. Views read it and repaint on its signals.
//
// An edit given a step name is one step of the undo history; selecting is
// not. A step never moves the selection: done, undone or redone, it gives its
// labels the step's texts and formats and leaves each label's selection flag
// as it is at that moment, so undoing a fill keeps what the user has selected
// since. The document is modified while the history is away from its saved
// point or the selection changed since the save (the file stores it).
class CSheetModel : public QObject
{
    Q_OBJECT

public:
    explicit CSheetModel(QObject* parent = nullptr);
    ~CSheetModel() override;

    static constexpr LabelIndex IndexOf(int nRow, int nColumn)
    {
        return nRow * CPageFormat::kMaxColumns + nColumn;
    }
    static constexpr int RowOf(LabelIndex nIndex) { return nIndex / CPageFormat::kMaxColumns; }
    static constexpr int ColumnOf(LabelIndex nIndex) { return nIndex % CPageFormat::kMaxColumns; }
    static constexpr int kLabelCount = CPageFormat::kMaxRows * CPageFormat::kMaxColumns;

    const CSheet& Sheet() const { return m_sheet; }
    const CPageFormat& Format() const { return m_sheet.m_format; }
    const CLabelRecord& Label(LabelIndex nIndex) const;
    const CLabelRecord& Label(int nRow, int nColumn) const { return m_sheet.m_labels[nRow][nColumn]; }
    // The labels of rows × columns, row by row from the top, left to right.
    std::vector<LabelIndex> GridIndices() const;
    // The selected labels of rows × columns, kept up to date before
    // selectionChanged, and the first of them in the grid walk (the template
    // of the format commands).
    int SelectedCount() const { return m_nSelectedCount; }
    std::optional<LabelIndex> FirstSelected() const { return m_firstSelected; }

    bool IsModified() const { return m_bModified; }
    // False: the history's present becomes the saved point. True: modified
    // until the next save, whatever undo does.
    void SetModified(bool bModified);

    QUndoStack& UndoStack() { return m_undoStack; }

    // How an edit that changed nothing counts: some commands mark the
    // document modified whenever the user confirmed them.
    enum class Marking {
        IfChanged,
        Always,
    };
    // The edit that gives `indices` the records `after`, leaving out labels
    // whose record would not change.
    CLabelEdit MakeEdit(const std::vector<LabelIndex>& indices, const std::vector<CLabelRecord>& after) const;
    // The one entry point of every label edit: stores the "after" records,
    // then notifies once (labelsChanged, selectionChanged when a flag moved)
    // and marks the document modified. With a step name the edit becomes one
    // undo step of that name (an edit that changed nothing too when marked
    // Always, so that undo takes back the modified mark).
    void ApplyEdit(const CLabelEdit& edit, Marking marking = Marking::IfChanged, const QString& strStep = {});
    // Runs a core command over a working copy of the grid's records (in grid
    // order) and applies what it changed as one edit. The command returns
    // false when it was cancelled: nothing is applied or marked.
    template <typename Command>
    void EditGrid(Command command, Marking marking = Marking::IfChanged, const QString& strStep = {});

    // Selects the labels of rows × columns by `rule`, no undo step. Select
    // all and the selection by text mark the document only when a flag
    // changed, so a sheet that was all selected stays unmodified; select none
    // and invert always mark it.
    void Select(SelectionRule rule);

    // Shortcuts of ApplyEdit for one label.
    void SetSelected(LabelIndex nIndex, bool bSelected);
    // Stores the text when bOverwrite is set or the label is empty, as the
    // step "标签文字"; the document is modified even when the text equals
    // the old one.
    void SetText(LabelIndex nIndex, const std::string& strText, bool bOverwrite);

    // A new document: `format`, every label empty and selected (their
    // formats stay), not modified. New, load and open empty the history.
    void Reset(const CPageFormat& format);
    // A sheet as a file holds it, not modified.
    void Load(const CSheet& sheet);
    // Reads the file completely; only a file that read whole replaces the
    // sheet (not modified). Any failure leaves the model untouched.
    SheetReadResult Open(const std::string& path, std::optional<char32_t>* unconvertible = nullptr);

    // The font block of a label stores the height and width the screen
    // draws it with (the shrunk size where its text is shrunk to fit), and
    // files are written with them. The view tells the model which labels it
    // shows at which zoom; those keep the sizes the screen draws them with
    // through every edit, a label off screen keeps the sizes it was last
    // shown with, and one never shown keeps what was loaded. This is no
    // edit: it neither notifies nor marks the document modified.
    void SetShownLabels(const std::vector<LabelIndex>& shown, double dZoom);

Q_SIGNALS:
    void labelsChanged(const QList<LabelIndex>& indices);
    void selectionChanged();
    // The format or the whole sheet changed: every label is new.
    void formatChanged();
    void modifiedChanged(bool bModified);

private:
    friend class CLabelStep;

    CLabelRecord& LabelRef(LabelIndex nIndex);
    void ReplaceSheet(CSheet sheet);
    // Stores the records and notifies; marks nothing.
    void StoreRecords(const std::vector<LabelIndex>& indices, const std::vector<CLabelRecord>& records);
    void UpdateModified();
    void CountSelection();
    // Gives a shown label the font sizes of its drawing at the shown zoom.
    void StoreScreenFont(LabelIndex nIndex);

    CSheet m_sheet;
    QUndoStack m_undoStack;
    bool m_bChangedOutsideHistory = false; // since the last save
    bool m_bModified = false;
    int m_nSelectedCount = 0;
    std::optional<LabelIndex> m_firstSelected;
    std::array<bool, kLabelCount> m_shown{};
    double m_dShownZoom = 0.0;
};

template <typename Command>
void CSheetModel::EditGrid(Command command, Marking marking, const QString& strStep)
{
    const std::vector<LabelIndex> indices = GridIndices();
    std::vector<CLabelRecord> draft;
    draft.reserve(indices.size());
    for (LabelIndex nIndex : indices)
        draft.push_back(Label(nIndex));
    std::vector<CLabelRecord*> grid;
    grid.reserve(draft.size());
    for (CLabelRecord& record : draft)
        grid.push_back(&record);
    if (!command(grid))
        return;
    ApplyEdit(MakeEdit(indices, draft), marking, strStep);
}
