#include "app/CMainFrame.h"

#include "app/CMainController.h"
#include "app/CSplashWnd.h"
#include "app/KeyIndicators.h"
#include "model/CSheetModel.h"
#include "model/CTAVRODoc.h"
#include "view/CTAVROView.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QIcon>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QShortcut>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

namespace {

// Buttons left to right by action name; null is a separator.
constexpr const char* kFileToolBar[] = {
    "actionFileNew",
    "actionFileOpen",
    "actionFileSave",
    nullptr,
    "actionUndo",
    "actionRedo",
    nullptr,
    "actionSelectAll",
    "actionSelectNone",
    "actionInvertSelection",
    nullptr,
    "actionSelectText",
    "actionSelectEmpty",
    nullptr,
    "actionSetText",
    "actionClearText",
    nullptr,
    "actionFullPage",
    nullptr,
    "actionPrintBaseline",
    "actionPrintLabels",
    nullptr,
    "actionAbout",
};

constexpr const char* kFormatBar[] = {
    "actionFont",
    "actionAutoShrink",
    nullptr,
    "actionLabelSettings",
    nullptr,
    "actionAlignTopLeft",
    "actionAlignTopCentre",
    "actionAlignTopRight",
    nullptr,
    "actionAlignMiddleLeft",
    "actionAlignMiddleCentre",
    "actionAlignMiddleRight",
    nullptr,
    "actionAlignBottomLeft",
    "actionAlignBottomCentre",
    "actionAlignBottomRight",
    nullptr,
    "actionTextDirection",
};

// The directions the format bar's "文字方向" button offers.
constexpr const char* kDirectionMenu[] = {"actionDirectionHorizontal", "actionDirectionUp",
                                          "actionDirectionDown", "actionDirectionUpsideDown",
                                          "actionDirectionVertical"};

// The menus' items by action name; null is a separator, "recent" the
// recent-file slots.
constexpr const char* kFileMenu[] = {
    "actionFileNew",
    "actionFileOpen",
    "actionImportWireList",
    "actionFileSave",
    "actionFileSaveAs",
    nullptr,
    "actionPageOffset",
    "actionCalibrationPage",
    "actionPrintSetup",
    nullptr,
    "actionPrintPreview",
    "actionPrintBaseline",
    "actionPrintLabels",
    nullptr,
    "recent",
    nullptr,
    "actionExit",
};
constexpr const char* kEditMenu[] = {"actionUndo", "actionRedo", nullptr,
                                     "actionCut",  "actionCopy", "actionPaste"};
constexpr const char* kTextMenu[] = {"actionClearText", "actionSetText", nullptr, "actionSequencePattern"};
constexpr const char* kSelectMenu[] = {"actionSelectAll", "actionSelectNone", "actionInvertSelection",
                                       nullptr,           "actionSelectText", "actionSelectEmpty"};
constexpr const char* kViewMenu[] = {"actionFullPage",      nullptr, "actionViewToolBar",
                                     "actionViewFormatBar", nullptr, "actionViewStatusBar"};
constexpr const char* kHelpMenu[] = {"actionAbout"};

// "&1 /path/name.tav": the path shortened in the middle, its ampersands kept.
QString RecentFileText(int nIndex, const QString& path)
{
    constexpr int kMaxChars = 48;
    QString shown = QDir::toNativeSeparators(path);
    if (shown.size() > kMaxChars)
        shown = shown.left(12) + QStringLiteral("...") + shown.right(kMaxChars - 15);
    shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
    return QStringLiteral("&%1 %2").arg(nIndex + 1).arg(shown);
}

} // namespace

CMainFrame::CMainFrame(CTAVRODoc* pDocument, QWidget* parent) : QMainWindow(parent)
{
    m_pView = new CTAVROView(pDocument, this);
    setCentralWidget(m_pView);
    m_pController = new CMainController(*pDocument, *m_pView, this);

    CreateMenus();
    CreateToolBars();
    CreateStatusBar();
    ConnectBarToggles();
    // F6 and Shift+F6 move between panes elsewhere; here they do nothing,
    // and never reach the view.
    for (const QKeyCombination key : {QKeyCombination(Qt::Key_F6), Qt::SHIFT | Qt::Key_F6})
        new QShortcut(QKeySequence(key), this);

    setWindowIcon(QIcon(QStringLiteral(":/tavromark.svg")));
    setAcceptDrops(true);
    setMaximumSize(kMaxWidth, kMaxHeight);
    const QRect available = screen()->availableGeometry();
    resize(qMin(kMaxWidth, available.width()), qMin(kMaxHeight, available.height()));
    move(available.center() - rect().center());

    connect(&pDocument->Model(), &CSheetModel::modifiedChanged, this, &QWidget::setWindowModified);
    connect(m_pController, &CMainController::statusMessage, this,
            [this](const QString& text) { statusBar()->showMessage(text, 10000); });

    // The lock keys change outside the program: a light poll of their own.
    m_pKeyTimer = new QTimer(this);
    m_pKeyTimer->setInterval(250);
    connect(m_pKeyTimer, &QTimer::timeout, this, &CMainFrame::UpdateKeyIndicators);
    m_pKeyTimer->start();

    connect(m_pView, &CTAVROView::newSheetShown, &CSplashWnd::OnSheetShown);
    SetDocumentTitle(pDocument->GetTitle());
    setWindowModified(pDocument->IsModified());
    SetRecentFiles({});
    CSplashWnd::ShowSplashScreen(this);
}

CMainFrame::~CMainFrame() = default;

QAction* CMainFrame::Action(const QString& name) const
{
    return m_pController->Action(name);
}

void CMainFrame::CreateMenus()
{
    const auto addMenu = [this](const char* szTitle, const auto& items) {
        QMenu* menu = menuBar()->addMenu(QString::fromUtf8(szTitle));
        for (const char* szName : items) {
            if (!szName)
                menu->addSeparator();
            else if (qstrcmp(szName, "recent") == 0)
                for (int i = 0; i < kRecentFileCount; ++i)
                    menu->addAction(m_pController->RecentFileAction(i));
            else
                menu->addAction(Action(QLatin1String(szName)));
        }
    };
    addMenu("文件(&F)", kFileMenu);
    addMenu("编辑(&E)", kEditMenu);
    addMenu("文字(&O)", kTextMenu);
    addMenu("选择(&S)", kSelectMenu);
    addMenu("查看(&V)", kViewMenu);
    addMenu("帮助(&H)", kHelpMenu);
}

void CMainFrame::CreateToolBars()
{
    const auto makeBar = [this](const QString& title, const QString& name, const auto& buttons) {
        auto* bar = new QToolBar(title, this);
        bar->setObjectName(name);
        bar->setIconSize(QSize(16, 16));
        bar->setFloatable(false);
        bar->setAllowedAreas(Qt::TopToolBarArea);
        for (const char* szName : buttons) {
            if (!szName)
                bar->addSeparator();
            else
                bar->addAction(Action(QLatin1String(szName)));
        }
        return bar;
    };
    m_pFileToolBar = makeBar(QStringLiteral("文件工具栏"), QStringLiteral("FileToolBar"), kFileToolBar);
    m_pFormatBar = makeBar(QStringLiteral("标签格式工具栏"), QStringLiteral("FormatBar"), kFormatBar);
    auto* pDirections = new QMenu(this);
    pDirections->setObjectName(QStringLiteral("menuTextDirection"));
    for (const char* szName : kDirectionMenu)
        pDirections->addAction(Action(QLatin1String(szName)));
    QAction* pDirectionButton = Action(QStringLiteral("actionTextDirection"));
    pDirectionButton->setMenu(pDirections);
    if (auto* pButton = qobject_cast<QToolButton*>(m_pFormatBar->widgetForAction(pDirectionButton)))
        pButton->setPopupMode(QToolButton::InstantPopup);
    addToolBar(Qt::TopToolBarArea, m_pFileToolBar);
    addToolBarBreak(Qt::TopToolBarArea);
    addToolBar(Qt::TopToolBarArea, m_pFormatBar);
}

void CMainFrame::ConnectBarToggles()
{
    // A toolbar is also shown and hidden from the window's context menu, by
    // its own toggle action, which Qt keeps in step with the bar: the 查看
    // item follows that action, so its mark is the bar's state, whichever way
    // the bar was hidden.
    const auto toggleToolBar = [this](const char* szName, QToolBar* bar) {
        QAction* action = Action(QLatin1String(szName));
        action->setCheckable(true);
        action->setChecked(!bar->isHidden());
        connect(action, &QAction::triggered, bar, &QWidget::setVisible);
        connect(bar->toggleViewAction(), &QAction::toggled, action, &QAction::setChecked);
    };
    toggleToolBar("actionViewToolBar", m_pFileToolBar);
    toggleToolBar("actionViewFormatBar", m_pFormatBar);
    // The status bar has no other way to be hidden.
    QAction* statusToggle = Action(QStringLiteral("actionViewStatusBar"));
    statusToggle->setCheckable(true);
    statusToggle->setChecked(true);
    connect(statusToggle, &QAction::toggled, statusBar(), &QWidget::setVisible);
}

void CMainFrame::CreateStatusBar()
{
    // The message pane holds "就绪"; a command's prompt covers it while the
    // pointer rests on the command, then it shows again.
    m_labelReady = new QLabel(QStringLiteral("就绪"));
    statusBar()->addWidget(m_labelReady, 1);
    const auto makeIndicator = [this](const QString& text) {
        auto* label = new QLabel;
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setAlignment(Qt::AlignCenter);
        label->setMinimumWidth(label->fontMetrics().horizontalAdvance(text) + 12);
        label->setProperty("indicatorText", text);
        statusBar()->addPermanentWidget(label);
        return label;
    };
    m_labelCapsLock = makeIndicator(QStringLiteral("大写"));
    m_labelNumLock = makeIndicator(QStringLiteral("数字"));
    m_labelScrollLock = makeIndicator(QStringLiteral("滚动"));
    UpdateKeyIndicators();
}

void CMainFrame::UpdateKeyIndicators()
{
    const CLockKeys keys = ReadLockKeys().value_or(CLockKeys{});
    const auto show = [](QLabel* label, bool bOn) {
        label->setText(bOn ? label->property("indicatorText").toString() : QString());
    };
    show(m_labelCapsLock, keys.m_bCapsLock);
    show(m_labelNumLock, keys.m_bNumLock);
    show(m_labelScrollLock, keys.m_bScrollLock);
}

void CMainFrame::SetRecentFiles(const QStringList& paths)
{
    for (int i = 0; i < kRecentFileCount; ++i) {
        QAction* action = m_pController->RecentFileAction(i);
        if (i < paths.size()) {
            action->setText(RecentFileText(i, paths[i]));
            action->setVisible(true);
        } else {
            // The first slot stays as the greyed placeholder of an empty list.
            action->setText(QStringLiteral("最近文件"));
            action->setVisible(i == 0);
        }
    }
    m_pController->SetRecentFileCount(int(paths.size()));
}

void CMainFrame::SetDocumentTitle(const QString& title)
{
    // "[*]" shows as "*" while the document is modified.
    setWindowTitle(title + QStringLiteral("[*] - TAVRO"));
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    if (m_pController->SaveModified())
        event->accept();
    else
        event->ignore();
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (!urls.isEmpty() && urls.constFirst().isLocalFile())
        event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.isEmpty() || !urls.constFirst().isLocalFile())
        return;
    event->acceptProposedAction();
    // Opened once the drop has finished: the open may ask questions.
    const QString path = urls.constFirst().toLocalFile();
    QTimer::singleShot(0, this, [this, path] { Q_EMIT fileDropped(path); });
}
