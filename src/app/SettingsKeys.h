#pragma once

#include <QString>

// The settings file and every key in it. One INI file in the settings
// directory holds the program's settings; the names here are its only
// spelling.
namespace SettingsKeys {
inline const QString kFileName = QStringLiteral("tavro.ini");

// The recent-file list: an array of up to four paths, the newest first.
inline const QString kRecentFiles = QStringLiteral("RecentFiles");
inline const QString kRecentFile = QStringLiteral("File");

// The page offset in hundredths of a millimetre, decimal text.
inline const QString kPageMoveX = QStringLiteral("PageMoveX");
inline const QString kPageMoveY = QStringLiteral("PageMoveY");
} // namespace SettingsKeys
