#pragma once

#include <QDateTime>
#include <QPointF>
#include <QString>
#include <QVector>

namespace vdr {
struct FaultEventResult;
class SpeedRecords;
} // namespace vdr

// The time plots of the chart page and of the printed report, without widgets: the scale
// slider's table, the mapping between instants and pixel columns of a chart as wide as the
// scale makes it, the part of that chart a view has to draw to fill the screen, the speed line
// as drawn into pixel columns, and the time cursor.
namespace plot {

// Top of the speed axis, km/h; faster samples are drawn there.
constexpr int kSpeedAxisMax = 240;

// Axis ticks per hour for a position of the scale slider: 1, 2, 3, 6, 12, 60 and 120 for the
// positions 1 to 7; 1 for any other value.
int ticksPerHour(int sliderValue);
// Seconds from one tick to the next at a slider position: 3600 / ticksPerHour.
int tickSeconds(int sliderValue);
// Ticks of a time axis from minMs to maxMs at a slider position: the whole hours of the span
// times ticksPerHour, plus one; at least 2.
int tickCount(qint64 minMs, qint64 maxMs, int sliderValue);

// A time axis laid out over a chart `width` columns wide whose plot runs from column `left`
// to column width - right. Instants map linearly onto the plot; the tickCount ticks divide
// it evenly, the first at minMs and the last at maxMs.
struct TimeScale
{
    qint64 minMs = 0;
    qint64 maxMs = 0;
    int tickCount = 2;
    double width = 0;
    double left = 0;
    double right = 0;

    double plotWidth() const { return width - left - right; }
    double xOf(double ms) const;      // column of an instant
    double instantAt(double x) const; // instant (ms since the epoch) at a column
    qint64 tickMs(int k) const;       // instant of tick k, to the millisecond
};

// What a view has to show of a time scale so that the columns [scroll, scroll + visible) of the
// whole chart are covered: the ticks around them, one more on either side (whose turned labels
// reach into the columns), and the axis insets of the chart beyond the outer ticks, within the
// chart. The view's own time axis runs from tick firstTick to tick lastTick with the same tick
// spacing, so ticks, grid lines and labels fall where the whole chart has them. Its width
// does not depend on scroll: scrolling moves the view and changes its axis range only.
struct TimeWindow
{
    int firstTick = 0;
    int lastTick = 1;
    qint64 minMs = 0; // the view's axis: the instants of firstTick and lastTick
    qint64 maxMs = 0;
    int viewLeft = 0; // the view's columns in the whole chart
    int viewWidth = 0;
    double plotLeft = 0; // the view's plot, in its own columns
    double plotWidth = 0;

    int tickCount() const { return lastTick - firstTick + 1; }
    bool operator==(const TimeWindow &o) const;
    bool operator!=(const TimeWindow &o) const { return !(*this == o); }
};
TimeWindow windowOf(const TimeScale &scale, double scroll, double visible);

// The day's speed line: every half-second point, and the part a plot draws. A full day is
// 172,800 points; a chart needs at most four per pixel column to draw the same picture.
class SpeedLine
{
public:
    void setPoints(const QVector<QPointF> &points);
    void clear() { setPoints({}); }
    const QVector<QPointF> &points() const { return m_points; }
    bool isEmpty() const { return m_points.isEmpty(); }

    // The line over [minMs, maxMs] drawn into plotWidth pixel columns starting at plotLeft:
    // the points inside the span and one on either side (so the line runs on to the plot's
    // edges), reduced per column (vdr::pixelEnvelope). A line whose points are not in time
    // order is given whole.
    QVector<QPointF> shown(double minMs, double maxMs, double plotLeft, double plotWidth) const;

private:
    QVector<QPointF> m_points;
    bool m_ordered = true;
};

// The time cursor: an instant and the values the "Speed Info" panel, the chart's time line and
// the printed report show for it.
struct SpeedCursor
{
    QDateTime instant; // invalid: no cursor
    QString speed;     // "40 km/h", "---- km/h", or "0 km/h" with no record at the instant
    QString mileage;   // "106.0 km", "--.- km", or "0 km"
    QString driver;    // the driver's ID; empty with no driver change around the instant
    QString status;    // the driver's activity; empty when unknown

    bool isSet() const { return instant.isValid(); }
    QString dateText() const; // "yyyy/MM/dd"; empty without a cursor
    QString timeText() const; // "hh:mm:ss.0" or "hh:mm:ss.5"; empty without a cursor
};

// A fault or event period of the day, as the speed chart shades it. A period without a valid
// end, or ending before it starts, is still running: it lasts to the end of the chart.
struct FaultPeriod
{
    qint64 startMs = 0;
    qint64 endMs = 0;
    bool open = false;  // no end recorded: endMs is the chart's end
    bool event = false; // an event record, else a fault ("Error") record
    int type = 0;       // the type number (vdr::faultTypeNumber)
};
// The periods of a decoded block with a valid start, faults first, each in file order.
QVector<FaultPeriod> faultPeriods(const vdr::FaultEventResult &block, qint64 chartEndMs);

// The instants of the samples the chart line draws whose speed lies above maxSpeed (0xFF, no
// value, is not a speed): the line shows them cut at the top of the axis.
QVector<qint64> clippedSamples(const vdr::SpeedRecords &block, const QVector<qint64> &starts, int maxSpeed);

// Moves a cursor on the half-second grid of the samples: steps of ms (negative: back) from the
// grid point at or past t in the step's direction, kept within [firstMs, lastMs].
qint64 steppedCursor(qint64 t, qint64 ms, qint64 firstMs, qint64 lastMs);

} // namespace plot
