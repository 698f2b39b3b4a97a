// The speed history chart, its time cursor and the scale change of both charts.
#include "app/mainwindow.h"
#include "ui_mainwindow.h"

#include "app/ztpopwaitingwidget.h"
#include "vdr/speed.h"

#include <QCoreApplication>
#include <QEvent>
#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QGraphicsSceneMouseEvent>
#include <QResizeEvent>
#include <QScrollBar>
#include <QTimer>
#include <QtCharts/QCategoryAxis>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QDateTimeAxis>
#include <QtCharts/QLineSeries>
#include <QtCharts/QValueAxis>

#include <cmath>

namespace {

// Axis ticks per hour for a position of the scale slider.
int scaleFactor(int value)
{
    switch (value) {
    case 2:
        return 2;
    case 3:
        return 3;
    case 4:
        return 6;
    case 5:
        return 12;
    case 6:
        return 60;
    case 7:
        return 120;
    default:
        return 1;
    }
}

QDateTime dayStart(const QDate &day)
{
    return QDateTime(day, QTime(0, 0));
}

// Horizontal chart position of an instant, and the instant at a chart position, through the
// plot area and the time axis: what QtCharts itself uses to draw the line.
double chartXOf(const QChart *chart, const QDateTimeAxis *axis, qint64 ms)
{
    const QRectF plot = chart->plotArea();
    const double min = double(axis->min().toMSecsSinceEpoch());
    const double max = double(axis->max().toMSecsSinceEpoch());
    if (!(max > min))
        return plot.left();
    return plot.left() + (double(ms) - min) * plot.width() / (max - min);
}

qint64 instantAtChartX(const QChart *chart, const QDateTimeAxis *axis, double x)
{
    const QRectF plot = chart->plotArea();
    const double min = double(axis->min().toMSecsSinceEpoch());
    const double max = double(axis->max().toMSecsSinceEpoch());
    if (plot.width() <= 0)
        return qint64(min);
    return qint64(min + (x - plot.left()) * (max - min) / plot.width());
}

} // namespace

void MainWindow::initSpeedChart()
{
    speedChart = new QChart();
    speedChart->setTitle(tr("Speed History"));
    speedChart->layout()->setContentsMargins(0, 0, 0, 10);
    speedChart->setMargins(QMargins(10, 10, 10, 10));
    speedChart->legend()->hide();
    speedChart->installEventFilter(this);

    const QDate today = QDate::currentDate();
    speedAxisX = new QDateTimeAxis();
    speedAxisX->setRange(dayStart(today), dayStart(today.addDays(1)));
    speedAxisX->setTickCount(25);
    speedAxisX->setFormat(QStringLiteral("h:mm:ss"));
    speedAxisX->setGridLineVisible(true);
    speedAxisX->setLabelsAngle(75);
    speedChart->addAxis(speedAxisX, Qt::AlignBottom);

    speedAxisY = new QValueAxis();
    speedAxisY->setTitleText(tr("Speed"));
    speedAxisY->setRange(0, 240);
    speedAxisY->setTickCount(13);
    speedAxisY->setMinorTickCount(1);
    speedAxisY->setLabelFormat(QStringLiteral("%d"));
    speedAxisY->setGridLineVisible(true);
    speedChart->addAxis(speedAxisY, Qt::AlignLeft);

    // The view is made with its chart: a view made without one makes a default chart of its
    // own, which setChart() would leave behind undeleted.
    speedChartView = new QChartView(speedChart, ui->speedWidget);
    speedChartView->resize(ui->speedWidget->size());
    // Thousands of tick and grid items on a chart up to 120 screens wide: keeping a spatial
    // index of them costs more than it saves when the scale changes.
    speedChartView->scene()->setItemIndexMethod(QGraphicsScene::NoIndex);

    // The series holds the line per pixel column; a new plot width or time range needs a
    // new envelope.
    connect(speedChart, &QChart::plotAreaChanged, this, [this] { refreshSpeedEnvelope(); });
    connect(speedAxisX, &QDateTimeAxis::rangeChanged, this, [this] { refreshSpeedEnvelope(); });
}

void MainWindow::refreshSpeedEnvelope()
{
    if (!speedSeries || !speedChart || !speedAxisX)
        return;
    const double minX = double(speedAxisX->min().toMSecsSinceEpoch());
    const double maxX = double(speedAxisX->max().toMSecsSinceEpoch());
    QRectF plot = speedChart->plotArea();
    if (plot.width() <= 1) {
        // Not laid out yet: a provisional envelope; the first layout replaces it.
        plot = QRectF(0, 0, qMax(ui->speedWidget->width(), 1200), 1);
    }
    const QVector<double> key = {minX, maxX, plot.left(), plot.width()};
    if (key == speedEnvelopeKey)
        return;
    speedEnvelopeKey = key;
    speedSeries->replace(vdr::pixelEnvelope(speedPoints, minX, maxX, plot.left(), plot.width()));
}

void MainWindow::fitChartTimeRange()
{
    if (!speedSeries || speedSeries->count() == 0)
        return;
    const QDateTime first = QDateTime::fromMSecsSinceEpoch(qint64(speedSeries->at(0).x()));
    const QDateTime last =
        QDateTime::fromMSecsSinceEpoch(qint64(speedSeries->at(speedSeries->count() - 1).x()));
    if (first < speedAxisX->min() || last > speedAxisX->max()) {
        speedAxisX->setRange(last.addDays(-1), last);
        if (driverAxisX)
            driverAxisX->setRange(last.addDays(-1), last);
    }
}

void MainWindow::chartEventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Resize) {
        const QSize size = static_cast<QResizeEvent *>(event)->size();
        if (watched == ui->speedWidget && speedChartView)
            speedChartView->resize(size);
        else if (watched == ui->driverWidget && driverChartView)
            driverChartView->resize(size);
    }
    if (watched == speedChart && speedChart && event->type() == QEvent::GraphicsSceneMousePress &&
        speedSeries) {
        const auto *press = static_cast<QGraphicsSceneMouseEvent *>(event);
        const QPointF inChart = speedChart->mapFromScene(press->scenePos());
        updateSpeedCursor(
            QDateTime::fromMSecsSinceEpoch(instantAtChartX(speedChart, speedAxisX, inChart.x())));
    }
}

void MainWindow::retranslateCharts()
{
    if (speedChart)
        speedChart->setTitle(tr("Speed History"));
    if (speedAxisY)
        speedAxisY->setTitleText(tr("Speed"));
    if (driverChart)
        driverChart->setTitle(tr("Driver Activity"));
    if (driverAxisX)
        driverAxisX->setTitleText(tr("Time"));
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
    showLoading(tr("Changing scale, please wait....."));
    repaint();

    const int f = scaleFactor(value);
    if (speedAxisX) {
        const qint64 hours =
            (speedAxisX->max().toSecsSinceEpoch() - speedAxisX->min().toSecsSinceEpoch()) / 3600;
        speedAxisX->setTickCount(int(hours * f + 1));
    }
    ui->speedWidget->setMinimumWidth(ui->speedScrollArea->width() * f);
    if (driverAxisX) {
        const qint64 hours =
            (driverAxisX->max().toSecsSinceEpoch() - driverAxisX->min().toSecsSinceEpoch()) / 3600;
        driverAxisX->setTickCount(int(hours * f + 1));
    }
    ui->driverWidget->setMinimumWidth(ui->driverScrollArea->width() * f);

    // Lay the widened charts out now, while the overlay is up, rather than after it is gone:
    // the scroll areas resize their widgets, which resize the chart views, whose charts then
    // lay out (and the speed line gets its envelope for the new width).
    for (int pass = 0; pass < 3; ++pass)
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);

    if (waitingOverlay())
        waitingOverlay()->stopWaiting();
    if (speedSeries)
        placeSpeedTimeLine(true);
}

void MainWindow::placeSpeedTimeLine(bool show)
{
    QLabel *line = ui->speedChartTimeLine;
    // The line lies over the whole window: it belongs to the chart page only.
    if (!show || !speedChart || ui->tabWidget->currentWidget() != ui->tab_chart) {
        line->hide();
        return;
    }
    // The panel shows the time to the half second: "hh:mm:ss.0" or "hh:mm:ss.5".
    const QString timeText = ui->spd_time_value->text();
    QDateTime t = QDateTime::fromString(ui->spd_date_value->text() + QLatin1Char(' ') + timeText.left(8),
                                        QStringLiteral("yyyy/MM/dd hh:mm:ss"));
    if (!t.isValid()) {
        line->hide(); // no instant on the panel
        return;
    }
    if (timeText.endsWith(QLatin1String(".5")))
        t = t.addMSecs(500);

    const double px = chartXOf(speedChart, speedAxisX, t.toMSecsSinceEpoch());
    const QPoint inView(int(std::lround(px)), 0);
    // The line marks the instant on the part of the chart that the scroll area shows.
    const QPoint inViewport = speedChartView->mapTo(ui->speedScrollArea->viewport(), inView);
    if (inViewport.x() < 0 || inViewport.x() >= ui->speedScrollArea->viewport()->width()) {
        line->hide();
        return;
    }
    const int x = speedChartView->mapTo(ui->centralwidget, inView).x();
    const int y = ui->tabWidget->tabBar()->height() + 45;
    line->resize(1, ui->speedWidget->height() - 110);
    line->show();
    line->raise();
    line->move(x, y);
}

void MainWindow::updateSpeedCursor(const QDateTime &t)
{
    if (t < speedAxisX->min() || t > speedAxisX->max())
        return;

    ui->spd_date_value->setText(t.toString(QStringLiteral("yyyy/MM/dd")));
    ui->spd_time_value->setText(vdr::cursorTimeText(t));

    const vdr::SpeedSampleAt sample =
        vdr::speedSampleAt(storedSpeed().records, storedSpeed().starts, t.toMSecsSinceEpoch());
    ui->spd_speed_value->setText(vdr::cursorSpeedText(sample));
    ui->spd_mileage_value->setText(vdr::cursorMileageText(sample));

    ui->spd_driver_value->setText(QString());
    ui->spd_status_value->setText(QString());
    updateCursorDriver(t);

    placeSpeedTimeLine(true);
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
    if (speedSeries)
        placeSpeedTimeLine(true);
}
