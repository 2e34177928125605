#include "wirelist/WireTableModel.h"

#include "wirelist/WireMarkers.h"

#include <algorithm>

namespace {

// Characters of a cell shown; the rest of a longer cell is left out.
constexpr std::size_t kShownCellBytes = 1000;

} // namespace

QString ColumnName(std::size_t nColumn)
{
    return QString::fromStdString(ColumnLetters(nColumn));
}

void CWireTableModel::SetTable(const CWireTable* pTable)
{
    beginResetModel();
    m_pTable = pTable;
    endResetModel();
}

std::size_t CWireTableModel::HiddenColumns() const
{
    return m_pTable ? m_pTable->ColumnCount() - std::min(m_pTable->ColumnCount(), kShownColumns) : 0;
}

int CWireTableModel::rowCount(const QModelIndex& parent) const
{
    return m_pTable && !parent.isValid() ? static_cast<int>(std::min(m_pTable->RowCount(), kShownRows)) : 0;
}

int CWireTableModel::columnCount(const QModelIndex& parent) const
{
    return m_pTable && !parent.isValid() ? static_cast<int>(std::min(m_pTable->ColumnCount(), kShownColumns))
                                         : 0;
}

QVariant CWireTableModel::data(const QModelIndex& index, int nRole) const
{
    if (!m_pTable || !index.isValid() || nRole != Qt::DisplayRole)
        return {};
    std::string_view cell =
        m_pTable->Cell(static_cast<std::size_t>(index.row()), static_cast<std::size_t>(index.column()));
    const bool bCut = cell.size() > kShownCellBytes;
    if (bCut) {
        cell = cell.substr(0, kShownCellBytes);
        // Leave out a character cut in two: find where the last one starts.
        std::size_t nLead = cell.size();
        while (nLead > 0 && (static_cast<unsigned char>(cell[nLead - 1]) & 0xC0) == 0x80)
            --nLead;
        if (nLead > 0) {
            const auto lead = static_cast<unsigned char>(cell[nLead - 1]);
            const std::size_t nLength = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
            if (cell.size() - (nLead - 1) < nLength)
                cell = cell.substr(0, nLead - 1);
        }
    }
    QString text = QString::fromUtf8(cell.data(), static_cast<qsizetype>(cell.size()));
    if (bCut)
        text += QChar(0x2026);
    return text;
}

QVariant CWireTableModel::headerData(int nSection, Qt::Orientation orientation, int nRole) const
{
    if (nRole != Qt::DisplayRole || nSection < 0)
        return {};
    if (orientation == Qt::Horizontal)
        return ColumnName(static_cast<std::size_t>(nSection));
    return nSection + 1;
}
