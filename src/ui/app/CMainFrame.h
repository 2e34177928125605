#pragma once

#include <QMainWindow>
#include <QStringList>

class CMainController;
class CTAVRODoc;
class CTAVROView;
class QAction;
class QLabel;
class QTimer;
class QToolBar;

// The one top-level window: menu, file and label format toolbars, status bar
// with the lock-key indicators, and the sheet view in the middle. The menus
// and bars show the controller's actions; the window keeps only the bars'
// toggles, the title and the dropped files.
class CMainFrame : public QMainWindow
{
    Q_OBJECT

public:
    static constexpr int kMaxWidth = 1024;
    static constexpr int kMaxHeight = 768;

    // Creates the view for `pDocument`, its controller and the bars.
    explicit CMainFrame(CTAVRODoc* pDocument, QWidget* parent = nullptr);
    ~CMainFrame() override;

    CTAVROView* GetView() const { return m_pView; }
    CMainController* Controller() const { return m_pController; }
    // The controller's action of that object name; null when there is none.
    QAction* Action(const QString& name) const;

    void SetRecentFiles(const QStringList& paths);
    void SetDocumentTitle(const QString& title);

    QToolBar* FileToolBar() const { return m_pFileToolBar; }
    QToolBar* FormatBar() const { return m_pFormatBar; }

Q_SIGNALS:
    void fileDropped(const QString& path);

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void CreateMenus();
    void CreateToolBars();
    void CreateStatusBar();
    // The view menu's toggles show and hide the bars, checked while shown.
    void ConnectBarToggles();
    void UpdateKeyIndicators();

    CTAVROView* m_pView = nullptr;
    CMainController* m_pController = nullptr;

    QToolBar* m_pFileToolBar = nullptr;
    QToolBar* m_pFormatBar = nullptr;
    QLabel* m_labelReady = nullptr;
    QLabel* m_labelCapsLock = nullptr;
    QLabel* m_labelNumLock = nullptr;
    QLabel* m_labelScrollLock = nullptr;
    QTimer* m_pKeyTimer = nullptr;
};
