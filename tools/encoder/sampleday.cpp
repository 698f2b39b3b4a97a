// A synthetic but plausible recorder day: a delivery truck around Taipei and Hsinchu, three
// drivers in shifts, six trips, and a handful of faults and events.
//
// Only integer arithmetic is used, and the only source of variation is a small xorshift
// generator seeded from (seed, day), so the bytes are the same on every machine and compiler.
#include "vdrencoder.h"

#include <algorithm>
#include <iterator>
#include <vector>

namespace vdrenc {

namespace {

constexpr int TicksPerSecond = 2; // speed samples are taken every half second
constexpr int SecondsPerDay = 24 * 3600;
constexpr int TicksPerDay = SecondsPerDay * TicksPerSecond;

class Rng
{
public:
    Rng(quint32 seed, qint64 julianDay)
    {
        // splitmix64 scrambles the two inputs into a non-zero xorshift32 state
        quint64 z = (quint64(seed) << 32 ^ quint64(julianDay)) + 0x9E3779B97F4A7C15ull;
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        z ^= z >> 31;
        m_state = quint32(z ^ (z >> 32));
        if (m_state == 0)
            m_state = 0x6D2B79F5u;
    }
    quint32 next()
    {
        m_state ^= m_state << 13;
        m_state ^= m_state >> 17;
        m_state ^= m_state << 5;
        return m_state;
    }
    int range(int lo, int hi) { return lo + int(next() % quint32(hi - lo + 1)); } // inclusive
    bool chance(int percent) { return int(next() % 100) < percent; }

private:
    quint32 m_state;
};

struct Interval
{
    int start = 0, end = 0; // seconds of the day, end exclusive
    bool contains(int s) const { return s >= start && s < end; }
};

// --- The route: a loop Taipei - Linkou - Taoyuan - Hsinchu and back ---------------------------
// Positions are in ten-thousandths of an arc minute, heights in tenths of a metre.

struct Waypoint
{
    qint64 lon, lat;
    int height;
};

constexpr qint64 arc(int degrees, int minutes, int tenThousandths = 0)
{
    return (qint64(degrees) * 60 + minutes) * 10000 + tenThousandths;
}

class Route
{
public:
    Route()
    {
        const Waypoint out[] = {
            {arc(121, 31, 2000), arc(25, 3, 0), 90},       // depot, Taipei
            {arc(121, 29, 1000), arc(25, 3, 9000), 60},    // Sanchong
            {arc(121, 22, 5000), arc(25, 4, 2000), 2400},  // Linkou plateau
            {arc(121, 20, 4000), arc(25, 1, 5000), 1800},  // Guishan
            {arc(121, 18, 0), arc(24, 59, 6000), 1100},    // Taoyuan
            {arc(121, 13, 5000), arc(24, 57, 8000), 1500}, // Zhongli
            {arc(121, 8, 7000), arc(24, 54, 6000), 1700},  // Yangmei
            {arc(121, 2, 4000), arc(24, 52, 8000), 1200},  // Hukou
            {arc(120, 58, 2000), arc(24, 48, 3000), 300},  // Hsinchu
        };
        for (const Waypoint &w : out)
            m_points.push_back(w);
        for (int i = int(std::size(out)) - 2; i >= 0; --i)
            m_points.push_back(out[i]);
        m_start.push_back(0);
        for (size_t i = 1; i < m_points.size(); ++i)
            m_start.push_back(m_start.back() + length(m_points[i - 1], m_points[i]));
    }

    // Position after `metres` along the loop, repeated as often as needed.
    Waypoint at(qint64 metres) const
    {
        const qint64 total = m_start.back();
        metres %= total;
        size_t i = 1;
        while (m_start[i] < metres)
            ++i;
        const Waypoint &a = m_points[i - 1], &b = m_points[i];
        const qint64 done = metres - m_start[i - 1], len = std::max<qint64>(1, m_start[i] - m_start[i - 1]);
        return {a.lon + (b.lon - a.lon) * done / len, a.lat + (b.lat - a.lat) * done / len,
                int(a.height + qint64(b.height - a.height) * done / len)};
    }

private:
    static qint64 isqrt(qint64 v)
    {
        qint64 r = 0, bit = qint64(1) << 62;
        while (bit > v)
            bit >>= 2;
        while (bit) {
            if (v >= r + bit) {
                v -= r + bit;
                r = (r >> 1) + bit;
            } else {
                r >>= 1;
            }
            bit >>= 2;
        }
        return r;
    }
    // Metres between two waypoints: at 25 degrees north a ten-thousandth of an arc minute is
    // 0.1852 m of latitude and about 0.1679 m of longitude.
    static qint64 length(const Waypoint &a, const Waypoint &b)
    {
        const qint64 dx = (b.lon - a.lon) * 1679 / 10000, dy = (b.lat - a.lat) * 1852 / 10000;
        return isqrt(dx * dx + dy * dy);
    }

    std::vector<Waypoint> m_points;
    std::vector<qint64> m_start; // metres from the loop's start to each waypoint
};

qint32 encodeArc(qint64 tenThousandthsOfMinute)
{
    const qint64 v = tenThousandthsOfMinute;
    return coordinate(int(v / 600000), int(v / 10000 % 60), int(v % 10000));
}

// --- The day ---------------------------------------------------------------------------------

struct Trip
{
    int driver = 0;
    int highwayPercent = 0;
    Interval span;               // seconds; end = the second the truck stands still again
    std::vector<Interval> stops; // traffic stops of a minute or more
};

struct Day
{
    QDate date;
    Rng rng;
    std::vector<int> v10 = std::vector<int>(TicksPerDay, 0); // true speed, tenths of km/h
    std::vector<Trip> trips;

    QByteArray at(int second) const
    {
        return stamp(date.year(), date.month(), date.day(), second / 3600, second / 60 % 60, second % 60);
    }

    // One trip: urban legs with traffic stops, some highway legs, smooth speed changes.
    void drive(Trip &trip, int plannedSeconds)
    {
        int tick = trip.span.start * TicksPerSecond;
        const int plannedEnd = tick + plannedSeconds * TicksPerSecond;
        int v = 0;
        const auto step = [&](int target) {
            if (v < target)
                v = std::min(target, v + std::max(4, 18 - v / 80)); // gentler at higher speed
            else if (v > target)
                v = std::max(target, v - 20); // about 1.1 m/s^2
            v10[size_t(tick++)] = v;
        };
        const auto brakeToStop = [&] {
            while (v > 0)
                step(0);
        };
        for (int leg = 0; tick < plannedEnd; ++leg) {
            const bool highway =
                leg > 0 && (leg == 1 ? trip.highwayPercent >= 50 : rng.chance(trip.highwayPercent));
            const int cruise = highway ? rng.range(900, 1080) : rng.range(300, 700);
            int target = cruise;
            const int legEnd = std::min(
                plannedEnd, tick + TicksPerSecond * (highway ? rng.range(600, 1500) : rng.range(60, 420)));
            while (tick < legEnd) {
                if (tick % 8 == 0) // drift around the cruising speed
                    target = std::clamp(target + rng.range(-20, 20), cruise - 60, cruise + 60);
                step(target);
            }
            // a traffic stop, unless the trip is about to end anyway
            if (tick < plannedEnd - 120 * TicksPerSecond && rng.chance(highway ? 10 : 60)) {
                brakeToStop();
                const int wait = rng.range(15, 100);
                if (wait >= 60)
                    trip.stops.push_back({tick / TicksPerSecond, tick / TicksPerSecond + wait});
                for (int i = 0; i < wait * TicksPerSecond; ++i)
                    step(0);
            }
        }
        brakeToStop();
        trip.span.end = (tick + TicksPerSecond - 1) / TicksPerSecond;
    }
};

} // namespace

QByteArray sampleDay(const QDate &date, quint32 seed)
{
    if (!date.isValid() || date.year() < 1 || date.year() > 9999)
        return {};
    Day day{date, Rng(seed, date.toJulianDay()), std::vector<int>(TicksPerDay, 0), {}};
    Rng &rng = day.rng;
    const auto hm = [](int h, int m) { return h * 3600 + m * 60; };

    // Six trips, three drivers in shifts (morning, midday, evening).
    struct Plan
    {
        int start, minMinutes, maxMinutes, driver, highwayPercent;
    };
    const Plan plans[] = {
        {hm(6, 10), 100, 115, 0, 60},  {hm(8, 40), 90, 100, 0, 30}, {hm(12, 10), 85, 95, 1, 70},
        {hm(14, 30), 130, 140, 1, 50}, {hm(18, 0), 90, 100, 2, 40}, {hm(20, 15), 70, 80, 2, 20},
    };
    for (const Plan &p : plans) {
        Trip trip;
        trip.driver = p.driver;
        trip.highwayPercent = p.highwayPercent;
        trip.span.start = p.start + rng.range(-300, 300);
        day.drive(trip, 60 * rng.range(p.minMinutes, p.maxMinutes));
        day.trips.push_back(trip);
    }
    const std::vector<Trip> &trips = day.trips;
    const auto tripAt = [&](int i, int percentOfTrip) {
        const Interval &s = trips[size_t(i)].span;
        return s.start + (s.end - s.start) * percentOfTrip / 100;
    };

    // Half-second speeds and the odometer, then the recorder's gaps and faults on top.
    const quint32 base = quint32(std::clamp<qint64>(
        1234567 + (date.toJulianDay() - QDate(2024, 1, 31).toJulianDay()) * 5000, 200000, 9000000));
    std::vector<quint8> speed(TicksPerDay);
    std::vector<quint32> mileage(TicksPerDay);
    std::vector<qint64> metres(TicksPerDay);
    qint64 travelled = 0; // in 1/72 m: a tenth of km/h for half a second
    for (int t = 0; t < TicksPerDay; ++t) {
        travelled += day.v10[size_t(t)];
        speed[size_t(t)] = quint8((day.v10[size_t(t)] + 5) / 10);
        mileage[size_t(t)] = base + quint32(travelled / 7200);
        metres[size_t(t)] = travelled / 72;
    }
    const auto noSpeed = [&](const Interval &i) {
        std::fill(speed.begin() + i.start * TicksPerSecond, speed.begin() + i.end * TicksPerSecond, NoSpeed);
    };

    QVector<ErrorRecord> errors;
    QVector<EventRecord> events;

    // Power loss while parked at night: neither speed nor mileage.
    const int powerOff = hm(2, 13) + rng.range(0, 40);
    const Interval power{powerOff, powerOff + rng.range(70, 120)};
    noSpeed(power);
    std::fill(mileage.begin() + power.start * TicksPerSecond, mileage.begin() + power.end * TicksPerSecond,
              NoMileage);
    errors.append({'0', day.at(power.start), day.at(power.end)});

    // No GPS fix for the first minute of the first trip (cold start).
    const Interval coldStart{trips[0].span.start - 20, trips[0].span.start + rng.range(30, 50)};
    errors.append({'5', day.at(coldStart.start), day.at(coldStart.end)});

    // A speed pulse fault during the third trip: a few wild readings above 240 km/h.
    int spike = tripAt(2, 50) * TicksPerSecond;
    while (spike < trips[2].span.end * TicksPerSecond && day.v10[size_t(spike)] < 800)
        ++spike;
    if (spike + 6 >= trips[2].span.end * TicksPerSecond)
        spike = tripAt(2, 50) * TicksPerSecond;
    const quint8 wild[] = {243, 247, 251, 249, 246, 244};
    std::copy(std::begin(wild), std::end(wild), speed.begin() + spike);
    errors.append({'6', day.at(spike / TicksPerSecond), day.at(spike / TicksPerSecond + 3)});

    // A GPS outage of a few minutes during the fourth trip: those fixes carry status 0.
    const int gpsStart = tripAt(3, 30) + rng.range(0, 120);
    const Interval gpsOutage{gpsStart, gpsStart + rng.range(240, 300)};
    errors.append({'5', day.at(gpsOutage.start), day.at(gpsOutage.end)});

    // Stretches without a speed value while moving (the odometer goes on), and a few lone
    // mileage samples without a value.
    noSpeed({tripAt(1, 50), tripAt(1, 50) + 20});
    noSpeed({tripAt(4, 33), tripAt(4, 33) + 8});
    for (int k = 0; k < 3; ++k)
        mileage[size_t(tripAt(4, 66) * TicksPerSecond + 37 * k)] = NoMileage;

    // Events: a security event before the morning start, a failed download at noon, one
    // finished and one still running "driving over".
    const int seal = trips[0].span.start - 12 * 60 + rng.range(0, 60);
    events.append({'1', day.at(seal), day.at(seal + rng.range(20, 40)), 1});
    const int download = hm(11, 2) + rng.range(0, 50);
    events.append({'3', day.at(download), day.at(download + 30), 1});
    events.append({'2', day.at(tripAt(3, 60)), day.at(tripAt(3, 60) + 60 * rng.range(10, 16)), 1});
    events.append({'2', day.at(tripAt(5, 75)), zeroStamp(), 2});

    // --- Speed block
    QVector<SpeedRecord> minutes(SecondsPerDay / 60);
    for (int m = 0; m < minutes.size(); ++m) {
        SpeedRecord &r = minutes[m];
        r.start = day.at(m * 60);
        const size_t first = size_t(m) * 120;
        std::copy(speed.begin() + first, speed.begin() + first + 120, r.speed.begin());
        std::copy(mileage.begin() + first, mileage.begin() + first + 120, r.mileage.begin());
    }

    // --- Driving block: who is at the wheel and what they do, following the trips.
    const QByteArray drivers[] = {"A123456789", "B987654321",
                                  "\xe7\x8e\x8b\xe5\xb0\x8f\xe6\x98\x8e" /* UTF-8 name */};
    QVector<DrivingRecord> driving;
    const auto record = [&](int driver, bool current, int action, int second) {
        driving.append({drivers[driver], drivingStatus(current, action, current ? 1 : 2), day.at(second)});
    };
    record(trips[0].driver, true, Standby, trips[0].span.start - 20 * 60 + rng.range(0, 120));
    for (size_t i = 0; i < trips.size(); ++i) {
        const Trip &trip = trips[i];
        const Trip *next = i + 1 < trips.size() ? &trips[i + 1] : nullptr;
        record(trip.driver, true, Driving, trip.span.start);
        for (const Interval &stop : trip.stops) {
            record(trip.driver, true, Stopping, stop.start);
            record(trip.driver, true, Driving, stop.end);
        }
        record(trip.driver, true, Stopping, trip.span.end);
        const bool sameDriver = next && next->driver == trip.driver;
        if (sameDriver && next->span.start - trip.span.end < 30 * 60) {
            record(trip.driver, true, Standby, trip.span.end + 60);
        } else {
            record(trip.driver, true, Resting, trip.span.end + 120);
        }
        if (next && !sameDriver) { // hand-over: the next driver's card goes into the first slot
            const int handover = next->span.start - rng.range(6, 12) * 60;
            record(trip.driver, false, Resting, handover);
            record(next->driver, true, Standby, handover + rng.range(10, 40));
        }
    }

    // --- Location block: a fix every 12-18 s on the road, every ~5 min when parked.
    const Route route;
    QVector<LocationRecord> fixes;
    const auto onTrip = [&](int s) {
        return std::any_of(trips.begin(), trips.end(), [s](const Trip &t) { return t.span.contains(s); });
    };
    for (int s = rng.range(3, 40); s < SecondsPerDay;
         s += onTrip(s) ? rng.range(12, 18) : rng.range(280, 320)) {
        if (power.contains(s))
            continue;
        LocationRecord fix;
        fix.time = day.at(s);
        fix.speed = quint8(std::min(255, (day.v10[size_t(s) * TicksPerSecond] + 5) / 10));
        if (gpsOutage.contains(s) || coldStart.contains(s)) {
            fix.status = 0;
        } else {
            const Waypoint w = route.at(metres[size_t(s) * TicksPerSecond]);
            fix.longitude = encodeArc(w.lon);
            fix.latitude = encodeArc(w.lat);
            fix.height = qint16(w.height + rng.range(-15, 15));
        }
        fixes.append(fix);
    }

    // --- Technology block: installed 200 days ago, calibrated then and 60 days ago.
    const QDate installed = date.addDays(-200), recalibrated = date.addDays(-60);
    const auto on = [](const QDate &d, int h, int m, int s) {
        return stamp(d.year(), d.month(), d.day(), h, m, s);
    };
    DeviceInfo device;
    device.vendor = "Tavrin Electronics Co., Ltd.";
    device.address = "No. 18, Gongye 2nd Rd., Hsinchu";
    device.serial = "TV230517"; // fills its field: no terminating NUL
    device.firmware = {2, 4, 17, 0};
    device.installTime = on(installed, 10, 42, 5);
    device.mfdDate = bcdDate(date.addDays(-231).year(), date.addDays(-231).month(), date.addDays(-231).day());
    device.certificate = "TVR-2023-000417";
    device.carNo = "ABC-5678";
    const quint32 atInstall = base > 1000000 ? base - 1000000 : 0;
    const quint32 atRecalib = base - 300000;
    const QVector<MileCalib> mileCalib = {
        {"Lin Chih-Hao", bcdMileage(0), bcdMileage(atInstall), on(installed, 10, 50, 0),
         on(installed, 10, 52, 30)},
        {"\xe9\x99\xb3\xe5\xbb\xba\xe5\xae\x8f", bcdMileage(atRecalib + 123), bcdMileage(atRecalib),
         on(recalibrated, 9, 12, 44), on(recalibrated, 9, 14, 2)},
    };
    const QVector<TimeCalib> timeCalib = {
        {on(installed, 10, 40, 0), on(installed, 10, 41, 27)},
        {on(recalibrated, 8, 15, 37), on(recalibrated, 8, 15, 2)},
    };
    const QVector<ThresholdCalib> driveCalib = {
        {on(recalibrated, 9, 20, 0), on(recalibrated, 9, 20, 6), bcdHourMinute(3, 30), bcdHourMinute(4, 0)}};
    const QVector<ThresholdCalib> restCalib = {
        {on(recalibrated, 9, 21, 0), on(recalibrated, 9, 21, 4), bcdHourMinute(0, 15), bcdHourMinute(0, 30)}};

    return container({
        {TechnologyId, "DT_TECH_DATA", technologyBlock(device, mileCalib, timeCalib, driveCalib, restCalib)},
        {FaultEventId, "DT_ERR_EVENT_DATA", faultEventBlock(errors, events)},
        {SpeedId, "DT_SPD_DATA", speedBlock(minutes)},
        {DrivingId, "DT_DRIVE_DATA", drivingBlock(driving)},
        {LocationId, "DT_LOCATE_DATA", locationBlock(fixes)},
    });
}

} // namespace vdrenc
