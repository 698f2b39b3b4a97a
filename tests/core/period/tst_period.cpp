// The period report: the rules file, the working-time checks on timelines worked by hand (rows
// at each boundary of each rule), timelines built from encoded day files across midnight, gaps
// and shared vehicles, the day figures, and the report command end to end.
#include "support/clirunner.h"

#include "core/period/summary.h"
#include "support/testsupport.h"
#include "vdrencoder.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>

namespace {

constexpr qint64 kMin = 60 * 1000;
const QDate kMonday(2024, 1, 1);

// "D4:00 O0:30 N24:00": driving, off the wheel, no records, each for h:mm, from Monday 06:00.
QVector<period::Span> timeline(const QString &text)
{
    QVector<period::Span> spans;
    qint64 at = QDateTime(kMonday, QTime(6, 0)).toMSecsSinceEpoch();
    for (const QString &token : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QStringList hm = token.mid(1).split(QLatin1Char(':'));
        const qint64 length = (hm.value(0).toInt() * 60 + hm.value(1).toInt()) * kMin;
        const period::State state = token.startsWith(QLatin1Char('D'))   ? period::State::Driving
                                    : token.startsWith(QLatin1Char('O')) ? period::State::Off
                                                                         : period::State::NoRecords;
        spans.append({at, at + length, state, QStringLiteral("TRK-1")});
        at += length;
    }
    return spans;
}

// "breach continuousDriving A 1": kind, rule, driver (when any) and minutes missed by.
QStringList brief(const QVector<period::Finding> &findings)
{
    QStringList out;
    for (const period::Finding &f : findings)
        out << QStringLiteral("%1 %2 %3%4")
                   .arg(period::kindKey(f.kind), period::ruleKey(f.rule),
                        f.driver.isEmpty() ? QString() : f.driver + QLatin1Char(' '))
                   .arg(f.missedBy / kMin);
    return out;
}

// --- Day files ---

// "0 A D 22:00, 1 A R 03:00": day offset from Monday, driver, action (D driving, S stopping,
// B standby, R resting), time.
QMap<int, QVector<vdrenc::DrivingRecord>> recordsByDay(const QString &text)
{
    QMap<int, QVector<vdrenc::DrivingRecord>> out;
    for (const QString &item : text.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const QStringList f = item.simplified().split(QLatin1Char(' '));
        const QDate day = kMonday.addDays(f.at(0).toInt());
        const QStringList hm = f.at(3).split(QLatin1Char(':'));
        const int action = QStringLiteral("DSBR").indexOf(f.at(2)) + 1;
        out[f.at(0).toInt()].append(
            {f.at(1).toUtf8(), vdrenc::drivingStatus(true, action, 1),
             vdrenc::stamp(day.year(), day.month(), day.day(), hm.at(0).toInt(), hm.at(1).toInt(), 0)});
    }
    return out;
}

QByteArray dayFile(const QVector<vdrenc::DrivingRecord> &records, bool brokenDriving = false,
                   const QByteArray &carNo = "TRK-1", const QByteArray &speed = QByteArray())
{
    vdrenc::DeviceInfo device;
    device.carNo = carNo;
    QVector<vdrenc::Block> blocks{
        {vdrenc::TechnologyId, "DT_TECH_DATA", vdrenc::technologyBlock(device, {}, {}, {}, {})}};
    if (!speed.isEmpty())
        blocks.append({vdrenc::SpeedId, "DT_SPD_DATA", speed});
    QByteArray driving = vdrenc::drivingBlock(records);
    if (brokenDriving)
        driving += '\0';
    blocks.append({vdrenc::DrivingId, "DT_DRIVE_DATA", driving});
    return vdrenc::container(blocks);
}

QString dayName(int offset)
{
    return vdrenc::dayFileName(kMonday.addDays(offset));
}

} // namespace

class TestPeriod : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void rulesFile_data();
    void rulesFile();
    void checks_data();
    void checks();
    void acrossDayFiles_data();
    void acrossDayFiles();
    void dayFigures();
    void command_data();
    void command();
    void commandJsonAndCsv();

private:
    QTemporaryDir m_dir;
};

// --- Rules file ---

void TestPeriod::rulesFile_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QString>("error"); // a piece of the message; empty: read
    auto row = [](const char *tag, const QByteArray &json, const QString &error = {}) {
        QTest::newRow(tag) << json << error;
    };
    row("defaults as written", period::rulesJson(period::RuleSet()));
    row("name and one number", R"({"name": "Company", "breakMinutes": 40})");
    row("not JSON", "{\"name\": ", "not valid JSON at byte");
    row("an array", "[]", "must hold one JSON object");
    row("no name", R"({"breakMinutes": 30})", "field \"name\": missing");
    row("empty name", R"({"name": " "})", "field \"name\": expected");
    row("misspelt field", R"({"name": "x", "breakMinute": 30})", "field \"breakMinute\": unknown field");
    row("number as text", R"({"name": "x", "dailyRestMinutes": "600"})",
        "field \"dailyRestMinutes\": expected a whole number from 1 to 10080, got \"600\"");
    row("fraction", R"({"name": "x", "breakMinutes": 30.5})",
        "field \"breakMinutes\": expected a whole number");
    row("zero", R"({"name": "x", "continuousDrivingMaxMinutes": 0})",
        "field \"continuousDrivingMaxMinutes\"");
    row("eight reduced rests", R"({"name": "x", "reducedRestsPerWeek": 8})",
        "field \"reducedRestsPerWeek\": expected a whole number from 0 to 7");
    row("flag as number", R"({"name": "x", "reducedRestsOnConsecutiveDays": 1})",
        "field \"reducedRestsOnConsecutiveDays\": expected true or false");
    row("part longer than the break", R"({"name": "x", "breakPartMinutes": 40})",
        "field \"breakPartMinutes\": 40 is more than \"breakMinutes\" (30)");
    row("break shorter than its part", R"({"name": "x", "breakMinutes": 10})",
        "field \"breakMinutes\": 10 is less than \"breakPartMinutes\" (15)");
    row("reduced rest above the rest", R"({"name": "x", "reducedDailyRestMinutes": 660})",
        "field \"reducedDailyRestMinutes\": 660 is more than \"dailyRestMinutes\" (600)");
    row("field twice", R"({"name": "x", "breakMinutes": {"a": 1}, "break\u004dinutes": 40})",
        "field \"breakMinutes\": given more than once");
    row("key twice in a nested value", R"({"name": "x", "breakMinutes": [{"a": 1, "b": [], "a": {}}]})",
        "field \"breakMinutes\": \"a\" given more than once inside it");
    row("too large", QByteArray(70000, ' '), "larger than 64 KiB");
}

void TestPeriod::rulesFile()
{
    QFETCH(QByteArray, json);
    QFETCH(QString, error);
    const period::RulesRead read = period::readRules(json);
    if (error.isEmpty()) {
        QVERIFY2(read.ok(), qPrintable(read.error));
        QCOMPARE(period::readRules(period::rulesJson(read.rules)).rules, read.rules);
    } else {
        QVERIFY2(read.error.contains(error), qPrintable(read.error));
    }
}

// --- The checks on timelines worked by hand, one group per rule, rows at each boundary ---

void TestPeriod::checks_data()
{
    QTest::addColumn<QString>("timeline");
    QTest::addColumn<QStringList>("findings");
    QTest::addColumn<QString>("text"); // the first finding's text, when given
    auto row = [](const char *tag, const char *timeline, const QStringList &findings,
                  const QString &text = {}) { QTest::newRow(tag) << timeline << findings << text; };
    const QString cd = QStringLiteral("breach continuousDriving %1");
    row("4 h then 30 min", "D4:00 O0:30 D4:00 O0:30", {});
    row("4 h then 15 + 15 min", "D2:00 O0:15 D2:00 O0:15 D4:00 O0:30", {});
    row("4 h 01 min then 15 + 15 min", "D2:00 O0:15 D2:01 O0:15 D1:00", {cd.arg(1)},
        "drove 4 h 01 min without a 30 min break (1 min over the 4 h 00 min limit; the exception needs one "
        "45 min break after it, taken in parts); breaks taken: 15 min");
    row("10 + 20 min: the 10 does not count", "D1:30 O0:10 D1:30 O0:20 D1:30 O0:30", {cd.arg(30)},
        "drove 4 h 30 min without a 30 min break (30 min over the 4 h 00 min limit; the exception needs one "
        "45 min break after it, taken: 30 min); breaks taken: 10 min, 20 min");
    row("stops under 5 min are only counted", "D2:00 O0:03 D1:00 O0:04 D1:01 O0:30", {cd.arg(1)},
        "drove 4 h 01 min without a 30 min break (1 min over the 4 h 00 min limit; the exception needs one "
        "45 min break after it, taken: 30 min); breaks taken: none (and 2 stops under 5 min)");
    row("4 h 01 min then 2 h", "D4:01 O2:00", {"exception continuousDriving 1"});
    row("6 h then one 45 min break", "D6:00 O0:45 D1:00", {"exception continuousDriving 120"},
        "drove 6 h 00 min without a 30 min break (2 h 00 min over the 4 h 00 min limit; allowed only under "
        "the exception: at most 6 h 00 min followed by one 45 min break, taken: 45 min); breaks taken: none");
    row("6 h then 44 min", "D6:00 O0:44 D1:00", {cd.arg(120)});
    row("6 h 01 min then 45 min", "D3:00 O0:20 D3:01 O0:45", {cd.arg(121)},
        "drove 6 h 01 min without a 30 min break (2 h 01 min over the 4 h 00 min limit; 1 min over the "
        "6 h 00 min of the exception); breaks taken: 20 min");
    row("records end after 5 h", "D5:00", {"exception continuousDriving 60"});

    row("10 h 00 min a day", "D4:00 O0:30 D4:00 O0:30 D2:00 O10:00 D1:00", {});
    row("10 h 01 min a day", "D4:00 O0:30 D4:00 O0:30 D2:01 O10:00 D1:00", {"breach dailyDriving 1"},
        "drove 10 h 01 min in one working day (1 min over the 10 h 00 min limit)");
    row("pauses under 8 h keep the working day open", "D4:00 O7:59 D4:00 O7:59 D2:01",
        {"breach dailyDriving 1", "breach dailyRest 119"});
    row("a working day longer than 24 h", "D3:00 O7:00 D3:00 O7:00 D3:00 O7:00 D1:00 O12:00",
        {"breach dailyRest 420"},
        "worked 31 h 00 min without a rest of 8 h 00 min (7 h 00 min over the 24 h 00 min of a working day); "
        "longest pause: 7 h 00 min");

    // Working days of 2 h from Monday 06:00; a reduced rest belongs to the day it ends on.
    const QString rest = QStringLiteral("breach dailyRest %1");
    row("rest of 10 h", "D2:00 O10:00 D2:00 O10:00 D2:00", {});
    row("9 h 59 min and 8 h, Monday and Wednesday", "D2:00 O9:59 D2:00 O36:01 D2:00 O8:00 D2:00", {});
    row("8 h on Monday and Tuesday", "D2:00 O8:00 D2:00 O8:00 D2:00", {rest.arg(120)},
        "rested 8 h 00 min between working days (2 h 00 min short of 10 h 00 min); the rest ending on "
        "2024-01-01 was reduced too, and reduced rests may not fall on consecutive days");
    row("8 h on Monday, Wednesday and Friday",
        "D2:00 O8:00 D2:00 O38:00 D2:00 O8:00 D2:00 O38:00 D2:00 O8:00 D2:00", {rest.arg(120)},
        "rested 8 h 00 min between working days (2 h 00 min short of 10 h 00 min); reduced rests in the "
        "week of 2024-01-01: 3, at most 2 allowed");
    row("Friday, then Tuesday and Thursday of the next week",
        "D2:00 O94:00 D2:00 O8:00 D2:00 O70:00 D2:00 O8:00 D2:00 O38:00 D2:00 O8:00 D2:00", {});
    row("7 h 59 min is no rest", "D2:00 O7:59 D2:00", {});

    row("a rest cut by missing records", "D2:00 O2:00 N24:00 D2:00", {"gap records 1440"},
        "the rest between working days cannot be checked: 24 h 00 min of its 26 h 00 min have no records");
    row("10 h seen before the records stop", "D2:00 O10:00 N24:00 D2:00", {});
    row("driving cut by missing records", "D3:00 N0:20 D3:00 O1:00", {});
    row("4 h 30 min seen before the records stop", "D4:30 N20:00 D1:00",
        {"exception continuousDriving 30", "gap records 1200"},
        "drove 4 h 30 min without a 30 min break (30 min over the 4 h 00 min limit; the records end before "
        "the next break: allowed only under the exception, if one 45 min break followed); breaks taken: "
        "none");
}

void TestPeriod::checks()
{
    QFETCH(QString, timeline);
    QFETCH(QStringList, findings);
    QFETCH(QString, text);
    const period::DriverCheck check = period::checkDriver(QString(), ::timeline(timeline), period::RuleSet());
    QCOMPARE(brief(check.findings), findings);
    if (!text.isEmpty())
        QCOMPARE(check.findings.value(0).text, text);
}

// --- Day files through digest and summary ---

void TestPeriod::acrossDayFiles_data()
{
    QTest::addColumn<QString>("days");    // day offsets with a file; "!" marks a broken driving block
    QTest::addColumn<QString>("records"); // recordsByDay()
    QTest::addColumn<QStringList>("findings");
    QTest::addColumn<QStringList>("driving"); // "driver day h:mm" per driver and day
    auto row = [](const char *tag, const char *days, const char *records, const QStringList &findings,
                  const QStringList &driving) {
        QTest::newRow(tag) << days << records << findings << driving;
    };
    row("driving across midnight into the next day's file", "0 1", "0 A B 21:50, 0 A D 22:00, 1 A R 03:00",
        {"exception continuousDriving A 60"}, {"A 0 2:00", "A 1 3:00"});
    row("a missing day in the middle", "0 2", "0 A D 20:00, 0 A R 23:00, 2 A D 06:00, 2 A R 08:00",
        {"gap records A 1800", "gap records 1440"}, {"A 0 3:00", "A 2 2:00"});
    row("two drivers sharing one vehicle", "0", "0 A D 06:00, 0 A R 10:00, 0 B D 10:00, 0 B S 15:00",
        {"exception continuousDriving B 60"}, {"A 0 4:00", "B 0 5:00"});
    row("a driving block that fails its size check", "0 1! 2",
        "0 A D 20:00, 1 A R 02:00, 2 A D 06:00, 2 A R 07:00", {"gap records 1440", "gap records A 1800"},
        {"A 0 4:00", "A 2 1:00"});
}

void TestPeriod::acrossDayFiles()
{
    QFETCH(QString, days);
    QFETCH(QString, records);
    QFETCH(QStringList, findings);
    QFETCH(QStringList, driving);

    const auto byDay = recordsByDay(records);
    QVector<period::DayDigest> digests;
    for (QString day : days.split(QLatin1Char(' '))) {
        const bool broken = day.endsWith(QLatin1Char('!'));
        day.remove(QLatin1Char('!'));
        digests << period::digestDayFile(dayName(day.toInt()), dayFile(byDay.value(day.toInt()), broken));
    }
    const period::PeriodReport report = period::summarise(digests, period::Options());
    QCOMPARE(brief(report.findings), findings);
    QStringList seen;
    for (const period::DriverSummary &d : report.drivers)
        for (const period::DriverDay &day : d.days)
            seen << QStringLiteral("%1 %2 ").arg(d.driver).arg(kMonday.daysTo(day.day)) +
                        QTime::fromMSecsSinceStartOfDay(int(day.driving)).toString(QStringLiteral("h:mm"));
    QCOMPARE(seen, driving);
}

void TestPeriod::dayFigures()
{
    // Minute 08:00 is cut short by the next record at 08:00:30: its last 60 samples do not count.
    vdrenc::SpeedRecord a, b;
    a.start = vdrenc::stamp(2024, 1, 1, 8, 0, 0);
    b.start = vdrenc::stamp(2024, 1, 1, 8, 0, 30);
    a.speed.fill(95);
    a.mileage.fill(vdrenc::NoMileage);
    for (int j = 0; j < 10; ++j)
        a.speed[size_t(j)] = quint8(j < 4 ? 0 : j < 6 ? vdrenc::NoSpeed : 90); // 0, no value, at the limit
    a.mileage[3] = 10000;
    b.speed.fill(0);
    b.speed[0] = 120;
    b.mileage.fill(10123);
    b.mileage[119] = vdrenc::NoMileage;
    const QByteArray speed = vdrenc::speedBlock({a, b});
    QVector<vdrenc::DrivingRecord> records = recordsByDay("0 A D 08:00, 0 A R 08:00").value(0);
    const QByteArray file = dayFile(records, false, "TRK-9", speed);
    QByteArray withFaults = vdrenc::container(
        {{vdrenc::FaultEventId, "DT_ERR_EVENT_DATA",
          vdrenc::faultEventBlock({{'5', a.start, b.start}, {'5', a.start, b.start}, {'X', a.start, b.start}},
                                  {{'2', a.start, vdrenc::zeroStamp(), 1}})}});

    const period::PeriodReport report =
        period::summarise({period::digestDayFile(dayName(0), file),
                           period::digestDayFile(dayName(0), withFaults, QStringLiteral("other"))},
                          period::Options());
    QCOMPARE(report.vehicles.size(), 2); // the second file has no car number
    const period::VehicleDay &day = report.vehicles.at(1).days.at(0);
    QCOMPARE(report.vehicles.at(1).vehicle, QStringLiteral("TRK-9"));
    QCOMPARE(day.distance, qint64(123));
    QCOMPARE(day.maxSpeed, 120);
    QCOMPARE(day.aboveLimit, qint64(50 + 1) * 500); // a's samples 10..59 (95 km/h; 90 is not above), b's 120
    QCOMPARE(day.moving, qint64(54 + 1) * 500);     // a's samples 6..59, b's first
    QCOMPARE(day.movingUnattributed, day.moving);   // A drove for 0 s
    const period::VehicleDay &other = report.vehicles.at(0).days.at(0);
    QCOMPARE(other.faults[5], 2);
    QCOMPARE(other.faults[0], 1); // 'X' counts as type 0
    QCOMPARE(other.events[2], 1);
    QCOMPARE(other.drivingKnown, false);
}

// --- The command ---

// Folder "a" holds sample days 0 and 1 (one in a subfolder), folder "b" days 0 and 2.
void TestPeriod::initTestCase()
{
    const QList<QPair<QString, int>> days{{"a", 0}, {"a/odd", 1}, {"b", 0}, {"b", 2}};
    for (const auto &day : days)
        testsupport::writeFile(m_dir.filePath(day.first), dayName(day.second),
                               vdrenc::sampleDay(kMonday.addDays(day.second)));
    testsupport::writeFile(m_dir.path(), QStringLiteral("strict.json"),
                           R"({"name": "Company", "continuousDrivingMaxMinutes": 60,
                               "exceptionDrivingMaxMinutes": 60})");
    testsupport::writeFile(m_dir.path(), QStringLiteral("bad.json"), R"({"name": "x", "breakMinutes": -1})");
}

void TestPeriod::command_data()
{
    QTest::addColumn<QStringList>("arguments"); // %1: the folder of days 0 and 1, %2: days 0 and 2
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("out"); // a piece of standard output, or of standard error for exit 2
    auto row = [](const char *tag, const QStringList &arguments, int exitCode, const QString &out) {
        QTest::newRow(tag) << arguments << exitCode << out;
    };
    row("sample days, one in a subfolder", {"%1"}, 0, "Findings: none");
    row("a missing day", {"%2"}, 1,
        "[gap] records; vehicle ABC-5678; 2024-01-02 00:00:00 to 2024-01-03 00:00:00: no day file for "
        "2024-01-02");
    row("only the days asked for", {"%2", "--from", "2024-01-03", "--to", "2024-01-03"}, 0,
        "Period 2024-01-03 to 2024-01-03: 1 day file(s) used");
    row("stricter rules", {"%1", "--rules", "%3/strict.json"}, 1, "[breach] continuous driving; driver ");
    row("speed limit", {"%1", "--speed-limit", "240"}, 0, ">240 km/h");
    row("malformed rules", {"%1", "--rules", "%3/bad.json"}, 2,
        "bad.json: field \"breakMinutes\": expected a whole number");
    row("bad date", {"%1", "--from", "2024-13-01"}, 2, "--from needs a day");
    row("both formats", {"%1", "--json", "--csv"}, 2, "exclude each other");
    row("no such file", {"%3/none.vdr"}, 2, "none.vdr: cannot read");
    row("not a day name", {"%3/bad.json"}, 2, "the name does not give a day");
}

void TestPeriod::command()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, out);
    for (QString &a : arguments)
        a.replace("%1", m_dir.filePath("a")).replace("%2", m_dir.filePath("b")).replace("%3", m_dir.path());
    const CliRun run = runCli(QStringList{"report"} + arguments);
    QCOMPARE(run.crashed, false);
    QVERIFY2((exitCode == 2 ? run.errText() : run.outText()).contains(out),
             qPrintable(run.outText() + run.errText()));
    QCOMPARE(run.exitCode, exitCode);
}

void TestPeriod::commandJsonAndCsv()
{
    const QString folder = m_dir.filePath("b");
    const CliRun json = runCli({"report", folder, "--json"});
    QCOMPARE(json.exitCode, 1);
    const QJsonObject root = QJsonDocument::fromJson(json.out).object();
    QCOMPARE(root.value("rules").toObject().value("dailyRestMinutes").toInt(), 600);
    QVERIFY(root.value("summary").toObject().value("gaps").toInt() >= 1);
    const QJsonObject vehicle = root.value("vehicles").toArray().at(0).toObject();
    QCOMPARE(vehicle.value("vehicle").toString(), QStringLiteral("ABC-5678"));
    QCOMPARE(vehicle.value("daysMissing").toInt(), 1);
    const QJsonArray days = vehicle.value("days").toArray();
    QCOMPARE(days.at(1).toObject().value("status").toString(), QStringLiteral("missing"));
    QCOMPARE(days.at(0).toObject().value("maxSpeedKmh").toInt(), 251); // the speed pulse fault's spikes
    QCOMPARE(root.value("drivers").toArray().size(), 3);
    QStringList vehicleGaps;
    for (const QJsonValue &f : root.value("findings").toArray())
        if (f.toObject().value("driver").toString().isEmpty())
            vehicleGaps << f.toObject().value("start").toString() + QLatin1Char(' ') +
                               f.toObject().value("text").toString();
    QCOMPARE(vehicleGaps, QStringList{"2024-01-02T00:00:00 no day file for 2024-01-02"});

    const CliRun csv = runCli({"report", folder, "--csv"});
    QCOMPARE(csv.exitCode, 1);
    QVERIFY(csv.out.startsWith("\xEF\xBB\xBFRecord,Vehicle,Driver,Day,Status,"));
    QCOMPARE(csv.out.count("\r\nvehicle day,"), 3);
    QCOMPARE(csv.out.count("\r\ndriver day,"), 6);
    QVERIFY(csv.out.contains("\r\nfinding,ABC-5678,,,,2024-01-02 00:00:00,2024-01-03 00:00:00,gap,records,"));
}

QTEST_GUILESS_MAIN(TestPeriod)
#include "tst_period.moc"
