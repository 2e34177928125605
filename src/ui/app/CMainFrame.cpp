#include "app/CMainFrame.h"

#include "app/CRecentFileList.h"
#include "app/CSplashWnd.h"
#include "app/KeyIndicators.h"
#include "base/CommandIds.h"
#include "model/CSheetModel.h"
#include "model/CTAVRODoc.h"
#include "view/CTAVROView.h"
#include "wirelist/WireListImport.h"

#include <QAction>
#include <QClipboard>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QIcon>
#include <QImage>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QShortcut>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QUndoStack>

namespace {

// A command's texts: its status-bar prompt, its tooltip and its toolbar
// picture (empty for commands without a button).
struct CCommandText
{
    int nID;
    const char* szPrompt;
    const char* szToolTip;
    const char* szIcon;
};

constexpr CCommandText kCommandTexts[] = {
    {ID::FileNewSheet, "建立新文档", "新建", "file-new"},
    {ID::FileOpen, "打开一个现有文档", "打开", "file-open"},
    {ID::ImportWireList, "读入线号表，按表中的线号填写并打印标签", "", ""},
    {ID::FileSave, "保存活动文档", "保存", "file-save"},
    {ID::EditUndo, "撤销上一步操作", "撤销", "edit-undo"},
    {ID::EditRedo, "重做上一步撤销的操作", "重做", "edit-redo"},
    {ID::EditCut, "剪切所选标签：复制到剪贴板，再清除其文字", "剪切", ""},
    {ID::EditCopy, "把所选标签复制到剪贴板", "复制", ""},
    {ID::EditPaste, "把剪贴板上的内容按行依次填入所选标签", "粘贴", ""},
    {ID::FileSaveAs, "将活动文档以一个新文件名保存", "", ""},
    {ID::PageOffset, "设定打印偏移量", "", ""},
    {ID::CalibrationPage, "打印校准页，量出这台打印机的偏移量和比例", "打印校准页", ""},
    {ID::FilePrintSetup, "改变打印机及打印选项", "", ""},
    {ID::PrintPreviewMenu, "打印预览", "", ""},
    {ID::PrintBaseline, "打印基准线", "打印基准线", "print-baseline"},
    {ID::PrintLabels, "打印标签", "打印标签", "print-labels"},
    {ID::AppExit, "退出应用程序；提示保存文档", "", ""},
    {ID::ClearText, "清除文字", "清除文字", "clear-text"},
    {ID::SetText, "设定文字", "设定文字", "set-text"},
    {ID::SelectAll, "全选", "全选", "select-all"},
    {ID::SelectNone, "全不选", "全不选", "select-none"},
    {ID::InvertSelection, "反选", "反选", "select-invert"},
    {ID::SelectText, "选取文字标签", "选取文字标签", "select-text"},
    {ID::SelectEmpty, "选取空白标签", "选取空白标签", "select-empty"},
    {ID::FullPage, "整页显示", "整页显示", "full-page"},
    {ID::ViewToolBar, "显示或隐藏文件工具栏", "", ""},
    {ID::ViewFormatBar, "显示或隐藏标签格式工具栏", "", ""},
    {ID::ViewStatusBar, "显示或隐藏状态栏", "", ""},
    {ID::AppAbout, "显示程序信息，版本号和版权", "关于", "app-about"},
    {ID::Font, "设置字体", "字体", "font"},
    {ID::AutoShrink, "文字太多时按比例缩小", "自动缩小", "auto-shrink"},
    {ID::LabelSettings, "标签设置", "标签设置", "label-settings"},
    {ID::AlignTopLeft, "靠上左对齐", "靠上左对齐", "align-top-left"},
    {ID::AlignTopCentre, "靠上中对齐", "靠上中对齐", "align-top-centre"},
    {ID::AlignTopRight, "靠上右对齐", "靠上右对齐", "align-top-right"},
    {ID::AlignMiddleLeft, "靠中左对齐", "靠中左对齐", "align-middle-left"},
    {ID::AlignMiddleCentre, "靠中中对齐", "靠中中对齐", "align-middle-centre"},
    {ID::AlignMiddleRight, "靠中右对齐", "靠中右对齐", "align-middle-right"},
    {ID::AlignBottomLeft, "靠下左对齐", "靠下左对齐", "align-bottom-left"},
    {ID::AlignBottomCentre, "靠下中对齐", "靠下中对齐", "align-bottom-centre"},
    {ID::AlignBottomRight, "靠下右对齐", "靠下右对齐", "align-bottom-right"},
};

// Buttons left to right; 0 is a separator.
constexpr int kFileToolBar[] = {
    ID::FileNewSheet,
    ID::FileOpen,
    ID::FileSave,
    0,
    ID::EditUndo,
    ID::EditRedo,
    0,
    ID::SelectAll,
    ID::SelectNone,
    ID::InvertSelection,
    0,
    ID::SelectText,
    ID::SelectEmpty,
    0,
    ID::SetText,
    ID::ClearText,
    0,
    ID::FullPage,
    0,
    ID::PrintBaseline,
    ID::PrintLabels,
    0,
    ID::AppAbout,
};

constexpr int kFormatBar[] = {
    ID::Font,
    ID::AutoShrink,
    0,
    ID::LabelSettings,
    0,
    ID::AlignTopLeft,
    ID::AlignTopCentre,
    ID::AlignTopRight,
    0,
    ID::AlignMiddleLeft,
    ID::AlignMiddleCentre,
    ID::AlignMiddleRight,
    0,
    ID::AlignBottomLeft,
    ID::AlignBottomCentre,
    ID::AlignBottomRight,
};

// A menu: its caption and its items, each the item's text (the part after a
// tab is the key shown) and command; a null text is a separator.
struct CMenuItem
{
    const char* szText;
    int nID;
};

const CMenuItem kEditMenu[] = {
    {"撤销(&U)\tCtrl+Z", ID::EditUndo},
    {"重做(&R)\tCtrl+Y", ID::EditRedo},
    {nullptr, 0},
    {"剪切(&T)\tCtrl+X", ID::EditCut},
    {"复制(&C)\tCtrl+C", ID::EditCopy},
    {"粘贴(&P)\tCtrl+V", ID::EditPaste},
};
const CMenuItem kTextMenu[] = {{"清除文字(&D)", ID::ClearText}, {"设定文字(&S)", ID::SetText}};
const CMenuItem kSelectMenu[] = {
    {"全选(&A)", ID::SelectAll},       {"全不选(&N)", ID::SelectNone},
    {"反选(&V)", ID::InvertSelection}, {nullptr, 0},
    {"选取文字(&T)", ID::SelectText},  {"选取空白(&O)", ID::SelectEmpty},
};
const CMenuItem kViewMenu[] = {
    {"整页显示(&W)", ID::FullPage},
    {nullptr, 0},
    {"文件工具栏(&T)", ID::ViewToolBar},
    {"标签格式工具栏(&M)", ID::ViewFormatBar},
    {nullptr, 0},
    {"状态栏(&S)", ID::ViewStatusBar},
};
const CMenuItem kHelpMenu[] = {{"关于 TAVRO(&A)...", ID::AppAbout}};

// The accelerator table: each key triggers its command's action, so a
// disabled command's key does nothing. The pane keys are bound to commands
// nothing carries out: they do nothing, and never reach the view.
struct CAccelerator
{
    QKeyCombination key;
    int nID;
};

const CAccelerator kAccelerators[] = {
    {Qt::CTRL | Qt::Key_A, ID::SelectAll},       {Qt::CTRL | Qt::Key_I, ID::InvertSelection},
    {Qt::CTRL | Qt::Key_L, ID::PrintBaseline},   {Qt::CTRL | Qt::Key_N, ID::FileNewSheet},
    {Qt::CTRL | Qt::Key_O, ID::FileOpen},        {Qt::CTRL | Qt::Key_P, ID::PrintLabels},
    {Qt::CTRL | Qt::Key_S, ID::FileSave},        {Qt::CTRL | Qt::Key_T, ID::SetText},
    {Qt::CTRL | Qt::Key_W, ID::FullPage},        {QKeyCombination(Qt::Key_Delete), ID::ClearText},
    {Qt::CTRL | Qt::Key_C, ID::EditCopy},        {Qt::CTRL | Qt::Key_Insert, ID::EditCopy},
    {Qt::CTRL | Qt::Key_V, ID::EditPaste},       {Qt::SHIFT | Qt::Key_Insert, ID::EditPaste},
    {Qt::CTRL | Qt::Key_X, ID::EditCut},         {Qt::SHIFT | Qt::Key_Delete, ID::EditCut},
    {Qt::CTRL | Qt::Key_Z, ID::EditUndo},        {Qt::ALT | Qt::Key_Backspace, ID::EditUndo},
    {Qt::CTRL | Qt::Key_Y, ID::EditRedo},        {Qt::CTRL | Qt::SHIFT | Qt::Key_Z, ID::EditRedo},
    {QKeyCombination(Qt::Key_F6), ID::NextPane}, {Qt::SHIFT | Qt::Key_F6, ID::PrevPane},
};

QString Utf8(const char* text)
{
    return QString::fromUtf8(text);
}

// A toolbar picture with a disabled look of its own: grey and faint, so a
// disabled button never looks enabled (the look Qt derives from a dark SVG
// picture stays almost black). Drawn at the sizes toolbars and high-density
// screens ask for.
QIcon ToolbarIcon(const QString& name)
{
    const QIcon picture(QStringLiteral(":/icons/%1.svg").arg(name));
    QIcon icon;
    for (const int nSize : {16, 24, 32, 48}) {
        const QPixmap normal = picture.pixmap(nSize, nSize);
        QImage faded = normal.toImage().convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < faded.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(faded.scanLine(y));
            for (int x = 0; x < faded.width(); ++x) {
                const int nGrey = 128 + qGray(line[x]) / 2;
                line[x] = qRgba(nGrey, nGrey, nGrey, qAlpha(line[x]) * 2 / 5);
            }
        }
        icon.addPixmap(normal, QIcon::Normal);
        icon.addPixmap(QPixmap::fromImage(faded), QIcon::Disabled);
    }
    return icon;
}

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

CMainFrame::CMainFrame(CTAVRODoc* pDocument, const CCommandMap* pAppCommands, QWidget* parent)
    : QMainWindow(parent), m_pDocument(pDocument)
{
    m_pView = new CTAVROView(pDocument, this);
    setCentralWidget(m_pView);

    // The command maps in their order of precedence: each command is bound
    // once, here, to the first map that handles it.
    m_router.AddTarget(&m_pView->CommandMap());
    m_router.AddTarget(&pDocument->CommandMap());
    m_router.AddTarget(&m_commands);
    if (pAppCommands)
        m_router.AddTarget(pAppCommands);

    m_commands.On(ID::ViewFormatBar, [this] { OnViewFormatBar(); });
    m_commands.On(ID::ImportWireList, [this] { ImportWireList(this, *m_pView); });
    m_commands.OnUpdate(ID::ViewFormatBar, [this](CCmdUI& ui) { ui.SetCheck(!m_wndFormatBar->isHidden()); });
    m_commands.On(ID::ViewToolBar, [this] { m_wndToolBar->setHidden(!m_wndToolBar->isHidden()); });
    m_commands.OnUpdate(ID::ViewToolBar, [this](CCmdUI& ui) { ui.SetCheck(!m_wndToolBar->isHidden()); });
    m_commands.On(ID::ViewStatusBar, [this] { statusBar()->setHidden(!statusBar()->isHidden()); });
    m_commands.OnUpdate(ID::ViewStatusBar, [this](CCmdUI& ui) { ui.SetCheck(!statusBar()->isHidden()); });

    CreateActions();
    CreateMenus();
    CreateToolBars();
    CreateStatusBar();
    CreateAccelerators();

    setWindowIcon(QIcon(QStringLiteral(":/tavromark.svg")));
    setAcceptDrops(true);
    setMaximumSize(kMaxWidth, kMaxHeight);
    const QRect available = screen()->availableGeometry();
    resize(qMin(kMaxWidth, available.width()), qMin(kMaxHeight, available.height()));
    move(available.center() - rect().center());

    // The commands' state follows the sheet: the selection enables the
    // commands on selected labels, the labels decide the shrink-to-fit check.
    const CSheetModel* pModel = &pDocument->Model();
    connect(pModel, &CSheetModel::selectionChanged, this, &CMainFrame::ScheduleUpdate);
    connect(pModel, &CSheetModel::labelsChanged, this, &CMainFrame::ScheduleUpdate);
    connect(pModel, &CSheetModel::formatChanged, this, &CMainFrame::ScheduleUpdate);
    connect(pModel, &CSheetModel::modifiedChanged, this, &CMainFrame::ScheduleUpdate);
    connect(pModel, &CSheetModel::modifiedChanged, this, &QWidget::setWindowModified);
    // Paste depends on what the clipboard holds, whoever put it there.
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, &CMainFrame::ScheduleUpdate);
    connect(m_pView, &CTAVROView::statusMessage, this,
            [this](const QString& text) { statusBar()->showMessage(text, 10000); });
    const QUndoStack* pUndoStack = &pDocument->Model().UndoStack();
    connect(pUndoStack, &QUndoStack::indexChanged, this, &CMainFrame::UpdateUndoTexts);
    connect(pUndoStack, &QUndoStack::cleanChanged, this, &CMainFrame::UpdateUndoTexts);

    // The lock keys change outside the program: a light poll of their own.
    m_pKeyTimer = new QTimer(this);
    m_pKeyTimer->setInterval(250);
    connect(m_pKeyTimer, &QTimer::timeout, this, &CMainFrame::UpdateKeyIndicators);
    m_pKeyTimer->start();

    connect(m_pView, &CTAVROView::initialUpdateDone, &CSplashWnd::OnViewInitialUpdate);
    SetDocumentTitle(pDocument->GetTitle());
    setWindowModified(pDocument->IsModified());
    UpdateUndoTexts();
    SetRecentFiles({});
    UpdateCommandUI();
    CSplashWnd::ShowSplashScreen(this);
}

CMainFrame::~CMainFrame() = default;

QAction* CMainFrame::Action(int nID) const
{
    const auto it = m_actions.find(nID);
    return it == m_actions.end() ? nullptr : it->second;
}

void CMainFrame::CreateActions()
{
    for (const CCommandText& command : kCommandTexts) {
        auto* action = new QAction(this);
        action->setStatusTip(Utf8(command.szPrompt));
        if (command.szToolTip[0])
            action->setToolTip(Utf8(command.szToolTip));
        if (command.szIcon[0]) {
            action->setIcon(ToolbarIcon(Utf8(command.szIcon)));
            action->setIconVisibleInMenu(false);
        }
        // Commands without a menu item are named by their tooltip.
        action->setText(Utf8(command.szToolTip));
        BindAction(action, command.nID);
    }
    for (int i = 0; i < CRecentFileList::kMaxEntries; ++i) {
        auto* action = new QAction(this);
        action->setStatusTip(QStringLiteral("打开该文档"));
        BindAction(action, ID::FileMru1 + i);
        m_recentFileActions.append(action);
    }
}

void CMainFrame::BindAction(QAction* action, int nID)
{
    action->setData(nID);
    m_actions[nID] = action;
    if (const CCommandMap::Handler* handler = m_router.FindHandler(nID)) {
        connect(action, &QAction::triggered, this, *handler);
        // A command may change what the others may do (the bars' check
        // marks, full-page display).
        connect(action, &QAction::triggered, this, &CMainFrame::ScheduleUpdate);
    }
}

void CMainFrame::CreateMenus()
{
    const auto addItems = [this](QMenu* menu, const auto& items) {
        for (const CMenuItem& item : items) {
            if (!item.szText) {
                menu->addSeparator();
                continue;
            }
            QAction* action = Action(item.nID);
            action->setText(Utf8(item.szText));
            menu->addAction(action);
        }
    };
    const auto addMenu = [this](const char* szTitle) { return menuBar()->addMenu(Utf8(szTitle)); };

    m_pFileMenu = addMenu("文件(&F)");
    const CMenuItem fileItems[] = {
        {"新建(&N)\tCtrl+N", ID::FileNewSheet},
        {"打开(&O)...\tCtrl+O", ID::FileOpen},
        {"导入线号表(&W)...", ID::ImportWireList},
        {"保存(&S)\tCtrl+S", ID::FileSave},
        {"另存为(&A)...", ID::FileSaveAs},
        {nullptr, 0},
        {"设定偏移量(&M)...", ID::PageOffset},
        {"打印校准页(&C)...", ID::CalibrationPage},
        {"设置打印机(&R)...", ID::FilePrintSetup},
        {nullptr, 0},
        {"打印预览(&V)", ID::PrintPreviewMenu},
        {"打印基准线(&L)...", ID::PrintBaseline},
        {"打印标签(&P)...\tCtrl+P", ID::PrintLabels},
        {nullptr, 0},
    };
    addItems(m_pFileMenu, fileItems);
    m_pFileMenu->addActions(m_recentFileActions);
    m_pFileMenu->addSeparator();
    const CMenuItem exitItem[] = {{"退出(&X)", ID::AppExit}};
    addItems(m_pFileMenu, exitItem);

    addItems(addMenu("编辑(&E)"), kEditMenu);
    addItems(addMenu("文字(&O)"), kTextMenu);
    addItems(addMenu("选择(&S)"), kSelectMenu);
    addItems(addMenu("查看(&V)"), kViewMenu);
    addItems(addMenu("帮助(&H)"), kHelpMenu);
}

void CMainFrame::CreateToolBars()
{
    const auto makeBar = [this](const QString& title, const QString& name, const auto& buttons) {
        auto* bar = new QToolBar(title, this);
        bar->setObjectName(name);
        bar->setIconSize(QSize(16, 16));
        bar->setFloatable(false);
        bar->setAllowedAreas(Qt::TopToolBarArea);
        for (const int nID : buttons) {
            if (nID == 0)
                bar->addSeparator();
            else
                bar->addAction(Action(nID));
        }
        return bar;
    };
    m_wndToolBar = makeBar(QStringLiteral("文件工具栏"), QStringLiteral("FileToolBar"), kFileToolBar);
    m_wndFormatBar = makeBar(QStringLiteral("标签格式工具栏"), QStringLiteral("FormatBar"), kFormatBar);
    addToolBar(Qt::TopToolBarArea, m_wndToolBar);
    addToolBarBreak(Qt::TopToolBarArea);
    addToolBar(Qt::TopToolBarArea, m_wndFormatBar);
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

void CMainFrame::CreateAccelerators()
{
    for (const CAccelerator& accelerator : kAccelerators) {
        auto* shortcut = new QShortcut(QKeySequence(accelerator.key), this);
        if (QAction* action = Action(accelerator.nID))
            connect(shortcut, &QShortcut::activated, action, &QAction::trigger);
    }
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

void CMainFrame::ExecuteCommand(int nID)
{
    if (const CCommandMap::Handler* handler = m_router.FindHandler(nID))
        (*handler)();
    UpdateCommandUI();
}

void CMainFrame::UpdateCommandUI()
{
    m_bUpdateScheduled = false;
    for (const auto& [nID, action] : m_actions) {
        const CCmdUI ui = m_router.Update(nID);
        action->setEnabled(ui.m_bEnabled);
        // Only a checked command shows as checkable, so that menus draw no
        // empty check boxes beside ordinary items.
        action->setCheckable(ui.m_bChecked);
        action->setChecked(ui.m_bChecked);
    }
}

void CMainFrame::ScheduleUpdate()
{
    if (m_bUpdateScheduled)
        return;
    m_bUpdateScheduled = true;
    QTimer::singleShot(0, this, &CMainFrame::UpdateCommandUI);
}

void CMainFrame::SetRecentFiles(const QStringList& paths)
{
    for (int i = 0; i < m_recentFileActions.size(); ++i) {
        QAction* action = m_recentFileActions[i];
        if (i < paths.size()) {
            action->setText(RecentFileText(i, paths[i]));
            action->setVisible(true);
        } else {
            // The first slot stays as the greyed placeholder of an empty list.
            action->setText(QStringLiteral("最近文件"));
            action->setVisible(i == 0);
        }
    }
    ScheduleUpdate();
}

void CMainFrame::SetDocumentTitle(const QString& title)
{
    // "[*]" shows as "*" while the document is modified.
    setWindowTitle(title + QStringLiteral("[*] - TAVRO"));
}

void CMainFrame::UpdateUndoTexts()
{
    const QUndoStack& stack = m_pDocument->Model().UndoStack();
    // "撤销 设定文字": the command and the step it would take.
    const auto show = [this](int nID, const char* szCommand, const QString& step,
                             const char* szMnemonicAndKey) {
        const QString strName = step.isEmpty() ? Utf8(szCommand) : Utf8(szCommand) + QLatin1Char(' ') + step;
        QAction* action = Action(nID);
        action->setToolTip(strName);
        action->setText(strName + Utf8(szMnemonicAndKey));
    };
    show(ID::EditUndo, "撤销", stack.undoText(), "(&U)\tCtrl+Z");
    show(ID::EditRedo, "重做", stack.redoText(), "(&R)\tCtrl+Y");
    ScheduleUpdate();
}

void CMainFrame::OnViewFormatBar()
{
    m_wndFormatBar->setHidden(!m_wndFormatBar->isHidden());
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    if (m_pDocument->SaveModified())
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
