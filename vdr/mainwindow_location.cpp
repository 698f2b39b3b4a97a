// The "Location" page: the hour list and the fixes of the selected hour.
#include "app/mainwindow.h"
#include "ui_mainwindow.h"

void MainWindow::parseLocationData(const uchar *data, int size)
{
    Q_UNUSED(data)
    qDebug("location block: %d bytes", size);
}

void MainWindow::setupLocationTables() {}

void MainWindow::on_locationTime_table_itemSelectionChanged() {}
