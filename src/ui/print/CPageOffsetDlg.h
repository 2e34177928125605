#pragma once

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;

// "设定页面偏移量": the page offset in 0.01 mm, X and Y, in two boxes of up
// to six characters, and the scale in ppm of the printer it is for. OK
// checks the boxes (spaces removed, empty means "0", a signed decimal number
// within −9999..9999, the scale within ±20000) and stores them in the
// settings file: with "用于所有打印机" as the machine-wide offset (and the
// printer's own values go, so that it follows them too), else as the
// printer's own calibration. The stored offset texts stay in m_strOffsetX
// and m_strOffsetY.
class CPageOffsetDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CPageOffsetDlg(QWidget* parent = nullptr);

    int exec() override;

    QString m_strOffsetX;
    QString m_strOffsetY;
    QString m_strScaleX = QStringLiteral("0"); // ppm
    QString m_strScaleY = QStringLiteral("0");
    // The printer the values are for (empty without one) and whether they
    // are its own; set before exec().
    QString m_strPrinter;
    bool m_bPrinterOwn = false;
    // After OK: whether the values went to every printer.
    bool m_bForAllPrinters = true;

protected:
    void accept() override;

private:
    // Checks one box against ±nLimit; on a refusal shows why and puts the
    // focus there.
    bool ExchangeValue(QLineEdit* pEdit, QString& strValue, int nLimit);
    void UpdateScaleBoxes();

    QLineEdit* m_editOffsetX;
    QLineEdit* m_editOffsetY;
    QLineEdit* m_editScaleX;
    QLineEdit* m_editScaleY;
    QLabel* m_labelPrinter;
    QLabel* m_labelSource;
    QCheckBox* m_checkAllPrinters;
};
