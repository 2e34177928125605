#pragma once

#include "print/PrinterCalibration.h"

#include <QDialog>

#include <cstddef>

class CMarkerSheets;
class CSheetPagesView;
class QLabel;
class QSpinBox;

// The print preview of a wire-list job of any size: it opens at once, draws
// only the sheets in view (and keeps a few pictures around them), names each
// sheet by its number in the job and jumps to any sheet. Its pictures go
// with the dialog.
class CMarkerPreviewDlg : public QDialog
{
public:
    CMarkerPreviewDlg(CMarkerSheets& sheets, const CPrinterCalibration& calibration,
                      QWidget* parent = nullptr);

    // Scrolls sheet nSheet (from 1) into view.
    void ShowSheet(std::size_t nSheet);
    // The sheet at the top of the view.
    std::size_t CurrentSheet() const;
    // Whether the dialog was closed with 打印..., to print the job.
    bool PrintChosen() const { return m_bPrintChosen; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    CSheetPagesView* m_view = nullptr;
    QSpinBox* m_sheetNumber = nullptr;
    bool m_bPrintChosen = false;
};
