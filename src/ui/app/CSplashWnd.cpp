#include "app/CSplashWnd.h"

#include "base/AppMessageBox.h"

#include <QApplication>
#include <QEvent>
#include <QPainter>
#include <QScreen>
#include <QTimerEvent>

bool CSplashWnd::s_bEnabled = false;
CSplashWnd* CSplashWnd::s_pCurrent = nullptr;

QPixmap AppPicture(const QWidget* pWidget)
{
    const qreal dRatio = pWidget ? pWidget->devicePixelRatioF() : qApp->devicePixelRatio();
    QPixmap pixmap(dRatio > 1 ? QStringLiteral(":/splash@2x.ppm") : QStringLiteral(":/splash@1x.ppm"));
    if (pixmap.isNull())
        return {};
    pixmap.setDevicePixelRatio(qreal(pixmap.width()) / CSplashWnd::kWidth);
    QPainter painter(&pixmap);
    // The version is written by the program, so the picture never goes stale.
    painter.setPen(QColor(0xbc, 0xd3, 0xf2));
    QFont font = painter.font();
    font.setPixelSize(12);
    painter.setFont(font);
    painter.drawText(QRect(38, 190, 250, 20), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("版本 %1").arg(QStringLiteral(TAVRO_VERSION)));
    return pixmap;
}

void CSplashWnd::EnableSplashScreen(bool bEnable)
{
    s_bEnabled = bEnable;
}

void CSplashWnd::ShowSplashScreen(QWidget* pOwner)
{
    if (!s_bEnabled || s_pCurrent)
        return;
    auto* splash = new CSplashWnd(pOwner);
    if (splash->m_bitmap.isNull()) {
        delete splash; // no picture, no splash: start-up goes on without it
        return;
    }
    splash->show();
    splash->repaint();
}

CSplashWnd::CSplashWnd(QWidget* pOwner) : QWidget(pOwner, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    s_pCurrent = this;
    SetBeforeMessageBox([] {
        if (CSplashWnd* splash = Current())
            splash->HideSplashScreen();
    });
    setAttribute(Qt::WA_DeleteOnClose);
    setCursor(Qt::ArrowCursor);
    m_bitmap = AppPicture(this);
    setFixedSize(kWidth, kHeight);
    // Centred over a visible owner, else on the screen that shows it (the
    // primary screen at start-up, before the frame is shown).
    QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    if (pOwner && pOwner->isVisible() && !pOwner->isMinimized())
        area = pOwner->frameGeometry();
    else if (pOwner && pOwner->screen())
        area = pOwner->screen()->availableGeometry();
    move(area.center() - QPoint(kWidth / 2, kHeight / 2));
}

CSplashWnd::~CSplashWnd()
{
    if (s_pCurrent == this)
        s_pCurrent = nullptr;
}

void CSplashWnd::OnSheetShown()
{
    if (s_pCurrent)
        s_pCurrent->m_timer.start(kCloseDelayMs, s_pCurrent);
}

void CSplashWnd::HideSplashScreen()
{
    m_timer.stop();
    s_pCurrent = nullptr;
    close(); // deletes the window
    if (QWidget* mainWindow = parentWidget(); mainWindow && mainWindow->isVisible())
        mainWindow->repaint();
}

bool CSplashWnd::FilterAppEvent(QEvent* event)
{
    if (!s_pCurrent)
        return false;
    switch (event->type()) {
    case QEvent::ShortcutOverride:
        // Claimed, so that no shortcut runs: the key press that follows
        // closes the splash and is swallowed with it.
        event->accept();
        return true;
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::NonClientAreaMouseButtonPress:
    case QEvent::NonClientAreaMouseButtonDblClick:
        s_pCurrent->HideSplashScreen();
        return true;
    default:
        return false;
    }
}

void CSplashWnd::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_bitmap);
}

void CSplashWnd::timerEvent(QTimerEvent* event)
{
    if (event->timerId() == m_timer.timerId())
        HideSplashScreen();
    else
        QWidget::timerEvent(event);
}
