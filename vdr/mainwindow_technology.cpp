// The "Technology" page and the car number.
#include "app/mainwindow.h"
#include "ui_mainwindow.h"

void MainWindow::parseTechnologyData(const uchar *data, uint size)
{
    Q_UNUSED(data)
    qDebug("technology block: %u bytes", size);
}
