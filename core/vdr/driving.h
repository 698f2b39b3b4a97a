#pragma once

#include "core/vdr/blockdump.h"
#include "core/vdr/sizeerror.h"
#include "core/vdr/viewertext.h"

#include <QByteArray>
#include <QDateTime>
#include <QPointF>
#include <QString>
#include <QStringList>
#include <QVector>

#include <array>

// The driving block (data type 3, "DT_DRIVE_DATA"): who was at the wheel and in which activity.
//   u16 n | n records of 26 bytes
// Record:
//   18-byte driver ID (text up to the first NUL, or all 18 bytes) | status byte | 7-byte stamp
// Status byte: bit 7 "current" (the record enters the driver change list), bits 6..4 the
// action code, bits 3..0 a "master" number that only the dump shows.
//
// Action code -> chart level y = 5 - code:
//   1 Driving (4), 2 Stopping (3), 3 Standby (2), 4 Resting (1),
//   0 and 5 are charted outside the four bands and count towards no total,
//   6 and 7 are ignored.
namespace vdr {

constexpr int kDrivingRecordSize = 26;
constexpr int kDriverIdSize = 18;
constexpr int kDriverChangeSize = kDriverIdSize + 7;

// The driver chart has seven line slots. Slots 0 and 1 keep fixed names and stay empty; the
// drivers of a block take slots 2 to 6 in order of first appearance, so a block charts at most
// five drivers.
constexpr int kDriverSlotCount = 7;
constexpr int kFirstDriverSlot = 2;

// The minute table walks at most this many minutes (a week) and writes at most this many rows,
// so that a record with a stamp years away cannot make it endless.
constexpr int kMaxTableMinutes = 7 * 24 * 60;
constexpr int kMaxTableRows = 100000;

// Seconds spent per activity, in this order.
enum ActivityTotal
{
    TotalDriving = 0,
    TotalStopping = 1,
    TotalStandby = 2,
    TotalResting = 3,
};
using ActivityTotals = std::array<qint64, 4>;

struct DrivingRecord
{
    QByteArray idField; // the 18 bytes as stored
    QString id;         // the ID text
    quint8 status = 0;
    QByteArray stamp; // the 7 bytes as stored
    QDateTime time;   // the stamp as a local date-time (invalid when the stamp is)

    bool current() const { return status & 0x80; }
    int action() const { return (status >> 4) & 0x07; }
    int master() const { return status & 0x0F; }
};

// One line slot: the driver's step line and totals.
struct DriverLine
{
    QString name;            // the driver ID; empty while the slot is unused
    QVector<QPointF> points; // x: milliseconds since the epoch, y: level
    ActivityTotals totals{};
};

// An entry of the driver change list: the record's ID field and stamp (25 bytes together).
struct DriverChange
{
    QByteArray idField;
    QByteArray stamp;
    QString id;
    QDateTime time;

    QByteArray bytes() const { return idField + stamp; }
};

// One row of the minute table.
struct MinuteRow
{
    int slot = 0;
    int level = 0;
    qint64 minute = 0; // milliseconds since the epoch
};

// A decoded driving block: its records, and when the size is right the driver lines with their
// totals and the minute table.
struct DrivingData
{
    SizeError failure = SizeError::None;
    int size = 0;
    quint16 count = 0;       // n as stored (0 when the block is too short to hold it)
    qint64 expectedSize = 2; // 26 * n + 2
    QVector<DrivingRecord> records;
    std::array<DriverLine, kDriverSlotCount> lines;
    // Steps from an action code without a total (0 or 5): each would add seconds to none.
    int unknownActions = 0;
    QVector<MinuteRow> minuteRows;
    QVector<QString> minuteTimes; // minuteTexts(minuteRows)

    bool ok() const { return failure == SizeError::None; }
};

// Decodes the records only (no lines, no totals).
DrivingData decodeDrivingRecords(const uchar *data, int size);

// Builds the step lines and totals of decoded records: for each record, in order, its driver's
// slot gets the point (x, 5 - code); a later record of the same driver first adds the seconds
// since the previous point to the previous activity and draws the step (x, y0), (x, y).
void buildDriverLines(DrivingData &block);

// decodeDrivingRecords, then buildDriverLines and the minute table when the size is right.
// Records whose stamp is no valid date-time cannot be placed in time and add no point.
DrivingData decodeDrivingBlock(const uchar *data, int size);

// Adds seconds to the total of an action code (1..4). Any other code adds nothing and returns
// false.
bool driverActivityAddSec(ActivityTotals &totals, qint64 seconds, int code);

// Appends the block's "current" records to the change list: a record whose ID repeats the
// last entry's is skipped, except for the block's last two records.
void appendDriverChanges(QVector<DriverChange> &list, const DrivingData &block);

// The entry k of the first pair of consecutive entries k, k+1 with time(k) <= t <= time(k+1),
// whose driver was at the wheel at t; -1 when there is none.
int driverChangeAt(const QVector<DriverChange> &list, const QDateTime &t);

// The level y_j of the first pair of consecutive points with x_j <= ms <= x_(j+1); -1 when none.
int levelAt(const QVector<QPointF> &points, qint64 ms);

// The activity name of a level from the category labels of the driver chart (level 1 is the
// first label); empty outside 1..4.
QString activityLabel(const QStringList &labels, int level);

// "Resting", "Standby", "Stopping", "Driving", as the interface shows them (in its current
// language) or as the source texts.
QStringList defaultActivityLabels(Texts texts = Texts::Shown);

// The minute table: for each minute t = first, first + 60 s, ... before the last record's
// instant, for each charted slot (2..6) and each pair of consecutive points around t
// (x_j <= t <= x_(j+1)), one row. first and last are the instants of the first and the last
// record that have one.
QVector<MinuteRow> minuteRows(const DrivingData &block);

// "yyyy/MM/dd hh:mm:ss" of a local instant given in milliseconds since the epoch.
QString minuteText(qint64 msecs);

// minuteText of each row's minute. Rows of the same minute share one string.
QVector<QString> minuteTexts(const QVector<MinuteRow> &rows);

// A total as "%02llu:%02llu:%02llu" (hours not wrapped).
QString durationText(qint64 seconds);

// The log dump: the plain lines after the heading "======= Driving Data =======". On a size
// mismatch the only line is "Drving Change Data Size Error".
QStringList drivingDumpLines(const DrivingData &block);
// drivingDumpLines, with the debug-output line of a size mismatch.
BlockDump drivingDump(const DrivingData &block);

} // namespace vdr
