#include "print/CCalibrationDlg.h"

#include "base/AppMessageBox.h"
#include "print/CPrinterSettings.h"
#include "print/PageOffsetSettings.h"
#include "print/PrintPage.h"

#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QLabel>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QVBoxLayout>

#include <cmath>

namespace {

// Ruler readings: 0.1 mm steps up to the longest sheet.
constexpr double kMaxReading = 9999.9;

QString AxisProblem(CalibrationCheck check)
{
    switch (check) {
    case CalibrationCheck::Ok:
        break;
    case CalibrationCheck::SameMarks:
        return QStringLiteral("两个十字线的标称位置相同。");
    case CalibrationCheck::WrongOrder:
        return QStringLiteral("第二个距离必须大于第一个。");
    case CalibrationCheck::ScaleTooLarge:
        return QStringLiteral("比例超过 ±2 %，请检查量得的距离。");
    case CalibrationCheck::MoveTooLarge:
        return QStringLiteral("偏移量超过 ±99.99 mm，请检查量得的距离。");
    case CalibrationCheck::BeyondThePage:
        return QStringLiteral("距离超出纸张范围。");
    }
    return {};
}

int Tenths(const QDoubleSpinBox* spin)
{
    return static_cast<int>(std::lround(spin->value() * 10.0));
}

} // namespace

CCalibrationDlg::CCalibrationDlg(const QString& strPrinter, const CCalibrationMarks& marks, QWidget* parent)
    : QDialog(parent), m_strPrinter(strPrinter), m_marks(marks)
{
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    setWindowTitle(QStringLiteral("校准打印机"));

    auto* intro =
        new QLabel(QStringLiteral("打印机： %1\n用直尺在校准页上量出十字线中心到纸张左边缘（X）和上边缘（Y）"
                                  "的距离，单位 mm，精确到 0.1 mm。")
                       .arg(strPrinter),
                   this);
    intro->setWordWrap(true);

    const auto spin = [this](const char* name, int nNominal) {
        auto* box = new QDoubleSpinBox(this);
        box->setObjectName(QString::fromLatin1(name));
        box->setDecimals(1);
        box->setSingleStep(0.1);
        box->setRange(0.0, kMaxReading);
        box->setSuffix(QStringLiteral(" mm"));
        box->setValue(nNominal);
        connect(box, &QDoubleSpinBox::valueChanged, this, &CCalibrationDlg::UpdateResult);
        return box;
    };
    m_spinLeft = spin("spinLeft", marks.m_nLeft);
    m_spinRight = spin("spinRight", marks.m_nRight);
    m_spinTop = spin("spinTop", marks.m_nTop);
    m_spinBottom = spin("spinBottom", marks.m_nBottom);

    auto* form = new QFormLayout;
    const auto row = [&](const QString& text, int nNominal, QDoubleSpinBox* box) {
        auto* caption = new QLabel(text.arg(nNominal), this);
        caption->setBuddy(box);
        form->addRow(caption, box);
    };
    row(QStringLiteral("左上十字线 X（标称 %1 mm）(&1)："), marks.m_nLeft, m_spinLeft);
    row(QStringLiteral("右上十字线 X（标称 %1 mm）(&2)："), marks.m_nRight, m_spinRight);
    row(QStringLiteral("左上十字线 Y（标称 %1 mm）(&3)："), marks.m_nTop, m_spinTop);
    row(QStringLiteral("左下十字线 Y（标称 %1 mm）(&4)："), marks.m_nBottom, m_spinBottom);

    m_labelResult = new QLabel(this);
    m_labelResult->setObjectName(QStringLiteral("labelResult"));
    m_labelResult->setWordWrap(true);
    m_labelResult->setMinimumHeight(m_labelResult->fontMetrics().height() * 3);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Save | QDialogButtonBox::Cancel, this);
    m_btnSave = buttons->button(QDialogButtonBox::Save);
    m_btnSave->setText(QStringLiteral("保存"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("取消"));
    connect(buttons, &QDialogButtonBox::accepted, this, &CCalibrationDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CCalibrationDlg::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addLayout(form);
    layout->addWidget(m_labelResult);
    layout->addWidget(buttons);
    UpdateResult();
    m_spinLeft->setFocus();
    m_spinLeft->selectAll();
}

void CCalibrationDlg::UpdateResult()
{
    const CAxisCalibration x =
        CalibrateAxis({m_marks.m_nLeft, m_marks.m_nRight, Tenths(m_spinLeft), Tenths(m_spinRight)});
    const CAxisCalibration y =
        CalibrateAxis({m_marks.m_nTop, m_marks.m_nBottom, Tenths(m_spinTop), Tenths(m_spinBottom)});
    m_bSound = x.m_check == CalibrationCheck::Ok && y.m_check == CalibrationCheck::Ok;
    m_calibration = m_bSound ? CPrinterCalibration{x.m_nMove, y.m_nMove, x.m_nScalePpm, y.m_nScalePpm}
                             : CPrinterCalibration();
    if (m_bSound) {
        m_labelResult->setText(
            QStringLiteral("结果：偏移量 X %1，Y %2（单位 0.01 mm）\n比例 X %3，Y %4（单位 ppm）")
                .arg(x.m_nMove)
                .arg(y.m_nMove)
                .arg(x.m_nScalePpm)
                .arg(y.m_nScalePpm));
    } else {
        const QString problem = x.m_check != CalibrationCheck::Ok
                                    ? QStringLiteral("X：") + AxisProblem(x.m_check)
                                    : QStringLiteral("Y：") + AxisProblem(y.m_check);
        m_labelResult->setText(QStringLiteral("无法计算：%1").arg(problem));
    }
    m_btnSave->setEnabled(m_bSound);
}

void CCalibrationDlg::accept()
{
    if (!m_bSound)
        return;
    if (const QString error = WritePrinterCalibration(m_strPrinter, m_calibration); !error.isEmpty()) {
        AppMessageBox(this, QMessageBox::Warning,
                      QStringLiteral("这台打印机的校准值无法保存。\n%1").arg(error));
        return;
    }
    QDialog::accept();
}

void PrintAndMeasureCalibrationPage(QWidget* parent, const CPageFormat& format, const QString& queue)
{
    QPrinter printer(QPrinter::HighResolution);
    if (!CPrinterSettings::ConfigurePrinter(printer)) {
        AppMessageBox(parent, QMessageBox::Warning, QStringLiteral("没有安装打印机，无法打印校准页。"));
        return;
    }
    if (!queue.isEmpty())
        printer.setPrinterName(queue);
    printer.setDocName(QStringLiteral("打印校准页"));
    QPrintDialog dlgPrint(&printer, parent);
    dlgPrint.setOptions(QAbstractPrintDialog::PrintShowPageSize);
    if (dlgPrint.exec() != QDialog::Accepted)
        return;
    UsePrintableAreaOrigin(printer);
    QPainter painter;
    if (!painter.begin(&printer))
        return;
    PrintCalibrationPage(painter, format);
    if (!painter.end()) {
        AppMessageBox(parent, QMessageBox::Warning, QStringLiteral("校准页无法打印。"));
        return;
    }
    CCalibrationDlg dlg(printer.printerName(), CalibrationMarks(format), parent);
    dlg.exec();
}
