// The speed history chart, its time cursor and the scale change of both charts.
#include "gui/app/mainwindow.h"
#include "ui_mainwindow.h"

#include "core/vdr/speed.h"
#include "gui/app/ztpopwaitingwidget.h"
#include "gui/charts/speedplot.h"

#include <QAction>
#include <QCoreApplication>
#include <QEvent>
#include <QGraphicsSceneMouseEvent>
#include <QResizeEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <QWheelEvent>
#include <QtCharts/QCategoryAxis>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QDateTimeAxis>
#include <QtCharts/QLineSeries>
#include <QtCharts/QValueAxis>

#include <algorithm>
#include <cmath>

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
    speedPlot->view()->viewport()->installEventFilter(this);
    // The time line lies over the charts: clicks and the wheel go through it to them.
    ui->speedChartTimeLine->setAttribute(Qt::WA_TransparentForMouseEvents);

    // The cursor's keys, on the chart page only (a focused text field keeps its own keys).
    const struct
    {
        QKeySequence keys;
        void (*move)(MainWindow *);
    } keys[] = {
        {QKeySequence(Qt::Key_Left), [](MainWindow *w) { w->stepSpeedCursor(-500); }},
        {QKeySequence(Qt::Key_Right), [](MainWindow *w) { w->stepSpeedCursor(500); }},
        {QKeySequence(Qt::SHIFT | Qt::Key_Left), [](MainWindow *w) { w->stepSpeedCursor(-60000); }},
        {QKeySequence(Qt::SHIFT | Qt::Key_Right), [](MainWindow *w) { w->stepSpeedCursor(60000); }},
        {QKeySequence(Qt::Key_Home), [](MainWindow *w) { w->speedCursorToEnd(false); }},
        {QKeySequence(Qt::Key_End), [](MainWindow *w) { w->speedCursorToEnd(true); }},
    };
    for (const auto &key : keys) {
        auto *action = new QAction(ui->tab_chart);
        action->setShortcut(key.keys);
        action->setShortcutContext(Qt::WindowShortcut);
        action->setEnabled(ui->tabWidget->currentWidget() == ui->tab_chart);
        const auto move = key.move;
        connect(action, &QAction::triggered, this, [this, move] { move(this); });
        addAction(action);
    }
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
    if (!points.isEmpty()) {
        const QDateTime first = QDateTime::fromMSecsSinceEpoch(qint64(points.first().x()));
        const QDateTime last = QDateTime::fromMSecsSinceEpoch(qint64(points.last().x()));
        if (first < speedPlot->timeMin() || last > speedPlot->timeMax())
            setChartRange(last.addDays(-1), last);
    }
    showChartFaults();
}

void MainWindow::showChartFaults()
{
    QVector<plot::FaultPeriod> periods;
    const qint64 end = speedPlot->timeMax().toMSecsSinceEpoch();
    for (const vdr::BlockReport &block : day.blocks) {
        if (block.info.dataId == vdr::FaultEventBlock)
            periods += plot::faultPeriods(block.faultEvent, end);
    }
    speedPlot->setFaultPeriods(periods);
    const vdr::SpeedResult &speed = storedSpeed();
    speedPlot->setClippedSamples(plot::clippedSamples(speed.records, speed.starts, plot::kSpeedAxisMax));
}

bool MainWindow::chartEventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Resize) {
        if (watched == ui->speedWidget)
            layOutSpeedChart();
        else if (watched == ui->driverWidget)
            layOutDriverChart();
    }
    if (!speedPlot || !driverPlot)
        return false;
    // A click on either chart moves the cursor to the instant under it.
    if (event->type() == QEvent::GraphicsSceneMousePress && speedPlot->hasLine() &&
        (watched == speedPlot->chart() || watched == driverPlot->chart())) {
        const TimeChart *plot = watched == speedPlot->chart() ? speedPlot : driverPlot;
        const auto *press = static_cast<QGraphicsSceneMouseEvent *>(event);
        const QPointF inChart = plot->chart()->mapFromScene(press->scenePos());
        updateSpeedCursor(QDateTime::fromMSecsSinceEpoch(plot->instantAtChartX(inChart.x())));
    }
    // The wheel scrolls both charts in time; with Ctrl it zooms them around the pointer, a
    // step of the scale per notch.
    const bool overSpeed = watched == speedPlot->view()->viewport();
    if (event->type() == QEvent::Wheel && (overSpeed || watched == driverPlot->view()->viewport())) {
        const auto *wheel = static_cast<QWheelEvent *>(event);
        const QScrollArea *area = overSpeed ? ui->speedScrollArea : ui->driverScrollArea;
        QScrollBar *bar = ui->driverScrollArea->horizontalScrollBar();
        const int delta = wheel->angleDelta().y() != 0 ? wheel->angleDelta().y() : wheel->angleDelta().x();
        if (wheel->modifiers() & Qt::ControlModifier) {
            wheelZoomRest += delta;
            const int notches = wheelZoomRest / 120;
            wheelZoomRest -= notches * 120;
            const int column =
                static_cast<QWidget *>(watched)->mapTo(area->viewport(), wheel->position().toPoint()).x();
            const TimeChart *plot = overSpeed ? static_cast<TimeChart *>(speedPlot) : driverPlot;
            if (notches != 0) {
                zoomAnchorMs = qint64(std::llround(plot->scale().instantAt(bar->value() + column)));
                zoomAnchorX = column;
                ui->verticalSlider->setValue(ui->verticalSlider->value() + notches);
                zoomAnchorX = -1;
            }
        } else {
            bar->setValue(bar->value() - delta * area->viewport()->width() / (120 * 8));
        }
        return true;
    }
    return false;
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
    if (speedPlot)
        showChartFaults(); // the legend and the shades' names
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

    // The instant that stays in place: the one under the pointer of a Ctrl+wheel turn, else the
    // cursor's where it is on screen (in the middle when it is not), else the middle's.
    const int visible = ui->speedScrollArea->viewport()->width();
    const int scroll = ui->driverScrollArea->horizontalScrollBar()->value();
    const plot::TimeScale &before = speedPlot->scale();
    qint64 anchor = zoomAnchorMs;
    int column = zoomAnchorX;
    const qint64 cursor = speedPlot->cursor().instant.toMSecsSinceEpoch();
    if (column < 0 && speedPlot->cursor().isSet() && cursor >= before.minMs && cursor <= before.maxMs) {
        anchor = cursor;
        column = int(std::lround(before.xOf(double(cursor)))) - scroll;
        if (column < 0 || column >= visible)
            column = visible / 2;
    } else if (column < 0) {
        column = visible / 2;
        anchor = qint64(std::llround(before.instantAt(scroll + column)));
    }

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
    scrollChartsTo(anchor, column);
    rescaling = false;
    layOutSpeedChart();
    layOutDriverChart();

    if (waitingOverlay())
        waitingOverlay()->stopWaiting();
    if (speedPlot->hasLine())
        placeSpeedTimeLine(true);
}

// Scrolls both charts so that the instant ms lies at a column of their areas.
void MainWindow::scrollChartsTo(qint64 ms, int column)
{
    plot::TimeScale scale = speedPlot->scale();
    scale.width = chartWidth(ui->speedScrollArea);
    ui->driverScrollArea->horizontalScrollBar()->setValue(int(std::lround(scale.xOf(double(ms)))) - column);
}

void MainWindow::stepSpeedCursor(qint64 ms)
{
    const QVector<QPointF> &points = speedPlot->line().points();
    if (!speedPlot->hasLine() || points.isEmpty())
        return;
    const QScrollArea *area = ui->speedScrollArea;
    const qint64 from = speedPlot->cursor().isSet()
                            ? speedPlot->cursor().instant.toMSecsSinceEpoch()
                            : qint64(speedPlot->scale().instantAt(area->horizontalScrollBar()->value() +
                                                                  area->viewport()->width() / 2));
    const qint64 t = plot::steppedCursor(from, ms, qint64(points.first().x()), qint64(points.last().x()));
    updateSpeedCursor(QDateTime::fromMSecsSinceEpoch(t));
    // A cursor that leaves the screen brings the charts with it.
    const int x = int(std::lround(speedPlot->scale().xOf(double(t)))) - area->horizontalScrollBar()->value();
    if (x < 0 || x >= area->viewport()->width())
        scrollChartsTo(t, area->viewport()->width() / 2);
}

void MainWindow::speedCursorToEnd(bool last)
{
    const qint64 far = qint64(1) << 50; // further than any sample: the step stops at the end
    stepSpeedCursor(last ? far : -far);
}

void MainWindow::placeSpeedTimeLine(bool show)
{
    QLabel *line = ui->speedChartTimeLine;
    // The line lies over the whole window: it belongs to the chart page only, and marks the
    // instant only where the scroll area shows the chart.
    if (!show || !speedPlot || !driverPlot || ui->tabWidget->currentWidget() != ui->tab_chart) {
        line->hide();
        return;
    }
    // From the top of the speed plot to the bottom of the driver plot.
    QWidget *parent = line->parentWidget();
    const int top = speedPlot->view()
                        ->mapTo(parent, QPoint(0, int(std::floor(speedPlot->chart()->plotArea().top()))))
                        .y();
    const int bottom =
        driverPlot->view()
            ->mapTo(parent, QPoint(0, int(std::ceil(driverPlot->chart()->plotArea().bottom()))))
            .y();
    speedPlot->placeCursorLine(line, top, std::max(1, bottom - top), ui->speedScrollArea->viewport());
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
    speedPlot->setFaultPeriods({});
    speedPlot->setClippedSamples({});
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
    const bool onChart = ui->tabWidget->widget(index) == ui->tab_chart;
    for (QAction *action : ui->tab_chart->findChildren<QAction *>(QString(), Qt::FindDirectChildrenOnly))
        action->setEnabled(onChart);
    if (!onChart) {
        placeSpeedTimeLine(false);
        return;
    }
    resetZtScrollAreaFixedWidth(); // at scale 1
    if (speedPlot && speedPlot->hasLine())
        placeSpeedTimeLine(true);
}
