#pragma once

#include "core/vdr/blockdump.h"
#include "core/vdr/sizeerror.h"
#include "core/vdr/viewertext.h"

#include <QString>
#include <QStringList>
#include <QVector>

#include <array>

// The fault and event block (data type 0):
//   u16 N | N error records of 15 bytes | u16 M | M event records of 16 bytes
// Error record: type character, start stamp, end stamp. An event record adds a u8 total count.
// The error section is accepted when 2 + 15N fits in the block; the event section only when
// the block ends exactly after the last event record.
namespace vdr {

struct FaultEventRecord
{
    char type = '0';
    std::array<uchar, 7> start{};
    std::array<uchar, 7> end{};
    quint8 total = 0; // event records only
};

struct FaultEventResult
{
    quint32 size = 0;
    SizeError failure = SizeError::None; // Errors: 2 + 15N does not fit in the block (or N
                                         // itself does not); Events: the block is not exactly
                                         // 4 + 15N + 16M bytes (or M does not fit)
    int errorCount = 0;  // N, 0 when it could not be read
    int eventCount = 0;  // M, 0 when it could not be read
    qint64 errorEnd = 0; // 2 + 15N
    qint64 eventEnd = 0; // 4 + 15N + 16M (set once the error section passed)
    QVector<FaultEventRecord> errors;
    QVector<FaultEventRecord> events; // empty unless the event section passed

    bool ok() const { return failure == SizeError::None; }
};

FaultEventResult decodeFaultEventBlock(const uchar *data, quint32 size);

// The type text of a type character: '0'..'7' name a fault or event, '8' and '9' have an
// empty text, and any character that is not a digit counts as '0'.
int faultTypeNumber(char type);
QString faultTypeText(char type, Texts texts = Texts::Shown);

// The duration cell: "hh:mm:ss" (hours not limited to two digits) from start to end; an open
// interval (one stamp not a valid date-time, or the end before the start) shows "continuing"
// for a running "Driving Over" event (isEvent and type 2) and "00:00:00" otherwise. Two
// invalid stamps give "00:00:00".
QString faultDurationText(const uchar *start, const uchar *end, bool isEvent, int type,
                          Texts texts = Texts::Shown);

// The HTML of the two tables of the "Fault & Event" page. The error table needs a result that
// passed the error section, the event table one that passed both.
QString errorTableHtml(const FaultEventResult &result);
QString eventTableHtml(const FaultEventResult &result);
// The tables the page shows of a block, in order: both, only the error table when the event
// section fails, none when the error section fails.
QStringList faultEventTablesHtml(const FaultEventResult &result);

// The dump lines after the heading, with the debug-output line of a size failure.
QString faultEventDumpHeading();
BlockDump faultEventDump(const FaultEventResult &result);

} // namespace vdr
