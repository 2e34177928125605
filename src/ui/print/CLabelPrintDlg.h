#pragma once

#include "print/PageSelection.h"

#include <QPrintDialog>

#include <cstddef>

class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;

// The print dialog of labels, a sheet's or a job's: Qt's print dialog with a
// tab of the program's own, "标签".
// - For a job of many sheets, the sheets to print are written there as a
//   list ("7, 9-11", read as --pages reads it; empty for every sheet). Qt's
//   own page range is not offered: on Qt 6.4 it refuses any list, even "3".
// - For a queue that has no calibration of its own and an unprintable
//   margin, the tab says once (the first time that queue is chosen) that the
//   labels will land shifted by that margin, and offers the calibration page.
// The tab is shown open whenever it has something to say.
class CLabelPrintDlg : public QPrintDialog
{
    Q_OBJECT

public:
    // nSheets: the job's sheets, 0 for one sheet's page (no list to write).
    CLabelPrintDlg(QPrinter* printer, std::size_t nSheets, QWidget* parent = nullptr);

    // The sheets to print, from 1; All() for every sheet. Read after accept.
    const CPageSelection& Sheets() const { return m_sheets; }
    // Whether the dialog was left through 打印校准页...: the caller prints
    // the calibration page on CalibrationQueue() instead.
    bool CalibrationChosen() const { return m_bCalibrationChosen; }
    const QString& CalibrationQueue() const { return m_strNotedQueue; }

    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;
    void done(int nResult) override;

private:
    void ShowCalibrationNote(const QString& queue);
    void OpenTab();
    QTabWidget* Tabs() const;

    std::size_t m_nSheets;
    QWidget* m_tab;
    QLineEdit* m_sheetList = nullptr;
    QLabel* m_problem = nullptr;
    QLabel* m_calibrationNote;
    QPushButton* m_calibrate;
    QString m_strNotedQueue; // the queue the note is shown for
    bool m_bCalibrationChosen = false;
    CPageSelection m_sheets;
};
