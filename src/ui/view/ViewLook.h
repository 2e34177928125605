#pragma once

#include <QRect>

class QPainter;

// The two frames of a label cell, drawn over its content: selected, a dotted
// light-blue outline and a solid blue frame nInset pixels inside it; not
// selected, both dotted grey. The gaps of the dotted lines show what lies
// below.
void DrawCellFrames(QPainter& painter, const QRect& rc, int nInset, bool bSelected);
