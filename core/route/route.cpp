#include "core/route/route.h"

#include "core/vdr/dayreport.h"
#include "core/vdr/location.h"
#include "core/vdr/recordertime.h"

namespace route {

namespace {

// The stamp as a local date-time, invalid unless both date and time are valid (a valid date
// with an invalid time must not become that day's midnight) and the local time exists.
QDateTime fixTime(const vdr::LocationFix &fix)
{
    const uchar *p = fix.time.data();
    const QDate date(vdr::bcdValue(p[0]) * 100 + vdr::bcdValue(p[1]), vdr::bcdValue(p[2]),
                     vdr::bcdValue(p[3]));
    const QTime time(vdr::bcdValue(p[4]), vdr::bcdValue(p[5]), vdr::bcdValue(p[6]));
    if (!date.isValid() || !time.isValid())
        return {};
    return QDateTime(date, time, Qt::LocalTime);
}

} // namespace

double preciseDegrees(qint32 value)
{
    // Integer parts first: the degrees and the minutes' digits keep their sign.
    return value / 1000000 + (value % 1000000) / 600000.0;
}

bool coordinateInRange(qint32 value, int limit)
{
    const qint64 magnitude = qAbs(qint64(value));
    const qint64 degrees = magnitude / 1000000, minutes = magnitude % 1000000;
    return minutes < 600000 && (degrees < limit || (degrees == limit && minutes == 0));
}

int Route::pointCount() const
{
    int n = 0;
    for (const RouteRun &run : runs)
        n += run.size();
    return n;
}

Route routeFromLocation(const vdr::LocationResult &result)
{
    Route route;
    if (!result.ok())
        return route;
    bool lineOpen = false;
    for (const vdr::LocationFix &fix : result.fixes) {
        ++route.fixCount;
        if (fix.status == 0) {
            ++route.withoutFix;
            lineOpen = false;
            continue;
        }
        if (!coordinateInRange(fix.latitude, 90) || !coordinateInRange(fix.longitude, 180)) {
            ++route.outOfRange;
            lineOpen = false;
            continue;
        }
        if (!lineOpen)
            route.runs.append(RouteRun());
        lineOpen = true;
        RoutePoint point;
        point.longitude = preciseDegrees(fix.longitude);
        point.latitude = preciseDegrees(fix.latitude);
        point.height = fix.height / 10.0;
        point.speed = fix.speed;
        point.time = fixTime(fix);
        route.runs.last().append(point);
    }
    return route;
}

Route routeFromDay(const vdr::DayReport &report)
{
    Route route;
    for (const vdr::BlockReport &block : report.blocks) {
        if (block.info.dataId != vdr::LocationBlock || !block.ok())
            continue;
        const Route part = routeFromLocation(block.location);
        route.runs += part.runs;
        route.fixCount += part.fixCount;
        route.withoutFix += part.withoutFix;
        route.outOfRange += part.outOfRange;
    }
    return route;
}

} // namespace route
