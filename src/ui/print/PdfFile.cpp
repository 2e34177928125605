#include "print/PdfFile.h"

#include "model/AtomicFile.h"
#include "print/PdfTextMap.h"
#include "render/DrawnGlyphs.h"

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
// sends many small pieces, which are gathered into large writes, and its
// fonts' text maps are written anew on the way (CPdfTextMapRewriter).
class CAtomicFileDevice : public QIODevice
{
public:
    CAtomicFileDevice(CAtomicFileWriter& file, TextMapCorrection correct)
        : m_file(file), m_rewriter(std::move(correct))
    {
        m_ready.reserve(2 * kChunk);
    }

    bool isSequential() const override { return true; }

    // EIO where the rewritten maps could not be matched by the
    // cross-reference table: the file is then no PDF and is not kept.
    int Finish()
    {
        if (!m_rewriter.Finish(m_ready))
            return EIO;
        m_file.Write(m_ready);
        m_ready.clear();
        return m_file.Error();
    }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override
    {
        m_rewriter.Put(std::string_view(data, static_cast<std::size_t>(size)), m_ready);
        if (m_ready.size() >= kChunk) {
            if (m_file.Write(m_ready) != 0)
                return -1;
            m_ready.clear();
        }
        return size;
    }

private:
    static constexpr std::size_t kChunk = 256 * 1024;
    CAtomicFileWriter& m_file;
    CPdfTextMapRewriter m_rewriter;
    std::string m_ready; // rewritten, not yet written
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
    CDrawnGlyphs drawn;
    CAtomicFileDevice device(
        file, [&drawn](std::string_view font, char32_t code) { return drawn.CharacterFor(font, code); });
    device.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&device);
        const CDrawnGlyphsScope recording(writer, drawn);
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
