#include "gui/charts/speedplot.h"

#include <QEvent>
#include <QGraphicsLayout>
#include <QLabel>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QDateTimeAxis>
#include <QtCharts/QLineSeries>
#include <QtCharts/QValueAxis>

#include <algorithm>
#include <cmath>

QT_CHARTS_USE_NAMESPACE

namespace {

QDateTime fromMs(qint64 ms)
{
    return QDateTime::fromMSecsSinceEpoch(ms);
}

} // namespace

TimeChart::TimeChart(QWidget *host, const QMargins &margins) : m_margins(margins)
{
    m_chart = new QChart();
    m_chart->setMargins(margins);
    m_axisX = new QDateTimeAxis();
    m_chart->addAxis(m_axisX, Qt::AlignBottom);
    // Made with its chart: a view made without one makes a default chart of its own.
    m_view = new QChartView(m_chart, host);
    m_view->resize(host->size());
    setParent(m_view);
    m_view->installEventFilter(this);
    connect(m_chart, &QChart::plotAreaChanged, this, &TimeChart::plotAreaMoved);
}

void TimeChart::setTimeAxis(const QDateTime &min, const QDateTime &max, int tickCount)
{
    m_scale.minMs = min.toMSecsSinceEpoch();
    m_scale.maxMs = max.toMSecsSinceEpoch();
    m_scale.tickCount = std::max(2, tickCount);
    // Until the chart is shown at a width, its axis is the whole axis.
    if (m_scale.width < 1) {
        m_axisX->setRange(min, max);
        m_axisX->setTickCount(m_scale.tickCount);
    }
}

QDateTime TimeChart::timeMin() const
{
    return fromMs(m_scale.minMs);
}

QDateTime TimeChart::timeMax() const
{
    return fromMs(m_scale.maxMs);
}

void TimeChart::showColumns(int width, int scroll, int visible)
{
    m_scale.width = width;
    m_scroll = scroll;
    m_visible = visible;
    apply();
}

double TimeChart::chartXOf(qint64 ms) const
{
    const QRectF plot = m_chart->plotArea();
    const double min = double(m_axisX->min().toMSecsSinceEpoch());
    const double max = double(m_axisX->max().toMSecsSinceEpoch());
    if (!(max > min))
        return plot.left();
    return plot.left() + (double(ms) - min) * plot.width() / (max - min);
}

qint64 TimeChart::instantAtChartX(double x) const
{
    const QRectF plot = m_chart->plotArea();
    const double min = double(m_axisX->min().toMSecsSinceEpoch());
    const double max = double(m_axisX->max().toMSecsSinceEpoch());
    if (plot.width() <= 0)
        return qint64(min);
    return qint64(min + (x - plot.left()) * (max - min) / plot.width());
}

void TimeChart::layOutNow()
{
    m_chart->layout()->invalidate();
    m_chart->layout()->activate();
}

// The ticks laid out to measure the whole chart's insets: all of them when the whole chart is
// shown, else one an hour. The insets come from the labels at both ends and from the longest
// label, which are the same with any number of ticks over the same span.
int TimeChart::measuredTicks() const
{
    if (m_scale.width <= m_visible)
        return m_scale.tickCount;
    return int(std::clamp<qint64>((m_scale.maxMs - m_scale.minMs) / 3600000 + 1, 2, 64));
}

// The plot insets of the whole chart: the chart as wide as the screen over the whole axis.
void TimeChart::measure(int width, int height, int ticks)
{
    m_chart->setMargins(m_margins);
    m_axisX->setRange(timeMin(), timeMax());
    m_axisX->setTickCount(ticks);
    m_chart->resize(width, height);
    layOutNow();
    const QRectF plot = m_chart->plotArea();
    m_scale.left = plot.left();
    m_scale.right = width - plot.right();
    m_plotTop = plot.top();
    m_plotBottom = height - plot.bottom();
    m_inner =
        QMarginsF(plot.left() - m_margins.left(), plot.top() - m_margins.top(),
                  width - m_margins.right() - plot.right(), height - m_margins.bottom() - plot.bottom());
}

void TimeChart::apply()
{
    if (m_applying)
        return;
    const int height = m_view->parentWidget()->height();
    if (m_scale.width < 1 || m_visible < 1 || height < 1)
        return;
    // A chart that is not on screen is laid out when it is shown.
    m_pending = !m_view->isVisible();
    if (m_pending)
        return;
    m_applying = true;
    if (m_scale.width <= m_visible)
        applyWhole(height);
    else
        applyWindow(height);
    m_applying = false;
    windowChanged();
    emit laidOut();
}

// The whole chart fits: it is laid out as it is, and its insets are those of the whole chart.
void TimeChart::applyWhole(int height)
{
    const QVector<qint64> key = {height, m_visible, m_scale.minMs, m_scale.maxMs, m_scale.tickCount};
    const plot::TimeWindow w = plot::windowOf(m_scale, 0, m_visible);
    if (key == m_measuredFor && w == m_window && m_view->geometry() == QRect(0, 0, w.viewWidth, height))
        return;
    m_view->setGeometry(0, 0, w.viewWidth, height);
    measure(w.viewWidth, height, m_scale.tickCount);
    m_measuredFor = key;
    m_window = plot::windowOf(m_scale, 0, m_visible);
}

void TimeChart::applyWindow(int height)
{
    const int ticks = measuredTicks();
    const QVector<qint64> key = {height, m_visible, m_scale.minMs, m_scale.maxMs, ticks};
    const bool measured = key != m_measuredFor;
    if (measured) {
        measure(m_visible, height, ticks);
        m_measuredFor = key;
    }
    const plot::TimeWindow w = plot::windowOf(m_scale, m_scroll, m_visible);
    const QRect geometry(w.viewLeft, 0, w.viewWidth, height);
    if (!measured && w == m_window && m_view->geometry() == geometry)
        return;

    // The plot goes where the wide chart has it. Labels here may take more or less room than
    // the labels of the whole axis (a tick label of 9:59:30 is narrower than one of 10:00:00):
    // the margins make up the difference. What the layout puts between each margin and the
    // plot (axes, title, legend) was measured by the last layout and changes only with the
    // labels' lengths, so the margins follow from it, and one layout usually confirms them.
    const QRectF target(w.plotLeft, m_plotTop, w.plotWidth, height - m_plotTop - m_plotBottom);
    const auto marginsFor = [&] {
        return QMargins(std::max(0, int(std::lround(target.left() - m_inner.left()))),
                        std::max(0, int(std::lround(target.top() - m_inner.top()))),
                        std::max(0, int(std::lround(geometry.width() - m_inner.right() - target.right()))),
                        std::max(0, int(std::lround(height - m_inner.bottom() - target.bottom()))));
    };
    m_chart->setMargins(marginsFor());
    // The new axis before the new size: the view lays the chart out when it is resized, and
    // should do so once, with the new labels.
    if (w.minMs != m_axisX->min().toMSecsSinceEpoch() || w.maxMs != m_axisX->max().toMSecsSinceEpoch())
        m_axisX->setRange(fromMs(w.minMs), fromMs(w.maxMs));
    if (m_axisX->tickCount() != w.tickCount())
        m_axisX->setTickCount(w.tickCount());
    if (m_view->geometry() != geometry)
        m_view->setGeometry(geometry);
    if (m_chart->size() != QSizeF(geometry.size()))
        m_chart->resize(geometry.size()); // what the view does once it is shown
    m_chart->layout()->activate();
    for (int pass = 0; pass < 3; ++pass) {
        const QMargins margins = m_chart->margins();
        const QRectF plot = m_chart->plotArea();
        m_inner = QMarginsF(plot.left() - margins.left(), plot.top() - margins.top(),
                            geometry.width() - margins.right() - plot.right(),
                            height - margins.bottom() - plot.bottom());
        const QMargins better = marginsFor();
        if (better == margins)
            break;
        m_chart->setMargins(better);
        layOutNow();
    }
    m_window = w;
}

bool TimeChart::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_view && event->type() == QEvent::Show && m_pending)
        apply();
    return QObject::eventFilter(watched, event);
}

// Something other than a new window moved the plot: a title, the legend, or labels in another
// language. The insets of the whole chart are measured again once the chart has settled.
void TimeChart::plotAreaMoved()
{
    if (m_applying || m_remeasurePending || m_measuredFor.isEmpty())
        return;
    m_remeasurePending = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_remeasurePending = false;
            m_measuredFor.clear();
            apply();
        },
        Qt::QueuedConnection);
}

SpeedPlot::SpeedPlot(QWidget *host) : TimeChart(host, QMargins(10, 10, 10, 10))
{
    chart()->layout()->setContentsMargins(0, 0, 0, 10);
    chart()->legend()->hide();
    axisX()->setGridLineVisible(true);

    m_axisY = new QValueAxis();
    m_axisY->setRange(0, maxSpeed());
    m_axisY->setTickCount(13);
    m_axisY->setMinorTickCount(1);
    m_axisY->setLabelFormat(QStringLiteral("%d"));
    m_axisY->setGridLineVisible(true);
    chart()->addAxis(m_axisY, Qt::AlignLeft);

    m_series = new QLineSeries();
    m_series->setPen(QPen(QBrush(Qt::blue), 1, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
    chart()->addSeries(m_series);
    m_series->attachAxis(axisX());
    m_series->attachAxis(m_axisY);
    view()->setRenderHint(QPainter::Antialiasing);
}

void SpeedPlot::setLine(const QVector<QPointF> &points)
{
    m_line.setPoints(points);
    m_hasLine = true;
    m_shownFor.clear();
    refreshLine();
}

void SpeedPlot::clearLine()
{
    m_line.clear();
    m_hasLine = false;
    m_shownFor.clear();
    m_series->clear();
}

void SpeedPlot::windowChanged()
{
    refreshLine();
}

// The series holds the line of the shown span only, as drawn into the plot's pixel columns:
// handing QtCharts every half-second sample of a day costs about a second.
void SpeedPlot::refreshLine()
{
    if (!m_hasLine)
        return;
    double minX = double(window().minMs);
    double maxX = double(window().maxMs);
    QRectF plot = chart()->plotArea();
    if (window().viewWidth <= 0 || plot.width() <= 1) {
        // Not shown yet: a provisional line over the whole axis until the chart is laid out.
        minX = double(scale().minMs);
        maxX = double(scale().maxMs);
        plot = QRectF(0, 0, 1200, 1);
    }
    const QVector<double> key = {minX, maxX, plot.left(), plot.width()};
    if (key == m_shownFor)
        return;
    m_shownFor = key;
    m_series->replace(m_line.shown(minX, maxX, plot.left(), plot.width()));
}

void SpeedPlot::placeCursorLine(QLabel *line, int y, int height, const QWidget *clip) const
{
    const qint64 t = m_cursor.instant.toMSecsSinceEpoch();
    if (!m_cursor.isSet() || t < axisX()->min().toMSecsSinceEpoch() ||
        t > axisX()->max().toMSecsSinceEpoch()) {
        line->hide();
        return;
    }
    const QPoint inView(int(std::lround(chartXOf(t))), 0);
    if (clip) {
        const int x = view()->mapTo(clip, inView).x();
        if (x < 0 || x >= clip->width()) {
            line->hide();
            return;
        }
    }
    const int x = view()->mapTo(line->parentWidget(), inView).x();
    line->resize(1, height);
    line->show();
    line->raise();
    line->move(x, y);
}
