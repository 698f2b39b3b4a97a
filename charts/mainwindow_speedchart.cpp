// The speed history chart, its time cursor and the scale change of both charts.
#include "app/mainwindow.h"
#include "ui_mainwindow.h"

void MainWindow::initSpeedChart() {}

void MainWindow::fitChartTimeRange() {}

void MainWindow::chartEventFilter(QObject *watched, QEvent *event)
{
    Q_UNUSED(watched)
    Q_UNUSED(event)
}

void MainWindow::retranslateCharts() {}

void MainWindow::on_verticalSlider_valueChanged(int value)
{
    Q_UNUSED(value)
}

void MainWindow::on_tabWidget_currentChanged(int index)
{
    Q_UNUSED(index)
}

void MainWindow::tooltip(QPointF point)
{
    Q_UNUSED(point)
}
