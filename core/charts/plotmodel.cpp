#include "core/charts/plotmodel.h"

#include "core/vdr/faultevent.h"
#include "core/vdr/recordertime.h"
#include "core/vdr/speed.h"

#include <algorithm>
#include <cmath>

namespace plot {

int ticksPerHour(int sliderValue)
{
    switch (sliderValue) {
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

int tickSeconds(int sliderValue)
{
    return 3600 / ticksPerHour(sliderValue);
}

int tickCount(qint64 minMs, qint64 maxMs, int sliderValue)
{
    // whole seconds of both ends, then whole hours between them, as the axis is read
    const qint64 hours = (maxMs / 1000 - minMs / 1000) / 3600;
    return int(std::clamp<qint64>(hours * ticksPerHour(sliderValue) + 1, 2, 1 << 20));
}

double TimeScale::xOf(double ms) const
{
    const double span = double(maxMs - minMs);
    if (!(span > 0))
        return left;
    return left + (ms - double(minMs)) * plotWidth() / span;
}

double TimeScale::instantAt(double x) const
{
    if (!(plotWidth() > 0))
        return double(minMs);
    return double(minMs) + (x - left) * double(maxMs - minMs) / plotWidth();
}

qint64 TimeScale::tickMs(int k) const
{
    const int steps = std::max(1, tickCount - 1);
    return minMs + qint64(std::llround(double(k) * double(maxMs - minMs) / steps));
}

bool TimeWindow::operator==(const TimeWindow &o) const
{
    return firstTick == o.firstTick && lastTick == o.lastTick && minMs == o.minMs && maxMs == o.maxMs &&
           viewLeft == o.viewLeft && viewWidth == o.viewWidth && plotLeft == o.plotLeft &&
           plotWidth == o.plotWidth;
}

TimeWindow windowOf(const TimeScale &scale, double scroll, double visible)
{
    const int n = std::max(2, scale.tickCount);
    const double step = double(scale.maxMs - scale.minMs) / (n - 1);
    const double stepColumns = scale.plotWidth() / (n - 1);
    const int chartWidth = std::max(0, int(std::ceil(scale.width - 1e-6)));
    // As many tick steps as the visible columns need wherever they start, plus one more on
    // either side: the view's width does not change while the chart scrolls.
    int steps = n - 1;
    if (step > 0 && stepColumns > 0)
        steps = std::min(n - 1, int(std::ceil(visible / stepColumns - 1e-6)) + 3);

    TimeWindow w;
    if (steps < n - 1) {
        // The tick before the one at or left of the first visible column (a small tolerance
        // keeps a tick on the edge from counting as outside).
        const double a = (scale.instantAt(scroll) - double(scale.minMs)) / step;
        w.firstTick = std::clamp(int(std::floor(a + 1e-6)) - 1, 0, n - 1 - steps);
    }
    w.lastTick = w.firstTick + steps;
    w.minMs = scale.tickMs(w.firstTick);
    w.maxMs = scale.tickMs(w.lastTick);
    const double x0 = scale.xOf(double(w.minMs));
    const double x1 = scale.xOf(double(w.maxMs));
    if (steps == n - 1) {
        w.viewWidth = chartWidth;
    } else {
        w.viewWidth =
            std::min(chartWidth, int(std::ceil(steps * stepColumns + scale.left + scale.right)) + 1);
        w.viewLeft = std::clamp(int(std::floor(x0 - scale.left + 1e-6)), 0, chartWidth - w.viewWidth);
    }
    w.plotLeft = x0 - w.viewLeft;
    w.plotWidth = x1 - x0;
    return w;
}

void SpeedLine::setPoints(const QVector<QPointF> &points)
{
    m_points = points;
    const auto byX = [](const QPointF &a, const QPointF &b) { return a.x() < b.x(); };
    m_ordered = std::is_sorted(m_points.cbegin(), m_points.cend(), byX);
}

QVector<QPointF> SpeedLine::shown(double minMs, double maxMs, double plotLeft, double plotWidth) const
{
    if (!m_ordered)
        return m_points;
    const auto byX = [](const QPointF &a, const QPointF &b) { return a.x() < b.x(); };
    auto first = std::lower_bound(m_points.cbegin(), m_points.cend(), QPointF(minMs, 0), byX);
    auto last = std::upper_bound(m_points.cbegin(), m_points.cend(), QPointF(maxMs, 0), byX);
    if (first != m_points.cbegin())
        --first;
    if (last != m_points.cend())
        ++last;
    return vdr::pixelEnvelope(QVector<QPointF>(first, last), minMs, maxMs, plotLeft, plotWidth);
}

QVector<FaultPeriod> faultPeriods(const vdr::FaultEventResult &block, qint64 chartEndMs)
{
    QVector<FaultPeriod> periods;
    const auto add = [&](const vdr::FaultEventRecord &r, bool event) {
        const QDateTime start = vdr::recorderDateTime(r.start.data());
        if (!start.isValid())
            return;
        const QDateTime end = vdr::recorderDateTime(r.end.data());
        FaultPeriod p;
        p.startMs = start.toMSecsSinceEpoch();
        p.open = !end.isValid() || end < start;
        p.endMs = p.open ? std::max(p.startMs, chartEndMs) : end.toMSecsSinceEpoch();
        p.event = event;
        p.type = vdr::faultTypeNumber(r.type);
        periods.append(p);
    };
    for (const vdr::FaultEventRecord &r : block.errors)
        add(r, false);
    for (const vdr::FaultEventRecord &r : block.events)
        add(r, true);
    return periods;
}

QVector<qint64> clippedSamples(const vdr::SpeedRecords &block, const QVector<qint64> &starts, int maxSpeed)
{
    QVector<qint64> instants;
    const int n = starts.size();
    if (!block.sizeOk() || qint64(n) != qint64(block.count()))
        return instants;
    // the samples speedChartPoints() draws: up to the next valid start
    qint64 end = 0;
    for (int i = n - 1; i >= 0; --i) {
        const qint64 start = starts[i];
        if (start == vdr::kNoStart)
            continue;
        const qint64 until = end == 0 ? start + vdr::kSpeedRecordMs : end;
        for (int j = vdr::kSpeedSamples - 1; j >= 0; --j) {
            const qint64 t = start + qint64(vdr::kSpeedSampleMs) * j;
            const int v = block.speed(i, j);
            if (t <= until && v != vdr::kNoSpeed && v > maxSpeed)
                instants.append(t);
        }
        end = start;
    }
    std::sort(instants.begin(), instants.end());
    return instants;
}

qint64 steppedCursor(qint64 t, qint64 ms, qint64 firstMs, qint64 lastMs)
{
    const qint64 grid = vdr::kSpeedSampleMs;
    const qint64 down = t - ((t % grid) + grid) % grid; // the grid point at or before t
    const qint64 from = ms < 0 && down != t ? down + grid : down;
    return std::clamp(from + ms, firstMs, std::max(firstMs, lastMs));
}

QString SpeedCursor::dateText() const
{
    return isSet() ? instant.toString(QStringLiteral("yyyy/MM/dd")) : QString();
}

QString SpeedCursor::timeText() const
{
    return isSet() ? vdr::cursorTimeText(instant) : QString();
}

} // namespace plot
