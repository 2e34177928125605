#include "print/PdfFile.h"

#include "model/AtomicFile.h"

#include <QBuffer>
#include <QFile>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <cerrno>

QPageLayout SheetPdfLayout(const CPageFormat& format)
{
    const QPageSize pageSize(QSizeF(format.m_dPageWidth, format.m_dPageHeight), QPageSize::Millimeter,
                             QString(), QPageSize::ExactMatch);
    return QPageLayout(pageSize, QPageLayout::Portrait, QMarginsF(), QPageLayout::Millimeter);
}

int WritePdfFile(const QString& path, const QPageLayout& layout, int nDotsPerInch,
                 const std::function<bool(QPainter&, QPdfWriter&)>& paint)
{
    QByteArray pdf;
    {
        QBuffer buffer(&pdf);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setCreator(QStringLiteral("Tavromark"));
        writer.setResolution(nDotsPerInch);
        writer.setPageLayout(layout);
        QPainter painter;
        if (!painter.begin(&writer))
            return EIO;
        const bool bCompleted = paint(painter, writer);
        if (!painter.end())
            return EIO;
        if (!bCompleted)
            return ECANCELED;
    }
    return WriteFileAtomically(QFile::encodeName(path).toStdString(),
                               std::string_view(pdf.constData(), pdf.size()));
}
