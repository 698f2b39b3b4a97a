#pragma once

#include "core/vdr/blockdump.h"
#include "core/vdr/sizeerror.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVector>

#include <array>

// The location block (data type 4):
//   u16 n | n fixes of 19 bytes, and nothing else: the block is exactly 2 + 19n bytes.
// Fix: stamp, i32 longitude, i32 latitude, i16 height (tenths of a metre), u8 speed (km/h),
// u8 status (0: no position).
namespace vdr {

constexpr int kLocationRecordSize = 19;

struct LocationFix
{
    std::array<uchar, 7> time{};
    qint32 longitude = 0;
    qint32 latitude = 0;
    qint16 height = 0;
    quint8 speed = 0;
    quint8 status = 0;
};

struct LocationResult
{
    qint64 size = 0;
    int count = 0;              // n, 0 when it could not be read
    qint64 expectedSize = 2;    // 2 + 19n
    QVector<LocationFix> fixes; // empty unless ok()
    // The hour list: one entry per distinct date and hour, in the order of their first fix,
    // each the full time of that first fix as "yyyy/MM/dd hh:mm:ss" (an empty text for fixes
    // whose time is not a valid date-time; they all share one entry).
    QStringList hours;
    QVector<QVector<int>> hourFixes; // per entry of the hour list, its fixes in record order

    bool ok() const { return size == expectedSize; }
    SizeError failure() const { return ok() ? SizeError::None : SizeError::Location; }
};

LocationResult decodeLocationBlock(const uchar *data, qint64 size);

// The 12 bytes of a fix from its longitude on (record offsets 7 to 18); the time stays zero.
LocationFix locationPointAt(const uchar *p);

// A coordinate value read as degrees x 1000000 + minutes x 10000 + a remainder that takes no
// part: degrees + minutes / 60, with the sign of the value (121303000 gives 121.5).
double coordinateDegrees(qint32 value);

// The bracketed one-line text of a fix: "[X:lat Y:lon H:h m S:s km/h status]".
QString gpsPointText(const LocationFix &fix);

// One row of the fix table.
struct LocationRow
{
    QString time, longitude, latitude, height, speed;
};

// The row of one fix: its time as "yyyy/MM/dd hh:mm:ss" (empty when not a valid date-time),
// longitude and latitude in degrees and height in metres ("0" each for a fix without a
// position), speed as "n km/h".
LocationRow locationRow(const LocationFix &fix);

// The rows of the fixes of entry `hour` of the hour list, in record order; none for an index
// outside the list.
QVector<LocationRow> locationRowsOfHour(const LocationResult &result, int hour);

// The dump lines ("Gps Data Count:n", then per fix its time and its point text followed by a
// line break), or with a wrong size the one line "Gps Data Size Error" and the debug-output line.
BlockDump locationDump(const LocationResult &result);

} // namespace vdr
