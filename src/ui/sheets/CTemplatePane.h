#pragma once

#include "sheets/TemplateCollection.h"

#include <QWidget>

#include <memory>

class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class CTemplateTableModel;

// The sheet type dialog's second source: the label sheets of the gLabels
// template collection, searched as the user types. Without the collection
// it says how to install it.
class CTemplatePane : public QWidget
{
    Q_OBJECT

public:
    explicit CTemplatePane(QWidget* parent = nullptr);

    // Reads the collection where it is installed, anew, keeping the search.
    void Load();
    bool IsLoaded() const { return m_collection != nullptr; }

    // The template of the current row; nullptr when there is none.
    const CLabelTemplate* CurrentTemplate() const;

Q_SIGNALS:
    // A double click, Enter in the list, or the button.
    void templateChosen(const CLabelTemplate& label);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnSearch();
    void OnChoose();
    void UpdateState();

    std::shared_ptr<const CTemplateCollection> m_collection;
    CTemplateTableModel* m_model;
    QLineEdit* m_editSearch;
    QTableView* m_viewTemplates;
    QLabel* m_labelCount;
    QLabel* m_labelMissing;
    QPushButton* m_btnUse;
};
