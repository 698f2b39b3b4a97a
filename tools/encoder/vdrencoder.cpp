#include "vdrencoder.h"

#include <QtEndian>

#include <algorithm>
#include <limits>

namespace vdrenc {

namespace {

void putU8(QByteArray &out, quint8 v)
{
    out.append(char(v));
}

void putU16(QByteArray &out, quint16 v)
{
    char b[2];
    qToLittleEndian(v, b);
    out.append(b, 2);
}

void putU32(QByteArray &out, quint32 v)
{
    char b[4];
    qToLittleEndian(v, b);
    out.append(b, 4);
}

// Raw field of a fixed width: cut or NUL padded, content copied as it is.
void putFixed(QByteArray &out, const QByteArray &bytes, int width)
{
    const int n = std::min<int>(bytes.size(), width);
    out.append(bytes.constData(), n);
    out.append(QByteArray(width - n, '\0'));
}

void putText(QByteArray &out, const QByteArray &utf8, int width)
{
    out.append(textField(utf8, width));
}

// Writes the count and then at most that many records (the count field's range).
template <typename Record, typename Writer>
void putRecords(QByteArray &out, const QVector<Record> &records, int countBytes, Writer write)
{
    const qint64 max = countBytes == 1 ? 0xFF : countBytes == 2 ? 0xFFFF : qint64(0xFFFFFFFF);
    const int n = int(std::min<qint64>(records.size(), max));
    if (countBytes == 1)
        putU8(out, quint8(n));
    else if (countBytes == 2)
        putU16(out, quint16(n));
    else
        putU32(out, quint32(n));
    for (int i = 0; i < n; ++i)
        write(records.at(i));
}

} // namespace

// --- Value encodings -------------------------------------------------------------------------

quint8 bcd(int value)
{
    if (value < 0)
        return 0;
    value %= 100;
    return quint8(((value / 10) << 4) | (value % 10));
}

QByteArray stamp(int year, int month, int day, int hour, int minute, int second)
{
    QByteArray out;
    for (int v : {year / 100, year % 100, month, day, hour, minute, second})
        putU8(out, bcd(v));
    return out;
}

QByteArray stamp(const QDateTime &t)
{
    if (!t.isValid())
        return zeroStamp();
    const QDateTime local = t.toLocalTime();
    const QDate d = local.date();
    const QTime tm = local.time();
    return stamp(d.year(), d.month(), d.day(), tm.hour(), tm.minute(), tm.second());
}

QByteArray zeroStamp()
{
    return QByteArray(7, '\0');
}

QByteArray bcdDate(int year, int month, int day)
{
    QByteArray out;
    for (int v : {year / 100, year % 100, month, day})
        putU8(out, bcd(v));
    return out;
}

QByteArray bcdMileage(quint32 tenthsOfKm)
{
    quint32 v = tenthsOfKm % 100000000u;
    QByteArray out(4, '\0');
    for (int i = 3; i >= 0; --i) {
        out[i] = char(bcd(int(v % 100)));
        v /= 100;
    }
    return out;
}

QByteArray bcdHourMinute(int hour, int minute)
{
    QByteArray out;
    putU8(out, bcd(hour));
    putU8(out, bcd(minute));
    return out;
}

QByteArray textField(const QByteArray &utf8, int width)
{
    if (width <= 0)
        return {};
    int keep = std::min<int>(utf8.size(), width);
    if (keep < utf8.size()) {
        // The first dropped byte continues a character begun inside the field: drop that
        // character's lead and continuation bytes too (a UTF-8 character has at most 4 bytes).
        int back = keep;
        while (back > 0 && keep - back < 3 && (quint8(utf8.at(back)) & 0xC0) == 0x80)
            --back;
        if ((quint8(utf8.at(back)) & 0xC0) == 0xC0)
            keep = back;
    }
    QByteArray out = utf8.left(keep);
    out.append(QByteArray(width - keep, '\0'));
    return out;
}

qint32 coordinate(int degrees, int minutes, int remainder)
{
    const bool negative = degrees < 0 || (degrees == 0 && (minutes < 0 || (minutes == 0 && remainder < 0)));
    const qint64 magnitude =
        std::abs(qint64(degrees)) * 1000000 + std::abs(qint64(minutes)) * 10000 + std::abs(qint64(remainder));
    return qint32(negative ? -magnitude : magnitude);
}

// --- Blocks ----------------------------------------------------------------------------------

QByteArray faultEventBlock(const QVector<ErrorRecord> &errors, const QVector<EventRecord> &events)
{
    QByteArray out;
    putRecords(out, errors, 2, [&](const ErrorRecord &r) {
        putU8(out, quint8(r.type));
        putFixed(out, r.start, 7);
        putFixed(out, r.end, 7);
    });
    putRecords(out, events, 2, [&](const EventRecord &r) {
        putU8(out, quint8(r.type));
        putFixed(out, r.start, 7);
        putFixed(out, r.end, 7);
        putU8(out, r.total);
    });
    return out;
}

QByteArray speedBlock(const QVector<SpeedRecord> &records)
{
    QByteArray out;
    out.reserve(4 + 607 * records.size());
    putRecords(out, records, 4, [&](const SpeedRecord &r) {
        putFixed(out, r.start, 7);
        out.append(reinterpret_cast<const char *>(r.speed.data()), int(r.speed.size()));
        for (quint32 m : r.mileage)
            putU32(out, m);
    });
    return out;
}

quint8 drivingStatus(bool current, int action, int master)
{
    return quint8((current ? 0x80 : 0) | ((action & 0x7) << 4) | (master & 0xF));
}

QByteArray drivingBlock(const QVector<DrivingRecord> &records)
{
    QByteArray out;
    putRecords(out, records, 2, [&](const DrivingRecord &r) {
        putText(out, r.id, 18);
        putU8(out, r.status);
        putFixed(out, r.time, 7);
    });
    return out;
}

QByteArray deviceRecord(const DeviceInfo &info)
{
    QByteArray out;
    putText(out, info.vendor, 36);
    putText(out, info.address, 36);
    putText(out, info.serial, 8);
    out.append(reinterpret_cast<const char *>(info.firmware.data()), 4);
    putFixed(out, info.installTime, 7);
    putFixed(out, info.mfdDate, 4);
    putText(out, info.certificate, info.newLayout ? 17 : 8);
    putText(out, info.carNo, 17);
    return out;
}

QByteArray technologyBlock(const DeviceInfo &info, const QVector<MileCalib> &mileage,
                           const QVector<TimeCalib> &clock, const QVector<ThresholdCalib> &drive,
                           const QVector<ThresholdCalib> &rest)
{
    QByteArray out = deviceRecord(info);
    putRecords(out, mileage, 2, [&](const MileCalib &r) {
        putText(out, r.op, 36);
        putFixed(out, r.before, 4);
        putFixed(out, r.after, 4);
        putFixed(out, r.timeBefore, 7);
        putFixed(out, r.timeAfter, 7);
    });
    putRecords(out, clock, 1, [&](const TimeCalib &r) {
        putFixed(out, r.before, 7);
        putFixed(out, r.after, 7);
    });
    const auto threshold = [&](const ThresholdCalib &r) {
        putFixed(out, r.timeBefore, 7);
        putFixed(out, r.timeAfter, 7);
        putFixed(out, r.before, 2);
        putFixed(out, r.after, 2);
    };
    putRecords(out, drive, 1, threshold);
    putRecords(out, rest, 1, threshold);
    return out;
}

QByteArray locationBlock(const QVector<LocationRecord> &records)
{
    QByteArray out;
    out.reserve(2 + 19 * records.size());
    putRecords(out, records, 2, [&](const LocationRecord &r) {
        putFixed(out, r.time, 7);
        putU32(out, quint32(r.longitude));
        putU32(out, quint32(r.latitude));
        putU16(out, quint16(r.height));
        putU8(out, r.speed);
        putU8(out, r.status);
    });
    return out;
}

// --- Container -------------------------------------------------------------------------------

quint8 xorChecksum(const QByteArray &bytes)
{
    quint8 x = 0;
    for (char c : bytes)
        x ^= quint8(c);
    return x;
}

QByteArray container(const QVector<Block> &blocks, const ContainerOptions &opt)
{
    const int n = std::min(int(blocks.size()), 0xFFFF);
    QByteArray out;
    putU16(out, quint16(opt.blockCountOverride >= 0 ? opt.blockCountOverride : n));
    for (int i = 0; i < n; ++i) {
        const Block &b = blocks.at(i);
        putU8(out, b.dataId);
        putFixed(out, b.name.left(17), 18);
        const bool override = i == n - 1 && opt.dataSizeOverrideForLast >= 0;
        putU32(out, override ? quint32(opt.dataSizeOverrideForLast) : quint32(b.data.size()));
        out.append(b.data);
    }
    out.append(opt.gapBeforeChecksum);
    quint8 sum = xorChecksum(out);
    if (opt.corruptChecksum)
        sum = quint8(~sum);
    putU8(out, sum);
    return out;
}

QString dayFileName(const QDate &day)
{
    return day.toString(QStringLiteral("DyyyyMMdd__")) + QStringLiteral(".vdr");
}

} // namespace vdrenc
