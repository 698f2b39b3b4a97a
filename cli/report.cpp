// report: many day files at once, per vehicle and driver, with the working-time checks.
#include "cli/cli.h"

#include "core/period/summary.h"
#include "core/vdr/faultevent.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QThread>
#include <QThreadPool>

#include <algorithm>
#include <cstdio>
#include <utility>

namespace cli {

namespace {

using period::DriverSummary;
using period::Finding;
using period::PeriodReport;
using period::VehicleDay;
using period::VehicleSummary;

QString dayText(const QDate &day)
{
    return day.toString(QStringLiteral("yyyy-MM-dd"));
}

QString isoTime(qint64 ms)
{
    return QDateTime::fromMSecsSinceEpoch(ms).toString(QStringLiteral("yyyy-MM-ddThh:mm:ss"));
}

QString kmText(qint64 tenths)
{
    return tenths < 0 ? QStringLiteral("-") : QStringLiteral("%1.%2").arg(tenths / 10).arg(tenths % 10);
}

// "h:mm:ss", hours not wrapped, for tables.
QString clockText(qint64 ms)
{
    const qint64 s = ms / 1000;
    return QStringLiteral("%1:%2:%3")
        .arg(s / 3600)
        .arg(s / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(s % 60, 2, 10, QLatin1Char('0'));
}

QString typeName(int type)
{
    const QString text = vdr::faultTypeText(char('0' + type));
    return text.isEmpty() ? QStringLiteral("type %1").arg(type) : text;
}

int total(const period::TypeCounts &counts)
{
    int n = 0;
    for (int c : counts)
        n += c;
    return n;
}

QString countsText(const period::TypeCounts &counts)
{
    QStringList parts;
    for (int t = 0; t < period::kFaultTypes; ++t)
        if (counts[size_t(t)] > 0)
            parts << QStringLiteral("%1 %2").arg(typeName(t)).arg(counts[size_t(t)]);
    return parts.isEmpty() ? QStringLiteral("none") : parts.join(QStringLiteral(", "));
}

QString statusKey(VehicleDay::Status status)
{
    switch (status) {
    case VehicleDay::Read:
        return QStringLiteral("read");
    case VehicleDay::Missing:
        return QStringLiteral("missing");
    case VehicleDay::Unusable:
        return QStringLiteral("unusable");
    }
    return QString();
}

QString rulesText(const period::RuleSet &r)
{
    using period::durationText;
    const auto min = [](int m) { return durationText(qint64(m) * 60000); };
    // The name comes from the rules file: it is joined, never formatted.
    return r.name + QStringLiteral(": ") +
           QStringLiteral(
               "daily driving at most %1; continuous driving at most %2, then a %3 break (parts of at "
               "least %4 count), by exception %5, then one %6 break; ")
               .arg(min(r.dailyDrivingMaxMinutes), min(r.continuousDrivingMaxMinutes), min(r.breakMinutes),
                    min(r.breakPartMinutes), min(r.exceptionDrivingMaxMinutes),
                    min(r.exceptionBreakMinutes)) +
           QStringLiteral("rest between working days at least %1, reduced to %2 at most %3 times a week%4; a "
                          "working day lasts at most %5")
               .arg(min(r.dailyRestMinutes), min(r.reducedDailyRestMinutes),
                    QString::number(r.reducedRestsPerWeek),
                    r.reducedRestsOnConsecutiveDays ? QString() : QStringLiteral(", not on consecutive days"),
                    min(r.workingDayMaxMinutes));
}

period::TypeCounts sumCounts(const VehicleSummary &v, bool events)
{
    period::TypeCounts sum{};
    for (const VehicleDay &d : v.days)
        for (int t = 0; t < period::kFaultTypes; ++t)
            sum[size_t(t)] += (events ? d.events : d.faults)[size_t(t)];
    return sum;
}

QString findingsHeadline(const PeriodReport &report)
{
    const int breaches = report.count(period::FindingKind::Breach);
    const int exceptions = report.count(period::FindingKind::Exception);
    const int gaps = report.count(period::FindingKind::Gap);
    if (breaches + exceptions + gaps == 0)
        return QStringLiteral("Findings: none");
    return QStringLiteral(
               "Findings: %1 breach(es), %2 allowed only under the exception, %3 gap(s) in the records")
        .arg(breaches)
        .arg(exceptions)
        .arg(gaps);
}

// --- Text ----------------------------------------------------------------------------------

QString reportText(const PeriodReport &report)
{
    using period::durationText;
    QString out;
    out += QStringLiteral("Period %1 to %2: %3 day file(s) used, %4 vehicle(s), %5 driver(s)\n")
               .arg(dayText(report.first), dayText(report.last))
               .arg(report.filesUsed)
               .arg(report.vehicles.size())
               .arg(report.drivers.size());
    out += QStringLiteral("Rules: %1\n").arg(rulesText(report.options.rules));
    out += QStringLiteral("Speed limit: %1 km/h\n").arg(report.options.speedLimitKmh);
    for (const QString &note : report.notes)
        out += QStringLiteral("Note: %1\n").arg(note);

    const QString limit = QString::number(report.options.speedLimitKmh);
    for (const VehicleSummary &v : report.vehicles) {
        out +=
            QStringLiteral("\nVehicle %1: %2 day(s) read, %3 missing; %4 km; top speed %5 km/h; %6 above %7 "
                           "km/h; %8 driving\n")
                .arg(period::vehicleText(v.vehicle), QString::number(v.daysRead),
                     QString::number(v.daysMissing), kmText(v.distance),
                     v.maxSpeed < 0 ? QStringLiteral("-") : QString::number(v.maxSpeed),
                     durationText(v.aboveLimit), limit, durationText(v.driving));
        out += QStringLiteral("  Faults: %1\n  Events: %2\n")
                   .arg(countsText(sumCounts(v, false)), countsText(sumCounts(v, true)));
        out += QStringLiteral("  %1%2%3%4%5%6%7  %8\n")
                   .arg(QStringLiteral("Day").leftJustified(10), QStringLiteral("km").rightJustified(10),
                        QStringLiteral("Driving").rightJustified(10), QStringLiteral("Top").rightJustified(5),
                        QStringLiteral(">%1 km/h").arg(limit).rightJustified(11),
                        QStringLiteral("Faults").rightJustified(8),
                        QStringLiteral("Events").rightJustified(8), QStringLiteral("Drivers"));
        for (const VehicleDay &d : v.days) {
            if (d.status != VehicleDay::Read) {
                out += QStringLiteral("  %1  %2\n")
                           .arg(dayText(d.day), d.status == VehicleDay::Missing
                                                    ? QStringLiteral("no day file")
                                                    : QStringLiteral("file not used: checksum mismatch"));
                continue;
            }
            qint64 driving = 0;
            QStringList drivers;
            for (const period::DriverTime &t : d.drivers) {
                driving += t.driving;
                drivers << QStringLiteral("%1 %2").arg(t.driver, clockText(t.driving));
            }
            if (!d.drivingKnown)
                drivers << QStringLiteral("driving records unusable");
            if (d.movingUnattributed > 0)
                drivers << QStringLiteral("moving with no driver driving %1")
                               .arg(clockText(d.movingUnattributed));
            out += QStringLiteral("  %1%2%3%4%5%6%7  %8\n")
                       .arg(dayText(d.day).leftJustified(10), kmText(d.distance).rightJustified(10),
                            clockText(driving).rightJustified(10),
                            (d.maxSpeed < 0 ? QStringLiteral("-") : QString::number(d.maxSpeed))
                                .rightJustified(5),
                            clockText(d.aboveLimit).rightJustified(11),
                            QString::number(total(d.faults)).rightJustified(8),
                            QString::number(total(d.events)).rightJustified(8),
                            drivers.join(QStringLiteral(", ")));
        }
    }
    for (const DriverSummary &ds : report.drivers) {
        out += QStringLiteral("\nDriver %1: %2 driving in %3 working day(s); longest continuous driving %4\n")
                   .arg(ds.driver, durationText(ds.driving), QString::number(ds.workingDays.size()),
                        durationText(ds.longestContinuous));
        out += QStringLiteral("  %1%2%3  %4\n")
                   .arg(QStringLiteral("Day").leftJustified(10), QStringLiteral("Driving").rightJustified(10),
                        QStringLiteral("Longest").rightJustified(10), QStringLiteral("Vehicles"));
        for (const period::DriverDay &d : ds.days)
            out += QStringLiteral("  %1%2%3  %4\n")
                       .arg(dayText(d.day).leftJustified(10), clockText(d.driving).rightJustified(10),
                            clockText(d.longestContinuous).rightJustified(10),
                            d.vehicles.join(QStringLiteral(", ")));
    }
    out += QLatin1Char('\n') + findingsHeadline(report) + QLatin1Char('\n');
    for (const Finding &f : report.findings) {
        QStringList who;
        if (!f.driver.isEmpty())
            who << QStringLiteral("driver %1").arg(f.driver);
        if (!f.vehicle.isEmpty() || f.driver.isEmpty())
            who << QStringLiteral("vehicle %1").arg(period::vehicleText(f.vehicle));
        out += QStringLiteral("  [%1] %2; %3; %4 to %5: %6\n")
                   .arg(period::kindText(f.kind), period::ruleText(f.rule), who.join(QStringLiteral(", ")),
                        period::timeText(f.start), period::timeText(f.end), f.text);
    }
    return out;
}

// --- JSON ----------------------------------------------------------------------------------

QJsonArray countsJson(const period::TypeCounts &counts)
{
    QJsonArray out;
    for (int t = 0; t < period::kFaultTypes; ++t)
        if (counts[size_t(t)] > 0)
            out.append(QJsonObject{{QStringLiteral("type"), t},
                                   {QStringLiteral("typeText"), typeName(t)},
                                   {QStringLiteral("count"), counts[size_t(t)]}});
    return out;
}

QJsonValue seconds(qint64 ms)
{
    return double(ms / 1000);
}

QJsonObject reportJson(const PeriodReport &report, const QStringList &readErrors)
{
    QJsonObject root;
    root.insert(QStringLiteral("from"), dayText(report.first));
    root.insert(QStringLiteral("to"), dayText(report.last));
    root.insert(QStringLiteral("rules"),
                QJsonDocument::fromJson(period::rulesJson(report.options.rules)).object());
    root.insert(QStringLiteral("speedLimitKmh"), report.options.speedLimitKmh);
    root.insert(QStringLiteral("filesUsed"), report.filesUsed);
    root.insert(QStringLiteral("notes"), QJsonArray::fromStringList(report.notes + readErrors));

    QJsonArray vehicles;
    for (const VehicleSummary &v : report.vehicles) {
        QJsonArray days;
        for (const VehicleDay &d : v.days) {
            QJsonObject day{{QStringLiteral("day"), dayText(d.day)},
                            {QStringLiteral("status"), statusKey(d.status)}};
            if (d.status != VehicleDay::Missing) {
                day.insert(QStringLiteral("file"), d.source);
                day.insert(QStringLiteral("problems"), QJsonArray::fromStringList(d.problems));
            }
            if (d.status == VehicleDay::Read) {
                QJsonArray drivers;
                for (const period::DriverTime &t : d.drivers)
                    drivers.append(QJsonObject{{QStringLiteral("driver"), t.driver},
                                               {QStringLiteral("drivingSeconds"), seconds(t.driving)}});
                day.insert(QStringLiteral("distanceKm"),
                           d.distance < 0 ? QJsonValue() : QJsonValue(double(d.distance) / 10));
                day.insert(QStringLiteral("maxSpeedKmh"),
                           d.maxSpeed < 0 ? QJsonValue() : QJsonValue(d.maxSpeed));
                day.insert(QStringLiteral("aboveLimitSeconds"), seconds(d.aboveLimit));
                day.insert(QStringLiteral("movingSeconds"), seconds(d.moving));
                day.insert(QStringLiteral("movingWithoutDriverSeconds"), seconds(d.movingUnattributed));
                day.insert(QStringLiteral("drivingRecords"), d.drivingKnown);
                day.insert(QStringLiteral("drivers"), drivers);
                day.insert(QStringLiteral("faults"), countsJson(d.faults));
                day.insert(QStringLiteral("events"), countsJson(d.events));
            }
            days.append(day);
        }
        vehicles.append(QJsonObject{
            {QStringLiteral("vehicle"), v.vehicle},
            {QStringLiteral("daysRead"), v.daysRead},
            {QStringLiteral("daysMissing"), v.daysMissing},
            {QStringLiteral("distanceKm"), double(v.distance) / 10},
            {QStringLiteral("maxSpeedKmh"), v.maxSpeed < 0 ? QJsonValue() : QJsonValue(v.maxSpeed)},
            {QStringLiteral("aboveLimitSeconds"), seconds(v.aboveLimit)},
            {QStringLiteral("drivingSeconds"), seconds(v.driving)},
            {QStringLiteral("faults"), countsJson(sumCounts(v, false))},
            {QStringLiteral("events"), countsJson(sumCounts(v, true))},
            {QStringLiteral("days"), days},
        });
    }
    root.insert(QStringLiteral("vehicles"), vehicles);

    QJsonArray drivers;
    for (const DriverSummary &ds : report.drivers) {
        QJsonArray days, workingDays, rests;
        for (const period::DriverDay &d : ds.days)
            days.append(
                QJsonObject{{QStringLiteral("day"), dayText(d.day)},
                            {QStringLiteral("drivingSeconds"), seconds(d.driving)},
                            {QStringLiteral("longestContinuousSeconds"), seconds(d.longestContinuous)},
                            {QStringLiteral("vehicles"), QJsonArray::fromStringList(d.vehicles)}});
        for (const period::WorkingDay &w : ds.workingDays)
            workingDays.append(QJsonObject{{QStringLiteral("start"), isoTime(w.start)},
                                           {QStringLiteral("end"), isoTime(w.end)},
                                           {QStringLiteral("drivingSeconds"), seconds(w.driving)}});
        for (const period::Rest &r : ds.rests)
            rests.append(QJsonObject{{QStringLiteral("start"), isoTime(r.start)},
                                     {QStringLiteral("end"), isoTime(r.end)},
                                     {QStringLiteral("seconds"), seconds(r.end - r.start)},
                                     {QStringLiteral("verified"), r.verified},
                                     {QStringLiteral("reduced"), r.reduced}});
        drivers.append(
            QJsonObject{{QStringLiteral("driver"), ds.driver},
                        {QStringLiteral("drivingSeconds"), seconds(ds.driving)},
                        {QStringLiteral("longestContinuousSeconds"), seconds(ds.longestContinuous)},
                        {QStringLiteral("days"), days},
                        {QStringLiteral("workingDays"), workingDays},
                        {QStringLiteral("rests"), rests}});
    }
    root.insert(QStringLiteral("drivers"), drivers);

    QJsonArray findings;
    for (const Finding &f : report.findings)
        findings.append(QJsonObject{{QStringLiteral("kind"), period::kindKey(f.kind)},
                                    {QStringLiteral("rule"), period::ruleKey(f.rule)},
                                    {QStringLiteral("driver"), f.driver},
                                    {QStringLiteral("vehicle"), f.vehicle},
                                    {QStringLiteral("start"), isoTime(f.start)},
                                    {QStringLiteral("end"), isoTime(f.end)},
                                    {QStringLiteral("missedBySeconds"), seconds(f.missedBy)},
                                    {QStringLiteral("text"), f.text}});
    root.insert(QStringLiteral("findings"), findings);
    root.insert(QStringLiteral("summary"),
                QJsonObject{{QStringLiteral("breaches"), report.count(period::FindingKind::Breach)},
                            {QStringLiteral("exceptions"), report.count(period::FindingKind::Exception)},
                            {QStringLiteral("gaps"), report.count(period::FindingKind::Gap)}});
    return root;
}

// --- CSV -----------------------------------------------------------------------------------

// One table of three kinds of rows, told apart by the first column: a vehicle's day, a
// driver's day, a finding. UTF-8 with a byte-order mark, CRLF, as the export command writes.
QByteArray reportCsv(const PeriodReport &report)
{
    enum Column
    {
        Record,
        Vehicle,
        Driver,
        Day,
        Status,
        Start,
        End,
        Kind,
        RuleColumn,
        Distance,
        Driving,
        Longest,
        TopSpeed,
        AboveLimit,
        Faults,
        Events,
        Text,
        ColumnCount
    };
    const QStringList captions = {QStringLiteral("Record"),
                                  QStringLiteral("Vehicle"),
                                  QStringLiteral("Driver"),
                                  QStringLiteral("Day"),
                                  QStringLiteral("Status"),
                                  QStringLiteral("Start"),
                                  QStringLiteral("End"),
                                  QStringLiteral("Kind"),
                                  QStringLiteral("Rule"),
                                  QStringLiteral("Distance (km)"),
                                  QStringLiteral("Driving"),
                                  QStringLiteral("Longest continuous"),
                                  QStringLiteral("Top speed (km/h)"),
                                  QStringLiteral("Above %1 km/h").arg(report.options.speedLimitKmh),
                                  QStringLiteral("Faults"),
                                  QStringLiteral("Events"),
                                  QStringLiteral("Text")};
    vdr::TextTable table;
    table.captions = captions;
    const auto addRow = [&table](const QStringList &fields) { table.rows.append(fields); };
    for (const VehicleSummary &v : report.vehicles) {
        for (const VehicleDay &d : v.days) {
            QStringList row;
            for (int i = 0; i < ColumnCount; ++i)
                row << QString();
            row[Record] = QStringLiteral("vehicle day");
            row[Vehicle] = v.vehicle;
            row[Day] = dayText(d.day);
            row[Status] = statusKey(d.status);
            if (d.status == VehicleDay::Read) {
                qint64 driving = 0;
                for (const period::DriverTime &t : d.drivers)
                    driving += t.driving;
                row[Distance] = d.distance < 0 ? QString() : kmText(d.distance);
                row[Driving] = clockText(driving);
                row[TopSpeed] = d.maxSpeed < 0 ? QString() : QString::number(d.maxSpeed);
                row[AboveLimit] = clockText(d.aboveLimit);
                row[Faults] = QString::number(total(d.faults));
                row[Events] = QString::number(total(d.events));
                row[Text] = d.problems.join(QStringLiteral("; "));
            }
            addRow(row);
        }
    }
    for (const DriverSummary &ds : report.drivers) {
        for (const period::DriverDay &d : ds.days) {
            QStringList row;
            for (int i = 0; i < ColumnCount; ++i)
                row << QString();
            row[Record] = QStringLiteral("driver day");
            row[Vehicle] = d.vehicles.join(QStringLiteral(", "));
            row[Driver] = ds.driver;
            row[Day] = dayText(d.day);
            row[Driving] = clockText(d.driving);
            row[Longest] = clockText(d.longestContinuous);
            addRow(row);
        }
    }
    // The findings as the viewer's findings export writes them.
    for (const QStringList &finding : period::findingsTable(report.findings).rows) {
        QStringList row;
        for (int i = 0; i < ColumnCount; ++i)
            row << QString();
        row[Record] = QStringLiteral("finding");
        row[Vehicle] = finding.at(period::FindingVehicleColumn);
        row[Driver] = finding.at(period::FindingDriverColumn);
        row[Start] = finding.at(period::FindingStartColumn);
        row[End] = finding.at(period::FindingEndColumn);
        row[Kind] = finding.at(period::FindingKindColumn);
        row[RuleColumn] = finding.at(period::FindingRuleColumn);
        row[Text] = finding.at(period::FindingTextColumn);
        addRow(row);
    }
    return vdr::csvDocument(table);
}

void printBytes(const QByteArray &bytes)
{
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
}

bool isDayFileName(const QString &name)
{
    return name.endsWith(QLatin1String(".vdr"), Qt::CaseInsensitive);
}

} // namespace

int runReport(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Reports many day files at once: per vehicle and day the distance, driving, top speed, time above "
        "the "
        "speed limit, faults and events; per driver and day the driving and the longest continuous driving; "
        "and the findings of the working-time checks. A folder stands for every *.vdr file below it.\n"
        "Exit 0 when there is no finding, 1 when there is one (a rule broken, kept only under the exception, "
        "or a gap in the records), 2 for a usage or read error."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("report"), QStringLiteral("the command"));
    parser.addPositionalArgument(QStringLiteral("paths"), QStringLiteral("day files or folders"),
                                 QStringLiteral("PATH..."));
    const QCommandLineOption fromOption(QStringLiteral("from"), QStringLiteral("First day, yyyy-MM-dd."),
                                        QStringLiteral("date"));
    const QCommandLineOption toOption(QStringLiteral("to"), QStringLiteral("Last day, yyyy-MM-dd."),
                                      QStringLiteral("date"));
    const QCommandLineOption rulesOption(QStringLiteral("rules"),
                                         QStringLiteral("Rules file (JSON); default: article 19-2."),
                                         QStringLiteral("file"));
    const QCommandLineOption limitOption(QStringLiteral("speed-limit"),
                                         QStringLiteral("Speed above which time is counted (default 90)."),
                                         QStringLiteral("kmh"));
    const QCommandLineOption jsonOption(QStringLiteral("json"), QStringLiteral("Write one JSON document."));
    const QCommandLineOption csvOption(QStringLiteral("csv"), QStringLiteral("Write one CSV table."));
    parser.addOptions({fromOption, toOption, rulesOption, limitOption, jsonOption, csvOption});
    if (const int exitNow = parseArguments(parser, QStringLiteral("report"), arguments); exitNow >= 0)
        return exitNow;

    const auto usage = [](const QString &text) {
        printError(QStringLiteral("tavrin-vdr report: %1").arg(text));
        return int(ExitUsage);
    };
    const QStringList paths = parser.positionalArguments();
    if (paths.isEmpty())
        return usage(QStringLiteral("no file or folder given"));
    if (parser.isSet(jsonOption) && parser.isSet(csvOption))
        return usage(QStringLiteral("--json and --csv exclude each other"));

    period::Options options;
    for (const auto &[option, date] :
         {std::pair{&fromOption, &options.from}, std::pair{&toOption, &options.to}}) {
        if (!parser.isSet(*option))
            continue;
        *date = QDate::fromString(parser.value(*option), QStringLiteral("yyyy-MM-dd"));
        if (!date->isValid())
            return usage(QStringLiteral("--%1 needs a day as yyyy-MM-dd, not '%2'")
                             .arg(option->names().first(), parser.value(*option)));
    }
    if (options.from.isValid() && options.to.isValid() && options.from > options.to)
        return usage(QStringLiteral("--from is after --to"));
    if (parser.isSet(limitOption)) {
        bool ok = false;
        options.speedLimitKmh = parser.value(limitOption).toInt(&ok);
        if (!ok || options.speedLimitKmh < 0 || options.speedLimitKmh > 254)
            return usage(QStringLiteral("--speed-limit needs a whole number of km/h from 0 to 254"));
    }
    if (parser.isSet(rulesOption)) {
        const QString path = parser.value(rulesOption);
        const QFileInfo info(path);
        if (info.isFile() && info.size() > period::kMaxRulesFileSize)
            return usage(QStringLiteral("%1: the rules file is larger than %2 KiB")
                             .arg(path, QString::number(period::kMaxRulesFileSize / 1024)));
        QByteArray bytes;
        QString error;
        if (!readFile(path, &bytes, &error))
            return usage(QStringLiteral("%1: cannot read: %2").arg(path, error));
        const period::RulesRead read = period::readRules(bytes);
        if (!read.ok())
            return usage(QStringLiteral("%1: %2").arg(path, read.error));
        options.rules = read.rules;
    }

    int exitCode = ExitOk;
    QStringList readErrors;
    const auto readError = [&](const QString &text) {
        printError(text);
        readErrors << text;
        exitCode = ExitUsage;
    };

    QStringList files;
    for (const QString &path : qAsConst(paths)) {
        const QFileInfo info(path);
        if (!info.isDir()) {
            files << path;
            continue;
        }
        QStringList found;
        QDirIterator it(path, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString file = it.next();
            if (isDayFileName(it.fileName()))
                found << file;
        }
        if (found.isEmpty())
            readError(QStringLiteral("%1: no .vdr files in the folder").arg(path));
        std::sort(found.begin(), found.end());
        files += found;
    }

    // Each file is read and digested once, on every core; its bytes are dropped as soon as it
    // is digested, so no more than one file per core is held at a time.
    struct Digested
    {
        period::DayDigest day;
        QString error;
    };
    QVector<Digested> digested(files.size());
    QAtomicInt next(0);
    const auto work = [&] {
        for (int i = next.fetchAndAddRelaxed(1); i < files.size(); i = next.fetchAndAddRelaxed(1)) {
            const QString &path = files.at(i);
            QByteArray data;
            QString error;
            if (!readFile(path, &data, &error))
                digested[i].error = QStringLiteral("%1: cannot read: %2").arg(path, error);
            else
                digested[i].day = period::digestDayFile(QFileInfo(path).fileName(), data, path);
        }
    };
    QThreadPool pool;
    pool.setMaxThreadCount(qBound(1, QThread::idealThreadCount(), 8));
    for (int t = 1; t < pool.maxThreadCount(); ++t)
        pool.start(work);
    work();
    pool.waitForDone();

    QVector<period::DayDigest> days;
    days.reserve(files.size());
    for (int i = 0; i < files.size(); ++i) {
        if (!digested.at(i).error.isEmpty())
            readError(digested.at(i).error);
        else if (!digested.at(i).day.day.isValid())
            readError(QStringLiteral("%1: the name does not give a day (DyyyyMMdd__.vdr)").arg(files.at(i)));
        else
            days.append(std::move(digested[i].day));
    }
    digested.clear();
    if (days.isEmpty()) {
        if (readErrors.isEmpty())
            printError(QStringLiteral("tavrin-vdr report: no day files given"));
        return ExitUsage;
    }

    const PeriodReport report = period::summarise(days, options);
    if (parser.isSet(jsonOption))
        printOut(
            QString::fromUtf8(QJsonDocument(reportJson(report, readErrors)).toJson(QJsonDocument::Indented)));
    else if (parser.isSet(csvOption))
        printBytes(reportCsv(report));
    else
        printOut(reportText(report));
    if (exitCode == ExitOk && !report.findings.isEmpty())
        exitCode = ExitProblem;
    return exitCode;
}

} // namespace cli
