#pragma once

#include "model/CPageFormat.h"
#include "model/CSheet.h"
#include "view/LabelPictures.h"
#include "view/ViewGeometry.h"

#include <QAbstractScrollArea>
#include <QPen>
#include <QRegion>

#include <optional>

class CSheetModel;
class CTAVRODoc;

// The one view of the document: the document's sheet model drawn to scale
// with its rulers and every label of rows × columns, in one widget. It
// repaints on the model's signals, tells the model which labels it shows at
// which zoom, and edits the sheet only through the model: a press on a label
// selects (left) or deselects (right) it, a press on the page around the
// labels starts a rubber band.
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
    // After every new or opened document: zoom and lay out the sheet, show
    // it. Emits newSheetShown().
    void ShowNewSheet();

    // Zoom and scroll size from the client height.
    void UpdateZoom();
    // After the zoom, the size or the scroll position changed: the labels
    // in view are noted in the model and the page is painted anew.
    void LayoutLabels();

    // The label's cell in viewport pixels: trunc(width × zoom) by
    // trunc(height × zoom) at its place on the page; a null rectangle for a
    // label outside rows × columns.
    QRect LabelRect(int nRow, int nColumn) const;
    // The label of rows × columns under a viewport point.
    std::optional<CGridCell> LabelAt(const QPoint& pt) const;
    // The scroll size: the scaled page plus 80 pixels each way.
    QSize ScrollSize() const { return {m_rcExtent.Width(), m_rcExtent.Height()}; }
    // Bytes of the label pictures the view keeps.
    qint64 PictureBytes() const { return m_pictures.CachedBytes(); }

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
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    bool viewportEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void OnLabelsChanged(const QList<int>& indices);
    void OnFormatChanged();
    CViewZoom CurrentZoom() const { return {m_dZoom, m_rcExtent.right, m_rcExtent.bottom}; }
    CPixelPoint ScrollPosition() const;
    CLabelLayout Layout() const;
    // Tells the model the labels in view (none while the view is hidden).
    void NoteShownLabels();
    void PaintPage(QPainter& painter);
    void PaintLabels(QPainter& painter, const QRect& rcExposed);
    // After a paint with scaled pictures standing in: the next pass of the
    // event loop paints the exact ones.
    void ScheduleExactPictures();
    // The rubber band from its start to the pointer, in viewport pixels.
    QRect DragBand() const;

    CSheetModel* m_pModel;
    CLabelPictures m_pictures;
    bool m_bExactPicturesScheduled = false;
    bool m_bDrawExactPictures = false;
    QRegion m_standIns;    // where scaled pictures stand in for exact ones
    CPixelRect m_rcExtent; // (0, 0, scroll width, scroll height)
    QPen m_penBand;

    // The rubber band: started by a left or right press on the page
    // background, ended by the first left or right release, which decides
    // whether the labels it touches are selected or deselected.
    bool m_bDragging = false;
    CPixelPoint m_ptDragStart; // view client pixels
    CPixelPoint m_ptDragEnd;
};
