#pragma once

#include <QString>

class QWidget;

// The texts of the sheet type dialogs; the standard field texts are those
// of base/AppMessageBox.h.
inline const QString kMsgEmptyName = QStringLiteral("页面名称不可为空！");
inline const QString kMsgNameNotGbk =
    QStringLiteral("名称中有无法保存的字符。页面名称只能使用 GBK（代码页 936）中的字符。");
inline const QString kMsgLabelsTooWide =
    QStringLiteral("标签放不下：标签宽 (h) 加上左边距 (c) 和右边距 (e) 大于页面宽 (b)。");
inline const QString kMsgLabelsTooTall =
    QStringLiteral("标签放不下：标签高 (g) 加上上边距 (d) 和下边距 (f) 大于页面高 (a)。");
inline const QString kMsgColumnsOverlap = QStringLiteral(
    "标签互相重叠：列数量 (m) 乘以标签宽 (h)，再加上左边距 (c) 和右边距 (e)，大于页面宽 (b)。");
inline const QString kMsgRowsOverlap = QStringLiteral(
    "标签互相重叠：行数量 (n) 乘以标签高 (g)，再加上上边距 (d) 和下边距 (f)，大于页面高 (a)。");
inline const QString kMsgLibraryNotRead = QStringLiteral(
    "无法读取页面类型库 %1：%2\n本次只提供预设的页面类型，该文件保持不变，所作的更改不会保存。");
inline const QString kMsgLibraryNotSaved = QStringLiteral("无法保存页面类型库 %1：%2");
inline const QString kMsgTemplatesMissing =
    QStringLiteral("未找到 gLabels 模板集。\n\n"
                   "模板集收录了 Avery、Herma、Zweckform 等品牌的上千种标签纸。安装后即可在这里按品牌、型号、"
                   "说明或标签尺寸搜索，选中后保存到页面类型库：\n\n"
                   "    sudo apt install glabels-data\n\n"
                   "自己的模板放在 ~/.config/libglabels/templates 中，也会列在这里。");
// Added to the collection's count when reading stopped at a limit.
inline const QString kMsgTemplateFilesNotRead = QStringLiteral("；模板文件超过 %1 个，另有 %2 个未读取");
inline const QString kMsgTemplatesCut = QStringLiteral("；模板超过 %1 种，其余未读取");
inline const QString kMsgTypesNotExported = QStringLiteral("无法导出页面类型到 %1：%2");
inline const QString kMsgTypeFileNotRead = QStringLiteral("无法读取 %1：%2");
inline const QString kMsgNotATypeFile =
    QStringLiteral("%1 不是页面类型文件：%2\n只能导入用“导出...”保存的文件。");
inline const QString kMsgTypeFileNoEntries = QStringLiteral("其中没有页面类型。");
inline const QString kMsgTypeFileCutShort = QStringLiteral("第 %1 个页面类型不完整。");
inline const QString kMsgTypeFileUnusable = QStringLiteral("第 %1 个页面类型的尺寸无法使用。");
inline const QString kMsgTypeFileBytesAfterEnd = QStringLiteral("最后一个页面类型之后还有多余的数据。");
inline const QString kMsgTypeNameClash = QStringLiteral("页面类型库中已有名为“%1”的页面类型。");
inline const QString kMsgTypeClashDetails = QStringLiteral("库中的：%1\n导入的：%2");
// %2: what else happened, in brackets, or nothing.
inline const QString kMsgTypesImported = QStringLiteral("已导入 %1 个页面类型%2。");

// A length in millimetres with at most two decimals and no trailing zeros:
// "8.65", "19", "45.7".
QString MillimetreText(double dMillimetres);

// A modal warning with an OK button, captioned "Tavromark".
void ShowSheetWarning(QWidget* parent, const QString& strMessage);
