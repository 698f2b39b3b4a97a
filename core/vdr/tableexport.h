#pragma once

#include "core/vdr/dayreport.h"
#include "core/vdr/viewertext.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>

// The rows of the viewer's tables as plain text, for export: one table per page, with the
// column captions and the cells of the page. The viewer and `tavrin-vdr export` both write
// them through here, in the language of the catalogue installed (Texts::Shown), so that the
// two make the same file for the same language. Written out as CSV (RFC 4180).
namespace vdr {

struct TextTable
{
    QStringList captions;
    QVector<QStringList> rows;
};

enum class ExportTable
{
    Events,     // the error and the event table, one row per record
    Speed,      // every half-second sample that has a speed, as in the sample table
    Driver,     // the minute table of the driver page
    Technology, // the device record and the calibration lists, one row per table line
    Location,   // every fix, hour by hour as the hour list orders them
};

// "events", "speed", "driver", "technology", "location"; false for any other name.
bool exportTableFromName(const QString &name, ExportTable *table);
QStringList exportTableNames();

// The rows of one page from all blocks of its data type that passed their size rules, in
// file order. Events and technology keep the tables before a failing section, as the page does.
// Captions and texts in the form asked for.
TextTable exportRows(const DayReport &report, ExportTable table, Texts texts = Texts::Source);

// One field quoted as RFC 4180 asks: in double quotes, with inner quotes doubled, when it
// holds a comma, a double quote, a carriage return or a line feed; otherwise unchanged.
QString csvField(const QString &field);

// The table as CSV: UTF-8 with a byte-order mark, the captions as the header row, CRLF after
// every record.
QByteArray csvDocument(const TextTable &table);

} // namespace vdr
