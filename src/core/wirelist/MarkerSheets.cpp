#include "wirelist/MarkerSheets.h"

std::vector<CGridPosition> SelectedPositions(const CSheet& sheet)
{
    std::vector<CGridPosition> positions;
    for (int r = 0; r < sheet.m_format.m_nRows; ++r)
        for (int c = 0; c < sheet.m_format.m_nColumns; ++c)
            if (sheet.m_labels[r][c].IsSelected())
                positions.push_back({r, c});
    return positions;
}

std::size_t SheetsNeeded(std::size_t nMarkers, std::size_t nFirst, std::size_t nFollowing)
{
    if (nMarkers == 0 || nFirst == 0)
        return 0;
    if (nMarkers <= nFirst)
        return 1;
    if (nFollowing == 0)
        return 0;
    return 1 + (nMarkers - nFirst + nFollowing - 1) / nFollowing;
}

CMarkerSheets::CMarkerSheets(const CSheet& sheet, const CMarkerList& markers, bool bSelectedOnly)
    : m_template(sheet), m_markers(markers), m_first(SelectedPositions(sheet)), m_next{markers.begin()}
{
    if (bSelectedOnly) {
        m_following = m_first;
        return;
    }
    for (int r = 0; r < sheet.m_format.m_nRows; ++r)
        for (int c = 0; c < sheet.m_format.m_nColumns; ++c)
            m_following.push_back({r, c});
}

std::string CMarkerSheets::Check() const
{
    if (m_first.empty())
        return "no label of the sheet is selected: the markers start at the selected labels";
    return {};
}

std::size_t CMarkerSheets::SheetCount() const
{
    return SheetsNeeded(MarkerCount(), m_first.size(), m_following.size());
}

bool CMarkerSheets::NextSheet(CSheet& sheet)
{
    while (NextOfAll(sheet))
        if (m_pages.Contains(m_nSheet))
            return true;
    return false;
}

bool CMarkerSheets::SheetAt(std::size_t nSheet, CSheet& sheet)
{
    const std::size_t nSheets = SheetCount();
    if (nSheet == 0 || nSheet > nSheets)
        return false;
    if (m_sheetStarts.empty()) {
        // One walk over the runs: a sheet's first label is a run and a label of it.
        m_sheetStarts.reserve(nSheets);
        CMarkerCursor cursor{m_markers.begin()};
        std::size_t nBefore = 0; // labels of the runs before cursor.m_run
        for (std::size_t s = 0; s < nSheets; ++s) {
            const std::size_t nFirstLabel = s == 0 ? 0 : m_first.size() + (s - 1) * m_following.size();
            for (; nBefore + cursor.m_run->LabelCount() <= nFirstLabel; ++cursor.m_run)
                nBefore += cursor.m_run->LabelCount();
            cursor.m_nLabel = nFirstLabel - nBefore;
            m_sheetStarts.push_back(cursor);
        }
    }
    m_nSheet = nSheet - 1;
    m_next = m_sheetStarts[m_nSheet];
    return NextOfAll(sheet);
}

bool CMarkerSheets::NextOfAll(CSheet& sheet)
{
    if (m_nSheet >= SheetCount())
        return false;
    sheet = m_template;
    for (CSheet::Row& row : sheet.m_labels)
        for (CLabelRecord& label : row)
            label.m_bSelected = 0;
    for (const CGridPosition& position : m_nSheet == 0 ? m_first : m_following) {
        if (m_next.m_run == m_markers.end())
            break;
        const CMarkerRun& run = *m_next.m_run;
        CLabelRecord& label = sheet.m_labels[position.m_nRow][position.m_nColumn];
        label.m_strText = run.LabelText(m_next.m_nLabel);
        label.m_bSelected = 1;
        if (++m_next.m_nLabel == run.LabelCount()) {
            m_next.m_nLabel = 0;
            ++m_next.m_run;
        }
    }
    ++m_nSheet;
    return true;
}
