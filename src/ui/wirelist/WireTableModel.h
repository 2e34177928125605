#pragma once

#include "wirelist/WireTable.h"

#include <QAbstractTableModel>

// The first rows and columns of a wire list, for a person to look at: the
// view asks for the cells it shows, so a list of any width costs no more
// than its visible cells. Very long cells are shown cut.
class CWireTableModel : public QAbstractTableModel
{
public:
    static constexpr std::size_t kShownRows = 200;
    static constexpr std::size_t kShownColumns = 64;

    using QAbstractTableModel::QAbstractTableModel;

    // The table shown, nullptr for none; it must outlive the model or the
    // next call.
    void SetTable(const CWireTable* pTable);
    // Columns of the list that are not shown.
    std::size_t HiddenColumns() const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int nRole = Qt::DisplayRole) const override;
    QVariant headerData(int nSection, Qt::Orientation orientation,
                        int nRole = Qt::DisplayRole) const override;

private:
    const CWireTable* m_pTable = nullptr;
};

// A spreadsheet's name of a column from 0: A … Z, AA …
QString ColumnName(std::size_t nColumn);
