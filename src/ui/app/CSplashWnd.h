#pragma once

#include <QBasicTimer>
#include <QImage>
#include <QWidget>

// The picture shown while the program starts. It goes 750 ms after the first
// document's view has been laid out, or at once at the first key or mouse
// button press, which it swallows. Shown at most once per run.
class CSplashWnd : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kWidth = 520;
    static constexpr int kHeight = 317;
    static constexpr int kCloseDelayMs = 750;

    // Set once at start-up from the command line; off means no splash.
    static void EnableSplashScreen(bool bEnable);
    // Shows the splash, centred on the primary screen, unless it is disabled
    // or already shown.
    static void ShowSplashScreen(QWidget* pOwner);
    // The view has shown its first sheet: the splash goes kCloseDelayMs later.
    static void OnSheetShown();
    // The first look at every event of the program: a key or mouse button
    // press closes the splash and is swallowed (true).
    static bool FilterAppEvent(QEvent* event);
    // The splash while it is shown, else null.
    static CSplashWnd* Current() { return s_pCurrent; }

    void HideSplashScreen();

    ~CSplashWnd() override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    explicit CSplashWnd(QWidget* pOwner);

    // The picture while the splash is shown; once it is, the window's backing
    // store keeps what it shows, and a later paint (after an expose) reads
    // the picture anew.
    QImage m_picture;
    bool m_bPainted = false;
    QBasicTimer m_timer;

    static bool s_bEnabled;
    static CSplashWnd* s_pCurrent;
};

// The application's picture with the version written on it, 520 × 317
// logical pixels, sharp at device pixel ratios up to 2 (the ratio of
// `pWidget`'s screen); read anew at every call, a null image if it cannot be.
QImage AppPicture(const QWidget* pWidget);
