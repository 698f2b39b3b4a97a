#include "core/vdr/driving.h"

#include "core/vdr/recordertime.h"

#include <QCoreApplication>
#include <QtEndian>

#include <algorithm>
#include <cstdio>

namespace vdr {

namespace {

QString idText(const uchar *field)
{
    const char *text = reinterpret_cast<const char *>(field);
    int length = 0;
    while (length < kDriverIdSize && text[length] != '\0')
        ++length;
    return QString::fromUtf8(text, length);
}

// The ID field's text bytes, up to the first NUL.
QByteArray idBytes(const QByteArray &field)
{
    const int nul = field.indexOf('\0');
    return nul < 0 ? field : field.left(nul);
}

// A stamp places a record in time only when both its date and its time are valid (a valid
// date with an hour of 24 would otherwise read as that day's midnight).
bool stampPlacesInTime(const uchar *p)
{
    return recorderTimeText(p) != noTimeText();
}

qint64 floorDiv(qint64 a, qint64 b)
{
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)) ? 1 : 0);
}

qint64 ceilDiv(qint64 a, qint64 b)
{
    return -floorDiv(-a, b);
}

} // namespace

DrivingData decodeDrivingRecords(const uchar *data, int size)
{
    DrivingData block;
    block.size = size;
    if (data && size >= 2)
        block.count = qFromLittleEndian<quint16>(data);
    block.expectedSize = qint64(kDrivingRecordSize) * block.count + 2;
    if (size != block.expectedSize) {
        block.failure = SizeError::Driving;
        return block;
    }

    block.records.reserve(block.count);
    for (int k = 0; k < block.count; ++k) {
        const uchar *p = data + 2 + k * kDrivingRecordSize;
        DrivingRecord record;
        record.idField = QByteArray(reinterpret_cast<const char *>(p), kDriverIdSize);
        record.id = idText(p);
        record.status = p[kDriverIdSize];
        record.stamp = QByteArray(reinterpret_cast<const char *>(p + kDriverIdSize + 1), 7);
        if (stampPlacesInTime(p + kDriverIdSize + 1))
            record.time = recorderDateTime(p + kDriverIdSize + 1);
        block.records.append(record);
    }
    return block;
}

void buildDriverLines(DrivingData &block)
{
    // A slot belongs to the first ID that claims it. (Going by an empty name alone would let
    // the next driver take over the slot of a driver whose ID is empty, merging the two.)
    std::array<bool, kDriverSlotCount> claimed{};
    for (const DrivingRecord &record : qAsConst(block.records)) {
        // The driver's slot: the first of slots 2..6 that is free or already holds the ID.
        DriverLine *line = nullptr;
        for (int s = kFirstDriverSlot; s < kDriverSlotCount; ++s) {
            DriverLine &candidate = block.lines[size_t(s)];
            if (!claimed[size_t(s)]) {
                candidate.name = record.id;
                claimed[size_t(s)] = true;
            }
            if (candidate.name == record.id) {
                line = &candidate;
                break;
            }
        }
        if (!line)
            continue; // a sixth driver
        const int code = record.action();
        if (code > 5 || !record.time.isValid())
            continue;

        const qreal x = qreal(record.time.toMSecsSinceEpoch());
        const qreal y = 5 - code;
        if (!line->points.isEmpty()) {
            const QPointF previous = line->points.constLast();
            const qint64 seconds = (qint64(x) - qint64(previous.x())) / 1000;
            if (!driverActivityAddSec(line->totals, seconds, 5 - int(previous.y())))
                ++block.unknownActions;
            line->points.append(QPointF(x, previous.y()));
            line->points.append(QPointF(x, y));
        }
        line->points.append(QPointF(x, y));
    }
}

DrivingData decodeDrivingBlock(const uchar *data, int size)
{
    DrivingData block = decodeDrivingRecords(data, size);
    if (block.ok()) {
        buildDriverLines(block);
        block.minuteRows = minuteRows(block);
        block.minuteTimes = minuteTexts(block.minuteRows);
    }
    return block;
}

bool driverActivityAddSec(ActivityTotals &totals, qint64 seconds, int code)
{
    switch (code) {
    case 1:
        totals[TotalDriving] += seconds;
        return true;
    case 2:
        totals[TotalStopping] += seconds;
        return true;
    case 3:
        totals[TotalStandby] += seconds;
        return true;
    case 4:
        totals[TotalResting] += seconds;
        return true;
    default:
        return false;
    }
}

void appendDriverChanges(QVector<DriverChange> &list, const DrivingData &block)
{
    const int n = block.records.size();
    for (int k = 0; k < n; ++k) {
        const DrivingRecord &record = block.records.at(k);
        if (!record.current())
            continue;
        if (!list.isEmpty() && idBytes(record.idField) == idBytes(list.constLast().idField) && k < n - 2)
            continue;
        DriverChange change;
        change.idField = record.idField;
        change.stamp = record.stamp;
        change.id = record.id;
        change.time = record.time;
        list.append(change);
    }
}

int driverChangeAt(const QVector<DriverChange> &list, const QDateTime &t)
{
    for (int k = 0; k + 1 < list.size(); ++k) {
        const QDateTime &from = list.at(k).time;
        const QDateTime &to = list.at(k + 1).time;
        if (from.isValid() && to.isValid() && from <= t && t <= to)
            return k;
    }
    return -1;
}

int levelAt(const QVector<QPointF> &points, qint64 ms)
{
    for (int j = 0; j + 1 < points.size(); ++j) {
        if (qint64(points.at(j).x()) <= ms && ms <= qint64(points.at(j + 1).x()))
            return int(points.at(j).y());
    }
    return -1;
}

QString activityLabel(const QStringList &labels, int level)
{
    if (level < 1 || level > 4)
        return QString();
    return labels.value(level - 1);
}

QStringList defaultActivityLabels(Texts texts)
{
    return {viewerText(QT_TRANSLATE_NOOP("MainWindow", "Resting"), texts),
            viewerText(QT_TRANSLATE_NOOP("MainWindow", "Standby"), texts),
            viewerText(QT_TRANSLATE_NOOP("MainWindow", "Stopping"), texts),
            viewerText(QT_TRANSLATE_NOOP("MainWindow", "Driving"), texts)};
}

QVector<MinuteRow> minuteRows(const DrivingData &block)
{
    QDateTime firstTime, lastTime;
    for (const DrivingRecord &record : block.records) {
        if (record.time.isValid()) {
            if (!firstTime.isValid())
                firstTime = record.time;
            lastTime = record.time;
        }
    }
    if (!firstTime.isValid())
        return {};
    const qint64 first = firstTime.toMSecsSinceEpoch();
    const qint64 last = lastTime.toMSecsSinceEpoch();
    constexpr qint64 minuteMs = 60000;
    // Minutes t = first + k minutes with t < last.
    const qint64 minutes =
        last > first ? std::min<qint64>(ceilDiv(last - first, minuteMs), kMaxTableMinutes) : 0;
    if (minutes == 0)
        return {};

    // The rows come minute by minute, and within a minute slot by slot and pair by pair. Each
    // pair covers a range of minutes, so the rows are counted per minute first and then put in
    // place, instead of testing every pair against every minute.
    struct Pair
    {
        int slot;
        int level;
        qint64 from, to; // minute indexes, inclusive
    };
    QVector<Pair> pairs;
    QVector<qint64> perMinute(int(minutes) + 1, 0);
    qint64 total = 0;
    for (int s = kFirstDriverSlot; s < kDriverSlotCount; ++s) {
        const QVector<QPointF> &points = block.lines[size_t(s)].points;
        for (int j = 0; j + 1 < points.size(); ++j) {
            const qint64 x0 = qint64(points.at(j).x());
            const qint64 x1 = qint64(points.at(j + 1).x());
            const qint64 from = std::max<qint64>(0, ceilDiv(x0 - first, minuteMs));
            const qint64 to = std::min<qint64>(minutes - 1, floorDiv(x1 - first, minuteMs));
            if (from > to)
                continue;
            pairs.append({s, int(points.at(j).y()), from, to});
            ++perMinute[int(from)]; // as differences, summed up below
            --perMinute[int(to + 1)];
            total += to - from + 1;
        }
    }

    // Offsets of each minute's first row; rows past the cap are dropped from the end, so the
    // minutes from `cut` on need no visit.
    const qint64 kept = std::min<qint64>(total, kMaxTableRows);
    QVector<qint64> next(int(minutes) + 1, 0);
    qint64 count = 0;
    qint64 cut = minutes;
    for (int k = 0; k < minutes; ++k) {
        count += perMinute[k];
        next[k + 1] = next[k] + count;
        if (next[k] >= kept && cut == minutes)
            cut = k;
    }
    QVector<MinuteRow> rows(static_cast<int>(kept));
    for (const Pair &pair : qAsConst(pairs)) {
        for (qint64 k = pair.from; k <= std::min(pair.to, cut - 1); ++k) {
            const qint64 at = next[int(k)]++;
            if (at < kept)
                rows[int(at)] = {pair.slot, pair.level, first + k * minuteMs};
        }
    }
    return rows;
}

QString minuteText(qint64 msecs)
{
    return QDateTime::fromMSecsSinceEpoch(msecs).toString(QStringLiteral("yyyy/MM/dd hh:mm:ss"));
}

QVector<QString> minuteTexts(const QVector<MinuteRow> &rows)
{
    QVector<QString> texts(rows.size());
    if (rows.isEmpty())
        return texts;
    // Turning each instant into local time costs a time zone lookup. When the offset from UTC
    // is the same at the first and the last minute (no daylight saving change in between;
    // the table spans at most a week), local time is UTC shifted by that offset, which is
    // plain arithmetic.
    const int offset = QDateTime::fromMSecsSinceEpoch(rows.constFirst().minute).offsetFromUtc();
    const bool fixedOffset =
        QDateTime::fromMSecsSinceEpoch(rows.constLast().minute).offsetFromUtc() == offset;
    qint64 minute = 0;
    QString text;
    for (int r = 0; r < rows.size(); ++r) {
        if (r == 0 || rows.at(r).minute != minute) {
            minute = rows.at(r).minute;
            if (fixedOffset) {
                const QDateTime wall =
                    QDateTime::fromMSecsSinceEpoch(minute + qint64(offset) * 1000, Qt::UTC);
                const QDate d = wall.date();
                const QTime t = wall.time();
                char buffer[32];
                std::snprintf(buffer, sizeof buffer, "%04d/%02d/%02d %02d:%02d:%02d", d.year(), d.month(),
                              d.day(), t.hour(), t.minute(), t.second());
                text = QString::fromLatin1(buffer);
            } else {
                text = minuteText(minute);
            }
        }
        texts[r] = text;
    }
    return texts;
}

QString durationText(qint64 seconds)
{
    return QString::asprintf("%02llu:%02llu:%02llu", static_cast<unsigned long long>(seconds / 3600),
                             static_cast<unsigned long long>((seconds / 60) % 60),
                             static_cast<unsigned long long>(seconds % 60));
}

QStringList drivingDumpLines(const DrivingData &block)
{
    if (!block.ok())
        return {QStringLiteral("Drving Change Data Size Error")};
    QStringList lines;
    lines.reserve(block.records.size() + 1);
    lines << QStringLiteral("Drving Change ") + QStringLiteral("Count:") + QString::number(block.count);
    for (const DrivingRecord &record : block.records) {
        lines << QStringLiteral("ID:") + record.id + QLatin1Char(' ') + QStringLiteral("current:") +
                     QString::number(record.current() ? 1 : 0, 16) + QLatin1Char(' ') +
                     QStringLiteral("Master:") + QString::number(record.master(), 16) + QLatin1Char(' ') +
                     QStringLiteral("Action:") + QString::number(record.action(), 16) + QLatin1Char(' ') +
                     QStringLiteral("Time:") +
                     recorderTimeText(reinterpret_cast<const uchar *>(record.stamp.constData()));
    }
    return lines;
}

BlockDump drivingDump(const DrivingData &block)
{
    BlockDump dump;
    dump.lines = drivingDumpLines(block);
    if (!block.ok())
        dump.debugLine = QString::asprintf("Error-parseData_03 DataSize:%d  ofsset:%d ", block.size,
                                           int(block.expectedSize));
    return dump;
}

} // namespace vdr
