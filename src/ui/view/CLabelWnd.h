#pragma once

#include "model/CSheetModel.h"
#include "render/LabelRenderer.h"

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
//
// When the record changes, the picture it replaces is kept aside (up to
// kMaxPreviousPixels): undo and redo give a label back what it showed a step
// before, and that picture is shown again instead of being drawn anew.
class CLabelWnd : public QWidget
{
    Q_OBJECT

public:
    static constexpr qint64 kMaxCachedPixels = 128 * 1024;
    static constexpr qint64 kMaxPreviousPixels = 32 * 1024;

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

    // The model changed the record: the picture is drawn anew unless the
    // text box looks as before (only the selection changed) or as the
    // picture kept aside shows it.
    void RecordChanged();
    // The sheet's format changed: the next paint draws the text box anew.
    void FormatChanged();
    // Bytes of the text box pictures the cell keeps.
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
        CDeviceInsets m_insets;
    };
    CTextBox TextBox() const;
    // A drawing of the text box, with what it was drawn from.
    struct CPicture
    {
        QPixmap m_pixmap;
        CLabelRecord m_shown; // the record as AppearanceOf gives it
        double m_dZoom = 0.0;
        CRenderedFont m_font;

        bool IsNull() const { return m_pixmap.isNull(); }
        qint64 DevicePixels() const { return qint64(m_pixmap.width()) * m_pixmap.height(); }
    };
    // What of a record the text box shows: all but the selection and the
    // font size of the last rendering, which the rendering writes itself.
    static CLabelRecord AppearanceOf(const CLabelRecord& record);
    // The picture shows the record's text box at the current size and zoom.
    bool Shows(const CPicture& picture, const CTextBox& box) const;
    // Draws the text into the painter (cell coordinates) and gives the model
    // the font size it drew with.
    void RenderText(QPainter& painter, const CTextBox& box);
    void RenderPicture(const CTextBox& box);
    void PaintTextBox(QPainter& painter, const CTextBox& box, const QRect& rcExposed);
    bool IsPictureCurrent(const CTextBox& box) const { return Shows(m_picture, box); }
    // Draws the exact picture once the event loop is idle again.
    void SchedulePicture();

    CSheetModel* m_pModel;
    int m_nRow;
    int m_nCol;
    double m_dZoom = 2.5;   // screen pixels per mm
    double m_dWidth = 17.0; // mm
    double m_dHeight = 8.0; // mm
    // The text box as last drawn; after a zoom change it shows scaled until
    // the exact picture is drawn.
    CPicture m_picture;
    // The picture the last change of the record replaced.
    CPicture m_previous;
    bool m_bPictureScheduled = false;
};
