#pragma once

#include "model/SharedConstants.h"

#include <QStringList>

// The most recently opened or saved documents, newest first, at most
// kMaxEntries. Kept in the settings file; the menu shows them in place of the
// "最近文件" placeholder.
class CRecentFileList
{
public:
    static constexpr int kMaxEntries = kRecentFileCount;

    void Load();
    void Save() const; // quietly does nothing when the settings cannot be kept

    // Moves `path` to the front (a path already listed is not repeated).
    void Add(const QString& path);
    void Remove(int nIndex);

    const QStringList& Entries() const { return m_listPaths; }

private:
    QStringList m_listPaths;
};
