#pragma once

#include <QDialog>

#include <string>

class CMultiLineEdit;
class CUpperCaseEntry;
class QCheckBox;

// The text of one label, opened by a double click on it ("标签文字"). The
// caller sets m_strLabelText, runs exec() and on Accepted takes the text back.
class CLabelTextDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CLabelTextDlg(QWidget* parent = nullptr);

    std::string m_strLabelText; // code page 936, lines separated by CR LF
    int m_bUpper = 1;

    void accept() override;

protected:
    void showEvent(QShowEvent* pEvent) override;

private:
    CMultiLineEdit* m_editText;
    QCheckBox* m_checkUpper;
    CUpperCaseEntry* m_pUpperCase;
};
