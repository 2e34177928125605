#pragma once

#include "text/LabelFormat.h"

#include <QColor>
#include <QDialog>
#include <QString>

class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
struct CFaceStyle;

// The font dialog with colour ("字体"): face, style, size, strike-out,
// underline and text colour in one dialog. It starts from a label's font
// record, colour and height and returns them with the choice applied: the
// face as code page 936, the weight and slant (italic or oblique) of the
// style, the height as
// −MulDiv(P, 96, 72) for a size of P points. A size left as it was keeps
// the height it came with.
class CFontColorDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CFontColorDlg(const CFontChoice& initial, QWidget* parent = nullptr);

    // Valid after Accepted.
    const CFontChoice& Choice() const { return m_choice; }

    void SetColor(const QColor& color);
    QColor Color() const { return m_color; }

    void accept() override;

private:
    void FillStyles();
    CFaceStyle CurrentStyle() const;
    // The face a label stores: the listed one, or the family of the chosen
    // style's width.
    QString ChosenFace() const;
    // Selects the listed style nearest to a weight and slant.
    void SelectStyle(int nWeight, bool bSlanted);
    void UpdateSample();
    // The size box in tenths of a point, or 0 when it holds no size.
    int SizeTenths() const;
    QString InstalledFamily() const;

    CFontChoice m_initial;
    CFontChoice m_choice;
    QString m_strInitialFace; // the record's face as the list shows it
    QColor m_color;
    QListWidget* m_listFaces;
    QListWidget* m_listStyles;
    QComboBox* m_comboSize;
    QCheckBox* m_checkStrikeOut;
    QCheckBox* m_checkUnderline;
    QPushButton* m_btnColor;
    QLabel* m_labelSample;
};
