#pragma once

#include "app/CCommandMap.h"

#include <QMainWindow>
#include <QStringList>
#include <map>

class CTAVRODoc;
class CTAVROView;
class QAction;
class QLabel;
class QMenu;
class QTimer;
class QToolBar;

// The one top-level window: menu, file and label format toolbars, status bar
// with the lock-key indicators, keyboard accelerators, and the sheet view in
// the middle. One QAction per command, with its command id as data and
// connected to the handler of the first map (view, document, frame,
// application) that has one. Their enabled and checked states are set anew
// whenever the sheet model or a command changed something.
class CMainFrame : public QMainWindow
{
    Q_OBJECT

public:
    static constexpr int kMaxWidth = 1024;
    static constexpr int kMaxHeight = 768;

    // Creates the view for `pDocument` and the bars; `pAppCommands` are the
    // application object's commands, last in the routing order.
    CMainFrame(CTAVRODoc* pDocument, const CCommandMap* pAppCommands, QWidget* parent = nullptr);
    ~CMainFrame() override;

    CTAVROView* GetView() const { return m_pView; }
    QAction* Action(int nID) const; // null for an ID without a menu item, button or key

    // Runs the handler of `nID` as its menu item, button or key would, then
    // updates the commands' state.
    void ExecuteCommand(int nID);
    // Asks every command's update handler for its state now.
    void UpdateCommandUI();
    // The same, once the current event has been handled; many changes in
    // one event make one update.
    void ScheduleUpdate();

    void SetRecentFiles(const QStringList& paths);
    void SetDocumentTitle(const QString& title);

    QToolBar* FileToolBar() const { return m_wndToolBar; }
    QToolBar* FormatBar() const { return m_wndFormatBar; }

Q_SIGNALS:
    void fileDropped(const QString& path);

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void CreateActions();
    void CreateMenus();
    void CreateToolBars();
    void CreateStatusBar();
    void CreateAccelerators();
    void BindAction(QAction* action, int nID);
    void UpdateKeyIndicators();
    // Undo and redo name the step they would take.
    void UpdateUndoTexts();

    void OnViewFormatBar();

    CTAVRODoc* m_pDocument;
    CTAVROView* m_pView = nullptr;
    CCommandMap m_commands;
    CCommandRouter m_router;
    std::map<int, QAction*> m_actions;
    QList<QAction*> m_recentFileActions;
    QMenu* m_pFileMenu = nullptr;

    QToolBar* m_wndToolBar = nullptr;
    QToolBar* m_wndFormatBar = nullptr;
    QLabel* m_labelReady = nullptr;
    QLabel* m_labelCapsLock = nullptr;
    QLabel* m_labelNumLock = nullptr;
    QLabel* m_labelScrollLock = nullptr;
    QTimer* m_pKeyTimer = nullptr;
    bool m_bUpdateScheduled = false;
};
