#include "sheets/SheetMessages.h"

#include "base/AppMessageBox.h"

#include <QRegularExpression>

void ShowSheetWarning(QWidget* parent, const QString& strMessage)
{
    AppMessageBox(parent, QMessageBox::Warning, strMessage);
}

QString MillimetreText(double dMillimetres)
{
    return QString::number(dMillimetres, 'f', 2).remove(QRegularExpression(QStringLiteral("\\.?0+$")));
}
