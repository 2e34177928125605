#include "app/CSplashWnd.h"

#include "base/AppMessageBox.h"

#include <QApplication>
#include <QEvent>
#include <QPainter>
#include <QResource>
#include <QScreen>
#include <QTimerEvent>

#include <memory>

bool CSplashWnd::s_bEnabled = false;
CSplashWnd* CSplashWnd::s_pCurrent = nullptr;

QImage AppPicture(const QWidget* pWidget)
{
    const qreal dRatio = pWidget ? pWidget->devicePixelRatioF() : qApp->devicePixelRatio();
    const int nScale = dRatio > 1 ? 2 : 1;
    const int nWidth = CSplashWnd::kWidth * nScale;
    const int nHeight = CSplashWnd::kHeight * nScale;
    // The resource holds the plain pixels of an RGB32 image: nothing to
    // decode, and the image draws on them where they are.
    auto pixels = std::make_unique<QByteArray>(
        QResource(QStringLiteral(":/splash@%1x.rgb32").arg(nScale)).uncompressedData());
    if (pixels->size() != qsizetype{nWidth} * nHeight * 4)
        return {};
    QImage picture(
        reinterpret_cast<uchar*>(pixels->data()), nWidth, nHeight, nWidth * 4, QImage::Format_RGB32,
        [](void* pData) { delete static_cast<QByteArray*>(pData); }, pixels.get());
    pixels.release(); // the image's now
    picture.setDevicePixelRatio(nScale);
    QPainter painter(&picture);
    // The version is written by the program, so the picture never goes stale.
    painter.setPen(QColor(0xbc, 0xd3, 0xf2));
    QFont font = painter.font();
    font.setPixelSize(12);
    painter.setFont(font);
    painter.drawText(QRect(38, 190, 250, 20), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("版本 %1").arg(QStringLiteral(TAVRO_VERSION)));
    painter.end();
    return picture;
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
    if (splash->m_picture.isNull()) {
        delete splash; // no picture, no splash: start-up goes on without it
        return;
    }
    // Qt paints a splash as it shows it when its window is exposed at once;
    // else it is painted here, not only once the event loop runs.
    splash->show();
    if (!splash->m_bPainted)
        splash->repaint();
    // From here on the window's backing store keeps what it shows.
    splash->m_picture = QImage();
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
    m_picture = AppPicture(this);
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
    painter.drawImage(0, 0, m_picture.isNull() ? AppPicture(this) : m_picture);
    m_bPainted = true;
}

void CSplashWnd::timerEvent(QTimerEvent* event)
{
    if (event->timerId() == m_timer.timerId())
        HideSplashScreen();
    else
        QWidget::timerEvent(event);
}
