#pragma once

#include "print/PrinterDescription.h"

#include <QString>

#include <optional>
#include <string>

class QPrinter;
class QWidget;

// What the print setup command says when there is no printer to choose.
inline const QString kMsgNoPrinter =
    QStringLiteral("没有安装打印机。请先在系统中添加一台打印机，再设置打印机。");

// The stored printer choice: which printer, its paper, orientation and
// copies, kept across runs in "tavrops.spd" in the settings directory.
// The program has one current printer, the system default at start; Apply
// makes the held choice the current one, and every print and preview sets
// its QPrinter from the current printer (ConfigurePrinter). The first store
// made remembers the start-up printer, and a store that held a choice gives
// it back when it goes.
class CPrinterSettings
{
public:
    CPrinterSettings();
    ~CPrinterSettings();
    CPrinterSettings(const CPrinterSettings&) = delete;
    CPrinterSettings& operator=(const CPrinterSettings&) = delete;

    // 0 on success; -1 when no printer is installed (nothing changes);
    // otherwise an errno. A missing, short, oversized or foreign file is
    // ENOENT: the store then holds the current printer, which stays current.
    int Load(const std::string& strFileName);
    // 0, -1 without a printer or a held choice, or an errno.
    int Save(const std::string& strFileName);
    // Makes the held choice the program's current printer.
    void Apply();
    // The print setup dialog, starting from the held choice; true on OK, the
    // choice then held. Cancel changes nothing. With no printer installed it
    // says so (kMsgNoPrinter) instead and returns false.
    bool PrinterSetup(QWidget* parent);
    // The held printer's name, or "printer not set...".
    std::string GetPrinterName() const;
    const std::optional<CPrinterDescription>& Held() const { return m_held; }

    // Sets printer, paper, orientation and copies from the current printer;
    // false when there is none.
    static bool ConfigurePrinter(QPrinter& printer);
    // A description of what `printer` is set to.
    static CPrinterDescription Describe(const QPrinter& printer);
    // The program's current printer; nullopt when no printer is installed.
    static const std::optional<CPrinterDescription>& CurrentPrinter();

private:
    std::optional<CPrinterDescription> m_held;
    std::string m_strFileName;
};
