#include "text/TextCommands.h"

#include "base/AppMessageBox.h"
#include "text/BatchFill.h"
#include "text/CBatchTextDlg.h"
#include "text/CFontColorDlg.h"
#include "text/CLabelTextDlg.h"
#include "text/CMarginDlg.h"
#include "text/LabelFormat.h"

std::optional<ChangedLabels> RunSetText(CBatchTextDlg& dlg, const LabelGrid& grid)
{
    if (dlg.exec() != QDialog::Accepted)
        return std::nullopt;
    return FillLabels(grid, dlg.Request());
}

std::optional<ChangedLabels> RunClearText(QWidget* parent, const LabelGrid& grid)
{
    const auto answer =
        AppMessageBox(parent, QMessageBox::Question, QStringLiteral("是否清除所选的标签文字？"),
                      QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
    if (answer != QMessageBox::Yes)
        return std::nullopt;
    return ClearLabels(grid);
}

bool RunLabelText(QWidget* parent, CLabelRecord& label)
{
    CLabelTextDlg dlg(parent);
    dlg.m_strLabelText = label.m_strText;
    if (dlg.exec() != QDialog::Accepted)
        return false;
    label.m_strText = dlg.m_strLabelText;
    return true;
}

std::optional<ChangedLabels> RunFont(QWidget* parent, const LabelGrid& grid)
{
    const auto templateLabel = FindTemplateLabel(grid);
    if (!templateLabel)
        return std::nullopt;
    CFontColorDlg dlg(FontChoiceOf(*grid[*templateLabel]), parent);
    if (dlg.exec() != QDialog::Accepted)
        return std::nullopt;
    return ApplyFont(grid, dlg.Choice());
}

std::optional<ChangedLabels> RunLabelSettings(QWidget* parent, const LabelGrid& grid, double dLabelWidth,
                                              double dLabelHeight)
{
    const auto templateLabel = FindTemplateLabel(grid);
    if (!templateLabel)
        return std::nullopt;
    CMarginDlg dlg(parent);
    dlg.SetMargins(MarginTenthsOf(*grid[*templateLabel]));
    dlg.SetLabelSize(dLabelWidth, dLabelHeight);
    if (dlg.exec() != QDialog::Accepted)
        return std::nullopt;
    return ApplyMargins(grid, dlg.Margins());
}
