#include "sheets/CTemplatePane.h"

#include "sheets/SheetMessages.h"
#include "sheets/TemplateTableModel.h"
#include "text/DialogSupport.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QVBoxLayout>

namespace {

// Enough for most descriptions ("Rectangular Labels", "Address Labels").
constexpr int kDescriptionWidth = 200; // pixels

} // namespace

CTemplatePane::CTemplatePane(QWidget* parent) : QWidget(parent)
{
    m_editSearch = new QLineEdit(this);
    m_editSearch->setObjectName(QStringLiteral("editTemplateSearch"));
    m_editSearch->setPlaceholderText(
        QStringLiteral("品牌、型号、说明或标签尺寸，如 Avery 5160 或 45.7x21.2"));
    m_editSearch->setClearButtonEnabled(true);
    m_editSearch->installEventFilter(this);
    auto* searchLabel = new QLabel(QStringLiteral("搜索(&S)："), this);
    searchLabel->setBuddy(m_editSearch);

    m_model = new CTemplateTableModel(this);
    m_viewTemplates = new QTableView(this);
    m_viewTemplates->setObjectName(QStringLiteral("viewTemplates"));
    m_viewTemplates->setModel(m_model);
    m_viewTemplates->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_viewTemplates->setSelectionMode(QAbstractItemView::SingleSelection);
    m_viewTemplates->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_viewTemplates->setAlternatingRowColors(true);
    m_viewTemplates->setWordWrap(false);
    m_viewTemplates->verticalHeader()->hide();
    m_viewTemplates->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_viewTemplates->verticalHeader()->setDefaultSectionSize(m_viewTemplates->fontMetrics().height() + 6);
    m_viewTemplates->horizontalHeader()->setStretchLastSection(true);
    m_viewTemplates->horizontalHeader()->setHighlightSections(false);
    m_viewTemplates->setMinimumHeight(300);

    m_labelCount = new QLabel(this);
    m_labelCount->setObjectName(QStringLiteral("labelTemplateCount"));
    m_labelMissing = new QLabel(this);
    m_labelMissing->setObjectName(QStringLiteral("labelTemplatesMissing"));
    m_labelMissing->setWordWrap(true);
    m_labelMissing->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_labelMissing->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    m_labelMissing->setText(kMsgTemplatesMissing);
    m_labelMissing->hide();

    m_btnUse = new QPushButton(QStringLiteral("保存到类型库(&K)..."), this);
    m_btnUse->setObjectName(QStringLiteral("btnUseTemplate"));
    m_btnUse->setAutoDefault(false);
    m_btnUse->setFixedHeight(DialogUnits(14));

    auto* search = new QHBoxLayout;
    search->addWidget(searchLabel);
    search->addWidget(m_editSearch, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_labelCount, 1);
    bottom->addWidget(m_btnUse);
    // Flush with the dialog's margins, as the library's list is.
    auto* top = new QVBoxLayout(this);
    top->setContentsMargins(0, DialogUnits(4), 0, 0);
    top->addLayout(search);
    top->addWidget(m_viewTemplates, 1);
    top->addWidget(m_labelMissing, 1);
    top->addLayout(bottom);

    connect(m_editSearch, &QLineEdit::textChanged, this, &CTemplatePane::OnSearch);
    connect(m_viewTemplates, &QAbstractItemView::activated, this, &CTemplatePane::OnChoose);
    connect(m_btnUse, &QPushButton::clicked, this, &CTemplatePane::OnChoose);
    connect(m_viewTemplates->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &CTemplatePane::UpdateState);
    setFocusProxy(m_editSearch);
}

void CTemplatePane::Load()
{
    m_collection =
        std::make_shared<const CTemplateCollection>(ReadTemplateCollection(DefaultTemplateSources()));
    m_model->SetCollection(m_collection);
    const bool bFound = !m_collection->m_templates.empty();
    m_viewTemplates->setVisible(bFound);
    m_editSearch->setEnabled(bFound);
    m_labelMissing->setVisible(!bFound);
    if (bFound) {
        m_viewTemplates->resizeColumnsToContents();
        // Wide enough for every column but the description, which gets what
        // is left; the dialog grows to it when the page is first shown.
        QHeaderView* header = m_viewTemplates->horizontalHeader();
        int nWidth =
            2 * m_viewTemplates->frameWidth() + m_viewTemplates->verticalScrollBar()->sizeHint().width();
        for (int column = 0; column < CTemplateTableModel::ColDescription; ++column)
            nWidth += header->sectionSize(column);
        header->resizeSection(CTemplateTableModel::ColDescription, kDescriptionWidth);
        m_viewTemplates->setMinimumWidth(nWidth + kDescriptionWidth);
        OnSearch();
    } else {
        UpdateState();
    }
}

const CLabelTemplate* CTemplatePane::CurrentTemplate() const
{
    const QModelIndexList rows = m_viewTemplates->selectionModel()->selectedRows();
    return rows.isEmpty() ? nullptr : m_model->Template(rows.front().row());
}

void CTemplatePane::OnSearch()
{
    m_model->Search(m_editSearch->text());
    if (m_model->rowCount() > 0)
        m_viewTemplates->selectRow(0);
    UpdateState();
}

void CTemplatePane::OnChoose()
{
    if (const CLabelTemplate* label = CurrentTemplate())
        Q_EMIT templateChosen(*label);
}

void CTemplatePane::UpdateState()
{
    m_btnUse->setEnabled(CurrentTemplate() != nullptr);
    if (!m_collection || m_collection->m_templates.empty()) {
        m_labelCount->clear();
        return;
    }
    QString strCount =
        QStringLiteral("找到 %1 种，共 %2 种").arg(m_model->rowCount()).arg(m_collection->m_templates.size());
    if (!m_collection->m_leftOut.empty())
        strCount +=
            QStringLiteral("（另有 %1 种的形状、布局或尺寸不适用）").arg(m_collection->m_leftOut.size());
    if (m_collection->m_nFilesNotRead)
        strCount += kMsgTemplateFilesNotRead.arg(kMaxTemplateFiles).arg(m_collection->m_nFilesNotRead);
    if (m_collection->m_bTemplatesCut)
        strCount += kMsgTemplatesCut.arg(kMaxTemplates);
    QStringList problems;
    for (const CTemplateFileProblem& problem : m_collection->m_problems)
        problems << QString::fromStdString(problem.m_strPath);
    if (!problems.isEmpty())
        strCount += QStringLiteral("；%1 个文件有错误").arg(problems.size());
    m_labelCount->setText(strCount);
    m_labelCount->setToolTip(problems.join(QLatin1Char('\n')));
}

bool CTemplatePane::eventFilter(QObject* watched, QEvent* event)
{
    // From the search box, the arrow keys move through the list and Enter
    // chooses, so the keyboard never has to leave the search.
    if (watched == m_editSearch && event->type() == QEvent::KeyPress) {
        const int nKey = static_cast<QKeyEvent*>(event)->key();
        if (nKey == Qt::Key_Down || nKey == Qt::Key_Up || nKey == Qt::Key_PageDown ||
            nKey == Qt::Key_PageUp) {
            QKeyEvent copy(QEvent::KeyPress, nKey, Qt::NoModifier);
            QCoreApplication::sendEvent(m_viewTemplates, &copy);
            return true;
        }
        if (nKey == Qt::Key_Return || nKey == Qt::Key_Enter) {
            OnChoose();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
