#pragma once

#include "model/CPageFormat.h"
#include "print/PrinterCalibration.h"

#include <QDialog>

class QDoubleSpinBox;
class QLabel;
class QPushButton;

// "校准打印机": after the calibration page, the distances a ruler shows from
// the paper's left edge to the two upper crosshairs (X) and from its top
// edge to the two left ones (Y), in mm with one decimal. The offset and
// scale they imply are shown as they are typed; "保存" stores them as the
// printer's own calibration and is open only while both axes are sound
// (within ±2 % and the offset's range).
class CCalibrationDlg : public QDialog
{
    Q_OBJECT

public:
    CCalibrationDlg(const QString& strPrinter, const CCalibrationMarks& marks, QWidget* parent = nullptr);

    // What the measurements give; valid while IsSound().
    const CPrinterCalibration& Calibration() const { return m_calibration; }
    bool IsSound() const { return m_bSound; }

protected:
    void accept() override;

private:
    void UpdateResult();

    QString m_strPrinter;
    CCalibrationMarks m_marks;
    QDoubleSpinBox* m_spinLeft;
    QDoubleSpinBox* m_spinRight;
    QDoubleSpinBox* m_spinTop;
    QDoubleSpinBox* m_spinBottom;
    QLabel* m_labelResult;
    QPushButton* m_btnSave;
    CPrinterCalibration m_calibration;
    bool m_bSound = false;
};

// The calibration page of `format` printed on a printer the user picks in
// the print dialog (`queue` chosen first, else the current printer), then
// this dialog for its measurements, stored as that printer's calibration.
void PrintAndMeasureCalibrationPage(QWidget* parent, const CPageFormat& format, const QString& queue);
