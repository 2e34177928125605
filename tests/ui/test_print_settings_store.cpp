// The printer choice kept in "tavrops.spd": a file that does not read
// exactly never reaches the printer; a good one becomes the current printer
// and sets paper, orientation and copies. Which branch runs depends on
// whether the machine has a printer (a CUPS queue) at all.
#include "print/CPrinterSettings.h"

#include "model/SettingsDir.h"

#include <QFile>
#include <QPrinter>
#include <gtest/gtest.h>

#include <cerrno>

namespace {

QString SpdPath()
{
    return QString::fromStdString(SettingsFilePath(kPrinterFileName).value_or(""));
}

void WriteBytes(const std::string& bytes)
{
    QFile file(SpdPath());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

} // namespace

TEST(PrinterSettingsStore, ForeignFilesAreTreatedAsMissing)
{
    CPrinterSettings settings;
    const std::optional<CPrinterDescription> before = CPrinterSettings::CurrentPrinter();
    const CPrinterDescription good = CPrinterDescription::ForPrinter("Elsewhere");
    const std::string bytes = PrinterDescriptionBytes(good);
    const struct
    {
        const char* szName;
        std::string bytes;
    } cases[] = {
        {"short", bytes.substr(0, bytes.size() - 3)},
        {"longer than it says", bytes + "xx"},
        {"oversized length", std::string("\xff\xff\xff\x7f", 4) + bytes},
        {"empty", ""},
        {"no name", std::string("\x02\0\0\0\0\0\0\0\0\0", 10)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.szName);
        WriteBytes(c.bytes);
        const int nResult = settings.Load(kPrinterFileName);
        if (!before) {
            EXPECT_EQ(nResult, -1); // no printer installed: nothing changes
            continue;
        }
        EXPECT_EQ(nResult, ENOENT);
        // Holds the current printer, which stays current.
        ASSERT_TRUE(settings.Held().has_value());
        EXPECT_EQ(settings.Held()->PrinterName(), before->PrinterName());
        EXPECT_EQ(CPrinterSettings::CurrentPrinter(), before);
    }
    QFile::remove(SpdPath());
}

TEST(PrinterSettingsStore, StoredChoiceBecomesCurrentAndSetsThePrinter)
{
    const std::optional<CPrinterDescription> before = CPrinterSettings::CurrentPrinter();
    {
        CPrinterSettings settings;
        CPrinterDescription stored = CPrinterDescription::ForPrinter("Elsewhere");
        stored.m_strSettings += "Width=100\nHeight=150\nOrientation=landscape\nCopies=3\n";
        WriteBytes(PrinterDescriptionBytes(stored));
        const int nResult = settings.Load(kPrinterFileName);
        if (!before) {
            EXPECT_EQ(nResult, -1);
            EXPECT_EQ(settings.Save(kPrinterFileName), -1);
            EXPECT_FALSE(CPrinterSettings::ConfigurePrinter(*std::make_unique<QPrinter>()));
            QFile::remove(SpdPath());
            return;
        }
        ASSERT_EQ(nResult, 0);
        EXPECT_EQ(settings.GetPrinterName(), "Elsewhere");
        settings.Apply();
        EXPECT_EQ(CPrinterSettings::CurrentPrinter()->PrinterName(), "Elsewhere");

        QPrinter printer(QPrinter::HighResolution);
        const QString system = printer.printerName();
        ASSERT_TRUE(CPrinterSettings::ConfigurePrinter(printer));
        EXPECT_EQ(printer.printerName(), system); // a printer that is gone is not chosen
        EXPECT_EQ(printer.pageLayout().orientation(), QPageLayout::Landscape);
        EXPECT_EQ(printer.copyCount(), 3);
        EXPECT_NEAR(printer.pageLayout().pageSize().size(QPageSize::Millimeter).width(), 100.0, 0.5);

        // Save rewrites the file with what is held.
        QFile::remove(SpdPath());
        EXPECT_EQ(settings.Save(kPrinterFileName), 0);
        EXPECT_EQ(ReadPrinterDescriptionFile(SpdPath().toStdString()), stored);
    }
    // The store gone, the start-up printer is current again.
    EXPECT_EQ(CPrinterSettings::CurrentPrinter(), before);
    QFile::remove(SpdPath());
}
