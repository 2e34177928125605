#pragma once

#include <cstddef>
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

// A settings file larger than this is foreign or damaged; reading it would
// only cost time and memory.
constexpr std::size_t kMaxSettingsFileBytes = 1024 * 1024;

// 0 when the settings file at `path` may be read: missing (its defaults
// apply) or a regular file of at most kMaxSettingsFileBytes. Else EISDIR,
// kErrNotRegularFile (a FIFO would block the reader), EFBIG, or the errno
// of looking at it.
int CheckSettingsFile(const std::string& path);
