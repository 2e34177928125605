#include "sheets/TemplateTableModel.h"

#include "sheets/SheetMessages.h"

CTemplateTableModel::CTemplateTableModel(QObject* parent) : QAbstractTableModel(parent)
{}

void CTemplateTableModel::SetCollection(std::shared_ptr<const CTemplateCollection> collection)
{
    beginResetModel();
    m_collection = std::move(collection);
    m_rows.clear();
    if (m_collection)
        m_rows = SearchTemplates(m_collection->m_templates, {});
    endResetModel();
}

void CTemplateTableModel::Search(const QString& query)
{
    if (!m_collection)
        return;
    beginResetModel();
    m_rows = SearchTemplates(m_collection->m_templates, query.toStdString());
    endResetModel();
}

const CLabelTemplate* CTemplateTableModel::Template(int row) const
{
    if (row < 0 || static_cast<std::size_t>(row) >= m_rows.size())
        return nullptr;
    return &m_collection->m_templates[m_rows[static_cast<std::size_t>(row)]];
}

int CTemplateTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int CTemplateTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant CTemplateTableModel::data(const QModelIndex& index, int role) const
{
    const CLabelTemplate* label = Template(index.row());
    if (!label)
        return {};
    const CPageFormat& f = label->m_format;
    if (role == Qt::ToolTipRole && label->m_strAliasOf.empty())
        return QString::fromStdString(label->m_strDescription);
    if (role == Qt::ToolTipRole)
        return QStringLiteral("%1（与 %2 相同）")
            .arg(QString::fromStdString(label->m_strDescription),
                 QString::fromStdString(label->m_strAliasOf));
    if (role != Qt::DisplayRole)
        return {};
    switch (index.column()) {
    case ColBrand:
        return QString::fromStdString(label->m_strBrand);
    case ColPart:
        return QString::fromStdString(label->m_strPart);
    case ColSize:
        return QStringLiteral("%1 × %2").arg(MillimetreText(f.m_dLabelWidth),
                                             MillimetreText(f.m_dLabelHeight));
    case ColGrid:
        return QStringLiteral("%1 × %2").arg(f.m_nColumns).arg(f.m_nRows);
    case ColPaper:
        if (!label->m_strPaper.empty())
            return QString::fromStdString(label->m_strPaper);
        return QStringLiteral("%1 × %2").arg(MillimetreText(f.m_dPageWidth), MillimetreText(f.m_dPageHeight));
    case ColDescription:
        return QString::fromStdString(label->m_strDescription);
    default:
        return {};
    }
}

QVariant CTemplateTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    static const QString kHeaders[ColumnCount] = {
        QStringLiteral("品牌"),    QStringLiteral("型号"), QStringLiteral("标签尺寸 (mm)"),
        QStringLiteral("列 × 行"), QStringLiteral("纸张"), QStringLiteral("说明"),
    };
    return section >= 0 && section < ColumnCount ? kHeaders[section] : QVariant();
}
