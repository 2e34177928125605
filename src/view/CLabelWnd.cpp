#include "view/CLabelWnd.h"

#include "view/LabelRenderer.h"
#include "view/ViewGeometry.h"

#include <QHash>
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

namespace {

// The frames of a cell depend on nothing but its size, zoom and selection,
// and all visible cells share one size: each look is drawn once and copied.
QPixmap CellFrame(const QSize& size, int nInset, bool bSelected, qreal dDevicePixelRatio,
                  const QPen& penOuter, const QPen& penInner)
{
    static QHash<QString, QPixmap> frames;
    const QString key = QStringLiteral("%1x%2/%3/%4/%5").arg(size.width()).arg(size.height()).arg(nInset).arg(bSelected).arg(dDevicePixelRatio);
    auto it = frames.constFind(key);
    if (it != frames.constEnd())
        return *it;
    if (frames.size() > 64)
        frames.clear();

    QPixmap pixmap(size * dDevicePixelRatio);
    pixmap.setDevicePixelRatio(dDevicePixelRatio);
    QPainter painter(&pixmap);
    // The gaps of the dotted frames show white.
    painter.setBackgroundMode(Qt::OpaqueMode);
    painter.setBackground(Qt::white);
    const QRect rc(QPoint(0, 0), size);
    painter.setBrush(Qt::white);
    painter.setPen(penOuter);
    DrawFrameRect(painter, rc);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(penInner);
    DrawFrameRect(painter, rc.adjusted(nInset, nInset, -nInset, -nInset));
    painter.end();
    frames.insert(key, pixmap);
    return pixmap;
}

} // namespace

void CLabelWnd::paintEvent(QPaintEvent*)
{
    const QRect rc = rect();
    if (rc.isEmpty())
        return;
    QPainter painter(this);
    // Selected: a dotted light-blue outline and a solid blue frame inside;
    // not selected: both dotted grey.
    const bool bSelected = m_label.m_bSelected != 0;
    painter.drawPixmap(0, 0, CellFrame(rc.size(), CellFrameInset(m_dZoom), bSelected, devicePixelRatioF(),
                                       bSelected ? m_penSelOuter : m_penNormal, bSelected ? m_penSelInner : m_penNormal));

    const int nLeft = TruncToInt(m_label.m_dMarginLeft * m_dZoom);
    const int nTop = TruncToInt(m_label.m_dMarginTop * m_dZoom);
    const int nRight = TruncToInt(m_label.m_dMarginRight * m_dZoom);
    const int nBottom = TruncToInt(m_label.m_dMarginBottom * m_dZoom);
    const QRect rcBox = rc.adjusted(nLeft, nTop, -nRight, -nBottom);
    if (rcBox.isEmpty())
        return;
    // The text box is opaque, so what DrawLabel gives it can be kept until
    // the label, its size or the zoom changes; it is compared by value, so
    // writes into Record() need no notice.
    const qreal dDevicePixelRatio = devicePixelRatioF();
    if (m_textBox.isNull() || !(m_labelDrawn == m_label) || m_textBox.deviceIndependentSize() != QSizeF(rcBox.size())
        || m_dZoomDrawn != m_dZoom || m_textBox.devicePixelRatio() != dDevicePixelRatio) {
        m_textBox = QPixmap(rcBox.size() * dDevicePixelRatio);
        m_textBox.setDevicePixelRatio(dDevicePixelRatio);
        QPainter boxPainter(&m_textBox);
        boxPainter.translate(-rcBox.topLeft());
        DrawLabel(boxPainter, rc, nLeft, nTop, nRight, nBottom, TruncToInt(m_label.m_dLineSpacing * m_dZoom), kScreenMode);
        m_labelDrawn = m_label;
        m_dZoomDrawn = m_dZoom;
    }
    painter.drawPixmap(rcBox.topLeft(), m_textBox);
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
