#pragma once

#include <QString>

// Installs the desktop entry, the MIME type of ".tav" documents and the icon
// in the user's data directory when they are missing or differ, and then
// refreshes the desktop's databases in the background; an installed program
// writes nothing. Failures are quiet: the program works without its
// registration.
void RegisterDesktopIntegration();

// Removes what RegisterDesktopIntegration installs and refreshes the
// databases. Returns an empty string, or why it failed.
QString UnregisterDesktopIntegration();
