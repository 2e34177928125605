#pragma once

#include "model/CSheetModel.h"
#include "model/DocumentError.h"

#include <QObject>
#include <QString>

#include <optional>

// The document: the sheet model, and the path and title of its file. The
// views observe the model. One document object serves every new and opened
// sheet of the run.
class CTAVRODoc : public QObject
{
    Q_OBJECT

public:
    explicit CTAVRODoc(QObject* parent = nullptr);

    CSheetModel& Model() { return m_model; }
    const CSheetModel& Model() const { return m_model; }

    bool IsModified() const { return m_model.IsModified(); }
    void SetModifiedFlag(bool bModified = true) { m_model.SetModified(bModified); }

    // Empty for an untitled document.
    const QString& GetPathName() const { return m_strPathName; }
    void SetPathName(const QString& path);
    // "无标题" or the file name.
    QString GetTitle() const;

    // A new sheet: path cleared, not modified, the sheet type `format`,
    // every label empty and selected. The caller then has the view show the new sheet.
    bool OnNewDocument(const CPageFormat& format);
    // Reads `path` completely before anything changes; a refused file
    // leaves sheet, path and modified flag as they were.
    std::optional<CDocumentError> Open(const QString& path);
    // Writes the sheet to `path` atomically; after a failure the document
    // stays modified and the file on disk as it was. The path stays as it is.
    std::optional<CDocumentError> Save(const QString& path);
    // Whether Save goes to the document's own file: it has one, and it is
    // not read-only.
    bool IsSavedInPlace() const;

Q_SIGNALS:
    void modifiedChanged(bool bModified);
    void pathNameChanged(const QString& path);

private:
    CSheetModel m_model;
    QString m_strPathName;
};
