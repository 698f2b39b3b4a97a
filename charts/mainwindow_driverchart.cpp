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

void MainWindow::DriveQLinePress_0(QPointF) {}
void MainWindow::DriveQLinePress_1(QPointF) {}
void MainWindow::DriveQLinePress_2(QPointF) {}
void MainWindow::DriveQLinePress_3(QPointF) {}
void MainWindow::DriveQLinePress_4(QPointF) {}
void MainWindow::DriveQLinePress_5(QPointF) {}
void MainWindow::DriveQLinePress_6(QPointF) {}

void MainWindow::resetZtScrollAreaFixedWidth() {}

void MainWindow::on_id_comboBox_currentIndexChanged(int index)
{
    Q_UNUSED(index)
}
