#include "app/CAboutDlg.h"

#include "app/CSplashWnd.h"

#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QTimerEvent>
#include <QVBoxLayout>

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
{
    setWindowTitle(QStringLiteral("关于 TAVRO"));
    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("picture"));
    picture->setPixmap(QPixmap::fromImage(AppPicture(this)));
    picture->setFixedSize(CSplashWnd::kWidth, CSplashWnd::kHeight);
    picture->setAccessibleName(QStringLiteral("Tavromark %1").arg(QStringLiteral(TAVRO_VERSION)));
    // Clicks on the picture reach the dialog.
    picture->setAttribute(Qt::WA_TransparentForMouseEvents);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(picture);
    setFixedSize(CSplashWnd::kWidth, CSplashWnd::kHeight);
}

void CAboutDlg::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    m_timer.start(kCloseAfterMs, this);
}

void CAboutDlg::hideEvent(QHideEvent* event)
{
    m_timer.stop();
    QDialog::hideEvent(event);
}

void CAboutDlg::timerEvent(QTimerEvent* event)
{
    if (event->timerId() == m_timer.timerId())
        accept();
    else
        QDialog::timerEvent(event);
}

void CAboutDlg::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        accept();
}

void CAboutDlg::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        accept();
        break;
    case Qt::Key_Escape:
        reject();
        break;
    default:
        QDialog::keyPressEvent(event);
    }
}
