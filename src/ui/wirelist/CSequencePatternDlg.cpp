#include "wirelist/CSequencePatternDlg.h"

#include "base/AppSettings.h"
#include "base/NumberText.h"
#include "base/SettingsKeys.h"
#include "wirelist/WireListMessages.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSettings>
#include <QVBoxLayout>

#include <algorithm>
#include <memory>

QStringList RememberedPatterns()
{
    QStringList patterns;
    if (const std::unique_ptr<QSettings> settings = OpenAppSettings()) {
        const int nCount = std::min(settings->beginReadArray(SettingsKeys::kSequencePatterns),
                                    CSequencePatternDlg::kRememberedPatterns);
        for (int i = 0; i < nCount; ++i) {
            settings->setArrayIndex(i);
            const QString pattern = settings->value(SettingsKeys::kSequencePattern).toString();
            if (!pattern.isEmpty() && !patterns.contains(pattern))
                patterns << pattern;
        }
        settings->endArray();
    }
    return patterns;
}

void RememberPattern(const QString& pattern)
{
    QStringList patterns = RememberedPatterns();
    patterns.removeAll(pattern);
    patterns.prepend(pattern);
    while (patterns.size() > CSequencePatternDlg::kRememberedPatterns)
        patterns.removeLast();
    if (const std::unique_ptr<QSettings> settings = OpenAppSettings()) {
        settings->beginWriteArray(SettingsKeys::kSequencePatterns, static_cast<int>(patterns.size()));
        for (int i = 0; i < patterns.size(); ++i) {
            settings->setArrayIndex(i);
            settings->setValue(SettingsKeys::kSequencePattern, patterns[i]);
        }
        settings->endArray();
    }
}

CSequencePatternDlg::CSequencePatternDlg(std::size_t nSelectedLabels, QWidget* parent)
    : QDialog(parent), m_nSelectedLabels(nSelectedLabels)
{
    setWindowTitle(QStringLiteral("序列编号"));

    m_patternBox = new QComboBox(this);
    m_patternBox->setEditable(true);
    m_patternBox->setInsertPolicy(QComboBox::NoInsert);
    m_patternBox->addItems(RememberedPatterns());
    m_patternBox->setMinimumWidth(320);
    auto* help =
        new QLabel(QStringLiteral("{1-24} 数字　{01-24} 补零　{1-99/2} 步长　{24-1} 倒数　{A-Z} 字母\n"
                                  "{L1,L2,N,PE} 列表　X{1-3}:{1-24} 嵌套　{1-10}{A-J}= 同步\n"
                                  "W{1-300}*2 每个重复两次　{{ }} 花括号"),
                   this);
    m_markerList = new QListWidget(this);
    m_count = new QLabel(this);
    m_count->setWordWrap(true);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("序列(&Q):"), m_patternBox);
    form->addRow(QString(), help);

    auto* buttons = new QDialogButtonBox(this);
    m_fill = buttons->addButton(QStringLiteral("填入所选标签(&F)"), QDialogButtonBox::AcceptRole);
    m_print = buttons->addButton(QStringLiteral("打印为多页(&P)..."), QDialogButtonBox::ActionRole);
    buttons->addButton(QDialogButtonBox::Cancel);
    m_fill->setObjectName(QStringLiteral("fill"));
    m_print->setObjectName(QStringLiteral("print"));
    connect(m_fill, &QPushButton::clicked, this, [this] { Finish(Fill); });
    connect(m_print, &QPushButton::clicked, this, [this] { Finish(PrintAsJob); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_markerList, 1);
    layout->addWidget(m_count);
    layout->addWidget(buttons);

    connect(m_patternBox, &QComboBox::editTextChanged, this, &CSequencePatternDlg::Update);
    Update();
}

QString CSequencePatternDlg::PatternText() const
{
    return m_patternBox->currentText();
}

QString CSequencePatternDlg::CountText() const
{
    return m_count->text();
}

void CSequencePatternDlg::Update()
{
    m_pattern.reset();
    m_markerList->clear();
    const QString text = PatternText();
    CSequencePattern pattern;
    if (text.isEmpty()) {
        m_count->setText(QStringLiteral("请键入序列，例如 X{1-3}:{1-24}。"));
    } else if (const std::optional<CPatternError> error =
                   CSequencePattern::Parse(text.toStdString(), pattern)) {
        m_count->setText(PatternErrorText(*error));
    } else {
        m_count->setText(QStringLiteral("共 %1 个，已选 %2 个标签")
                             .arg(NumberText(pattern.Count()), NumberText(m_nSelectedLabels)));
        const std::size_t nShown = std::min(pattern.Count(), static_cast<std::size_t>(kShownMarkers));
        for (std::size_t i = 0; i < nShown; ++i)
            m_markerList->addItem(QString::fromStdString(pattern.MarkerUtf8(i)));
        m_pattern = std::move(pattern);
    }
    m_fill->setEnabled(m_pattern && m_nSelectedLabels > 0);
    m_print->setEnabled(m_pattern.has_value());
}

void CSequencePatternDlg::Finish(Result result)
{
    if (!m_pattern)
        return;
    RememberPattern(PatternText());
    done(result);
}
