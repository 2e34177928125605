#pragma once

#include "print/PageSelection.h"

#include <QPrintDialog>

#include <cstddef>

class QLabel;
class QLineEdit;

// The print dialog of a job of many sheets: Qt's print dialog with a tab of
// the program's own, "页面", where the sheets to print are written as a list
// ("7, 9-11", read as --pages reads it; empty for every sheet). Qt's own
// page range is not offered: on Qt 6.4 it refuses any list, even "3". The
// tab is shown open, so the field is in sight.
class CJobPrintDlg : public QPrintDialog
{
    Q_OBJECT

public:
    CJobPrintDlg(QPrinter* printer, std::size_t nSheets, QWidget* parent = nullptr);

    // The sheets to print, from 1; All() for every sheet. Read after accept.
    const CPageSelection& Sheets() const { return m_sheets; }

    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    std::size_t m_nSheets;
    QWidget* m_tab;
    QLineEdit* m_sheetList;
    QLabel* m_problem;
    CPageSelection m_sheets;
};
