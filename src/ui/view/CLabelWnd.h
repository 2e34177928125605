#pragma once

#include "model/CSheetModel.h"

#include <QPixmap>
#include <QWidget>

#include <string>

class QPainter;

// One label of the sheet on screen: a child widget of the view's page that
// shows the model's record of its row and column, paints it and takes the
// mouse. The view sets its size in millimetres and its zoom before it places
// it, and tells it when the model changed its record (RecordChanged).
//
// Its text box is kept as a picture while record, size and zoom stay, but
// only up to kMaxCachedPixels: a larger box is drawn where it is exposed, at
// every paint, so that screen memory does not grow with the label size.
class CLabelWnd : public QWidget
{
    Q_OBJECT

public:
    static constexpr qint64 kMaxCachedPixels = 128 * 1024;

    CLabelWnd(CSheetModel* pModel, int nRow, int nColumn, QWidget* parent);

    int Row() const { return m_nRow; }
    int Column() const { return m_nCol; }
    LabelIndex Index() const { return CSheetModel::IndexOf(m_nRow, m_nCol); }

    void SetZoom(double dZoom) { m_dZoom = dZoom; }
    double Zoom() const { return m_dZoom; }
    void SetSize(double dWidthMm, double dHeightMm);
    // Places the cell at (x, y) of its parent, trunc(width × zoom) by
    // trunc(height × zoom) pixels, and shows it.
    void MoveTo(int x, int y);

    // The model's record of this label.
    const CLabelRecord& Record() const { return m_pModel->Label(Index()); }
    bool IsSelected() const { return Record().IsSelected(); }
    const std::string& GetText() const { return Record().m_strText; }

    // Edits of this label, through the model.
    void SetSelected(bool bSelected);
    void ToggleSelected();
    void SetText(const std::string& strText, bool bOverwrite);

    // The model changed the record: the picture is drawn anew.
    void RecordChanged();
    // Bytes of the text box picture the cell keeps.
    qint64 CachedBytes() const;

Q_SIGNALS:
    void labelDoubleClicked(CLabelWnd* pLabel);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    // The text box inside the inner margins, and the insets and line gap at
    // the current zoom, in cell pixels.
    struct CTextBox
    {
        QRect m_rcBox;
        int m_nLeft = 0;
        int m_nTop = 0;
        int m_nRight = 0;
        int m_nBottom = 0;
        int m_nGap = 0;
    };
    CTextBox TextBox() const;
    // Draws the text into the painter (cell coordinates) and gives the model
    // the font size it drew with.
    void RenderText(QPainter& painter, const CTextBox& box);
    void RenderPicture(const CTextBox& box);
    void PaintTextBox(QPainter& painter, const CTextBox& box, const QRect& rcExposed);
    bool IsPictureCurrent(const CTextBox& box) const;
    // Draws the exact picture once the event loop is idle again.
    void SchedulePicture();

    CSheetModel* m_pModel;
    int m_nRow;
    int m_nCol;
    double m_dZoom = 2.5;   // screen pixels per mm
    double m_dWidth = 17.0; // mm
    double m_dHeight = 8.0; // mm
    // The text box as last drawn, with the zoom it was drawn at; after a zoom
    // change it shows scaled until the exact picture is drawn.
    QPixmap m_picture;
    double m_dPictureZoom = 0.0;
    bool m_bPictureScheduled = false;
};
