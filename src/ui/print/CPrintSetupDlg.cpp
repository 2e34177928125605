#include "print/CPrintSetupDlg.h"

#include <QDialogButtonBox>
#include <QPushButton>

CPrintSetupDlg::CPrintSetupDlg(QPrinter* printer, QWidget* parent) : QPrintDialog(printer, parent)
{
    setWindowTitle(QStringLiteral("打印设置"));
    setOptions(QAbstractPrintDialog::PrintShowPageSize);
    if (auto* buttons = findChild<QDialogButtonBox*>())
        if (QPushButton* ok = buttons->button(QDialogButtonBox::Ok))
            ok->setText(QStringLiteral("确定"));
}

void CPrintSetupDlg::setVisible(bool bVisible)
{
    // Qt shows its page choices again as the dialog shows.
    QPrintDialog::setVisible(bVisible);
    if (!bVisible)
        return;
    for (const char* name : {"gbPrintRange", "pageSetLabel", "pageSetCombo"})
        if (auto* widget = findChild<QWidget*>(QString::fromLatin1(name)))
            widget->hide();
}
