#include "print/PageOffsetSettings.h"

#include "app/AppSettings.h"
#include "app/SettingsKeys.h"
#include "print/PageOffset.h"

namespace {

// The value's text as written in the file. The INI reader splits an unquoted
// text at its commas ("1,5" reads back as the list 1, 5): joined again the
// parts give the text, but for spaces around the commas, which the decimal
// rule never reaches since it stops at the first comma.
std::string StoredText(const QSettings& settings, const QString& key)
{
    const QVariant value = settings.value(key);
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QLatin1Char(',')).toStdString();
    return value.toString().toStdString();
}

} // namespace

CPageOffset ReadPageOffset()
{
    CPageOffset offset;
    const std::unique_ptr<QSettings> settings = OpenAppSettings();
    if (!settings)
        return offset;
    offset.m_nMoveX = PageMoveFromText(StoredText(*settings, SettingsKeys::kPageMoveX));
    offset.m_nMoveY = PageMoveFromText(StoredText(*settings, SettingsKeys::kPageMoveY));
    return offset;
}

QString WritePageOffset(const QString& strMoveX, const QString& strMoveY)
{
    const std::unique_ptr<QSettings> settings = OpenAppSettings();
    if (!settings)
        return QStringLiteral("设置文件夹无法创建。");
    settings->setValue(SettingsKeys::kPageMoveX, strMoveX);
    settings->setValue(SettingsKeys::kPageMoveY, strMoveY);
    settings->sync();
    if (settings->status() != QSettings::NoError)
        return QStringLiteral("无法写入设置文件 %1。").arg(settings->fileName());
    return {};
}
