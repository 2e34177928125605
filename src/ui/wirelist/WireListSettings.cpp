#include "wirelist/WireListSettings.h"

#include "base/AppSettings.h"
#include "base/SettingsKeys.h"
#include "wirelist/WireMarkers.h"

#include <QFileInfo>
#include <QSettings>

#include <algorithm>
#include <memory>

namespace {

std::string Text(const QSettings& settings, const QString& key, const std::string& fallback = {})
{
    return settings.contains(key) ? settings.value(key).toString().toStdString() : fallback;
}

} // namespace

QString RememberedListFolder()
{
    const std::unique_ptr<QSettings> settings = OpenAppSettings();
    return settings ? settings->value(SettingsKeys::kWireListFolder).toString() : QString();
}

std::vector<CListChoices> RememberedLists()
{
    namespace Keys = SettingsKeys;
    std::vector<CListChoices> lists;
    const std::unique_ptr<QSettings> settings = OpenAppSettings();
    if (!settings)
        return lists;
    // The program writes no more entries than it keeps; a larger count (a
    // file edited by hand, size=2147483647) is not walked through.
    const int nCount =
        std::min(settings->beginReadArray(Keys::kWireLists), static_cast<int>(kRememberedLists));
    for (int i = 0; i < nCount; ++i) {
        settings->setArrayIndex(i);
        CListChoices choices;
        choices.m_strPath = Text(*settings, Keys::kWireListPath);
        if (choices.m_strPath.empty() || ChoicesForList(lists, choices.m_strPath))
            continue;
        choices.m_strColumns = Text(*settings, Keys::kWireListColumns, choices.m_strColumns);
        choices.m_strFarEndColumns = Text(*settings, Keys::kWireListFarEndColumns);
        choices.m_strJoin = Text(*settings, Keys::kWireListJoin);
        // Values out of range (a file edited by hand) fall back to the defaults.
        const int nHeaderRows = settings->value(Keys::kWireListHeaderRows, 0).toInt();
        choices.m_nHeaderRows = nHeaderRows >= 0 && nHeaderRows <= kMaxHeaderRows ? nHeaderRows : 0;
        choices.m_bSkipEmptyCells = settings->value(Keys::kWireListSkipEmptyCells, true).toBool();
        const int nCopies = settings->value(Keys::kWireListCopies, 1).toInt();
        choices.m_nCopies = nCopies >= 1 && nCopies <= kMaxMarkerCopies ? nCopies : 1;
        choices.m_strQuantityColumn = Text(*settings, Keys::kWireListQuantityColumn);
        choices.m_strEncoding = Text(*settings, Keys::kWireListEncoding);
        choices.m_strWorksheet = Text(*settings, Keys::kWireListWorksheet);
        lists.push_back(std::move(choices));
    }
    settings->endArray();
    return lists;
}

void RememberList(const CListChoices& choices)
{
    namespace Keys = SettingsKeys;
    std::vector<CListChoices> lists = RememberedLists();
    RememberListChoices(lists, choices);
    const std::unique_ptr<QSettings> settings = OpenAppSettings();
    if (!settings)
        return;
    const auto text = [](const std::string& value) { return QString::fromStdString(value); };
    settings->setValue(Keys::kWireListFolder, QFileInfo(text(choices.m_strPath)).absolutePath());
    settings->beginWriteArray(Keys::kWireLists, static_cast<int>(lists.size()));
    for (int i = 0; i < static_cast<int>(lists.size()); ++i) {
        const CListChoices& list = lists[static_cast<std::size_t>(i)];
        settings->setArrayIndex(i);
        settings->setValue(Keys::kWireListPath, text(list.m_strPath));
        settings->setValue(Keys::kWireListColumns, text(list.m_strColumns));
        settings->setValue(Keys::kWireListFarEndColumns, text(list.m_strFarEndColumns));
        settings->setValue(Keys::kWireListJoin, text(list.m_strJoin));
        settings->setValue(Keys::kWireListHeaderRows, static_cast<int>(list.m_nHeaderRows));
        settings->setValue(Keys::kWireListSkipEmptyCells, list.m_bSkipEmptyCells);
        settings->setValue(Keys::kWireListCopies, list.m_nCopies);
        settings->setValue(Keys::kWireListQuantityColumn, text(list.m_strQuantityColumn));
        settings->setValue(Keys::kWireListEncoding, text(list.m_strEncoding));
        settings->setValue(Keys::kWireListWorksheet, text(list.m_strWorksheet));
    }
    settings->endArray();
}
