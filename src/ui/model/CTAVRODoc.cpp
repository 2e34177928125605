#include "model/CTAVRODoc.h"

#include "model/CSheet.h"
#include "model/FileAccess.h"

#include <QFile>
#include <QFileInfo>

namespace {

std::string FileSystemPath(const QString& path)
{
    return QFile::encodeName(path).toStdString();
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

std::optional<CDocumentError> CTAVRODoc::Open(const QString& path)
{
    const std::string strPath = FileSystemPath(path);
    std::optional<char32_t> unconvertible;
    switch (m_model.Open(strPath, &unconvertible)) {
    case SheetReadResult::Ok:
        return std::nullopt;
    case SheetReadResult::CannotOpen:
        return CDocumentError{WhyNotOpened(strPath), strPath};
    case SheetReadResult::WrongSignature:
        return CDocumentError{CDocumentError::Code::WrongSignature, strPath};
    case SheetReadResult::Unreadable:
        return CDocumentError{CDocumentError::Code::Unreadable, strPath};
    case SheetReadResult::Corrupt:
        return CDocumentError{CDocumentError::Code::Corrupt, strPath, 0, unconvertible};
    }
    return CDocumentError{CDocumentError::Code::Unreadable, strPath};
}

std::optional<CDocumentError> CTAVRODoc::Save(const QString& path)
{
    const std::string strPath = FileSystemPath(path);
    // The save replaces the file by renaming over it, which a read-only file
    // would not stop: refuse it here, as the user asked it to be kept.
    if (IsReadOnlyFile(strPath))
        return CDocumentError{CDocumentError::Code::ReadOnly, strPath};
    if (const int nError = SaveSheetFile(strPath, m_model.Sheet()))
        return CDocumentError{CDocumentError::Code::WriteFailed, strPath, nError};
    SetModifiedFlag(false);
    return std::nullopt;
}

bool CTAVRODoc::IsSavedInPlace() const
{
    return !m_strPathName.isEmpty() && !IsReadOnlyFile(FileSystemPath(m_strPathName));
}
