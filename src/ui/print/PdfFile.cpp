#include "print/PdfFile.h"

#include "model/AtomicFile.h"

#include <QFile>
#include <QIODevice>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <cerrno>

namespace {

// The PDF writer's output, streamed into the temporary file of an atomic
// replacement: memory stays flat whatever the size of the job. The writer
// sends many small pieces, which are gathered into large writes.
class CAtomicFileDevice : public QIODevice
{
public:
    explicit CAtomicFileDevice(CAtomicFileWriter& file) : m_file(file) { m_pending.reserve(kChunk); }

    bool isSequential() const override { return true; }

    int Flush()
    {
        if (!m_pending.empty())
            m_file.Write(m_pending);
        m_pending.clear();
        return m_file.Error();
    }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override
    {
        m_pending.append(data, static_cast<std::size_t>(size));
        if (m_pending.size() >= kChunk && Flush() != 0)
            return -1;
        return size;
    }

private:
    static constexpr std::size_t kChunk = 256 * 1024;
    CAtomicFileWriter& m_file;
    std::string m_pending;
};

} // namespace

QPageLayout SheetPdfLayout(const CPageFormat& format)
{
    const QPageSize pageSize(QSizeF(format.m_dPageWidth, format.m_dPageHeight), QPageSize::Millimeter,
                             QString(), QPageSize::ExactMatch);
    return QPageLayout(pageSize, QPageLayout::Portrait, QMarginsF(), QPageLayout::Millimeter);
}

int WritePdfFile(const QString& path, const QPageLayout& layout, int nDotsPerInch,
                 const std::function<bool(QPainter&, QPdfWriter&)>& paint)
{
    CAtomicFileWriter file;
    if (const int error = file.Open(QFile::encodeName(path).toStdString()))
        return error;
    CAtomicFileDevice device(file);
    device.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&device);
        writer.setCreator(QStringLiteral("Tavromark"));
        writer.setResolution(nDotsPerInch);
        writer.setPageLayout(layout);
        QPainter painter;
        if (!painter.begin(&writer))
            return file.Error() != 0 ? file.Error() : EIO;
        const bool bCompleted = paint(painter, writer);
        if (!painter.end())
            return file.Error() != 0 ? file.Error() : EIO;
        if (!bCompleted)
            return ECANCELED;
    }
    if (const int error = device.Flush())
        return error;
    return file.Commit();
}
