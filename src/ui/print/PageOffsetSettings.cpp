#include "print/PageOffsetSettings.h"

#include "base/AppSettings.h"
#include "base/SettingsKeys.h"
#include "print/PageOffset.h"

namespace {

const QString kNoSettings = QStringLiteral("设置文件夹无法创建。");

QString QueueKey(const QString& queue)
{
    return QString::fromStdString(CalibrationKey(queue.toUtf8().toStdString()));
}

QString CalibrationGroup(const QString& queue)
{
    return SettingsKeys::kPrinterCalibration + QLatin1Char('/') + QueueKey(queue);
}

QString CalibrationNoteKey(const QString& queue)
{
    return SettingsKeys::kCalibrationNoteSaid + QLatin1Char('/') + QueueKey(queue);
}

QString SyncedStatus(QSettings& settings)
{
    settings.sync();
    if (settings.status() != QSettings::NoError)
        return QStringLiteral("无法写入设置文件 %1。").arg(settings.fileName());
    return {};
}

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
        return kNoSettings;
    settings->setValue(SettingsKeys::kPageMoveX, strMoveX);
    settings->setValue(SettingsKeys::kPageMoveY, strMoveY);
    return SyncedStatus(*settings);
}

std::optional<CPrinterCalibration> ReadPrinterCalibration(const QString& queue)
{
    const std::unique_ptr<QSettings> settings = OpenAppSettings();
    if (!settings || queue.isEmpty())
        return std::nullopt;
    settings->beginGroup(CalibrationGroup(queue));
    if (settings->childKeys().isEmpty())
        return std::nullopt;
    const auto text = [&](const QString& key) { return settings->value(key).toString().toStdString(); };
    CPrinterCalibration calibration;
    calibration.m_nMoveX = PageMoveFromText(text(SettingsKeys::kCalibrationMoveX));
    calibration.m_nMoveY = PageMoveFromText(text(SettingsKeys::kCalibrationMoveY));
    calibration.m_nScaleX = ScalePpmFromText(text(SettingsKeys::kCalibrationScaleX));
    calibration.m_nScaleY = ScalePpmFromText(text(SettingsKeys::kCalibrationScaleY));
    return calibration;
}

CPrinterCalibration CalibrationForPrinter(const QString& queue, const CPageOffset& machineWide)
{
    return ReadPrinterCalibration(queue).value_or(
        CPrinterCalibration{machineWide.m_nMoveX, machineWide.m_nMoveY});
}

QString WritePrinterCalibration(const QString& queue, const CPrinterCalibration& calibration)
{
    if (queue.isEmpty())
        return QStringLiteral("没有打印机。");
    const std::unique_ptr<QSettings> settings = OpenAppSettings();
    if (!settings)
        return kNoSettings;
    settings->beginGroup(CalibrationGroup(queue));
    settings->setValue(SettingsKeys::kCalibrationMoveX, QString::number(calibration.m_nMoveX));
    settings->setValue(SettingsKeys::kCalibrationMoveY, QString::number(calibration.m_nMoveY));
    settings->setValue(SettingsKeys::kCalibrationScaleX, QString::number(calibration.m_nScaleX));
    settings->setValue(SettingsKeys::kCalibrationScaleY, QString::number(calibration.m_nScaleY));
    settings->endGroup();
    return SyncedStatus(*settings);
}

QString RemovePrinterCalibration(const QString& queue)
{
    if (queue.isEmpty())
        return {};
    const std::unique_ptr<QSettings> settings = OpenAppSettings();
    if (!settings)
        return kNoSettings;
    settings->remove(CalibrationGroup(queue));
    return SyncedStatus(*settings);
}

bool CalibrationNoteSaid(const QString& queue)
{
    const std::unique_ptr<QSettings> settings = OpenAppSettings();
    return settings && !queue.isEmpty() && settings->value(CalibrationNoteKey(queue)).toBool();
}

void MarkCalibrationNoteSaid(const QString& queue)
{
    // Not being able to keep it only means the note is said again.
    if (const std::unique_ptr<QSettings> settings = OpenAppSettings(); settings && !queue.isEmpty())
        settings->setValue(CalibrationNoteKey(queue), true);
}
