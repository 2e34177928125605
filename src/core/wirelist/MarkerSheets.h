#pragma once

#include "model/CSheet.h"
#include "print/PageSelection.h"
#include "wirelist/WireMarkers.h"

#include <cstddef>
#include <string>
#include <vector>

// Markers laid out on as many copies of a sheet as they need. The sheet is
// the template: each marker takes the format of the label at its position
// (font, colour, alignments, margins, shrink-to-fit). The first sheet fills
// the selected labels, row by row, left to right; each following sheet
// fills every label, or with bSelectedOnly the same selected positions.

struct CGridPosition
{
    int m_nRow = 0;
    int m_nColumn = 0;

    bool operator==(const CGridPosition&) const = default;
};

class CMarkerSheets
{
public:
    CMarkerSheets(const CSheet& sheet, const CMarkerList& markers, bool bSelectedOnly);

    // Empty, or why the template cannot take markers (no label selected).
    std::string Check() const;

    const CSheet& Template() const { return m_template; }
    const std::vector<CGridPosition>& FirstPositions() const { return m_first; }
    const std::vector<CGridPosition>& FollowingPositions() const { return m_following; }
    std::size_t MarkerCount() const { return m_markers.Total(); }
    std::size_t SheetCount() const;

    // Print only these sheets of the job (a reprint of sheet 7 of 400); the
    // markers stay where the whole job puts them.
    void SelectSheets(CPageSelection pages) { m_pages = std::move(pages); }
    std::size_t SheetsToPrint() const { return m_pages.CountOf(SheetCount()); }
    const CPageSelection& Pages() const { return m_pages; }

    // The job's next selected sheet, from the first on: only the labels that
    // get a marker are selected, so printing the sheet prints exactly them.
    // Returns false after the last sheet.
    bool NextSheet(CSheet& sheet);
    // The number in the whole job (from 1) of the sheet NextSheet gave last.
    std::size_t SheetNumber() const { return m_nSheet; }

    // Sheet nSheet (from 1) of the whole job, whichever sheets were made
    // before, for a preview that shows any sheet at once; NextSheet goes on
    // after it. Returns false for a number beyond the job.
    bool SheetAt(std::size_t nSheet, CSheet& sheet);

    // Calls fn(nSheet, position, run, nLabel) for every label of the job in
    // order, placed as NextSheet places it: sheet nSheet (from 1), the
    // position on it, and the run and its nLabel'th label (from 0) it shows.
    template <class Fn>
    void ForEachLabel(Fn fn) const
    {
        const std::size_t nSheets = SheetCount();
        std::size_t nSheet = 1;
        std::size_t nPosition = 0;
        for (const CMarkerRun& run : m_markers) {
            for (std::size_t k = 0; k < run.LabelCount() && nSheet <= nSheets; ++k) {
                const std::vector<CGridPosition>& positions = nSheet == 1 ? m_first : m_following;
                fn(nSheet, positions[nPosition], run, k);
                if (++nPosition == positions.size()) {
                    nPosition = 0;
                    ++nSheet;
                }
            }
        }
    }

private:
    const CSheet& m_template;
    const CMarkerList& m_markers;
    std::vector<CGridPosition> m_first;
    std::vector<CGridPosition> m_following;
    bool NextOfAll(CSheet& sheet);

    // A marker of the job: a run and one of its labels (from 0).
    struct CMarkerCursor
    {
        CMarkerList::CIterator m_run;
        std::size_t m_nLabel = 0;
    };
    std::vector<CMarkerCursor> m_sheetStarts; // where each sheet's markers begin, made on first use

    CPageSelection m_pages;
    std::size_t m_nSheet = 0;
    CMarkerCursor m_next; // the next marker to place
};

// Every selected position of the sheet, row by row, left to right.
std::vector<CGridPosition> SelectedPositions(const CSheet& sheet);

// Sheets needed for nMarkers markers with nFirst positions on the first
// sheet and nFollowing on each other one; 0 when they cannot be placed.
std::size_t SheetsNeeded(std::size_t nMarkers, std::size_t nFirst, std::size_t nFollowing);
