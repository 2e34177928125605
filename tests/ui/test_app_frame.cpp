#include "test_app_support.h"

#include "app/CAboutDlg.h"
#include "app/CSplashWnd.h"
#include "app/DesktopIntegration.h"
#include "base/AppMessageBox.h"

#include <QFontInfo>
#include <QGlyphRun>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QRawFont>
#include <QResource>
#include <QShortcut>
#include <QStatusBar>
#include <QTest>
#include <QTextLayout>
#include <QToolBar>
#include <QWindow>

#include <algorithm>
#include <set>

namespace {

// A bar's buttons by action name, "-" for a separator.
QStringList BarLayout(const QToolBar* bar)
{
    QStringList layout;
    for (const QAction* action : bar->actions())
        layout.append(action->isSeparator() ? QStringLiteral("-") : action->objectName());
    return layout;
}

QStringList MenuTexts(const QMenu* menu)
{
    QStringList texts;
    for (const QAction* action : menu->actions())
        texts.append(ShownText(action));
    return texts;
}

} // namespace

TEST_F(AppTest, MenusCarryTheirExactTexts)
{
    QStringList titles;
    for (const QAction* action : Frame()->menuBar()->actions())
        titles.append(action->text());
    EXPECT_EQ(titles, QStringList({"文件(&F)", "编辑(&E)", "文字(&O)", "选择(&S)", "查看(&V)", "帮助(&H)"}));

    const std::vector<QStringList> expected = {
        {"新建(&N)\tCtrl+N",
         "打开(&O)...\tCtrl+O",
         "导入线号表(&W)...",
         "保存(&S)\tCtrl+S",
         "另存为(&A)...",
         "-",
         "设定偏移量(&M)...",
         "打印校准页(&C)...",
         "设置打印机(&R)...",
         "-",
         "打印预览(&V)",
         "打印基准线(&L)...\tCtrl+L",
         "打印标签(&P)...\tCtrl+P",
         "-",
         "最近文件",
         "最近文件",
         "最近文件",
         "最近文件",
         "-",
         "退出(&X)"},
        {"撤销(&U)\tCtrl+Z", "重做(&R)\tCtrl+Y", "-", "剪切(&T)\tCtrl+X", "复制(&C)\tCtrl+C",
         "粘贴(&P)\tCtrl+V"},
        {"清除文字(&D)\tDel", "设定文字(&S)\tCtrl+T", "-", "序列编号(&Q)..."},
        {"全选(&A)\tCtrl+A", "全不选(&N)", "反选(&V)\tCtrl+I", "-", "选取文字(&T)", "选取空白(&O)"},
        {"整页显示(&W)\tCtrl+W", "-", "文件工具栏(&T)", "标签格式工具栏(&M)", "-", "状态栏(&S)"},
        {"关于 TAVRO(&A)..."},
    };
    const QList<QAction*> menus = Frame()->menuBar()->actions();
    ASSERT_EQ(menus.size(), qsizetype(expected.size()));
    for (size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(titles[qsizetype(i)].toStdString());
        EXPECT_EQ(MenuTexts(menus[qsizetype(i)]->menu()), expected[i]);
    }
    // Of the recent-file slots only the placeholder shows while the list is empty.
    EXPECT_TRUE(Frame()->Controller()->RecentFileAction(0)->isVisible());
    EXPECT_FALSE(Frame()->Controller()->RecentFileAction(1)->isVisible());
}

TEST_F(AppTest, ToolbarsHoldTheirButtonsWithTipsAndPrompts)
{
    const QStringList fileBar = {"actionFileNew",
                                 "actionFileOpen",
                                 "actionFileSave",
                                 "-",
                                 "actionUndo",
                                 "actionRedo",
                                 "-",
                                 "actionSelectAll",
                                 "actionSelectNone",
                                 "actionInvertSelection",
                                 "-",
                                 "actionSelectText",
                                 "actionSelectEmpty",
                                 "-",
                                 "actionSetText",
                                 "actionClearText",
                                 "-",
                                 "actionFullPage",
                                 "-",
                                 "actionPrintBaseline",
                                 "actionPrintLabels",
                                 "-",
                                 "actionAbout"};
    const QStringList formatBar = {"actionFont",
                                   "actionAutoShrink",
                                   "-",
                                   "actionLabelSettings",
                                   "-",
                                   "actionAlignTopLeft",
                                   "actionAlignTopCentre",
                                   "actionAlignTopRight",
                                   "-",
                                   "actionAlignMiddleLeft",
                                   "actionAlignMiddleCentre",
                                   "actionAlignMiddleRight",
                                   "-",
                                   "actionAlignBottomLeft",
                                   "actionAlignBottomCentre",
                                   "actionAlignBottomRight",
                                   "-",
                                   "actionTextDirection"};
    EXPECT_EQ(BarLayout(Frame()->FileToolBar()), fileBar);
    EXPECT_EQ(BarLayout(Frame()->FormatBar()), formatBar);
    // The direction button opens its menu of the five directions, each with
    // its picture.
    const auto* pDirections = Frame()->Action(QStringLiteral("actionTextDirection"))->menu<QMenu*>();
    ASSERT_NE(pDirections, nullptr);
    QStringList directions;
    for (const QAction* pAction : pDirections->actions()) {
        directions << pAction->objectName();
        EXPECT_FALSE(pAction->icon().isNull());
    }
    EXPECT_EQ(directions,
              QStringList({"actionDirectionHorizontal", "actionDirectionUp", "actionDirectionDown",
                           "actionDirectionUpsideDown", "actionDirectionVertical"}));

    struct
    {
        const char* szName;
        const char* szPrompt;
        const char* szTip;
    } const texts[] = {
        {"actionFileNew", "建立新文档", "新建"},
        {"actionFileOpen", "打开一个现有文档", "打开"},
        {"actionFileSave", "保存活动文档", "保存"},
        {"actionSelectText", "选取文字标签", "选取文字标签"},
        {"actionAbout", "显示程序信息，版本号和版权", "关于"},
        {"actionFont", "设置字体", "字体"},
        {"actionAutoShrink", "文字太多时按比例缩小", "自动缩小"},
        {"actionAlignMiddleCentre", "靠中中对齐", "靠中中对齐"},
        {"actionTextDirection", "设置文字方向", "文字方向"},
        {"actionDirectionVertical", "中文竖排，由上往下、由右往左", "竖排"},
        {"actionFileSaveAs", "将活动文档以一个新文件名保存", nullptr},
        {"actionExit", "退出应用程序；提示保存文档", nullptr},
        {"actionViewToolBar", "显示或隐藏文件工具栏", nullptr},
        {"actionViewFormatBar", "显示或隐藏标签格式工具栏", nullptr},
        {"actionViewStatusBar", "显示或隐藏状态栏", nullptr},
        {"actionPageOffset", "设定打印偏移量", nullptr},
        {"actionPrintSetup", "改变打印机及打印选项", nullptr},
        {"actionPrintPreview", "打印预览", nullptr},
    };
    for (const auto& t : texts) {
        SCOPED_TRACE(t.szName);
        QAction* action = Frame()->Action(QLatin1String(t.szName));
        ASSERT_NE(action, nullptr);
        EXPECT_EQ(action->statusTip(), QString::fromUtf8(t.szPrompt));
        if (t.szTip) {
            EXPECT_EQ(action->toolTip(), QString::fromUtf8(t.szTip));
        }
    }
    // Every button has its picture.
    for (const QToolBar* bar : {Frame()->FileToolBar(), Frame()->FormatBar()})
        for (const QAction* action : bar->actions())
            if (!action->isSeparator()) {
                EXPECT_FALSE(action->icon().pixmap(16, 16).isNull()) << action->toolTip().toStdString();
            }
}

TEST_F(AppTest, StatusBarShowsReadyAndTheLockKeyPanes)
{
    const QList<QLabel*> labels = Frame()->statusBar()->findChildren<QLabel*>();
    QStringList shown;
    QStringList indicators;
    for (const QLabel* label : labels) {
        shown.append(label->text());
        if (label->property("indicatorText").isValid())
            indicators.append(label->property("indicatorText").toString());
    }
    EXPECT_TRUE(shown.contains(QStringLiteral("就绪")));
    EXPECT_EQ(indicators, QStringList({"大写", "数字", "滚动"}));

    // A command's prompt covers the message pane while the pointer rests on it.
    QStatusTipEvent tip(QStringLiteral("保存活动文档"));
    QApplication::sendEvent(Frame(), &tip);
    EXPECT_EQ(Frame()->statusBar()->currentMessage(), QStringLiteral("保存活动文档"));
    QStatusTipEvent none{QString()};
    QApplication::sendEvent(Frame(), &none);
    EXPECT_TRUE(Frame()->statusBar()->currentMessage().isEmpty());
}

TEST_F(AppTest, FormatBarToggleTwiceRestoresItWithTheCheckMark)
{
    QAction* toggle = Frame()->Action("actionViewFormatBar");
    EXPECT_TRUE(toggle->isChecked());
    for (const bool bShown : {false, true}) {
        RunAction(*Frame()->Controller(), "actionViewFormatBar");
        EXPECT_EQ(!Frame()->FormatBar()->isHidden(), bShown);
        EXPECT_EQ(toggle->isChecked(), bShown);
        EXPECT_FALSE(Frame()->FileToolBar()->isHidden());
    }
}

TEST_F(AppTest, EachBarHidesAlone)
{
    RunAction(*Frame()->Controller(), "actionViewToolBar");
    EXPECT_TRUE(Frame()->FileToolBar()->isHidden());
    EXPECT_FALSE(Frame()->FormatBar()->isHidden());
    EXPECT_FALSE(Frame()->Action("actionViewToolBar")->isChecked());
    EXPECT_TRUE(Frame()->Action("actionViewFormatBar")->isChecked());
    RunAction(*Frame()->Controller(), "actionViewToolBar");
    RunAction(*Frame()->Controller(), "actionViewFormatBar");
    EXPECT_FALSE(Frame()->FileToolBar()->isHidden());
    EXPECT_TRUE(Frame()->FormatBar()->isHidden());
    RunAction(*Frame()->Controller(), "actionViewFormatBar");

    // Hidden from the window's context menu, a bar's 查看 item loses its
    // mark, and the item shows it again.
    Frame()->FileToolBar()->toggleViewAction()->trigger();
    EXPECT_TRUE(Frame()->FileToolBar()->isHidden());
    EXPECT_FALSE(Frame()->Action("actionViewToolBar")->isChecked());
    RunAction(*Frame()->Controller(), "actionViewToolBar");
    EXPECT_FALSE(Frame()->FileToolBar()->isHidden());
    EXPECT_TRUE(Frame()->Action("actionViewToolBar")->isChecked());
    EXPECT_TRUE(Frame()->FileToolBar()->toggleViewAction()->isChecked());

    RunAction(*Frame()->Controller(), "actionViewStatusBar");
    EXPECT_TRUE(Frame()->statusBar()->isHidden());
    EXPECT_FALSE(Frame()->Action("actionViewStatusBar")->isChecked());
    RunAction(*Frame()->Controller(), "actionViewStatusBar");
    EXPECT_FALSE(Frame()->statusBar()->isHidden());
}

namespace {

// The darkest a picture looks on a white button.
int DarkestOnWhite(const QPixmap& pixmap)
{
    const QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
    int nDarkest = 255;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb rgb = image.pixel(x, y);
            nDarkest = std::min(nDarkest, 255 - qAlpha(rgb) * (255 - qGray(rgb)) / 255);
        }
    return nDarkest;
}

} // namespace

TEST_F(AppTest, EveryDisabledToolbarPictureLooksDisabled)
{
    EXPECT_LT(DarkestOnWhite(Frame()->Action("actionSetText")->icon().pixmap(16, QIcon::Normal)), 80);
    for (QToolBar* bar : {Frame()->FileToolBar(), Frame()->FormatBar()})
        for (QAction* action : bar->actions()) {
            if (action->isSeparator())
                continue;
            SCOPED_TRACE(action->toolTip().toStdString());
            for (const int nSize : {16, 32})
                EXPECT_GE(DarkestOnWhite(action->icon().pixmap(nSize, QIcon::Disabled)), 150);
        }
}

TEST_F(AppTest, FrameIsNeverLargerThan1024By768)
{
    Frame()->show();
    Frame()->resize(2000, 1500);
    EXPECT_LE(Frame()->width(), 1024);
    EXPECT_LE(Frame()->height(), 768);
    EXPECT_EQ(Frame()->maximumSize(), QSize(1024, 768));
}

TEST_F(AppTest, EveryCommandIsEnabledOnTheStartSheet)
{
    // The text, format and print commands act on the new sheet's labels, all
    // selected.
    const char* const ready[] = {"actionFileOpen",
                                 "actionFileSave",
                                 "actionFileSaveAs",
                                 "actionExit",
                                 "actionAbout",
                                 "actionViewToolBar",
                                 "actionViewFormatBar",
                                 "actionViewStatusBar",
                                 "actionSetText",
                                 "actionClearText",
                                 "actionFont",
                                 "actionAutoShrink",
                                 "actionLabelSettings",
                                 "actionAlignTopLeft",
                                 "actionAlignTopCentre",
                                 "actionAlignTopRight",
                                 "actionAlignMiddleLeft",
                                 "actionAlignMiddleCentre",
                                 "actionAlignMiddleRight",
                                 "actionAlignBottomLeft",
                                 "actionAlignBottomCentre",
                                 "actionAlignBottomRight",
                                 "actionPageOffset",
                                 "actionPrintSetup",
                                 "actionCalibrationPage",
                                 "actionPrintPreview",
                                 "actionPrintBaseline",
                                 "actionPrintLabels"};
    for (const char* szName : ready) {
        SCOPED_TRACE(szName);
        EXPECT_TRUE(Frame()->Action(QLatin1String(szName))->isEnabled());
    }
}

TEST_F(AppTest, AcceleratorTableBindsEveryKey)
{
    std::set<QString> keys;
    for (const QAction* action : Frame()->Controller()->findChildren<QAction*>())
        for (const QKeySequence& key : action->shortcuts())
            keys.insert(key.toString(QKeySequence::PortableText));
    for (const QShortcut* shortcut : Frame()->findChildren<QShortcut*>())
        keys.insert(shortcut->key().toString(QKeySequence::PortableText));
    const std::set<QString> expected = {
        "Ctrl+A", "Ctrl+I",        "Ctrl+L", "Ctrl+N",   "Ctrl+O", "Ctrl+P",       "Ctrl+S", "Ctrl+T",
        "Ctrl+W", "Del",           "Ctrl+C", "Ctrl+Ins", "Ctrl+V", "Shift+Ins",    "Ctrl+X", "Shift+Del",
        "Ctrl+Z", "Alt+Backspace", "F6",     "Shift+F6", "Ctrl+Y", "Ctrl+Shift+Z",
    };
    EXPECT_EQ(keys, expected);
}

TEST_F(AppTest, AcceleratorsRunTheirCommand)
{
    Frame()->show();
    QApplication::setActiveWindow(Frame());
    QStringList filters;
    AnswerNextFileDialog(PathOf(QStringLiteral("by-key.tav")), &filters);
    QTest::keyClick(Frame(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(ReadFile(PathOf(QStringLiteral("by-key.tav"))).size(), 8871);
    // The keys of commands nothing carries out do nothing.
    QTest::keyClick(Frame(), Qt::Key_F6);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(AppTest, QtDialogsSpeakChinese)
{
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "&Yes"), QStringLiteral("是(&Y)"));
}

TEST_F(AppTest, InterfaceChineseIsDrawnInNotoSansCjkScAndLatinInTheInterfaceFace)
{
    // Whatever the locale (the C locale's fontconfig order would pick a brush
    // face for the Chinese).
    const auto facesOf = [this](const QString& text) {
        QTextLayout layout(text, Frame()->menuBar()->font());
        layout.beginLayout();
        layout.createLine();
        layout.endLayout();
        QStringList faces;
        for (const QGlyphRun& run : layout.glyphRuns())
            faces.append(run.rawFont().familyName());
        return faces;
    };
    EXPECT_EQ(facesOf(QStringLiteral("文件")), QStringList{QStringLiteral("Noto Sans CJK SC")});
    EXPECT_EQ(facesOf(QStringLiteral("File")), QStringList{QFontInfo(QApplication::font()).family()});
}

TEST_F(AppTest, StartUpInstallsTheDesktopRegistrationAndUnregisterRemovesIt)
{
    const QString dataHome = qEnvironmentVariable("XDG_DATA_HOME");
    ASSERT_FALSE(dataHome.isEmpty());
    const QString entry = dataHome + QStringLiteral("/applications/tavromark.desktop");
    const QString type = dataHome + QStringLiteral("/mime/packages/tavromark.xml");
    EXPECT_TRUE(QFile::exists(entry));
    EXPECT_TRUE(QFile::exists(type));
    EXPECT_TRUE(ReadFile(type).contains("*.tav"));
    EXPECT_TRUE(UnregisterDesktopIntegration().isEmpty());
    EXPECT_FALSE(QFile::exists(entry));
    EXPECT_FALSE(QFile::exists(type));
}

TEST(Splash, KeyPressClosesItAndIsSwallowed)
{
    QWidget owner;
    CSplashWnd::EnableSplashScreen(true);
    CSplashWnd::ShowSplashScreen(&owner);
    CSplashWnd* splash = CSplashWnd::Current();
    ASSERT_NE(splash, nullptr);
    EXPECT_EQ(splash->size(), QSize(520, 317));
    // Shown once: a second call makes no second splash.
    CSplashWnd::ShowSplashScreen(&owner);
    EXPECT_EQ(CSplashWnd::Current(), splash);

    QKeyEvent key(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
    EXPECT_TRUE(CSplashWnd::FilterAppEvent(&key));
    EXPECT_EQ(CSplashWnd::Current(), nullptr);
    // With the splash gone, input flows again.
    EXPECT_FALSE(CSplashWnd::FilterAppEvent(&key));
    CSplashWnd::EnableSplashScreen(false);
}

// The splash shows the application's picture as the about box does, with
// the version written on it, at its first paint and at any later one.
TEST(Splash, ShowsTheAppPictureWithTheVersion)
{
    QWidget owner;
    CSplashWnd::EnableSplashScreen(true);
    CSplashWnd::ShowSplashScreen(&owner);
    CSplashWnd* splash = CSplashWnd::Current();
    ASSERT_NE(splash, nullptr);
    const QImage picture = AppPicture(splash).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(picture.size(), QSize(520, 317));
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(splash->grab().toImage().convertToFormat(QImage::Format_RGB32), picture);
    }
    const QByteArray pixels = QResource(QStringLiteral(":/splash@1x.rgb32")).uncompressedData();
    const QImage plain(reinterpret_cast<const uchar*>(pixels.constData()), 520, 317, QImage::Format_RGB32);
    EXPECT_NE(picture.copy(38, 190, 250, 20), plain.copy(38, 190, 250, 20)) << "the version is written";
    EXPECT_EQ(picture.copy(300, 0, 220, 317), plain.copy(300, 0, 220, 317));
    splash->HideSplashScreen();
    CSplashWnd::EnableSplashScreen(false);
}

// The splash is no child of its owner's window, but is stacked over it as its
// transient once the owner is shown, and goes when the owner goes.
TEST(Splash, StaysOverItsOwnerAndGoesWithIt)
{
    auto owner = std::make_unique<QWidget>();
    CSplashWnd::EnableSplashScreen(true);
    CSplashWnd::ShowSplashScreen(owner.get());
    CSplashWnd* splash = CSplashWnd::Current();
    ASSERT_NE(splash, nullptr);
    EXPECT_EQ(splash->parentWidget(), nullptr);
    EXPECT_FALSE(owner->testAttribute(Qt::WA_WState_Created))
        << "the owner's window is made when it is shown";
    owner->show();
    ASSERT_NE(splash->windowHandle(), nullptr);
    EXPECT_EQ(splash->windowHandle()->transientParent(), owner->windowHandle());
    owner.reset();
    EXPECT_EQ(CSplashWnd::Current(), nullptr);
    CSplashWnd::EnableSplashScreen(false);
}

TEST(Splash, MouseButtonClosesItButMovesDoNot)
{
    QWidget owner;
    CSplashWnd::EnableSplashScreen(true);
    CSplashWnd::ShowSplashScreen(&owner);
    QMouseEvent move(QEvent::MouseMove, QPointF(1, 1), QPointF(1, 1), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    EXPECT_FALSE(CSplashWnd::FilterAppEvent(&move));
    EXPECT_NE(CSplashWnd::Current(), nullptr);
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(1, 1), QPointF(1, 1), Qt::RightButton,
                      Qt::RightButton, Qt::NoModifier);
    EXPECT_TRUE(CSplashWnd::FilterAppEvent(&press));
    EXPECT_EQ(CSplashWnd::Current(), nullptr);
    CSplashWnd::EnableSplashScreen(false);
}

TEST(Splash, GoesSoonAfterTheViewsFirstUpdate)
{
    QWidget owner;
    CSplashWnd::EnableSplashScreen(true);
    CSplashWnd::ShowSplashScreen(&owner);
    ASSERT_NE(CSplashWnd::Current(), nullptr);
    QElapsedTimer clock;
    clock.start();
    CSplashWnd::OnSheetShown();
    EXPECT_EVENTUALLY(CSplashWnd::Current() == nullptr);
    EXPECT_GE(clock.elapsed(), CSplashWnd::kCloseDelayMs - 50);
    CSplashWnd::EnableSplashScreen(false);
}

TEST(Splash, DisabledShowsNothing)
{
    QWidget owner;
    CSplashWnd::EnableSplashScreen(false);
    CSplashWnd::ShowSplashScreen(&owner);
    EXPECT_EQ(CSplashWnd::Current(), nullptr);
    CSplashWnd::OnSheetShown(); // no splash, no timer, no harm
}

TEST(AboutBox, ClosesOnEnterEscapeAndAClick)
{
    struct
    {
        const char* szName;
        std::function<void(CAboutDlg*)> close;
    } const cases[] = {
        {"Enter", [](CAboutDlg* dlg) { QTest::keyClick(dlg, Qt::Key_Return); }},
        {"Escape", [](CAboutDlg* dlg) { QTest::keyClick(dlg, Qt::Key_Escape); }},
        {"click on the picture",
         [](CAboutDlg* dlg) { QTest::mouseClick(dlg, Qt::LeftButton, {}, QPoint(260, 150)); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.szName);
        CAboutDlg dlg;
        EXPECT_EQ(dlg.size(), QSize(520, 317));
        bool bAnswered = false;
        AnswerNextDialog<CAboutDlg>([&](CAboutDlg* shown) {
            c.close(shown);
            bAnswered = !shown->isVisible();
        });
        QElapsedTimer clock;
        clock.start();
        dlg.exec();
        EXPECT_TRUE(bAnswered);
        EXPECT_LT(clock.elapsed(), CAboutDlg::kCloseAfterMs);
    }
}

TEST(Splash, AMessageBoxTakesItsPlace)
{
    QWidget owner;
    CSplashWnd::EnableSplashScreen(true);
    CSplashWnd::ShowSplashScreen(&owner);
    ASSERT_NE(CSplashWnd::Current(), nullptr);
    CSeenBox seen;
    AnswerNextMessageBox(QMessageBox::Ok, &seen);
    AppMessageBox(&owner, QMessageBox::Warning, QStringLiteral("错误的文件格式！"));
    EXPECT_TRUE(seen.m_bShown);
    EXPECT_EQ(seen.m_strCaption, QStringLiteral("Tavromark"));
    EXPECT_EQ(CSplashWnd::Current(), nullptr);
    CSplashWnd::EnableSplashScreen(false);
}
