// The arithmetic of printer calibration: from a ruler's readings on the
// calibration page to an offset and a scale, and back to where labels land.
#include "SampleSheets.h"
#include "print/PrinterCalibration.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>

namespace {

// A printer that puts a nominal distance n (mm) at a + b·n.
struct CPrinterModel
{
    const char* szName;
    double dShift; // a, mm
    double dScale; // b
};

// What a careful reader of a ruler writes down: the nearest 0.1 mm.
int RulerTenths(double dMillimetres)
{
    return static_cast<int>(std::lround(dMillimetres * 10.0));
}

} // namespace

TEST(PrinterCalibration, AxisFromMeasurements)
{
    const struct
    {
        const char* szName;
        CAxisMeasurement measured;
        CAxisCalibration expected;
    } cases[] = {
        {"true printer", {17, 123, 170, 1230}, {CalibrationCheck::Ok, 0, 0}},
        {"shifted 2.5 mm right", {17, 123, 195, 1255}, {CalibrationCheck::Ok, -250, 0}},
        {"shifted 1.2 mm up", {8, 192, 68, 1908}, {CalibrationCheck::Ok, 120, 0}},
        // 20 → 20.1 and 220 → 221.1: b = 1.005, 1/b − 1 = −4975.12 ppm.
        {"stretched 0.5 %", {20, 220, 201, 2211}, {CalibrationCheck::Ok, 0, -4975}},
        // 20 → 19.9, 220 → 218.9: b = 0.995, a = 0; 1/b − 1 = +5025.13 ppm.
        {"shrunk 0.5 %", {20, 220, 199, 2189}, {CalibrationCheck::Ok, 0, 5025}},
        {"marks given right to left", {123, 17, 1230, 170}, {CalibrationCheck::Ok, 0, 0}},
        // −10 × 10⁶ / 32000 = −312.5 and +312.5: halves go away from zero.
        {"scale half below", {0, 3199, 0, 32000}, {CalibrationCheck::Ok, 0, -313}},
        {"scale half above", {0, 3201, 0, 32000}, {CalibrationCheck::Ok, 0, 313}},
        // (2001 × 100 − 100 × 2000) / 200 = +0.5, and −9.5 one tenth further.
        {"offset half above", {10, 210, 100, 2101}, {CalibrationCheck::Ok, 1, -500}},
        {"offset half below", {10, 210, 101, 2102}, {CalibrationCheck::Ok, -10, -500}},
        {"scale at +2 %", {0, 1020, 0, 10000}, {CalibrationCheck::Ok, 0, 20000}},
        {"scale at −2 %", {0, 980, 0, 10000}, {CalibrationCheck::Ok, 0, -20000}},
        {"scale beyond +2 %", {0, 1020, 0, 9999}, {CalibrationCheck::ScaleTooLarge, 0, 0}},
        {"scale beyond −2 %", {0, 980, 0, 10001}, {CalibrationCheck::ScaleTooLarge, 0, 0}},
        {"offset at the limit", {20, 120, 200 - 999, 1200 - 999}, {CalibrationCheck::Ok, 9990, 0}},
        {"offset beyond the limit",
         {20, 120, 200 - 1000, 1200 - 1000},
         {CalibrationCheck::MoveTooLarge, 0, 0}},
        {"offset beyond the limit below", {20, 120, 1200, 2200}, {CalibrationCheck::MoveTooLarge, 0, 0}},
        {"one mark twice", {17, 17, 170, 171}, {CalibrationCheck::SameMarks, 0, 0}},
        {"measured the same", {17, 123, 500, 500}, {CalibrationCheck::WrongOrder, 0, 0}},
        {"measured the wrong way round", {17, 123, 1230, 170}, {CalibrationCheck::WrongOrder, 0, 0}},
        {"beyond ten metres", {17, 123, 170, 100001}, {CalibrationCheck::BeyondThePage, 0, 0}},
        {"huge nominal", {17, 2147483647, 170, 1230}, {CalibrationCheck::BeyondThePage, 0, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.szName);
        const CAxisCalibration result = CalibrateAxis(c.measured);
        EXPECT_EQ(result.m_check, c.expected.m_check);
        EXPECT_EQ(result.m_nMove, c.expected.m_nMove);
        EXPECT_EQ(result.m_nScalePpm, c.expected.m_nScalePpm);
    }
}

// Printers that shift and stretch, measured with a ruler on the default
// sheet's marks: once calibrated, every position of the label area lands
// within a tenth of a millimetre of where the sheet puts it.
TEST(PrinterCalibration, CalibratedPrinterPrintsWhereTheSheetSays)
{
    const CPrinterModel printers[] = {
        {"true", 0.0, 1.0},
        {"feeds late", 3.7, 1.0},
        {"unprintable margin, stretches", -4.23, 1.0042},
        {"shrinks", 1.5, 0.9961},
        {"almost 2 % larger", -0.4, 1.0195},
        {"almost 2 % smaller", 0.8, 0.981},
    };
    for (const CPageFormat& format : {CPageFormat(), samples::Preset7x20()}) {
        const CCalibrationMarks marks = CalibrationMarks(format);
        for (const CPrinterModel& printer : printers) {
            SCOPED_TRACE(printer.szName);
            const auto measure = [&](int nNominal1, int nNominal2) {
                return CAxisMeasurement{nNominal1, nNominal2,
                                        RulerTenths(printer.dShift + printer.dScale * nNominal1),
                                        RulerTenths(printer.dShift + printer.dScale * nNominal2)};
            };
            for (const CAxisMeasurement& axis :
                 {measure(marks.m_nLeft, marks.m_nRight), measure(marks.m_nTop, marks.m_nBottom)}) {
                const CAxisCalibration calibration = CalibrateAxis(axis);
                ASSERT_EQ(calibration.m_check, CalibrationCheck::Ok);
                for (double n = axis.m_nNominal1 - 5.0; n <= axis.m_nNominal2 + 5.0; n += 0.5) {
                    const double dPrinted =
                        printer.dShift +
                        printer.dScale * CalibratedPosition(n, calibration.m_nMove, calibration.m_nScalePpm);
                    EXPECT_NEAR(dPrinted, n, 0.1) << "at " << n << " mm";
                }
            }
        }
    }
}

TEST(PrinterCalibration, ScaleActsAfterTheOffsetAboutTheCorner)
{
    EXPECT_EQ(ScaleFactor(0), 1.0);
    EXPECT_DOUBLE_EQ(ScaleFactor(20000), 1.02);
    EXPECT_DOUBLE_EQ(ScaleFactor(-5000), 0.995);
    EXPECT_EQ(CalibratedPosition(0.0, 0, 15000), 0.0);
    EXPECT_EQ(CalibratedPosition(123.45, 0, 0), 123.45); // unscaled: exactly as before
    EXPECT_DOUBLE_EQ(CalibratedPosition(100.0, 250, 10000), 102.5 * 1.01);
    EXPECT_DOUBLE_EQ(CalibratedPosition(100.0, -250, -10000), 97.5 * 0.99);
}

TEST(PrinterCalibration, StoredScaleAsRead)
{
    const struct
    {
        const char* szText;
        int nValue;
    } cases[] = {
        {"0", 0},      {"4975", 4975}, {"-4975", -4975}, {"+20000", 20000}, {"-20000", -20000}, {"20001", 0},
        {"-20001", 0}, {"", 0},        {"ppm", 0},       {" 12x", 12},      {"99999999999", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.szText);
        EXPECT_EQ(ScalePpmFromText(c.szText), c.nValue);
    }
}

TEST(PrinterCalibration, QueueNamesBecomePlainKeys)
{
    EXPECT_EQ(CalibrationKey("Office-Laser.2"), "Office-Laser.2");
    EXPECT_EQ(CalibrationKey("a b"), "a_20b");
    EXPECT_EQ(CalibrationKey("a_20b"), "a_5F20b");
    EXPECT_EQ(CalibrationKey("x/y\\z"), "x_2Fy_5Cz");
    EXPECT_EQ(CalibrationKey("\xE6\x89\x93"), "_E6_89_93"); // "打" in UTF-8
    EXPECT_EQ(CalibrationKey(""), "");
    // Names that would split a group, start a comment or a section, end a
    // key or escape a character in an INI file, and names that differ only
    // there: all distinct, all plain.
    const std::string hostile[] = {
        "a/b",
        "a\\b",
        "a%2Fb",
        "a=b",
        "a;b",
        "#a",
        "[a]",
        "a\"b",
        "a\nb",
        "a\tb",
        " a",
        "a ",
        "a%b",
        "a_2Fb",
        "a_b",
        "A/B",
        std::string("a\0b", 3),
        "\xFF",
        "PageMoveX",
        "..",
        "/",
    };
    std::set<std::string> keys;
    for (const std::string& name : hostile) {
        const std::string key = CalibrationKey(name);
        EXPECT_EQ(key.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-._"),
                  std::string::npos)
            << key;
        keys.insert(key);
    }
    EXPECT_EQ(keys.size(), std::size(hostile));
}

TEST(PrinterCalibration, MarksNearTheCornersOfTheLabelArea)
{
    const auto format = [](double dWidth, double dHeight, double dLeft, double dRight, double dTop,
                           double dBottom) {
        CPageFormat f;
        f.m_dPageWidth = dWidth;
        f.m_dPageHeight = dHeight;
        f.m_dLeftMargin = dLeft;
        f.m_dRightMargin = dRight;
        f.m_dTopMargin = dTop;
        f.m_dBottomMargin = dBottom;
        f.Recalc();
        return f;
    };
    const struct
    {
        const char* szName;
        CPageFormat format;
        CCalibrationMarks expected;
    } cases[] = {
        {"default sheet", CPageFormat(), {17, 123, 8, 192}},
        {"A4 preset", samples::Preset7x20(), {17, 193, 17, 280}},
        {"fractional margins round inwards", format(210, 297, 12.3, 11.6, 0.5, 0.2), {18, 193, 6, 291}},
        {"narrow area: no inset", format(50, 50, 20, 21.5, 20, 20), {20, 28, 20, 30}},
        {"area under a millimetre", format(50, 50, 20.2, 29.5, 20, 20), {20, 21, 20, 30}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.szName);
        const CCalibrationMarks marks = CalibrationMarks(c.format);
        EXPECT_GT(marks.m_nRight, marks.m_nLeft);
        EXPECT_GT(marks.m_nBottom, marks.m_nTop);
        EXPECT_EQ(marks, c.expected);
    }
}
