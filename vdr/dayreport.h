#pragma once

#include "vdr/container.h"
#include "vdr/dayfile.h"
#include "vdr/driving.h"
#include "vdr/faultevent.h"
#include "vdr/location.h"
#include "vdr/speed.h"
#include "vdr/technology.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>

// Everything a day file holds, decoded the way the viewer decodes it when it opens the file:
// the name check, the container walk, and each block passed to the decoder of its data type.
// Reports, checks and exports are built from this one result.
namespace vdr {

struct BlockReport
{
    BlockInfo info;
    bool known = true; // the data type is one of the five block kinds
    QString failure;   // the viewer's message for a block that fails its size rule, else empty

    // The decoded block; only the member of the block's data type is filled.
    FaultEventResult faultEvent;
    SpeedRecords speed; // a view on DayReport::data
    TechnologyResult technology;
    DrivingData driving;
    LocationResult location;

    bool ok() const { return failure.isEmpty(); }
};

struct DayReport
{
    QString fileName; // without directory
    DayNameCheck name;
    QByteArray data; // the file's bytes; the speed views point into them
    ContainerWalk walk;
    QVector<BlockReport> blocks; // the blocks that lie inside the data, in file order

    // The driver change list of all driving blocks in file order, as the viewer builds it.
    QVector<DriverChange> driverChanges;

    // Every problem found, in words; empty for a sound file.
    QStringList problems() const;
    bool sound() const { return problems().isEmpty(); }
};

// Decodes a day file from its name (no directory) and bytes. The report keeps the bytes, so
// it must not be copied while SpeedRecords views of it are in use elsewhere.
DayReport analyseDayFile(const QString &fileName, const QByteArray &data);

// The message of a failing speed or driving block (the other kinds carry theirs in their
// results).
QString speedSizeMessage();
QString drivingSizeMessage();

} // namespace vdr
