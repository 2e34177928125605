#include "print/PdfFile.h"

#include "model/AtomicFile.h"
#include "print/PdfTextMap.h"

#include <QFile>
#include <QIODevice>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>

#include <cerrno>

namespace {

// The PDF writer's output, streamed into the temporary file of an atomic
// replacement: memory stays flat whatever the size of the job. The writer
// sends many small pieces, which are gathered into large writes. The last
// bytes written are held back, and once the fonts' text maps begin (they
// come after every page) the rest of the file is held, so that the maps can
// be mended and the objects after them moved before anything is written.
class CAtomicFileDevice : public QIODevice
{
public:
    explicit CAtomicFileDevice(CAtomicFileWriter& file) : m_file(file)
    {
        m_pending.reserve(kChunk + kHeldBack);
    }

    bool isSequential() const override { return true; }

    int Finish()
    {
        if (m_bInTextMaps)
            MendPdfTextMaps(m_pending, m_nWritten);
        return Write(m_pending.size());
    }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override
    {
        const std::string_view piece(data, static_cast<std::size_t>(size));
        m_bInTextMaps = m_bInTextMaps || HoldsTextMap(piece);
        m_pending.append(piece);
        if (!m_bInTextMaps && m_pending.size() >= kChunk + kHeldBack && Write(kChunk) != 0)
            return -1;
        return size;
    }

private:
    int Write(std::size_t nBytes)
    {
        if (nBytes != 0)
            m_file.Write(std::string_view(m_pending).substr(0, nBytes));
        m_pending.erase(0, nBytes);
        m_nWritten += nBytes;
        return m_file.Error();
    }

    // The header of a text map's stream (its /Length) comes in an earlier
    // piece than the map itself.
    static constexpr std::size_t kHeldBack = 64 * 1024;
    static constexpr std::size_t kChunk = 256 * 1024;
    CAtomicFileWriter& m_file;
    std::string m_pending;
    std::uint64_t m_nWritten = 0;
    bool m_bInTextMaps = false;
};

} // namespace

CPdfPageProbe::CPdfPageProbe() : m_writer(&m_sink)
{
    m_writer.setResolution(kPdfDotsPerInch);
}

QPageLayout SheetPdfLayout(const CPageFormat& format)
{
    const QPageSize pageSize(QSizeF(format.m_dPageWidth, format.m_dPageHeight), QPageSize::Millimeter,
                             QString(), QPageSize::ExactMatch);
    return QPageLayout(pageSize, QPageLayout::Portrait, QMarginsF(), QPageLayout::Millimeter);
}

namespace {

int WritePdfFile(const QString& path, const QPageLayout& layout, int nDotsPerInch, const QString& title,
                 const PdfPaint& paint)
{
    CAtomicFileWriter file;
    if (const int error = file.Open(QFile::encodeName(path).toStdString()))
        return error;
    CAtomicFileDevice device(file);
    device.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&device);
        writer.setCreator(QStringLiteral("Tavromark"));
        writer.setTitle(title);
        writer.setResolution(nDotsPerInch);
        writer.setPageLayout(layout);
        QPainter painter;
        if (!painter.begin(&writer))
            return file.Error() != 0 ? file.Error() : EIO;
        const bool bCompleted = paint(painter, writer, [&file] { return file.Error() != 0; });
        if (!painter.end())
            return file.Error() != 0 ? file.Error() : EIO;
        if (!bCompleted)
            return file.Error() != 0 ? file.Error() : ECANCELED;
    }
    if (const int error = device.Finish())
        return error;
    return file.Commit();
}

} // namespace

int WritePdfFile(const QString& path, const QPageLayout& layout, int nDotsPerInch, const PdfPaint& paint)
{
    return WritePdfFile(path, layout, nDotsPerInch, QString(), paint);
}

bool PrintsToPdfFile(const QPrinter& printer)
{
    return printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty();
}

int WritePrinterPdfFile(const QPrinter& printer, const PdfPaint& paint)
{
    return WritePdfFile(printer.outputFileName(), printer.pageLayout(), printer.resolution(),
                        printer.docName(), paint);
}
