#include "sheets/SheetMessages.h"

#include "app/AppMessageBox.h"

void ShowSheetWarning(QWidget* parent, const QString& strMessage)
{
    AppMessageBox(parent, QMessageBox::Warning, strMessage);
}
