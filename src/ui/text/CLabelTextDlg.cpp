#include "text/CLabelTextDlg.h"

#include "text/DialogSupport.h"
#include "text/EditText.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>

CLabelTextDlg::CLabelTextDlg(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("标签文字"));
    setFont(DialogFont());
    setFixedSize(DialogRect(0, 0, 216, 85).size());

    auto* pPrompt = new QLabel(QStringLiteral("请输入标签文字："), this);
    pPrompt->setGeometry(DialogRect(7, 7, 65, 8));
    m_editText = new CMultiLineEdit(this);
    m_editText->setObjectName(QStringLiteral("editText"));
    m_editText->setGeometry(DialogRect(19, 23, 115, 35));
    m_editText->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_editText->SetStoredLimit(kLabelTextLimit);
    m_pUpperCase = new CUpperCaseEntry(m_editText);

    auto* pOk = new QPushButton(QStringLiteral("确定"), this);
    pOk->setGeometry(DialogRect(159, 7, 50, 14));
    pOk->setDefault(true);
    auto* pCancel = new QPushButton(QStringLiteral("取消"), this);
    pCancel->setGeometry(DialogRect(159, 26, 50, 14));
    auto* pNote = new QLabel(QStringLiteral("注：最多可输入50个字符或25个中文汉字."), this);
    pNote->setGeometry(DialogRect(11, 67, 154, 8));
    m_checkUpper = new QCheckBox(QStringLiteral("大写"), this);
    m_checkUpper->setObjectName(QStringLiteral("checkUpper"));
    m_checkUpper->setGeometry(DialogRect(177, 68, 32, 10));

    connect(pOk, &QPushButton::clicked, this, &CLabelTextDlg::accept);
    connect(pCancel, &QPushButton::clicked, this, &CLabelTextDlg::reject);
    connect(m_checkUpper, &QCheckBox::toggled, this, [this](bool bChecked) {
        m_bUpper = bChecked ? 1 : 0;
        m_pUpperCase->SetEnabled(bChecked);
    });
    setTabOrder(m_editText, pOk);
    setTabOrder(pOk, pCancel);
    setTabOrder(pCancel, m_checkUpper);
}

void CLabelTextDlg::showEvent(QShowEvent* pEvent)
{
    if (pEvent->spontaneous()) {
        QDialog::showEvent(pEvent);
        return;
    }
    m_editText->setPlainText(QString::fromStdString(GbkToEditText(m_strLabelText)));
    m_editText->moveCursor(QTextCursor::End);
    m_checkUpper->setChecked(m_bUpper != 0);
    m_pUpperCase->SetEnabled(m_bUpper != 0);
    m_editText->setFocus(Qt::OtherFocusReason);
    QDialog::showEvent(pEvent);
}

void CLabelTextDlg::accept()
{
    const auto text = ReadTextField(m_editText, kLabelTextLimit);
    if (!text)
        return;
    m_strLabelText = *text;
    QDialog::accept();
}
