#pragma once

#include "core/vdr/container.h"
#include "core/vdr/dayfile.h"
#include "core/vdr/driving.h"
#include "core/vdr/faultevent.h"
#include "core/vdr/location.h"
#include "core/vdr/sizeerror.h"
#include "core/vdr/speed.h"
#include "core/vdr/technology.h"

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QStringList>
#include <QVector>

// A day file decoded once, the way the viewer reads it: the name check with the day it names,
// the checksum and the container walk, and each block decoded by the decoder of its data type
// with its status and records. The viewer's pages, the tool's reports and the exports are all
// built from this one value.
namespace vdr {

struct BlockReport
{
    BlockInfo info;
    SizeError failure = SizeError::None; // the size rule the block breaks, if any

    // The decoded block; only the member of the block's data type is filled.
    FaultEventResult faultEvent;
    SpeedResult speed;
    TechnologyResult technology;
    DrivingData driving;
    LocationResult location;

    bool known() const { return info.dataId <= LocationBlock; } // one of the five block kinds
    bool ok() const { return failure == SizeError::None; }
    // The viewer's message for a block that fails its size rule, else empty.
    QString message() const { return sizeErrorText(failure); }
};

// Decodes the data of one block (the bytes after its header) with the decoder of its data type.
BlockReport decodeBlock(const BlockInfo &info, const uchar *data);

struct DayReport
{
    QString fileName; // without directory
    DayNameCheck name;
    QByteArray data; // the file's bytes
    ContainerWalk walk;
    QVector<BlockReport> blocks; // the blocks that lie inside the data, in file order

    // The driver change list of all sound driving blocks in file order.
    QVector<DriverChange> driverChanges;

    // The day the file's name gives; invalid when the name does not give one.
    QDate day() const { return name.day; }

    // Appends a decoded block; a sound driving block continues the driver change list.
    void addBlock(const BlockReport &block);

    // The car number of the last technology block whose device record decoded, as the
    // window's panel shows it; empty when there is none.
    QString carNumber() const;

    // The last block of a data type, and the last one of it that passed its size rule; null
    // when there is none.
    const BlockReport *lastBlock(quint8 dataId) const;
    const BlockReport *lastSoundBlock(quint8 dataId) const;

    // Every problem found, in words; empty for a sound file.
    QStringList problems() const;
    bool sound() const { return problems().isEmpty(); }
};

// Decodes a day file from its name (no directory) and bytes.
DayReport analyseDayFile(const QString &fileName, const QByteArray &data);

} // namespace vdr
