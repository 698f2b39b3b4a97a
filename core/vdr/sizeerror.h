#pragma once

#include <QString>

namespace vdr {

// The size rules of the five block kinds, one per section. A block that breaks one is
// reported by the section's text: on the viewer's message box, in the tool's reports and in
// the dumps alike.
enum class SizeError
{
    None,
    Errors,              // fault and event block: the error records
    Events,              // fault and event block: the event records
    Speed,               // speed block
    Device,              // technology block: the device record
    MileageCalibrations, // technology block: the lists, in their order
    ClockCalibrations,
    DriveThresholds,
    RestThresholds,
    Driving,  // driving block
    Location, // location block
};

// "DT_SPD_DATA Data Size Error" and the like, never translated; empty for None.
inline QString sizeErrorText(SizeError error)
{
    switch (error) {
    case SizeError::None:
        break;
    case SizeError::Errors:
        return QStringLiteral("DT_ERR_DATA Data Size Error");
    case SizeError::Events:
        return QStringLiteral("DT_EVENT_DATA Data Size Error");
    case SizeError::Speed:
        return QStringLiteral("DT_SPD_DATA Data Size Error");
    case SizeError::Device:
        return QStringLiteral("DT_VENDOR_DATA Data Size Error");
    case SizeError::MileageCalibrations:
        return QStringLiteral("DT_MILE_CALIB_RAW Data Size Error");
    case SizeError::ClockCalibrations:
        return QStringLiteral("DT_TIME_CALIB_RAW Data Size Error");
    case SizeError::DriveThresholds:
        return QStringLiteral("DT_THRES_CALIB_RAW(Drive) Data Size Error");
    case SizeError::RestThresholds:
        return QStringLiteral("DT_THRES_CALIB_RAW(Rest) Data Size Error");
    case SizeError::Driving:
        return QStringLiteral("DT_DRIVE_DATA Data Size Error");
    case SizeError::Location:
        return QStringLiteral("DT_LOCATE_DATA Data Size Error");
    }
    return QString();
}

} // namespace vdr
