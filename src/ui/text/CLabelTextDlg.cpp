#include "text/CLabelTextDlg.h"

#include "text/DialogSupport.h"
#include "text/EditText.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

CLabelTextDlg::CLabelTextDlg(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("标签文字"));
    setFont(DialogFont());

    auto* pPrompt = new QLabel(QStringLiteral("请输入标签文字："), this);
    pPrompt->setFixedHeight(DialogUnits(8));
    m_editText = new CMultiLineEdit(this);
    m_editText->setObjectName(QStringLiteral("editText"));
    m_editText->setFixedSize(DialogSize(115, 35));
    m_editText->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_editText->SetStoredLimit(kLabelTextLimit);
    m_pUpperCase = new CUpperCaseEntry(m_editText);

    const auto [pOk, pCancel] = MakeOkCancelButtons(this);
    auto* pNote = new QLabel(QStringLiteral("注：最多可输入50个字符或25个中文汉字."), this);
    pNote->setFixedHeight(DialogUnits(8));
    m_checkUpper = new QCheckBox(QStringLiteral("大写"), this);
    m_checkUpper->setObjectName(QStringLiteral("checkUpper"));
    m_checkUpper->setFixedHeight(DialogUnits(10));

    // The text box sits indented under its prompt, the buttons to its right
    // at the top; the note and the upper-case box share the bottom line.
    auto* pText = new QVBoxLayout;
    pText->setSpacing(0);
    pText->addWidget(pPrompt);
    pText->addSpacing(DialogUnits(8));
    auto* pIndented = new QHBoxLayout;
    pIndented->addSpacing(DialogUnits(12));
    pIndented->addWidget(m_editText);
    pText->addLayout(pIndented);

    auto* pButtons = new QVBoxLayout;
    pButtons->setSpacing(DialogUnits(5));
    pButtons->addWidget(pOk);
    pButtons->addWidget(pCancel);
    pButtons->addStretch();

    auto* pTop = new QHBoxLayout;
    pTop->setSpacing(DialogUnits(25));
    pTop->addLayout(pText);
    pTop->addLayout(pButtons);

    auto* pBottom = new QHBoxLayout;
    pBottom->addSpacing(DialogUnits(4));
    pBottom->addWidget(pNote);
    pBottom->addStretch();
    pBottom->addWidget(m_checkUpper);

    auto* pLayout = new QVBoxLayout(this);
    pLayout->setContentsMargins(DialogUnits(7), DialogUnits(7), DialogUnits(7), DialogUnits(7));
    pLayout->setSpacing(DialogUnits(9));
    pLayout->setSizeConstraint(QLayout::SetFixedSize);
    pLayout->addLayout(pTop);
    pLayout->addLayout(pBottom);

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
