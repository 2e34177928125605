#include "base/SystemErrorText.h"

#include "model/FileAccess.h"

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
    case kErrNotRegularFile:
        return QStringLiteral("这不是普通文件（而是管道、设备或套接字）。");
    default:
        return QString::fromLocal8Bit(std::strerror(nError));
    }
}
