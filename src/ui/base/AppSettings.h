#pragma once

#include <QSettings>
#include <memory>

// The program's settings file (SettingsKeys::kFileName in the settings
// directory) as an INI file. Null when the settings directory cannot be found
// or created: settings then simply are not kept. Null too, with a word on
// standard error, when the file is not one the program would write (a FIFO, a
// device, a file over kMaxSettingsFileBytes): the defaults apply and the file
// is left alone.
std::unique_ptr<QSettings> OpenAppSettings();
