// A wire-list job to PDF beside its floor: a bare Qt program that draws the
// same texts per label in the same font at 600 dpi (only an unshaped
// drawText per label: no fill, no clip, no saved state), written to a file
// as QPdfWriter writes it. The markers are those of tests/e2e/job_word_boxes.sh, 375 a sheet on
// 15 × 25 labels of 12 × 10 mm (A4, margins 5 mm). Prints the CPU seconds
// of the job and the process's peak memory. Run offscreen:
//   QT_QPA_PLATFORM=offscreen build/bench/tavro_job_floor ours|floor SHEETS OUT.pdf
// bench/job_vs_floor.sh runs both at several sizes.
#include "JobSheets.h"

#include "print/WireListPrint.h"
#include "wirelist/MarkerSheets.h"

#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QPdfWriter>

#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

namespace {

double CpuSeconds()
{
    return static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

long PeakKilobytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// The least a job must draw: each label's text, nothing else.
void DrawFloor(const CSheet& sheet, int nMarkers, const QString& path)
{
    QPdfWriter writer(path);
    writer.setResolution(600);
    writer.setPageSize(QPageSize(QSizeF(210, 297), QPageSize::Millimeter));
    writer.setPageMargins(QMarginsF());
    QPainter painter(&writer);
    QFont font(QStringLiteral("Noto Serif CJK SC"));
    font.setPixelSize(71); // 3 mm at 600 dpi
    font.setKerning(false);
    font.setStyleStrategy(QFont::PreferNoShaping);
    painter.setFont(font);
    const CPageFormat& format = sheet.m_format;
    const auto dots = [](double dMm) { return dMm * 600 / 25.4; };
    for (int n = 1; n <= nMarkers; ++n) {
        const int nOnSheet = (n - 1) % 375;
        if (n > 1 && nOnSheet == 0)
            writer.newPage();
        const int r = nOnSheet / 15;
        const int c = nOnSheet % 15;
        const QRectF box(dots(format.m_dLeftMargin + c * format.m_dColumnPitch + 1),
                         dots(format.m_dTopMargin + r * format.m_dRowPitch + 1),
                         dots(format.m_dLabelWidth - 2), dots(format.m_dLabelHeight - 2));
        painter.drawText(box, Qt::AlignCenter, QString::fromStdString(JobMarker(n)));
    }
}

} // namespace

int main(int argc, char* argv[])
{
    QGuiApplication app(argc, argv);
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s ours|floor SHEETS OUT.pdf\n", argv[0]);
        return 2;
    }
    const std::string mode = argv[1];
    const int nMarkers = std::atoi(argv[2]) * 375;
    const QString path = QFile::decodeName(argv[3]);
    const CSheet sheet = JobSheet();
    const double dStart = CpuSeconds();
    if (mode == "floor") {
        DrawFloor(sheet, nMarkers, path);
    } else {
        const CMarkerList markers = JobMarkers(nMarkers);
        CMarkerSheets sheets(sheet, markers, false);
        QString error;
        if (ExportMarkerSheetsPdf(path, sheets, PrintMode::Labels, {}, error) != SheetsPdfResult::Written) {
            std::fprintf(stderr, "%s\n", qPrintable(error));
            return 1;
        }
    }
    std::printf("%.3f %ld\n", CpuSeconds() - dStart, PeakKilobytes());
    return 0;
}
