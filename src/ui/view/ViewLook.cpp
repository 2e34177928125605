#include "view/ViewLook.h"

#include "model/SharedConstants.h"
#include "render/LabelRenderer.h"

#include <QPainter>

void DrawCellFrames(QPainter& painter, const QRect& rc, int nInset, bool bSelected)
{
    static const QPen penNormal = DottedPen(QColor(kFrameColour));
    static const QPen penSelectedOuter = DottedPen(QColor(kSelectedOuterColour));
    static const QPen penSelectedInner = [] {
        QPen pen(QColor(kSelectedInnerColour), 1);
        pen.setCosmetic(true);
        return pen;
    }();
    painter.save();
    painter.setBackgroundMode(Qt::TransparentMode);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(bSelected ? penSelectedOuter : penNormal);
    DrawFrameRect(painter, rc);
    painter.setPen(bSelected ? penSelectedInner : penNormal);
    DrawFrameRect(painter, rc.adjusted(nInset, nInset, -nInset, -nInset));
    painter.restore();
}
