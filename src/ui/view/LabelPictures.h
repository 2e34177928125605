#pragma once

#include "model/CSheetModel.h"

#include <QPixmap>
#include <QRect>

#include <array>

class QPainter;

// The sheet view's label cells as drawn: white, the text box, the frames.
//
// A text box is drawn where it is exposed the first time it is painted; from
// its second paint on it is kept as a picture while its record, size and
// zoom stay. A sheet that is only shown (a program started to look at a
// document, or to print it) thus holds no pictures, and its first paint
// draws no picture only to blit it. A picture is kept only up to
// kMaxCachedPixels: a larger box is drawn where it is exposed, at every
// paint, so that screen memory does not grow with the label size.
//
// When a label's record changes, the picture it replaces is kept aside (up
// to kMaxPreviousPixels): undo and redo give a label back what it showed a
// step before, and that picture is shown again instead of being drawn anew.
class CLabelPictures
{
public:
    static constexpr qint64 kMaxCachedPixels = 128 * 1024;
    static constexpr qint64 kMaxPreviousPixels = 32 * 1024;

    // How a text box whose picture is of another size or zoom is painted.
    enum class Stale {
        // The old picture, scaled, stands in (cheap while zooming).
        StandIn,
        // The exact picture is drawn.
        Redraw,
    };

    // Paints the label's cell of rcCell.size() at the painter's origin, only
    // where rcExposed (cell coordinates) needs it. Returns whether a scaled
    // picture stood in for the exact one.
    bool PaintCell(QPainter& painter, LabelIndex nIndex, const CLabelRecord& label, const QSize& cell,
                   const QRect& rcExposed, double dZoom, Stale stale);

    // The label's record changed: its picture is dropped unless the text
    // box looks as before (only the selection changed) or as the picture
    // kept aside shows it.
    void RecordChanged(LabelIndex nIndex, const CLabelRecord& label, const QSize& cell, double dZoom,
                       qreal dDevicePixelRatio);
    // Every picture is dropped (a new format or sheet).
    void Clear();
    // Bytes of the pictures kept.
    qint64 CachedBytes() const;

private:
    // A drawing of a text box, with what it was drawn from.
    struct CPicture
    {
        QPixmap m_pixmap;
        CLabelRecord m_shown; // the record as AppearanceOf gives it
        double m_dZoom = 0.0;

        bool IsNull() const { return m_pixmap.isNull(); }
        qint64 DevicePixels() const { return qint64(m_pixmap.width()) * m_pixmap.height(); }
        bool Shows(const CLabelRecord& label, const QSize& box, double dZoom, qreal dDevicePixelRatio) const;
    };
    struct CSlot
    {
        CPicture m_current;
        CPicture m_previous;           // what the last change of the record replaced
        bool m_bPaintedBefore = false; // since the last Clear()
    };
    // What of a record the text box shows: all but the selection and the
    // stored font sizes.
    static CLabelRecord AppearanceOf(const CLabelRecord& record);
    static CPicture Draw(const CLabelRecord& label, const QSize& cell, const QRect& rcBox, double dZoom,
                         qreal dDevicePixelRatio);

    std::array<CSlot, CSheetModel::kLabelCount> m_slots;
};
