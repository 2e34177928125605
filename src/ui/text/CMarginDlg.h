#pragma once

#include "text/LabelFormat.h"

#include <QDialog>
#include <QWidget>

#include <optional>
#include <utility>

class QLineEdit;
class QToolButton;

// An up-down button pair attached to the edit before it. Like the platform's
// button without a range, it works over 0 to 100 with the upper arrow (and
// the Up key in the edit) decreasing the value and the lower one increasing
// it, and writes the value into the edit as decimal text.
class CSpinButton : public QWidget
{
    Q_OBJECT

public:
    CSpinButton(QLineEdit* pBuddy, QWidget* parent);

    static constexpr int kRangeTop = 0;      // the value at the upper arrow's end
    static constexpr int kRangeBottom = 100; // the value at the lower arrow's end

    QToolButton* UpButton() const { return m_btnUp; }
    QToolButton* DownButton() const { return m_btnDown; }

protected:
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;
    void resizeEvent(QResizeEvent* pEvent) override;

private:
    void Step(int nDelta);

    QLineEdit* m_pBuddy;
    QToolButton* m_btnUp;
    QToolButton* m_btnDown;
    int m_nPos = 0;
};

// The diagram of the label settings dialog: a label with two lines of text,
// its four inner margins marked L, T, R and B and the gap between the lines W.
// Drawn, not a bitmap, so it stays sharp at every scale.
class CMarginPicture : public QWidget
{
    Q_OBJECT

public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent* pEvent) override;
};

// The label settings dialog ("设定页面"): a label's inner margins and line
// spacing in tenths of a millimetre. The caller sets the five members, runs
// exec() and on Accepted reads them back, validated: margins 9 to 100, line
// spacing 0 to 100, and, once told the label size, margins that leave room
// for text.
class CMarginDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CMarginDlg(QWidget* parent = nullptr);

    void SetMargins(const CMarginTenths& margins);
    CMarginTenths Margins() const;
    // The size of the labels the margins are for, in millimetres.
    void SetLabelSize(double dWidth, double dHeight);

    int m_nLeft = 10;
    int m_nTop = 10;
    int m_nRight = 10;
    int m_nBottom = 10;
    int m_nLineSpacing = 0;

    void accept() override;

protected:
    void showEvent(QShowEvent* pEvent) override;

private:
    std::optional<std::pair<double, double>> m_labelSize; // width, height in mm
    QLineEdit* m_editLeft;
    QLineEdit* m_editTop;
    QLineEdit* m_editRight;
    QLineEdit* m_editBottom;
    QLineEdit* m_editLineSpacing;
};
