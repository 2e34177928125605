#include "app/DesktopIntegration.h"

#include "app/DesktopRegistration.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>

#include <cstring>

namespace {

std::vector<CDesktopFile> RegistrationFiles(const std::string& executable)
{
    std::vector<CDesktopFile> files = DesktopRegistrationFiles(executable);
    QFile icon(QStringLiteral(":/tavromark.svg"));
    if (icon.open(QIODevice::ReadOnly))
        files.push_back({"icons/hicolor/scalable/apps/tavromark.svg", icon.readAll().toStdString()});
    return files;
}

// The tools that index the files, where the desktop has them.
void RefreshDatabases(const QString& dataHome, bool bWait)
{
    const std::pair<QString, QString> tools[] = {
        {QStringLiteral("update-mime-database"), dataHome + QStringLiteral("/mime")},
        {QStringLiteral("update-desktop-database"), dataHome + QStringLiteral("/applications")},
    };
    for (const auto& [tool, directory] : tools) {
        const QString program = QStandardPaths::findExecutable(tool);
        if (program.isEmpty())
            continue;
        if (bWait)
            QProcess::execute(program, {directory});
        else
            QProcess::startDetached(program, {directory});
    }
}

} // namespace

void RegisterDesktopIntegration()
{
    // An installed program's entry comes with it; one in the user's data
    // directory would shadow it.
    const std::string executable = ExecutablePath();
    const std::optional<std::string> dataHome = XdgDataHome();
    if (!dataHome || executable.empty() || IsInstalledProgram(executable))
        return;
    const CRegistrationResult result = InstallDesktopFiles(*dataHome, RegistrationFiles(executable));
    if (result.m_bChanged)
        RefreshDatabases(QString::fromStdString(*dataHome), false);
}

QString UnregisterDesktopIntegration()
{
    const std::optional<std::string> dataHome = XdgDataHome();
    if (!dataHome)
        return QStringLiteral("no home directory to find the desktop registration in");
    const CRegistrationResult result = RemoveDesktopFiles(*dataHome, RegistrationFiles(ExecutablePath()));
    if (result.m_bChanged)
        RefreshDatabases(QString::fromStdString(*dataHome), true);
    if (result.m_nError)
        return QString::fromLocal8Bit(std::strerror(result.m_nError));
    return {};
}
