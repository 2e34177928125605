#include "sheets/SheetMessages.h"

#include "base/AppMessageBox.h"

void ShowSheetWarning(QWidget* parent, const QString& strMessage)
{
    AppMessageBox(parent, QMessageBox::Warning, strMessage);
}
