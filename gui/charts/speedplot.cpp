#include "gui/charts/speedplot.h"

#include "core/vdr/faultevent.h"

#include <QBrush>
#include <QCoreApplication>
#include <QEvent>
#include <QGraphicsLayout>
#include <QGraphicsPathItem>
#include <QGraphicsRectItem>
#include <QGraphicsSimpleTextItem>
#include <QLabel>
#include <QPainterPath>
#include <QPen>
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

void TimeChart::alignWith(TimeChart *other)
{
    m_partner = other;
    other->m_partner = this;
}

// The insets the plot takes: its own, or its partner's where they are wider.
void TimeChart::takeInsets()
{
    m_scale.left = std::max(m_naturalLeft, m_partner ? m_partner->m_naturalLeft : 0.0);
    m_scale.right = std::max(m_naturalRight, m_partner ? m_partner->m_naturalRight : 0.0);
}

// Moves the plot's edges to the view columns left and right exactly: the layout's contents
// margins take what the chart's whole-pixel margins leave, and a wider inset of the partner.
void TimeChart::placePlotX(double left, double right)
{
    const QRectF plot = m_chart->plotArea();
    const double dl = left - plot.left();
    const double dr = plot.right() - right;
    if (std::abs(dl) < 1e-3 && std::abs(dr) < 1e-3)
        return;
    qreal l, t, r, b;
    m_chart->layout()->getContentsMargins(&l, &t, &r, &b);
    if (!m_nudged)
        m_layoutMargins = QMarginsF(l, t, r, b);
    m_nudged = true;
    // A negative contents margin would stand for the style's: a chart margin gives a pixel.
    double newLeft = l + dl;
    double newRight = r + dr;
    QMargins margins = m_chart->margins();
    for (; newLeft < 0 && margins.left() > 0; newLeft += 1)
        margins.setLeft(margins.left() - 1);
    for (; newRight < 0 && margins.right() > 0; newRight += 1)
        margins.setRight(margins.right() - 1);
    m_chart->setMargins(margins);
    m_chart->layout()->setContentsMargins(std::max(0.0, newLeft), t, std::max(0.0, newRight), b);
    layOutNow();
}

void TimeChart::restoreLayoutMargins()
{
    if (!m_nudged)
        return;
    m_nudged = false;
    m_chart->layout()->setContentsMargins(m_layoutMargins.left(), m_layoutMargins.top(),
                                          m_layoutMargins.right(), m_layoutMargins.bottom());
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
    restoreLayoutMargins();
    m_chart->setMargins(m_margins);
    m_axisX->setRange(timeMin(), timeMax());
    m_axisX->setTickCount(ticks);
    m_chart->resize(width, height);
    layOutNow();
    const QRectF plot = m_chart->plotArea();
    if (plot.left() != m_naturalLeft || width - plot.right() != m_naturalRight)
        m_insetsChanged = true;
    m_naturalLeft = plot.left();
    m_naturalRight = width - plot.right();
    takeInsets();
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
    // The partner lays its plot out between the new columns too.
    if (m_insetsChanged) {
        m_insetsChanged = false;
        if (m_partner)
            m_partner->apply();
    }
}

// The whole chart fits: it is laid out as it is, and its insets are those of the whole chart.
void TimeChart::applyWhole(int height)
{
    takeInsets();
    const QVector<qint64> key = {height, m_visible, m_scale.minMs, m_scale.maxMs, m_scale.tickCount};
    const plot::TimeWindow w = plot::windowOf(m_scale, 0, m_visible);
    if (key == m_measuredFor && w == m_window && m_view->geometry() == QRect(0, 0, w.viewWidth, height))
        return;
    m_view->setGeometry(0, 0, w.viewWidth, height);
    measure(w.viewWidth, height, m_scale.tickCount);
    m_measuredFor = key;
    m_window = plot::windowOf(m_scale, 0, m_visible);
    placePlotX(m_window.plotLeft, m_window.plotLeft + m_window.plotWidth);
}

void TimeChart::applyWindow(int height)
{
    takeInsets();
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
    restoreLayoutMargins();
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
    placePlotX(target.left(), target.right());
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
    refreshMarks();
}

namespace {

// Shades lie over the plot's background and under its grid lines and line; the legend and the
// marks of clipped speeds over everything.
constexpr double kShadeZ = 1.5;
constexpr double kMarkZ = 50;

QString typeName(int type)
{
    const QString name = vdr::faultTypeText(char('0' + type));
    return name.isEmpty() ? QString::number(type) : name;
}

} // namespace

QColor SpeedPlot::shadeColour(int type)
{
    static const QRgb colours[] = {0xffc8c8, 0xdcc8ff, 0xffdcb4, 0xc8dcff, 0xd2d2d2,
                                   0xc8f0c8, 0xfff0a0, 0xffc8ec, 0xe0e0c0, 0xc0e0e0};
    QColor c(colours[std::clamp(type, 0, 9)]);
    c.setAlpha(170);
    return c;
}

void SpeedPlot::setFaultPeriods(const QVector<plot::FaultPeriod> &periods)
{
    qDeleteAll(m_shades);
    m_shades.clear();
    qDeleteAll(m_legend);
    m_legend.clear();
    m_periods = periods;
    QVector<int> types;
    for (const plot::FaultPeriod &p : periods) {
        auto *shade = new QGraphicsRectItem(chart());
        shade->setPen(Qt::NoPen);
        shade->setBrush(shadeColour(p.type));
        shade->setZValue(kShadeZ);
        const QString format = QStringLiteral("hh:mm:ss");
        const QString until = p.open ? QCoreApplication::translate("MainWindow", "continuing")
                                     : QDateTime::fromMSecsSinceEpoch(p.endMs).toString(format);
        shade->setToolTip((p.event ? tr("Event: %1") : tr("Fault: %1")).arg(typeName(p.type)) +
                          QStringLiteral("\n") + QDateTime::fromMSecsSinceEpoch(p.startMs).toString(format) +
                          QStringLiteral(" - ") + until);
        shade->hide();
        m_shades.append(shade);
        if (!types.contains(p.type))
            types.append(p.type);
    }
    for (int type : types) {
        auto *swatch = new QGraphicsRectItem(0, 0, 10, 10, chart());
        swatch->setBrush(shadeColour(type));
        swatch->setPen(QPen(Qt::gray));
        auto *text = new QGraphicsSimpleTextItem(typeName(type), chart());
        for (QGraphicsItem *item :
             {static_cast<QGraphicsItem *>(swatch), static_cast<QGraphicsItem *>(text)}) {
            item->setZValue(kMarkZ);
            item->setToolTip(typeName(type));
            item->hide();
            m_legend.append(item);
        }
    }
    refreshMarks();
}

QStringList SpeedPlot::legendTexts() const
{
    QStringList texts;
    for (QGraphicsItem *item : m_legend)
        if (auto *text = dynamic_cast<QGraphicsSimpleTextItem *>(item))
            texts.append(text->text());
    return texts;
}

void SpeedPlot::setClippedSamples(const QVector<qint64> &instants)
{
    m_clipped = instants;
    refreshMarks();
}

// The shades, the legend and the marks of clipped speeds, placed on the plot as it is drawn.
void SpeedPlot::refreshMarks()
{
    const QRectF plot = chart()->plotArea();
    const bool drawn = plot.width() > 1 && plot.height() > 1;
    for (int i = 0; i < m_shades.size(); ++i) {
        const double x0 = std::max(plot.left(), chartXOf(m_periods[i].startMs));
        const double x1 = std::min(plot.right(), chartXOf(m_periods[i].endMs));
        const bool inView = drawn && x1 >= plot.left() && x0 <= plot.right() && x0 <= x1;
        if (inView) // a period shorter than a column still shows as one
            m_shades[i]->setRect(QRectF(x0, plot.top(), std::max(1.0, x1 - x0), plot.height()));
        m_shades[i]->setVisible(inView);
    }

    // The legend, in the top right corner of the part of the plot that is on screen, below
    // the marks of clipped speeds, on a pale ground.
    double right = std::min(plot.right(), double(shownRight())) - 6;
    const double y = plot.top() + 10;
    double height = 0;
    for (int i = m_legend.size() - 2; i >= 0; i -= 2) {
        QGraphicsItem *swatch = m_legend[i];
        QGraphicsItem *text = m_legend[i + 1];
        const QRectF box = text->boundingRect();
        height = std::max(height, box.height());
        text->setPos(right - box.width(), y);
        swatch->setPos(right - box.width() - 14, y + (box.height() - 10) / 2);
        right -= box.width() + 26;
        swatch->setVisible(drawn);
        text->setVisible(drawn);
    }
    if (!m_legend.isEmpty()) {
        if (!m_legendGround) {
            m_legendGround = new QGraphicsRectItem(chart());
            m_legendGround->setPen(Qt::NoPen);
            m_legendGround->setBrush(QColor(255, 255, 255, 210));
            m_legendGround->setZValue(kMarkZ - 1);
        }
        const double left = right + 26 - 14 - 4;
        const double end = std::min(plot.right(), double(shownRight())) - 2;
        m_legendGround->setRect(QRectF(left, y - 2, end - left, height + 4));
    }
    if (m_legendGround)
        m_legendGround->setVisible(drawn && !m_legend.isEmpty());

    // A mark per pixel column with a clipped sample, a small triangle hanging from the top.
    m_markColumns.clear();
    if (drawn && !m_clipped.isEmpty()) {
        const qint64 min = axisX()->min().toMSecsSinceEpoch();
        const qint64 max = axisX()->max().toMSecsSinceEpoch();
        auto it = std::lower_bound(m_clipped.cbegin(), m_clipped.cend(), min);
        const auto end = std::upper_bound(it, m_clipped.cend(), max);
        for (; it != end; ++it) {
            const int x = int(std::lround(chartXOf(*it)));
            if (m_markColumns.isEmpty() || m_markColumns.last() != x)
                m_markColumns.append(x);
        }
    }
    if (m_markColumns.isEmpty()) {
        if (m_marks)
            m_marks->hide();
        return;
    }
    if (!m_marks) {
        m_marks = new QGraphicsPathItem(chart());
        m_marks->setPen(Qt::NoPen);
        m_marks->setBrush(QColor(220, 0, 0));
        m_marks->setZValue(kMarkZ);
    }
    m_marks->setToolTip(tr("Speed above %1 km/h").arg(maxSpeed()));
    QPainterPath path;
    for (int x : m_markColumns) {
        path.moveTo(x - 4, plot.top());
        path.lineTo(x + 4, plot.top());
        path.lineTo(x, plot.top() + 7);
        path.closeSubpath();
    }
    m_marks->setPath(path);
    m_marks->show();
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
