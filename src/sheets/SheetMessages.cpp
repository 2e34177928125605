#include "sheets/SheetMessages.h"

#include <QMessageBox>

void ShowSheetWarning(QWidget* parent, const QString& strMessage)
{
    QMessageBox::warning(parent, QStringLiteral("Tavromark"), strMessage);
}
