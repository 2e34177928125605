#include "view/CLabelWnd.h"

#include "view/LabelRenderer.h"
#include "view/ViewGeometry.h"

#include <QMouseEvent>
#include <QPainter>

CLabelWnd::CLabelWnd(int nRow, int nColumn, QWidget* parent)
    : QWidget(parent),
      m_nRow(nRow),
      m_nCol(nColumn),
      m_penNormal(DottedPen(QColor(132, 132, 132))),
      m_penSelInner(QColor(0, 0, 220), 1),
      m_penSelOuter(DottedPen(QColor(0, 132, 220)))
{
    m_penSelInner.setCosmetic(true);
    // Every pixel is painted: white frame fill, white text box.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setToolTip(QStringLiteral("列 : %1 行: %2").arg(nColumn + 1).arg(nRow + 1));
    hide();
}

void CLabelWnd::SetSize(double dWidthMm, double dHeightMm)
{
    m_dWidth = dWidthMm;
    m_dHeight = dHeightMm;
}

void CLabelWnd::MoveTo(int x, int y)
{
    setGeometry(x, y, LabelPixelWidth(m_dWidth, m_dZoom), LabelPixelHeight(m_dHeight, m_dZoom));
    show();
}

void CLabelWnd::SetSelected(int nSelected)
{
    if (nSelected == m_label.m_bSelected)
        return;
    m_label.m_bSelected = nSelected;
    update();
    PostLabelChanged();
}

void CLabelWnd::ToggleSelected()
{
    m_label.m_bSelected = m_label.m_bSelected == 0 ? 1 : 0;
    update();
    PostLabelChanged();
}

void CLabelWnd::SetText(const std::string& strText, int bOverwrite)
{
    if (!bOverwrite && !m_label.m_strText.empty())
        return;
    m_label.m_strText = strText;
    update();
    PostLabelChanged();
}

void CLabelWnd::Reset()
{
    m_label.m_bSelected = 1;
    m_label.m_strText.clear();
    update();
}

void CLabelWnd::LoadRecord(const CLabelRecord& label)
{
    m_label = label;
    update();
}

void CLabelWnd::DrawLabel(QPainter& painter, const QRect& rc, int nInsetLeft, int nInsetTop, int nInsetRight,
                          int nInsetBottom, int nGap, int nMode)
{
    ::DrawLabel(painter, m_label, rc, nInsetLeft, nInsetTop, nInsetRight, nInsetBottom, nGap, nMode, m_dZoom);
}

void CLabelWnd::PostLabelChanged()
{
    // Posted: the view hears of the change once the event loop runs again.
    QMetaObject::invokeMethod(this, &CLabelWnd::labelChanged, Qt::QueuedConnection);
}

void CLabelWnd::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    // The gaps of the dotted frames show white.
    painter.setBackgroundMode(Qt::OpaqueMode);
    painter.setBackground(Qt::white);

    const QRect rc = rect();
    const int n = CellFrameInset(m_dZoom);
    const bool bSelected = m_label.m_bSelected != 0;
    painter.setBrush(Qt::white);
    painter.setPen(bSelected ? m_penSelOuter : m_penNormal);
    DrawFrameRect(painter, rc);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(bSelected ? m_penSelInner : m_penNormal);
    DrawFrameRect(painter, rc.adjusted(n, n, -n, -n));

    painter.setBackgroundMode(Qt::TransparentMode);
    DrawLabel(painter, rc, TruncToInt(m_label.m_dMarginLeft * m_dZoom), TruncToInt(m_label.m_dMarginTop * m_dZoom),
              TruncToInt(m_label.m_dMarginRight * m_dZoom), TruncToInt(m_label.m_dMarginBottom * m_dZoom),
              TruncToInt(m_label.m_dLineSpacing * m_dZoom), kScreenMode);
}

// A press on a label is the label's own: it never reaches the page below,
// where it would start a rubber band.
void CLabelWnd::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && m_label.m_bSelected != 1)
        SetSelected(1);
    else if (event->button() == Qt::RightButton && m_label.m_bSelected == 1)
        SetSelected(0);
    event->accept();
}

void CLabelWnd::mouseReleaseEvent(QMouseEvent* event)
{
    event->accept();
}

// The first click of a double click has already selected the cell.
void CLabelWnd::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        Q_EMIT labelDoubleClicked(this);
    event->accept();
}
