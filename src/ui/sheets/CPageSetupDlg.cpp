#include "sheets/CPageSetupDlg.h"

#include "base/AppMessageBox.h"
#include "model/Gbk.h"
#include "sheets/CPageDiagram.h"
#include "sheets/SheetMessages.h"
#include "text/DialogSupport.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>
#include <QValidator>

#include <iterator>

namespace {

constexpr int kMaxNameBytes = 100;

// Bytes of the text in code page 936, as the name is stored; a character the
// code page cannot hold counts as two (the name is refused on OK anyway).
std::size_t GbkByteCount(const QString& text)
{
    if (const std::optional<std::string> gbk = Utf8ToGbk(text.toStdString()))
        return gbk->size();
    std::size_t nBytes = 0;
    for (const char32_t ch : text.toStdU32String())
        nBytes += ch < 0x80 ? 1 : 2;
    return nBytes;
}

// Limits typing to a number of code page 936 bytes, where the edit box's own
// limit counts characters. A name that is already longer (a library entry
// written elsewhere) shows whole and may still be shortened: only an edit
// that makes it longer than both the limit and the text before is refused.
class CGbkLengthValidator : public QValidator
{
public:
    CGbkLengthValidator(QLineEdit* pEdit, std::size_t nMaxBytes) : QValidator(pEdit), m_nMaxBytes(nMaxBytes)
    {
        connect(pEdit, &QLineEdit::textChanged, this,
                [this](const QString& text) { m_nBytesBefore = GbkByteCount(text); });
    }

    State validate(QString& input, int&) const override
    {
        const std::size_t nBytes = GbkByteCount(input);
        return nBytes <= m_nMaxBytes || nBytes <= m_nBytesBefore ? Acceptable : Invalid;
    }

private:
    std::size_t m_nMaxBytes;
    std::size_t m_nBytesBefore = 0;
};

QFrame* EtchedLine(QWidget* parent)
{
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

} // namespace

CPageSetupDlg::CPageSetupDlg(QWidget* parent) : QDialog(parent)
{
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    setWindowTitle(QStringLiteral("设定页面"));
    setFont(DialogFont());

    m_editName = new QLineEdit(this);
    m_editName->setObjectName(QStringLiteral("editName"));
    m_editName->setValidator(new CGbkLengthValidator(m_editName, kMaxNameBytes));

    auto* digits = new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), this);
    const auto numberEdit = [&](const char* name) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QString::fromLatin1(name));
        edit->setValidator(digits);
        edit->setMaxLength(10);
        return edit;
    };
    // In the order of the layout, which is also the tab order.
    m_fields = {
        {numberEdit("editPageHeight"), &CPageSetupValues::m_nPageHeight, kMinPageSize, kMaxPageSize},
        {numberEdit("editPageWidth"), &CPageSetupValues::m_nPageWidth, kMinPageSize, kMaxPageSize},
        {numberEdit("editLeftMargin"), &CPageSetupValues::m_nLeftMargin, 0, kMaxMargin},
        {numberEdit("editTopMargin"), &CPageSetupValues::m_nTopMargin, 0, kMaxMargin},
        {numberEdit("editRightMargin"), &CPageSetupValues::m_nRightMargin, 0, kMaxMargin},
        {numberEdit("editBottomMargin"), &CPageSetupValues::m_nBottomMargin, 0, kMaxMargin},
        {numberEdit("editLabelHeight"), &CPageSetupValues::m_nLabelHeight, kMinLabelSize, kMaxLabelSize},
        {numberEdit("editLabelWidth"), &CPageSetupValues::m_nLabelWidth, kMinLabelSize, kMaxLabelSize},
        {numberEdit("editColumns"), &CPageSetupValues::m_nColumns, 2, 15},
        {numberEdit("editRows"), &CPageSetupValues::m_nRows, 2, 25},
    };
    const QString labels[] = {
        QStringLiteral("页面高 &A : "), QStringLiteral("页面宽 &B : "), QStringLiteral("左边距 &C : "),
        QStringLiteral("上边距 &D : "), QStringLiteral("右边距 &E : "), QStringLiteral("下边距 &F : "),
        QStringLiteral("标签高 &G : "), QStringLiteral("标签宽 &H : "), QStringLiteral("列数量 &M："),
        QStringLiteral("行数量 &N："),
    };

    // The fields' grid, in dialog units: captions from x = 131 (left) and
    // 248 (right), number boxes of 54 × 14 from x = 181 and 298; the name
    // and the five rows of boxes at y = 6, 34, 62, 90, 124 and 162. Etched
    // lines in the gaps part the name, the page size, the margins, the label
    // size and the counts.
    constexpr int kColumnX[] = {131, 181, 235, 248, 298, 352};
    constexpr int kRowY[] = {6, 34, 62, 90, 124, 162};
    constexpr int kBoxHeight = 14;
    auto* grid = new QGridLayout;
    grid->setSpacing(0);
    for (int c = 0; c + 1 < int(std::size(kColumnX)); ++c)
        grid->setColumnMinimumWidth(c, DialogSpan(kColumnX[c], kColumnX[c + 1]));
    for (int r = 0; r < int(std::size(kRowY)); ++r) {
        grid->setRowMinimumHeight(2 * r, DialogUnits(kBoxHeight));
        if (r > 0)
            grid->setRowMinimumHeight(2 * r - 1,
                                      DialogSpan(kRowY[r - 1], kRowY[r]) - DialogUnits(kBoxHeight));
    }
    auto* nameLabel = new QLabel(QStringLiteral("名称："), this);
    nameLabel->setBuddy(m_editName);
    m_editName->setFixedSize(DialogSize(171, kBoxHeight));
    grid->addWidget(nameLabel, 0, 0);
    grid->addWidget(m_editName, 0, 1, 1, 4, Qt::AlignLeft);
    for (std::size_t i = 0; i < m_fields.size(); ++i) {
        const int nRow = 2 * int(i / 2 + 1);
        const int nColumn = 3 * int(i % 2);
        auto* label = new QLabel(labels[i], this);
        label->setBuddy(m_fields[i].m_pEdit);
        m_fields[i].m_pEdit->setFixedSize(DialogSize(54, kBoxHeight));
        grid->addWidget(label, nRow, nColumn);
        grid->addWidget(m_fields[i].m_pEdit, nRow, nColumn + 1);
    }
    for (const int nGapRow : {1, 3, 7, 9})
        grid->addWidget(EtchedLine(this), nGapRow, 0, 1, 5, Qt::AlignVCenter);

    // "单位： 0.01 mm" from x = 136, 确定 at 217 and 取消 at 289, at y = 194.
    auto* unit = new QLabel(QStringLiteral("单位： 0.01 mm"), this);
    const auto [btnOK, btnCancel] = MakeOkCancelButtons(this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    auto* bottom = new QHBoxLayout;
    bottom->setSpacing(0);
    bottom->addSpacing(DialogSpan(131, 136));
    bottom->addWidget(unit);
    bottom->addStretch();
    bottom->addWidget(btnOK);
    bottom->addSpacing(DialogSpan(217, 289) - DialogUnits(50));
    bottom->addWidget(btnCancel);
    bottom->addSpacing(DialogSpan(289, 352) - DialogUnits(50));

    auto* right = new QVBoxLayout;
    right->setSpacing(0);
    right->addSpacing(DialogUnits(kRowY[0]));
    right->addLayout(grid);
    right->addSpacing(DialogSpan(kRowY[5], 194) - DialogUnits(kBoxHeight));
    right->addLayout(bottom);
    right->addSpacing(DialogSpan(194, 217) - DialogUnits(14));

    // The picture at 5, 11, 109 × 159 units.
    auto* picture = new CPageDiagram(this);
    picture->setObjectName(QStringLiteral("picture"));
    auto* left = new QVBoxLayout;
    left->setSpacing(0);
    left->addSpacing(DialogUnits(11));
    left->addWidget(picture);
    left->addStretch();

    // 365 × 217 units in all.
    auto* top = new QHBoxLayout(this);
    top->setContentsMargins(DialogUnits(5), 0, DialogSpan(352, 365), 0);
    top->setSpacing(0);
    top->setSizeConstraint(QLayout::SetFixedSize);
    top->addLayout(left);
    top->addSpacing(DialogSpan(5, 131) - DialogUnits(109));
    top->addLayout(right);

    QWidget* previous = m_editName;
    for (const CNumberField& field : m_fields) {
        setTabOrder(previous, field.m_pEdit);
        previous = field.m_pEdit;
    }
    setTabOrder(previous, btnOK);
    setTabOrder(btnOK, btnCancel);
}

int CPageSetupDlg::exec()
{
    OnInitDialog();
    return QDialog::exec();
}

void CPageSetupDlg::OnInitDialog()
{
    setWindowTitle(QStringLiteral("设定页面") + m_strTitleSuffix);
    m_values = ValuesFromFormat(m_format);
    m_editName->setText(QString::fromStdString(GbkToUtf8Lossy(m_strName)));
    for (const CNumberField& field : m_fields)
        field.m_pEdit->setText(QString::number(m_values.*field.m_pValue));
    m_editName->setFocus();
}

const CPageSetupDlg::CNumberField& CPageSetupDlg::Field(std::uint32_t CPageSetupValues::*pValue) const
{
    for (const CNumberField& field : m_fields)
        if (field.m_pValue == pValue)
            return field;
    return m_fields.front();
}

bool CPageSetupDlg::ExchangeNumber(const CNumberField& field)
{
    const std::optional<std::uint32_t> nValue = ParseUnsignedField(field.m_pEdit->text().toStdString());
    if (!nValue) {
        ShowFieldMessage(field.m_pEdit, PositiveIntegerMessage());
        return false;
    }
    if (*nValue < field.m_nMin || *nValue > field.m_nMax) {
        ShowFieldMessage(field.m_pEdit,
                         IntegerRangeMessage(static_cast<int>(field.m_nMin), static_cast<int>(field.m_nMax)));
        return false;
    }
    m_values.*field.m_pValue = *nValue;
    return true;
}

bool CPageSetupDlg::ExchangeName(std::string& strName)
{
    const std::optional<std::string> gbk = Utf8ToGbk(m_editName->text().toStdString());
    if (!gbk) {
        ShowFieldMessage(m_editName, kMsgNameNotGbk);
        return false;
    }
    if (gbk->size() > kMaxNameBytes) {
        ShowFieldMessage(m_editName, TextTooLongMessage(kMaxNameBytes));
        return false;
    }
    strName = *gbk;
    return true;
}

void CPageSetupDlg::accept()
{
    // Validated in the order the dialog has always checked them; the first
    // field that fails keeps the focus.
    std::string strName;
    const bool bOk = ExchangeNumber(Field(&CPageSetupValues::m_nPageHeight)) &&
                     ExchangeNumber(Field(&CPageSetupValues::m_nRows)) && ExchangeName(strName) &&
                     ExchangeNumber(Field(&CPageSetupValues::m_nPageWidth)) &&
                     ExchangeNumber(Field(&CPageSetupValues::m_nLeftMargin)) &&
                     ExchangeNumber(Field(&CPageSetupValues::m_nTopMargin)) &&
                     ExchangeNumber(Field(&CPageSetupValues::m_nRightMargin)) &&
                     ExchangeNumber(Field(&CPageSetupValues::m_nBottomMargin)) &&
                     ExchangeNumber(Field(&CPageSetupValues::m_nLabelHeight)) &&
                     ExchangeNumber(Field(&CPageSetupValues::m_nLabelWidth)) &&
                     ExchangeNumber(Field(&CPageSetupValues::m_nColumns));
    if (!bOk)
        return;

    // White space at both ends, the full-width space of Chinese input included.
    const QString strTrimmed = QString::fromStdString(*GbkToUtf8(strName)).trimmed();
    if (strTrimmed.isEmpty()) {
        ShowFieldMessage(m_editName, kMsgEmptyName);
        return;
    }

    CPageFormat format = m_format;
    ApplyValuesToFormat(m_values, format);
    switch (CheckLabelsFit(format)) {
    case LabelFit::Fits:
        break;
    case LabelFit::TooWide:
        ShowFieldMessage(Field(&CPageSetupValues::m_nLabelWidth).m_pEdit, kMsgLabelsTooWide);
        return;
    case LabelFit::TooTall:
        ShowFieldMessage(Field(&CPageSetupValues::m_nLabelHeight).m_pEdit, kMsgLabelsTooTall);
        return;
    case LabelFit::ColumnsOverlap:
        ShowFieldMessage(Field(&CPageSetupValues::m_nColumns).m_pEdit, kMsgColumnsOverlap);
        return;
    case LabelFit::RowsOverlap:
        ShowFieldMessage(Field(&CPageSetupValues::m_nRows).m_pEdit, kMsgRowsOverlap);
        return;
    }

    m_strName = *Utf8ToGbk(strTrimmed.toStdString());
    m_format = format;
    QDialog::accept();
}
