// The driver activity chart, the scroll bar that scrolls both charts, and the frozen value
// axis strips of both chart areas.
#include "gui/app/mainwindow.h"
#include "ui_mainwindow.h"

#include "gui/charts/speedplot.h"

#include <QGraphicsLayout>
#include <QScrollBar>
#include <QTimer>
#include <QtCharts/QCategoryAxis>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QDateTimeAxis>
#include <QtCharts/QLegend>
#include <QtCharts/QLegendMarker>
#include <QtCharts/QLineSeries>

#include <algorithm>

void MainWindow::initDriverChart()
{
    driverPlot = new TimeChart(ui->driverWidget, QMargins(10, 10, 21, 10));
    QChart *chart = driverPlot->chart();
    chart->setTitle(tr("Driver Activity"));
    chart->layout()->setContentsMargins(0, 2, 0, 2);

    // The time axis is the speed chart's, with its grid lines and without labels.
    QDateTimeAxis *axisX = driverPlot->axisX();
    axisX->setTitleText(tr("Time"));
    axisX->setFormat(QString());
    axisX->setGridLineVisible(true);
    axisX->setLabelsVisible(false);
    driverPlot->setTimeAxis(speedPlot->timeMin(), speedPlot->timeMax(), speedPlot->tickCount());

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
    chart->addAxis(driverAxisY, Qt::AlignLeft);
    driverPlot->view()->setRenderHint(QPainter::Antialiasing);

    // Its plot lies under the speed chart's, column for column; a click on it moves the
    // cursor, the wheel scrolls and zooms as over the speed chart.
    driverPlot->alignWith(speedPlot);
    // A plot that moves after the still images of the value axes were taken (the other chart
    // laid out its wider axis later) has them taken again.
    for (TimeChart *plot : {static_cast<TimeChart *>(speedPlot), driverPlot}) {
        connect(plot, &TimeChart::laidOut, this, [this] {
            if (ui->verticalSlider->value() == 1 && ui->tabWidget->currentWidget() == ui->tab_chart)
                QTimer::singleShot(0, this, &MainWindow::resetZtScrollAreaFixedWidth);
        });
    }
    chart->installEventFilter(this);
    driverPlot->view()->viewport()->installEventFilter(this);

    QScrollBar *bar = ui->driverScrollArea->horizontalScrollBar();
    connect(bar, &QScrollBar::valueChanged, this, &MainWindow::layOutDriverChart);
    connect(bar, &QScrollBar::rangeChanged, this, &MainWindow::layOutDriverChart);
}

void MainWindow::showDriverLine(QLineSeries *series)
{
    driverPlot->chart()->addSeries(series);
    series->attachAxis(driverPlot->axisX());
    series->attachAxis(driverAxisY);
    // The legend draws its labels as rich text; a driver's ID shows as itself.
    const QList<QLegendMarker *> markers = driverPlot->chart()->legend()->markers(series);
    for (QLegendMarker *marker : markers)
        marker->setLabel(series->name().toHtmlEscaped());
}

void MainWindow::dropDriverSeries()
{
    for (QLineSeries *&series : driverSeries) {
        if (series && driverPlot && series->chart() == driverPlot->chart())
            driverPlot->chart()->removeSeries(series);
        delete series;
        series = nullptr;
    }
}

void MainWindow::on_driverScrollArea_horizontalScrollBar_valueChanged(int value)
{
    // The speed chart's area shows no scroll bar: it follows the driver chart's.
    ui->speedScrollArea->horizontalScrollBar()->setValue(value);
}

void MainWindow::on_driverScrollArea_horizontalScrollBar_sliderMoved(int position)
{
    Q_UNUSED(position)
    if (speedPlot->hasLine())
        placeSpeedTimeLine(true);
}

void MainWindow::on_driverScrollArea_horizontalScrollBar_sliderReleased()
{
    if (speedPlot->hasLine())
        placeSpeedTimeLine(true);
}

// The still image of a value axis reaches at least to the plot, whose left edge the two charts
// share (wider value labels of one chart move both plots to the right).
static int axisStripWidth(const TimeChart *plot, int least)
{
    return std::max(least, int(plot->view()->x() + plot->chart()->plotArea().left()));
}

void MainWindow::resetZtScrollAreaFixedWidth()
{
    if (ui->verticalSlider->value() != 1)
        return;
    ui->speedScrollArea->freezeLeftStrip(axisStripWidth(speedPlot, 54), 65);
    ui->driverScrollArea->freezeLeftStrip(axisStripWidth(driverPlot, 52), 0);
}
