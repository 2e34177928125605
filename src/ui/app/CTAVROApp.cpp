#include "app/CTAVROApp.h"

#include "app/CAboutDlg.h"
#include "app/CMainController.h"
#include "app/CMainFrame.h"
#include "app/CSplashWnd.h"
#include "app/CommandLine.h"
#include "app/DesktopIntegration.h"
#include "base/ErrorText.h"
#include "model/CTAVRODoc.h"
#include "model/FontFace.h"
#include "view/CTAVROView.h"
#include "wirelist/WireListImport.h"
#include "wirelist/WireListReader.h"

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QTimer>
#include <QTranslator>

CTAVROApp::CTAVROApp() = default;

// The frame (and with it the view) goes before the document it points at.
CTAVROApp::~CTAVROApp()
{
    if (qApp)
        qApp->removeEventFilter(this);
    m_pMainFrame.reset();
}

void CTAVROApp::InstallTranslations()
{
    static QTranslator* s_pTranslator = nullptr;
    if (s_pTranslator)
        return;
    s_pTranslator = new QTranslator(qApp);
    if (s_pTranslator->load(QStringLiteral("qtbase_zh_CN"),
                            QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(s_pTranslator);
}

void CTAVROApp::UseChineseInterfaceFont()
{
    // Left to fontconfig, a program started in the C locale draws its
    // Chinese in the first face that has the characters: a brush face
    // (AR PL UKai), out of place in menus and heavier to load.
    QFont font = QApplication::font();
    font.setFamilies({font.family(), QString::fromUtf8(kChineseFallbackFamily)});
    QApplication::setFont(font);
}

bool CTAVROApp::Start(const CCommandLineInfo& cmdInfo)
{
    using Cmd = CCommandLineInfo::ShellCommand;
    CSplashWnd::EnableSplashScreen(cmdInfo.m_bShowSplash);
    qApp->installEventFilter(this);
    InstallTranslations();
    UseChineseInterfaceFont();
    m_recentFiles.Load();

    m_pDocument = std::make_unique<CTAVRODoc>();
    m_pMainFrame = std::make_unique<CMainFrame>(m_pDocument.get());
    ConnectCommands();
    m_pMainFrame->SetRecentFiles(m_recentFiles.Entries());
    connect(m_pDocument.get(), &CTAVRODoc::pathNameChanged, m_pMainFrame.get(),
            [this] { m_pMainFrame->SetDocumentTitle(m_pDocument->GetTitle()); });
    connect(m_pMainFrame->Controller(), &CMainController::fileSaved, this, &CTAVROApp::AddToRecentFileList);
    connect(m_pMainFrame.get(), &CMainFrame::fileDropped, this,
            [this](const QString& path) { OpenFile(path); });
    // New, once its sheet type is confirmed, ends here.
    connect(m_pMainFrame->Controller(), &CMainController::newDocumentRequested, this,
            [this] { NewDocument(); });

    RegisterDesktopIntegration();

    switch (cmdInfo.m_nShellCommand) {
    case Cmd::FileNew:
        NewDocument();
        break;
    case Cmd::FileOpen: {
        const QString path = QFile::decodeName(QByteArray::fromStdString(cmdInfo.m_strFileName));
        if (IsWireListFileName(cmdInfo.m_strFileName)) {
            // A list opens over a new document, once the window is up.
            if (!NewDocument())
                return false;
            QTimer::singleShot(0, this, [this, path] { OpenFile(path); });
        } else if (!OpenDocumentFile(path)) {
            return false;
        }
        break;
    }
    default:
        return false; // the other commands end before a window exists
    }

    m_pMainFrame->show();
    m_pMainFrame->activateWindow();
    return true;
}

CTAVRODoc* CTAVROApp::NewDocument()
{
    return OpenDocumentFile(QString());
}

CTAVRODoc* CTAVROApp::OpenDocumentFile(const QString& path)
{
    if (!m_pMainFrame->Controller()->SaveModified())
        return nullptr;
    if (path.isEmpty()) {
        if (!m_pDocument->OnNewDocument(m_pMainFrame->Controller()->LastChosenFormat()))
            return nullptr;
    } else {
        if (const std::optional<CDocumentError> error = m_pDocument->Open(path)) {
            ShowDocumentError(m_pMainFrame.get(), *error);
            return nullptr;
        }
        m_pDocument->SetPathName(path);
        AddToRecentFileList(m_pDocument->GetPathName());
    }
    m_pMainFrame->GetView()->ShowNewSheet();
    return m_pDocument.get();
}

void CTAVROApp::OpenFile(const QString& path)
{
    if (IsWireListFileName(QFile::encodeName(path).toStdString()))
        ImportWireListFile(m_pMainFrame.get(), *m_pMainFrame->GetView(),
                           m_pMainFrame->Controller()->Printing(), path);
    else
        OpenDocumentFile(path);
}

void CTAVROApp::AddToRecentFileList(const QString& path)
{
    m_recentFiles.Add(path);
    m_recentFiles.Save();
    m_pMainFrame->SetRecentFiles(m_recentFiles.Entries());
}

void CTAVROApp::ConnectCommands()
{
    const CMainController* pController = m_pMainFrame->Controller();
    connect(pController->Action(QStringLiteral("actionAbout")), &QAction::triggered, this,
            &CTAVROApp::OnAppAbout);
    connect(pController->Action(QStringLiteral("actionFileOpen")), &QAction::triggered, this,
            &CTAVROApp::OnFileOpen);
    connect(pController->Action(QStringLiteral("actionExit")), &QAction::triggered, m_pMainFrame.get(),
            &QWidget::close);
    for (int i = 0; i < kRecentFileCount; ++i)
        connect(pController->RecentFileAction(i), &QAction::triggered, this,
                [this, i] { OnOpenRecentFile(i); });
}

void CTAVROApp::OnAppAbout()
{
    CAboutDlg dlg(m_pMainFrame.get());
    dlg.exec();
}

void CTAVROApp::OnFileOpen()
{
    QFileDialog dlg(m_pMainFrame.get());
    dlg.setAcceptMode(QFileDialog::AcceptOpen);
    dlg.setFileMode(QFileDialog::ExistingFile);
    dlg.setNameFilters({QStringLiteral("TAVRO 文件 (*.tav)"),
                        QStringLiteral("线号表 (*.csv *.tsv *.txt *.xlsx *.ods)"),
                        QStringLiteral("所有文件 (*.*)")});
    if (const QString& current = m_pDocument->GetPathName(); !current.isEmpty())
        dlg.setDirectory(QFileInfo(current).absolutePath());
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty())
        return;
    OpenFile(dlg.selectedFiles().constFirst());
}

void CTAVROApp::OnOpenRecentFile(int nIndex)
{
    if (nIndex >= m_recentFiles.Entries().size())
        return;
    const QString path = m_recentFiles.Entries()[nIndex];
    // An entry whose file is gone leaves the list; one refused for its
    // contents, or whose open the user cancelled, stays.
    if (!OpenDocumentFile(path) && !QFileInfo::exists(path)) {
        m_recentFiles.Remove(nIndex);
        m_recentFiles.Save();
        m_pMainFrame->SetRecentFiles(m_recentFiles.Entries());
    }
}

bool CTAVROApp::eventFilter(QObject* watched, QEvent* event)
{
    if (CSplashWnd::FilterAppEvent(event))
        return true;
    return QObject::eventFilter(watched, event);
}
