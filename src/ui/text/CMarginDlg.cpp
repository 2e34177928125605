#include "text/CMarginDlg.h"

#include "text/DialogSupport.h"
#include "text/EditText.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QShowEvent>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

CSpinButton::CSpinButton(QLineEdit* pBuddy, QWidget* parent) : QWidget(parent), m_pBuddy(pBuddy)
{
    setFocusPolicy(Qt::NoFocus);
    m_btnUp = new QToolButton(this);
    m_btnUp->setArrowType(Qt::UpArrow);
    m_btnDown = new QToolButton(this);
    m_btnDown->setArrowType(Qt::DownArrow);
    for (QToolButton* pButton : {m_btnUp, m_btnDown}) {
        pButton->setFocusPolicy(Qt::NoFocus);
        pButton->setAutoRepeat(true);
    }
    connect(m_btnUp, &QToolButton::clicked, this, [this] { Step(-1); });
    connect(m_btnDown, &QToolButton::clicked, this, [this] { Step(+1); });
    pBuddy->installEventFilter(this);
}

void CSpinButton::resizeEvent(QResizeEvent*)
{
    const int nHalf = height() / 2;
    m_btnUp->setGeometry(0, 0, width(), nHalf);
    m_btnDown->setGeometry(0, nHalf, width(), height() - nHalf);
}

bool CSpinButton::eventFilter(QObject* pWatched, QEvent* pEvent)
{
    if (pWatched == m_pBuddy && pEvent->type() == QEvent::KeyPress) {
        const int nKey = static_cast<QKeyEvent*>(pEvent)->key();
        if (nKey == Qt::Key_Up || nKey == Qt::Key_Down) {
            Step(nKey == Qt::Key_Up ? -1 : +1);
            return true;
        }
    }
    return false;
}

void CSpinButton::Step(int nDelta)
{
    // The position follows the edit when it holds a number.
    if (const auto value = ParseDialogInt(m_pBuddy->text().toStdString()))
        m_nPos = *value;
    m_nPos = std::clamp(m_nPos + nDelta, kRangeTop, kRangeBottom);
    m_pBuddy->setText(QString::number(m_nPos));
}

void CMarginPicture::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor ink(40, 40, 40);
    const QColor accent(0, 90, 200);

    const QRectF label = QRectF(rect()).adjusted(6.5, 6.5, -6.5, -6.5);
    painter.setPen(QPen(ink, 1.2));
    painter.setBrush(Qt::white);
    painter.drawRoundedRect(label, 4, 4);

    const double dLeft = 30, dTop = 26, dRight = 26, dBottom = 24;
    const QRectF box = label.adjusted(dLeft, dTop, -dRight, -dBottom);
    painter.setPen(QPen(QColor(150, 150, 150), 1, Qt::DashLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(box);

    // Two lines of sample text with the gap W between them.
    const double dLineH = (box.height() - 16) / 2;
    const QRectF line1(box.left(), box.top(), box.width(), dLineH);
    const QRectF line2(box.left(), box.bottom() - dLineH, box.width(), dLineH);
    QFont sample = font();
    sample.setPixelSize(std::clamp(static_cast<int>(dLineH * 0.6), 8, 14));
    sample.setBold(true);
    painter.setFont(sample);
    painter.setPen(ink);
    painter.drawText(line1, Qt::AlignCenter, QStringLiteral("ABC-123"));
    painter.drawText(line2, Qt::AlignCenter, QStringLiteral("标签文字"));

    QFont letters = font();
    letters.setPixelSize(11);
    letters.setBold(true);
    painter.setFont(letters);
    const auto arrow = [&](QPointF from, QPointF to, const QString& letter, QPointF at) {
        painter.setPen(QPen(accent, 1.2));
        painter.drawLine(from, to);
        for (const auto& [tip, back] : {std::pair{from, to}, std::pair{to, from}}) {
            const QLineF shaft(tip, back);
            QLineF wing1 = QLineF::fromPolar(4, shaft.angle() + 30).translated(tip);
            QLineF wing2 = QLineF::fromPolar(4, shaft.angle() - 30).translated(tip);
            painter.drawLine(wing1);
            painter.drawLine(wing2);
        }
        painter.setPen(accent);
        painter.drawText(QRectF(at.x() - 8, at.y() - 8, 16, 16), Qt::AlignCenter, letter);
    };
    const double dMidY = box.center().y();
    const double dMidX = box.center().x();
    arrow({label.left(), dMidY}, {box.left(), dMidY}, QStringLiteral("L"),
          {(label.left() + box.left()) / 2, dMidY - 9});
    arrow({box.right(), dMidY}, {label.right(), dMidY}, QStringLiteral("R"),
          {(box.right() + label.right()) / 2, dMidY - 9});
    arrow({dMidX, label.top()}, {dMidX, box.top()}, QStringLiteral("T"),
          {dMidX + 10, (label.top() + box.top()) / 2});
    arrow({dMidX, box.bottom()}, {dMidX, label.bottom()}, QStringLiteral("B"),
          {dMidX + 10, (box.bottom() + label.bottom()) / 2});
    const double dGapX = box.left() + 8;
    arrow({dGapX, line1.bottom()}, {dGapX, line2.top()}, QStringLiteral("W"),
          {dGapX + 10, (line1.bottom() + line2.top()) / 2});
}

CMarginDlg::CMarginDlg(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("设定页面"));
    setFont(DialogFont());

    auto* pPicture = new CMarginPicture(this);
    pPicture->setObjectName(QStringLiteral("picture"));
    pPicture->setFixedSize(DialogSize(118, 108));

    const auto line = [this] {
        auto* pLine = new QFrame(this);
        pLine->setFrameStyle(QFrame::HLine | QFrame::Sunken);
        pLine->setMinimumWidth(DialogUnits(227));
        return pLine;
    };
    // A caption, its edit and the edit's up-down buttons.
    const auto field = [this](const QString& text, const char* name, QLineEdit*& pEdit) {
        auto* pLabel = new QLabel(text, this);
        pLabel->setFixedWidth(DialogUnits(50));
        pEdit = new QLineEdit(this);
        pEdit->setObjectName(QLatin1String(name));
        pEdit->setFixedSize(DialogSize(43, 14));
        pEdit->setValidator(
            new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), pEdit));
        pLabel->setBuddy(pEdit);
        auto* pSpin = new CSpinButton(pEdit, this);
        pSpin->setObjectName(QLatin1String(name) + QStringLiteral("Spin"));
        pSpin->setFixedSize(DialogSize(11, 14));
        auto* pRow = new QHBoxLayout;
        pRow->setSpacing(0);
        pRow->addWidget(pLabel);
        pRow->addWidget(pEdit);
        pRow->addSpacing(DialogUnits(3));
        pRow->addWidget(pSpin);
        return pRow;
    };
    auto* pMargins = new QGridLayout;
    pMargins->setHorizontalSpacing(DialogUnits(9));
    pMargins->setVerticalSpacing(DialogUnits(14));
    pMargins->addLayout(field(QStringLiteral("左边距 &L : "), "editLeft", m_editLeft), 0, 0);
    pMargins->addLayout(field(QStringLiteral("上边距 &T : "), "editTop", m_editTop), 0, 1);
    pMargins->addLayout(field(QStringLiteral("右边距 &R : "), "editRight", m_editRight), 1, 0);
    pMargins->addLayout(field(QStringLiteral("下边距 &B : "), "editBottom", m_editBottom), 1, 1);
    pMargins->setColumnStretch(2, 1);
    auto* pLineSpacing = field(QStringLiteral("行间距 W："), "editLineSpacing", m_editLineSpacing);
    pLineSpacing->addStretch();

    auto* pUnit = new QLabel(QStringLiteral("单位： 0.1 mm"), this);
    const auto [pOk, pCancel] = MakeOkCancelButtons(this);
    auto* pButtons = new QHBoxLayout;
    pButtons->setSpacing(0);
    pButtons->addSpacing(DialogUnits(5));
    pButtons->addWidget(pUnit);
    pButtons->addStretch();
    pButtons->addWidget(pOk);
    pButtons->addSpacing(DialogUnits(22));
    pButtons->addWidget(pCancel);
    pButtons->addSpacing(DialogUnits(19));

    // The four margins, the line spacing and the buttons, each between lines.
    auto* pFields = new QVBoxLayout;
    pFields->setSpacing(0);
    pFields->addWidget(line());
    pFields->addSpacing(DialogUnits(11));
    pFields->addLayout(pMargins);
    pFields->addSpacing(DialogUnits(10));
    pFields->addWidget(line());
    pFields->addSpacing(DialogUnits(13));
    pFields->addLayout(pLineSpacing);
    pFields->addSpacing(DialogUnits(22));
    pFields->addWidget(line());
    pFields->addSpacing(DialogUnits(7));
    pFields->addLayout(pButtons);

    auto* pPictureColumn = new QVBoxLayout;
    pPictureColumn->setSpacing(0);
    pPictureColumn->addSpacing(DialogUnits(3));
    pPictureColumn->addWidget(pPicture);
    pPictureColumn->addStretch();

    auto* pLayout = new QHBoxLayout(this);
    pLayout->setContentsMargins(DialogUnits(5), DialogUnits(8), DialogUnits(7), DialogUnits(9));
    pLayout->setSpacing(DialogUnits(8));
    pLayout->setSizeConstraint(QLayout::SetFixedSize);
    pLayout->addLayout(pPictureColumn);
    pLayout->addLayout(pFields);

    setTabOrder(m_editLeft, m_editTop);
    setTabOrder(m_editTop, m_editRight);
    setTabOrder(m_editRight, m_editBottom);
    setTabOrder(m_editBottom, m_editLineSpacing);
    setTabOrder(m_editLineSpacing, pOk);
    setTabOrder(pOk, pCancel);
}

void CMarginDlg::SetMargins(const CMarginTenths& margins)
{
    m_nLeft = margins.m_nLeft;
    m_nTop = margins.m_nTop;
    m_nRight = margins.m_nRight;
    m_nBottom = margins.m_nBottom;
    m_nLineSpacing = margins.m_nLineSpacing;
}

CMarginTenths CMarginDlg::Margins() const
{
    return CMarginTenths{m_nLeft, m_nTop, m_nRight, m_nBottom, m_nLineSpacing};
}

void CMarginDlg::SetLabelSize(double dWidth, double dHeight)
{
    m_labelSize = {dWidth, dHeight};
}

void CMarginDlg::showEvent(QShowEvent* pEvent)
{
    if (!pEvent->spontaneous()) {
        m_editLeft->setText(QString::number(m_nLeft));
        m_editTop->setText(QString::number(m_nTop));
        m_editRight->setText(QString::number(m_nRight));
        m_editBottom->setText(QString::number(m_nBottom));
        m_editLineSpacing->setText(QString::number(m_nLineSpacing));
        m_editLeft->setFocus(Qt::OtherFocusReason);
        m_editLeft->selectAll();
    }
    QDialog::showEvent(pEvent);
}

void CMarginDlg::accept()
{
    constexpr int kMin = CMarginTenths::kMinMargin;
    constexpr int kMax = CMarginTenths::kMaxMargin;
    const struct
    {
        QLineEdit* pEdit;
        int nMin;
        int nMax;
    } fields[] = {
        {m_editLeft, kMin, kMax},
        {m_editTop, kMin, kMax},
        {m_editRight, kMin, kMax},
        {m_editLineSpacing, CMarginTenths::kMinLineSpacing, CMarginTenths::kMaxLineSpacing},
        {m_editBottom, kMin, kMax},
    };
    int values[std::size(fields)] = {};
    for (std::size_t i = 0; i < std::size(fields); ++i) {
        const auto value = ReadIntField(fields[i].pEdit, fields[i].nMin, fields[i].nMax);
        if (!value)
            return;
        values[i] = *value;
    }
    const CMarginTenths margins{values[0], values[1], values[2], values[4], values[3]};
    if (m_labelSize) {
        const auto [dWidth, dHeight] = *m_labelSize;
        switch (CheckMarginsFit(margins, dWidth, dHeight)) {
        case MarginFit::Fits:
            break;
        case MarginFit::TooWide:
            ShowFieldMessage(
                m_editLeft,
                QStringLiteral("左边距与右边距之和必须小于标签宽度 %1 mm，否则标签上没有放文字的地方。")
                    .arg(QString::number(dWidth)));
            return;
        case MarginFit::TooTall:
            ShowFieldMessage(
                m_editTop,
                QStringLiteral("上边距与下边距之和必须小于标签高度 %1 mm，否则标签上没有放文字的地方。")
                    .arg(QString::number(dHeight)));
            return;
        }
    }
    SetMargins(margins);
    QDialog::accept();
}
