#pragma once

#include <QPrintDialog>

// The print setup dialog ("打印设置"): chooses a printer and its paper, and
// prints nothing. Qt's print dialog offers page ranges on CUPS even when none
// are asked for (for the server to pick pages); here they are hidden each
// time it shows, there is no file output, and OK reads "确定".
class CPrintSetupDlg : public QPrintDialog
{
public:
    CPrintSetupDlg(QPrinter* printer, QWidget* parent);

    void setVisible(bool bVisible) override;
};
