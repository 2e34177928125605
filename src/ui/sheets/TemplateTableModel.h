#pragma once

#include "sheets/TemplateCollection.h"

#include <QAbstractTableModel>

#include <memory>
#include <vector>

// The templates of the collection that match the search, one row each:
// brand, part, label size, columns × rows, paper and description.
class CTemplateTableModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { ColBrand, ColPart, ColSize, ColGrid, ColPaper, ColDescription, ColumnCount };

    explicit CTemplateTableModel(QObject* parent = nullptr);

    void SetCollection(std::shared_ptr<const CTemplateCollection> collection);
    // Shows the templates that match `query` (see SearchTemplates).
    void Search(const QString& query);

    // The template shown in `row`; nullptr outside the rows.
    const CLabelTemplate* Template(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    std::shared_ptr<const CTemplateCollection> m_collection;
    std::vector<std::size_t> m_rows; // indices into the collection's templates
};
