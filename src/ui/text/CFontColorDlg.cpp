#include "text/CFontColorDlg.h"

#include "model/FontFace.h"
#include "model/Gbk.h"
#include "render/LabelRenderer.h"
#include "text/DialogSupport.h"
#include "view/TextDirection.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleValidator>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <tuple>

// What a style of a family is: its weight, whether it slants (italic or
// oblique) and, for a style of another width ("Condensed Bold"), the
// family of that width ("DejaVu Sans Condensed"), which carries the width
// in the face name of the label's font.
struct CFaceStyle
{
    QString m_strName;
    int m_nWeight = QFont::Normal;
    bool m_bSlanted = false;
    QString m_strWidthFamily;
};

namespace {

std::uint32_t RefFromColor(const QColor& color)
{
    return static_cast<std::uint32_t>(color.red()) | (static_cast<std::uint32_t>(color.green()) << 8) |
           (static_cast<std::uint32_t>(color.blue()) << 16);
}

QString SizeText(int nTenths)
{
    return nTenths % 10 == 0 ? QString::number(nTenths / 10) : QString::number(nTenths / 10.0, 'f', 1);
}

CFaceStyle StyleOf(const QString& family, const QString& style)
{
    static const QStringList kWidths = {QStringLiteral("UltraCondensed"), QStringLiteral("ExtraCondensed"),
                                        QStringLiteral("Condensed"),      QStringLiteral("SemiCondensed"),
                                        QStringLiteral("SemiExpanded"),   QStringLiteral("Expanded"),
                                        QStringLiteral("ExtraExpanded"),  QStringLiteral("UltraExpanded"),
                                        QStringLiteral("Narrow"),         QStringLiteral("Wide")};
    const QFont font = QFontDatabase::font(family, style, 12);
    CFaceStyle result{style, font.weight(), font.style() != QFont::StyleNormal, QString()};
    const QString width = style.section(QLatin1Char(' '), 0, 0);
    if (kWidths.contains(width, Qt::CaseInsensitive))
        result.m_strWidthFamily = family + QLatin1Char(' ') + width;
    return result;
}

// How far a style is from a weight and slant: a slant outweighs any weight,
// and another width both.
int StyleDistance(const CFaceStyle& style, int nWeight, bool bSlanted)
{
    return std::abs(style.m_nWeight - nWeight) + (style.m_bSlanted != bSlanted ? 1000 : 0) +
           (style.m_strWidthFamily.isEmpty() ? 0 : 2000);
}

// "Nimbus Sans [urw]" is "Nimbus Sans": labels name a family, not its maker.
QString FamilyWithoutFoundry(const QString& family)
{
    const qsizetype at = family.indexOf(QStringLiteral(" ["));
    return at > 0 && family.endsWith(QLatin1Char(']')) ? family.left(at) : family;
}

} // namespace

CFontColorDlg::CFontColorDlg(const CFontChoice& initial, QWidget* parent)
    : QDialog(parent), m_initial(initial), m_choice(initial)
{
    setWindowTitle(QStringLiteral("字体"));
    setFont(DialogFont());
    // The face's vertical writing mark is the label's direction, not part of
    // the face: the dialog offers the face and keeps the direction.
    m_strInitialFace =
        QString::fromStdString(GbkToUtf8Lossy(FaceWithoutVerticalMark(initial.m_logFont.FaceName())));

    m_listFaces = new QListWidget(this);
    m_listFaces->setObjectName(QStringLiteral("listFaces"));
    // The Chinese faces by the names labels store, then the installed families.
    QStringList families;
    for (const std::string& face : ChineseFaceNames())
        families << QString::fromStdString(face);
    for (const QString& installed : QFontDatabase::families())
        if (const QString family = FamilyWithoutFoundry(installed); !families.contains(family))
            families << family;
    if (!m_strInitialFace.isEmpty() && !families.contains(m_strInitialFace))
        families.prepend(m_strInitialFace);
    m_listFaces->addItems(families);
    m_listStyles = new QListWidget(this);
    m_listStyles->setObjectName(QStringLiteral("listStyles"));
    m_comboSize = new QComboBox(this);
    m_comboSize->setObjectName(QStringLiteral("comboSize"));
    m_comboSize->setEditable(true);
    m_comboSize->setInsertPolicy(QComboBox::NoInsert);
    auto* pValidator = new QDoubleValidator(1.0, 999.0, 1, m_comboSize);
    pValidator->setNotation(QDoubleValidator::StandardNotation);
    m_comboSize->setValidator(pValidator);
    for (int nPoints : QFontDatabase::standardSizes())
        m_comboSize->addItem(QString::number(nPoints));

    m_checkStrikeOut = new QCheckBox(QStringLiteral("删除线(&K)"), this);
    m_checkStrikeOut->setObjectName(QStringLiteral("checkStrikeOut"));
    m_checkUnderline = new QCheckBox(QStringLiteral("下划线(&U)"), this);
    m_checkUnderline->setObjectName(QStringLiteral("checkUnderline"));
    m_btnColor = new QPushButton(this);
    m_btnColor->setObjectName(QStringLiteral("buttonColor"));
    m_labelSample = new QLabel(QStringLiteral("标签文字 AaBbYyZz"), this);
    m_labelSample->setObjectName(QStringLiteral("labelSample"));
    m_labelSample->setAlignment(Qt::AlignCenter);
    m_labelSample->setMinimumSize(220, 60);
    // The sample shows what fits of a large size; it must not push the lists
    // aside as its text grows.
    m_labelSample->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    m_labelSample->setAutoFillBackground(true);
    QPalette sample = m_labelSample->palette();
    sample.setColor(QPalette::Window, Qt::white);
    m_labelSample->setPalette(sample);

    auto* pGrid = new QGridLayout;
    const auto caption = [this](const QString& text, QWidget* pBuddy) {
        auto* pLabel = new QLabel(text, this);
        pLabel->setBuddy(pBuddy);
        return pLabel;
    };
    pGrid->addWidget(caption(QStringLiteral("字体(&F):"), m_listFaces), 0, 0);
    pGrid->addWidget(caption(QStringLiteral("字形(&Y):"), m_listStyles), 0, 1);
    pGrid->addWidget(caption(QStringLiteral("大小(&S):"), m_comboSize), 0, 2);
    pGrid->addWidget(m_listFaces, 1, 0, 2, 1);
    pGrid->addWidget(m_listStyles, 1, 1, 2, 1);
    pGrid->addWidget(m_comboSize, 1, 2, Qt::AlignTop);
    pGrid->setColumnStretch(0, 3);
    pGrid->setColumnStretch(1, 2);
    pGrid->setColumnStretch(2, 1);

    auto* pEffects = new QGroupBox(QStringLiteral("效果"), this);
    auto* pEffectsLayout = new QVBoxLayout(pEffects);
    pEffectsLayout->addWidget(m_checkStrikeOut);
    pEffectsLayout->addWidget(m_checkUnderline);
    auto* pColorCaption = new QLabel(QStringLiteral("颜色(&C):"), pEffects);
    pColorCaption->setBuddy(m_btnColor);
    pEffectsLayout->addWidget(pColorCaption);
    pEffectsLayout->addWidget(m_btnColor);
    auto* pSampleBox = new QGroupBox(QStringLiteral("示例"), this);
    auto* pSampleLayout = new QVBoxLayout(pSampleBox);
    pSampleLayout->addWidget(m_labelSample);
    pGrid->addWidget(pEffects, 3, 0);
    pGrid->addWidget(pSampleBox, 3, 1, 1, 2);

    auto* pButtons = new QDialogButtonBox(this);
    pButtons->addButton(QStringLiteral("确定"), QDialogButtonBox::AcceptRole)
        ->setObjectName(QStringLiteral("buttonOk"));
    pButtons->addButton(QStringLiteral("取消"), QDialogButtonBox::RejectRole);
    connect(pButtons, &QDialogButtonBox::accepted, this, &CFontColorDlg::accept);
    connect(pButtons, &QDialogButtonBox::rejected, this, &CFontColorDlg::reject);
    auto* pLayout = new QVBoxLayout(this);
    pLayout->addLayout(pGrid);
    pLayout->addWidget(pButtons);
    resize(560, 420);

    // The starting values.
    const CLogFont& font = initial.m_logFont;
    if (const auto items = m_listFaces->findItems(m_strInitialFace, Qt::MatchExactly); !items.isEmpty())
        m_listFaces->setCurrentItem(items.first());
    FillStyles();
    SelectStyle(font.lfWeight > 0 ? font.lfWeight : QFont::Normal, font.lfItalic != 0);
    m_comboSize->setCurrentText(SizeText(PointTenthsFromFontHeight(initial.m_nFontHeight)));
    m_checkStrikeOut->setChecked(font.lfStrikeOut != 0);
    m_checkUnderline->setChecked(font.lfUnderline != 0);
    SetColor(ColorFromColorRef(initial.m_crText));

    // Another face keeps the weight and slant chosen so far, regular at first.
    connect(m_listFaces, &QListWidget::currentRowChanged, this, [this] {
        const CFaceStyle chosen = CurrentStyle();
        FillStyles();
        SelectStyle(chosen.m_nWeight, chosen.m_bSlanted);
        UpdateSample();
    });
    connect(m_listStyles, &QListWidget::currentRowChanged, this, &CFontColorDlg::UpdateSample);
    connect(m_comboSize, &QComboBox::currentTextChanged, this, &CFontColorDlg::UpdateSample);
    connect(m_checkStrikeOut, &QCheckBox::toggled, this, &CFontColorDlg::UpdateSample);
    connect(m_checkUnderline, &QCheckBox::toggled, this, &CFontColorDlg::UpdateSample);
    connect(m_btnColor, &QPushButton::clicked, this, [this] {
        const QColor color = QColorDialog::getColor(m_color, this, QStringLiteral("颜色"));
        if (color.isValid())
            SetColor(color);
    });
    UpdateSample();
}

QString CFontColorDlg::InstalledFamily() const
{
    const QString face = m_listFaces->currentItem() ? m_listFaces->currentItem()->text() : QString();
    const auto gbk = Utf8ToGbk(face.toStdString());
    return gbk ? QString::fromStdString(InstalledFamilyForFace(*gbk)) : face;
}

void CFontColorDlg::FillStyles()
{
    m_listStyles->clear();
    // A label's font stores weight and slant, and a width only as the name
    // of a family of that width: a style of another width is offered where
    // such a family is installed, so that what the sample shows is what the
    // label prints.
    const QString family = InstalledFamily();
    const QStringList installed = QFontDatabase::families();
    std::vector<CFaceStyle> styles;
    for (const QString& name : QFontDatabase::styles(family))
        if (CFaceStyle style = StyleOf(family, name);
            style.m_strWidthFamily.isEmpty() || installed.contains(style.m_strWidthFamily))
            styles.push_back(std::move(style));
    // Regular first, then by weight, then upright before slanted; other
    // widths after.
    const auto order = [](const CFaceStyle& style) {
        const bool bRegular =
            style.m_nWeight == QFont::Normal && !style.m_bSlanted && style.m_strWidthFamily.isEmpty();
        return std::tuple(!bRegular, style.m_strWidthFamily, style.m_nWeight, style.m_bSlanted,
                          style.m_strName);
    };
    std::sort(styles.begin(), styles.end(),
              [&](const CFaceStyle& a, const CFaceStyle& b) { return order(a) < order(b); });
    if (styles.empty())
        styles.push_back({QStringLiteral("Regular"), QFont::Normal, false, QString()});
    for (const CFaceStyle& style : styles)
        m_listStyles->addItem(style.m_strName);
}

CFaceStyle CFontColorDlg::CurrentStyle() const
{
    if (!m_listStyles->currentItem())
        return {};
    return StyleOf(InstalledFamily(), m_listStyles->currentItem()->text());
}

void CFontColorDlg::SelectStyle(int nWeight, bool bSlanted)
{
    int nBestStyle = 0;
    int nBestDistance = INT_MAX;
    for (int i = 0; i < m_listStyles->count(); ++i) {
        const int nDistance =
            StyleDistance(StyleOf(InstalledFamily(), m_listStyles->item(i)->text()), nWeight, bSlanted);
        if (nDistance < nBestDistance) {
            nBestDistance = nDistance;
            nBestStyle = i;
        }
    }
    m_listStyles->setCurrentRow(nBestStyle);
}

int CFontColorDlg::SizeTenths() const
{
    bool bOk = false;
    const double dPoints = m_comboSize->currentText().toDouble(&bOk);
    if (!bOk || dPoints < 1.0 || dPoints > 999.0)
        return 0;
    return static_cast<int>(std::lround(dPoints * 10));
}

void CFontColorDlg::SetColor(const QColor& color)
{
    m_color = color;
    QPixmap swatch(40, 14);
    swatch.fill(color);
    {
        QPainter painter(&swatch);
        painter.setPen(Qt::gray);
        painter.drawRect(swatch.rect().adjusted(0, 0, -1, -1));
    }
    m_btnColor->setIcon(QIcon(swatch));
    m_btnColor->setIconSize(swatch.size());
    m_btnColor->setText(color.name());
    UpdateSample();
}

void CFontColorDlg::UpdateSample()
{
    if (!m_listStyles->currentItem())
        return;
    // The font a label makes of the choice, at 96 dots per inch as the stored
    // heights are.
    const int nTenths = SizeTenths();
    const CFaceStyle style = CurrentStyle();
    CLogFont logFont = m_initial.m_logFont;
    logFont.SetFaceName(Utf8ToGbk(ChosenFace().toStdString()).value_or(std::string()));
    logFont.lfWeight = style.m_nWeight;
    logFont.lfItalic = style.m_bSlanted ? 1 : 0;
    logFont.lfUnderline = m_checkUnderline->isChecked() ? 1 : 0;
    logFont.lfStrikeOut = m_checkStrikeOut->isChecked() ? 1 : 0;
    logFont.lfHeight = std::min(-1, FontHeightFromPointTenths(nTenths > 0 ? nTenths : 90));
    logFont.lfWidth = 0;
    m_labelSample->setFont(MakeLabelFont(logFont).m_font);
    QPalette palette = m_labelSample->palette();
    palette.setColor(QPalette::WindowText, m_color);
    m_labelSample->setPalette(palette);
}

QString CFontColorDlg::ChosenFace() const
{
    const CFaceStyle style = CurrentStyle();
    if (!style.m_strWidthFamily.isEmpty())
        return style.m_strWidthFamily;
    return m_listFaces->currentItem() ? m_listFaces->currentItem()->text() : QString();
}

void CFontColorDlg::accept()
{
    const QString face = ChosenFace();
    auto gbkFace = Utf8ToGbk(face.toStdString());
    const std::string initialFace = m_initial.m_logFont.FaceName();
    if (gbkFace && !gbkFace->empty() && FaceWithoutVerticalMark(initialFace) != initialFace)
        gbkFace->insert(0, 1, '@');
    if (!gbkFace || gbkFace->empty()) {
        ShowFieldMessage(m_listFaces,
                         QStringLiteral("字体名称“%1”无法保存在标签中，请选择其他字体。").arg(face));
        return;
    }
    if (gbkFace->size() >= static_cast<std::size_t>(CLogFont::kFaceSize)) {
        ShowFieldMessage(m_listFaces,
                         QStringLiteral("字体名称“%1”太长，无法保存在标签中，请选择其他字体。").arg(face));
        return;
    }
    const int nTenths = SizeTenths();
    if (nTenths == 0) {
        ShowFieldMessage(m_comboSize, QStringLiteral("请输入1到999之间的字号。"));
        return;
    }
    const CFaceStyle style = CurrentStyle();
    CFontChoice choice = m_initial;
    CLogFont& font = choice.m_logFont;
    font.SetFaceName(*gbkFace);
    font.lfWeight = style.m_nWeight;
    font.lfItalic = style.m_bSlanted ? 1 : 0;
    font.lfUnderline = m_checkUnderline->isChecked() ? 1 : 0;
    font.lfStrikeOut = m_checkStrikeOut->isChecked() ? 1 : 0;
    choice.m_nFontHeight = nTenths == PointTenthsFromFontHeight(m_initial.m_nFontHeight)
                               ? m_initial.m_nFontHeight
                               : FontHeightFromPointTenths(nTenths);
    font.lfHeight = choice.m_nFontHeight;
    font.lfWidth = 0;
    choice.m_crText = RefFromColor(m_color);
    m_choice = choice;
    QDialog::accept();
}
