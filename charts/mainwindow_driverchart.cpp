// The driver activity chart and the "Driver" panel.
#include "app/mainwindow.h"
#include "ui_mainwindow.h"

#include <QGraphicsLayout>
#include <QtCharts/QCategoryAxis>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QDateTimeAxis>

void MainWindow::initDriverChart()
{
    driverChart = new QChart;
    driverChart->setTitle(tr("Driver Activity"));
    driverChart->layout()->setContentsMargins(0, 2, 0, 2);
    driverChart->setMargins(QMargins(10, 10, 21, 10));

    driverAxisX = new QDateTimeAxis;
    driverAxisX->setTitleText(tr("Time"));
    const QDate today = QDate::currentDate();
    driverAxisX->setRange(QDateTime(today, QTime(0, 0), Qt::LocalTime),
                          QDateTime(today.addDays(1), QTime(0, 0), Qt::LocalTime));
    driverAxisX->setTickCount(25);
    driverAxisX->setFormat(QString());
    driverAxisX->setGridLineVisible(true);
    driverAxisX->setLabelsVisible(false);
    driverChart->addAxis(driverAxisX, Qt::AlignBottom);

    driverAxisY = new QCategoryAxis;
    driverAxisY->setRange(0.5, 4.5);
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
}

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
