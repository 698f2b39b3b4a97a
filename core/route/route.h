#pragma once

#include <QDateTime>
#include <QVector>

namespace vdr {
struct DayReport;
struct LocationResult;
} // namespace vdr

// Where the vehicle went: the day's fixes that carry a position, at the full precision the
// recorder stores, split into runs wherever the line breaks.
namespace route {

// A stored coordinate value (degrees x 1000000 + minutes x 10000 + ten-thousandths of a
// minute) in degrees, the fraction of the minute included: 121303000 gives 121.505. The
// value carries its own sign (the recorder has no hemisphere field): south and west are
// negative, -121303000 gives -121.505.
double preciseDegrees(qint32 value);

// Whether a stored coordinate value names a place: its minutes are below 60 and the degrees
// lie within `limit` (90 for a latitude, 180 for a longitude).
bool coordinateInRange(qint32 value, int limit);

struct RoutePoint
{
    double longitude = 0; // degrees, east positive
    double latitude = 0;  // degrees, north positive
    double height = 0;    // metres
    int speed = 0;        // km/h
    // The recorder's local time of the fix; invalid when its stamp is not a valid local
    // date and time.
    QDateTime time;
};

using RouteRun = QVector<RoutePoint>;

struct Route
{
    // The positioned fixes in record order. A fix without a position (status 0, or a
    // coordinate that names no place) ends a run; so does the end of a location block.
    QVector<RouteRun> runs;
    int fixCount = 0;   // fixes read, with or without a position
    int withoutFix = 0; // fixes with status 0
    int outOfRange = 0; // fixes with a status but a coordinate that names no place

    bool isEmpty() const { return runs.isEmpty(); }
    int pointCount() const;
    // The first and the last point of the route; the route must not be empty.
    const RoutePoint &first() const { return runs.constFirst().constFirst(); }
    const RoutePoint &last() const { return runs.constLast().constLast(); }
};

// The route of one decoded location block (none when the block failed its size check).
Route routeFromLocation(const vdr::LocationResult &result);
// The route of a day: every sound location block, in file order.
Route routeFromDay(const vdr::DayReport &report);

} // namespace route
