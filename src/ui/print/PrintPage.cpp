#include "print/PrintPage.h"

#include "model/FileAccess.h"
#include "model/SharedConstants.h"
#include "print/PdfFile.h"
#include "print/PrintLayout.h"
#include "render/LabelRenderer.h"

#include <QPageLayout>
#include <QPaintDevice>
#include <QPainter>
#include <QPrinter>

#include <functional>

namespace {

// The calibration page's crosshairs: lines 0.15 mm wide, arms 6 mm long, a
// circle of 2 mm radius, the distances 2.5 mm away from the centre.
constexpr double kMarkLineWidth = 0.15;
constexpr double kMarkArm = 6.0;
constexpr double kMarkCircle = 2.0;
constexpr double kMarkTextGap = 2.5;
constexpr double kMarkTextWidth = 30.0;
constexpr double kMarkTextHeight = 9.0;
constexpr double kMarkTextPoints = 8.0;

CDeviceResolution ResolutionOf(const QPainter& painter)
{
    const QPaintDevice* device = painter.device();
    return {device->logicalDpiX(), device->logicalDpiY()};
}

// The text on a white ground, so that it stays legible where it crosses a
// label outline; the ground is painted, since the PDF engine ignores an
// opaque background mode for text.
void DrawTextOnWhite(QPainter& painter, const QRectF& rc, int nFlags, const QString& text)
{
    painter.fillRect(painter.boundingRect(rc, nFlags, text), Qt::white);
    painter.drawText(rc, nFlags, text);
}

// One crosshair at (nX, nY) mm, its distances on the side towards the
// middle of the label area (bRight: the mark is a right one, the text goes
// left of it; bBottom likewise above).
void DrawCalibrationMark(QPainter& painter, CDeviceResolution resolution, int nX, int nY, bool bRight,
                         bool bBottom)
{
    const auto x = [&](double dMillimetres) { return ToDevice(resolution.m_nDpiX, dMillimetres); };
    const auto y = [&](double dMillimetres) { return ToDevice(resolution.m_nDpiY, dMillimetres); };
    const QPointF centre(x(nX), y(nY));
    painter.drawLine(QPointF(x(nX - kMarkArm), centre.y()), QPointF(x(nX + kMarkArm), centre.y()));
    painter.drawLine(QPointF(centre.x(), y(nY - kMarkArm)), QPointF(centre.x(), y(nY + kMarkArm)));
    painter.drawEllipse(centre, x(kMarkCircle), y(kMarkCircle));
    const double dLeft = bRight ? nX - kMarkTextGap - kMarkTextWidth : nX + kMarkTextGap;
    const double dTop = bBottom ? nY - kMarkTextGap - kMarkTextHeight : nY + kMarkTextGap;
    const QRectF rcText(QPointF(x(dLeft), y(dTop)),
                        QPointF(x(dLeft + kMarkTextWidth), y(dTop + kMarkTextHeight)));
    const int nAlign = (bRight ? Qt::AlignRight : Qt::AlignLeft) | (bBottom ? Qt::AlignBottom : Qt::AlignTop);
    DrawTextOnWhite(painter, rcText, nAlign, QStringLiteral("X %1 mm\nY %2 mm").arg(nX).arg(nY));
}

// A one-page PDF of the page size of `format` at 600 dots per inch, drawn by
// `draw`, written atomically.
QString WritePdfPage(const QString& path, const CPageFormat& format,
                     const std::function<void(QPainter&)>& draw)
{
    const int nError = WritePdfFile(path, SheetPdfLayout(format), kPdfDotsPerInch,
                                    [&](QPainter& painter, QPdfWriter&, const std::function<bool()>&) {
                                        draw(painter);
                                        return true;
                                    });
    return nError ? QString::fromStdString(FileErrorText(nError)) : QString();
}

} // namespace

void ScaleForPrinter(QPainter& painter, const CPrinterCalibration& calibration)
{
    if (calibration.m_nScaleX != 0 || calibration.m_nScaleY != 0)
        painter.scale(ScaleFactor(calibration.m_nScaleX), ScaleFactor(calibration.m_nScaleY));
}

QRect PrintedTextRect(const CPrintedLabel& printed, const CPrinterCalibration& calibration)
{
    // The rectangle is scaled already, to the unit; the text is drawn
    // through the scale, in the rectangle that scales onto it.
    const double sx = ScaleFactor(calibration.m_nScaleX);
    const double sy = ScaleFactor(calibration.m_nScaleY);
    return QRect(QPoint(qRound(printed.m_rc.left / sx), qRound(printed.m_rc.top / sy)),
                 QPoint(qRound(printed.m_rc.right / sx) - 1, qRound(printed.m_rc.bottom / sy) - 1));
}

void PrintSheetPage(QPainter& painter, const CSheet& sheet, PrintMode printMode,
                    const CPrinterCalibration& calibration)
{
    const CDeviceResolution resolution = ResolutionOf(painter);
    painter.save();
    // One device unit wide, as the view's ruler pen is one pixel.
    const QPen penRuler = CosmeticPen(QColor(kRulerColour));
    painter.setBackgroundMode(Qt::TransparentMode);
    for (const CPrintedLabel& printed : PlanPrintedPage(sheet, printMode, calibration, resolution)) {
        // The outline's rectangle is scaled already, to the unit.
        const QRect rc(QPoint(printed.m_rc.left, printed.m_rc.top),
                       QPoint(printed.m_rc.right - 1, printed.m_rc.bottom - 1));
        if (printed.m_bOutline) {
            painter.setPen(penRuler);
            painter.setBrush(Qt::white);
            DrawFrameRect(painter, rc);
        }
        if (printed.m_bText) {
            painter.save();
            ScaleForPrinter(painter, calibration);
            DrawLabel(painter, sheet.m_labels[printed.m_nRow][printed.m_nColumn],
                      PrintedTextRect(printed, calibration), printed.m_insets, 0, 0.0);
            painter.restore();
        }
    }
    painter.restore();
}

void UsePrintableAreaOrigin(QPrinter& printer)
{
    const QPageLayout layout = printer.pageLayout();
    printer.setFullPage(false);
    printer.setPageMargins(layout.minimumMargins(), layout.units());
}

void PrintCalibrationPage(QPainter& painter, const CPageFormat& format)
{
    CSheet sheet;
    sheet.m_format = format;
    PrintSheetPage(painter, sheet, PrintMode::Baseline, CPrinterCalibration());

    const CDeviceResolution resolution = ResolutionOf(painter);
    painter.save();
    QPen pen(Qt::black);
    pen.setWidthF(ToDevice(resolution.m_nDpiX, kMarkLineWidth));
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    QFont font = painter.font();
    font.setPointSizeF(kMarkTextPoints);
    painter.setFont(font);
    const CCalibrationMarks marks = CalibrationMarks(format);
    DrawCalibrationMark(painter, resolution, marks.m_nLeft, marks.m_nTop, false, false);
    DrawCalibrationMark(painter, resolution, marks.m_nRight, marks.m_nTop, true, false);
    DrawCalibrationMark(painter, resolution, marks.m_nLeft, marks.m_nBottom, false, true);
    DrawCalibrationMark(painter, resolution, marks.m_nRight, marks.m_nBottom, true, true);

    // The reading instructions in the middle of the label area.
    const auto x = [&](double dMillimetres) { return ToDevice(resolution.m_nDpiX, dMillimetres); };
    const auto y = [&](double dMillimetres) { return ToDevice(resolution.m_nDpiY, dMillimetres); };
    const double dMiddle = (marks.m_nTop + marks.m_nBottom) / 2.0;
    const QRectF rcNote(QPointF(x(marks.m_nLeft + kMarkTextGap), y(dMiddle - kMarkTextHeight)),
                        QPointF(x(marks.m_nRight - kMarkTextGap), y(dMiddle + kMarkTextHeight)));
    DrawTextOnWhite(
        painter, rcNote, Qt::AlignCenter | Qt::TextWordWrap,
        QStringLiteral("打印校准页（%1 × %2 mm）\n用直尺量出十字线中心到纸张左边缘（X）和上边缘（Y）的距离")
            .arg(format.m_dPageWidth)
            .arg(format.m_dPageHeight));
    painter.restore();
}

QString ExportSheetPdf(const QString& path, const CSheet& sheet, PrintMode printMode,
                       const CPrinterCalibration& calibration)
{
    return WritePdfPage(path, sheet.m_format,
                        [&](QPainter& painter) { PrintSheetPage(painter, sheet, printMode, calibration); });
}

QString ExportCalibrationPdf(const QString& path, const CPageFormat& format)
{
    return WritePdfPage(path, format, [&](QPainter& painter) { PrintCalibrationPage(painter, format); });
}
