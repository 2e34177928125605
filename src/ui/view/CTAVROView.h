#pragma once

#include "model/CPageFormat.h"
#include "model/CSheet.h"
#include "text/LabelGrid.h"
#include "view/ViewGeometry.h"

#include <QAbstractScrollArea>
#include <QPen>

#include <array>
#include <vector>

class CLabelWnd;
class CSheetModel;
class CTAVRODoc;

// The one view of the document: the document's sheet model drawn to scale
// with its rulers, hosting one label cell widget per label. It repaints on
// the model's signals and edits the sheet only through the model.
//
// The 25 × 15 cells are made once and live as long as the view; a sheet
// format only decides which of them show. Cells outside rows × columns keep
// their content while hidden.
class CTAVROView : public QAbstractScrollArea
{
    Q_OBJECT

public:
    explicit CTAVROView(CTAVRODoc* pDocument, QWidget* parent = nullptr);
    ~CTAVROView() override;

    CSheetModel& Model() const { return *m_pModel; }
    const CPageFormat& Format() const;
    // The model's sheet, and a sheet loaded into the model (not modified).
    // ShowNewSheet() follows a load.
    const CSheet& GetSheet() const;
    void SetSheet(const CSheet& sheet);
    // After every new or opened document: zoom, show the cells of rows ×
    // columns, lay them out. Emits newSheetShown().
    void ShowNewSheet();

    // Zoom and scroll size from the client height.
    void UpdateZoom();
    // Zoom, size and place every cell of rows × columns, and show it.
    void LayoutLabels();

    // The cell of the grid, row 0..24 and column 0..14; null outside.
    CLabelWnd* Label(int nRow, int nColumn) const;
    // The scroll size: the scaled page plus 80 pixels each way.
    QSize ScrollSize() const { return {m_rcExtent.Width(), m_rcExtent.Height()}; }

    // Full-page display on or off (menu "整页显示").
    void OnFullPage();
    bool IsFullPage() const;

    double m_dMinZoom = kNormalMinZoom; // pixels per mm; 0 in full-page display
    double m_dZoom = 2.5;               // screen pixels per mm

Q_SIGNALS:
    void newSheetShown();
    // A label was double-clicked: its text is the user's to edit.
    void labelDoubleClicked(int nIndex);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void OnLabelsChanged(const QList<int>& indices);
    void OnFormatChanged();
    // Makes the band's window.
    void InitSelection();
    // Calls fn(cell) for every cell of rows × columns, in the grid walk.
    template <typename Fn>
    void ForEachGridLabel(Fn fn) const;
    CViewZoom CurrentZoom() const { return {m_dZoom, m_rcExtent.right, m_rcExtent.bottom}; }
    CPixelPoint ScrollPosition() const;

    CSheetModel* m_pModel;
    std::array<std::array<CLabelWnd*, CPageFormat::kMaxColumns>, CPageFormat::kMaxRows> m_pLabels{};
    CPixelRect m_rcExtent; // (0, 0, scroll width, scroll height)
    QPen m_penRuler;
    QPen m_penBackground;

    // The rubber band: started by a left or right press on the page
    // background, ended by the first left or right release, which decides
    // whether the labels it touches are selected or deselected.
    bool m_bDragging = false;
    CPixelPoint m_ptDragStart; // view client pixels
    CPixelPoint m_ptDragEnd;
    QWidget* m_pBand = nullptr; // draws the band above the cells
};
