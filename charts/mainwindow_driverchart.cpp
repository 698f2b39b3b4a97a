// The driver activity chart, the scroll bar that scrolls both charts, and the frozen value
// axis strips of both chart areas.
#include "app/mainwindow.h"
#include "ui_mainwindow.h"

#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QScrollBar>
#include <QtCharts/QCategoryAxis>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QDateTimeAxis>

void MainWindow::initDriverChart()
{
    driverChart = new QChart();
    driverChart->setTitle(tr("Driver Activity"));
    driverChart->layout()->setContentsMargins(0, 2, 0, 2);
    driverChart->setMargins(QMargins(10, 10, 21, 10));

    const QDate today = QDate::currentDate();
    driverAxisX = new QDateTimeAxis();
    driverAxisX->setTitleText(tr("Time"));
    driverAxisX->setRange(QDateTime(today, QTime(0, 0)), QDateTime(today.addDays(1), QTime(0, 0)));
    driverAxisX->setTickCount(25);
    driverAxisX->setFormat(QString());
    driverAxisX->setGridLineVisible(true);
    driverAxisX->setLabelsVisible(false);
    driverChart->addAxis(driverAxisX, Qt::AlignBottom);

    // Level y (1 Resting .. 4 Driving) of a driver line lies in the middle of category y - 1.
    driverAxisY = new QCategoryAxis();
    driverAxisY->setRange(0.5, 4.5);
    driverAxisY->setStartValue(0.5);
    driverAxisY->setTickCount(4);
    driverAxisY->append(tr("Resting"), 1.5);
    driverAxisY->append(tr("Standby"), 2.5);
    driverAxisY->append(tr("Stopping"), 3.5);
    driverAxisY->append(tr("Driving"), 4.5);
    driverAxisY->setLabelFormat(QStringLiteral("%d"));
    driverAxisY->setGridLineVisible(true);
    driverChart->addAxis(driverAxisY, Qt::AlignLeft);

    // The view is made with its chart: a view made without one makes a default chart of its
    // own, which setChart() would leave behind undeleted.
    driverChartView = new QChartView(driverChart, ui->driverWidget);
    driverChartView->resize(ui->driverWidget->size());
    driverChartView->scene()->setItemIndexMethod(QGraphicsScene::NoIndex);
}

void MainWindow::on_driverScrollArea_horizontalScrollBar_valueChanged(int value)
{
    // The speed chart's area shows no scroll bar: it follows the driver chart's.
    ui->speedScrollArea->horizontalScrollBar()->setValue(value);
}

void MainWindow::on_driverScrollArea_horizontalScrollBar_sliderMoved(int position)
{
    Q_UNUSED(position)
    if (speedSeries)
        placeSpeedTimeLine(true);
}

void MainWindow::on_driverScrollArea_horizontalScrollBar_sliderReleased()
{
    if (speedSeries)
        placeSpeedTimeLine(true);
}

void MainWindow::resetZtScrollAreaFixedWidth()
{
    if (ui->verticalSlider->value() != 1)
        return;
    ui->speedScrollArea->freezeLeftStrip(54, 65);
    ui->driverScrollArea->freezeLeftStrip(52, 0);
}
