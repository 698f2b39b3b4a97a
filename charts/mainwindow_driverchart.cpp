// The driver activity chart and the "Driver" panel.
#include "app/mainwindow.h"
#include "ui_mainwindow.h"

void MainWindow::initDriverChart() {}

void MainWindow::on_driverScrollArea_horizontalScrollBar_valueChanged(int value)
{
    Q_UNUSED(value)
}

void MainWindow::on_driverScrollArea_horizontalScrollBar_sliderMoved(int position)
{
    Q_UNUSED(position)
}

void MainWindow::on_driverScrollArea_horizontalScrollBar_sliderReleased() {}

void MainWindow::resetZtScrollAreaFixedWidth() {}
