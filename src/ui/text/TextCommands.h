#pragma once

#include "text/LabelGrid.h"

#include <optional>

class CBatchTextDlg;
class QWidget;

// The dialogs of the text and format commands run over the labels of the
// sheet in grid order. Each returns the labels it changed (the view repaints
// those with text and tells the document), or nullopt when the user cancelled
// or no label is selected.

// Set text: the batch dialog, then the fill. `dlg` is the program's one
// batch dialog, so that it remembers its values.
std::optional<ChangedLabels> RunSetText(CBatchTextDlg& dlg, const LabelGrid& grid);

// Clear text: asks "是否清除所选的标签文字？" (Yes / No); on Yes empties every
// selected label.
std::optional<ChangedLabels> RunClearText(QWidget* parent, const LabelGrid& grid);

// A double click: the single label text dialog on `label`; true when OK
// stored the text (also an unchanged one).
bool RunLabelText(QWidget* parent, CLabelRecord& label);

// Font: the font dialog with colour, starting from the first selected label;
// on OK the font record, colour and height go to every selected label.
std::optional<ChangedLabels> RunFont(QWidget* parent, const LabelGrid& grid);

// Label settings: the margin dialog, starting from the first selected label;
// on OK the margins and line spacing go to every selected label. The margins
// must leave room for text in labels of the sheet's size (mm).
std::optional<ChangedLabels> RunLabelSettings(QWidget* parent, const LabelGrid& grid, double dLabelWidth,
                                              double dLabelHeight);
