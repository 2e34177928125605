#include "base/SystemErrorText.h"

#include <cerrno>
#include <cstring>

QString SystemErrorText(int nError)
{
    switch (nError) {
    case ENOENT:
        return QStringLiteral("文件或文件夹不存在。");
    case ENOTDIR:
        return QStringLiteral("路径中有一部分不是文件夹。");
    case EACCES:
    case EPERM:
        return QStringLiteral("没有访问权限。");
    case EROFS:
        return QStringLiteral("文件系统是只读的。");
    case ENOSPC:
    case EDQUOT:
        return QStringLiteral("磁盘已满。");
    case EISDIR:
        return QStringLiteral("这是一个文件夹。");
    case EFBIG:
        return QStringLiteral("文件太大。");
    default:
        return QString::fromLocal8Bit(std::strerror(nError));
    }
}
