#pragma once

#include "model/CPageFormat.h"
#include "render/DrawnGlyphs.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPdfWriter>
#include <QString>

#include <functional>
#include <memory>

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
// QPdfWriter::newPage for more than one page) and return false to cancel,
// which writes nothing. Returns 0, the errno of the failed write, ECANCELED,
// or EIO when the PDF could not be started.
int WritePdfFile(const QString& path, const QPageLayout& layout, int nDotsPerInch,
                 const std::function<bool(QPainter&, QPdfWriter&)>& paint);

// Painting on a printer that writes a PDF file (the print dialog's "打印到
// 文件"): the glyphs drawn are recorded, and when this ends, after the
// painter, the file's text maps are written anew from them, as WritePdfFile
// writes them, so that the file searches as the labels read. Any other
// printer is left alone.
class CPrintedPdfText
{
public:
    explicit CPrintedPdfText(QPrinter& printer);
    ~CPrintedPdfText();
    CPrintedPdfText(const CPrintedPdfText&) = delete;
    CPrintedPdfText& operator=(const CPrintedPdfText&) = delete;

private:
    QString m_strPath; // empty unless the printer writes a PDF file
    CDrawnGlyphs m_drawn;
    std::unique_ptr<CDrawnGlyphsScope> m_recording;
};
