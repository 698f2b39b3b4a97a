// The day as one JSON object, in the viewer's own texts, and the same content as text.
#include "core/vdr/dayjson.h"

#include "core/vdr/recordertime.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace vdr {

namespace {

QString hexByte(quint8 value)
{
    return QStringLiteral("0x%1").arg(value, 2, 16, QLatin1Char('0'));
}

QJsonObject faultRecordJson(int index, const FaultEventRecord &r, bool isEvent)
{
    QJsonObject o;
    o[QStringLiteral("index")] = index;
    o[QStringLiteral("type")] = faultTypeNumber(r.type);
    o[QStringLiteral("typeText")] = faultTypeText(r.type);
    o[QStringLiteral("start")] = recorderTimeText(r.start.data());
    o[QStringLiteral("end")] = recorderTimeText(r.end.data());
    o[QStringLiteral("duration")] =
        faultDurationText(r.start.data(), r.end.data(), isEvent, faultTypeNumber(r.type));
    if (isEvent)
        o[QStringLiteral("count")] = int(r.total);
    return o;
}

void addFaultEvent(QJsonObject &o, const FaultEventResult &result)
{
    o[QStringLiteral("errorCount")] = result.errorCount;
    o[QStringLiteral("eventCount")] = result.eventCount;
    QJsonArray errors, events;
    if (result.failure != SizeError::Errors)
        for (int i = 0; i < result.errors.size(); ++i)
            errors.append(faultRecordJson(i + 1, result.errors.at(i), false));
    for (int j = 0; j < result.events.size(); ++j)
        events.append(faultRecordJson(j + 1, result.events.at(j), true));
    o[QStringLiteral("errors")] = errors;
    o[QStringLiteral("events")] = events;
}

void addSpeed(QJsonObject &o, const SpeedResult &speed)
{
    const SpeedRecords &block = speed.records;
    o[QStringLiteral("count")] = qint64(block.count());
    if (!speed.ok())
        return;
    QJsonArray minutes;
    const int n = int(block.count());
    for (int i = 0; i < n; ++i) {
        QJsonObject m;
        m[QStringLiteral("index")] = i + 1;
        m[QStringLiteral("start")] = block.startText(i);
        QJsonArray speeds, mileages;
        for (int j = 0; j < kSpeedSamples; ++j) {
            const quint8 v = block.speed(i, j);
            speeds.append(v == kNoSpeed ? QJsonValue() : QJsonValue(int(v)));
            const quint32 km = block.mileage(i, j);
            mileages.append(km == kNoMileage ? QJsonValue() : QJsonValue(mileageText(km)));
        }
        m[QStringLiteral("speeds")] = speeds;
        m[QStringLiteral("mileages")] = mileages;
        minutes.append(m);
    }
    o[QStringLiteral("minutes")] = minutes;
}

QJsonObject thresholdJson(int index, const ThresholdCalibration &r)
{
    return QJsonObject{{QStringLiteral("index"), index},
                       {QStringLiteral("timeBefore"), recorderTimeText(r.timeBefore.data())},
                       {QStringLiteral("timeAfter"), recorderTimeText(r.timeAfter.data())},
                       {QStringLiteral("before"), bcdTimeText(r.before.data())},
                       {QStringLiteral("after"), bcdTimeText(r.after.data())}};
}

void addTechnology(QJsonObject &o, const TechnologyResult &t)
{
    o[QStringLiteral("layout")] = t.newLayout ? QStringLiteral("new") : QStringLiteral("old");
    if (t.failure == SizeError::Device)
        return;
    const DeviceRecord &d = t.device;
    o[QStringLiteral("device")] = QJsonObject{
        {QStringLiteral("vendor"), d.vendor},
        {QStringLiteral("address"), d.address},
        {QStringLiteral("serial"), d.serial},
        {QStringLiteral("firmware"), firmwareVersionText(d.firmware.data())},
        {QStringLiteral("installTime"), recorderTimeText(d.installTime.data())},
        {QStringLiteral("mfdDate"), bcdDateText(d.mfdDate.data())},
        {QStringLiteral("certificate"), certificateText(t)},
        {QStringLiteral("carNo"), d.carNo},
    };
    if (t.failure == SizeError::MileageCalibrations)
        return;
    QJsonArray mileage;
    for (int i = 0; i < t.mileage.size(); ++i) {
        const MileageCalibration &r = t.mileage.at(i);
        mileage.append(QJsonObject{{QStringLiteral("index"), i + 1},
                                   {QStringLiteral("operator"), r.op},
                                   {QStringLiteral("timeBefore"), recorderTimeText(r.timeBefore.data())},
                                   {QStringLiteral("timeAfter"), recorderTimeText(r.timeAfter.data())},
                                   {QStringLiteral("before"), bcdMileageText(r.before.data())},
                                   {QStringLiteral("after"), bcdMileageText(r.after.data())}});
    }
    o[QStringLiteral("mileageCalibrations")] = mileage;
    if (t.failure == SizeError::ClockCalibrations)
        return;
    QJsonArray clock;
    for (int i = 0; i < t.clock.size(); ++i)
        clock.append(QJsonObject{{QStringLiteral("index"), i + 1},
                                 {QStringLiteral("before"), recorderTimeText(t.clock.at(i).before.data())},
                                 {QStringLiteral("after"), recorderTimeText(t.clock.at(i).after.data())}});
    o[QStringLiteral("clockCalibrations")] = clock;
    if (t.failure == SizeError::DriveThresholds)
        return;
    QJsonArray drive;
    for (int i = 0; i < t.drive.size(); ++i)
        drive.append(thresholdJson(i + 1, t.drive.at(i)));
    o[QStringLiteral("driveThresholds")] = drive;
    if (t.failure == SizeError::RestThresholds)
        return;
    QJsonArray rest;
    for (int i = 0; i < t.rest.size(); ++i)
        rest.append(thresholdJson(i + 1, t.rest.at(i)));
    o[QStringLiteral("restThresholds")] = rest;
}

QJsonArray driverTotalsJson(const DrivingData &block)
{
    QJsonArray totals;
    for (int s = kFirstDriverSlot; s < kDriverSlotCount; ++s) {
        const DriverLine &line = block.lines[size_t(s)];
        if (line.points.isEmpty())
            continue;
        const ActivityTotals &t = line.totals;
        totals.append(QJsonObject{{QStringLiteral("driver"), line.name},
                                  {QStringLiteral("driving"), durationText(t[TotalDriving])},
                                  {QStringLiteral("stopping"), durationText(t[TotalStopping])},
                                  {QStringLiteral("standby"), durationText(t[TotalStandby])},
                                  {QStringLiteral("resting"), durationText(t[TotalResting])}});
    }
    return totals;
}

void addDriving(QJsonObject &o, const DrivingData &block)
{
    o[QStringLiteral("count")] = int(block.count);
    if (!block.ok())
        return;
    const QStringList labels = defaultActivityLabels();
    QJsonArray records;
    for (const DrivingRecord &r : block.records) {
        records.append(QJsonObject{
            {QStringLiteral("driver"), r.id},
            {QStringLiteral("status"), int(r.status)},
            {QStringLiteral("current"), r.current()},
            {QStringLiteral("action"), r.action()},
            {QStringLiteral("actionText"), activityLabel(labels, 5 - r.action())},
            {QStringLiteral("master"), r.master()},
            {QStringLiteral("time"), recorderTimeText(reinterpret_cast<const uchar *>(r.stamp.constData()))},
        });
    }
    o[QStringLiteral("records")] = records;
    o[QStringLiteral("driverTotals")] = driverTotalsJson(block);
}

void addLocation(QJsonObject &o, const LocationResult &result)
{
    o[QStringLiteral("count")] = result.count;
    if (!result.ok())
        return;
    QJsonArray fixes;
    for (const LocationFix &fix : result.fixes) {
        const LocationRow row = locationRow(fix);
        fixes.append(QJsonObject{{QStringLiteral("time"), row.time},
                                 {QStringLiteral("longitude"), row.longitude},
                                 {QStringLiteral("latitude"), row.latitude},
                                 {QStringLiteral("height"), row.height},
                                 {QStringLiteral("speed"), row.speed},
                                 {QStringLiteral("status"), int(fix.status)},
                                 {QStringLiteral("point"), gpsPointText(fix)}});
    }
    o[QStringLiteral("fixes")] = fixes;
    o[QStringLiteral("hours")] = QJsonArray::fromStringList(result.hours);
}

const char *blockKindName(quint8 id)
{
    switch (id) {
    case FaultEventBlock:
        return "faultEvent";
    case SpeedBlock:
        return "speed";
    case TechnologyBlock:
        return "technology";
    case DrivingBlock:
        return "driving";
    case LocationBlock:
        return "location";
    default:
        return "unknown";
    }
}

} // namespace

QJsonObject dayJson(const DayReport &report)
{
    QJsonObject day;
    day[QStringLiteral("file")] = report.fileName;
    day[QStringLiteral("size")] = report.data.size();
    day[QStringLiteral("name")] = QJsonObject{
        {QStringLiteral("ok"), report.name.ok()},
        {QStringLiteral("threeParts"), report.name.threeParts},
        {QStringLiteral("day"),
         report.name.day.isValid() ? QJsonValue(dayListText(report.name.day)) : QJsonValue()},
    };
    const ContainerWalk &walk = report.walk;
    day[QStringLiteral("checksum")] =
        QJsonObject{{QStringLiteral("computed"), hexByte(walk.computedChecksum)},
                    {QStringLiteral("stored"), hexByte(walk.fileChecksum)},
                    {QStringLiteral("ok"), walk.checksumOk()}};
    day[QStringLiteral("blockCount")] = int(walk.blockCount);
    day[QStringLiteral("walk")] = QJsonObject{{QStringLiteral("complete"), walk.complete()},
                                              {QStringLiteral("problem"), walkProblemText(walk)}};

    QJsonArray blocks;
    QJsonArray totals;
    for (int i = 0; i < report.blocks.size(); ++i) {
        const BlockReport &b = report.blocks.at(i);
        QJsonObject o;
        o[QStringLiteral("index")] = i + 1;
        o[QStringLiteral("type")] = int(b.info.dataId);
        o[QStringLiteral("kind")] = QLatin1String(blockKindName(b.info.dataId));
        o[QStringLiteral("name")] = QString::fromLatin1(b.info.name);
        o[QStringLiteral("offset")] = b.info.headerOffset;
        o[QStringLiteral("size")] = qint64(b.info.dataSize);
        o[QStringLiteral("status")] = b.ok() ? QStringLiteral("ok") : QStringLiteral("failed");
        if (!b.ok())
            o[QStringLiteral("message")] = b.message();
        switch (b.info.dataId) {
        case FaultEventBlock:
            addFaultEvent(o, b.faultEvent);
            break;
        case SpeedBlock:
            addSpeed(o, b.speed);
            break;
        case TechnologyBlock:
            addTechnology(o, b.technology);
            break;
        case DrivingBlock:
            addDriving(o, b.driving);
            // The driver page shows the totals of the last driving block it read.
            if (b.ok())
                totals = driverTotalsJson(b.driving);
            break;
        case LocationBlock:
            addLocation(o, b.location);
            break;
        default:
            break;
        }
        blocks.append(o);
    }
    day[QStringLiteral("blocks")] = blocks;
    day[QStringLiteral("driverTotals")] = totals;

    QJsonArray changes;
    for (const DriverChange &c : report.driverChanges)
        changes.append(QJsonObject{{QStringLiteral("driver"), c.id},
                                   {QStringLiteral("time"),
                                    recorderTimeText(reinterpret_cast<const uchar *>(c.stamp.constData()))}});
    day[QStringLiteral("driverChanges")] = changes;

    QJsonArray hours;
    for (const BlockReport &b : report.blocks)
        if (b.info.dataId == LocationBlock && b.ok())
            for (const QString &h : b.location.hours)
                hours.append(h);
    day[QStringLiteral("locationHours")] = hours;

    const QStringList problems = report.problems();
    day[QStringLiteral("sound")] = problems.isEmpty();
    day[QStringLiteral("problems")] = QJsonArray::fromStringList(problems);
    return day;
}

namespace {

QString scalarText(const QJsonValue &v)
{
    switch (v.type()) {
    case QJsonValue::Null:
        return QStringLiteral("-");
    case QJsonValue::Bool:
        return v.toBool() ? QStringLiteral("yes") : QStringLiteral("no");
    case QJsonValue::Double:
        return QString::number(v.toDouble(), 'g', 15);
    case QJsonValue::String:
        return v.toString();
    default:
        return QString();
    }
}

bool isScalarArray(const QJsonArray &a)
{
    for (const QJsonValue &v : a)
        if (v.isObject() || v.isArray())
            return false;
    return true;
}

void writeValue(QString &out, const QString &indent, const QString &key, const QJsonValue &v)
{
    if (v.isObject()) {
        out += indent + key + QStringLiteral(":\n");
        // What a record is comes first, then its other values, then what it holds.
        const QJsonObject o = v.toObject();
        static const QStringList first{QStringLiteral("index"),  QStringLiteral("kind"),
                                       QStringLiteral("type"),   QStringLiteral("name"),
                                       QStringLiteral("offset"), QStringLiteral("size"),
                                       QStringLiteral("status"), QStringLiteral("message")};
        QStringList keys;
        for (const QString &k : first)
            if (o.contains(k))
                keys << k;
        for (int pass = 0; pass < 2; ++pass)
            for (auto it = o.begin(); it != o.end(); ++it) {
                const bool nested =
                    it.value().isObject() || (it.value().isArray() && !isScalarArray(it.value().toArray()));
                if (!keys.contains(it.key()) && nested == (pass == 1))
                    keys << it.key();
            }
        for (const QString &k : keys)
            writeValue(out, indent + QStringLiteral("  "), k, o.value(k));
    } else if (v.isArray()) {
        const QJsonArray a = v.toArray();
        if (isScalarArray(a)) {
            QStringList items;
            for (const QJsonValue &item : a)
                items << scalarText(item);
            out += indent + key + QStringLiteral(": ") + items.join(QLatin1Char(' ')) + QLatin1Char('\n');
            return;
        }
        out += indent + key + QStringLiteral(": ") + QString::number(a.size()) + QStringLiteral(" entries\n");
        for (int i = 0; i < a.size(); ++i)
            writeValue(out, indent + QStringLiteral("  "), QStringLiteral("[%1]").arg(i + 1), a.at(i));
    } else {
        out += indent + key + QStringLiteral(": ") + scalarText(v) + QLatin1Char('\n');
    }
}

} // namespace

QString dayText(const QJsonObject &day)
{
    // The order of a file's description: what it is, whether it is sound, then its contents.
    static const char *const order[] = {"file",   "size",         "name",          "checksum",
                                        "sound",  "problems",     "blockCount",    "walk",
                                        "blocks", "driverTotals", "driverChanges", "locationHours"};
    QString out;
    for (const char *key : order) {
        const QString k = QLatin1String(key);
        if (day.contains(k))
            writeValue(out, QString(), k, day.value(k));
    }
    return out;
}

} // namespace vdr
