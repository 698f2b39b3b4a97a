// The "Driver" panel: the driver list, the four activity totals and the driver lines.
#include "app/mainwindow.h"
#include "ui_mainwindow.h"

void MainWindow::DriveQLinePress_0(QPointF) {}
void MainWindow::DriveQLinePress_1(QPointF) {}
void MainWindow::DriveQLinePress_2(QPointF) {}
void MainWindow::DriveQLinePress_3(QPointF) {}
void MainWindow::DriveQLinePress_4(QPointF) {}
void MainWindow::DriveQLinePress_5(QPointF) {}
void MainWindow::DriveQLinePress_6(QPointF) {}

void MainWindow::on_id_comboBox_currentIndexChanged(int index)
{
    Q_UNUSED(index)
}

void MainWindow::updateCursorDriver(const QDateTime &t)
{
    Q_UNUSED(t)
}
