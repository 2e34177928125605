// The print dialog of labels: for a job of many sheets the sheets to print
// written as a list, read as --pages reads it, and only those sheets
// printed, each as the whole job prints it; for a queue never calibrated a
// word, once, on where the labels will land.
#include "print/CLabelPrintDlg.h"
#include "print/PageOffsetSettings.h"
#include "wirelist/CWireListDlg.h"

#include "../core/SampleSheets.h"
#include "test_app_support.h"

#include <QComboBox>
#include <QLabel>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// A 2 × 3 sheet, every label selected: W10 … W24 take three sheets, six,
// six and three markers.
CSheet SixLabels()
{
    return samples::SheetSelecting(3, 2, [](int, int) { return true; });
}

QString PdfText(const QString& pdf, int nPage)
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"),
                  {QStringLiteral("-f"), QString::number(nPage), QStringLiteral("-l"), QString::number(nPage),
                   pdf, QStringLiteral("-")});
    EXPECT_TRUE(process.waitForFinished(20000));
    return QString::fromUtf8(process.readAllStandardOutput()).simplified();
}

} // namespace

// What may be typed into 打印页 and what it gives, in a job of 12 sheets.
TEST(JobPrintDialog, SheetListsAreRead)
{
    const struct
    {
        const char* szName;
        QString typed;
        const char* szSheets;  // as CPageSelection writes them; null when refused
        const char* szProblem; // a piece of the message when refused
    } cases[] = {
        {"one sheet", QStringLiteral("3"), "3", nullptr},
        {"two sheets", QStringLiteral("1,3"), "1,3", nullptr},
        {"a list with a range", QStringLiteral("7, 9-11"), "7,9-11", nullptr},
        {"typed with a Chinese input method", QStringLiteral("7，9－11"), "7,9-11", nullptr},
        {"empty: every sheet", QStringLiteral("  "), "", nullptr},
        {"the last sheet", QStringLiteral("12"), "12", nullptr},
        {"beyond the job", QStringLiteral("2, 13"), nullptr, "共 12 页"},
        {"not a list", QStringLiteral("3 页"), nullptr, "不是页码列表"},
        {"a range that runs down", QStringLiteral("5-2"), nullptr, "不是页码列表"},
        {"sheet 0", QStringLiteral("0"), nullptr, "不是页码列表"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.szName);
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        CLabelPrintDlg dialog(&printer, 12);
        dialog.open();
        auto* list = dialog.findChild<QLineEdit*>(QStringLiteral("sheetList"));
        auto* problem = dialog.findChild<QLabel*>(QStringLiteral("sheetListProblem"));
        ASSERT_NE(list, nullptr);
        ASSERT_NE(problem, nullptr);
        EXPECT_TRUE(list->isVisible()) << "the field is in sight when the dialog opens";
        list->setText(c.typed);
        dialog.accept();
        if (c.szSheets) {
            EXPECT_EQ(dialog.result(), QDialog::Accepted);
            EXPECT_EQ(dialog.Sheets().Text(), c.szSheets);
            EXPECT_EQ(problem->text(), QString());
        } else {
            EXPECT_TRUE(dialog.isVisible()) << "a list that cannot be printed was taken";
            EXPECT_TRUE(problem->text().contains(QString::fromUtf8(c.szProblem)))
                << problem->text().toStdString();
            dialog.reject();
        }
    }
}

// The job's 打印... with "1,3": sheets 1 and 3 arrive, each with the markers
// the whole job puts on it. Into a PDF file here; on the CUPS queue named by
// TAVRO_TEST_QUEUE when it is set (tests/e2e/job_print_dialog.sh checks what
// the queue receives).
TEST(JobPrintDialog, PrintsTheListedSheets)
{
    const QString queue = qEnvironmentVariable("TAVRO_TEST_QUEUE");
    if (queue.isEmpty() && QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        GTEST_SKIP() << "poppler-utils are not installed";
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("job.pdf"));
    CSequencePattern pattern;
    ASSERT_FALSE(CSequencePattern::Parse("W{10-24}", pattern).has_value());
    CWireListDlg job(pattern, QStringLiteral("W{10-24}"), SixLabels(), 0, 0,
                     [](const std::vector<std::string>& texts) { return texts.size(); });
    EXPECT_EQ(job.CountText(), QStringLiteral("共 15 个标签，需要 3 页"));
    QPushButton* print = nullptr;
    for (QPushButton* button : job.findChildren<QPushButton*>())
        if (button->text() == QStringLiteral("打印(&P)..."))
            print = button;
    ASSERT_NE(print, nullptr);
    bool bAnswered = false;
    AnswerNextDialog<CLabelPrintDlg>([&](CLabelPrintDlg* dlg) {
        auto* printers = dlg->findChild<QComboBox*>(QStringLiteral("printers")); // Qt's name
        ASSERT_NE(printers, nullptr);
        if (queue.isEmpty()) {
            printers->setCurrentIndex(printers->count() - 1); // "打印到文件(PDF)"
            dlg->findChild<QLineEdit*>(QStringLiteral("filename"))->setText(pdf);
        } else {
            const int nQueue = printers->findText(queue);
            ASSERT_GE(nQueue, 0) << "no queue " << queue.toStdString();
            printers->setCurrentIndex(nQueue);
        }
        dlg->findChild<QLineEdit*>(QStringLiteral("sheetList"))->setText(QStringLiteral("1,3"));
        bAnswered = true;
        dlg->accept();
    });
    print->click();
    ASSERT_TRUE(bAnswered);
    if (!queue.isEmpty())
        return;
    ASSERT_TRUE(QFile::exists(pdf));
    EXPECT_EQ(PdfText(pdf, 1), QStringLiteral("W10 W11 W12 W13 W14 W15"));
    EXPECT_EQ(PdfText(pdf, 2), QStringLiteral("W22 W23 W24"));
    EXPECT_EQ(PdfText(pdf, 3), QString()) << "more than two pages";
}

// A queue never calibrated whose paper has an unprintable margin: the print
// dialog says by how much the labels will land shifted, once, and offers the
// calibration page. Needs a CUPS queue: TAVRO_TEST_QUEUE names it
// (tests/e2e/job_print_dialog.sh starts one: 6.35 mm across, 12.7 mm down on
// A4). Without one, the PDF file entry has nothing to say.
TEST(LabelPrintDialog, UncalibratedQueueIsToldOnce)
{
    const QString queue = qEnvironmentVariable("TAVRO_TEST_QUEUE");
    {
        const std::unique_ptr<QSettings> settings = OpenAppSettings();
        ASSERT_NE(settings, nullptr);
        settings->remove(SettingsKeys::kCalibrationNoteSaid);
    }
    ASSERT_EQ(RemovePrinterCalibration(queue), QString());
    // What the next dialog says: the note's text, empty when none.
    const auto said = [&](std::size_t nSheets, bool bChooseCalibration = false) {
        QPrinter printer(QPrinter::HighResolution);
        if (queue.isEmpty())
            printer.setOutputFormat(QPrinter::PdfFormat);
        else
            printer.setPrinterName(queue);
        CLabelPrintDlg dialog(&printer, nSheets);
        dialog.open();
        QApplication::processEvents();
        auto* note = dialog.findChild<QLabel*>(QStringLiteral("calibrationNote"));
        auto* calibrate = dialog.findChild<QPushButton*>(QStringLiteral("printCalibrationPage"));
        EXPECT_NE(note, nullptr);
        EXPECT_NE(calibrate, nullptr);
        if (!note || !calibrate)
            return QString();
        EXPECT_EQ(calibrate->isVisible(), note->isVisible());
        const QString text = note->isVisible() ? note->text() : QString();
        if (bChooseCalibration && calibrate->isVisible()) {
            calibrate->click();
            EXPECT_FALSE(dialog.isVisible());
            EXPECT_TRUE(dialog.CalibrationChosen());
            EXPECT_EQ(dialog.CalibrationQueue(), queue);
        }
        dialog.reject();
        return text;
    };
    if (queue.isEmpty()) {
        EXPECT_EQ(said(0), QString());
        EXPECT_EQ(said(5), QString());
        return;
    }
    const QString first = said(0, true);
    EXPECT_TRUE(first.contains(QStringLiteral("还没有校准"))) << first.toStdString();
    EXPECT_TRUE(first.contains(QStringLiteral("向右偏 6.35 mm"))) << first.toStdString();
    EXPECT_TRUE(first.contains(QStringLiteral("向下偏 12.7 mm"))) << first.toStdString();
    EXPECT_EQ(said(0), QString()) << "said a second time";
    EXPECT_EQ(said(5), QString()) << "said again in a job's dialog";

    // A queue with its own calibration is never told.
    {
        const std::unique_ptr<QSettings> settings = OpenAppSettings();
        settings->remove(SettingsKeys::kCalibrationNoteSaid);
    }
    ASSERT_EQ(WritePrinterCalibration(queue, {10, 20, 0, 0}), QString());
    EXPECT_EQ(said(5), QString());
    EXPECT_EQ(RemovePrinterCalibration(queue), QString());
}
