#pragma once

#include <QDateTime>
#include <QRectF>
#include <QSizeF>

// The time span and page placement of the printed speed report.
namespace print {

struct Span
{
    QDateTime start;
    QDateTime end;
    int tickCount = 2; // ticks of a time axis from start to end, one every tick seconds
};

// The span shown for the part of the chart between startMs and endMs (ms since the epoch):
// both ends widened to whole ticks counted in seconds since the epoch (start down, end up),
// then cut to the axis [axisMin, axisMax]. An end beyond the axis or before the start
// becomes the axis maximum; a start that still lies after the end (the visible part is
// wholly beyond the axis) becomes the axis minimum, so the span is never reversed.
Span alignedSpan(qint64 startMs, qint64 endMs, int tickSeconds, const QDateTime &axisMin,
                 const QDateTime &axisMax);

// Ticks of an axis from start to end every tickSeconds: whole tick steps + 1, at least 2.
int tickCount(const QDateTime &start, const QDateTime &end, int tickSeconds);

// Where a window of the given size lands on a page, in the painter's coordinates of a
// printer whose origin is the top-left corner of the printable area: scaled by the smaller
// of the two ratios so that all of it fits, and centred on the printable area.
QRectF pagePlacement(const QSizeF &window, const QSizeF &printable);

} // namespace print
