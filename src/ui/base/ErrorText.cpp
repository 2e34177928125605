#include "base/ErrorText.h"

#include "base/AppMessageBox.h"
#include "base/CharacterText.h"

#include <QDir>
#include <QFile>

namespace {

QString ShownPath(const std::string& path)
{
    return QDir::toNativeSeparators(QFile::decodeName(QByteArray::fromStdString(path)));
}

QString CannotOpenText(const std::string& path, const QString& reason)
{
    return QStringLiteral("无法打开文件 %1。\n%2").arg(ShownPath(path), reason);
}

} // namespace

QString CannotWriteText(const QString& path, const QString& reason)
{
    return QStringLiteral("无法写入 %1：%2").arg(QDir::toNativeSeparators(path), reason);
}

QString DocumentErrorText(const CDocumentError& error)
{
    using Code = CDocumentError::Code;
    switch (error.m_code) {
    case Code::NotFound:
        return CannotOpenText(error.m_strPath, QStringLiteral("文件不存在。"));
    case Code::IsFolder:
        return CannotOpenText(error.m_strPath, QStringLiteral("这是一个文件夹。"));
    case Code::NotRegularFile:
        return CannotOpenText(error.m_strPath,
                              QStringLiteral("这不是普通文件（而是管道、设备或套接字），无法作为文档读取。"));
    case Code::NoPermission:
        return CannotOpenText(error.m_strPath, QStringLiteral("没有读取该文件的权限。"));
    case Code::WrongSignature:
        return QStringLiteral("错误的文件格式！");
    case Code::Unreadable:
        return QStringLiteral("文件打开出错,文件被占用或文件格式错误!");
    case Code::Corrupt:
        if (error.m_unconvertible)
            return QStringLiteral("非预期的文件格式。\n文件中的字符 %1 无法转换为代码页 936（GBK）。")
                .arg(CharacterText(*error.m_unconvertible));
        return QStringLiteral("非预期的文件格式。");
    case Code::ReadOnly:
        return QStringLiteral("无法对 %1 进行写操作，因为它是只读文件或已经被其他人打开。")
            .arg(ShownPath(error.m_strPath));
    case Code::WriteFailed:
        return QStringLiteral("保存文档失败。\n%1\n%2")
            .arg(ShownPath(error.m_strPath), SystemErrorText(error.m_nErrno));
    }
    return {};
}

void ShowDocumentError(QWidget* window, const CDocumentError& error)
{
    AppMessageBox(window, QMessageBox::Warning, DocumentErrorText(error));
}
