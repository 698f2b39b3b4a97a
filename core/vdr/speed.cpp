#include "core/vdr/speed.h"

#include "core/vdr/recordertime.h"

#include <QtEndian>

#include <algorithm>
#include <cmath>

namespace vdr {

quint32 SpeedRecords::count() const
{
    if (size() < 4)
        return 0;
    return qFromLittleEndian<quint32>(data());
}

QDateTime SpeedRecords::start(int i) const
{
    const uchar *p = record(i);
    // The time is checked on its own: an invalid time on a valid date would otherwise
    // become that day's midnight.
    const QTime time(bcdValue(p[4]), bcdValue(p[5]), bcdValue(p[6]));
    if (!time.isValid())
        return QDateTime();
    const QDateTime t = recorderDateTime(p);
    return t.isValid() ? t : QDateTime();
}

QString SpeedRecords::startText(int i) const
{
    const QDateTime t = start(i);
    return t.isValid() ? t.toString(QStringLiteral("yyyy/MM/dd hh:mm:ss")) : QString();
}

quint8 SpeedRecords::speed(int i, int j) const
{
    return record(i)[kRecorderTimeSize + j];
}

quint32 SpeedRecords::mileage(int i, int j) const
{
    return qFromLittleEndian<quint32>(record(i) + kRecorderTimeSize + kSpeedSamples + 4 * j);
}

QString mileageText(quint32 tenths)
{
    return QString::number(tenths / 10) + QLatin1Char('.') + QString::number(tenths % 10);
}

QVector<qint64> speedRecordStarts(const SpeedRecords &block)
{
    QVector<qint64> starts;
    if (!block.sizeOk())
        return starts;
    const int n = int(block.count());
    starts.reserve(n);
    // As start(i) gives them, without a time-zone lookup per record.
    RecorderClock clock;
    for (int i = 0; i < n; ++i) {
        const qint64 t = clock.ms(block.record(i));
        starts.append(t == RecorderClock::kInvalid ? kNoStart : t);
    }
    return starts;
}

QVector<QPointF> speedChartPoints(const SpeedRecords &block, const QVector<qint64> &starts, int maxSpeed)
{
    QVector<QPointF> points;
    const int n = starts.size();
    if (!block.sizeOk() || qint64(n) != qint64(block.count()))
        return points;
    points.reserve(n * kSpeedSamples);
    int next = 0; // the next record with a valid start after i
    for (int i = 0; i < n; ++i) {
        const qint64 start = starts[i];
        if (start == kNoStart)
            continue;
        if (next <= i) {
            next = i + 1;
            while (next < n && starts[next] == kNoStart)
                ++next;
        }
        const qint64 end = next < n ? starts[next] : start + kSpeedRecordMs;
        const uchar *s = block.record(i) + kRecorderTimeSize;
        for (int j = 0; j < kSpeedSamples; ++j) {
            const qint64 t = start + qint64(kSpeedSampleMs) * j;
            if (t > end)
                break; // later samples lie later still
            const int v = s[j];
            const double y = (v == 0 || v == kNoSpeed) ? kSpeedFloor : double(std::min(v, maxSpeed));
            points.append(QPointF(double(t), y));
        }
    }
    return points;
}

QVector<QPointF> pixelEnvelope(const QVector<QPointF> &points, double minX, double maxX, double plotLeft,
                               double plotWidth)
{
    const int count = points.size();
    if (count <= 4 || !(maxX > minX) || !(plotWidth > 0))
        return points;
    for (int i = 1; i < count; ++i) {
        if (points[i].x() < points[i - 1].x())
            return points;
    }

    const double scale = plotWidth / (maxX - minX);
    auto column = [&](double x) { return std::floor(plotLeft + (x - minX) * scale); };

    QVector<QPointF> out;
    out.reserve(std::min(count, 4 * int(plotWidth + 2) + 8));
    int first = 0;
    while (first < count) {
        const double col = column(points[first].x());
        int last = first;
        int lo = first, hi = first;
        while (last + 1 < count && column(points[last + 1].x()) == col) {
            ++last;
            if (points[last].y() < points[lo].y())
                lo = last;
            if (points[last].y() > points[hi].y())
                hi = last;
        }
        // first, lowest, highest, last of the column, each once, in the order of the line
        int keep[4] = {first, std::min(lo, hi), std::max(lo, hi), last};
        int previous = -1;
        for (int k : keep) {
            if (k != previous)
                out.append(points[k]);
            previous = k;
        }
        first = last + 1;
    }
    return out;
}

SpeedSampleAt speedSampleAt(const SpeedRecords &block, const QVector<qint64> &starts, qint64 tMs)
{
    SpeedSampleAt at;
    if (!block.sizeOk() || qint64(starts.size()) != qint64(block.count()))
        return at;
    for (int i = 0; i < starts.size(); ++i) {
        const qint64 start = starts[i];
        if (start == kNoStart || tMs < start || tMs >= start + kSpeedRecordMs)
            continue;
        const int j = int((tMs - start) / kSpeedSampleMs);
        at.found = true;
        at.speed = block.speed(i, j);
        at.mileage = block.mileage(i, j);
        break;
    }
    return at;
}

QString cursorSpeedText(const SpeedSampleAt &sample)
{
    if (!sample.found)
        return QStringLiteral("0 km/h");
    if (sample.speed == kNoSpeed)
        return QStringLiteral("---- km/h");
    return QString::number(sample.speed) + QStringLiteral(" km/h");
}

QString cursorMileageText(const SpeedSampleAt &sample)
{
    if (!sample.found)
        return QStringLiteral("0 km");
    if (sample.mileage == kNoMileage)
        return QStringLiteral("--.- km");
    return mileageText(sample.mileage) + QStringLiteral(" km");
}

QString cursorTimeText(const QDateTime &t)
{
    return t.toString(t.time().msec() > 499 ? QStringLiteral("hh:mm:ss.5") : QStringLiteral("hh:mm:ss.0"));
}

QVector<SpeedRow> speedRows(const SpeedRecords &block, int record)
{
    QVector<SpeedRow> rows;
    if (!block.sizeOk() || record < 0 || qint64(record) >= qint64(block.count()))
        return rows;
    const QDateTime start = block.start(record);
    rows.reserve(kSpeedSamples);
    for (int j = 0; j < kSpeedSamples; ++j) {
        const quint8 v = block.speed(record, j);
        if (v == kNoSpeed)
            continue; // the row closes up; the times still follow the sample index
        SpeedRow row;
        if (start.isValid())
            row.time = start.addMSecs(qint64(kSpeedSampleMs) * j)
                           .toString(QStringLiteral("yyyy/MM/dd hh:mm:ss.zzz"));
        row.speed = QString::number(v);
        row.mileage = mileageText(block.mileage(record, j));
        rows.append(row);
    }
    return rows;
}

QStringList speedDumpLines(const SpeedRecords &block)
{
    QStringList lines;
    if (!block.sizeOk())
        return lines;
    const int n = int(block.count());
    lines.reserve(n + 1);
    lines.append(QStringLiteral("Speed ") + QStringLiteral("Count:") + QString::number(block.count()));
    for (int i = 0; i < n; ++i) {
        QString entry = QStringLiteral("Time:") + recorderTimeText(block.record(i)) + QLatin1Char('\n');
        for (int j = 0; j < kSpeedSamples; ++j) {
            entry += QStringLiteral(" Mileage:") + QString::number(block.mileage(i, j)) +
                     QStringLiteral("%1").arg(block.speed(i, j), 3, 10, QLatin1Char('0')) + QLatin1Char(' ');
        }
        lines.append(entry);
    }
    return lines;
}

SpeedResult decodeSpeedBlock(const uchar *data, qint64 size)
{
    SpeedResult speed;
    speed.records = SpeedRecords(data, size);
    if (!speed.records.sizeOk())
        speed.failure = SizeError::Speed;
    else
        speed.starts = speedRecordStarts(speed.records);
    return speed;
}

BlockDump speedDump(const SpeedResult &speed)
{
    BlockDump dump;
    if (!speed.ok()) {
        dump.lines << QStringLiteral("Speed Data Size Error");
        dump.debugLine = QString::asprintf("Error-parseData_01 DataSize:%d  ofsset:%lld ",
                                           int(speed.records.size()), speed.records.expectedSize());
        return dump;
    }
    dump.lines = speedDumpLines(speed.records);
    return dump;
}

} // namespace vdr
