#pragma once

#include "model/CPageFormat.h"
#include "sheets/SheetTypeList.h"

#include <QDialog>

#include <string>

class QListWidget;
class QPushButton;

// Chooses the sheet type of a new document and maintains the library. Each
// opening reads "tavropage.lps" (the presets when it holds nothing) and each
// closing, after OK and Cancel alike, writes the list back, unless the file
// exists but could not be read: then the user is told, the presets serve
// that opening and the file is left untouched. Between openings
// only m_format and m_strName remain: the next opening selects the entry
// whose name begins with the last confirmed name.
//
// Usage: if (dlg.DoModal() == QDialog::Accepted) start a new document on
// dlg.m_format. With Cancel m_format and m_strName keep their values.
class CDocTypeDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CDocTypeDlg(QWidget* parent = nullptr);

    int exec() override;
    int DoModal() { return exec(); }

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
    void UpdateButtons();

    int SelectedIndex() const; // -1 when nothing is selected
    void Select(int nIndex);
    // Puts `type` at its sorted place in the list and selects it.
    void InsertType(CSheetType type);

    CSheetTypeList m_types;   // the library while open, in display order
    bool m_bWriteBack = true; // false when the library could not be read
    QListWidget* m_listTypes;
    QPushButton* m_btnAdd;
    QPushButton* m_btnEdit;
    QPushButton* m_btnDelete;
    QPushButton* m_btnOK;
    QPushButton* m_btnCancel;
};
