#include "model/CTAVRODoc.h"

#include "base/AppMessageBox.h"
#include "base/CharacterText.h"
#include "base/SystemErrorText.h"
#include "model/CSheet.h"
#include "model/FileAccess.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>

namespace {

std::string FileSystemPath(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

// A character of a file that code page 936 cannot hold.
QString UnconvertibleCharText(char32_t ch)
{
    return QStringLiteral("文件中的字符 %1 无法转换为代码页 936（GBK）。").arg(CharacterText(ch));
}

// The document's questions and messages belong to the window in front.
QWidget* DialogParent()
{
    return QApplication::activeWindow();
}

} // namespace

CTAVRODoc::CTAVRODoc(QObject* parent) : QObject(parent)
{
    connect(&m_model, &CSheetModel::modifiedChanged, this, &CTAVRODoc::modifiedChanged);
}

void CTAVRODoc::SetPathName(const QString& path)
{
    m_strPathName = path.isEmpty() ? QString() : QFileInfo(path).absoluteFilePath();
    Q_EMIT pathNameChanged(m_strPathName);
}

QString CTAVRODoc::GetTitle() const
{
    return m_strPathName.isEmpty() ? QStringLiteral("无标题") : QFileInfo(m_strPathName).fileName();
}

bool CTAVRODoc::OnNewDocument(const CPageFormat& format)
{
    SetPathName(QString());
    CPageFormat newFormat = m_model.Format();
    newFormat.CopyFrom(format);
    m_model.Reset(newFormat);
    return true;
}

bool CTAVRODoc::OnOpenDocument(const QString& path)
{
    std::optional<char32_t> unconvertible;
    switch (m_model.Open(FileSystemPath(path), &unconvertible)) {
    case SheetReadResult::Ok:
        return true;
    case SheetReadResult::CannotOpen: {
        // A file that cannot be opened at all is still worth a word: it may
        // be a stale entry of the recent-file list.
        const QFileInfo info(path);
        const QString reason =
            !info.exists() ? QStringLiteral("文件不存在。")
            : info.isDir() ? QStringLiteral("这是一个文件夹。")
            : CheckFileForReading(FileSystemPath(path)) == kErrNotRegularFile
                ? QStringLiteral("这不是普通文件（而是管道、设备或套接字），无法作为文档读取。")
                : QStringLiteral("没有读取该文件的权限。");
        AppMessageBox(DialogParent(), QMessageBox::Warning,
                      QStringLiteral("无法打开文件 %1。\n%2").arg(QDir::toNativeSeparators(path), reason));
        return false;
    }
    case SheetReadResult::WrongSignature:
        AppMessageBox(DialogParent(), QMessageBox::Warning, QStringLiteral("错误的文件格式！"));
        return false;
    case SheetReadResult::Unreadable:
        AppMessageBox(DialogParent(), QMessageBox::Warning,
                      QStringLiteral("文件打开出错,文件被占用或文件格式错误!"));
        return false;
    case SheetReadResult::Corrupt:
        AppMessageBox(DialogParent(), QMessageBox::Warning,
                      unconvertible
                          ? QStringLiteral("非预期的文件格式。\n") + UnconvertibleCharText(*unconvertible)
                          : QStringLiteral("非预期的文件格式。"));
        return false;
    }
    return false;
}

bool CTAVRODoc::OnSaveDocument(const QString& path)
{
    // The save replaces the file by renaming over it, which a read-only file
    // would not stop: refuse it here, as the user asked it to be kept.
    if (IsReadOnlyFile(FileSystemPath(path))) {
        AppMessageBox(DialogParent(), QMessageBox::Warning,
                      QStringLiteral("无法对 %1 进行写操作，因为它是只读文件或已经被其他人打开。")
                          .arg(QDir::toNativeSeparators(path)));
        return false;
    }
    if (const int nError = SaveSheetFile(FileSystemPath(path), m_model.Sheet())) {
        AppMessageBox(DialogParent(), QMessageBox::Warning,
                      QStringLiteral("保存文档失败。\n%1\n%2")
                          .arg(QDir::toNativeSeparators(path), SystemErrorText(nError)));
        return false;
    }
    SetModifiedFlag(false);
    return true;
}

bool CTAVRODoc::DoFileSave()
{
    if (m_strPathName.isEmpty() || IsReadOnlyFile(FileSystemPath(m_strPathName)))
        return DoSave(QString());
    return DoSave(m_strPathName);
}

bool CTAVRODoc::DoSave(const QString& path)
{
    QString target = path;
    if (target.isEmpty()) {
        const QString proposal =
            m_strPathName.isEmpty() ? GetTitle() + QStringLiteral(".tav") : m_strPathName;
        QFileDialog dlg(DialogParent(), QString(), proposal);
        dlg.setAcceptMode(QFileDialog::AcceptSave);
        dlg.setNameFilters({QStringLiteral("TAVRO 文件 (*.tav)"), QStringLiteral("所有文件 (*.*)")});
        dlg.setDefaultSuffix(QStringLiteral("tav"));
        if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty())
            return false;
        target = dlg.selectedFiles().constFirst();
    }
    if (!OnSaveDocument(target))
        return false;
    SetPathName(target);
    Q_EMIT fileUsed(m_strPathName);
    return true;
}

bool CTAVRODoc::SaveModified()
{
    if (!IsModified())
        return true;
    const QString name = m_strPathName.isEmpty() ? GetTitle() : QDir::toNativeSeparators(m_strPathName);
    switch (AppMessageBox(DialogParent(), QMessageBox::Question,
                          QStringLiteral("将改动保存到 %1？").arg(name),
                          QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes)) {
    case QMessageBox::Yes:
        return DoFileSave();
    case QMessageBox::No:
        return true;
    default:
        return false;
    }
}
