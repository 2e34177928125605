#pragma once

#include "app/CRecentFileList.h"

#include <QObject>
#include <memory>

struct CCommandLineInfo;
class CMainFrame;
class CTAVRODoc;
class QTranslator;

// The application object: starts the program, keeps the one document, frame
// and view for the whole run, opens and creates documents, keeps the
// recent-file list, and gives the splash window the first look at every
// event. Needs a QApplication.
class CTAVROApp : public QObject
{
    Q_OBJECT

public:
    CTAVROApp();
    ~CTAVROApp() override;

    // The start-up sequence; false ends the program (a document named on the
    // command line was refused, after its message).
    bool Start(const CCommandLineInfo& cmdInfo);

    // The document template's work: a new document, or the file at `path`,
    // after asking to save a modified document. Null when the user cancelled
    // or the file was refused; the current document then stays as it was.
    CTAVRODoc* OpenDocumentFile(const QString& path);
    CTAVRODoc* NewDocument();
    // A file opened or dropped: a wire list (by its name) opens the import
    // dialog over the current document, anything else opens as a document.
    void OpenFile(const QString& path);

    CMainFrame* MainFrame() const { return m_pMainFrame.get(); }
    CTAVRODoc* Document() const { return m_pDocument.get(); }
    const CRecentFileList& RecentFiles() const { return m_recentFiles; }

    // Chinese texts for Qt's own dialogs and buttons.
    static void InstallTranslations();
    // The interface's Chinese in the Simplified Chinese face of the labels'
    // fallback, not the first face fontconfig finds.
    static void UseChineseInterfaceFont();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Open, the recent files, exit and about act on what the application owns.
    void ConnectCommands();
    void OnAppAbout();
    void OnFileOpen();
    void OnOpenRecentFile(int nIndex);
    void AddToRecentFileList(const QString& path);

    CRecentFileList m_recentFiles;
    std::unique_ptr<CTAVRODoc> m_pDocument;
    std::unique_ptr<CMainFrame> m_pMainFrame;
};
