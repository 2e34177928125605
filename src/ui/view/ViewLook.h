#pragma once

#include <QRect>

struct CPageDrawing;

class QPainter;

// The two frames of a label cell, drawn over its content: selected, a dotted
// light-blue outline and a solid blue frame nInset pixels inside it; not
// selected, both dotted grey. The gaps of the dotted lines show what lies
// below.
void DrawCellFrames(QPainter& painter, const QRect& rc, int nInset, bool bSelected);

// The page to scale on grey, with its shadow, the paper 8 mm around it, the
// dotted page outline, and the two ruler frames 1 mm and 5 mm outside it
// with the row and column numbers between them, in document pixels.
void DrawPage(QPainter& painter, const CPageDrawing& drawing, double dZoom, int nDpiY);
