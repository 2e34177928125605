#include "print/CPageOffsetDlg.h"

#include "app/AppMessageBox.h"
#include "print/PageOffset.h"
#include "print/PageOffsetSettings.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QVBoxLayout>

namespace {

constexpr int kMaxOffsetChars = 6;

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
        painter.drawText(QRect(rcBefore.left(), 0, rcAfter.left() - rcBefore.left(), 8), Qt::AlignCenter, "X");
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

    auto* fields = new QGridLayout;
    fields->addWidget(new QLabel(QStringLiteral("偏移量 X : "), this), 0, 0);
    fields->addWidget(m_editOffsetX, 0, 1);
    fields->addWidget(new QLabel(QStringLiteral("偏移量 Y : "), this), 1, 0);
    fields->addWidget(m_editOffsetY, 1, 1);
    fields->addWidget(new QLabel(QStringLiteral("单位： 0.01 mm"), this), 2, 0, 1, 2, Qt::AlignCenter);

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
    layout->addLayout(top);
    layout->addWidget(buttons);
}

int CPageOffsetDlg::exec()
{
    m_editOffsetX->setText(m_strOffsetX);
    m_editOffsetY->setText(m_strOffsetY);
    m_editOffsetX->setFocus();
    m_editOffsetX->selectAll();
    return QDialog::exec();
}

bool CPageOffsetDlg::ExchangeOffset(QLineEdit* pEdit, QString& strOffset)
{
    const COffsetText checked = CheckOffsetText(pEdit->text().toStdString());
    QString strMessage;
    switch (checked.m_check) {
    case OffsetTextCheck::Ok:
        strOffset = QString::fromStdString(checked.m_strText);
        return true;
    case OffsetTextCheck::NotANumber:
        strMessage = QStringLiteral("偏移量必须为数字");
        break;
    case OffsetTextCheck::OutOfRange:
        strMessage = QStringLiteral("偏移量必须在%1和%2之间（单位 0.01 mm）。").arg(-kMaxPageMove).arg(kMaxPageMove);
        break;
    }
    AppMessageBox(this, QMessageBox::Warning, strMessage);
    pEdit->setFocus();
    pEdit->selectAll();
    return false;
}

void CPageOffsetDlg::accept()
{
    QString strOffsetX;
    QString strOffsetY;
    if (!ExchangeOffset(m_editOffsetX, strOffsetX) || !ExchangeOffset(m_editOffsetY, strOffsetY))
        return;
    m_strOffsetX = strOffsetX;
    m_strOffsetY = strOffsetY;
    // The values apply from now on even when they cannot be kept.
    if (const QString error = WritePageOffset(m_strOffsetX, m_strOffsetY); !error.isEmpty())
        AppMessageBox(this, QMessageBox::Warning, QStringLiteral("偏移量无法保存，只在本次运行中有效。\n%1").arg(error));
    QDialog::accept();
}
