#include "core/print/printspan.h"

#include <algorithm>
#include <limits>

namespace print {

namespace {

// Remainder toward minus infinity, so that instants before the epoch align like the others.
qint64 floorMod(qint64 a, qint64 b)
{
    const qint64 r = a % b;
    return r < 0 ? r + b : r;
}

QDateTime fromMs(qint64 ms)
{
    return QDateTime::fromMSecsSinceEpoch(ms);
}

} // namespace

int tickCount(const QDateTime &start, const QDateTime &end, int tickSeconds)
{
    if (tickSeconds <= 0)
        return 2;
    const qint64 seconds = std::max<qint64>(0, start.secsTo(end));
    const qint64 count = seconds / tickSeconds + 1;
    return int(std::clamp<qint64>(count, 2, std::numeric_limits<int>::max()));
}

Span alignedSpan(qint64 startMs, qint64 endMs, int tickSeconds, const QDateTime &axisMin,
                 const QDateTime &axisMax)
{
    if (tickSeconds <= 0)
        tickSeconds = 3600;
    // whole seconds, cut toward zero as the chart's values are read
    qint64 start = startMs / 1000;
    qint64 end = endMs / 1000;
    const qint64 startOff = floorMod(start, tickSeconds);
    if (startOff != 0)
        start -= startOff;
    const qint64 endOff = floorMod(end, tickSeconds);
    if (endOff != 0)
        end += tickSeconds - endOff;

    Span span;
    span.start = fromMs(start * 1000);
    span.end = fromMs(end * 1000);
    if (span.start < axisMin)
        span.start = axisMin;
    if (axisMax < span.end || span.end < span.start)
        span.end = axisMax;
    if (span.end < span.start)
        span.start = axisMin;
    span.tickCount = print::tickCount(span.start, span.end, tickSeconds);
    return span;
}

QRectF pagePlacement(const QSizeF &window, const QSizeF &printable)
{
    if (window.width() <= 0 || window.height() <= 0)
        return QRectF();
    const double scale = std::min(printable.width() / window.width(), printable.height() / window.height());
    const QSizeF size = window * scale;
    return QRectF(QPointF((printable.width() - size.width()) / 2, (printable.height() - size.height()) / 2),
                  size);
}

} // namespace print
