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

// A modal warning with an OK button, captioned "Tavromark".
void ShowSheetWarning(QWidget* parent, const QString& strMessage);
