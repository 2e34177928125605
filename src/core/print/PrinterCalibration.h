#pragma once

#include "model/CPageFormat.h"

#include <string>
#include <string_view>

// A printer's own calibration: the page offset it needs (0.01 mm, as the
// machine-wide page offset) and how much it stretches or shrinks the page
// (parts per million, positive to print larger). Every printed position p,
// in millimetres from the top-left corner of the printable area, goes to
//   (p + offset) × (1 + scale / 1 000 000)
// so the scale acts about that corner, after the offset.

constexpr int kMaxScalePpm = 20000; // ±2 %

struct CPrinterCalibration
{
    int m_nMoveX = 0; // 0.01 mm, −9999..9999
    int m_nMoveY = 0;
    int m_nScaleX = 0; // ppm, −20000..20000, 0 = none
    int m_nScaleY = 0;

    bool operator==(const CPrinterCalibration&) const = default;
};

// 1 + ppm / 1 000 000; exactly 1 for 0, so an unscaled page is drawn as
// before.
double ScaleFactor(int nScalePpm);

// Where a position (mm from the printable corner) is drawn on one axis.
double CalibratedPosition(double dMillimetres, int nMove, int nScalePpm);

// A stored scale as read: its decimal value when within ±20000, else 0 (as
// PageMoveFromText does for the offset).
int ScalePpmFromText(std::string_view text);

// The settings key of a print queue: the queue name's bytes, every one
// outside A–Z, a–z, 0–9, '-' and '.' written as '_' and two upper-case hex
// digits. Distinct names give distinct keys, and no key holds a character
// the settings file treats specially ('/', '\\', '%', '=', '[' ...).
std::string CalibrationKey(std::string_view queue);

// The crosshairs of the calibration page, in whole millimetres from the
// page's top-left corner: two vertical lines (left, right) and two
// horizontal lines (top, bottom), 5 mm inside the corners of the label area
// where it is large enough; right > left and bottom > top always.
struct CCalibrationMarks
{
    int m_nLeft = 0;
    int m_nRight = 0;
    int m_nTop = 0;
    int m_nBottom = 0;

    bool operator==(const CCalibrationMarks&) const = default;
};
CCalibrationMarks CalibrationMarks(const CPageFormat& format);

// What a ruler shows on one axis of a calibration page printed without any
// calibration: two marks at their nominal distances (whole mm) and the
// distances measured to them (0.1 mm).
struct CAxisMeasurement
{
    int m_nNominal1 = 0; // mm
    int m_nNominal2 = 0;
    int m_nMeasured1 = 0; // 0.1 mm
    int m_nMeasured2 = 0;
};

enum class CalibrationCheck {
    Ok,
    SameMarks,     // the two marks are the same (no distance to compare)
    WrongOrder,    // the marks measure the other way round, or as one
    ScaleTooLarge, // more than ±2 %
    MoveTooLarge,  // an offset outside −9999..9999
    BeyondThePage, // a distance of more than ten metres
};

struct CAxisCalibration
{
    CalibrationCheck m_check = CalibrationCheck::Ok;
    int m_nMove = 0;     // 0.01 mm
    int m_nScalePpm = 0; // ppm
};

// The printer maps a nominal distance n to a + b·n. The calibration undoes
// that: scale = 1/b − 1, offset = −a (then (n − a)/b·b + a = n). Both are
// rounded to the nearest unit, halves away from zero; the offset from the
// measured line, not from the rounded scale.
CAxisCalibration CalibrateAxis(const CAxisMeasurement& measurement);
