#include "print/PrintPage.h"

#include "model/SharedConstants.h"
#include "print/PrintLayout.h"
#include "view/LabelRenderer.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QSaveFile>

namespace {

constexpr int kPdfDotsPerInch = 600;

} // namespace

void PrintSheetPage(QPainter& painter, const CSheet& sheet, PrintMode printMode, int nPageMoveX, int nPageMoveY)
{
    const QPaintDevice* device = painter.device();
    const CDeviceResolution resolution{device->logicalDpiX(), device->logicalDpiY()};
    painter.save();
    // One device unit wide, as the view's ruler pen is one pixel.
    QPen penRuler(QColor(kRulerColour), 1);
    penRuler.setCosmetic(true);
    painter.setBackgroundMode(Qt::TransparentMode);
    for (const CPrintedLabel& printed : PlanPrintedPage(sheet, printMode, nPageMoveX, nPageMoveY, resolution)) {
        const QRect rc(QPoint(printed.m_rc.left, printed.m_rc.top),
                       QPoint(printed.m_rc.right - 1, printed.m_rc.bottom - 1));
        if (printed.m_bOutline) {
            painter.setPen(penRuler);
            painter.setBrush(Qt::white);
            DrawFrameRect(painter, rc);
        }
        if (printed.m_bText) {
            const CDeviceInsets& insets = printed.m_insets;
            DrawLabel(painter, sheet.m_labels[printed.m_nRow][printed.m_nColumn], rc, insets.m_nLeft, insets.m_nTop,
                      insets.m_nRight, insets.m_nBottom, insets.m_nLineGap, 0, 0.0);
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

QString ExportSheetPdf(const QString& path, const CSheet& sheet, PrintMode printMode, int nPageMoveX, int nPageMoveY)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    {
        QPdfWriter writer(&file);
        writer.setCreator(QStringLiteral("Tavromark"));
        writer.setResolution(kPdfDotsPerInch);
        const CPageFormat& format = sheet.m_format;
        const QPageSize pageSize(QSizeF(format.m_dPageWidth, format.m_dPageHeight), QPageSize::Millimeter,
                                 QString(), QPageSize::ExactMatch);
        writer.setPageLayout(QPageLayout(pageSize, QPageLayout::Portrait, QMarginsF(), QPageLayout::Millimeter));
        QPainter painter;
        if (!painter.begin(&writer)) {
            file.cancelWriting();
            return QStringLiteral("cannot start the PDF");
        }
        PrintSheetPage(painter, sheet, printMode, nPageMoveX, nPageMoveY);
        painter.end();
    }
    if (file.error() != QFileDevice::NoError) {
        const QString error = file.errorString();
        file.cancelWriting();
        return error;
    }
    if (!file.commit())
        return file.errorString();
    return {};
}
