#pragma once

#include <QDialog>

class QLineEdit;

// "设定页面偏移量": the page offset in 0.01 mm, X and Y, in two boxes of up
// to six characters. OK checks both (spaces removed, empty means "0", a
// signed decimal number within −9999..9999), stores them in the settings
// file and keeps the stored texts in m_strOffsetX and m_strOffsetY.
class CPageOffsetDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CPageOffsetDlg(QWidget* parent = nullptr);

    int exec() override;
    int DoModal() { return exec(); }

    QString m_strOffsetX;
    QString m_strOffsetY;

protected:
    void accept() override;

private:
    // Checks one box; on a refusal shows why and puts the focus there.
    bool ExchangeOffset(QLineEdit* pEdit, QString& strOffset);

    QLineEdit* m_editOffsetX;
    QLineEdit* m_editOffsetY;
};
