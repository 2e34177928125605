#include "print/PrinterCalibration.h"

#include "print/PageOffset.h"

#include <cmath>
#include <cstdlib>

namespace {

constexpr double kPartsPerMillion = 1e6;
constexpr int kInsetMillimetres = 5;
// Ten metres in tenths of a millimetre: no sheet is longer, and the
// products below stay far inside 64 bits.
constexpr long long kMaxDistanceTenths = 100000;

bool IsKeyCharacter(unsigned char ch)
{
    return (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z') || (ch >= '0' && ch <= '9') || ch == '-' ||
           ch == '.';
}

// numerator / denominator rounded to the nearest integer, halves away from
// zero; the denominator is not zero.
long long RoundedQuotient(long long numerator, long long denominator)
{
    if (denominator < 0) {
        numerator = -numerator;
        denominator = -denominator;
    }
    // |n| / d rounded: (2|n| + d) / 2d, in integers.
    const long long magnitude = (2 * std::llabs(numerator) + denominator) / (2 * denominator);
    return numerator < 0 ? -magnitude : magnitude;
}

} // namespace

double ScaleFactor(int nScalePpm)
{
    return 1.0 + nScalePpm / kPartsPerMillion;
}

double CalibratedPosition(double dMillimetres, int nMove, int nScalePpm)
{
    return (dMillimetres + nMove * 0.01) * ScaleFactor(nScalePpm);
}

int ScalePpmFromText(std::string_view text)
{
    const int n = DecimalTextValue(text);
    return (n < -kMaxScalePpm || n > kMaxScalePpm) ? 0 : n;
}

std::string CalibrationKey(std::string_view queue)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string key;
    for (const char ch : queue) {
        const auto byte = static_cast<unsigned char>(ch);
        if (IsKeyCharacter(byte)) {
            key.push_back(ch);
            continue;
        }
        key.push_back('_');
        key.push_back(kHex[byte >> 4]);
        key.push_back(kHex[byte & 0x0F]);
    }
    return key;
}

CCalibrationMarks CalibrationMarks(const CPageFormat& format)
{
    // Lines at whole millimetres, inside the label area; the outward
    // rounding is the last resort of a label area under a millimetre.
    const auto pair = [](double dLow, double dHigh, int& nLow, int& nHigh) {
        for (const int nInset : {kInsetMillimetres, 0}) {
            nLow = static_cast<int>(std::ceil(dLow + nInset));
            nHigh = static_cast<int>(std::floor(dHigh - nInset));
            if (nHigh > nLow)
                return;
        }
        nLow = static_cast<int>(std::floor(dLow));
        nHigh = static_cast<int>(std::ceil(dHigh));
        if (nHigh <= nLow)
            nHigh = nLow + 1;
    };
    CCalibrationMarks marks;
    pair(format.m_dLeftMargin, format.m_dPageWidth - format.m_dRightMargin, marks.m_nLeft, marks.m_nRight);
    pair(format.m_dTopMargin, format.m_dPageHeight - format.m_dBottomMargin, marks.m_nTop, marks.m_nBottom);
    return marks;
}

CAxisCalibration CalibrateAxis(const CAxisMeasurement& m)
{
    CAxisCalibration result;
    for (const long long n :
         {10LL * m.m_nNominal1, 10LL * m.m_nNominal2, static_cast<long long>(m.m_nMeasured1),
          static_cast<long long>(m.m_nMeasured2)}) {
        if (std::llabs(n) > kMaxDistanceTenths) {
            result.m_check = CalibrationCheck::BeyondThePage;
            return result;
        }
    }
    // In tenths of a millimetre throughout, so that the rounding is exact.
    const long long nominal1 = 10LL * m.m_nNominal1;
    const long long nominalSpan = 10LL * m.m_nNominal2 - nominal1;
    const long long measuredSpan = static_cast<long long>(m.m_nMeasured2) - m.m_nMeasured1;
    if (nominalSpan == 0) {
        result.m_check = CalibrationCheck::SameMarks;
        return result;
    }
    if (measuredSpan == 0 || (measuredSpan > 0) != (nominalSpan > 0)) {
        result.m_check = CalibrationCheck::WrongOrder;
        return result;
    }
    // b = measuredSpan / nominalSpan; scale = 1/b − 1.
    const long long scale = RoundedQuotient(1'000'000LL * (nominalSpan - measuredSpan), measuredSpan);
    // a = measured1 − b·nominal1 (tenths); offset = −a, in hundredths.
    const long long move = RoundedQuotient(
        10 * (measuredSpan * nominal1 - static_cast<long long>(m.m_nMeasured1) * nominalSpan), nominalSpan);
    if (std::llabs(scale) > kMaxScalePpm)
        result.m_check = CalibrationCheck::ScaleTooLarge;
    else if (std::llabs(move) > kMaxPageMove)
        result.m_check = CalibrationCheck::MoveTooLarge;
    else {
        result.m_nScalePpm = static_cast<int>(scale);
        result.m_nMove = static_cast<int>(move);
    }
    return result;
}
