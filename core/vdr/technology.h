#pragma once

#include "core/vdr/blockdump.h"
#include "core/vdr/sizeerror.h"

#include <QString>
#include <QStringList>
#include <QVector>

#include <array>

// The technology block (data type 2): the device record, then the calibration lists
//   device record (120 bytes old layout, 129 new) | u16 n | n mileage records of 58 bytes
//   | u8 m | m clock records of 14 bytes | u8 k | k driving thresholds of 18 bytes
//   | u8 j | j rest thresholds of 18 bytes | end of the block
// The two device layouts differ only in the certificate field (8 or 17 bytes).
namespace vdr {

constexpr int kOldDeviceRecordSize = 120;
constexpr int kNewDeviceRecordSize = 129;

struct DeviceRecord
{
    QString vendor;
    QString address;
    QString serial;
    std::array<uchar, 4> firmware{}; // three version numbers and a fourth byte
    std::array<uchar, 7> installTime{};
    std::array<uchar, 4> mfdDate{};
    QString certificate; // 8 bytes (old layout) or 17 (new), as stored
    QString carNo;
};

struct MileageCalibration
{
    QString op;
    std::array<uchar, 4> before{}, after{}; // BCD mileage
    std::array<uchar, 7> timeBefore{}, timeAfter{};
};

struct ClockCalibration
{
    std::array<uchar, 7> before{}, after{};
};

struct ThresholdCalibration
{
    std::array<uchar, 7> timeBefore{}, timeAfter{};
    std::array<uchar, 2> before{}, after{}; // BCD hour and minute
};

struct TechnologyResult
{
    quint32 size = 0;
    bool newLayout = false;
    QString layoutNote; // why the old layout does not fit (useNewTechnologyLayout), or empty
    // Device: shorter than the device record; the lists: the count or the list does not fit,
    // and the rest list does not end exactly at the end of the block.
    SizeError failure = SizeError::None;
    qint64 failedEnd = 0; // with a failure: the end offset that did not fit

    DeviceRecord device; // valid unless the failure is Device
    int mileageCount = 0, clockCount = 0, driveCount = 0, restCount = 0;
    QVector<MileageCalibration> mileage;
    QVector<ClockCalibration> clock;
    QVector<ThresholdCalibration> drive;
    QVector<ThresholdCalibration> rest;

    bool ok() const { return failure == SizeError::None; }
    int deviceSize() const { return newLayout ? kNewDeviceRecordSize : kOldDeviceRecordSize; }
};

// False when the old layout accounts for the block exactly, true otherwise. With the new
// layout, *why tells why the old one does not fit ("size over (%d / %d) in milc, use new", ...).
bool useNewTechnologyLayout(const uchar *data, quint32 size, QString *why = nullptr);

// Decodes the block with the layout given. A count is read only where it lies inside the block.
TechnologyResult decodeTechnologyBlock(const uchar *data, quint32 size, bool newLayout);
// Decodes the block with the layout that useNewTechnologyLayout chooses.
TechnologyResult decodeTechnologyBlock(const uchar *data, quint32 size);

// The certificate number as the page shows it: the old layout's 8 bytes follow a fixed prefix.
QString certificateText(const TechnologyResult &result);

// Text forms of the record fields.
QString bcdDateText(const uchar *p);         // 4 bytes: "yyyy/MM/dd" or "----/--/--"
QString bcdTimeText(const uchar *p);         // 2 bytes: "hh:mm" formatted, or the text "hh:mm"
QString bcdMileageText(const uchar *p);      // 4 bytes, tenths of a km: "12345.6 km"
QString firmwareVersionText(const uchar *p); // 3 bytes in lower-case hex: "1.2.1a"

// The five tables of the "Technology" page, each one HTML piece. The device table needs a
// result past the device record; each list's table needs a result that passed that list.
QString deviceTableHtml(const TechnologyResult &result);
QString mileageTableHtml(const TechnologyResult &result);
QString clockTableHtml(const TechnologyResult &result);
QString driveThresholdTableHtml(const TechnologyResult &result);
QString restThresholdTableHtml(const TechnologyResult &result);
// The tables the page shows of a block, in order, up to the first section that fails.
QStringList technologyTablesHtml(const TechnologyResult &result);

// The dump lines after the heading, with the debug-output line of a size failure.
QString technologyDumpHeading();
BlockDump technologyDump(const TechnologyResult &result);

} // namespace vdr
