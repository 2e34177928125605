#pragma once

#include "text/BatchFill.h"

#include <QDialog>

#include <string>

class CMultiLineEdit;
class CUpperCaseEntry;
class QButtonGroup;
class QCheckBox;
class QLineEdit;

// The text for all selected labels ("标签文字"): a prefix, a middle part and a
// suffix, the same everywhere or with the middle counting up as a number or a
// letter. One instance lives from the first set-text command to the end of
// the program, so everything reopens as last used; the three texts reopen
// with the values of the last OK, also after a Cancel.
class CBatchTextDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CBatchTextDlg(QWidget* parent = nullptr);

    // The fill the last OK asked for.
    CBatchFillRequest Request() const;

    // Texts in code page 936.
    std::string m_strLastPrefix;
    std::string m_strLastMiddle;
    std::string m_strLastSuffix;
    int m_bUpper = 1;
    std::string m_strPrefix;
    int m_nMode = CBatchFillRequest::SameText;
    int m_bSkipFilled = 1;
    std::string m_strMiddle;
    std::string m_strSuffix;
    QString m_strPreview;
    int m_nCount = 999;

    void accept() override;

protected:
    void showEvent(QShowEvent* pEvent) override;

private:
    void LoadControls();
    // Mode, skip, upper-case and a valid count, which need no message.
    void ReadChoices();
    void UpdatePreview();

    bool m_bLoading = false;
    CMultiLineEdit* m_editPrefix;
    QLineEdit* m_editMiddle;
    QLineEdit* m_editCount;
    CMultiLineEdit* m_editSuffix;
    CMultiLineEdit* m_editPreview;
    QCheckBox* m_checkUpper;
    QCheckBox* m_checkSkip;
    QButtonGroup* m_groupMode;
    CUpperCaseEntry* m_pUpperPrefix;
    CUpperCaseEntry* m_pUpperMiddle;
    CUpperCaseEntry* m_pUpperSuffix;
};
