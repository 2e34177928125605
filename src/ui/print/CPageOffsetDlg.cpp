#include "print/CPageOffsetDlg.h"

#include "base/AppMessageBox.h"
#include "print/PageOffset.h"
#include "print/PageOffsetSettings.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int kMaxOffsetChars = 6;
constexpr int kMaxScaleChars = 6;

// The picture beside the boxes: a grey outline and the same outline moved
// right (X) and down (Y), yellow with a blue border.
class COffsetPicture : public QWidget
{
public:
    explicit COffsetPicture(QWidget* parent) : QWidget(parent) { setFixedSize(110, 95); }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        const QRect rcBefore(8, 18, 60, 45);
        const QRect rcAfter = rcBefore.translated(28, 22);
        painter.setPen(QPen(Qt::gray, 1, Qt::DashLine));
        painter.drawRect(rcBefore);
        painter.setPen(QPen(Qt::blue, 2));
        painter.setBrush(QColor(255, 230, 80));
        painter.drawRect(rcAfter);
        painter.setPen(Qt::black);
        painter.drawLine(rcBefore.left(), 8, rcAfter.left(), 8);
        painter.drawText(QRect(rcBefore.left(), 0, rcAfter.left() - rcBefore.left(), 8), Qt::AlignCenter,
                         "X");
        painter.drawLine(100, rcBefore.top(), 100, rcAfter.top());
        painter.drawText(QRect(101, rcBefore.top(), 9, rcAfter.top() - rcBefore.top()), Qt::AlignCenter, "Y");
    }
};

} // namespace

CPageOffsetDlg::CPageOffsetDlg(QWidget* parent) : QDialog(parent)
{
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    setWindowTitle(QStringLiteral("设定页面偏移量"));

    const auto offsetEdit = [this](const char* name) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QString::fromLatin1(name));
        edit->setMaxLength(kMaxOffsetChars);
        edit->setMinimumWidth(90);
        return edit;
    };
    m_editOffsetX = offsetEdit("editOffsetX");
    m_editOffsetY = offsetEdit("editOffsetY");
    m_editScaleX = offsetEdit("editScaleX");
    m_editScaleY = offsetEdit("editScaleY");
    m_editScaleX->setMaxLength(kMaxScaleChars);
    m_editScaleY->setMaxLength(kMaxScaleChars);
    m_labelPrinter = new QLabel(this);
    m_labelPrinter->setObjectName(QStringLiteral("labelPrinter"));
    m_labelPrinter->setTextFormat(Qt::PlainText);
    m_labelSource = new QLabel(this);
    m_labelSource->setObjectName(QStringLiteral("labelSource"));
    m_labelSource->setWordWrap(true);
    m_checkAllPrinters = new QCheckBox(QStringLiteral("用于所有打印机(&A)"), this);
    m_checkAllPrinters->setObjectName(QStringLiteral("checkAllPrinters"));
    connect(m_checkAllPrinters, &QCheckBox::toggled, this, &CPageOffsetDlg::UpdateScaleBoxes);

    const auto label = [this](const QString& text, QLineEdit* buddy) {
        auto* caption = new QLabel(text, this);
        caption->setBuddy(buddy);
        return caption;
    };
    auto* fields = new QGridLayout;
    fields->addWidget(label(QStringLiteral("偏移量 X : "), m_editOffsetX), 0, 0);
    fields->addWidget(m_editOffsetX, 0, 1);
    fields->addWidget(label(QStringLiteral("偏移量 Y : "), m_editOffsetY), 1, 0);
    fields->addWidget(m_editOffsetY, 1, 1);
    fields->addWidget(new QLabel(QStringLiteral("单位： 0.01 mm"), this), 2, 0, 1, 2, Qt::AlignCenter);
    fields->addWidget(label(QStringLiteral("比例 X : "), m_editScaleX), 3, 0);
    fields->addWidget(m_editScaleX, 3, 1);
    fields->addWidget(label(QStringLiteral("比例 Y : "), m_editScaleY), 4, 0);
    fields->addWidget(m_editScaleY, 4, 1);
    fields->addWidget(new QLabel(QStringLiteral("单位： ppm（百万分之一）"), this), 5, 0, 1, 2,
                      Qt::AlignCenter);

    auto* top = new QHBoxLayout;
    top->addWidget(new COffsetPicture(this));
    top->addSpacing(12);
    top->addLayout(fields);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("确定"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("取消"));
    connect(buttons, &QDialogButtonBox::accepted, this, &CPageOffsetDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CPageOffsetDlg::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_labelPrinter);
    layout->addLayout(top);
    layout->addWidget(m_labelSource);
    layout->addWidget(m_checkAllPrinters);
    layout->addWidget(buttons);
}

int CPageOffsetDlg::exec()
{
    m_editOffsetX->setText(m_strOffsetX);
    m_editOffsetY->setText(m_strOffsetY);
    m_editScaleX->setText(m_strScaleX);
    m_editScaleY->setText(m_strScaleY);
    const bool bPrinter = !m_strPrinter.isEmpty();
    m_labelPrinter->setText(bPrinter ? QStringLiteral("打印机： %1").arg(m_strPrinter)
                                     : QStringLiteral("打印机： （没有安装打印机）"));
    if (!bPrinter)
        m_labelSource->setText(QStringLiteral("显示的是所有打印机共用的偏移量。"));
    else if (m_bPrinterOwn)
        m_labelSource->setText(QStringLiteral("显示的是这台打印机自己的校准值。选“用于所有打印机”则改为设定所"
                                              "有打印机共用的偏移量，这台打印机自己的值随之删除。"));
    else
        m_labelSource->setText(
            QStringLiteral("这台打印机没有自己的校准值，显示的是所有打印机共用的偏移量。"));
    m_checkAllPrinters->setChecked(!m_bPrinterOwn || !bPrinter);
    m_checkAllPrinters->setEnabled(bPrinter);
    UpdateScaleBoxes();
    m_editOffsetX->setFocus();
    m_editOffsetX->selectAll();
    return QDialog::exec();
}

void CPageOffsetDlg::UpdateScaleBoxes()
{
    // The machine-wide values have no scale.
    const bool bOwn = !m_checkAllPrinters->isChecked();
    m_editScaleX->setEnabled(bOwn);
    m_editScaleY->setEnabled(bOwn);
}

bool CPageOffsetDlg::ExchangeValue(QLineEdit* pEdit, QString& strValue, int nLimit)
{
    const bool bScale = nLimit == kMaxScalePpm;
    const COffsetText checked = CheckSignedText(pEdit->text().toStdString(), nLimit);
    QString strMessage;
    switch (checked.m_check) {
    case OffsetTextCheck::Ok:
        strValue = QString::fromStdString(checked.m_strText);
        return true;
    case OffsetTextCheck::NotANumber:
        strMessage = bScale ? QStringLiteral("比例必须为数字") : QStringLiteral("偏移量必须为数字");
        break;
    case OffsetTextCheck::OutOfRange:
        strMessage =
            bScale ? QStringLiteral("比例必须在%1和%2之间（单位 ppm）。").arg(-nLimit).arg(nLimit)
                   : QStringLiteral("偏移量必须在%1和%2之间（单位 0.01 mm）。").arg(-nLimit).arg(nLimit);
        break;
    }
    ShowFieldMessage(pEdit, strMessage);
    return false;
}

void CPageOffsetDlg::accept()
{
    QString strOffsetX;
    QString strOffsetY;
    if (!ExchangeValue(m_editOffsetX, strOffsetX, kMaxPageMove) ||
        !ExchangeValue(m_editOffsetY, strOffsetY, kMaxPageMove))
        return;
    const bool bForAll = m_checkAllPrinters->isChecked();
    QString strScaleX = QStringLiteral("0");
    QString strScaleY = QStringLiteral("0");
    if (!bForAll && (!ExchangeValue(m_editScaleX, strScaleX, kMaxScalePpm) ||
                     !ExchangeValue(m_editScaleY, strScaleY, kMaxScalePpm)))
        return;
    if (!bForAll) {
        // A printer's own values live only in the settings file: unsaved,
        // they would not apply, so the dialog stays open.
        const auto value = [](const QString& text) { return DecimalTextValue(text.toStdString()); };
        const QString error = WritePrinterCalibration(
            m_strPrinter, {value(strOffsetX), value(strOffsetY), value(strScaleX), value(strScaleY)});
        if (!error.isEmpty()) {
            AppMessageBox(this, QMessageBox::Warning,
                          QStringLiteral("这台打印机的校准值无法保存。\n%1").arg(error));
            return;
        }
    }
    m_strOffsetX = strOffsetX;
    m_strOffsetY = strOffsetY;
    m_strScaleX = strScaleX;
    m_strScaleY = strScaleY;
    m_bForAllPrinters = bForAll;
    if (bForAll) {
        QString error = WritePageOffset(m_strOffsetX, m_strOffsetY);
        if (error.isEmpty() && m_bPrinterOwn)
            error = RemovePrinterCalibration(m_strPrinter);
        // The values apply from now on even when they cannot be kept.
        if (!error.isEmpty())
            AppMessageBox(this, QMessageBox::Warning,
                          QStringLiteral("偏移量无法保存，只在本次运行中有效。\n%1").arg(error));
    }
    QDialog::accept();
}
