// The "Driver Info." page and the driving records behind the driver chart.
#include "app/mainwindow.h"
#include "ui_mainwindow.h"

void MainWindow::parseDrivingData(const uchar *data, int size)
{
    Q_UNUSED(data)
    qDebug("driving block: %d bytes", size);
}

void MainWindow::initDriverTable() {}
