#include "print/PdfFile.h"

#include "model/AtomicFile.h"

#include <QBuffer>
#include <QFile>
#include <QPainter>
#include <QPdfWriter>

#include <cerrno>

int WritePdfFile(const QString& path, const QPageLayout& layout, int nDotsPerInch,
                 const std::function<void(QPainter&, QPdfWriter&)>& paint)
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
        paint(painter, writer);
        if (!painter.end())
            return EIO;
    }
    return WriteFileAtomically(QFile::encodeName(path).toStdString(), std::string_view(pdf.constData(), pdf.size()));
}
