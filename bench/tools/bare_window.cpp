// The floor of the program's start-up: a bare Qt main window with the same
// menus and toolbars (the same texts, the same pictures from the same
// resource files, as plain actions), a status bar, and a scrolled page of
// 15 × 25 cells like the 375 labels of the sheet view (white fill, frame, the
// text "W001" to "W375" in the same Noto CJK face), each cell painted where
// exposed, and the program's interface font (its Chinese in Noto Sans CJK
// SC). Nothing else: no document, no settings, no printer, no splash.
// Run with TAVRO_EXIT_AFTER_FIRST_PAINT=1, it prints "first-paint-ns N" as
// the program does and quits; bench/startup.sh runs both side by side.
#include "app/StartupProbe.h"
#include "model/FontFace.h"

#include <QAction>
#include <QApplication>
#include <QIcon>
#include <QIconEngine>
#include <QMainWindow>
#include <QMenuBar>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>
#include <QScrollArea>
#include <QStatusBar>
#include <QSvgRenderer>
#include <QToolBar>

#include <map>
#include <utility>

namespace {

// A menu item or toolbar button: its text and picture (empty: none). A null
// text is a separator.
struct CItem
{
    const char* szText;
    const char* szIcon;
};

constexpr CItem kFileMenu[] = {
    {"新建(&N)", "file-new"},
    {"打开(&O)...", "file-open"},
    {"导入线号表(&W)...", ""},
    {"保存(&S)", "file-save"},
    {"另存为(&A)...", ""},
    {nullptr, ""},
    {"设定偏移量(&M)...", ""},
    {"打印校准页(&C)...", ""},
    {"设置打印机(&R)...", ""},
    {nullptr, ""},
    {"打印预览(&V)", ""},
    {"打印基准线(&L)...", "print-baseline"},
    {"打印标签(&P)...", "print-labels"},
    {nullptr, ""},
    {"最近文件", ""},
    {nullptr, ""},
    {"退出(&X)", ""},
};
constexpr CItem kEditMenu[] = {{"撤销(&U)", "edit-undo"}, {"重做(&R)", "edit-redo"}, {nullptr, ""},
                               {"剪切(&T)", ""},          {"复制(&C)", ""},          {"粘贴(&P)", ""}};
constexpr CItem kTextMenu[] = {
    {"清除文字(&D)", "clear-text"}, {"设定文字(&S)", "set-text"}, {nullptr, ""}, {"序列编号(&Q)...", ""}};
constexpr CItem kSelectMenu[] = {{"全选(&A)", "select-all"},      {"全不选(&N)", "select-none"},
                                 {"反选(&V)", "select-invert"},   {nullptr, ""},
                                 {"选取文字(&T)", "select-text"}, {"选取空白(&O)", "select-empty"}};
constexpr CItem kViewMenu[] = {{"整页显示(&W)", "full-page"}, {nullptr, ""}, {"文件工具栏(&T)", ""},
                               {"标签格式工具栏(&M)", ""},    {nullptr, ""}, {"状态栏(&S)", ""}};
constexpr CItem kHelpMenu[] = {{"关于 TAVRO(&A)...", "app-about"}};

constexpr CItem kFileToolBar[] = {
    {"新建", "file-new"},
    {"打开", "file-open"},
    {"保存", "file-save"},
    {nullptr, ""},
    {"撤销", "edit-undo"},
    {"重做", "edit-redo"},
    {nullptr, ""},
    {"全选", "select-all"},
    {"全不选", "select-none"},
    {"反选", "select-invert"},
    {nullptr, ""},
    {"选取文字标签", "select-text"},
    {"选取空白标签", "select-empty"},
    {nullptr, ""},
    {"设定文字", "set-text"},
    {"清除文字", "clear-text"},
    {nullptr, ""},
    {"整页显示", "full-page"},
    {nullptr, ""},
    {"打印基准线", "print-baseline"},
    {"打印标签", "print-labels"},
    {nullptr, ""},
    {"关于", "app-about"},
};
constexpr CItem kFormatBar[] = {
    {"字体", "font"},
    {"自动缩小", "auto-shrink"},
    {nullptr, ""},
    {"标签设置", "label-settings"},
    {nullptr, ""},
    {"靠上左对齐", "align-top-left"},
    {"靠上中对齐", "align-top-centre"},
    {"靠上右对齐", "align-top-right"},
    {nullptr, ""},
    {"靠中左对齐", "align-middle-left"},
    {"靠中中对齐", "align-middle-centre"},
    {"靠中右对齐", "align-middle-right"},
    {nullptr, ""},
    {"靠下左对齐", "align-bottom-left"},
    {"靠下中对齐", "align-bottom-centre"},
    {"靠下右对齐", "align-bottom-right"},
    {nullptr, ""},
    {"文字方向", "text-direction"},
};

// A picture read from its SVG file once a size, when first asked for, as the
// program reads its toolbar pictures; Qt's own SVG icons read the file three
// times, which would make this floor slower than the program.
class COnceASizeIconEngine : public QIconEngine
{
public:
    explicit COnceASizeIconEngine(QString file) : m_strFile(std::move(file)) {}

    QIconEngine* clone() const override { return new COnceASizeIconEngine(*this); }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        painter->drawPixmap(rect, pixmap(rect.size(), mode, state));
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode, QIcon::State) override
    {
        QPixmap& cached = m_cache[{size.width(), size.height()}];
        if (cached.isNull() && !size.isEmpty()) {
            QImage image(size, QImage::Format_ARGB32_Premultiplied);
            image.fill(Qt::transparent);
            QPainter painter(&image);
            QSvgRenderer(m_strFile).render(&painter);
            painter.end();
            cached = QPixmap::fromImage(image);
        }
        return cached;
    }

private:
    QString m_strFile;
    std::map<std::pair<int, int>, QPixmap> m_cache;
};

QAction* MakeAction(const CItem& item, QObject* parent)
{
    auto* action = new QAction(QString::fromUtf8(item.szText), parent);
    if (item.szIcon[0])
        action->setIcon(QIcon(
            new COnceASizeIconEngine(QStringLiteral(":/icons/%1.svg").arg(QLatin1String(item.szIcon)))));
    return action;
}

// The sheet: 15 × 25 cells on a page as the view shows an A4 sheet of
// 12 × 10 mm labels.
class CCellPage : public QWidget
{
public:
    static constexpr int kColumns = 15;
    static constexpr int kRows = 25;
    static constexpr int kPitchX = 60;
    static constexpr int kPitchY = 52;
    static constexpr int kCellWidth = 52;
    static constexpr int kCellHeight = 42;
    static constexpr int kMargin = 40;

    CCellPage() : m_font(QStringLiteral("Noto Serif CJK SC"))
    {
        m_font.setPixelSize(14);
        setFixedSize(2 * kMargin + kColumns * kPitchX, 2 * kMargin + kRows * kPitchY);
        setAutoFillBackground(true);
    }

protected:
    void paintEvent(QPaintEvent* event) override
    {
        QPainter painter(this);
        painter.setFont(m_font);
        for (int n = 0; n < kColumns * kRows; ++n) {
            const QRect cell(kMargin + n % kColumns * kPitchX, kMargin + n / kColumns * kPitchY, kCellWidth,
                             kCellHeight);
            if (!cell.intersects(event->rect()))
                continue;
            painter.fillRect(cell, Qt::white);
            painter.setPen(Qt::blue);
            painter.drawRect(cell.adjusted(0, 0, -1, -1));
            painter.setPen(Qt::black);
            painter.drawText(cell, Qt::AlignCenter,
                             QStringLiteral("W%1").arg(n + 1, 3, 10, QLatin1Char('0')));
        }
    }

private:
    QFont m_font;
};

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    // The program's interface font: its Chinese in Noto Sans CJK SC.
    QFont font = QApplication::font();
    font.setFamilies({font.family(), QString::fromUtf8(kChineseFallbackFamily)});
    QApplication::setFont(font);
    QMainWindow window;

    const auto addMenu = [&window](const char* szTitle, const auto& items) {
        QMenu* menu = window.menuBar()->addMenu(QString::fromUtf8(szTitle));
        for (const CItem& item : items) {
            if (!item.szText)
                menu->addSeparator();
            else
                menu->addAction(MakeAction(item, menu));
        }
    };
    addMenu("文件(&F)", kFileMenu);
    addMenu("编辑(&E)", kEditMenu);
    addMenu("文字(&O)", kTextMenu);
    addMenu("选择(&S)", kSelectMenu);
    addMenu("查看(&V)", kViewMenu);
    addMenu("帮助(&H)", kHelpMenu);

    const auto addBar = [&window](const auto& buttons) {
        auto* bar = new QToolBar(&window);
        bar->setIconSize(QSize(16, 16));
        for (const CItem& item : buttons) {
            if (!item.szText)
                bar->addSeparator();
            else
                bar->addAction(MakeAction(item, bar));
        }
        window.addToolBar(Qt::TopToolBarArea, bar);
    };
    addBar(kFileToolBar);
    window.addToolBarBreak(Qt::TopToolBarArea);
    addBar(kFormatBar);
    window.statusBar()->showMessage(QStringLiteral("就绪"));

    auto* scroll = new QScrollArea;
    auto* page = new CCellPage;
    scroll->setWidget(page);
    window.setCentralWidget(scroll);
    window.setWindowIcon(QIcon(QStringLiteral(":/tavromark.svg")));
    window.setWindowTitle(QStringLiteral("无标题[*] - TAVRO"));
    const QRect available = window.screen()->availableGeometry();
    window.resize(qMin(1024, available.width()), qMin(768, available.height()));

    ExitAfterFirstPaintIfAsked(scroll->viewport());
    window.show();
    return QApplication::exec();
}
