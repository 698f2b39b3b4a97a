#include "core/vdr/tableexport.h"

#include "core/vdr/recordertime.h"

namespace vdr {

namespace {

void addFaultEventRows(TextTable &out, const FaultEventResult &result, Texts texts)
{
    if (result.failure == SizeError::Errors)
        return;
    auto add = [&out, texts](const QString &kind, int index, const FaultEventRecord &r, bool isEvent) {
        out.rows.append(
            {kind, QString::number(index), faultTypeText(r.type, texts), recorderTimeText(r.start.data()),
             faultDurationText(r.start.data(), r.end.data(), isEvent, faultTypeNumber(r.type), texts),
             isEvent ? QString::number(r.total) : QString()});
    };
    for (int i = 0; i < result.errors.size(); ++i)
        add(viewerText("Error Record", texts), i + 1, result.errors.at(i), false);
    for (int j = 0; j < result.events.size(); ++j)
        add(viewerText("Event Record", texts), j + 1, result.events.at(j), true);
}

void addSpeedRows(TextTable &out, const SpeedResult &speed)
{
    const SpeedRecords &block = speed.records;
    const int n = int(block.count());
    for (int i = 0; i < n; ++i)
        for (const SpeedRow &row : speedRows(block, i))
            out.rows.append({row.time, row.speed, row.mileage});
}

void addDriverRows(TextTable &out, const DrivingData &block, Texts texts)
{
    const QStringList labels = defaultActivityLabels(texts);
    for (int r = 0; r < block.minuteRows.size(); ++r) {
        const MinuteRow &row = block.minuteRows.at(r);
        out.rows.append(
            {block.lines[size_t(row.slot)].name, activityLabel(labels, row.level), block.minuteTimes.at(r)});
    }
}

void addTechnologyRows(TextTable &out, const TechnologyResult &result, Texts texts)
{
    const auto text = [texts](const char *source) { return viewerText(source, texts); };
    if (result.failure == SizeError::Device)
        return;
    const DeviceRecord &d = result.device;
    const QString device = text("Devcie Info");
    const QPair<const char *, QString> fields[] = {
        {"Vendor", d.vendor},
        {"Address", d.address},
        {"Serial No.", d.serial},
        {"FW Version", firmwareVersionText(d.firmware.data())},
        {"FW InstallTime", recorderTimeText(d.installTime.data())},
        {"Mfd. Date", bcdDateText(d.mfdDate.data())},
        {"Certificate No.", certificateText(result)},
        {"Car No.", d.carNo},
    };
    for (const auto &field : fields)
        out.rows.append({device, QString(), QString(), text(field.first), field.second, QString()});

    if (result.failure == SizeError::MileageCalibrations)
        return;
    const QString miles = text("Calibrate Miles");
    for (int i = 0; i < result.mileage.size(); ++i) {
        const MileageCalibration &r = result.mileage.at(i);
        out.rows.append({miles, QString::number(i + 1), r.op, text("Time"),
                         recorderTimeText(r.timeBefore.data()), recorderTimeText(r.timeAfter.data())});
        out.rows.append({miles, QString::number(i + 1), r.op, text("Threshold"),
                         bcdMileageText(r.before.data()), bcdMileageText(r.after.data())});
    }
    if (result.failure == SizeError::ClockCalibrations)
        return;
    const QString clock = text("Calibrate Time");
    for (int i = 0; i < result.clock.size(); ++i) {
        const ClockCalibration &r = result.clock.at(i);
        out.rows.append({clock, QString::number(i + 1), QString(), text("Time"),
                         recorderTimeText(r.before.data()), recorderTimeText(r.after.data())});
    }
    auto thresholds = [&out, &text](const QString &title, const QVector<ThresholdCalibration> &list) {
        for (int i = 0; i < list.size(); ++i) {
            const ThresholdCalibration &r = list.at(i);
            out.rows.append({title, QString::number(i + 1), QString(), text("Time"),
                             recorderTimeText(r.timeBefore.data()), recorderTimeText(r.timeAfter.data())});
            out.rows.append({title, QString::number(i + 1), QString(), text("Threshold"),
                             bcdTimeText(r.before.data()), bcdTimeText(r.after.data())});
        }
    };
    if (result.failure == SizeError::DriveThresholds)
        return;
    thresholds(text("Calibrate Drive THR"), result.drive);
    if (result.failure == SizeError::RestThresholds)
        return;
    thresholds(text("Calibrate Rest THR"), result.rest);
}

void addLocationRows(TextTable &out, const LocationResult &result)
{
    if (!result.ok())
        return;
    for (int hour = 0; hour < result.hours.size(); ++hour)
        for (const LocationRow &row : locationRowsOfHour(result, hour))
            out.rows.append({row.time, row.longitude, row.latitude, row.height, row.speed});
}

} // namespace

QStringList exportTableNames()
{
    return {QStringLiteral("events"), QStringLiteral("speed"), QStringLiteral("driver"),
            QStringLiteral("technology"), QStringLiteral("location")};
}

bool exportTableFromName(const QString &name, ExportTable *table)
{
    const int i = exportTableNames().indexOf(name);
    if (i < 0)
        return false;
    *table = ExportTable(i);
    return true;
}

TextTable exportRows(const DayReport &report, ExportTable table, Texts texts)
{
    const auto text = [texts](const char *source) { return viewerText(source, texts); };
    TextTable out;
    switch (table) {
    case ExportTable::Events:
        out.captions = QStringList{text(QT_TRANSLATE_NOOP("MainWindow", "Record")),
                                   text("Index"),
                                   text("Type"),
                                   text("Start"),
                                   text("Duration"),
                                   text("Count")};
        break;
    case ExportTable::Speed:
        out.captions = QStringList{text("DateTime"), text("Speed (0.5sec)"), text("Mileage(km)")};
        break;
    case ExportTable::Driver:
        out.captions = QStringList{text("ID"), text("Change Action"), text("Change Time")};
        break;
    case ExportTable::Technology:
        out.captions =
            QStringList{text(QT_TRANSLATE_NOOP("MainWindow", "Record")), text("Index"),  text("Operator"),
                        text(QT_TRANSLATE_NOOP("MainWindow", "Item")),   text("Before"), text("After")};
        break;
    case ExportTable::Location:
        out.captions = QStringList{text("DateTime"), text("Longitude"), text("Latitude"), text("High"),
                                   text("Speed AVG")};
        break;
    }
    for (const BlockReport &block : report.blocks) {
        switch (table) {
        case ExportTable::Events:
            if (block.info.dataId == FaultEventBlock)
                addFaultEventRows(out, block.faultEvent, texts);
            break;
        case ExportTable::Speed:
            if (block.info.dataId == SpeedBlock && block.ok())
                addSpeedRows(out, block.speed);
            break;
        case ExportTable::Driver:
            if (block.info.dataId == DrivingBlock && block.ok())
                addDriverRows(out, block.driving, texts);
            break;
        case ExportTable::Technology:
            if (block.info.dataId == TechnologyBlock)
                addTechnologyRows(out, block.technology, texts);
            break;
        case ExportTable::Location:
            if (block.info.dataId == LocationBlock)
                addLocationRows(out, block.location);
            break;
        }
    }
    return out;
}

QString csvField(const QString &field)
{
    static const QString special = QStringLiteral(",\"\r\n");
    bool quote = false;
    for (const QChar c : field)
        if (special.contains(c)) {
            quote = true;
            break;
        }
    if (!quote)
        return field;
    QString out = field;
    out.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + out + QLatin1Char('"');
}

QByteArray csvDocument(const TextTable &table)
{
    QString text;
    auto addRecord = [&text](const QStringList &fields) {
        for (int i = 0; i < fields.size(); ++i) {
            if (i > 0)
                text += QLatin1Char(',');
            text += csvField(fields.at(i));
        }
        text += QStringLiteral("\r\n");
    };
    addRecord(table.captions);
    for (const QStringList &row : table.rows)
        addRecord(row);
    return QByteArrayLiteral("\xEF\xBB\xBF") + text.toUtf8();
}

} // namespace vdr
