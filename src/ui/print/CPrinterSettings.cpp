#include "print/CPrinterSettings.h"

#include "base/AppMessageBox.h"
#include "model/SettingsDir.h"
#include "print/CPrintSetupDlg.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>

#include <cerrno>
#include <sstream>

namespace {

// Process-wide: the current printer and the one found at start.
struct CApplicationPrinter
{
    bool m_bRemembered = false;
    std::optional<CPrinterDescription> m_current;
    std::optional<CPrinterDescription> m_startup;
};

CApplicationPrinter& ApplicationPrinter()
{
    static CApplicationPrinter s_printer;
    return s_printer;
}

// The system default printer as the current printer, when the program has
// none yet and a printer is installed.
const std::optional<CPrinterDescription>& PrinterDeviceDefaults()
{
    CApplicationPrinter& app = ApplicationPrinter();
    if (!app.m_current) {
        QPrinterInfo info = QPrinterInfo::defaultPrinter();
        if (info.isNull() && !QPrinterInfo::availablePrinters().isEmpty())
            info = QPrinterInfo::availablePrinters().constFirst();
        if (!info.isNull()) {
            QPrinter printer(info, QPrinter::HighResolution);
            app.m_current = CPrinterSettings::Describe(printer);
        }
    }
    return app.m_current;
}

// After the name, the settings block holds "key=value" lines.
std::string SettingValue(const CPrinterDescription& description, const std::string& key)
{
    const std::size_t nEnd = description.m_strSettings.find('\0');
    std::istringstream lines(description.m_strSettings.substr(nEnd + 1));
    for (std::string line; std::getline(lines, line);)
        if (line.starts_with(key + "="))
            return line.substr(key.size() + 1);
    return {};
}

} // namespace

CPrinterSettings::CPrinterSettings()
{
    CApplicationPrinter& app = ApplicationPrinter();
    if (!app.m_bRemembered) {
        app.m_bRemembered = true;
        app.m_startup = PrinterDeviceDefaults();
    }
}

CPrinterSettings::~CPrinterSettings()
{
    CApplicationPrinter& app = ApplicationPrinter();
    if (m_held && app.m_startup)
        app.m_current = app.m_startup;
}

const std::optional<CPrinterDescription>& CPrinterSettings::CurrentPrinter()
{
    return PrinterDeviceDefaults();
}

int CPrinterSettings::Load(const std::string& strFileName)
{
    if (!PrinterDeviceDefaults())
        return -1;
    m_strFileName = strFileName;
    m_held.reset();
    const std::optional<std::string> path = SettingsFilePath(strFileName);
    if (!path)
        return errno ? errno : ENOENT;
    m_held = ReadPrinterDescriptionFile(*path);
    if (!m_held) {
        m_held = ApplicationPrinter().m_current;
        return ENOENT;
    }
    return 0;
}

int CPrinterSettings::Save(const std::string& strFileName)
{
    if (!PrinterDeviceDefaults() || !m_held)
        return -1;
    m_strFileName = strFileName;
    const std::optional<std::string> path = SettingsFilePath(strFileName);
    if (!path)
        return errno ? errno : ENOENT;
    return WritePrinterDescriptionFile(*path, *m_held);
}

void CPrinterSettings::Apply()
{
    if (m_held)
        ApplicationPrinter().m_current = m_held;
}

std::string CPrinterSettings::GetPrinterName() const
{
    return m_held ? m_held->PrinterName() : std::string("printer not set...");
}

bool CPrinterSettings::PrinterSetup(QWidget* parent)
{
    if (QPrinterInfo::availablePrinterNames().isEmpty()) {
        AppMessageBox(parent, QMessageBox::Information, kMsgNoPrinter);
        return false;
    }
    QPrinter printer(QPrinter::HighResolution);
    if (m_held) {
        const CPrinterDescription current = *ApplicationPrinter().m_current;
        ApplicationPrinter().m_current = m_held;
        ConfigurePrinter(printer);
        ApplicationPrinter().m_current = current;
    }
    CPrintSetupDlg dlg(&printer, parent);
    if (dlg.exec() != QDialog::Accepted)
        return false;
    m_held = Describe(printer);
    return true;
}

CPrinterDescription CPrinterSettings::Describe(const QPrinter& printer)
{
    CPrinterDescription description = CPrinterDescription::ForPrinter(printer.printerName().toStdString());
    const QPageLayout layout = printer.pageLayout();
    description.m_strSettings += "PageSize=" + layout.pageSize().key().toStdString() + "\n";
    description.m_strSettings +=
        "Width=" + QString::number(layout.pageSize().size(QPageSize::Millimeter).width()).toStdString() +
        "\n";
    description.m_strSettings +=
        "Height=" + QString::number(layout.pageSize().size(QPageSize::Millimeter).height()).toStdString() +
        "\n";
    description.m_strSettings += std::string("Orientation=") +
                                 (layout.orientation() == QPageLayout::Landscape ? "landscape" : "portrait") +
                                 "\n";
    description.m_strSettings += "Copies=" + std::to_string(printer.copyCount()) + "\n";
    return description;
}

bool CPrinterSettings::ConfigurePrinter(QPrinter& printer)
{
    const std::optional<CPrinterDescription>& current = PrinterDeviceDefaults();
    if (!current)
        return false;
    const QString name = QString::fromStdString(current->PrinterName());
    // A stored printer that has gone since leaves the printer as it is.
    if (!QPrinterInfo::printerInfo(name).isNull())
        printer.setPrinterName(name);
    const double dWidth = QString::fromStdString(SettingValue(*current, "Width")).toDouble();
    const double dHeight = QString::fromStdString(SettingValue(*current, "Height")).toDouble();
    if (dWidth > 0 && dHeight > 0 && dWidth < 10000 && dHeight < 10000)
        printer.setPageSize(QPageSize(QSizeF(dWidth, dHeight), QPageSize::Millimeter));
    const std::string orientation = SettingValue(*current, "Orientation");
    if (!orientation.empty())
        printer.setPageOrientation(orientation == "landscape" ? QPageLayout::Landscape
                                                              : QPageLayout::Portrait);
    const int nCopies = QString::fromStdString(SettingValue(*current, "Copies")).toInt();
    if (nCopies >= 1 && nCopies <= 999)
        printer.setCopyCount(nCopies);
    return true;
}
