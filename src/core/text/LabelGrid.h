#pragma once

#include "model/CLabelRecord.h"

#include <cstddef>
#include <optional>
#include <vector>

struct CSheet;

// The labels of the current sheet in grid order: row 0 from the left, then
// row 1, and so on over the format's rows × columns. A null entry is a label
// that is absent and is passed over. Every command on the selected labels
// walks this list and acts on the records whose m_bSelected is 1.
using LabelGrid = std::vector<CLabelRecord*>;

// Indices into a LabelGrid of the records a command changed, in grid order.
using ChangedLabels = std::vector<std::size_t>;

// The labels inside the sheet's rows × columns.
LabelGrid GridOf(CSheet& sheet);

bool IsSelectedLabel(const CLabelRecord* pLabel);

// The first selected label: the one whose values a dialog starts from.
std::optional<std::size_t> FindTemplateLabel(const LabelGrid& grid);

// The selection commands: which labels of the grid end up selected.
enum class SelectionRule {
    All,
    None,
    Invert,
    WithText, // exactly the labels with text
    Empty,    // exactly the empty labels
};
void SelectLabels(const LabelGrid& grid, SelectionRule rule);
