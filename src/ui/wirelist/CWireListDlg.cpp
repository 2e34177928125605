#include "wirelist/CWireListDlg.h"

#include "base/AppMessageBox.h"
#include "base/CharacterText.h"
#include "base/ErrorText.h"
#include "base/NumberText.h"
#include "model/Gbk.h"
#include "print/CCalibrationDlg.h"
#include "print/CLabelPrintDlg.h"
#include "print/CMarkerPreviewDlg.h"
#include "print/CPrinterSettings.h"
#include "print/PageOffsetSettings.h"
#include "print/PdfFile.h"
#include "print/PrintLayout.h"
#include "print/PrintPage.h"
#include "text/EditText.h"
#include "view/LabelTextLayout.h"
#include "wirelist/WireListMessages.h"
#include "wirelist/WireListSettings.h"
#include "wirelist/WireTableModel.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPrinter>
#include <QProgressDialog>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

namespace {

// The encodings the dialog offers, iconv's names, the ones people meet in
// lists first.
constexpr std::pair<const char*, const char*> kEncodings[] = {
    {"GB18030", "简体中文"},          {"UTF-8", "Unicode"},         {"UTF-16", "Unicode，带字节顺序标记"},
    {"UTF-16LE", "Unicode"},          {"UTF-16BE", "Unicode"},      {"BIG5", "繁体中文"},
    {"BIG5-HKSCS", "繁体中文，香港"}, {"SHIFT_JIS", "日文"},        {"EUC-JP", "日文"},
    {"ISO-2022-JP", "日文"},          {"EUC-KR", "韩文"},           {"UHC", "韩文"},
    {"WINDOWS-1250", "中欧"},         {"WINDOWS-1251", "西里尔文"}, {"WINDOWS-1252", "西欧"},
    {"WINDOWS-1253", "希腊文"},       {"WINDOWS-1254", "土耳其文"}, {"WINDOWS-1255", "希伯来文"},
    {"WINDOWS-1256", "阿拉伯文"},     {"WINDOWS-1257", "波罗的海"}, {"WINDOWS-1258", "越南文"},
    {"WINDOWS-874", "泰文"},          {"ISO-8859-1", "西欧"},       {"ISO-8859-2", "中欧"},
    {"ISO-8859-3", "南欧"},           {"ISO-8859-4", "北欧"},       {"ISO-8859-5", "西里尔文"},
    {"ISO-8859-6", "阿拉伯文"},       {"ISO-8859-7", "希腊文"},     {"ISO-8859-8", "希伯来文"},
    {"ISO-8859-9", "土耳其文"},       {"ISO-8859-10", "北欧"},      {"ISO-8859-11", "泰文"},
    {"ISO-8859-13", "波罗的海"},      {"ISO-8859-14", "凯尔特文"},  {"ISO-8859-15", "西欧，带欧元符号"},
    {"ISO-8859-16", "东南欧"},        {"KOI8-R", "俄文"},           {"KOI8-U", "乌克兰文"},
    {"CP866", "西里尔文，DOS"},       {"CP437", "英文，DOS"},       {"CP850", "西欧，DOS"},
    {"MACINTOSH", "西欧，Mac"},       {"TIS-620", "泰文"},
};

// The script an encoding the dialog offers is written in, e.g. "繁体中文".
QString ScriptOf(const std::string& encoding)
{
    for (const auto& [name, script] : kEncodings)
        if (encoding == name)
            return QString::fromUtf8(script);
    return {};
}

// "自动" with the encoding detection chose for the list read, if any.
QString AutomaticText(const std::string& detected)
{
    if (detected.empty())
        return QStringLiteral("自动");
    return QStringLiteral("自动（检测为 %1）").arg(QString::fromStdString(detected));
}

// Sheets beyond which printing shows its progress.
constexpr std::size_t kQuietSheets = 3;
// The first sheet's picture: its width in pixels.
constexpr int kPictureWidth = 300;

QString FromUtf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Why rows cannot be markers; bTwoEnds names the near end's columns "A 端列".
QString FaultText(const CMarkerFault& fault, bool bTwoEnds)
{
    if (fault.m_kind == CMarkerFault::Kind::ColumnBeyondList) {
        const QString field = fault.m_bQuantityColumn ? QStringLiteral("数量列")
                              : fault.m_bFarEnd       ? QStringLiteral("B 端列")
                              : bTwoEnds              ? QStringLiteral("A 端列")
                                                      : QStringLiteral("列");
        return QStringLiteral("%1：第 %2 列（%3）超出了线号表，线号表只有 %4 列。")
            .arg(field)
            .arg(fault.m_nColumn + 1)
            .arg(QString::fromStdString(ColumnLetters(fault.m_nColumn)))
            .arg(fault.m_nColumns);
    }
    const QString row = fault.m_bFarEnd ? QStringLiteral("第 %1 行 B 端：").arg(fault.m_nRow)
                                        : QStringLiteral("第 %1 行：").arg(fault.m_nRow);
    switch (fault.m_kind) {
    case CMarkerFault::Kind::TooLong:
        return row + QStringLiteral("线号有 %1 个字节，一个标签最多 %2 个字节。")
                         .arg(fault.m_nBytes)
                         .arg(kLabelTextLimit);
    case CMarkerFault::Kind::NotCodePage936:
        return row +
               QStringLiteral("字符 %1 不能打印在标签上。").arg(CharacterText(FromUtf8(fault.m_strDetail)));
    case CMarkerFault::Kind::BadQuantity:
        return row + QStringLiteral("数量“%1”不是 0 到 %2 之间的整数。")
                         .arg(FromUtf8(fault.m_strDetail))
                         .arg(kMaxMarkerCopies);
    case CMarkerFault::Kind::ColumnBeyondList:
        break;
    }
    return row;
}

} // namespace

CWireListDlg::CWireListDlg(const QString& path, const CSheet& sheet, int nPageMoveX, int nPageMoveY,
                           ApplyTexts applyToSelected, QWidget* parent)
    : CWireListDlg(sheet, nPageMoveX, nPageMoveY, std::move(applyToSelected), parent)
{
    ShowList(path);
    connect(m_encoding, &QComboBox::currentIndexChanged, this, &CWireListDlg::ReadWholeList);
    connect(m_worksheet, &QLineEdit::editingFinished, this, &CWireListDlg::ReadWholeList);
    connect(m_recentLists, &QComboBox::activated, this, [this](int nIndex) {
        const QString other = m_recentLists->itemData(nIndex).toString();
        if (other == m_path)
            return;
        RememberChoices();
        ShowList(other);
        ReadWholeList();
    });
    connect(this, &QDialog::finished, this, &CWireListDlg::RememberChoices);
    // The list is read once the dialog is on screen, once: the table shows
    // its first rows and columns from what was read.
    m_count->setText(QStringLiteral("正在读取线号表..."));
    for (QPushButton* button : m_actions)
        button->setEnabled(false);
    QTimer::singleShot(0, this, &CWireListDlg::ReadWholeList);
}

CWireListDlg::CWireListDlg(const CSequencePattern& pattern, const QString& patternText, const CSheet& sheet,
                           int nPageMoveX, int nPageMoveY, ApplyTexts applyToSelected, QWidget* parent)
    : CWireListDlg(sheet, nPageMoveX, nPageMoveY, std::move(applyToSelected), parent)
{
    m_pattern = pattern;
    setWindowTitle(QStringLiteral("序列编号 - %1").arg(patternText));
    m_table->hide();
    m_recentRow->setRowVisible(m_recentLists, false);
    for (QWidget* listOption :
         std::initializer_list<QWidget*>{m_columns, m_twoEnds, m_farEndColumns, m_join, m_skipEmptyCells,
                                         m_headerRows, m_quantityColumn, m_encodingRow, m_worksheet})
        m_options->setRowVisible(listOption, false);
    Rebuild();
}

CWireListDlg::~CWireListDlg()
{
    // A dialog destroyed while shown hides in QDialog's destructor, and the
    // worksheet field's focus leaving then would read the list into members
    // already gone.
    m_worksheet->disconnect(this);
}

CWireListDlg::CWireListDlg(const CSheet& sheet, int nPageMoveX, int nPageMoveY, ApplyTexts applyToSelected,
                           QWidget* parent)
    : QDialog(parent), m_template(sheet), m_nPageMoveX(nPageMoveX), m_nPageMoveY(nPageMoveY),
      m_applyToSelected(std::move(applyToSelected))
{

    m_recentLists = new QComboBox(this);
    m_recentLists->setObjectName(QStringLiteral("recentLists"));
    m_recentLists->setToolTip(QStringLiteral("最近用过的线号表"));
    m_recentLists->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_tableModel = new CWireTableModel(this);
    m_table = new QTableView(this);
    m_table->setModel(m_tableModel);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setMinimumWidth(420);
    m_tableNote = new QLabel(this);
    m_tableNote->hide();

    m_columns = new QLineEdit(QStringLiteral("1"), this);
    m_columns->setToolTip(QStringLiteral("列号（1,3）或列字母（A,C），用逗号分隔"));
    m_twoEnds = new QCheckBox(QStringLiteral("两端不同(&T)"), this);
    m_twoEnds->setObjectName(QStringLiteral("twoEnds"));
    m_twoEnds->setToolTip(QStringLiteral("每行打印两个标签：A 端和 B 端各用自己的列，并排放在一起"));
    m_farEndColumns = new QLineEdit(QStringLiteral("1"), this);
    m_farEndColumns->setObjectName(QStringLiteral("farEndColumns"));
    m_farEndColumns->setToolTip(m_columns->toolTip());
    m_join = new QLineEdit(this);
    m_join->setPlaceholderText(QStringLiteral("换行（每列一行）"));
    m_skipEmptyCells = new QCheckBox(QStringLiteral("跳过空单元格(&S)"), this);
    m_skipEmptyCells->setObjectName(QStringLiteral("skipEmptyCells"));
    m_skipEmptyCells->setChecked(true);
    m_skipEmptyCells->setToolTip(QStringLiteral("连接各列时，空单元格不留下连接符或空行"));
    m_headerRows = new QSpinBox(this);
    m_headerRows->setObjectName(QStringLiteral("headerRows"));
    m_headerRows->setRange(0, kMaxHeaderRows);
    m_headerRows->setToolTip(QStringLiteral("列表上方的标题行和列名行，不打印"));
    m_copies = new QSpinBox(this);
    m_copies->setObjectName(QStringLiteral("copies"));
    m_copies->setRange(1, kMaxMarkerCopies);
    m_quantityColumn = new QLineEdit(this);
    m_quantityColumn->setPlaceholderText(QStringLiteral("不用（按每行份数）"));
    m_encoding = new QComboBox(this);
    m_encoding->setObjectName(QStringLiteral("encoding"));
    m_encoding->addItem(AutomaticText({}), QString());
    for (const auto& [name, script] : kEncodings)
        m_encoding->addItem(QStringLiteral("%1（%2）").arg(QString::fromLatin1(name), script),
                            QString::fromLatin1(name));
    m_encoding->setMaxVisibleItems(20);
    // Where two readings of a list are plausible, the other one is offered
    // beside the one chosen.
    m_otherEncoding = new QPushButton(this);
    m_otherEncoding->setObjectName(QStringLiteral("otherEncoding"));
    m_otherEncoding->hide();
    connect(m_otherEncoding, &QPushButton::clicked, this, [this] {
        const QString other = QString::fromStdString(m_list.m_strOtherEncoding);
        int nIndex = m_encoding->findData(other);
        if (nIndex < 0) {
            m_encoding->addItem(other, other);
            nIndex = m_encoding->count() - 1;
        }
        m_encoding->setCurrentIndex(nIndex);
    });
    m_encodingRow = new QWidget(this);
    auto* encodingRow = new QHBoxLayout(m_encodingRow);
    encodingRow->setContentsMargins(0, 0, 0, 0);
    encodingRow->addWidget(m_encoding, 1);
    encodingRow->addWidget(m_otherEncoding);
    m_worksheet = new QLineEdit(this);
    m_worksheet->setPlaceholderText(QStringLiteral("第一个工作表"));
    m_selectedOnly = new QCheckBox(QStringLiteral("每页只用所选位置(&O)"), this);

    m_options = new QFormLayout;
    m_options->addRow(QStringLiteral("列(&C):"), m_columns);
    m_options->addRow(QString(), m_twoEnds);
    m_options->addRow(QStringLiteral("B 端列(&B):"), m_farEndColumns);
    m_options->setRowVisible(m_farEndColumns, false);
    m_options->addRow(QStringLiteral("连接符(&J):"), m_join);
    m_options->addRow(QString(), m_skipEmptyCells);
    m_options->addRow(QStringLiteral("标题行数(&H):"), m_headerRows);
    m_options->addRow(QStringLiteral("每行份数(&N):"), m_copies);
    m_options->addRow(QStringLiteral("数量列(&Q):"), m_quantityColumn);
    m_options->addRow(QStringLiteral("编码(&E):"), m_encodingRow);
    if (auto* label = qobject_cast<QLabel*>(m_options->labelForField(m_encodingRow)))
        label->setBuddy(m_encoding);
    m_options->addRow(QStringLiteral("工作表(&K):"), m_worksheet);
    m_options->addRow(QString(), m_selectedOnly);

    m_count = new QLabel(this);
    m_count->setWordWrap(true);
    m_status = new QLabel(this);
    m_status->setWordWrap(true);
    m_picture = new QLabel(this);
    m_picture->setAlignment(Qt::AlignCenter);
    m_picture->setMinimumSize(kPictureWidth, kPictureWidth * 297 / 210);

    auto* right = new QVBoxLayout;
    right->addLayout(m_options);
    right->addWidget(m_count);
    right->addWidget(m_status);
    right->addWidget(m_picture, 1);

    auto* tableColumn = new QVBoxLayout;
    m_recentRow = new QFormLayout;
    m_recentRow->addRow(QStringLiteral("线号表(&L):"), m_recentLists);
    tableColumn->addLayout(m_recentRow);
    tableColumn->addWidget(m_table, 1);
    tableColumn->addWidget(m_tableNote);
    auto* top = new QHBoxLayout;
    top->addLayout(tableColumn, 1);
    top->addLayout(right);

    auto* buttons = new QDialogButtonBox(this);
    const auto addAction = [&](const QString& text, void (CWireListDlg::*slot)()) {
        QPushButton* button = buttons->addButton(text, QDialogButtonBox::ActionRole);
        connect(button, &QPushButton::clicked, this, slot);
        m_actions.push_back(button);
    };
    addAction(QStringLiteral("填入本页(&F)"), &CWireListDlg::OnFill);
    addAction(QStringLiteral("打印预览(&V)"), &CWireListDlg::OnPreview);
    addAction(QStringLiteral("打印(&P)..."), &CWireListDlg::OnPrint);
    addAction(QStringLiteral("导出 PDF(&D)..."), &CWireListDlg::OnExportPdf);
    connect(buttons->addButton(QStringLiteral("关闭"), QDialogButtonBox::RejectRole), &QPushButton::clicked,
            this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addWidget(buttons);

    for (QLineEdit* edit : {m_columns, m_farEndColumns, m_join, m_quantityColumn})
        connect(edit, &QLineEdit::textChanged, this, &CWireListDlg::Rebuild);
    connect(m_twoEnds, &QCheckBox::toggled, this, &CWireListDlg::ShowEnds);
    for (QCheckBox* box : {m_skipEmptyCells, m_selectedOnly})
        connect(box, &QCheckBox::toggled, this, &CWireListDlg::Rebuild);
    for (QSpinBox* spin : {m_headerRows, m_copies})
        connect(spin, &QSpinBox::valueChanged, this, &CWireListDlg::Rebuild);
}

void CWireListDlg::ShowList(const QString& path)
{
    m_path = path;
    setWindowTitle(QStringLiteral("导入线号表 - %1").arg(QFileInfo(path).fileName()));
    const std::vector<CListChoices> lists = RememberedLists();
    CListChoices choices;
    if (const CListChoices* remembered = ChoicesForList(lists, path.toStdString()))
        choices = *remembered;
    choices.m_strPath = path.toStdString();
    ApplyChoices(choices);
    const QSignalBlocker quiet(m_recentLists);
    m_recentLists->clear();
    m_recentLists->addItem(QFileInfo(path).fileName(), path);
    m_recentLists->setItemData(0, path, Qt::ToolTipRole);
    for (const CListChoices& list : lists) {
        const QString other = QString::fromStdString(list.m_strPath);
        if (other == path || !QFileInfo::exists(other))
            continue;
        m_recentLists->addItem(QFileInfo(other).fileName(), other);
        m_recentLists->setItemData(m_recentLists->count() - 1, other, Qt::ToolTipRole);
    }
}

CListChoices CWireListDlg::Choices() const
{
    CListChoices choices;
    choices.m_strPath = m_path.toStdString();
    choices.m_strColumns = m_columns->text().toStdString();
    if (m_twoEnds->isChecked())
        choices.m_strFarEndColumns = m_farEndColumns->text().toStdString();
    choices.m_strJoin = m_join->text().toStdString();
    choices.m_nHeaderRows = static_cast<std::size_t>(m_headerRows->value());
    choices.m_bSkipEmptyCells = m_skipEmptyCells->isChecked();
    choices.m_nCopies = m_copies->value();
    choices.m_strQuantityColumn = m_quantityColumn->text().toStdString();
    choices.m_strEncoding = m_encoding->currentData().toString().toStdString();
    choices.m_strWorksheet = m_worksheet->text().toStdString();
    return choices;
}

void CWireListDlg::ApplyChoices(const CListChoices& choices)
{
    // The list is read once, after every field is set.
    const QSignalBlocker quietEncoding(m_encoding);
    const QSignalBlocker quietWorksheet(m_worksheet);
    const auto text = [](const std::string& value) { return QString::fromStdString(value); };
    m_columns->setText(text(choices.m_strColumns));
    m_twoEnds->setChecked(!choices.m_strFarEndColumns.empty());
    if (!choices.m_strFarEndColumns.empty())
        m_farEndColumns->setText(text(choices.m_strFarEndColumns));
    m_join->setText(text(choices.m_strJoin));
    m_headerRows->setValue(static_cast<int>(choices.m_nHeaderRows));
    m_skipEmptyCells->setChecked(choices.m_bSkipEmptyCells);
    m_copies->setValue(choices.m_nCopies);
    m_quantityColumn->setText(text(choices.m_strQuantityColumn));
    // An encoding iconv knows that the list does not offer is added to it;
    // one iconv does not know (a settings file edited by hand) is dropped.
    int nEncoding = m_encoding->findData(text(choices.m_strEncoding));
    if (nEncoding < 0 && IsKnownEncoding(choices.m_strEncoding.c_str())) {
        m_encoding->addItem(text(choices.m_strEncoding), text(choices.m_strEncoding));
        nEncoding = m_encoding->count() - 1;
    }
    m_encoding->setCurrentIndex(std::max(nEncoding, 0));
    m_worksheet->setText(text(choices.m_strWorksheet));
}

void CWireListDlg::RememberChoices() const
{
    if (!m_pattern)
        RememberList(Choices());
}

void CWireListDlg::ShowEnds()
{
    const bool bTwoEnds = m_twoEnds->isChecked();
    if (auto* label = qobject_cast<QLabel*>(m_options->labelForField(m_columns)))
        label->setText(bTwoEnds ? QStringLiteral("A 端列(&C):") : QStringLiteral("列(&C):"));
    m_options->setRowVisible(m_farEndColumns, bTwoEnds);
    Rebuild();
}

CWireListOptions CWireListDlg::ReadOptions() const
{
    CWireListOptions options;
    options.m_strWorksheet = m_worksheet->text().toStdString();
    options.m_strEncoding = m_encoding->currentData().toString().toStdString();
    return options;
}

void CWireListDlg::ReadWholeList()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_tableModel->SetTable(nullptr);
    m_list = {};
    const CWireListProblem problem =
        ReadWireListFile(QFile::encodeName(m_path).toStdString(), ReadOptions(), m_list);
    QApplication::restoreOverrideCursor();
    // A workbook's cells carry their own encoding: 编码 does nothing there.
    const bool bWorkbook = m_list.m_kind != WireListKind::Text;
    m_encoding->setEnabled(!bWorkbook);
    m_encoding->setToolTip(bWorkbook ? QStringLiteral("工作簿（.xlsx、.ods）自带编码，不用选择。")
                                     : QString());
    if (problem)
        m_list = {};
    // Automatic detection says what it chose, so that a wrong guess is seen.
    const bool bAutomatic = m_encoding->currentData().toString().isEmpty();
    m_encoding->setItemText(0, AutomaticText(bAutomatic && m_list.m_kind == WireListKind::Text
                                                 ? m_list.m_strEncoding
                                                 : std::string()));
    const std::string& other = m_list.m_strOtherEncoding;
    m_otherEncoding->setVisible(bAutomatic && !other.empty());
    if (!other.empty()) {
        const QString name = QString::fromStdString(other);
        const QString script = ScriptOf(other);
        m_otherEncoding->setText(script.isEmpty() ? QStringLiteral("改用 %1").arg(name)
                                                  : QStringLiteral("改用 %1（%2）").arg(name, script));
        m_otherEncoding->setToolTip(QStringLiteral("这个线号表也可以读作 %1 编码").arg(name));
    }
    m_tableModel->SetTable(&m_list.m_table);
    const std::size_t nHidden = m_tableModel->HiddenColumns();
    m_tableNote->setText(QStringLiteral("只显示前 %1 列，另有 %2 列未显示。")
                             .arg(CWireTableModel::kShownColumns)
                             .arg(NumberText(nHidden)));
    m_tableNote->setVisible(nHidden > 0);
    m_strProblem =
        problem ? QStringLiteral("无法读取线号表：%1").arg(WireListProblemText(problem)) : QString();
    Rebuild();
}

CMarkerOptions CWireListDlg::MarkerOptions(QString& error) const
{
    CMarkerOptions options;
    const std::optional<std::vector<std::size_t>> columns = ParseColumnList(m_columns->text().toStdString());
    if (!columns)
        error = (m_twoEnds->isChecked() ? QStringLiteral("A 端列") : QStringLiteral("列")) +
                QStringLiteral("：请键入列号（1,3）或列字母（A,C）。");
    else
        options.m_columns = *columns;
    if (m_twoEnds->isChecked()) {
        const std::optional<std::vector<std::size_t>> farEnd =
            ParseColumnList(m_farEndColumns->text().toStdString());
        if (!farEnd)
            error = QStringLiteral("B 端列：请键入列号（1,3）或列字母（A,C）。");
        else
            options.m_farEndColumns = *farEnd;
    }
    if (!m_join->text().isEmpty())
        options.m_strJoin = m_join->text().toStdString();
    options.m_nHeaderRows = static_cast<std::size_t>(m_headerRows->value());
    options.m_bSkipEmptyCells = m_skipEmptyCells->isChecked();
    options.m_nCopies = m_copies->value();
    if (!m_quantityColumn->text().trimmed().isEmpty()) {
        options.m_quantityColumn = ParseColumn(m_quantityColumn->text().toStdString());
        if (!options.m_quantityColumn)
            error = QStringLiteral("数量列：请键入一个列号或列字母。");
    }
    return options;
}

void CWireListDlg::Rebuild()
{
    m_markers = {};
    QString problem = m_strProblem;
    if (m_pattern) {
        m_markers = m_pattern->Markers(m_copies->value());
    } else if (problem.isEmpty()) {
        const CMarkerOptions options = MarkerOptions(problem);
        CMarkerFault fault;
        if (problem.isEmpty() && !BuildMarkers(m_list.m_table, options, m_markers, &fault).empty())
            problem = FaultText(fault, m_twoEnds->isChecked());
    }
    if (problem.isEmpty() && m_markers.Total() == 0)
        problem = QStringLiteral("所选的列全是空的，没有标签可打印。");
    const CMarkerSheets sheets(m_template, m_markers, m_selectedOnly->isChecked());
    if (problem.isEmpty())
        problem = FromUtf8(sheets.Check()).isEmpty()
                      ? QString()
                      : QStringLiteral("本页没有选中的标签：线号从选中的标签开始填入。");
    m_strCountProblem = problem;
    m_status->clear();
    m_count->setText(CountText());
    for (QPushButton* button : m_actions)
        button->setEnabled(problem.isEmpty());
    DrawFirstSheet();
}

QString CWireListDlg::CountText() const
{
    if (!m_strCountProblem.isEmpty())
        return m_strCountProblem;
    const CMarkerSheets sheets(m_template, m_markers, m_selectedOnly->isChecked());
    return QStringLiteral("共 %1 个标签，需要 %2 页")
        .arg(NumberText(sheets.MarkerCount()), NumberText(sheets.SheetCount()));
}

QString CWireListDlg::StatusText() const
{
    return m_status->text();
}

void CWireListDlg::DrawFirstSheet()
{
    const CPageFormat& format = m_template.m_format;
    const double dDotsPerMm = kPictureWidth / format.m_dPageWidth;
    QImage image(kPictureWidth, static_cast<int>(format.m_dPageHeight * dDotsPerMm), QImage::Format_RGB32);
    image.setDotsPerMeterX(static_cast<int>(dDotsPerMm * 1000));
    image.setDotsPerMeterY(static_cast<int>(dDotsPerMm * 1000));
    image.fill(Qt::white);
    CMarkerSheets sheets(m_template, m_markers, m_selectedOnly->isChecked());
    CSheet first = m_template;
    if (m_strCountProblem.isEmpty())
        sheets.NextSheet(first);
    QPainter painter(&image);
    PrintSheetPage(painter, first, PrintMode::Preview, {});
    painter.end();
    m_picture->setPixmap(QPixmap::fromImage(image));
}

CPrinterCalibration CWireListDlg::PrinterCalibration(const QPrinter& printer) const
{
    return CalibrationForPrinter(printer.printerName(), {m_nPageMoveX, m_nPageMoveY});
}

bool CWireListDlg::WithProgress(const QString& title, const CMarkerSheets& sheets,
                                const std::function<bool(const SheetProgress&)>& job)
{
    const std::size_t nToPrint = sheets.SheetsToPrint();
    if (nToPrint <= kQuietSheets)
        return job({});
    const std::size_t nSheets = sheets.SheetCount();
    QProgressDialog progress(title, QStringLiteral("取消"), 0, static_cast<int>(nToPrint), this);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(0);
    return job([&, nSheets](std::size_t nDone, std::size_t, std::size_t nSheet) {
        // Sheets are named by their number in the job, as the print dialog's
        // range names them.
        progress.setLabelText(
            QStringLiteral("%1：第 %2 页，共 %3 页").arg(title, NumberText(nSheet), NumberText(nSheets)));
        progress.setValue(static_cast<int>(nDone));
        QApplication::processEvents();
        return !progress.wasCanceled();
    });
}

void CWireListDlg::OnFill()
{
    std::vector<std::string> texts;
    const std::size_t nPositions = SelectedPositions(m_template).size();
    for (const CMarkerRun& run : m_markers)
        for (std::size_t i = 0; i < run.LabelCount() && texts.size() < nPositions; ++i)
            texts.emplace_back(run.LabelText(i));
    const std::size_t nFilled = m_applyToSelected(texts);
    m_status->setText(QStringLiteral("已填入本页 %1 个标签，还有 %2 个未填入。")
                          .arg(nFilled)
                          .arg(m_markers.Total() - std::min(nFilled, m_markers.Total())));
}

void CWireListDlg::OnPreview()
{
    QPrinter printer(QPrinter::HighResolution);
    CPrinterSettings::ConfigurePrinter(printer);
    UsePrintableAreaOrigin(printer);
    CMarkerSheets sheets(m_template, m_markers, m_selectedOnly->isChecked());
    CMarkerPreviewDlg preview(sheets, PrinterCalibration(printer), this);
    if (preview.exec() == QDialog::Accepted && preview.PrintChosen())
        OnPrint();
}

void CWireListDlg::OnPrint()
{
    QPrinter printer(QPrinter::HighResolution);
    CPrinterSettings::ConfigurePrinter(printer);
    printer.setDocName(m_pattern ? QStringLiteral("序列编号") : QFileInfo(m_path).fileName());
    CMarkerSheets sheets(m_template, m_markers, m_selectedOnly->isChecked());
    // The dialog knows the job's sheets, so that some of them can be printed
    // again (a sheet the printer jammed on).
    CLabelPrintDlg dialog(&printer, sheets.SheetCount(), this);
    if (dialog.exec() != QDialog::Accepted) {
        if (dialog.CalibrationChosen())
            PrintAndMeasureCalibrationPage(this, m_template.m_format, dialog.CalibrationQueue());
        return;
    }
    UsePrintableAreaOrigin(printer);
    sheets.SelectSheets(dialog.Sheets());
    const CPrinterCalibration calibration = PrinterCalibration(printer);
    const std::optional<bool> bShrinkCut = AskAboutClippedMarkers(sheets, printer, calibration, true);
    if (!bShrinkCut)
        return;
    if (PrintsToPdfFile(printer)) {
        QString error;
        SheetsPdfResult result = SheetsPdfResult::Written;
        WithProgress(QStringLiteral("正在打印"), sheets, [&](const SheetProgress& progress) {
            result = PrintMarkerSheetsToPdfFile(printer, sheets, calibration, error, progress, *bShrinkCut);
            return result != SheetsPdfResult::Cancelled;
        });
        if (result == SheetsPdfResult::Failed)
            AppMessageBox(this, QMessageBox::Warning, CannotWriteText(printer.outputFileName(), error));
        return;
    }
    QPainter painter;
    if (!painter.begin(&printer)) {
        AppMessageBox(this, QMessageBox::Warning, QStringLiteral("无法开始打印。"));
        return;
    }
    const bool bDone = WithProgress(QStringLiteral("正在打印"), sheets, [&](const SheetProgress& progress) {
        return PrintMarkerSheets(painter, printer, sheets, PrintMode::Labels, calibration, progress,
                                 *bShrinkCut);
    });
    if (!bDone)
        printer.abort();
    painter.end();
}

void CWireListDlg::OnExportPdf()
{
    const QString path = QFileDialog::getSaveFileName(
        this, QStringLiteral("导出 PDF"),
        (m_pattern ? QStringLiteral("序列编号") : QFileInfo(m_path).completeBaseName()) +
            QStringLiteral(".pdf"),
        QStringLiteral("PDF 文件 (*.pdf)"));
    if (path.isEmpty())
        return;
    CMarkerSheets sheets(m_template, m_markers, m_selectedOnly->isChecked());
    // A PDF is placed with the machine-wide offset, as --pdf places it.
    const CPrinterCalibration calibration{m_nPageMoveX, m_nPageMoveY};
    CPdfPageProbe page;
    const std::optional<bool> bShrinkCut = AskAboutClippedMarkers(sheets, page.Device(), calibration, false);
    if (!bShrinkCut)
        return;
    QString error;
    SheetsPdfResult result = SheetsPdfResult::Written;
    WithProgress(QStringLiteral("正在导出 PDF"), sheets, [&](const SheetProgress& progress) {
        result =
            ExportMarkerSheetsPdf(path, sheets, PrintMode::Labels, calibration, error, progress, *bShrinkCut);
        return result != SheetsPdfResult::Cancelled;
    });
    if (result == SheetsPdfResult::Failed)
        AppMessageBox(this, QMessageBox::Warning, CannotWriteText(path, error));
}

std::optional<bool> CWireListDlg::AskAboutClippedMarkers(const CMarkerSheets& sheets, QPaintDevice& device,
                                                         const CPrinterCalibration& calibration, bool bPrint)
{
    constexpr std::size_t kShown = 5;
    const CFitReport report = FindClippedMarkers(sheets, device, calibration, kShown);
    if (report.m_nClipped == 0)
        return false;
    QString text = QStringLiteral("有 %1 个线号在标签上放不下，会被截断：\n").arg(report.m_nClipped);
    for (const CClippedMarker& marker : report.m_first) {
        const QString where = marker.m_nRow ? QStringLiteral("第 %1 行").arg(marker.m_nRow)
                                            : QStringLiteral("第 %1 个标签").arg(marker.m_nLabel);
        QStringList lines;
        for (const std::string& line : SplitLabelLines(marker.m_strText))
            lines << FromUtf8(GbkToUtf8Lossy(line));
        text += QStringLiteral("\n%1“%2”（第 %3 页，第 %4 行第 %5 列）")
                    .arg(where, lines.join(QStringLiteral(" / ")))
                    .arg(marker.m_nSheet)
                    .arg(marker.m_position.m_nRow + 1)
                    .arg(marker.m_position.m_nColumn + 1);
    }
    if (report.m_nClipped > report.m_first.size())
        text += QStringLiteral("\n……另有 %1 个").arg(report.m_nClipped - report.m_first.size());
    QMessageBox box(QMessageBox::Warning, QString(), text, QMessageBox::NoButton, this);
    QPushButton* shrink = box.addButton(bPrint ? QStringLiteral("打印（自动缩小这些标签）")
                                               : QStringLiteral("导出（自动缩小这些标签）"),
                                        QMessageBox::AcceptRole);
    QPushButton* asTheyAre = box.addButton(bPrint ? QStringLiteral("仍然打印") : QStringLiteral("仍然导出"),
                                           QMessageBox::AcceptRole);
    box.addButton(QStringLiteral("取消"), QMessageBox::RejectRole);
    box.setDefaultButton(shrink);
    ExecAppMessageBox(box);
    if (box.clickedButton() == shrink)
        return true;
    if (box.clickedButton() == asTheyAre)
        return false;
    return std::nullopt;
}
