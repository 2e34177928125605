#include "sheets/CDocTypeDlg.h"

#include "base/SystemErrorText.h"
#include "model/Gbk.h"
#include "model/SettingsDir.h"
#include "sheets/CPageSetupDlg.h"
#include "sheets/SheetMessages.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include <cerrno>

namespace {

QString LibraryPathText()
{
    return QString::fromStdString(SettingsFilePath(kTypeListFileName).value_or(kTypeListFileName));
}

} // namespace

CDocTypeDlg::CDocTypeDlg(QWidget* parent) : QDialog(parent)
{
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    setWindowTitle(QStringLiteral("选择文档类型"));

    m_listTypes = new QListWidget(this);
    m_listTypes->setObjectName(QStringLiteral("listTypes"));
    m_listTypes->setSelectionMode(QAbstractItemView::SingleSelection);
    m_listTypes->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_listTypes->setMinimumSize(213, 190); // 142 × 127 dialog units

    const auto button = [this](const QString& text, const char* name) {
        auto* btn = new QPushButton(text, this);
        btn->setObjectName(QString::fromLatin1(name));
        btn->setAutoDefault(false);
        return btn;
    };
    m_btnAdd = button(QStringLiteral("添加"), "btnAdd");
    m_btnEdit = button(QStringLiteral("编辑"), "btnEdit");
    m_btnDelete = button(QStringLiteral("删除"), "btnDelete");
    m_btnOK = button(QStringLiteral("确定"), "btnOK");
    m_btnCancel = button(QStringLiteral("取消"), "btnCancel");
    m_btnOK->setDefault(true);

    auto* typeLabel = new QLabel(QStringLiteral("类型："), this);
    typeLabel->setBuddy(m_listTypes);
    auto* left = new QVBoxLayout;
    left->addWidget(typeLabel);
    left->addWidget(m_listTypes, 1);

    auto* right = new QVBoxLayout;
    right->addSpacing(typeLabel->sizeHint().height());
    right->addWidget(m_btnAdd);
    right->addWidget(m_btnEdit);
    right->addWidget(m_btnDelete);
    right->addStretch();
    right->addWidget(m_btnOK);
    right->addWidget(m_btnCancel);

    auto* top = new QHBoxLayout(this);
    top->addLayout(left, 1);
    top->addSpacing(12);
    top->addLayout(right);

    setTabOrder(m_listTypes, m_btnAdd);
    setTabOrder(m_btnAdd, m_btnEdit);
    setTabOrder(m_btnEdit, m_btnDelete);
    setTabOrder(m_btnDelete, m_btnOK);
    setTabOrder(m_btnOK, m_btnCancel);

    connect(m_listTypes, &QListWidget::itemSelectionChanged, this, &CDocTypeDlg::UpdateButtons);
    connect(m_listTypes, &QListWidget::itemDoubleClicked, this, &CDocTypeDlg::OnDblclkTypeList);
    connect(m_btnAdd, &QPushButton::clicked, this, &CDocTypeDlg::OnAddType);
    connect(m_btnEdit, &QPushButton::clicked, this, &CDocTypeDlg::OnEditType);
    connect(m_btnDelete, &QPushButton::clicked, this, &CDocTypeDlg::OnDeleteType);
    connect(m_btnOK, &QPushButton::clicked, this, &CDocTypeDlg::accept);
    connect(m_btnCancel, &QPushButton::clicked, this, &CDocTypeDlg::reject);
}

int CDocTypeDlg::exec()
{
    OnInitDialog();
    // Without a parent the dialog opens centred over the window the user is in.
    if (!parentWidget()) {
        if (const QWidget* active = QApplication::activeWindow()) {
            adjustSize();
            move(active->frameGeometry().center() - rect().center());
        }
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
    for (const CSheetType& type : m_types)
        m_listTypes->addItem(QString::fromStdString(GbkToUtf8Lossy(type.m_strName)));
    m_listTypes->setCurrentRow(-1);
    Select(FindTypeByPrefix(m_types, m_strName));
    m_listTypes->setFocus();
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

int CDocTypeDlg::SelectedIndex() const
{
    const QList<QListWidgetItem*> selected = m_listTypes->selectedItems();
    return selected.isEmpty() ? -1 : m_listTypes->row(selected.front());
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
    const bool bSelected = SelectedIndex() >= 0;
    m_btnOK->setEnabled(bSelected);
    m_btnEdit->setEnabled(bSelected);
    m_btnDelete->setEnabled(bSelected);
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
    if (dlg.DoModal() != QDialog::Accepted)
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
    if (dlg.DoModal() != QDialog::Accepted)
        return;
    // Taken out and put back, so that a new name moves it to its sorted place.
    m_types.erase(m_types.begin() + nIndex);
    delete m_listTypes->takeItem(nIndex);
    InsertType({dlg.m_strName, dlg.m_format});
}

void CDocTypeDlg::OnDeleteType()
{
    const int nIndex = SelectedIndex();
    if (nIndex < 0)
        return;
    m_types.erase(m_types.begin() + nIndex);
    delete m_listTypes->takeItem(nIndex);
    Select(-1);
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
