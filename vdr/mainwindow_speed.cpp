// The "Speed Info." page: the minute table and the half-second table.
#include "app/mainwindow.h"
#include "ui_mainwindow.h"

void MainWindow::parseSpeedData(const uchar *data, int size)
{
    Q_UNUSED(data)
    qDebug("speed block: %d bytes", size);
}

void MainWindow::initSpeedTables() {}

void MainWindow::on_speedTime_table_itemSelectionChanged() {}
