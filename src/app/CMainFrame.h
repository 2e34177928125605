#pragma once

#include <QMainWindow>

// The main window: for now the frame with an empty sheet area.
class CMainFrame : public QMainWindow
{
    Q_OBJECT

public:
    explicit CMainFrame(QWidget* parent = nullptr);
};
