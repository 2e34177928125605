#include "app/AppMessageBox.h"

#include "app/CSplashWnd.h"

QMessageBox::StandardButton AppMessageBox(QWidget* parent, QMessageBox::Icon icon, const QString& text,
                                          QMessageBox::StandardButtons buttons,
                                          QMessageBox::StandardButton defaultButton)
{
    // A message needs the user's eyes and keys, which the splash would take.
    if (CSplashWnd* splash = CSplashWnd::Current())
        splash->HideSplashScreen();
    QMessageBox box(icon, kAppName, text, buttons, parent);
    if (defaultButton != QMessageBox::NoButton)
        box.setDefaultButton(defaultButton);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}
