#include "sheets/CPageDiagram.h"

#include "text/DialogSupport.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace {

// The drawing is made on a fixed canvas and scaled to the widget.
constexpr qreal kCanvasWidth = 240;
constexpr qreal kCanvasHeight = 340;

constexpr QRectF kPage(36, 36, 140, 250);
constexpr qreal kMarginX = 18;
constexpr qreal kMarginTop = 20;
constexpr qreal kMarginBottom = 20;
constexpr int kColumns = 3;
constexpr int kRows = 6;
constexpr qreal kLabelWidth = 28;
constexpr qreal kLabelHeight = 18;

const QColor kDimension(0, 70, 160);

qreal LabelLeft(int c)
{
    const qreal dPitch = (kPage.width() - 2 * kMarginX - kLabelWidth) / (kColumns - 1);
    return kPage.left() + kMarginX + c * dPitch;
}

qreal LabelTop(int r)
{
    const qreal dPitch = (kPage.height() - kMarginTop - kMarginBottom - kLabelHeight) / (kRows - 1);
    return kPage.top() + kMarginTop + r * dPitch;
}

void DrawArrowHead(QPainter& p, QPointF tip, QPointF from)
{
    const QLineF back(tip, from);
    QLineF side1 = back;
    side1.setLength(6);
    side1.setAngle(back.angle() + 22);
    QLineF side2 = back;
    side2.setLength(6);
    side2.setAngle(back.angle() - 22);
    QPainterPath head(tip);
    head.lineTo(side1.p2());
    head.lineTo(side2.p2());
    head.closeSubpath();
    p.fillPath(head, kDimension);
}

// A dimension line with an arrow head at both ends.
void DrawDimension(QPainter& p, QPointF a, QPointF b)
{
    p.drawLine(a, b);
    DrawArrowHead(p, a, b);
    DrawArrowHead(p, b, a);
}

void DrawLetter(QPainter& p, QPointF centre, const QString& text)
{
    const QRectF box(centre.x() - 30, centre.y() - 10, 60, 20);
    p.drawText(box, Qt::AlignCenter, text);
}

} // namespace

CPageDiagram::CPageDiagram(QWidget* parent) : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

QSize CPageDiagram::sizeHint() const
{
    return DialogSize(109, 159);
}

void CPageDiagram::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(rect(), palette().window());

    const qreal dScale = std::min(width() / kCanvasWidth, height() / kCanvasHeight);
    p.translate((width() - kCanvasWidth * dScale) / 2, (height() - kCanvasHeight * dScale) / 2);
    p.scale(dScale, dScale);

    // The page with a soft shadow, and its labels.
    p.fillRect(kPage.translated(3, 3), QColor(160, 160, 160));
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::white);
    p.drawRect(kPage);
    p.setPen(QPen(QColor(120, 120, 120), 1));
    p.setBrush(QColor(255, 248, 200));
    for (int r = 0; r < kRows; ++r)
        for (int c = 0; c < kColumns; ++c)
            p.drawRect(QRectF(LabelLeft(c), LabelTop(r), kLabelWidth, kLabelHeight));

    QFont letterFont(QStringLiteral("Noto Serif CJK SC"));
    letterFont.setPixelSize(15);
    letterFont.setItalic(true);
    p.setFont(letterFont);
    p.setPen(QPen(kDimension, 1.2));
    p.setBrush(Qt::NoBrush);

    const qreal dLabelsRight = LabelLeft(kColumns - 1) + kLabelWidth;
    const qreal dLabelsBottom = LabelTop(kRows - 1) + kLabelHeight;
    const qreal dGapY = (LabelTop(0) + kLabelHeight + LabelTop(1)) / 2; // between rows 0 and 1

    // a: page height, b: page width, outside the page.
    DrawDimension(p, {18, kPage.top()}, {18, kPage.bottom()});
    DrawLetter(p, {10, kPage.center().y()}, QStringLiteral("a"));
    DrawDimension(p, {kPage.left(), 18}, {kPage.right(), 18});
    DrawLetter(p, {kPage.center().x(), 8}, QStringLiteral("b"));

    // c, e: left and right margin; d, f: top and bottom margin.
    DrawDimension(p, {kPage.left(), dGapY}, {LabelLeft(0), dGapY});
    DrawLetter(p, {kPage.left() + kMarginX / 2, dGapY - 11}, QStringLiteral("c"));
    DrawDimension(p, {dLabelsRight, dGapY}, {kPage.right(), dGapY});
    DrawLetter(p, {kPage.right() - kMarginX / 2, dGapY - 11}, QStringLiteral("e"));
    const qreal dMiddleX = LabelLeft(1) + kLabelWidth / 2;
    DrawDimension(p, {dMiddleX, kPage.top()}, {dMiddleX, LabelTop(0)});
    DrawLetter(p, {dMiddleX + 9, kPage.top() + kMarginTop / 2}, QStringLiteral("d"));
    DrawDimension(p, {dMiddleX, dLabelsBottom}, {dMiddleX, kPage.bottom()});
    DrawLetter(p, {dMiddleX + 9, kPage.bottom() - kMarginBottom / 2}, QStringLiteral("f"));

    // g: label height, h: label width, at the label of row 2, column 1.
    const qreal dRulerX = kPage.right() + 14;
    p.save();
    p.setPen(QPen(kDimension, 0.8, Qt::DashLine));
    p.drawLine(QPointF(dLabelsRight, LabelTop(2)), QPointF(dRulerX + 4, LabelTop(2)));
    p.drawLine(QPointF(dLabelsRight, LabelTop(2) + kLabelHeight),
               QPointF(dRulerX + 4, LabelTop(2) + kLabelHeight));
    p.restore();
    DrawDimension(p, {dRulerX, LabelTop(2)}, {dRulerX, LabelTop(2) + kLabelHeight});
    DrawLetter(p, {dRulerX + 12, LabelTop(2) + kLabelHeight / 2}, QStringLiteral("g"));
    const qreal dWidthY = (LabelTop(3) + kLabelHeight + LabelTop(4)) / 2;
    DrawDimension(p, {LabelLeft(1), dWidthY}, {LabelLeft(1) + kLabelWidth, dWidthY});
    DrawLetter(p, {dMiddleX, dWidthY - 11}, QStringLiteral("h"));

    // The counts: columns under the page, rows to its right.
    QFont countFont(QStringLiteral("Noto Sans CJK SC"));
    countFont.setPixelSize(13);
    p.setFont(countFont);
    const qreal dColumnsY = kPage.bottom() + 16;
    DrawDimension(p, {LabelLeft(0), dColumnsY}, {dLabelsRight, dColumnsY});
    DrawLetter(p, {kPage.center().x(), dColumnsY + 16}, QStringLiteral("COL (m)"));
    DrawDimension(p, {dRulerX, LabelTop(3)}, {dRulerX, dLabelsBottom});
    const qreal dRowsY = (LabelTop(3) + dLabelsBottom) / 2;
    p.drawText(QRectF(dRulerX + 6, dRowsY - 20, 50, 20), Qt::AlignLeft | Qt::AlignBottom,
               QStringLiteral("ROW"));
    p.drawText(QRectF(dRulerX + 6, dRowsY, 50, 20), Qt::AlignLeft | Qt::AlignTop, QStringLiteral("(n)"));
}
