#pragma once

#include "core/vdr/blockdump.h"
#include "core/vdr/sizeerror.h"

#include <QByteArray>
#include <QDateTime>
#include <QPointF>
#include <QString>
#include <QStringList>
#include <QVector>

#include <limits>

// The speed block (data type 1): a day's speed history as one-minute records.
//
//   u32 n, then n records of 607 bytes:
//     7   recorder timestamp, start of the minute
//     120 speeds, one byte each, km/h, sample j at start + 500 ms x j (0xFF: no value)
//     480 mileages, u32 each, tenths of a km (0x00FFFFFF: no value)
namespace vdr {

constexpr int kSpeedRecordSize = 607;
constexpr int kSpeedSamples = 120;
constexpr int kSpeedSampleMs = 500;
constexpr int kSpeedRecordMs = kSpeedSamples * kSpeedSampleMs;
constexpr quint8 kNoSpeed = 0xFF;
constexpr quint32 kNoMileage = 0x00FFFFFF;

// Speed drawn for a sample of 0 or of "no value": just above the axis, so the line stays
// visible along the bottom.
constexpr double kSpeedFloor = 0.1;

// A speed block's bytes (a copy of its own) and its records. All record accessors require
// sizeOk() and an index below count().
class SpeedRecords
{
public:
    SpeedRecords() = default;
    SpeedRecords(const uchar *data, qint64 size) : m_bytes(reinterpret_cast<const char *>(data), int(size)) {}

    const uchar *data() const { return reinterpret_cast<const uchar *>(m_bytes.constData()); }
    qint64 size() const { return m_bytes.size(); }
    bool isEmpty() const { return m_bytes.isEmpty(); }

    // n, or 0 when the block is too short to hold it.
    quint32 count() const;
    // 607 x n + 4, computed in 64 bits so no count overflows it.
    qint64 expectedSize() const { return qint64(kSpeedRecordSize) * count() + 4; }
    bool sizeOk() const { return size() >= 4 && size() == expectedSize(); }

    const uchar *record(int i) const { return data() + 4 + qint64(i) * kSpeedRecordSize; }
    QDateTime start(int i) const;        // invalid when the stamp does not decode
    QString startText(int i) const;      // "yyyy/MM/dd hh:mm:ss", empty when invalid
    quint8 speed(int i, int j) const;    // sample j of record i
    quint32 mileage(int i, int j) const; // sample j of record i

private:
    QByteArray m_bytes;
};

// Tenths of a km as "km.tenths", unsigned, no padding: 1234 gives "123.4".
QString mileageText(quint32 tenths);

// Record starts in ms since the epoch, kNoStart for a stamp that does not decode. The
// cursor keeps them, so a click costs no date conversion per record.
constexpr qint64 kNoStart = std::numeric_limits<qint64>::min();
QVector<qint64> speedRecordStarts(const SpeedRecords &block);

// The chart line of a block that passed the size check: per record, in order, the samples
// from its start up to and including the next record's start (its full minute for the last
// record), x in ms since the epoch, y the speed with 0 and 0xFF drawn at kSpeedFloor and
// speeds above maxSpeed cut to maxSpeed. Records whose stamp does not decode are skipped.
// starts comes from speedRecordStarts() of the same block.
QVector<QPointF> speedChartPoints(const SpeedRecords &block, const QVector<qint64> &starts, int maxSpeed);

// The line as it is drawn into pixel columns: for each column of a plot whose left edge is at
// plotLeft (device pixels) and which shows [minX, maxX] over plotWidth pixels, the first, the
// lowest, the highest and the last point of the column, in their order. A polyline through
// these points covers the same pixels as the polyline through all points. Columns continue
// beyond both edges, so the very first and last points are always kept. Points whose x does
// not grow monotonically, or an empty plot, give the points unchanged.
QVector<QPointF> pixelEnvelope(const QVector<QPointF> &points, double minX, double maxX, double plotLeft,
                               double plotWidth);

// The sample under the cursor at tMs (ms since the epoch): the first record with
// start <= t < start + 60 s, and in it sample (t - start) / 500. starts comes from
// speedRecordStarts() of the same block.
struct SpeedSampleAt
{
    bool found = false;
    quint8 speed = 0;
    quint32 mileage = 0;
};
SpeedSampleAt speedSampleAt(const SpeedRecords &block, const QVector<qint64> &starts, qint64 tMs);

// The cursor's texts for a sample: "---- km/h" / "--.- km" for no value; "0 km/h" / "0 km"
// when there is no record at the instant.
QString cursorSpeedText(const SpeedSampleAt &sample);
QString cursorMileageText(const SpeedSampleAt &sample);
// "hh:mm:ss.0" or "hh:mm:ss.5": the time to the half second.
QString cursorTimeText(const QDateTime &t);

// One row of the half-second table; samples without a speed are left out.
struct SpeedRow
{
    QString time;    // "yyyy/MM/dd hh:mm:ss.zzz" of the sample's own instant
    QString speed;   // decimal
    QString mileage; // mileageText
};
QVector<SpeedRow> speedRows(const SpeedRecords &block, int record);

// The plain-text dump of a block that passed the size check, one entry per log paragraph:
// "Speed Count:n", then per record "Time:<stamp>" and a line of its 120 samples.
QStringList speedDumpLines(const SpeedRecords &block);

// A decoded speed block: its records and their starts (speedRecordStarts), once.
struct SpeedResult
{
    SpeedRecords records;
    QVector<qint64> starts; // empty unless ok()
    SizeError failure = SizeError::None;

    bool ok() const { return failure == SizeError::None; }
};

SpeedResult decodeSpeedBlock(const uchar *data, qint64 size);

// The dump lines after the heading "======= Speed Data =======": speedDumpLines, or with a
// wrong size the line "Speed Data Size Error" and the debug-output line.
BlockDump speedDump(const SpeedResult &speed);

} // namespace vdr
