#pragma once

#include "core/vdr/dayreport.h"

#include <QJsonObject>
#include <QString>

// The day as the tool describes it: everything the viewer shows for the day, in the viewer's
// own texts (the current language's), built from the day model.
namespace vdr {

// One JSON object: the name check and the day, the checksum, the walk, each block with its
// status and decoded records, the driver totals, the driver change list and the hour list.
QJsonObject dayJson(const DayReport &report);

// The same content as indented readable text.
QString dayText(const QJsonObject &day);

} // namespace vdr
