// The speed history chart, its time cursor and the scale change of both charts.
#include "gui/app/mainwindow.h"
#include "ui_mainwindow.h"

#include "core/vdr/speed.h"
#include "gui/app/ztpopwaitingwidget.h"
#include "gui/charts/speedplot.h"

#include <QCoreApplication>
#include <QEvent>
#include <QGraphicsSceneMouseEvent>
#include <QResizeEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <QtCharts/QCategoryAxis>
#include <QtCharts/QChart>
#include <QtCharts/QDateTimeAxis>
#include <QtCharts/QLineSeries>
#include <QtCharts/QValueAxis>

#include <algorithm>

void MainWindow::initSpeedChart()
{
    speedPlot = new SpeedPlot(ui->speedWidget);
    QChart *chart = speedPlot->chart();
    chart->setTitle(tr("Speed History"));
    chart->installEventFilter(this);
    speedPlot->axisX()->setFormat(QStringLiteral("h:mm:ss"));
    speedPlot->axisX()->setLabelsAngle(75);
    speedPlot->axisY()->setTitleText(tr("Speed"));
    setChartDay(QDate::currentDate());
    // A click on the line moves the cursor there.
    connect(speedPlot->series(), &QLineSeries::pressed, this, &MainWindow::tooltip);

    // The chart draws the part of the day its scroll area shows.
    QScrollBar *bar = ui->speedScrollArea->horizontalScrollBar();
    connect(bar, &QScrollBar::valueChanged, this, &MainWindow::layOutSpeedChart);
    connect(bar, &QScrollBar::rangeChanged, this, &MainWindow::layOutSpeedChart);
}

// The width of a chart is the width its scroll area gives its widget: the widget's minimum
// width (the scale's), or the area's width when that is more. It is taken from the minimum
// rather than from the widget, which the area resizes only after it has set its scroll bar:
// the chart must never lay out the ticks of a wide chart over a narrow one.
static int chartWidth(const QScrollArea *area)
{
    return std::max(area->widget()->minimumWidth(), area->viewport()->width());
}

void MainWindow::layOutSpeedChart()
{
    if (!speedPlot || rescaling)
        return;
    const QScrollArea *area = ui->speedScrollArea;
    speedPlot->showColumns(chartWidth(area), area->horizontalScrollBar()->value(), area->viewport()->width());
    // The time line follows the scrolled chart.
    if (speedPlot->hasLine())
        placeSpeedTimeLine(true);
}

void MainWindow::layOutDriverChart()
{
    if (!driverPlot || rescaling)
        return;
    const QScrollArea *area = ui->driverScrollArea;
    driverPlot->showColumns(chartWidth(area), area->horizontalScrollBar()->value(),
                            area->viewport()->width());
}

void MainWindow::setChartRange(const QDateTime &min, const QDateTime &max)
{
    const int ticks =
        plot::tickCount(min.toMSecsSinceEpoch(), max.toMSecsSinceEpoch(), ui->verticalSlider->value());
    speedPlot->setTimeAxis(min, max, ticks);
    layOutSpeedChart();
    if (driverPlot) {
        driverPlot->setTimeAxis(min, max, ticks);
        layOutDriverChart();
    }
}

void MainWindow::setChartDay(const QDate &day)
{
    setChartRange(QDateTime(day, QTime(0, 0)), QDateTime(day.addDays(1), QTime(0, 0)));
}

void MainWindow::showSpeedLine(const QVector<QPointF> &points)
{
    speedPlot->setLine(points);
}

void MainWindow::fitChartTimeRange()
{
    const QVector<QPointF> &points = speedPlot->line().points();
    if (points.isEmpty())
        return;
    const QDateTime first = QDateTime::fromMSecsSinceEpoch(qint64(points.first().x()));
    const QDateTime last = QDateTime::fromMSecsSinceEpoch(qint64(points.last().x()));
    if (first < speedPlot->timeMin() || last > speedPlot->timeMax())
        setChartRange(last.addDays(-1), last);
}

void MainWindow::chartEventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Resize) {
        if (watched == ui->speedWidget)
            layOutSpeedChart();
        else if (watched == ui->driverWidget)
            layOutDriverChart();
    }
    if (speedPlot && watched == speedPlot->chart() && event->type() == QEvent::GraphicsSceneMousePress &&
        speedPlot->hasLine()) {
        const auto *press = static_cast<QGraphicsSceneMouseEvent *>(event);
        const QPointF inChart = speedPlot->chart()->mapFromScene(press->scenePos());
        updateSpeedCursor(QDateTime::fromMSecsSinceEpoch(speedPlot->instantAtChartX(inChart.x())));
    }
}

void MainWindow::retranslateCharts()
{
    if (speedPlot) {
        speedPlot->chart()->setTitle(tr("Speed History"));
        speedPlot->axisY()->setTitleText(tr("Speed"));
    }
    if (driverPlot) {
        driverPlot->chart()->setTitle(tr("Driver Activity"));
        driverPlot->axisX()->setTitleText(tr("Time"));
    }
    if (driverAxisY) {
        const char *const names[] = {QT_TR_NOOP("Resting"), QT_TR_NOOP("Standby"), QT_TR_NOOP("Stopping"),
                                     QT_TR_NOOP("Driving")};
        const QStringList labels = driverAxisY->categoriesLabels();
        for (int i = 0; i < 4 && i < labels.size(); ++i)
            driverAxisY->replaceLabel(labels.at(i), tr(names[i]));
    }
    // The still images of the axis strips show the old texts: take them again once the
    // charts have laid out the new ones.
    if (ui->tabWidget->currentWidget() == ui->tab_chart)
        QTimer::singleShot(0, this, &MainWindow::resetZtScrollAreaFixedWidth);
}

void MainWindow::on_verticalSlider_valueChanged(int value)
{
    if (!speedPlot || !driverPlot)
        return;
    showLoading(tr("Changing scale, please wait....."));
    repaint();

    // Both charts become as many screens wide as the scale has ticks per hour and get the ticks
    // of the new scale over the whole day; each then draws the part of it on screen, once the
    // scroll areas have given their widgets the new widths (now, while the overlay is up).
    const int f = plot::ticksPerHour(value);
    rescaling = true;
    ui->speedWidget->setMinimumWidth(ui->speedScrollArea->width() * f);
    ui->driverWidget->setMinimumWidth(ui->driverScrollArea->width() * f);
    setChartRange(speedPlot->timeMin(), speedPlot->timeMax());
    for (int pass = 0; pass < 3; ++pass)
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    rescaling = false;
    layOutSpeedChart();
    layOutDriverChart();

    if (waitingOverlay())
        waitingOverlay()->stopWaiting();
    if (speedPlot->hasLine())
        placeSpeedTimeLine(true);
}

void MainWindow::placeSpeedTimeLine(bool show)
{
    QLabel *line = ui->speedChartTimeLine;
    // The line lies over the whole window: it belongs to the chart page only, and marks the
    // instant only where the scroll area shows the chart.
    if (!show || !speedPlot || ui->tabWidget->currentWidget() != ui->tab_chart) {
        line->hide();
        return;
    }
    speedPlot->placeCursorLine(line, ui->tabWidget->tabBar()->height() + 45, ui->speedWidget->height() - 110,
                               ui->speedScrollArea->viewport());
}

void MainWindow::updateSpeedCursor(const QDateTime &t)
{
    if (t < speedPlot->timeMin() || t > speedPlot->timeMax())
        return;

    plot::SpeedCursor cursor;
    cursor.instant = t;
    const vdr::SpeedSampleAt sample =
        vdr::speedSampleAt(storedSpeed().records, storedSpeed().starts, t.toMSecsSinceEpoch());
    cursor.speed = vdr::cursorSpeedText(sample);
    cursor.mileage = vdr::cursorMileageText(sample);
    cursorDriverAt(t, cursor);
    speedPlot->setCursor(cursor);

    ui->spd_date_value->setText(cursor.dateText());
    ui->spd_time_value->setText(cursor.timeText());
    ui->spd_speed_value->setText(cursor.speed);
    ui->spd_mileage_value->setText(cursor.mileage);
    ui->spd_driver_value->setText(cursor.driver);
    ui->spd_status_value->setText(cursor.status);
    showRouteCursor(t);

    placeSpeedTimeLine(true);
}

void MainWindow::clearCharts()
{
    speedPlot->clearCursor();
    clearRouteCursor();
    ui->speedChartTimeLine->hide();
    for (QLabel *label : {ui->spd_driver_value, ui->spd_status_value, ui->spd_date_value, ui->spd_time_value,
                          ui->spd_speed_value, ui->spd_mileage_value})
        label->setText(QString());
    speedPlot->clearLine();
    dropDriverSeries();
}

void MainWindow::tooltip(QPointF point)
{
    updateSpeedCursor(QDateTime::fromMSecsSinceEpoch(qint64(point.x())));
}

void MainWindow::on_tabWidget_currentChanged(int index)
{
    if (ui->tabWidget->widget(index) != ui->tab_chart) {
        placeSpeedTimeLine(false);
        return;
    }
    if (ui->verticalSlider->value() == 1) {
        ui->speedScrollArea->freezeLeftStrip(54, 65);
        ui->driverScrollArea->freezeLeftStrip(52, 0);
    }
    if (speedPlot && speedPlot->hasLine())
        placeSpeedTimeLine(true);
}
