#include "app/CMainFrame.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tavromark"));
    CMainFrame frame;
    frame.show();
    return QApplication::exec();
}
