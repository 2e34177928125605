#include "app/CRecentFileList.h"

#include "base/AppSettings.h"
#include "base/SettingsKeys.h"

#include <QFileInfo>

#include <algorithm>

namespace {

// Two spellings of one file (a relative path, a symbolic link) are one entry.
QString Canonical(const QString& path)
{
    const QString canonical = QFileInfo(path).canonicalFilePath();
    return canonical.isEmpty() ? QFileInfo(path).absoluteFilePath() : canonical;
}

// The stored list: at most kMaxEntries entries are looked at, whatever size
// the file claims.
QStringList ReadStoredList(QSettings& settings)
{
    QStringList paths;
    const int nSize =
        std::min(settings.beginReadArray(SettingsKeys::kRecentFiles), CRecentFileList::kMaxEntries);
    for (int i = 0; i < nSize; ++i) {
        settings.setArrayIndex(i);
        const QString path = settings.value(SettingsKeys::kRecentFile).toString();
        if (!path.isEmpty() && !paths.contains(path))
            paths.append(path);
    }
    settings.endArray();
    return paths;
}

} // namespace

void CRecentFileList::Load()
{
    m_listPaths.clear();
    if (const std::unique_ptr<QSettings> settings = OpenAppSettings())
        m_listPaths = ReadStoredList(*settings);
}

void CRecentFileList::Save() const
{
    const std::unique_ptr<QSettings> settings = OpenAppSettings();
    // An unchanged list leaves the file unwritten.
    if (!settings || ReadStoredList(*settings) == m_listPaths)
        return;
    settings->remove(SettingsKeys::kRecentFiles);
    settings->beginWriteArray(SettingsKeys::kRecentFiles, int(m_listPaths.size()));
    for (int i = 0; i < m_listPaths.size(); ++i) {
        settings->setArrayIndex(i);
        settings->setValue(SettingsKeys::kRecentFile, m_listPaths[i]);
    }
    settings->endArray();
}

void CRecentFileList::Add(const QString& path)
{
    const QString entry = Canonical(path);
    m_listPaths.removeAll(entry);
    m_listPaths.prepend(entry);
    while (m_listPaths.size() > kMaxEntries)
        m_listPaths.removeLast();
}

void CRecentFileList::Remove(int nIndex)
{
    if (nIndex >= 0 && nIndex < m_listPaths.size())
        m_listPaths.removeAt(nIndex);
}
