#pragma once

#include <QString>

// The settings file and every key in it. One INI file in the settings
// directory holds the program's settings; the names here are its only
// spelling.
namespace SettingsKeys {
inline const QString kFileName = QStringLiteral("tavro.ini");

// The recent-file list: an array of up to four paths, the newest first.
inline const QString kRecentFiles = QStringLiteral("RecentFiles");
inline const QString kRecentFile = QStringLiteral("File");

// The page offset in hundredths of a millimetre, decimal text.
inline const QString kPageMoveX = QStringLiteral("PageMoveX");
inline const QString kPageMoveY = QStringLiteral("PageMoveY");

// A print queue's own calibration: a group per queue (its name as
// CalibrationKey writes it) inside this group, holding the offset in
// 0.01 mm and the scale in parts per million, decimal text.
inline const QString kPrinterCalibration = QStringLiteral("PrinterCalibration");
inline const QString kCalibrationMoveX = QStringLiteral("MoveX");
inline const QString kCalibrationMoveY = QStringLiteral("MoveY");
inline const QString kCalibrationScaleX = QStringLiteral("ScaleX");
inline const QString kCalibrationScaleY = QStringLiteral("ScaleY");
// The queues the print dialog has told that they are not calibrated: a key
// per queue (as CalibrationKey writes it) inside this group, true.
inline const QString kCalibrationNoteSaid = QStringLiteral("CalibrationNoteSaid");

// The sequence patterns used last: an array of up to ten, the newest first.
inline const QString kSequencePatterns = QStringLiteral("SequencePatterns");
inline const QString kSequencePattern = QStringLiteral("Pattern");

// Wire lists: the folder the last one came from, and the dialog's choices
// for each of the last ten lists (an array, the newest first).
inline const QString kWireListFolder = QStringLiteral("WireListFolder");
inline const QString kWireLists = QStringLiteral("WireLists");
inline const QString kWireListPath = QStringLiteral("Path");
inline const QString kWireListColumns = QStringLiteral("Columns");
inline const QString kWireListFarEndColumns = QStringLiteral("FarEndColumns");
inline const QString kWireListJoin = QStringLiteral("Join");
inline const QString kWireListHeaderRows = QStringLiteral("HeaderRows");
inline const QString kWireListSkipEmptyCells = QStringLiteral("SkipEmptyCells");
inline const QString kWireListCopies = QStringLiteral("Copies");
inline const QString kWireListQuantityColumn = QStringLiteral("QuantityColumn");
inline const QString kWireListEncoding = QStringLiteral("Encoding");
inline const QString kWireListWorksheet = QStringLiteral("Worksheet");
} // namespace SettingsKeys
