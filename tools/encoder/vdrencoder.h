// Writer for VDR day files: the recorder's one-file-per-day container of five block types.
//
// Everything here produces bytes only; nothing is decoded. Fields handed over with the wrong
// length are padded with zero bytes or cut to their width, so every record keeps its exact size;
// their content is copied as it is (a stamp may hold 0x13 as its month), so tests can build
// malformed records on purpose. All multi-byte numbers are written little-endian.
#pragma once

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QString>
#include <QVector>

#include <array>

namespace vdrenc {

// --- Value encodings -------------------------------------------------------------------------

// Packed BCD of 0..99 (high nibble tens, low nibble units). Values above 99 keep their last two
// decimal digits; negative values give 0.
quint8 bcd(int value);

// Recorder timestamp, 7 packed-BCD bytes: century, year of century, month, day, hour, minute,
// second. Years 0..9999; each field is encoded as given, without a calendar check.
QByteArray stamp(int year, int month, int day, int hour, int minute, int second);
// The local date and time of t, to the second. An invalid t gives zeroStamp().
QByteArray stamp(const QDateTime &t);
// Seven zero bytes: "no time" (for example the end of an event still running).
QByteArray zeroStamp();

QByteArray bcdDate(int year, int month, int day); // 4 bytes: century, year, month, day
// 4 bytes, 8 BCD digits, most significant first, in tenths of a km. Values above 99999999
// keep their lowest 8 decimal digits.
QByteArray bcdMileage(quint32 tenthsOfKm);
QByteArray bcdHourMinute(int hour, int minute); // 2 bytes: hour, minute

// Text field of a fixed width: the UTF-8 bytes, NUL padded. A text exactly as long as the
// field has no terminating NUL. A longer text is cut, and never inside a multi-byte UTF-8
// character: the partial character is replaced by NUL padding.
QByteArray textField(const QByteArray &utf8, int width);

// Coordinate value: degrees * 1000000 + minutes * 10000 + remainder (ten-thousandths of a
// minute). The sign of the first non-zero part applies to the whole value, so
// coordinate(-121, 30) == -121300000.
qint32 coordinate(int degrees, int minutes, int remainder = 0);

// --- Fault and event block (data type 0) -----------------------------------------------------
// u16 N, N error records, u16 M, M event records.

struct ErrorRecord // 15 bytes
{
    char type = '0';
    QByteArray start, end;
};
struct EventRecord // 16 bytes
{
    char type = '0';
    QByteArray start, end;
    quint8 total = 0;
};
QByteArray faultEventBlock(const QVector<ErrorRecord> &errors, const QVector<EventRecord> &events);

// --- Speed block (data type 1) ---------------------------------------------------------------
// u32 n, n one-minute records: start stamp, 120 half-second speeds (km/h, 0xFF = no value),
// 120 u32 mileages (tenths of a km, 0x00FFFFFF = no value).

constexpr quint8 NoSpeed = 0xFF;
constexpr quint32 NoMileage = 0x00FFFFFF;

struct SpeedRecord // 607 bytes
{
    QByteArray start;
    std::array<quint8, 120> speed{};
    std::array<quint32, 120> mileage{};
};
QByteArray speedBlock(const QVector<SpeedRecord> &records);

// --- Driving block (data type 3) -------------------------------------------------------------
// u16 n, n records: 18-byte driver ID text, status byte, stamp.

enum DrivingAction
{
    Driving = 1,
    Stopping = 2,
    Standby = 3,
    Resting = 4
};

struct DrivingRecord // 26 bytes
{
    QByteArray id;
    quint8 status = 0;
    QByteArray time;
};
// Status byte: bit 7 "current" (the driver at the wheel), bits 6..4 action, bits 3..0 master.
// Out-of-range action and master values are masked to their bits.
quint8 drivingStatus(bool current, int action, int master);
QByteArray drivingBlock(const QVector<DrivingRecord> &records);

// --- Technology block (data type 2) ----------------------------------------------------------
// Device record, u16 mileage-calibration count and records, then u8 count and records for the
// clock calibrations, the driving thresholds and the rest thresholds, ending the block.

struct DeviceInfo
{
    QByteArray vendor;                // text, 36
    QByteArray address;               // text, 36
    QByteArray serial;                // text, 8
    std::array<quint8, 4> firmware{}; // three version numbers and a fourth byte
    QByteArray installTime;           // stamp
    QByteArray mfdDate;               // bcdDate, 4 bytes
    QByteArray certificate;           // text, 17 (new layout) or 8 (old layout)
    QByteArray carNo;                 // text, 17
    bool newLayout = true;
};
struct MileCalib // 58 bytes
{
    QByteArray op;            // operator, text, 36
    QByteArray before, after; // bcdMileage
    QByteArray timeBefore, timeAfter;
};
struct TimeCalib // 14 bytes
{
    QByteArray before, after;
};
struct ThresholdCalib // 18 bytes
{
    QByteArray timeBefore, timeAfter;
    QByteArray before, after; // bcdHourMinute
};

constexpr int OldDeviceRecordSize = 120;
constexpr int NewDeviceRecordSize = 129;

QByteArray deviceRecord(const DeviceInfo &info); // 120 (old) or 129 (new) bytes
QByteArray technologyBlock(const DeviceInfo &info, const QVector<MileCalib> &mileage,
                           const QVector<TimeCalib> &clock, const QVector<ThresholdCalib> &drive,
                           const QVector<ThresholdCalib> &rest);

// --- Location block (data type 4) ------------------------------------------------------------
// u16 n, n fixes: stamp, i32 longitude, i32 latitude, i16 height (tenths of a metre),
// u8 speed (km/h), u8 status (0 = no position).

struct LocationRecord // 19 bytes
{
    QByteArray time;
    qint32 longitude = 0, latitude = 0;
    qint16 height = 0;
    quint8 speed = 0;
    quint8 status = 1;
};
QByteArray locationBlock(const QVector<LocationRecord> &records);

// A count field holds only so many records: the blocks above write at most 65535 records for a
// u16 count (255 for a u8 count, 4294967295 for the u32 speed count) and drop the rest, so
// a block always agrees with its own counts.

// --- Container -------------------------------------------------------------------------------
// u16 blockCnt; per block: u8 dataID, 18-byte zero-terminated name, u32 dataSize, data;
// last byte: XOR of all bytes before it.

enum DataId : quint8
{
    FaultEventId = 0,
    SpeedId = 1,
    TechnologyId = 2,
    DrivingId = 3,
    LocationId = 4
};

struct Block
{
    quint8 dataId = 0;
    QByteArray name; // at most 17 bytes are kept, so the field always ends with a NUL
    QByteArray data;
};

// Deliberate damage, for tests of a reader.
struct ContainerOptions
{
    int blockCountOverride = -1;         // written as blockCnt instead of the real count
    qint64 dataSizeOverrideForLast = -1; // written as dataSize of the last block (low 32 bits)
    QByteArray gapBeforeChecksum;        // bytes between the last block and the checksum
    bool corruptChecksum = false;        // checksum byte inverted
};
QByteArray container(const QVector<Block> &blocks, const ContainerOptions &opt = {});
quint8 xorChecksum(const QByteArray &bytes); // XOR of all bytes, 0 for none

// "DyyyyMMdd__.vdr"
QString dayFileName(const QDate &day);

// A realistic synthetic full day: blocks technology, fault/event, speed (1440 minutes), driving
// and location, in that order. The same (day, seed) gives the same bytes on every machine; the
// generator uses integer arithmetic only and no clock or system randomness. An invalid day
// gives an empty array.
QByteArray sampleDay(const QDate &day, quint32 seed = 1);

} // namespace vdrenc
