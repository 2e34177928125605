#pragma once

#include "model/CLabelRecord.h"
#include "model/CSheet.h"
#include "wirelist/MarkerSheets.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Labels on the clipboard, in three forms. For spreadsheets, text: the rows
// of the selection's bounding box, cells separated by tabs, an unselected
// position an empty cell, a label of several lines a quoted cell (as
// spreadsheets write them); and the same cells as an HTML table, which
// spreadsheet programs read with each cell's line breaks and as text (a
// label such as "=+S1-K1:13" is no formula to them). For this program, the
// whole records of the selected labels in scan order (row by row, left to
// right).

// The private type of the record form.
inline constexpr const char* kLabelRecordsMimeType = "application/x-tavromark-labels";

struct CCopiedLabels
{
    std::string m_strText;    // UTF-8, each row ended by LF; empty when nothing is selected
    std::string m_strHtml;    // UTF-8, the same cells as an HTML document with one table
    std::string m_strRecords; // the record form
    std::size_t m_nCount = 0; // labels copied
};

CCopiedLabels CopySelectedLabels(const CSheet& sheet);

// The records of the record form; nullopt for bytes that are not one whole.
std::optional<std::vector<CLabelRecord>> ReadCopiedRecords(std::string_view bytes);

// Why pasted text cannot go into labels: a cell (row and column from 1) holds
// a character code page 936 cannot hold, or more stored bytes than a label
// takes; the table is larger than a wire list may be; or the text is no
// table at all.
struct CPasteRefusal
{
    enum class Kind {
        Unholdable,
        TooLong,
        TooManyRows,  // m_nLimit
        TooManyCells, // m_nLimit, the empty cells a span adds counted
        TooMuchText,  // m_nLimit bytes
        Unreadable,
    };
    Kind m_kind = Kind::Unreadable;
    std::size_t m_nRow = 0;
    std::size_t m_nColumn = 0;
    std::string m_strCharacter; // Unholdable: the character, UTF-8
    std::size_t m_nLength = 0;  // TooLong: the stored bytes
    std::size_t m_nLimit = 0;
};

struct CClipboardTexts
{
    std::vector<std::string> m_texts; // stored form (code page 936, CR LF), reading order
    std::optional<CPasteRefusal> m_refusal;
};

// The cells of clipboard text (tab- or comma-separated, quoted cells may hold
// line breaks) in reading order, each as a label stores it. Either all cells
// can be stored, or none is given and the first that cannot is named. The
// limits of a wire list hold, checked as the text is read.
CClipboardTexts ReadClipboardText(std::string_view utf8);
// The same for the first table of clipboard HTML, the form spreadsheet
// programs give with a cell's line breaks, under the same limits (a cell
// spanning columns counts as that many); Unreadable without a table.
CClipboardTexts ReadClipboardHtml(std::string_view html);

// A paste: the selected labels it changes, in scan order, with their new
// records, and the cells left over for want of selected labels. Texts only
// keep each label's format; whole records keep each label's selection flag.
struct CPastePlacement
{
    std::vector<CGridPosition> m_targets;
    std::vector<CLabelRecord> m_after;
    std::size_t m_nLeftOver = 0;
};

CPastePlacement PlaceTexts(const CSheet& sheet, const std::vector<std::string>& texts);
CPastePlacement PlaceRecords(const CSheet& sheet, const std::vector<CLabelRecord>& records);
