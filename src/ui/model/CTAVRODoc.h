#pragma once

#include "model/CSheetModel.h"

#include <QObject>
#include <QString>

class QWidget;

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
    // Reads `path` completely before anything changes; a refused file is
    // reported and leaves sheet, path and modified flag as they were.
    bool OnOpenDocument(const QString& path);
    // Writes the sheet to `path` atomically; a failure is reported, and the
    // document stays modified and the file on disk as it was.
    bool OnSaveDocument(const QString& path);

    // Save: to the document's own file, or through the save-as dialog when
    // it has none or the file is read-only.
    bool DoFileSave();
    // Save as: `path`, or the file dialog when `path` is empty.
    bool DoSave(const QString& path);
    // Asks "将改动保存到 %1？" when modified. False when the user cancels or
    // the save failed: the action that asked must not go on.
    bool SaveModified();

Q_SIGNALS:
    void modifiedChanged(bool bModified);
    void pathNameChanged(const QString& path);
    // A file was opened or saved: it belongs in the recent-file list.
    void fileUsed(const QString& path);

private:
    CSheetModel m_model;
    QString m_strPathName;
};
