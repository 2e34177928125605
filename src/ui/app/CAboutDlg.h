#pragma once

#include <QBasicTimer>
#include <QDialog>

// The about box: the application's picture without frame or caption. Closes
// after 5 s, on a click on the picture, or with Enter or Escape.
class CAboutDlg : public QDialog
{
    Q_OBJECT

public:
    static constexpr int kCloseAfterMs = 5000;

    explicit CAboutDlg(QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QBasicTimer m_timer;
};
