#include "app/AppSettings.h"

#include "app/SettingsKeys.h"
#include "model/SettingsDir.h"

std::unique_ptr<QSettings> OpenAppSettings()
{
    const std::optional<std::string> path = SettingsFilePath(SettingsKeys::kFileName.toStdString());
    if (!path)
        return nullptr;
    return std::make_unique<QSettings>(QString::fromStdString(*path), QSettings::IniFormat);
}
