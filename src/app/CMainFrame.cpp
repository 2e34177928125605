#include "app/CMainFrame.h"

#include <QScrollArea>

CMainFrame::CMainFrame(QWidget* parent) : QMainWindow(parent)
{
    setWindowTitle(QStringLiteral("无标题 - TAVRO"));
    auto* sheetArea = new QScrollArea(this);
    sheetArea->setBackgroundRole(QPalette::Dark);
    setCentralWidget(sheetArea);
    resize(800, 600);
}
