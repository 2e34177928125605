// Per-printer calibration in the front end: stored under hostile queue
// names, edited in the page offset dialog, computed in the measuring
// dialog, and applied by --pdf --printer where the arithmetic predicts.
#include "test_app_support.h"

#include "model/CSheet.h"
#include "print/CCalibrationDlg.h"
#include "print/CPageOffsetDlg.h"
#include "print/CommandLinePrint.h"
#include "print/PageOffsetSettings.h"
#include "print/PrintLayout.h"
#include "print/PrintPage.h"

#include "PdfCheck.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>

#include <cmath>
#include <optional>

namespace {

constexpr int kPdfDpi = 600;

QString SettingsFile()
{
    return QString::fromStdString(SettingsFilePath(SettingsKeys::kFileName.toStdString()).value_or(""));
}

// Queue names with every character an INI file or a settings group treats
// specially, and names that differ only in them.
const QString kHostileNames[] = {
    QStringLiteral("Lab printer/2"),   QStringLiteral("Lab printer\\2"),
    QStringLiteral("Lab printer%2F2"), QStringLiteral("a=b;c#d"),
    QStringLiteral("[General]"),       QStringLiteral("\"quoted\" name"),
    QStringLiteral("打印机 一楼"),     QStringLiteral("line\nbreak"),
    QStringLiteral("PageMoveX"),       QStringLiteral(".."),
    QStringLiteral("Lab_20printer"),   QStringLiteral(" lead"),
};

// The first column of the row y in the window [x0, x0 + width) of the PDF
// page rendered at 600 dpi that is green, as the ruler pen draws; nullopt
// when none is.
std::optional<int> FirstGreen(const QString& pdf, const QString& prefix, int x0, int y0, int nWidth,
                              int nHeight, bool bAlongX)
{
    QProcess process;
    process.start(QStringLiteral("pdftoppm"),
                  {QStringLiteral("-png"), QStringLiteral("-r"), QString::number(kPdfDpi),
                   QStringLiteral("-x"), QString::number(x0), QStringLiteral("-y"), QString::number(y0),
                   QStringLiteral("-W"), QString::number(nWidth), QStringLiteral("-H"),
                   QString::number(nHeight), QStringLiteral("-singlefile"), pdf, prefix});
    EXPECT_TRUE(process.waitForFinished(60000));
    const QImage image(prefix + QStringLiteral(".png"));
    const int nSteps = bAlongX ? image.width() : image.height();
    for (int i = 0; i < nSteps; ++i) {
        const QColor color =
            bAlongX ? image.pixelColor(i, image.height() / 2) : image.pixelColor(image.width() / 2, i);
        if (color.green() > color.red() + 20 && color.green() > color.blue() + 20)
            return (bAlongX ? x0 : y0) + i;
    }
    return std::nullopt;
}

class PrinterCalibrationTest : public ::testing::Test
{
protected:
    void SetUp() override { QFile::remove(SettingsFile()); }
    void TearDown() override { QFile::remove(SettingsFile()); }
};

} // namespace

TEST_F(PrinterCalibrationTest, HostileQueueNamesKeepTheirOwnValues)
{
    ASSERT_EQ(WritePageOffset(QStringLiteral("-120"), QStringLiteral("35")), QString());
    int n = 0;
    for (const QString& name : kHostileNames) {
        ++n;
        ASSERT_EQ(WritePrinterCalibration(name, {n, -n, 100 * n, -100 * n}), QString()) << name.toStdString();
    }
    n = 0;
    for (const QString& name : kHostileNames) {
        ++n;
        SCOPED_TRACE(name.toStdString());
        EXPECT_EQ(ReadPrinterCalibration(name), (CPrinterCalibration{n, -n, 100 * n, -100 * n}));
    }
    // The machine-wide offset is untouched, read as before.
    const CPageOffset machineWide = ReadPageOffset();
    EXPECT_EQ(machineWide.m_nMoveX, -120);
    EXPECT_EQ(machineWide.m_nMoveY, 35);
    EXPECT_EQ(ReadPrinterCalibration(QStringLiteral("Lab printer")), std::nullopt);
    EXPECT_EQ(ReadPrinterCalibration(QString()), std::nullopt);
    EXPECT_EQ(CalibrationForPrinter(QStringLiteral("Lab printer"), machineWide),
              (CPrinterCalibration{-120, 35, 0, 0}));
    EXPECT_NE(WritePrinterCalibration(QString(), {1, 1, 1, 1}), QString());

    // Removing one entry leaves its neighbours.
    ASSERT_EQ(RemovePrinterCalibration(kHostileNames[0]), QString());
    EXPECT_EQ(ReadPrinterCalibration(kHostileNames[0]), std::nullopt);
    EXPECT_EQ(ReadPrinterCalibration(kHostileNames[1]), (CPrinterCalibration{2, -2, 200, -200}));
}

TEST_F(PrinterCalibrationTest, StoredValuesOutOfRangeReadAsZero)
{
    {
        QSettings settings(SettingsFile(), QSettings::IniFormat);
        settings.setValue(QStringLiteral("PrinterCalibration/Office/MoveX"), QStringLiteral("10000"));
        settings.setValue(QStringLiteral("PrinterCalibration/Office/MoveY"), QStringLiteral("-250"));
        settings.setValue(QStringLiteral("PrinterCalibration/Office/ScaleX"), QStringLiteral("20001"));
        settings.setValue(QStringLiteral("PrinterCalibration/Office/ScaleY"), QStringLiteral("-4975"));
    }
    EXPECT_EQ(ReadPrinterCalibration(QStringLiteral("Office")), (CPrinterCalibration{0, -250, 0, -4975}));
}

// --pdf --printer NAME: each label rectangle's left and top edge where
// (position + offset) × (1 + scale) puts it, within one device unit; without
// --printer, the machine-wide offset.
TEST_F(PrinterCalibrationTest, PdfForAPrinterPlacesLabelsAsPredicted)
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty())
        GTEST_SKIP() << "poppler-utils are not installed";
    QTemporaryDir dir;
    const QString sheetFile = QStringLiteral(TAVRO_TEST_DATA "/preset-7x20-texts.tav");
    CSheet sheet;
    ASSERT_EQ(ReadSheetFile(sheetFile.toStdString(), sheet), SheetReadResult::Ok);
    const CPageFormat& format = sheet.m_format;
    const QString printer = QStringLiteral("Lab printer/2 [west]");
    ASSERT_EQ(WritePageOffset(QStringLiteral("150"), QStringLiteral("-80")), QString());
    ASSERT_EQ(WritePrinterCalibration(printer, {-230, 410, 8500, -12500}), QString());

    const struct
    {
        const char* szName;
        std::vector<std::string> printerArgs;
        CPrinterCalibration expected;
    } cases[] = {
        {"own calibration", {"--printer", printer.toStdString()}, {-230, 410, 8500, -12500}},
        {"machine-wide offset", {}, {150, -80, 0, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.szName);
        const std::string pdf = dir.filePath(QStringLiteral("page.pdf")).toStdString();
        std::vector<std::string> args = {"--pdf", pdf, "--preview"};
        args.insert(args.end(), c.printerArgs.begin(), c.printerArgs.end());
        args.push_back(sheetFile.toStdString());
        ASSERT_EQ(RunCommandLinePrint(ParseCommandLine(args)), "");
        ExpectValidPdf(QString::fromStdString(pdf));
        for (const auto& [r, col] : {std::pair{0, 0}, std::pair{format.m_nRows - 1, format.m_nColumns - 1}}) {
            SCOPED_TRACE("label " + std::to_string(r) + "," + std::to_string(col));
            const double dLeft = CalibratedPosition(format.m_dLeftMargin + col * format.m_dColumnPitch,
                                                    c.expected.m_nMoveX, c.expected.m_nScaleX);
            const double dTop = CalibratedPosition(format.m_dTopMargin + r * format.m_dRowPitch,
                                                   c.expected.m_nMoveY, c.expected.m_nScaleY);
            const double dMiddleX = CalibratedPosition(format.m_dLeftMargin + col * format.m_dColumnPitch +
                                                           format.m_dLabelWidth / 2,
                                                       c.expected.m_nMoveX, c.expected.m_nScaleX);
            const double dMiddleY =
                CalibratedPosition(format.m_dTopMargin + r * format.m_dRowPitch + format.m_dLabelHeight / 2,
                                   c.expected.m_nMoveY, c.expected.m_nScaleY);
            const double dLeftDots = ToDevice(kPdfDpi, dLeft);
            const double dTopDots = ToDevice(kPdfDpi, dTop);
            const std::optional<int> left =
                FirstGreen(QString::fromStdString(pdf), dir.filePath(QStringLiteral("row")),
                           int(dLeftDots) - 20, ToDeviceUnits(kPdfDpi, dMiddleY), 40, 1, true);
            const std::optional<int> top =
                FirstGreen(QString::fromStdString(pdf), dir.filePath(QStringLiteral("column")),
                           ToDeviceUnits(kPdfDpi, dMiddleX), int(dTopDots) - 20, 1, 40, false);
            ASSERT_TRUE(left && top);
            EXPECT_NEAR(*left, dLeftDots, 1.0);
            EXPECT_NEAR(*top, dTopDots, 1.0);
        }
    }
    EXPECT_NE(
        RunCommandLinePrint(ParseCommandLine({"--pdf", dir.filePath(QStringLiteral("x.pdf")).toStdString(),
                                              "--printer", "No such printer", sheetFile.toStdString()})),
        "");
}

// The calibration page of the default sheet, or of a document's sheet: the
// marks' distances as text, the page size in the note.
TEST_F(PrinterCalibrationTest, CalibrationPagePdfShowsTheMarks)
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        GTEST_SKIP() << "poppler-utils are not installed";
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("calibration.pdf"));
    const struct
    {
        const char* szName;
        std::vector<std::string> documentArgs;
        std::vector<const char*> texts;
    } cases[] = {
        {"default sheet", {}, {"X 17 mm", "X 123 mm", "Y 8 mm", "Y 192 mm", "140 × 200 mm"}},
        {"A4 7 × 20 document",
         {TAVRO_TEST_DATA "/preset-7x20-texts.tav"},
         {"X 17 mm", "X 193 mm", "Y 17 mm", "Y 280 mm", "210 × 297 mm"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.szName);
        std::vector<std::string> args = {"--pdf", pdf.toStdString(), "--calibration-page"};
        args.insert(args.end(), c.documentArgs.begin(), c.documentArgs.end());
        ASSERT_EQ(RunCommandLinePrint(ParseCommandLine(args)), "");
        const QString text = PdfText(pdf);
        for (const char* szText : c.texts)
            EXPECT_TRUE(text.contains(QString::fromUtf8(szText))) << szText << "\n" << text.toStdString();
    }
    EXPECT_NE(RunCommandLinePrint(ParseCommandLine({"--calibration-page", "No such printer"})), "");
}

TEST_F(PrinterCalibrationTest, MeasuringDialogShowsAndStoresTheResult)
{
    const QString printer = QStringLiteral("Office=2");
    const CCalibrationMarks marks{17, 123, 8, 192};
    const struct
    {
        const char* szName;
        double dLeft, dRight, dTop, dBottom;
        bool bSound;
        const char* szShown;
        CPrinterCalibration expected;
    } cases[] = {
        {"as nominal", 17.0, 123.0, 8.0, 192.0, true, "偏移量 X 0，Y 0", {0, 0, 0, 0}},
        {"shifted and stretched", 19.5, 125.9, 6.8, 190.8, true, "比例 X -3759，Y 0", {-244, 120, -3759, 0}},
        {"more than 2 % larger", 17.0, 126.0, 8.0, 192.0, false, "±2 %", {}},
        {"offset beyond range", 120.0, 226.0, 8.0, 192.0, false, "±99.99 mm", {}},
        {"reversed", 123.0, 17.0, 8.0, 192.0, false, "第二个距离必须大于第一个", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.szName);
        QFile::remove(SettingsFile());
        CCalibrationDlg dlg(printer, marks);
        dlg.findChild<QDoubleSpinBox*>(QStringLiteral("spinLeft"))->setValue(c.dLeft);
        dlg.findChild<QDoubleSpinBox*>(QStringLiteral("spinRight"))->setValue(c.dRight);
        dlg.findChild<QDoubleSpinBox*>(QStringLiteral("spinTop"))->setValue(c.dTop);
        dlg.findChild<QDoubleSpinBox*>(QStringLiteral("spinBottom"))->setValue(c.dBottom);
        const QString shown = dlg.findChild<QLabel*>(QStringLiteral("labelResult"))->text();
        EXPECT_TRUE(shown.contains(QString::fromUtf8(c.szShown))) << shown.toStdString();
        EXPECT_EQ(dlg.IsSound(), c.bSound);
        QMetaObject::invokeMethod(&dlg, "accept");
        if (c.bSound) {
            EXPECT_EQ(dlg.Calibration(), c.expected);
            EXPECT_EQ(ReadPrinterCalibration(printer), c.expected);
        } else {
            EXPECT_EQ(ReadPrinterCalibration(printer), std::nullopt) << "a refused measurement was stored";
        }
    }
}

// The page offset dialog for a printer: its own values shown as its own;
// OK keeps them its own, "用于所有打印机" makes them machine-wide instead.
TEST_F(PrinterCalibrationTest, OffsetDialogWritesThePrintersOwnOrTheMachineWideValues)
{
    const QString printer = QStringLiteral("Lab/1");
    const auto run = [&](bool bOwn, bool bForAll, const QString& scaleX) {
        CPageOffsetDlg dlg;
        dlg.m_strPrinter = printer;
        dlg.m_bPrinterOwn = bOwn;
        dlg.m_strOffsetX = QStringLiteral("40");
        dlg.m_strOffsetY = QStringLiteral("-60");
        dlg.m_strScaleX = scaleX;
        AnswerNextDialog<CPageOffsetDlg>([=](CPageOffsetDlg* shown) {
            EXPECT_TRUE(shown->findChild<QLabel*>(QStringLiteral("labelPrinter"))->text().contains(printer));
            const QString source = shown->findChild<QLabel*>(QStringLiteral("labelSource"))->text();
            EXPECT_TRUE(source.contains(bOwn ? QStringLiteral("自己的校准值") : QStringLiteral("共用")))
                << source.toStdString();
            auto* check = shown->findChild<QCheckBox*>(QStringLiteral("checkAllPrinters"));
            EXPECT_EQ(check->isChecked(), !bOwn);
            check->setChecked(bForAll);
            EXPECT_EQ(shown->findChild<QLineEdit*>(QStringLiteral("editScaleX"))->isEnabled(), !bForAll);
            QMetaObject::invokeMethod(shown, "accept");
        });
        const int nResult = dlg.exec();
        return std::pair{nResult, dlg.m_bForAllPrinters};
    };

    // No own values yet: the default choice writes the machine-wide offset.
    EXPECT_EQ(run(false, true, QStringLiteral("0")), std::pair(int(QDialog::Accepted), true));
    EXPECT_EQ(ReadPageOffset().m_nMoveX, 40);
    EXPECT_EQ(ReadPrinterCalibration(printer), std::nullopt);

    // Unticked: the printer's own, scale included; the machine-wide offset stays.
    ASSERT_EQ(WritePageOffset(QStringLiteral("7"), QStringLiteral("8")), QString());
    EXPECT_EQ(run(false, false, QStringLiteral("-4975")), std::pair(int(QDialog::Accepted), false));
    EXPECT_EQ(ReadPrinterCalibration(printer), (CPrinterCalibration{40, -60, -4975, 0}));
    EXPECT_EQ(ReadPageOffset().m_nMoveX, 7);

    // Ticked again on a printer with its own values: machine-wide, and the
    // printer's own go.
    EXPECT_EQ(run(true, true, QStringLiteral("-4975")), std::pair(int(QDialog::Accepted), true));
    EXPECT_EQ(ReadPrinterCalibration(printer), std::nullopt);
    EXPECT_EQ(ReadPageOffset().m_nMoveY, -60);

    // A scale beyond ±2 % is refused with the range.
    CSeenBox seen;
    AnswerNextMessageBox(QMessageBox::Ok, &seen);
    EXPECT_EQ(run(false, false, QStringLiteral("20001")).first, int(QDialog::Rejected));
    EXPECT_TRUE(seen.m_strText.contains(QStringLiteral("20000"))) << seen.m_strText.toStdString();
    EXPECT_EQ(ReadPrinterCalibration(printer), std::nullopt);
}

// Without any printer the dialog speaks of the machine-wide offset only.
TEST_F(PrinterCalibrationTest, OffsetDialogWithoutAPrinterShowsTheMachineWideOffset)
{
    CPageOffsetDlg dlg;
    dlg.m_strOffsetX = QStringLiteral("40");
    dlg.m_strOffsetY = QStringLiteral("-60");
    AnswerNextDialog<CPageOffsetDlg>([](CPageOffsetDlg* shown) {
        EXPECT_EQ(shown->findChild<QLabel*>(QStringLiteral("labelPrinter"))->text(),
                  QStringLiteral("打印机： （没有安装打印机）"));
        EXPECT_EQ(shown->findChild<QLabel*>(QStringLiteral("labelSource"))->text(),
                  QStringLiteral("显示的是所有打印机共用的偏移量。"));
        auto* check = shown->findChild<QCheckBox*>(QStringLiteral("checkAllPrinters"));
        EXPECT_TRUE(check->isChecked());
        EXPECT_FALSE(check->isEnabled());
        QMetaObject::invokeMethod(shown, "accept");
    });
    EXPECT_EQ(dlg.exec(), int(QDialog::Accepted));
    EXPECT_EQ(ReadPageOffset().m_nMoveX, 40);
}
