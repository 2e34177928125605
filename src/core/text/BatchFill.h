#pragma once

#include "text/LabelGrid.h"

#include <string>

// What the batch text dialog hands to the set-text command. Texts are code
// page 936 bytes.
struct CBatchFillRequest
{
    enum Mode { SameText = 0, Number = 1, Letter = 2 };

    std::string m_strPrefix;
    std::string m_strMiddle;
    std::string m_strSuffix;
    int m_nMode = SameText;
    bool m_bSkipFilled = true;
    int m_nCount = 999; // at most this many selected labels are counted
};

// Fills the selected labels of `grid` in grid order:
// - same text: prefix + middle + suffix; with skipping a label that has text
//   keeps it but still counts;
// - number: the middle advanced with IncrementNumber, the first label taking
//   the number itself. Without skipping, a number that no longer fits the
//   width empties the label and the fill goes on; with skipping, labels that
//   have text are passed over without counting and a number that no longer
//   fits ends the fill;
// - letter: the middle advanced with IncrementLetter, the first label taking
//   the letter after the entered one. Every selected label counts. Without
//   skipping, the labels after the one that got Z or z are emptied; with
//   skipping, labels that have text are left alone and the fill ends after
//   writing Z or z.
// Nothing is written when prefix, middle and suffix are all empty.
// Returns every label whose text was stored, also where the stored text
// equals the old one: each of those tells the view it changed.
ChangedLabels FillLabels(const LabelGrid& grid, const CBatchFillRequest& request);

// Empties the text of every selected label; returns them all.
ChangedLabels ClearLabels(const LabelGrid& grid);
