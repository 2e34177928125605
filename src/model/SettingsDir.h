#pragma once

#include <optional>
#include <string>

// The directory that holds the sheet type library, the printer description
// and the settings file: $XDG_CONFIG_HOME/TAVRO, or ~/.config/TAVRO when
// XDG_CONFIG_HOME is unset, empty or relative. Created level by level on
// demand with absolute paths; the current directory is never changed.
// nullopt when it cannot be found or created.
std::optional<std::string> SettingsDirectory();

// SettingsDirectory() + "/" + name, or nullopt.
std::optional<std::string> SettingsFilePath(const std::string& name);
