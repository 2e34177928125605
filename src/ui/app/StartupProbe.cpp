#include "app/StartupProbe.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <chrono>
#include <cstdio>

namespace {

class CFirstPaintProbe : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && !m_bSeen) {
            m_bSeen = true;
            // The paint event is handled before the frame is flushed to the
            // screen: report once the event loop is back.
            QTimer::singleShot(0, this, [] {
                const auto now = std::chrono::system_clock::now().time_since_epoch();
                std::printf("first-paint-ns %lld\n",
                            static_cast<long long>(
                                std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
                std::fflush(stdout);
                QCoreApplication::exit(0);
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool m_bSeen = false;
};

} // namespace

void ExitAfterFirstPaintIfAsked(QWidget* pWidget)
{
    if (qEnvironmentVariableIsEmpty("TAVRO_EXIT_AFTER_FIRST_PAINT") || !pWidget)
        return;
    pWidget->installEventFilter(new CFirstPaintProbe(pWidget));
}
