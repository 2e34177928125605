#include "base/AppSettings.h"

#include "base/SettingsKeys.h"
#include "model/FileAccess.h"
#include "model/SettingsDir.h"

#include <cerrno>
#include <iostream>

std::unique_ptr<QSettings> OpenAppSettings()
{
    const std::optional<std::string> path = SettingsFilePath(SettingsKeys::kFileName.toStdString());
    if (!path)
        return nullptr;
    if (const int nError = CheckSettingsFile(*path)) {
        // Said once; the file is left as it is for the user to look at.
        static bool bWarned = false;
        if (!bWarned) {
            bWarned = true;
            std::cerr << "tavromark: not using the settings file '" << *path << "': "
                      << (nError == EFBIG ? "larger than any settings file of this program"
                                          : FileErrorText(nError))
                      << "; the defaults apply and settings are not kept\n";
        }
        return nullptr;
    }
    return std::make_unique<QSettings>(QString::fromStdString(*path), QSettings::IniFormat);
}
