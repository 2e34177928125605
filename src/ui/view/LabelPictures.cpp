#include "view/LabelPictures.h"

#include "render/LabelRenderer.h"
#include "view/ViewGeometry.h"
#include "view/ViewLook.h"

#include <QPainter>

namespace {

struct CTextBox
{
    QRect m_rcBox; // cell coordinates
    CDeviceInsets m_insets;
};

CTextBox TextBox(const CLabelRecord& label, const QSize& cell, double dZoom)
{
    CTextBox box;
    box.m_insets = ScreenInsets(label, dZoom);
    box.m_rcBox = ToQRect(TextBoxOf({0, 0, cell.width(), cell.height()}, box.m_insets));
    return box;
}

// The text box drawn straight onto the painter, where rcExposed needs it.
void DrawExposed(QPainter& painter, const CLabelRecord& label, const QRect& rcCell, const CTextBox& box,
                 const QRect& rcExposed, double dZoom)
{
    painter.save();
    painter.setClipRect(rcExposed & box.m_rcBox);
    DrawLabel(painter, label, rcCell, box.m_insets, kScreenMode, dZoom);
    painter.restore();
}

} // namespace

CLabelRecord CLabelPictures::AppearanceOf(const CLabelRecord& record)
{
    CLabelRecord appearance = record;
    appearance.m_bSelected = 0;
    appearance.m_logFont.lfHeight = 0;
    appearance.m_logFont.lfWidth = 0;
    return appearance;
}

bool CLabelPictures::CPicture::Shows(const CLabelRecord& label, const QSize& box, double dZoom,
                                     qreal dDevicePixelRatio) const
{
    return !IsNull() && m_dZoom == dZoom && m_pixmap.deviceIndependentSize() == QSizeF(box) &&
           m_pixmap.devicePixelRatio() == dDevicePixelRatio && m_shown == AppearanceOf(label);
}

CLabelPictures::CPicture CLabelPictures::Draw(const CLabelRecord& label, const QSize& cell,
                                              const QRect& rcBox, double dZoom, qreal dDevicePixelRatio)
{
    CPicture picture;
    picture.m_pixmap = QPixmap(rcBox.size() * dDevicePixelRatio);
    picture.m_pixmap.setDevicePixelRatio(dDevicePixelRatio);
    QPainter painter(&picture.m_pixmap);
    painter.translate(-rcBox.topLeft());
    DrawLabel(painter, label, QRect(QPoint(), cell), ScreenInsets(label, dZoom), kScreenMode, dZoom);
    picture.m_shown = AppearanceOf(label);
    picture.m_dZoom = dZoom;
    return picture;
}

bool CLabelPictures::PaintCell(QPainter& painter, LabelIndex nIndex, const CLabelRecord& label,
                               const QSize& cell, const QRect& rcExposed, double dZoom, Stale stale)
{
    const QRect rcCell(QPoint(), cell);
    if (rcCell.isEmpty())
        return false;
    painter.fillRect(rcExposed & rcCell, Qt::white);
    const CTextBox box = TextBox(label, cell, dZoom);
    bool bStoodIn = false;
    if (!box.m_rcBox.isEmpty()) {
        CSlot& slot = m_slots[static_cast<std::size_t>(nIndex)];
        const qreal dDevicePixelRatio = painter.device()->devicePixelRatioF();
        const QSize deviceBox = box.m_rcBox.size() * dDevicePixelRatio;
        if (qint64(deviceBox.width()) * deviceBox.height() > kMaxCachedPixels) {
            // Too large to keep: drawn where exposed, every time.
            slot = CSlot();
            DrawExposed(painter, label, rcCell, box, rcExposed, dZoom);
        } else if (!slot.m_bPaintedBefore) {
            // A picture pays from the second paint on.
            slot.m_bPaintedBefore = true;
            DrawExposed(painter, label, rcCell, box, rcExposed, dZoom);
        } else {
            CPicture& picture = slot.m_current;
            if (!picture.Shows(label, box.m_rcBox.size(), dZoom, dDevicePixelRatio)) {
                if (!picture.IsNull() && stale == Stale::StandIn)
                    bStoodIn = true;
                else
                    picture = Draw(label, cell, box.m_rcBox, dZoom, dDevicePixelRatio);
            }
            if (bStoodIn)
                painter.drawPixmap(box.m_rcBox, picture.m_pixmap);
            else
                painter.drawPixmap(box.m_rcBox.topLeft(), picture.m_pixmap);
        }
    }
    // The frames go over the text box, so that a label with narrow margins
    // still shows whether it is selected.
    DrawCellFrames(painter, rcCell, CellFrameInset(dZoom), label.IsSelected());
    return bStoodIn;
}

void CLabelPictures::RecordChanged(LabelIndex nIndex, const CLabelRecord& label, const QSize& cell,
                                   double dZoom, qreal dDevicePixelRatio)
{
    CSlot& slot = m_slots[static_cast<std::size_t>(nIndex)];
    const QSize box = TextBox(label, cell, dZoom).m_rcBox.size();
    if (slot.m_current.Shows(label, box, dZoom, dDevicePixelRatio))
        return;
    std::swap(slot.m_current, slot.m_previous);
    if (!slot.m_current.Shows(label, box, dZoom, dDevicePixelRatio))
        slot.m_current = CPicture();
    if (slot.m_previous.DevicePixels() > kMaxPreviousPixels)
        slot.m_previous = CPicture();
}

void CLabelPictures::Clear()
{
    m_slots.fill(CSlot());
}

qint64 CLabelPictures::CachedBytes() const
{
    qint64 nBytes = 0;
    for (const CSlot& slot : m_slots)
        for (const CPicture* pPicture : {&slot.m_current, &slot.m_previous})
            nBytes += pPicture->DevicePixels() * pPicture->m_pixmap.depth() / 8;
    return nBytes;
}
