#include "view/CLabelWnd.h"

#include "view/ViewGeometry.h"
#include "view/ViewLook.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QTimer>

CLabelWnd::CLabelWnd(CSheetModel* pModel, int nRow, int nColumn, QWidget* parent)
    : QWidget(parent), m_pModel(pModel), m_nRow(nRow), m_nCol(nColumn)
{
    // Every pixel is painted: white cell, white text box.
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

void CLabelWnd::SetSelected(bool bSelected)
{
    m_pModel->SetSelected(Index(), bSelected);
}

void CLabelWnd::ToggleSelected()
{
    m_pModel->SetSelected(Index(), !IsSelected());
}

void CLabelWnd::SetText(const std::string& strText, bool bOverwrite)
{
    m_pModel->SetText(Index(), strText, bOverwrite);
}

void CLabelWnd::RecordChanged()
{
    const CTextBox box = TextBox();
    if (!Shows(m_picture, box)) {
        std::swap(m_picture, m_previous);
        if (Shows(m_picture, box))
            m_pModel->NoteScreenFont(Index(), m_picture.m_font.m_nHeight, m_picture.m_font.m_nWidth);
        else
            m_picture = CPicture();
        if (m_previous.DevicePixels() > kMaxPreviousPixels)
            m_previous = CPicture();
    }
    update();
}

void CLabelWnd::FormatChanged()
{
    m_picture = CPicture();
    m_previous = CPicture();
    update();
}

qint64 CLabelWnd::CachedBytes() const
{
    qint64 nBytes = 0;
    for (const CPicture* pPicture : {&m_picture, &m_previous})
        nBytes += pPicture->DevicePixels() * pPicture->m_pixmap.depth() / 8;
    return nBytes;
}

CLabelRecord CLabelWnd::AppearanceOf(const CLabelRecord& record)
{
    CLabelRecord appearance = record;
    appearance.m_bSelected = 0;
    appearance.m_logFont.lfHeight = 0;
    appearance.m_logFont.lfWidth = 0;
    return appearance;
}

bool CLabelWnd::Shows(const CPicture& picture, const CTextBox& box) const
{
    return !picture.IsNull() && picture.m_dZoom == m_dZoom &&
           picture.m_pixmap.deviceIndependentSize() == QSizeF(box.m_rcBox.size()) &&
           picture.m_pixmap.devicePixelRatio() == devicePixelRatioF() &&
           picture.m_shown == AppearanceOf(Record());
}

CLabelWnd::CTextBox CLabelWnd::TextBox() const
{
    const CLabelRecord& label = Record();
    CTextBox box;
    CDeviceInsets& insets = box.m_insets;
    insets.m_nLeft = TruncToInt(label.m_dMarginLeft * m_dZoom);
    insets.m_nTop = TruncToInt(label.m_dMarginTop * m_dZoom);
    insets.m_nRight = TruncToInt(label.m_dMarginRight * m_dZoom);
    insets.m_nBottom = TruncToInt(label.m_dMarginBottom * m_dZoom);
    insets.m_nLineGap = TruncToInt(label.m_dLineSpacing * m_dZoom);
    box.m_rcBox = rect().adjusted(insets.m_nLeft, insets.m_nTop, -insets.m_nRight, -insets.m_nBottom);
    return box;
}

void CLabelWnd::RenderText(QPainter& painter, const CTextBox& box)
{
    const CRenderedFont font = DrawLabel(painter, Record(), rect(), box.m_insets, kScreenMode, m_dZoom);
    m_pModel->NoteScreenFont(Index(), font.m_nHeight, font.m_nWidth);
    m_picture.m_font = font;
}

void CLabelWnd::RenderPicture(const CTextBox& box)
{
    const qreal dDevicePixelRatio = devicePixelRatioF();
    m_picture.m_pixmap = QPixmap(box.m_rcBox.size() * dDevicePixelRatio);
    m_picture.m_pixmap.setDevicePixelRatio(dDevicePixelRatio);
    QPainter painter(&m_picture.m_pixmap);
    painter.translate(-box.m_rcBox.topLeft());
    RenderText(painter, box);
    m_picture.m_shown = AppearanceOf(Record());
    m_picture.m_dZoom = m_dZoom;
}

void CLabelWnd::SchedulePicture()
{
    if (m_bPictureScheduled)
        return;
    m_bPictureScheduled = true;
    QTimer::singleShot(0, this, [this] {
        m_bPictureScheduled = false;
        const CTextBox box = TextBox();
        if (!m_picture.IsNull() && !IsPictureCurrent(box) && isVisible() && !box.m_rcBox.isEmpty()) {
            RenderPicture(box);
            update();
        }
    });
}

void CLabelWnd::paintEvent(QPaintEvent* event)
{
    const QRect rc = rect();
    if (rc.isEmpty())
        return;
    QPainter painter(this);
    painter.fillRect(event->rect(), Qt::white);
    const CTextBox box = TextBox();
    if (!box.m_rcBox.isEmpty())
        PaintTextBox(painter, box, event->rect());
    // The frames go over the text box, so that a label with narrow margins
    // still shows whether it is selected.
    DrawCellFrames(painter, rc, CellFrameInset(m_dZoom), IsSelected());
}

void CLabelWnd::PaintTextBox(QPainter& painter, const CTextBox& box, const QRect& rcExposed)
{
    const QSize deviceBox = box.m_rcBox.size() * devicePixelRatioF();
    if (qint64(deviceBox.width()) * deviceBox.height() > kMaxCachedPixels) {
        // Too large to keep: drawn where exposed, every time.
        m_picture = CPicture();
        m_previous = CPicture();
        painter.save();
        painter.setClipRect(rcExposed & box.m_rcBox);
        RenderText(painter, box);
        painter.restore();
        return;
    }
    if (!m_picture.IsNull() && !IsPictureCurrent(box)) {
        // The zoom or size changed: the old picture, scaled, stands in until
        // the exact one is drawn in the next pass of the event loop.
        painter.drawPixmap(box.m_rcBox, m_picture.m_pixmap);
        SchedulePicture();
        return;
    }
    if (m_picture.IsNull())
        RenderPicture(box);
    painter.drawPixmap(box.m_rcBox.topLeft(), m_picture.m_pixmap);
}

// A press on a label is the label's own: it never reaches the page below,
// where it would start a rubber band.
void CLabelWnd::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        SetSelected(true);
    else if (event->button() == Qt::RightButton)
        SetSelected(false);
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
