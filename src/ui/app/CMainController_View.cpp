#include "app/CMainController.h"

#include "view/CTAVROView.h"

#include <QAction>

// The view and help menus. The bars' toggles are the frame's to connect.
void CMainController::CreateViewActions()
{
    QAction* action = AddAction({"actionFullPage", "整页显示(&W)", "整页显示", "整页显示", "full-page"},
                                {Qt::CTRL | Qt::Key_W});
    connect(action, &QAction::triggered, &m_view, &CTAVROView::OnFullPage);
    connect(action, &QAction::triggered, this, &CMainController::UpdateFullPageAction);
    AddAction({"actionViewToolBar", "文件工具栏(&T)", "显示或隐藏文件工具栏", "", ""});
    AddAction({"actionViewFormatBar", "标签格式工具栏(&M)", "显示或隐藏标签格式工具栏", "", ""});
    AddAction({"actionViewStatusBar", "状态栏(&S)", "显示或隐藏状态栏", "", ""});
    AddAction({"actionAbout", "关于 TAVRO(&A)...", "显示程序信息，版本号和版权", "关于", "app-about"});
    UpdateFullPageAction();
}

void CMainController::UpdateFullPageAction()
{
    ShowChecked(Action(QStringLiteral("actionFullPage")), m_view.IsFullPage());
}
