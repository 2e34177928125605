#include "app/AppMessageBox.h"

QMessageBox::StandardButton AppMessageBox(QWidget* parent, QMessageBox::Icon icon, const QString& text,
                                          QMessageBox::StandardButtons buttons,
                                          QMessageBox::StandardButton defaultButton)
{
    QMessageBox box(icon, kAppName, text, buttons, parent);
    if (defaultButton != QMessageBox::NoButton)
        box.setDefaultButton(defaultButton);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}
