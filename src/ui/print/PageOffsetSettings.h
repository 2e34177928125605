#pragma once

#include "print/PrinterCalibration.h"

#include <QString>

#include <optional>

// The page offset as the settings file keeps it (PageMoveX, PageMoveY:
// decimal text in 0.01 mm).
struct CPageOffset
{
    int m_nMoveX = 0;
    int m_nMoveY = 0;
};

// Read once at start: a missing value, or one outside −9999..9999, is 0.
CPageOffset ReadPageOffset();

// Stores both texts as typed (after the dialog's check). Returns an empty
// string, or why the settings file could not be written.
QString WritePageOffset(const QString& strMoveX, const QString& strMoveY);

// A print queue's own calibration, or nullopt when it has none (or has no
// name). Stored values outside their ranges read as 0.
std::optional<CPrinterCalibration> ReadPrinterCalibration(const QString& queue);

// What printing on `queue` uses: its own calibration, else the machine-wide
// offset without a scale.
CPrinterCalibration CalibrationForPrinter(const QString& queue, const CPageOffset& machineWide);

// Stores a queue's own calibration, or removes it (then the queue follows
// the machine-wide offset). Return an empty string, or why the settings
// file could not be written.
QString WritePrinterCalibration(const QString& queue, const CPrinterCalibration& calibration);
QString RemovePrinterCalibration(const QString& queue);

// Whether the print dialog has said, once, that `queue` is not calibrated;
// marked when it has.
bool CalibrationNoteSaid(const QString& queue);
void MarkCalibrationNoteSaid(const QString& queue);
