#pragma once

#include <QSettings>
#include <memory>

// The program's settings file (SettingsKeys::kFileName in the settings
// directory) as an INI file. Null when the settings directory cannot be found
// or created: settings then simply are not kept.
std::unique_ptr<QSettings> OpenAppSettings();
