#include "print/PageOffsetSettings.h"

#include "app/AppSettings.h"
#include "app/SettingsKeys.h"
#include "print/PageOffset.h"

CPageOffset ReadPageOffset()
{
    CPageOffset offset;
    const std::unique_ptr<QSettings> settings = OpenAppSettings();
    if (!settings)
        return offset;
    offset.m_nMoveX = PageMoveFromText(settings->value(SettingsKeys::kPageMoveX).toString().toStdString());
    offset.m_nMoveY = PageMoveFromText(settings->value(SettingsKeys::kPageMoveY).toString().toStdString());
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
