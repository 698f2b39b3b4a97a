#include "core/period/summary.h"

#include "core/vdr/dayreport.h"
#include "core/vdr/recordertime.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QHash>
#include <QMap>
#include <QtEndian>

#include <algorithm>
#include <iterator>
#include <limits>

namespace period {

namespace {

constexpr qint64 kMinute = 60 * 1000;
constexpr qint64 kNever = std::numeric_limits<qint64>::max();
constexpr int kDrivingAction = 1;
// Pauses in a stretch that a finding lists by length; shorter ones are only counted.
constexpr qint64 kListedPause = 5 * kMinute;

qint64 minutes(int m)
{
    return qint64(m) * kMinute;
}

qint64 midnight(const QDate &day)
{
    return QDateTime(day, QTime(0, 0), Qt::LocalTime).toMSecsSinceEpoch();
}

QDate localDay(qint64 ms)
{
    return QDateTime::fromMSecsSinceEpoch(ms).date();
}

// Local midnights, each converted once: every conversion between local and universal time
// asks the C library, which may look at the time zone file each time.
class Calendar
{
public:
    qint64 midnight(const QDate &day)
    {
        const auto it = m_midnights.constFind(day.toJulianDay());
        if (it != m_midnights.constEnd())
            return *it;
        const qint64 ms = period::midnight(day);
        m_midnights.insert(day.toJulianDay(), ms);
        return ms;
    }

    QDate dayOf(qint64 ms)
    {
        for (const QDate &guess : {m_last, m_last.addDays(1)})
            if (guess.isValid() && ms >= midnight(guess) && ms < midnight(guess.addDays(1)))
                return m_last = guess;
        return m_last = localDay(ms);
    }

    // Calls f(day, start, end) for each piece of [start, end) within one local day.
    template <typename F> void forEachDay(qint64 start, qint64 end, F f)
    {
        while (start < end) {
            const QDate day = dayOf(start);
            const qint64 pieceEnd = std::min(end, std::max(start + 1, midnight(day.addDays(1))));
            f(day, start, pieceEnd);
            start = pieceEnd;
        }
    }

private:
    QHash<qint64, qint64> m_midnights; // by Julian day
    QDate m_last;
};

// Recorder stamps as local times in ms; a day's midnight is converted once, and the time of
// day added, unless the day is not 24 hours long (the clock was changed on it).
class StampClock
{
public:
    // kNever when the stamp is not a valid date and time.
    qint64 ms(const uchar *p)
    {
        const qint64 t = m_clock.ms(p);
        return t == vdr::RecorderClock::kInvalid ? kNever : t;
    }

private:
    vdr::RecorderClock m_clock;
};

QString dayText(const QDate &day)
{
    return day.toString(QStringLiteral("yyyy-MM-dd"));
}

// --- Digest --------------------------------------------------------------------------------

void digestSpeed(DayDigest &d, const vdr::SpeedRecords &block, StampClock &clock)
{
    constexpr int kSpeedsAt = vdr::kRecorderTimeSize;
    constexpr int kMileagesAt = kSpeedsAt + vdr::kSpeedSamples;
    const int n = int(block.count());
    QVector<qint64> starts(n);
    for (int i = 0; i < n; ++i)
        starts[i] = clock.ms(block.record(i));
    const auto mileage = [](const uchar *record, int j) {
        return qFromLittleEndian<quint32>(record + kMileagesAt + 4 * j);
    };
    std::array<quint32, 256> samples{};
    Interval run;
    for (int i = 0; i < n; ++i) {
        const uchar *record = block.record(i);
        // The odometer: the first and the last reading with a value, in record order.
        if (!d.mileageKnown) {
            for (int j = 0; j < vdr::kSpeedSamples && !d.mileageKnown; ++j)
                if (mileage(record, j) != vdr::kNoMileage) {
                    d.firstMileage = mileage(record, j);
                    d.mileageKnown = true;
                }
        }
        for (int j = vdr::kSpeedSamples - 1; j >= 0; --j)
            if (mileage(record, j) != vdr::kNoMileage) {
                d.lastMileage = mileage(record, j);
                break;
            }

        // Samples count up to the next record's start, as the chart draws them.
        int counted = vdr::kSpeedSamples;
        if (starts[i] != kNever && i + 1 < n && starts[i + 1] != kNever && starts[i + 1] > starts[i])
            counted = int(std::min<qint64>(counted, (starts[i + 1] - starts[i] + vdr::kSpeedSampleMs - 1) /
                                                        vdr::kSpeedSampleMs));
        const uchar *speeds = record + kSpeedsAt;
        for (int j = 0; j < counted; ++j)
            ++samples[speeds[j]];
        if (starts[i] == kNever)
            continue;
        // Runs of samples with a speed above 0, each sample lasting half a second.
        for (int j = 0; j < counted; ++j) {
            if (speeds[j] == 0 || speeds[j] == vdr::kNoSpeed)
                continue;
            const qint64 t = starts[i] + qint64(j) * vdr::kSpeedSampleMs;
            if (run.end >= t && run.start <= t) {
                run.end = std::max(run.end, t + vdr::kSpeedSampleMs);
            } else {
                if (run.end > run.start)
                    d.moving.append(run);
                run = {t, t + vdr::kSpeedSampleMs};
            }
        }
    }
    if (run.end > run.start)
        d.moving.append(run);
    samples[vdr::kNoSpeed] = 0; // no value: no sample
    for (size_t v = 0; v < samples.size(); ++v)
        d.speedSamples[v] += samples[v];
}

// --- Texts ---------------------------------------------------------------------------------

QString breaksText(const QVector<qint64> &pauses)
{
    QStringList listed;
    int shorter = 0;
    for (qint64 p : pauses) {
        if (p >= kListedPause)
            listed << durationText(p);
        else
            ++shorter;
    }
    QString text =
        listed.isEmpty() ? QCoreApplication::translate("period", "none") : listed.join(QStringLiteral(", "));
    if (shorter == 1)
        text +=
            QCoreApplication::translate("period", " (and 1 stop under %1)").arg(durationText(kListedPause));
    else if (shorter > 1)
        text += QCoreApplication::translate("period", " (and %1 stops under %2)")
                    .arg(shorter)
                    .arg(durationText(kListedPause));
    return text;
}

// --- The checker ---------------------------------------------------------------------------

struct Pause
{
    qint64 start = 0;
    qint64 end = 0;
    qint64 longestOff = 0; // the longest run off the wheel with records
    qint64 noRecords = 0;  // time without records within it
    bool trailing = false; // the records end within it

    qint64 length() const { return end - start; }
    bool gap() const { return noRecords > 0 || trailing; }
};

class Checker
{
public:
    Checker(const QString &driver, const RuleSet &rules) : m_driver(driver), m_rules(rules) {}

    void drive(const Span &span)
    {
        if (m_restPending) {
            judgeRest(m_pendingRest, m_pendingRestPause);
            m_restPending = false;
        }
        if (!m_dayOpen) {
            m_day = {span.start, span.end, 0};
            m_dayVehicle = span.vehicle;
            m_dayLongestPause = 0;
            m_dayOpen = true;
        }
        m_day.driving += span.end - span.start;
        m_day.end = span.end;
        if (m_stretch.driving == 0) {
            m_stretch.start = span.start;
            m_stretchVehicle = span.vehicle;
        }
        m_stretch.driving += span.end - span.start;
        m_stretch.end = span.end;
    }

    void pause(const Pause &p)
    {
        if (m_stretch.driving > 0) {
            const qint64 seen = p.gap() ? p.longestOff : p.length();
            if (seen >= minutes(m_rules.breakMinutes)) {
                closeStretch(Closed::ByBreak, seen);
            } else if (p.gap()) {
                closeStretch(Closed::ByRecordsEnd, seen);
            } else if (seen >= minutes(m_rules.breakPartMinutes)) {
                m_parts += seen;
                if (m_parts >= minutes(m_rules.breakMinutes))
                    closeStretch(Closed::ByParts, seen);
                else
                    m_pauses << seen;
            } else {
                m_pauses << seen;
            }
        }
        if (!m_dayOpen)
            return;
        if (p.trailing) {
            closeDay();
        } else if (p.length() >= minutes(m_rules.reducedDailyRestMinutes)) {
            closeDay();
            m_pendingRest = {p.start, p.end, true, false};
            m_pendingRestPause = p;
            m_restPending = true;
        } else {
            m_dayLongestPause = std::max(m_dayLongestPause, p.length());
        }
    }

    DriverCheck result() { return std::move(m_out); }

private:
    enum class Closed
    {
        ByBreak,      // one pause of at least the break
        ByParts,      // parts of at least the part length adding up to the break
        ByRecordsEnd, // the records end (or break off) before a break is seen
    };

    void add(FindingKind kind, Rule rule, qint64 start, qint64 end, qint64 missedBy, const QString &vehicle,
             const QString &text)
    {
        m_out.findings.append({kind, rule, m_driver, vehicle, start, end, missedBy, text});
    }

    void closeStretch(Closed how, qint64 closingPause)
    {
        const Stretch s = m_stretch;
        const QVector<qint64> pauses = m_pauses;
        m_stretch = {};
        m_pauses.clear();
        m_parts = 0;
        if (s.driving <= 0)
            return;
        m_out.stretches.append(s);
        const qint64 limit = minutes(m_rules.continuousDrivingMaxMinutes);
        if (s.driving <= limit)
            return;
        const qint64 exceptionLimit = minutes(m_rules.exceptionDrivingMaxMinutes);
        const QString breakText = durationText(minutes(m_rules.breakMinutes));
        const QString exceptionBreak = durationText(minutes(m_rules.exceptionBreakMinutes));
        FindingKind kind = FindingKind::Breach;
        QString detail;
        if (s.driving > exceptionLimit) {
            detail = QCoreApplication::translate("period", "; %1 over the %2 of the exception")
                         .arg(durationText(s.driving - exceptionLimit), durationText(exceptionLimit));
        } else if (how == Closed::ByBreak && closingPause >= minutes(m_rules.exceptionBreakMinutes)) {
            kind = FindingKind::Exception;
            detail = QCoreApplication::translate(
                         "period",
                         "; allowed only under the exception: at most %1 followed by one %2 break, taken: %3")
                         .arg(durationText(exceptionLimit), exceptionBreak, durationText(closingPause));
        } else if (how == Closed::ByRecordsEnd) {
            kind = FindingKind::Exception;
            detail =
                QCoreApplication::translate(
                    "period", "; the records end before the next break: allowed only under the exception, "
                              "if one %1 break followed")
                    .arg(exceptionBreak);
        } else if (how == Closed::ByBreak) {
            detail = QCoreApplication::translate("period",
                                                 "; the exception needs one %1 break after it, taken: %2")
                         .arg(exceptionBreak, durationText(closingPause));
        } else {
            detail = QCoreApplication::translate(
                         "period", "; the exception needs one %1 break after it, taken in parts")
                         .arg(exceptionBreak);
        }
        const QString text =
            QCoreApplication::translate(
                "period", "drove %1 without a %2 break (%3 over the %4 limit%5); breaks taken: %6")
                .arg(durationText(s.driving), breakText, durationText(s.driving - limit), durationText(limit),
                     detail, breaksText(pauses));
        add(kind, Rule::ContinuousDriving, s.start, s.end, s.driving - limit, m_stretchVehicle, text);
    }

    void closeDay()
    {
        m_dayOpen = false;
        m_out.workingDays.append(m_day);
        const qint64 limit = minutes(m_rules.dailyDrivingMaxMinutes);
        if (m_day.driving > limit)
            add(FindingKind::Breach, Rule::DailyDriving, m_day.start, m_day.end, m_day.driving - limit,
                m_dayVehicle,
                QCoreApplication::translate("period", "drove %1 in one working day (%2 over the %3 limit)")
                    .arg(durationText(m_day.driving), durationText(m_day.driving - limit),
                         durationText(limit)));
        const qint64 dayLimit = minutes(m_rules.workingDayMaxMinutes);
        const qint64 length = m_day.end - m_day.start;
        if (length > dayLimit)
            add(FindingKind::Breach, Rule::DailyRest, m_day.start, m_day.end, length - dayLimit, m_dayVehicle,
                QCoreApplication::translate(
                    "period",
                    "worked %1 without a rest of %2 (%3 over the %4 of a working day); longest pause: %5")
                    .arg(durationText(length), durationText(minutes(m_rules.reducedDailyRestMinutes)),
                         durationText(length - dayLimit), durationText(dayLimit),
                         durationText(m_dayLongestPause)));
    }

    void judgeRest(Rest rest, const Pause &p)
    {
        const qint64 full = minutes(m_rules.dailyRestMinutes);
        if (p.gap() && p.longestOff < full) {
            rest.verified = false;
            m_out.rests.append(rest);
            add(FindingKind::Gap, Rule::Records, rest.start, rest.end, p.noRecords, m_dayVehicle,
                QCoreApplication::translate(
                    "period", "the rest between working days cannot be checked: %1 of its %2 have no records")
                    .arg(durationText(p.noRecords), durationText(p.length())));
            return;
        }
        const qint64 length = p.gap() ? p.longestOff : p.length();
        rest.reduced = length < full;
        m_out.rests.append(rest);
        if (!rest.reduced)
            return;

        const QDate day = localDay(rest.end);
        const QDate week = day.addDays(1 - day.dayOfWeek());
        int inWeek = 1;
        for (const QDate &d : qAsConst(m_reducedDays))
            if (d.addDays(1 - d.dayOfWeek()) == week)
                ++inWeek;
        QStringList reasons;
        if (inWeek > m_rules.reducedRestsPerWeek)
            reasons << QCoreApplication::translate("period",
                                                   "reduced rests in the week of %1: %2, at most %3 allowed")
                           .arg(dayText(week))
                           .arg(inWeek)
                           .arg(m_rules.reducedRestsPerWeek);
        if (!m_rules.reducedRestsOnConsecutiveDays && !m_reducedDays.isEmpty() &&
            m_reducedDays.last().daysTo(day) <= 1)
            reasons << QCoreApplication::translate(
                           "period",
                           "the rest ending on %1 was reduced too, and reduced rests may not fall on "
                           "consecutive days")
                           .arg(dayText(m_reducedDays.last()));
        m_reducedDays << day;
        if (reasons.isEmpty())
            return;
        add(FindingKind::Breach, Rule::DailyRest, rest.start, rest.end, full - length, m_dayVehicle,
            QCoreApplication::translate("period", "rested %1 between working days (%2 short of %3); %4")
                .arg(durationText(length), durationText(full - length), durationText(full),
                     reasons.join(QStringLiteral("; "))));
    }

    const QString m_driver;
    const RuleSet m_rules;
    DriverCheck m_out;

    Stretch m_stretch;
    QString m_stretchVehicle;
    QVector<qint64> m_pauses; // within the open stretch
    qint64 m_parts = 0;       // break parts within the open stretch

    bool m_dayOpen = false;
    WorkingDay m_day;
    QString m_dayVehicle;
    qint64 m_dayLongestPause = 0;

    bool m_restPending = false;
    Rest m_pendingRest;
    Pause m_pendingRestPause;
    QVector<QDate> m_reducedDays; // the days reduced rests ended on, in order
};

// --- The period ----------------------------------------------------------------------------

struct DriverRecord
{
    qint64 time = 0;
    int action = 0;
    int vehicle = 0;
    qint64 knownUntil = 0; // the end of the run of days with records that holds the record's file
};

struct Run
{
    QDate first, last;
    Interval span;
};

// Spans of one driver from the records, in time order: each record holds until the driver's
// next record, as far as its vehicle's days with records reach without a break.
QVector<Span> timelineOf(const QVector<DriverRecord> &records, const QStringList &vehicleNames)
{
    QVector<Span> spans;
    auto push = [&spans](qint64 start, qint64 end, State state, const QString &vehicle) {
        if (end <= start)
            return;
        if (!spans.isEmpty() && spans.last().end == start && spans.last().state == state &&
            (state != State::Driving || spans.last().vehicle == vehicle)) {
            spans.last().end = end;
            return;
        }
        spans.append({start, end, state, vehicle});
    };
    for (int i = 0; i < records.size(); ++i) {
        const DriverRecord &r = records.at(i);
        const qint64 next = i + 1 < records.size() ? records.at(i + 1).time : kNever;
        const qint64 known = std::min(next, r.knownUntil);
        const QString &vehicle = vehicleNames.at(r.vehicle);
        push(r.time, known, r.action == kDrivingAction ? State::Driving : State::Off, vehicle);
        if (next != kNever)
            push(std::max(r.time, known), next, State::NoRecords, vehicle);
    }
    return spans;
}

// Sorted, merged union of intervals.
QVector<Interval> unite(QVector<Interval> v)
{
    std::sort(v.begin(), v.end(), [](const Interval &a, const Interval &b) { return a.start < b.start; });
    QVector<Interval> out;
    for (const Interval &i : qAsConst(v)) {
        if (!out.isEmpty() && i.start <= out.last().end)
            out.last().end = std::max(out.last().end, i.end);
        else
            out.append(i);
    }
    return out;
}

// Length of the parts of `a` (sorted, disjoint) not covered by `b` (sorted, disjoint).
qint64 uncovered(const QVector<Interval> &a, const QVector<Interval> &b)
{
    qint64 total = 0;
    int k = 0;
    for (const Interval &i : a) {
        qint64 at = i.start;
        k = int(std::upper_bound(b.begin() + k, b.end(), at,
                                 [](qint64 t, const Interval &x) { return t < x.end; }) -
                b.begin());
        for (int j = k; j < b.size() && b.at(j).start < i.end; ++j) {
            if (b.at(j).start > at)
                total += b.at(j).start - at;
            at = std::max(at, b.at(j).end);
            if (at >= i.end)
                break;
        }
        if (at < i.end)
            total += i.end - at;
    }
    return total;
}

} // namespace

// --- Public --------------------------------------------------------------------------------

DayDigest digestDay(const vdr::DayReport &report, const QString &source)
{
    DayDigest d;
    d.source = source.isEmpty() ? report.fileName : source;
    if (report.name.ok())
        d.day = report.name.day;
    d.checksumOk = !report.data.isEmpty() && report.walk.checksumOk();
    d.problems = report.problems();
    bool anyDriving = false;
    StampClock clock;
    for (const vdr::BlockReport &block : report.blocks) {
        switch (block.info.dataId) {
        case vdr::FaultEventBlock:
            for (const vdr::FaultEventRecord &r : block.faultEvent.errors)
                ++d.faults[r.type >= '0' && r.type <= '9' ? r.type - '0' : 0];
            for (const vdr::FaultEventRecord &r : block.faultEvent.events)
                ++d.events[r.type >= '0' && r.type <= '9' ? r.type - '0' : 0];
            break;
        case vdr::SpeedBlock:
            if (block.speed.ok()) {
                d.speedKnown = true;
                digestSpeed(d, block.speed.records, clock);
            }
            break;
        case vdr::TechnologyBlock:
            if (d.vehicle.isEmpty() && block.technology.failure != vdr::SizeError::Device)
                d.vehicle = block.technology.device.carNo.trimmed();
            break;
        case vdr::DrivingBlock:
            anyDriving = true;
            if (!block.driving.ok()) {
                if (d.drivingProblem.isEmpty())
                    d.drivingProblem = block.message();
                break;
            }
            for (const vdr::DrivingRecord &r : block.driving.records) {
                // Codes 6 and 7 are no activity at all; the viewer ignores such records too.
                const qint64 t = r.stamp.size() == vdr::kRecorderTimeSize
                                     ? clock.ms(reinterpret_cast<const uchar *>(r.stamp.constData()))
                                     : kNever;
                if (t == kNever || r.action() > 5)
                    continue;
                d.driving.append({r.id, t, r.action()});
            }
            break;
        default:
            break;
        }
    }
    if (!anyDriving)
        d.drivingProblem = QCoreApplication::translate("period", "the file has no driving records");
    d.drivingKnown = d.drivingProblem.isEmpty();
    if (!d.drivingKnown)
        d.driving.clear();
    return d;
}

DayDigest digestDayFile(const QString &fileName, const QByteArray &bytes, const QString &source)
{
    return digestDay(vdr::analyseDayFile(fileName, bytes), source.isEmpty() ? fileName : source);
}

DriverCheck checkDriver(const QString &driver, const QVector<Span> &timeline, const RuleSet &rules)
{
    Checker checker(driver, rules);
    bool inPause = false;
    Pause p;
    qint64 offRun = 0;
    auto endPause = [&](bool trailing) {
        if (!inPause)
            return;
        p.trailing = trailing;
        checker.pause(p);
        inPause = false;
    };
    auto addToPause = [&](qint64 start, qint64 end, bool records) {
        if (!inPause) {
            p = {};
            p.start = start;
            offRun = 0;
            inPause = true;
        }
        p.end = end;
        if (records) {
            offRun += end - start;
            p.longestOff = std::max(p.longestOff, offRun);
        } else {
            p.noRecords += end - start;
            offRun = 0;
        }
    };
    bool started = false; // a pause before the first driving is no break and no rest
    qint64 at = timeline.isEmpty() ? 0 : timeline.first().start;
    for (const Span &s : timeline) {
        if (s.end <= s.start)
            continue;
        if (s.start > at && started)
            addToPause(at, s.start, false); // a hole in the timeline has no records
        at = std::max(at, s.end);
        if (s.state == State::Driving) {
            endPause(false);
            checker.drive(s);
            started = true;
        } else if (started) {
            addToPause(s.start, s.end, s.state == State::Off);
        }
    }
    if (inPause)
        endPause(true);
    else if (started)
        checker.pause({at, at, 0, 0, true});
    return checker.result();
}

PeriodReport summarise(const QVector<DayDigest> &days, const Options &options)
{
    PeriodReport report;
    report.options = options;
    Calendar cal;

    // Files by vehicle and day; the first file of a vehicle's day is used.
    QMap<QString, QMap<QDate, const DayDigest *>> byVehicle;
    for (const DayDigest &d : days) {
        if (!d.day.isValid()) {
            report.notes
                << QCoreApplication::translate("period", "%1: the name gives no day; left out").arg(d.source);
            continue;
        }
        if ((options.from.isValid() && d.day < options.from) || (options.to.isValid() && d.day > options.to))
            continue;
        QMap<QDate, const DayDigest *> &vehicleDays = byVehicle[d.vehicle];
        if (const DayDigest *first = vehicleDays.value(d.day)) {
            report.notes << QCoreApplication::translate(
                                "period", "%1: a second file for %2 of %3; left out (%4 is used)")
                                .arg(d.source, dayText(d.day), vehicleText(d.vehicle), first->source);
            continue;
        }
        vehicleDays.insert(d.day, &d);
        if (!report.first.isValid() || d.day < report.first)
            report.first = d.day;
        if (!report.last.isValid() || d.day > report.last)
            report.last = d.day;
    }
    if (options.from.isValid())
        report.first = options.from;
    if (options.to.isValid())
        report.last = options.to;
    if (!report.first.isValid())
        report.first = report.last;
    if (!report.last.isValid())
        report.last = report.first;
    // Of a longer period the latest days are kept.
    if (report.first.isValid() && report.first.daysTo(report.last) >= kMaxPeriodDays) {
        report.first = report.last.addDays(1 - kMaxPeriodDays);
        report.notes << QCoreApplication::translate(
                            "period", "a period spans at most %1 days; the days before %2 are left out")
                            .arg(kMaxPeriodDays)
                            .arg(dayText(report.first));
        for (auto it = byVehicle.begin(); it != byVehicle.end();) {
            while (!it->isEmpty() && it->firstKey() < report.first)
                it->erase(it->begin());
            it = it->isEmpty() ? byVehicle.erase(it) : std::next(it);
        }
    }

    QStringList vehicleNames = byVehicle.keys();
    QHash<QString, QVector<DriverRecord>> recordsByDriver;
    for (int v = 0; v < vehicleNames.size(); ++v) {
        const QMap<QDate, const DayDigest *> &files = byVehicle.value(vehicleNames.at(v));
        VehicleSummary vs;
        vs.vehicle = vehicleNames.at(v);
        const QDate first = options.from.isValid() ? report.first : files.firstKey();
        const QDate last = options.to.isValid() ? report.last : files.lastKey();
        QVector<Run> runs;
        QDate gapStart;
        auto closeGap = [&](const QDate &end) { // end: the first day after the gap
            if (!gapStart.isValid())
                return;
            const qint64 n = gapStart.daysTo(end);
            const QString text =
                n == 1 ? QCoreApplication::translate("period", "no day file for %1").arg(dayText(gapStart))
                       : QCoreApplication::translate("period", "no day files from %1 to %2 (%3 days)")
                             .arg(dayText(gapStart), dayText(end.addDays(-1)))
                             .arg(n);
            report.findings.append({FindingKind::Gap, Rule::Records, QString(), vs.vehicle,
                                    cal.midnight(gapStart), cal.midnight(end),
                                    cal.midnight(end) - cal.midnight(gapStart), text});
            gapStart = QDate();
        };
        for (QDate day = first; day <= last; day = day.addDays(1)) {
            VehicleDay vd;
            vd.day = day;
            const DayDigest *d = files.value(day);
            if (!d) {
                vd.status = VehicleDay::Missing;
                ++vs.daysMissing;
                if (!gapStart.isValid())
                    gapStart = day;
                vs.days.append(vd);
                continue;
            }
            closeGap(day);
            vd.source = d->source;
            vd.problems = d->problems;
            if (!d->checksumOk) {
                vd.status = VehicleDay::Unusable;
                report.findings.append(
                    {FindingKind::Gap, Rule::Records, QString(), vs.vehicle, cal.midnight(day),
                     cal.midnight(day.addDays(1)), cal.midnight(day.addDays(1)) - cal.midnight(day),
                     QCoreApplication::translate(
                         "period", "the day file for %1 is not used: its checksum does not match (%2)")
                         .arg(dayText(day), d->source)});
                vs.days.append(vd);
                continue;
            }
            vd.status = VehicleDay::Read;
            ++report.filesUsed;
            ++vs.daysRead;
            vd.drivingKnown = d->drivingKnown;
            if (d->mileageKnown && d->lastMileage >= d->firstMileage)
                vd.distance = d->lastMileage - d->firstMileage;
            for (int s = 0; s < kNoSpeedValue; ++s) {
                if (!d->speedSamples[s])
                    continue;
                vd.maxSpeed = s;
                if (s > options.speedLimitKmh)
                    vd.aboveLimit += qint64(d->speedSamples[s]) * vdr::kSpeedSampleMs;
            }
            vd.faults = d->faults;
            vd.events = d->events;
            if (vd.distance > 0)
                vs.distance += vd.distance;
            vs.maxSpeed = std::max(vs.maxSpeed, vd.maxSpeed);
            vs.aboveLimit += vd.aboveLimit;
            if (!d->drivingKnown) {
                report.findings.append(
                    {FindingKind::Gap, Rule::Records, QString(), vs.vehicle, cal.midnight(day),
                     cal.midnight(day.addDays(1)), cal.midnight(day.addDays(1)) - cal.midnight(day),
                     QCoreApplication::translate("period",
                                                 "the driving records of %1 cannot be used: %2 (%3)")
                         .arg(dayText(day), d->drivingProblem, d->source)});
            } else if (!runs.isEmpty() && runs.last().last.daysTo(day) == 1) {
                runs.last().last = day;
                runs.last().span.end = cal.midnight(day.addDays(1));
            } else {
                runs.append({day, day, {cal.midnight(day), cal.midnight(day.addDays(1))}});
            }
            vs.days.append(vd);
        }
        closeGap(last.addDays(1));

        // Records of the days with records, each knowing how far its run of days reaches.
        for (const Run &run : qAsConst(runs)) {
            for (QDate day = run.first; day <= run.last; day = day.addDays(1)) {
                // A record stamped outside its file's day is a clock fault; where it belongs is
                // not known.
                const DayDigest *d = files.value(day);
                const qint64 dayStart = cal.midnight(day), dayEnd = cal.midnight(day.addDays(1));
                int outside = 0;
                for (const DrivingEntry &e : d->driving) {
                    if (e.time < dayStart || e.time >= dayEnd)
                        ++outside;
                    else
                        recordsByDriver[e.driver].append({e.time, e.action, v, run.span.end});
                }
                if (outside > 0)
                    report.notes << QCoreApplication::translate(
                                        "period",
                                        "%1: %2 driving record(s) stamped outside the file's day left out")
                                        .arg(d->source, QString::number(outside));
            }
        }
        report.vehicles.append(vs);
    }

    // Drivers.
    QStringList driverIds = recordsByDriver.keys();
    std::sort(driverIds.begin(), driverIds.end());
    QVector<QVector<Interval>> drivingByVehicle(vehicleNames.size());
    for (const QString &id : qAsConst(driverIds)) {
        QVector<DriverRecord> &records = recordsByDriver[id];
        std::stable_sort(records.begin(), records.end(),
                         [](const DriverRecord &a, const DriverRecord &b) { return a.time < b.time; });
        const QVector<Span> timeline = timelineOf(records, vehicleNames);
        DriverCheck check = checkDriver(id, timeline, options.rules);

        DriverSummary ds;
        ds.driver = id;
        ds.workingDays = check.workingDays;
        ds.rests = check.rests;
        QMap<QDate, DriverDay> daysOf;
        for (const Span &s : timeline) {
            if (s.state != State::Driving)
                continue;
            const int v = int(vehicleNames.indexOf(s.vehicle));
            drivingByVehicle[v].append({s.start, s.end});
            cal.forEachDay(s.start, s.end, [&](const QDate &day, qint64 a, qint64 b) {
                DriverDay &dd = daysOf[day];
                dd.day = day;
                dd.driving += b - a;
                if (!dd.vehicles.contains(s.vehicle))
                    dd.vehicles << s.vehicle;
                ds.driving += b - a;
                VehicleSummary &vs = report.vehicles[v];
                if (vs.days.isEmpty() || day < vs.days.first().day || day > vs.days.last().day)
                    return;
                VehicleDay &vd = vs.days[int(vs.days.first().day.daysTo(day))];
                vs.driving += b - a;
                for (DriverTime &t : vd.drivers)
                    if (t.driver == id) {
                        t.driving += b - a;
                        return;
                    }
                vd.drivers.append({id, b - a});
            });
        }
        for (const Stretch &st : qAsConst(check.stretches)) {
            ds.longestContinuous = std::max(ds.longestContinuous, st.driving);
            cal.forEachDay(st.start, st.end, [&](const QDate &day, qint64, qint64) {
                auto it = daysOf.find(day);
                if (it != daysOf.end())
                    it->longestContinuous = std::max(it->longestContinuous, st.driving);
            });
        }
        for (const DriverDay &dd : qAsConst(daysOf))
            ds.days.append(dd);
        report.drivers.append(ds);
        report.findings += check.findings;
    }

    // Movement while no driver is recorded as driving.
    for (int v = 0; v < vehicleNames.size(); ++v) {
        const QVector<Interval> driving = unite(drivingByVehicle.at(v));
        VehicleSummary &vs = report.vehicles[v];
        for (VehicleDay &vd : vs.days) {
            if (vd.status != VehicleDay::Read)
                continue;
            const qint64 dayStart = cal.midnight(vd.day), dayEnd = cal.midnight(vd.day.addDays(1));
            QVector<Interval> moving;
            for (const Interval &i : unite(byVehicle.value(vs.vehicle).value(vd.day)->moving))
                if (i.end > dayStart && i.start < dayEnd) {
                    moving.append({std::max(i.start, dayStart), std::min(i.end, dayEnd)});
                    vd.moving += moving.last().end - moving.last().start;
                }
            vd.movingUnattributed = vd.drivingKnown ? uncovered(moving, driving) : 0;
        }
    }

    std::stable_sort(report.findings.begin(), report.findings.end(), [](const Finding &a, const Finding &b) {
        return a.start != b.start ? a.start < b.start : a.driver < b.driver;
    });
    return report;
}

int PeriodReport::count(FindingKind kind) const
{
    return int(
        std::count_if(findings.begin(), findings.end(), [kind](const Finding &f) { return f.kind == kind; }));
}

QString durationText(qint64 ms)
{
    const qint64 s = std::max<qint64>(0, ms) / 1000;
    const qint64 h = s / 3600, m = s / 60 % 60, sec = s % 60;
    QString text =
        h > 0 ? QCoreApplication::translate("period", "%1 h %2 min").arg(h).arg(m, 2, 10, QLatin1Char('0'))
              : QCoreApplication::translate("period", "%1 min").arg(m);
    if (sec != 0)
        text += QCoreApplication::translate("period", " %1 s").arg(sec);
    return text;
}

QString vehicleText(const QString &vehicle)
{
    return vehicle.isEmpty() ? QCoreApplication::translate("period", "(no car number)") : vehicle;
}

QString timeText(qint64 ms)
{
    return QDateTime::fromMSecsSinceEpoch(ms).toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
}

QString kindText(FindingKind kind)
{
    switch (kind) {
    case FindingKind::Breach:
        return QCoreApplication::translate("period", "breach");
    case FindingKind::Exception:
        return QCoreApplication::translate("period", "exception only");
    case FindingKind::Gap:
        return QCoreApplication::translate("period", "gap");
    }
    return QString();
}

QString ruleText(Rule rule)
{
    switch (rule) {
    case Rule::DailyDriving:
        return QCoreApplication::translate("period", "daily driving");
    case Rule::ContinuousDriving:
        return QCoreApplication::translate("period", "continuous driving");
    case Rule::DailyRest:
        return QCoreApplication::translate("period", "rest between working days");
    case Rule::Records:
        return QCoreApplication::translate("period", "records");
    }
    return QString();
}

QString kindKey(FindingKind kind)
{
    switch (kind) {
    case FindingKind::Breach:
        return QStringLiteral("breach");
    case FindingKind::Exception:
        return QStringLiteral("exception");
    case FindingKind::Gap:
        return QStringLiteral("gap");
    }
    return QString();
}

QString ruleKey(Rule rule)
{
    switch (rule) {
    case Rule::DailyDriving:
        return QStringLiteral("dailyDriving");
    case Rule::ContinuousDriving:
        return QStringLiteral("continuousDriving");
    case Rule::DailyRest:
        return QStringLiteral("dailyRest");
    case Rule::Records:
        return QStringLiteral("records");
    }
    return QString();
}

vdr::TextTable findingsTable(const QVector<Finding> &findings)
{
    vdr::TextTable table;
    table.captions =
        QStringList{QStringLiteral("Kind"),          QStringLiteral("Rule"),  QStringLiteral("Driver"),
                    QStringLiteral("Vehicle"),       QStringLiteral("Start"), QStringLiteral("End"),
                    QStringLiteral("Missed by (s)"), QStringLiteral("Text")};
    table.rows.reserve(findings.size());
    for (const Finding &f : findings)
        table.rows.append({kindKey(f.kind), ruleKey(f.rule), f.driver, f.vehicle, timeText(f.start),
                           timeText(f.end), QString::number(f.missedBy / 1000), f.text});
    return table;
}

} // namespace period
