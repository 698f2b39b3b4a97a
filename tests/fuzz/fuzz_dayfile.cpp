// libFuzzer harness over the whole day-file path of the core: the file name check, the
// container walk, every block decoder into the day model, and the HTML, dump text, table rows,
// chart points, JSON document and exports built from the model, just as the window and the
// tool ask for them.
//
// Input layout: the first byte picks what the rest is.
//   0-4: the data of one block of that data type, handed to its decoder directly;
//   5-255: a day file: the bytes up to the first '\n' (at most 40) are its file name, the
//          rest is the file's content (the whole input is the content when there is no '\n').
#include "core/vdr/dayjson.h"
#include "core/vdr/dayreport.h"
#include "core/vdr/recordertime.h"
#include "core/vdr/tableexport.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <cstdint>
#include <cstdlib>

namespace {

// Keeps results alive so the builders are not optimised away.
volatile qint64 g_sink = 0;
void keep(const QString &s)
{
    g_sink += s.size();
}
void keep(const QStringList &l)
{
    for (const QString &s : l)
        keep(s);
}

void check(bool condition)
{
    if (!condition)
        std::abort();
}

void faultEvent(const vdr::FaultEventResult &r)
{
    keep(vdr::faultEventDump(r).lines);
    keep(vdr::faultEventTablesHtml(r));
    check(r.ok() ? r.events.size() == r.eventCount : r.events.isEmpty());
    for (const vdr::FaultEventRecord &e : r.errors) {
        keep(vdr::faultTypeText(e.type));
        keep(vdr::faultDurationText(e.start.data(), e.end.data(), false, vdr::faultTypeNumber(e.type)));
    }
    for (const vdr::FaultEventRecord &e : r.events)
        keep(vdr::faultDurationText(e.start.data(), e.end.data(), true, vdr::faultTypeNumber(e.type)));
}

void speed(const vdr::SpeedResult &r)
{
    keep(vdr::speedDump(r).lines);
    if (!r.ok())
        return;
    const vdr::SpeedRecords &block = r.records;
    const QVector<qint64> &starts = r.starts;
    check(starts.size() == qint64(block.count()));
    const QVector<QPointF> points = vdr::speedChartPoints(block, starts, 220);
    // A day on a 1200-pixel plot, as the chart asks for it, and a plot of the data's own span.
    double minX = 0, maxX = 86400000;
    for (qint64 s : starts) {
        if (s == vdr::kNoStart)
            continue;
        minX = double(s) - 3600000;
        maxX = double(s) + 86400000;
        break;
    }
    keep(QString::number(vdr::pixelEnvelope(points, minX, maxX, 40, 1200).size()));
    keep(QString::number(vdr::pixelEnvelope(points, minX, minX, 0, 0).size()));
    const int n = int(block.count());
    for (int i = 0; i < n && i < 4; ++i) {
        keep(block.startText(i));
        for (const vdr::SpeedRow &row : vdr::speedRows(block, i))
            keep(row.time + row.speed + row.mileage);
        if (starts.at(i) != vdr::kNoStart) {
            const vdr::SpeedSampleAt at = vdr::speedSampleAt(block, starts, starts.at(i) + 59999);
            keep(vdr::cursorSpeedText(at) + vdr::cursorMileageText(at));
            keep(vdr::cursorTimeText(QDateTime::fromMSecsSinceEpoch(starts.at(i) + 500)));
        }
    }
}

void technology(const vdr::TechnologyResult &r)
{
    keep(r.layoutNote);
    keep(vdr::technologyDump(r).lines);
    keep(vdr::technologyTablesHtml(r));
    if (r.failure == vdr::SizeError::Device)
        return;
    keep(vdr::certificateText(r));
    keep(vdr::mileageTableHtml(r)); // each list's table also of a result that failed before it
    keep(vdr::clockTableHtml(r));
    keep(vdr::driveThresholdTableHtml(r));
    keep(vdr::restThresholdTableHtml(r));
}

void driving(const vdr::DrivingData &block)
{
    keep(vdr::drivingDump(block).lines);
    if (!block.ok())
        return;
    QVector<vdr::DriverChange> changes;
    vdr::appendDriverChanges(changes, block);
    vdr::appendDriverChanges(changes, block); // a second day in the same list
    const QStringList labels = vdr::defaultActivityLabels();
    for (const vdr::DriverLine &line : block.lines) {
        keep(line.name);
        for (qint64 total : line.totals)
            keep(vdr::durationText(total));
        if (!line.points.isEmpty()) {
            const qint64 ms = qint64(line.points.first().x()) + 1000;
            keep(vdr::activityLabel(labels, vdr::levelAt(line.points, ms)));
            keep(QString::number(vdr::driverChangeAt(changes, QDateTime::fromMSecsSinceEpoch(ms))));
        }
    }
    check(block.minuteRows.size() <= vdr::kMaxTableRows);
    check(block.minuteTimes.size() == block.minuteRows.size());
}

void location(const vdr::LocationResult &r, const uchar *data, quint32 size)
{
    keep(vdr::locationDump(r).lines);
    if (!r.ok())
        return;
    check(r.hours.size() == r.hourFixes.size());
    for (int hour = 0; hour <= r.hours.size(); ++hour)
        for (const vdr::LocationRow &row : vdr::locationRowsOfHour(r, hour))
            keep(row.time + row.longitude + row.latitude + row.height + row.speed);
    if (size >= 2 + vdr::kLocationRecordSize)
        keep(vdr::gpsPointText(vdr::locationPointAt(data + 2)));
}

void block(quint8 dataId, const uchar *data, quint32 size)
{
    vdr::BlockInfo info;
    info.dataId = dataId;
    info.dataSize = size;
    const vdr::BlockReport report = vdr::decodeBlock(info, data);
    keep(report.message());
    switch (dataId) {
    case vdr::FaultEventBlock:
        faultEvent(report.faultEvent);
        break;
    case vdr::SpeedBlock:
        speed(report.speed);
        break;
    case vdr::TechnologyBlock:
        technology(report.technology);
        // and with the other layout
        technology(vdr::decodeTechnologyBlock(data, size, !report.technology.newLayout));
        break;
    case vdr::DrivingBlock:
        driving(report.driving);
        break;
    case vdr::LocationBlock:
        location(report.location, data, size);
        break;
    default:
        break;
    }
}

void dayFile(const QByteArray &name, const QByteArray &content)
{
    const vdr::DayNameCheck check = vdr::checkDayFileName(QString::fromUtf8(name));
    if (check.ok()) {
        keep(vdr::dayListText(check.day));
        keep(vdr::normalisedDayFileName(check.day));
    }
    const vdr::DayReport day = vdr::analyseDayFile(QString::fromUtf8(name), content);
    const vdr::ContainerWalk &walk = day.walk;
    keep(vdr::walkProblemText(walk));
    const uchar *bytes = reinterpret_cast<const uchar *>(content.constData());
    for (const vdr::BlockInfo &info : walk.blocks) {
        // Every block the walk hands out lies wholly before the checksum byte.
        ::check(info.dataOffset >= 0 && info.dataOffset + qint64(info.dataSize) <= walk.dataEnd);
        ::check(walk.dataEnd < content.size());
        block(info.dataId, bytes + info.dataOffset, info.dataSize);
    }
    keep(day.problems());
    keep(vdr::dayText(vdr::dayJson(day)));
    for (const QString &name : vdr::exportTableNames()) {
        vdr::ExportTable table;
        ::check(vdr::exportTableFromName(name, &table));
        keep(QString::fromUtf8(vdr::csvDocument(vdr::exportRows(day, table))));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const quint8 mode = data[0];
    ++data;
    --size;
    if (mode <= vdr::LocationBlock) {
        // libFuzzer's buffer ends exactly after the input, so a read past the block is caught.
        block(mode, data, quint32(size));
        return 0;
    }
    const QByteArray all(reinterpret_cast<const char *>(data), int(size));
    const int newline = all.indexOf('\n');
    if (newline >= 0 && newline <= 40)
        dayFile(all.left(newline), all.mid(newline + 1));
    else
        dayFile(QByteArray("D20240131__.vdr"), all);
    return 0;
}
