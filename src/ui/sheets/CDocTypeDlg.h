#pragma once

#include "model/CPageFormat.h"
#include "sheets/SheetTypeList.h"

#include <QDialog>

#include <string>
#include <vector>

class CTemplatePane;
struct CLabelTemplate;
class QListWidget;
class QPushButton;
class QTabWidget;

// Chooses the sheet type of a new document and maintains the library. Two
// sources: the library ("类型库") and the gLabels template collection
// ("模板集"), from which a chosen template goes through the page setup
// dialog into the library. Selected library entries are exported to a file
// of the library's own format, and such files imported by name. Each
// opening reads "tavropage.lps" (the presets when it holds nothing) and each
// closing, after OK and Cancel alike, writes the list back, unless the file
// exists but could not be read: then the user is told, the presets serve
// that opening and the file is left untouched. Between openings
// only m_format and m_strName remain: the next opening selects the entry
// whose name begins with the last confirmed name.
//
// Usage: if (dlg.exec() == QDialog::Accepted) start a new document on
// dlg.m_format. With Cancel m_format and m_strName keep their values.
class CDocTypeDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CDocTypeDlg(QWidget* parent = nullptr);

    int exec() override;

    CPageFormat m_format;  // the entry confirmed last (pitches recomputed)
    std::string m_strName; // its name, code page 936; empty until then

public Q_SLOTS:
    void accept() override;

private:
    void OnInitDialog();
    void OnDestroy();
    void OnDblclkTypeList();
    void OnAddType();
    void OnEditType();
    void OnDeleteType();
    void OnExportTypes();
    void OnImportTypes();
    void OnSourceChanged();
    // The least size of the tabs follows the page shown, so that the
    // library opens at the dialog's own size however large the collection's
    // page has grown.
    void SizeToShownSource();
    void OnUseTemplate(const CLabelTemplate& label);
    void UpdateButtons();

    std::vector<int> SelectedRows() const; // in list order
    int SelectedIndex() const;             // the one selected entry; -1 for none or several
    void Select(int nIndex);
    // Puts `type` at its sorted place in the list and selects it.
    void InsertType(CSheetType type);
    // Fills the list widget from m_types.
    void ShowTypes();

    CSheetTypeList m_types;        // the library while open, in display order
    bool m_bWriteBack = true;      // false when the library could not be read
    bool m_bTemplatesRead = false; // the collection was read in this opening
    QTabWidget* m_tabsSource;
    QListWidget* m_listTypes;
    CTemplatePane* m_paneTemplates;
    QPushButton* m_btnAdd;
    QPushButton* m_btnEdit;
    QPushButton* m_btnDelete;
    QPushButton* m_btnExport;
    QPushButton* m_btnImport;
    QPushButton* m_btnOK;
    QPushButton* m_btnCancel;
};
