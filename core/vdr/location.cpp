#include "core/vdr/location.h"

#include "core/vdr/recordertime.h"

#include <QHash>

#include <cstring>

namespace vdr {

namespace {

const QString kTimeFormat = QStringLiteral("yyyy/MM/dd hh:mm:ss");

// Fixes fall into the same hour when their local date and hour agree. All fixes whose time
// does not form a valid date-time share one key (their entry's text is empty).
struct HourKey
{
    qint64 julianDay;
    int hour;
    bool operator==(const HourKey &other) const { return julianDay == other.julianDay && hour == other.hour; }
};

uint qHash(const HourKey &key, uint seed = 0)
{
    return ::qHash(key.julianDay, seed) ^ uint(key.hour);
}

// The date and hour of recorderDateTime(stamp), {-1, -1} when that is not valid, for many
// stamps. Each conversion to a local date-time consults the time zone, which is slow for a day
// of thousands of fixes; they share few minutes, so whether a local minute exists (it does not
// inside a daylight-saving gap) is asked once per minute.
class HourKeys
{
public:
    HourKey of(const uchar *stamp)
    {
        const QDate date(bcdValue(stamp[0]) * 100 + bcdValue(stamp[1]), bcdValue(stamp[2]),
                         bcdValue(stamp[3]));
        if (!date.isValid())
            return {-1, -1};
        QTime time(bcdValue(stamp[4]), bcdValue(stamp[5]), bcdValue(stamp[6]));
        if (!time.isValid())
            time = QTime(0, 0); // a valid date with an invalid time reads as that day's midnight
        const qint64 minute = date.toJulianDay() * 1440 + time.hour() * 60 + time.minute();
        auto known = validMinutes.constFind(minute);
        if (known == validMinutes.constEnd())
            known = validMinutes.insert(
                minute, QDateTime(date, QTime(time.hour(), time.minute()), Qt::LocalTime).isValid());
        if (!known.value())
            return {-1, -1};
        return {date.toJulianDay(), time.hour()};
    }

private:
    QHash<qint64, bool> validMinutes;
};

qint32 i32At(const uchar *p)
{
    return qint32(quint32(p[0]) | (quint32(p[1]) << 8) | (quint32(p[2]) << 16) | (quint32(p[3]) << 24));
}

QString degreesText(qint32 value)
{
    return QStringLiteral("%1").arg(coordinateDegrees(value), 0, 'g', 8);
}

} // namespace

LocationResult decodeLocationBlock(const uchar *data, qint64 size)
{
    LocationResult result;
    result.size = size;
    if (size < 2)
        return result; // the count itself does not fit: expectedSize stays 2
    result.count = data[0] | (data[1] << 8);
    result.expectedSize = 2 + qint64(kLocationRecordSize) * result.count;
    if (!result.ok())
        return result;
    result.fixes.resize(result.count);
    for (int i = 0; i < result.count; ++i) {
        const uchar *p = data + 2 + i * kLocationRecordSize;
        LocationFix &fix = result.fixes[i];
        fix = locationPointAt(p + 7);
        std::memcpy(fix.time.data(), p, 7);
    }

    // Fixes fall into one entry when their local date and hour agree; the entry shows its first.
    QHash<HourKey, int> entryOf;
    HourKeys keys;
    for (int i = 0; i < result.fixes.size(); ++i) {
        const uchar *time = result.fixes.at(i).time.data();
        const HourKey key = keys.of(time);
        auto entry = entryOf.constFind(key);
        if (entry == entryOf.constEnd()) {
            entry = entryOf.insert(key, result.hours.size());
            result.hours << recorderDateTime(time).toString(kTimeFormat);
            result.hourFixes.append(QVector<int>());
        }
        result.hourFixes[entry.value()].append(i);
    }
    return result;
}

LocationFix locationPointAt(const uchar *p)
{
    LocationFix fix;
    fix.longitude = i32At(p);
    fix.latitude = i32At(p + 4);
    fix.height = qint16(quint16(p[8] | (p[9] << 8)));
    fix.speed = p[10];
    fix.status = p[11];
    return fix;
}

double coordinateDegrees(qint32 value)
{
    return value / 1000000 + ((value / 10000) % 100) / 60.0;
}

QString gpsPointText(const LocationFix &fix)
{
    return QString::asprintf("[X:%0.5f Y:%0.5f H:%0.1f m S:%d km/h %d]", coordinateDegrees(fix.latitude),
                             coordinateDegrees(fix.longitude), fix.height / 10.0, int(fix.speed),
                             int(fix.status));
}

QVector<LocationRow> locationRowsOfHour(const LocationResult &result, int hour)
{
    QVector<LocationRow> rows;
    for (const int fix : result.hourFixes.value(hour))
        rows.append(locationRow(result.fixes.at(fix)));
    return rows;
}

LocationRow locationRow(const LocationFix &fix)
{
    LocationRow row;
    row.time = recorderDateTime(fix.time.data()).toString(kTimeFormat);
    if (fix.status != 0) {
        row.longitude = degreesText(fix.longitude);
        row.latitude = degreesText(fix.latitude);
        row.height = QString::asprintf("%0.1f m", fix.height / 10.0);
    } else {
        row.longitude = row.latitude = row.height = QStringLiteral("0");
    }
    row.speed = QString::asprintf("%d km/h", int(fix.speed));
    return row;
}

BlockDump locationDump(const LocationResult &result)
{
    BlockDump dump;
    if (!result.ok()) {
        dump.lines << QStringLiteral("Gps Data Size Error");
        dump.debugLine = QString::asprintf("Error-parseData_04 DataSize:%d  ofsset:%d ", int(result.size),
                                           int(result.expectedSize));
        return dump;
    }
    dump.lines << QStringLiteral("Gps Data ") + QStringLiteral("Count:") + QString::number(result.count);
    for (const LocationFix &fix : result.fixes) {
        dump.lines << QStringLiteral("Time:") + recorderTimeText(fix.time.data());
        dump.lines << gpsPointText(fix) + QLatin1Char('\n');
    }
    return dump;
}

} // namespace vdr
