#pragma once

#include "model/CLabelRecord.h"

#include <QPen>
#include <QWidget>

#include <string>

class QPainter;

// One label of the sheet: a child widget of the view's page that owns the
// label's record (text, font, colour, alignment, margins, line spacing,
// shrink-to-fit and selection flag), paints itself and takes the mouse. The
// view sets its size in millimetres and its zoom before it places it.
//
// Every change of the selection or the text through the operations below is
// posted to the view (labelChanged, queued), never sent; Reset and
// LoadRecord notify nothing.
class CLabelWnd : public QWidget
{
    Q_OBJECT

public:
    CLabelWnd(int nRow, int nColumn, QWidget* parent);

    int Row() const { return m_nRow; }
    int Column() const { return m_nCol; }

    void SetZoom(double dZoom) { m_dZoom = dZoom; }
    double Zoom() const { return m_dZoom; }
    void SetSize(double dWidthMm, double dHeightMm);
    // Places the cell at (x, y) of its parent, trunc(width × zoom) by
    // trunc(height × zoom) pixels, and shows it.
    void MoveTo(int x, int y);

    // 1 selected, 0 not; callers test for equality with 1.
    int IsSelected() const { return m_label.m_bSelected; }
    void SetSelected(int nSelected);
    void ToggleSelected();
    // Stores the text (code page 936) when bOverwrite is set or the cell is
    // empty, even when it equals the old text.
    void SetText(const std::string& strText, int bOverwrite);
    const std::string& GetText() const { return m_label.m_strText; }
    // Selected and empty again; formats stay.
    void Reset();

    // The record as the file holds it. Formatting writes into Record() and
    // repaints the cell itself (update()); such writes notify nothing.
    const CLabelRecord& Record() const { return m_label; }
    CLabelRecord& Record() { return m_label; }
    // A record read from a file: assigned and shown, nothing notified.
    void LoadRecord(const CLabelRecord& label);

    // Renders the text into rc of the painter's device; insets and gap in its
    // pixels; nMode −1 for the screen at this cell's zoom, any other value for
    // a device whose resolution the painter's device gives.
    void DrawLabel(QPainter& painter, const QRect& rc, int nInsetLeft, int nInsetTop, int nInsetRight,
                   int nInsetBottom, int nGap, int nMode);

Q_SIGNALS:
    void labelChanged();
    void labelDoubleClicked(CLabelWnd* pLabel);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void PostLabelChanged();

    CLabelRecord m_label;
    int m_nRow;
    int m_nCol;
    double m_dZoom = 2.5;   // screen pixels per mm
    double m_dWidth = 17.0; // mm
    double m_dHeight = 8.0; // mm
    QPen m_penNormal;
    QPen m_penSelInner;
    QPen m_penSelOuter;
};
