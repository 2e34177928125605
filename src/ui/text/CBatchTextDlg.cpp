#include "text/CBatchTextDlg.h"

#include "text/DialogSupport.h"
#include "text/EditText.h"
#include "text/Sequence.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QShowEvent>
#include <QVBoxLayout>

namespace {

constexpr int kMinCount = 1;
constexpr int kMaxCount = 999;

QString EditText(const std::string& gbk)
{
    return QString::fromStdString(GbkToEditText(gbk));
}

} // namespace

CBatchTextDlg::CBatchTextDlg(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("标签文字"));
    setFont(DialogFont());

    auto* pPrompt = new QLabel(QStringLiteral("请输入标签文字："), this);
    pPrompt->setFixedHeight(DialogUnits(8));

    m_editPrefix = new CMultiLineEdit(this);
    m_editPrefix->setObjectName(QStringLiteral("editPrefix"));
    m_editPrefix->setFixedSize(DialogSize(50, 45));
    // The prefix and suffix scroll both ways with the cursor, without bars.
    m_editPrefix->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_editPrefix->SetStoredLimit(kLabelTextLimit);

    m_editMiddle = new QLineEdit(this);
    m_editMiddle->setObjectName(QStringLiteral("editMiddle"));
    m_editMiddle->setFixedSize(DialogSize(34, 14));
    m_editMiddle->setAlignment(Qt::AlignCenter);
    LimitStoredLength(m_editMiddle, kMiddleTextLimit);

    auto* pCountLabel = new QLabel(QStringLiteral("→ 数量："), this);
    pCountLabel->setFixedHeight(DialogUnits(8));
    m_editCount = new QLineEdit(this);
    m_editCount->setObjectName(QStringLiteral("editCount"));
    m_editCount->setFixedSize(DialogSize(34, 14));
    m_editCount->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), m_editCount));

    m_editSuffix = new CMultiLineEdit(this);
    m_editSuffix->setObjectName(QStringLiteral("editSuffix"));
    m_editSuffix->setFixedSize(DialogSize(50, 45));
    m_editSuffix->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_editSuffix->SetStoredLimit(kLabelTextLimit);

    // The preview shows the lines as the label will: long ones scroll.
    m_editPreview = new CMultiLineEdit(this);
    m_editPreview->setObjectName(QStringLiteral("editPreview"));
    m_editPreview->setFixedSize(DialogSize(80, 45));
    m_editPreview->setReadOnly(true);

    m_checkUpper = new QCheckBox(QStringLiteral("大写"), this);
    m_checkUpper->setObjectName(QStringLiteral("checkUpper"));
    m_checkUpper->setFixedHeight(DialogUnits(10));
    auto* pNote = new QLabel(QStringLiteral("注：最多可输入50个字符或25个中文汉字."), this);
    pNote->setFixedHeight(DialogUnits(8));

    auto* pLine = new QFrame(this);
    pLine->setFrameStyle(QFrame::HLine | QFrame::Sunken);

    m_checkSkip = new QCheckBox(QStringLiteral("跳过已有文字的标签."), this);
    m_checkSkip->setObjectName(QStringLiteral("checkSkip"));
    m_checkSkip->setFixedHeight(DialogUnits(10));

    m_groupMode = new QButtonGroup(this);
    const struct
    {
        int nMode;
        const char* text;
    } modes[] = {
        {CBatchFillRequest::SameText, "同一内容."},
        {CBatchFillRequest::Number, "中间为数字，按数字大小递增. 0,1,2,3..."},
        {CBatchFillRequest::Letter, "中间一位为字母，按字母顺序递增. A,B,C,D..."},
    };
    for (const auto& mode : modes) {
        auto* pRadio = new QRadioButton(QString::fromUtf8(mode.text), this);
        pRadio->setObjectName(QStringLiteral("radioMode%1").arg(mode.nMode));
        pRadio->setFixedHeight(DialogUnits(10));
        m_groupMode->addButton(pRadio, mode.nMode);
    }

    const auto [pOk, pCancel] = MakeOkCancelButtons(this);

    // Prefix, middle with the count under it, suffix, then the preview.
    auto* pMiddle = new QVBoxLayout;
    pMiddle->setSpacing(0);
    pMiddle->addSpacing(DialogUnits(1));
    pMiddle->addWidget(m_editMiddle);
    pMiddle->addSpacing(DialogUnits(5));
    pMiddle->addWidget(pCountLabel);
    pMiddle->addSpacing(DialogUnits(4));
    pMiddle->addWidget(m_editCount);
    pMiddle->addStretch();
    auto* pTexts = new QHBoxLayout;
    pTexts->setSpacing(0);
    pTexts->addWidget(m_editPrefix);
    pTexts->addSpacing(DialogUnits(8));
    pTexts->addLayout(pMiddle);
    pTexts->addSpacing(DialogUnits(9));
    pTexts->addWidget(m_editSuffix);
    pTexts->addSpacing(DialogUnits(13));
    pTexts->addWidget(m_editPreview);

    auto* pNoteLine = new QHBoxLayout;
    pNoteLine->addSpacing(DialogUnits(4));
    pNoteLine->addWidget(pNote);
    pNoteLine->addStretch();
    pNoteLine->addWidget(m_checkUpper);

    // The modes, indented, with the skip box beside the first.
    auto* pModes = new QGridLayout;
    pModes->setContentsMargins(DialogUnits(13), 0, 0, 0);
    pModes->setHorizontalSpacing(0);
    pModes->setVerticalSpacing(DialogUnits(8));
    pModes->addWidget(m_groupMode->button(CBatchFillRequest::SameText), 0, 0);
    pModes->addWidget(m_checkSkip, 0, 1, Qt::AlignRight);
    pModes->addWidget(m_groupMode->button(CBatchFillRequest::Number), 1, 0, 1, 2);
    pModes->addWidget(m_groupMode->button(CBatchFillRequest::Letter), 2, 0, 1, 2);

    auto* pButtons = new QHBoxLayout;
    pButtons->setSpacing(DialogUnits(15));
    pButtons->setContentsMargins(0, 0, DialogUnits(9), 0);
    pButtons->addStretch();
    pButtons->addWidget(pOk);
    pButtons->addWidget(pCancel);

    auto* pLayout = new QVBoxLayout(this);
    pLayout->setContentsMargins(DialogUnits(7), DialogUnits(7), DialogUnits(7), DialogUnits(7));
    pLayout->setSpacing(0);
    pLayout->setSizeConstraint(QLayout::SetFixedSize);
    pLayout->addWidget(pPrompt);
    pLayout->addSpacing(DialogUnits(8));
    pLayout->addLayout(pTexts);
    pLayout->addSpacing(DialogUnits(7));
    pLayout->addLayout(pNoteLine);
    pLayout->addSpacing(DialogUnits(10));
    pLayout->addWidget(pLine);
    pLayout->addSpacing(DialogUnits(7));
    pLayout->addLayout(pModes);
    pLayout->addSpacing(DialogUnits(14));
    pLayout->addLayout(pButtons);

    m_pUpperPrefix = new CUpperCaseEntry(m_editPrefix);
    m_pUpperMiddle = new CUpperCaseEntry(m_editMiddle);
    m_pUpperSuffix = new CUpperCaseEntry(m_editSuffix);
    connect(m_checkUpper, &QCheckBox::toggled, this, [this](bool bChecked) {
        for (CUpperCaseEntry* pEntry : {m_pUpperPrefix, m_pUpperMiddle, m_pUpperSuffix})
            pEntry->SetEnabled(bChecked);
        ReadChoices();
    });
    connect(m_editPrefix, &QPlainTextEdit::textChanged, this, &CBatchTextDlg::UpdatePreview);
    connect(m_editMiddle, &QLineEdit::textChanged, this, &CBatchTextDlg::UpdatePreview);
    connect(m_editSuffix, &QPlainTextEdit::textChanged, this, &CBatchTextDlg::UpdatePreview);

    setTabOrder(m_editPrefix, m_editMiddle);
    setTabOrder(m_editMiddle, m_editCount);
    setTabOrder(m_editCount, m_editSuffix);
    setTabOrder(m_editSuffix, m_editPreview);
    setTabOrder(m_editPreview, m_checkUpper);
    setTabOrder(m_checkUpper, m_checkSkip);
    setTabOrder(m_checkSkip, m_groupMode->button(CBatchFillRequest::SameText));
    setTabOrder(m_groupMode->button(CBatchFillRequest::Letter), pOk);
    setTabOrder(pOk, pCancel);
}

CBatchFillRequest CBatchTextDlg::Request() const
{
    CBatchFillRequest request;
    request.m_strPrefix = m_strPrefix;
    request.m_strMiddle = m_strMiddle;
    request.m_strSuffix = m_strSuffix;
    request.m_nMode = m_nMode;
    request.m_bSkipFilled = m_bSkipFilled != 0;
    request.m_nCount = m_nCount;
    return request;
}

void CBatchTextDlg::showEvent(QShowEvent* pEvent)
{
    if (!pEvent->spontaneous()) {
        m_strPrefix = m_strLastPrefix;
        m_strMiddle = m_strLastMiddle;
        m_strSuffix = m_strLastSuffix;
        LoadControls();
        m_editPrefix->setFocus(Qt::OtherFocusReason);
    }
    QDialog::showEvent(pEvent);
}

void CBatchTextDlg::LoadControls()
{
    // Setting one control must not read the others before they are set.
    m_bLoading = true;
    m_checkUpper->setChecked(m_bUpper != 0);
    for (CUpperCaseEntry* pEntry : {m_pUpperPrefix, m_pUpperMiddle, m_pUpperSuffix})
        pEntry->SetEnabled(m_bUpper != 0);
    m_editPrefix->setPlainText(EditText(m_strPrefix));
    if (QAbstractButton* pRadio = m_groupMode->button(m_nMode))
        pRadio->setChecked(true);
    m_checkSkip->setChecked(m_bSkipFilled != 0);
    m_editMiddle->setText(EditText(m_strMiddle));
    m_editSuffix->setPlainText(EditText(m_strSuffix));
    m_editCount->setText(QString::number(m_nCount));
    m_bLoading = false;
    UpdatePreview();
}

void CBatchTextDlg::ReadChoices()
{
    if (m_bLoading)
        return;
    m_bUpper = m_checkUpper->isChecked() ? 1 : 0;
    m_nMode = std::max(0, m_groupMode->checkedId());
    m_bSkipFilled = m_checkSkip->isChecked() ? 1 : 0;
    const auto count = ParseDialogInt(m_editCount->text().toStdString());
    if (count && *count >= kMinCount && *count <= kMaxCount)
        m_nCount = *count;
}

// The preview follows every change of the three texts. It needs no valid
// count, so no message interrupts the typing.
void CBatchTextDlg::UpdatePreview()
{
    ReadChoices();
    if (m_bLoading)
        return;
    m_strPreview = m_editPrefix->toPlainText() + m_editMiddle->text() + m_editSuffix->toPlainText();
    m_editPreview->setPlainText(m_strPreview);
}

void CBatchTextDlg::accept()
{
    ReadChoices();
    const auto prefix = ReadTextField(m_editPrefix, kLabelTextLimit);
    if (!prefix)
        return;
    const auto middle = ReadTextField(m_editMiddle, kMiddleTextLimit);
    if (!middle)
        return;
    const auto suffix = ReadTextField(m_editSuffix, kLabelTextLimit);
    if (!suffix)
        return;
    const auto count = ReadIntField(m_editCount, kMinCount, kMaxCount);
    if (!count)
        return;
    m_strPrefix = *prefix;
    m_strMiddle = *middle;
    m_strSuffix = *suffix;
    m_nCount = *count;

    if (m_strPrefix.size() + m_strMiddle.size() + m_strSuffix.size() > kLabelTextLimit) {
        ShowFieldMessage(m_editPrefix, QStringLiteral("总长度超过了50个字符，请重新输入！"), false);
        return;
    }
    if (m_nMode == CBatchFillRequest::Letter && m_strMiddle.size() != 1) {
        ShowFieldMessage(m_editMiddle, QStringLiteral("中间输入框的字符长度必须为1位，请重新输入！"), false);
        return;
    }
    if (m_nMode == CBatchFillRequest::Letter && IncrementLetter(m_strMiddle, 0).empty()) {
        ShowFieldMessage(m_editMiddle,
                         QStringLiteral("中间输入框的字符必须为a ~ z 或 A ~ Z之间的字符，请重新输入！"),
                         false);
        return;
    }
    m_strLastPrefix = m_strPrefix;
    m_strLastMiddle = m_strMiddle;
    m_strLastSuffix = m_strSuffix;
    QDialog::accept();
}
