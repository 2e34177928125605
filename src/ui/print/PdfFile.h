#pragma once

#include "model/CPageFormat.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPdfWriter>
#include <QString>

#include <functional>

class QPainter;
class QPrinter;

// Every PDF export is drawn at 600 dots per inch.
constexpr int kPdfDotsPerInch = 600;

// A device that lays text out as a page of a PDF export does (600 dots per
// inch), for checking a job before its PDF is written; it writes nothing.
class CPdfPageProbe
{
public:
    CPdfPageProbe();
    QPaintDevice& Device() { return m_writer; }

private:
    QBuffer m_sink;
    QPdfWriter m_writer;
};

// A PDF page of the sheet's page size, without margins: its origin is the
// page's corner.
QPageLayout SheetPdfLayout(const CPageFormat& format);

// Every PDF the program writes goes through here: it is streamed into a
// temporary file beside the target and renamed over it only when complete
// (CAtomicFileWriter), so that a full disk, a file size limit, a failed write
// or a killed process leaves a previous file of that name as it was.
// `paint` draws the pages on a painter already begun on the writer (call
// QPdfWriter::newPage for more than one page); `writeFailed` says whether a
// write has failed already, after which a long job should stop drawing. It
// returns false to stop, which writes nothing. Returns 0, the errno of the
// failed write, ECANCELED (stopped without a failed write), or EIO when the
// PDF could not be started.
using PdfPaint = std::function<bool(QPainter&, QPdfWriter&, const std::function<bool()>& writeFailed)>;
int WritePdfFile(const QString& path, const QPageLayout& layout, int nDotsPerInch, const PdfPaint& paint);

// Whether the print dialog sent the job to a PDF file instead of a printer.
bool PrintsToPdfFile(const QPrinter& printer);

// The job of such a printer written as every PDF export is (WritePdfFile):
// its file, page layout, resolution and document name.
int WritePrinterPdfFile(const QPrinter& printer, const PdfPaint& paint);
