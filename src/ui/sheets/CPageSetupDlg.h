#pragma once

#include "model/CPageFormat.h"
#include "sheets/PageSetupValues.h"

#include <QDialog>

#include <cstdint>
#include <string>

class QLineEdit;

// Edits one sheet type: its name and the ten stored values of its format,
// shown as whole hundredths of a millimetre. The caller sets
// m_strTitleSuffix, and for an edit m_strName and m_format, then runs
// exec(). On OK m_strName holds the trimmed name and m_format the entered
// values (pitches recomputed).
class CPageSetupDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CPageSetupDlg(QWidget* parent = nullptr);

    int exec() override;

    QString m_strTitleSuffix;
    CPageFormat m_format;
    std::string m_strName; // code page 936
    CPageSetupValues m_values;

public Q_SLOTS:
    void accept() override;

private:
    struct CNumberField
    {
        QLineEdit* m_pEdit;
        std::uint32_t CPageSetupValues::*m_pValue;
        std::uint32_t m_nMin;
        std::uint32_t m_nMax;
    };

    void OnInitDialog();
    bool ExchangeNumber(const CNumberField& field);
    bool ExchangeName(std::string& strName);
    const CNumberField& Field(std::uint32_t CPageSetupValues::*pValue) const;

    QLineEdit* m_editName;
    std::vector<CNumberField> m_fields; // in the order of the layout
};
