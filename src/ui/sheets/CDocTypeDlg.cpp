#include "sheets/CDocTypeDlg.h"

#include "base/AppMessageBox.h"
#include "base/SystemErrorText.h"
#include "model/Gbk.h"
#include "model/SettingsDir.h"
#include "sheets/CPageSetupDlg.h"
#include "sheets/CTemplatePane.h"
#include "sheets/SheetMessages.h"
#include "sheets/SheetTypeExchange.h"
#include "text/DialogSupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QItemSelection>
#include <QItemSelectionModel>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <cerrno>
#include <memory>
#include <string>
#include <unordered_set>

namespace {

QString LibraryPathText()
{
    return QString::fromStdString(SettingsFilePath(kTypeListFileName).value_or(kTypeListFileName));
}

// "210 × 297 mm，7 × 20 个 19 × 8.65 mm 的标签，边距 左 12 右 12 上 12 下 12 mm",
// to tell two formats apart.
QString DescribeFormat(const CPageFormat& f)
{
    return QStringLiteral("%1 × %2 mm，%3 × %4 个 %5 × %6 mm 的标签，边距 左 %7 右 %8 上 %9 下 %10 mm")
        .arg(MillimetreText(f.m_dPageWidth), MillimetreText(f.m_dPageHeight))
        .arg(f.m_nColumns)
        .arg(f.m_nRows)
        .arg(MillimetreText(f.m_dLabelWidth), MillimetreText(f.m_dLabelHeight),
             MillimetreText(f.m_dLeftMargin), MillimetreText(f.m_dRightMargin),
             MillimetreText(f.m_dTopMargin), MillimetreText(f.m_dBottomMargin));
}

QString TypeFileFaultText(const CTypeFileRead& read)
{
    switch (read.m_fault) {
    case TypeFileFault::NoEntries:
        return kMsgTypeFileNoEntries;
    case TypeFileFault::CutShort:
        return kMsgTypeFileCutShort.arg(read.m_nEntry);
    case TypeFileFault::Unusable:
        return kMsgTypeFileUnusable.arg(read.m_nEntry);
    case TypeFileFault::BytesAfterEnd:
        return kMsgTypeFileBytesAfterEnd;
    case TypeFileFault::None:
        break;
    }
    return {};
}

// Asks what to do about each clash of names; "对其余同名的页面类型也这样做"
// answers the clashes still to come alike.
class CClashQuestion
{
public:
    explicit CClashQuestion(QWidget* parent) : m_parent(parent) {}

    std::optional<ClashAnswer> operator()(const CSheetType& existing, const CSheetType& incoming)
    {
        if (m_remembered)
            return m_remembered;
        QMessageBox box(QMessageBox::Question, kAppName,
                        kMsgTypeNameClash.arg(QString::fromStdString(GbkToUtf8Lossy(incoming.m_strName))),
                        QMessageBox::NoButton, m_parent);
        box.setInformativeText(
            kMsgTypeClashDetails.arg(DescribeFormat(existing.m_format), DescribeFormat(incoming.m_format)));
        QPushButton* replace = box.addButton(QStringLiteral("替换(&R)"), QMessageBox::AcceptRole);
        QPushButton* keepBoth = box.addButton(QStringLiteral("保留两者(&B)"), QMessageBox::AcceptRole);
        QPushButton* skip = box.addButton(QStringLiteral("跳过(&S)"), QMessageBox::AcceptRole);
        QPushButton* cancel = box.addButton(QStringLiteral("取消导入"), QMessageBox::RejectRole);
        replace->setObjectName(QStringLiteral("btnReplace"));
        keepBoth->setObjectName(QStringLiteral("btnKeepBoth"));
        skip->setObjectName(QStringLiteral("btnSkip"));
        cancel->setObjectName(QStringLiteral("btnCancelImport"));
        box.setDefaultButton(skip);
        box.setEscapeButton(cancel);
        auto* forAll = new QCheckBox(QStringLiteral("对其余同名的页面类型也这样做(&A)"), &box);
        forAll->setObjectName(QStringLiteral("checkForAll"));
        box.setCheckBox(forAll);
        ExecAppMessageBox(box);
        std::optional<ClashAnswer> answer;
        if (box.clickedButton() == replace)
            answer = ClashAnswer::Replace;
        else if (box.clickedButton() == keepBoth)
            answer = ClashAnswer::KeepBoth;
        else if (box.clickedButton() == skip)
            answer = ClashAnswer::Skip;
        if (answer && forAll->isChecked())
            m_remembered = answer;
        return answer;
    }

private:
    QWidget* m_parent;
    std::optional<ClashAnswer> m_remembered;
};

std::unique_ptr<QFileDialog> TypeFileDialog(QWidget* parent, const QString& strTitle,
                                            QFileDialog::AcceptMode mode)
{
    auto dlg = std::make_unique<QFileDialog>(parent, strTitle, QDir::homePath());
    dlg->setAcceptMode(mode);
    dlg->setNameFilters({QStringLiteral("页面类型 (*.lps)"), QStringLiteral("所有文件 (*)")});
    if (mode == QFileDialog::AcceptSave) {
        dlg->setFileMode(QFileDialog::AnyFile);
        dlg->setDefaultSuffix(QStringLiteral("lps"));
    } else {
        dlg->setFileMode(QFileDialog::ExistingFile);
    }
    return dlg;
}

} // namespace

CDocTypeDlg::CDocTypeDlg(QWidget* parent) : QDialog(parent)
{
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    setWindowTitle(QStringLiteral("选择文档类型"));
    setFont(DialogFont());

    // The two sources as pages without a frame, so that the library's list
    // sits where the dialog's template puts it.
    m_tabsSource = new QTabWidget(this);
    m_tabsSource->setObjectName(QStringLiteral("tabsSource"));
    m_tabsSource->setDocumentMode(true);
    m_listTypes = new QListWidget(m_tabsSource);
    m_listTypes->setObjectName(QStringLiteral("listTypes"));
    // Several entries may be selected to be exported or deleted together.
    m_listTypes->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_listTypes->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_paneTemplates = new CTemplatePane(m_tabsSource);
    m_paneTemplates->setObjectName(QStringLiteral("paneTemplates"));
    m_tabsSource->addTab(m_listTypes, QStringLiteral("类型库(&L)"));
    m_tabsSource->addTab(m_paneTemplates, QStringLiteral("模板集(&T)"));

    const auto button = [this](const QString& text, const char* name) {
        auto* btn = new QPushButton(text, this);
        btn->setObjectName(QString::fromLatin1(name));
        btn->setAutoDefault(false);
        btn->setFixedSize(DialogSize(50, 14));
        return btn;
    };
    m_btnAdd = button(QStringLiteral("添加"), "btnAdd");
    m_btnEdit = button(QStringLiteral("编辑"), "btnEdit");
    m_btnDelete = button(QStringLiteral("删除"), "btnDelete");
    m_btnExport = button(QStringLiteral("导出(&E)..."), "btnExport");
    m_btnExport->setToolTip(QStringLiteral("把选中的页面类型保存到一个文件"));
    m_btnImport = button(QStringLiteral("导入(&I)..."), "btnImport");
    m_btnImport->setToolTip(QStringLiteral("把一个文件中的页面类型加入类型库"));
    const auto [btnOK, btnCancel] = MakeOkCancelButtons(this);
    m_btnOK = btnOK;
    m_btnOK->setObjectName(QStringLiteral("btnOK"));
    m_btnCancel = btnCancel;
    m_btnCancel->setObjectName(QStringLiteral("btnCancel"));

    // In dialog units: the list at 7, 21, 142 × 127 (the tabs above it);
    // buttons of 50 × 14 at x = 166: 添加, 编辑 and 删除 at y = 22, 44 and
    // 65, 确定 and 取消 at 117 and 134; 导出 and 导入 share the gap between
    // 删除 and 确定 evenly.
    constexpr int kButtonHeight = 14;
    const int nTabsHeight = m_tabsSource->tabBar()->sizeHint().height();
    auto* left = new QVBoxLayout;
    left->setSpacing(0);
    left->addSpacing(std::max(0, DialogUnits(21) - nTabsHeight));
    left->addWidget(m_tabsSource, 1);

    const int nSpareGap = DialogSpan(65, 117) - 3 * DialogUnits(kButtonHeight);
    auto* right = new QVBoxLayout;
    right->setSpacing(0);
    right->addSpacing(DialogUnits(22));
    right->addWidget(m_btnAdd);
    right->addSpacing(DialogSpan(22, 44) - DialogUnits(kButtonHeight));
    right->addWidget(m_btnEdit);
    right->addSpacing(DialogSpan(44, 65) - DialogUnits(kButtonHeight));
    right->addWidget(m_btnDelete);
    right->addSpacing(nSpareGap / 3);
    right->addWidget(m_btnExport);
    right->addSpacing(nSpareGap / 3);
    right->addWidget(m_btnImport);
    right->addSpacing(nSpareGap - 2 * (nSpareGap / 3));
    right->addStretch();
    right->addWidget(m_btnOK);
    right->addSpacing(DialogSpan(117, 134) - DialogUnits(kButtonHeight));
    right->addWidget(m_btnCancel);

    // 223 × 155 units when it opens; it may be made larger.
    auto* top = new QHBoxLayout(this);
    top->setContentsMargins(DialogUnits(7), 0, DialogSpan(166, 223) - DialogUnits(50),
                            DialogSpan(134, 155) - DialogUnits(kButtonHeight));
    top->setSpacing(0);
    top->addLayout(left, 1);
    top->addSpacing(DialogSpan(7, 166) - DialogUnits(142));
    top->addLayout(right);

    setTabOrder(m_listTypes, m_btnAdd);
    setTabOrder(m_btnAdd, m_btnEdit);
    setTabOrder(m_btnEdit, m_btnDelete);
    setTabOrder(m_btnDelete, m_btnExport);
    setTabOrder(m_btnExport, m_btnImport);
    setTabOrder(m_btnImport, m_btnOK);
    setTabOrder(m_btnOK, m_btnCancel);

    connect(m_listTypes, &QListWidget::itemSelectionChanged, this, &CDocTypeDlg::UpdateButtons);
    connect(m_listTypes, &QListWidget::itemDoubleClicked, this, &CDocTypeDlg::OnDblclkTypeList);
    connect(m_btnAdd, &QPushButton::clicked, this, &CDocTypeDlg::OnAddType);
    connect(m_btnEdit, &QPushButton::clicked, this, &CDocTypeDlg::OnEditType);
    connect(m_btnDelete, &QPushButton::clicked, this, &CDocTypeDlg::OnDeleteType);
    connect(m_btnExport, &QPushButton::clicked, this, &CDocTypeDlg::OnExportTypes);
    connect(m_btnImport, &QPushButton::clicked, this, &CDocTypeDlg::OnImportTypes);
    connect(m_tabsSource, &QTabWidget::currentChanged, this, &CDocTypeDlg::OnSourceChanged);
    connect(m_paneTemplates, &CTemplatePane::templateChosen, this, &CDocTypeDlg::OnUseTemplate);
}

int CDocTypeDlg::exec()
{
    OnInitDialog();
    // Each opening shows the library at the dialog's own size.
    layout()->activate();
    resize(minimumSizeHint());
    // Without a parent the dialog opens centred over the window the user is in.
    if (!parentWidget()) {
        if (const QWidget* active = QApplication::activeWindow())
            move(active->frameGeometry().center() - rect().center());
    }
    const int nResult = QDialog::exec();
    OnDestroy();
    return nResult;
}

void CDocTypeDlg::OnInitDialog()
{
    m_types.clear();
    m_listTypes->clear();
    const int nLoadError = LoadTypeList(m_types);
    // A missing library is a first start; any other failure leaves the
    // user's file as it is, and the presets serve this opening only.
    m_bWriteBack = nLoadError == 0 || nLoadError == ENOENT;
    if (!m_bWriteBack)
        ShowSheetWarning(parentWidget(),
                         kMsgLibraryNotRead.arg(LibraryPathText(), SystemErrorText(nLoadError)));
    if (m_types.empty())
        m_types = PresetTypes();
    ShowTypes();
    m_listTypes->setCurrentRow(-1);
    // Each opening starts with the library; the collection is read when it
    // is first looked at, so a collection installed since is found.
    m_bTemplatesRead = false;
    m_tabsSource->setCurrentIndex(0);
    SizeToShownSource();
    Select(FindTypeByPrefix(m_types, m_strName));
    m_listTypes->setFocus();
}

void CDocTypeDlg::ShowTypes()
{
    m_listTypes->clear();
    QStringList names;
    names.reserve(static_cast<qsizetype>(m_types.size()));
    for (const CSheetType& type : m_types)
        names << QString::fromStdString(GbkToUtf8Lossy(type.m_strName));
    m_listTypes->addItems(names);
}

void CDocTypeDlg::OnDestroy()
{
    if (m_bWriteBack) {
        if (const int nError = SaveTypeList(m_types))
            ShowSheetWarning(parentWidget(),
                             kMsgLibraryNotSaved.arg(LibraryPathText(), SystemErrorText(nError)));
    }
    m_types.clear();
    m_listTypes->clear();
}

std::vector<int> CDocTypeDlg::SelectedRows() const
{
    std::vector<int> rows;
    for (const QListWidgetItem* item : m_listTypes->selectedItems())
        rows.push_back(m_listTypes->row(item));
    std::sort(rows.begin(), rows.end());
    return rows;
}

int CDocTypeDlg::SelectedIndex() const
{
    const std::vector<int> rows = SelectedRows();
    return rows.size() == 1 ? rows.front() : -1;
}

void CDocTypeDlg::Select(int nIndex)
{
    if (nIndex < 0) {
        m_listTypes->clearSelection();
    } else {
        m_listTypes->setCurrentRow(nIndex, QItemSelectionModel::ClearAndSelect);
        m_listTypes->scrollToItem(m_listTypes->item(nIndex));
    }
    UpdateButtons();
}

void CDocTypeDlg::UpdateButtons()
{
    // The library's buttons act on the library's selection, which is seen
    // only on its page.
    const bool bLibrary = m_tabsSource->currentIndex() == 0;
    const bool bOne = bLibrary && SelectedIndex() >= 0;
    const bool bAny = bLibrary && !SelectedRows().empty();
    m_btnOK->setEnabled(bOne);
    m_btnEdit->setEnabled(bOne);
    m_btnDelete->setEnabled(bAny);
    m_btnExport->setEnabled(bAny);
}

void CDocTypeDlg::SizeToShownSource()
{
    // The library's list is 142 × 127 units at least, below the tabs; the
    // collection's page is as large as its own list needs.
    const bool bLibrary = m_tabsSource->currentIndex() == 0;
    m_tabsSource->setMinimumSize(
        bLibrary ? DialogSize(142, 127) + QSize(0, m_tabsSource->tabBar()->sizeHint().height()) : QSize());
}

void CDocTypeDlg::OnSourceChanged()
{
    SizeToShownSource();
    if (m_tabsSource->currentIndex() == 1) {
        if (!m_bTemplatesRead) {
            QApplication::setOverrideCursor(Qt::WaitCursor);
            m_paneTemplates->Load();
            QApplication::restoreOverrideCursor();
            m_bTemplatesRead = true;
        }
        // The collection's list is larger than the library's: grow about
        // the centre.
        const QPoint centre = geometry().center();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        resize(size().expandedTo(minimumSizeHint()));
        move(pos() + centre - geometry().center());
        m_paneTemplates->setFocus();
    } else {
        m_listTypes->setFocus();
    }
    UpdateButtons();
}

void CDocTypeDlg::OnUseTemplate(const CLabelTemplate& label)
{
    CPageSetupDlg dlg(this);
    dlg.m_strTitleSuffix = QStringLiteral(" - 添加");
    // Brand and part as the name, for the user to keep or change.
    dlg.m_strName = Utf8ToGbk(label.m_strBrand + ' ' + label.m_strPart).value_or(std::string());
    dlg.m_format = label.m_format;
    if (dlg.exec() != QDialog::Accepted)
        return;
    m_tabsSource->setCurrentIndex(0);
    InsertType({dlg.m_strName, dlg.m_format});
}

void CDocTypeDlg::InsertType(CSheetType type)
{
    const QString strText = QString::fromStdString(GbkToUtf8Lossy(type.m_strName));
    const auto nIndex = static_cast<int>(InsertSorted(m_types, std::move(type)));
    m_listTypes->insertItem(nIndex, strText);
    Select(nIndex);
}

void CDocTypeDlg::OnAddType()
{
    CPageSetupDlg dlg(this);
    dlg.m_strTitleSuffix = QStringLiteral(" - 添加");
    if (dlg.exec() != QDialog::Accepted)
        return;
    InsertType({dlg.m_strName, dlg.m_format});
}

void CDocTypeDlg::OnEditType()
{
    const int nIndex = SelectedIndex();
    if (nIndex < 0)
        return;
    CPageSetupDlg dlg(this);
    dlg.m_strTitleSuffix = QStringLiteral(" - 修改");
    dlg.m_strName = m_types[nIndex].m_strName;
    m_types[nIndex].m_format.CopyTo(dlg.m_format);
    if (dlg.exec() != QDialog::Accepted)
        return;
    // Taken out and put back, so that a new name moves it to its sorted place.
    m_types.erase(m_types.begin() + nIndex);
    delete m_listTypes->takeItem(nIndex);
    InsertType({dlg.m_strName, dlg.m_format});
}

void CDocTypeDlg::OnDeleteType()
{
    const std::vector<int> rows = SelectedRows();
    if (rows.empty())
        return;
    for (auto row = rows.rbegin(); row != rows.rend(); ++row) {
        m_types.erase(m_types.begin() + *row);
        delete m_listTypes->takeItem(*row);
    }
    Select(-1);
}

void CDocTypeDlg::OnExportTypes()
{
    const std::vector<int> rows = SelectedRows();
    if (rows.empty())
        return;
    CSheetTypeList chosen;
    for (const int row : rows)
        chosen.push_back(m_types[static_cast<std::size_t>(row)]);
    const auto dlg = TypeFileDialog(this, QStringLiteral("导出页面类型"), QFileDialog::AcceptSave);
    if (rows.size() == 1)
        dlg->selectFile(QString::fromStdString(GbkToUtf8Lossy(chosen.front().m_strName))
                            .replace(QLatin1Char('/'), QLatin1Char('-')) +
                        QStringLiteral(".lps"));
    if (dlg->exec() != QDialog::Accepted || dlg->selectedFiles().isEmpty())
        return;
    const QString strPath = dlg->selectedFiles().front();
    if (const int nError = WriteTypeListFile(strPath.toStdString(), chosen))
        ShowSheetWarning(this, kMsgTypesNotExported.arg(strPath, SystemErrorText(nError)));
}

void CDocTypeDlg::OnImportTypes()
{
    const auto dlg = TypeFileDialog(this, QStringLiteral("导入页面类型"), QFileDialog::AcceptOpen);
    if (dlg->exec() != QDialog::Accepted || dlg->selectedFiles().isEmpty())
        return;
    const QString strPath = dlg->selectedFiles().front();
    const CTypeFileRead read = ReadTypeFile(strPath.toStdString());
    if (read.m_nError) {
        ShowSheetWarning(this, kMsgTypeFileNotRead.arg(strPath, SystemErrorText(read.m_nError)));
        return;
    }
    if (read.m_fault != TypeFileFault::None) {
        ShowSheetWarning(this, kMsgNotATypeFile.arg(strPath, TypeFileFaultText(read)));
        return;
    }
    m_tabsSource->setCurrentIndex(0);
    const CTypeMerge merge = MergeTypes(m_types, read.m_types, CClashQuestion(this));
    if (merge.m_bCancelled)
        return;
    ShowTypes();
    // The entries imported are selected in one change of the selection: one
    // per entry would recompute the buttons from the whole selection each
    // time.
    const std::unordered_set<std::string> imported(merge.m_names.begin(), merge.m_names.end());
    QItemSelection selection;
    for (int nRow = 0; nRow < static_cast<int>(m_types.size());) {
        if (!imported.contains(m_types[static_cast<std::size_t>(nRow)].m_strName)) {
            ++nRow;
            continue;
        }
        const int nFirst = nRow;
        while (nRow < static_cast<int>(m_types.size()) &&
               imported.contains(m_types[static_cast<std::size_t>(nRow)].m_strName))
            ++nRow;
        selection.select(m_listTypes->model()->index(nFirst, 0), m_listTypes->model()->index(nRow - 1, 0));
    }
    m_listTypes->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    UpdateButtons();
    QStringList details;
    if (merge.m_nReplaced)
        details << QStringLiteral("替换了 %1 个同名的").arg(merge.m_nReplaced);
    if (merge.m_nSkipped)
        details << QStringLiteral("跳过 %1 个同名的").arg(merge.m_nSkipped);
    if (merge.m_nAlreadyThere)
        details << QStringLiteral("%1 个库中已有").arg(merge.m_nAlreadyThere);
    const QString strDetails =
        details.isEmpty() ? QString() : QStringLiteral("（%1）").arg(details.join(QStringLiteral("，")));
    AppMessageBox(this, QMessageBox::Information,
                  kMsgTypesImported.arg(merge.m_nAdded + merge.m_nReplaced).arg(strDetails));
}

void CDocTypeDlg::OnDblclkTypeList()
{
    accept();
}

void CDocTypeDlg::accept()
{
    // A double click can come with nothing selected, in an empty list for
    // instance; such a confirmation is ignored.
    const int nIndex = SelectedIndex();
    if (nIndex < 0)
        return;
    m_strName = m_types[nIndex].m_strName;
    m_types[nIndex].m_format.CopyTo(m_format);
    QDialog::accept();
}
