// The command-line tool on day files built by the project's encoder: check (every kind of
// fault, folders, exit codes), dump --json (values of every block kind, the full sample
// day), export (RFC 4180 quoting, byte-order mark, the full day's speed rows) and --help.
#include "clirunner.h"

#include "support/testsupport.h"
#include "vdr/tableexport.h"
#include "vdrencoder.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>

using namespace vdrenc;

namespace {

const QDate kDay(2024, 1, 31);

QByteArray at(int h, int m, int s)
{
    return stamp(kDay.year(), kDay.month(), kDay.day(), h, m, s);
}

QByteArray faultEventData()
{
    return faultEventBlock({{'5', at(8, 0, 0), at(8, 1, 30)}},
                           {{'2', at(10, 0, 0), zeroStamp(), 3}, {'3', at(11, 0, 0), at(11, 0, 30), 1}});
}

QByteArray speedData()
{
    QVector<SpeedRecord> minutes(2);
    for (int m = 0; m < 2; ++m) {
        minutes[m].start = at(12, m, 0);
        minutes[m].speed.fill(0);
        minutes[m].mileage.fill(12340 + m);
    }
    minutes[0].speed[0] = 50;
    minutes[0].speed[1] = NoSpeed;
    minutes[1].mileage[119] = NoMileage;
    return speedBlock(minutes);
}

QByteArray technologyData(bool newLayout = false)
{
    DeviceInfo device;
    device.vendor = "Vendor, \"Quoted\"";
    device.address = "Line one\nLine two";
    device.serial = "SN000001";
    device.firmware = {1, 2, 26, 0};
    device.installTime = at(9, 0, 0);
    device.mfdDate = bcdDate(2023, 12, 1);
    device.certificate = newLayout ? "NEWCERT-000000017" : "12345678";
    device.carNo = "\xe4\xba\xac"
                   "A-1234";
    device.newLayout = newLayout;
    return technologyBlock(device, {{"Op", bcdMileage(100), bcdMileage(2345), at(9, 1, 0), at(9, 2, 0)}},
                           {{at(9, 3, 0), at(9, 3, 5)}},
                           {{at(9, 4, 0), at(9, 4, 1), bcdHourMinute(3, 30), bcdHourMinute(4, 0)}},
                           {{at(9, 5, 0), at(9, 5, 1), bcdHourMinute(0, 15), bcdHourMinute(0, 20)}});
}

QByteArray drivingData()
{
    return drivingBlock({{"A1", drivingStatus(true, Driving, 1), at(6, 0, 0)},
                         {"A1", drivingStatus(true, Stopping, 1), at(7, 0, 0)},
                         {"B2", drivingStatus(true, Driving, 1), at(7, 30, 0)},
                         {"A1", drivingStatus(false, Resting, 2), at(7, 45, 0)},
                         {"B2", drivingStatus(true, Stopping, 1), at(8, 0, 0)}});
}

QByteArray locationData()
{
    LocationRecord a;
    a.time = at(6, 10, 0);
    a.longitude = coordinate(121, 30);
    a.latitude = coordinate(25, 3);
    a.height = 123;
    a.speed = 42;
    LocationRecord b = a;
    b.time = at(7, 5, 0);
    b.status = 0;
    return locationBlock({a, b});
}

QVector<Block> everyBlock()
{
    return {{TechnologyId, "DT_TECH_DATA", technologyData()},
            {FaultEventId, "DT_ERR_EVENT_DATA", faultEventData()},
            {SpeedId, "DT_SPD_DATA", speedData()},
            {DrivingId, "DT_DRIVE_DATA", drivingData()},
            {LocationId, "DT_LOCATE_DATA", locationData()}};
}

QVector<Block> withBlock(int index, const QByteArray &data)
{
    QVector<Block> blocks = everyBlock();
    blocks[index].data = data;
    return blocks;
}

QJsonObject parseJson(const QByteArray &bytes)
{
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError)
        qWarning("JSON error: %s", qPrintable(error.errorString()));
    return doc.object();
}

QList<QStringList> parseCsv(const QByteArray &csv)
{
    // A small RFC 4180 reader for the tests: quoted fields, doubled quotes, CRLF records.
    QList<QStringList> records;
    const QString text = QString::fromUtf8(csv.startsWith("\xEF\xBB\xBF") ? csv.mid(3) : csv);
    QStringList record;
    QString field;
    bool quoted = false;
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (quoted) {
            if (c == QLatin1Char('"') && text.mid(i + 1, 1) == QLatin1String("\"")) {
                field += c;
                ++i;
            } else if (c == QLatin1Char('"')) {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == QLatin1Char('"')) {
            quoted = true;
        } else if (c == QLatin1Char(',')) {
            record << field;
            field.clear();
        } else if (c == QLatin1Char('\r') && text.mid(i + 1, 1) == QLatin1String("\n")) {
            record << field;
            records << record;
            record.clear();
            field.clear();
            ++i;
        } else {
            field += c;
        }
    }
    return records;
}

} // namespace

class TestCli : public QObject
{
    Q_OBJECT

private slots:
    void check_data();
    void check();
    void checkFolderAndExitCodes();
    void dumpJsonEveryBlock();
    void dumpSampleDay();
    void dumpText();
    void csvField_data();
    void csvField();
    void exportQuotingAndBom();
    void exportSpeedFullDay();
    void exportEveryTable();
    void usage_data();
    void usage();
    void damagedInput();

private:
    QTemporaryDir dir;
    QString write(const QString &name, const QByteArray &bytes)
    {
        const int slash = name.lastIndexOf(QLatin1Char('/'));
        return testsupport::writeFile(dir.path() + QLatin1Char('/') + name.left(qMax(slash, 0)),
                                      name.mid(slash + 1), bytes);
    }
};

void TestCli::check_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("problems"); // each a piece of the line; none: sound

    const QString good = dayFileName(kDay);
    const QByteArray sound = container(everyBlock());
    ContainerOptions badSum;
    badSum.corruptChecksum = true;
    ContainerOptions extraBlock;
    extraBlock.blockCountOverride = 6;
    ContainerOptions longLast;
    longLast.dataSizeOverrideForLast = 1 << 20;
    QByteArray errorsCut = faultEventData().left(10);
    QByteArray techNoMileage = technologyData(true).left(NewDeviceRecordSize + 2);
    techNoMileage[NewDeviceRecordSize] = 3; // three mileage records, none there

    QTest::newRow("sound") << good << sound << QStringList();
    QTest::newRow("name without three parts")
        << "D20240131.vdr" << sound << QStringList{"does not split into three parts"};
    QTest::newRow("name not a day") << "D20241341__.vdr" << sound << QStringList{"does not name a valid day"};
    QTest::newRow("checksum") << good << container(everyBlock(), badSum)
                              << QStringList{QString("checksum computed 0x%1, stored 0x%2")
                                                 .arg(quint8(sound.back()), 2, 16, QLatin1Char('0'))
                                                 .arg(quint8(~sound.back()), 2, 16, QLatin1Char('0'))};
    QTest::newRow("walk past the end: header") << good << container(everyBlock(), extraBlock)
                                               << QStringList{"block 6 of 6", "header runs past the end"};
    QTest::newRow("walk past the end: data") << good << container(everyBlock(), longLast)
                                             << QStringList{"block 5 of 5 (data type 4) declares 1048576"};
    QTest::newRow("empty") << good << QByteArray() << QStringList{"no data in the file"};
    QTest::newRow("error section") << good << container(withBlock(1, errorsCut))
                                   << QStringList{
                                          "block 2 (data type 0, 10 bytes): DT_ERR_DATA Data Size Error"};
    QTest::newRow("event section") << good << container(withBlock(1, faultEventData() + 'x'))
                                   << QStringList{"DT_EVENT_DATA Data Size Error"};
    QTest::newRow("speed") << good << container(withBlock(2, speedData() + 'x'))
                           << QStringList{"block 3 (data type 1", "DT_SPD_DATA Data Size Error"};
    QTest::newRow("device record") << good << container(withBlock(0, technologyData().left(100)))
                                   << QStringList{"DT_VENDOR_DATA Data Size Error"};
    QTest::newRow("mileage list") << good << container(withBlock(0, techNoMileage))
                                  << QStringList{"DT_MILE_CALIB_RAW Data Size Error"};
    QTest::newRow("rest list") << good << container(withBlock(0, technologyData(true) + "xyz"))
                               << QStringList{"DT_THRES_CALIB_RAW(Rest) Data Size Error"};
    QTest::newRow("driving") << good << container(withBlock(3, drivingData() + 'x'))
                             << QStringList{"DT_DRIVE_DATA Data Size Error"};
    QTest::newRow("location") << good << container(withBlock(4, locationData().left(30)))
                              << QStringList{
                                     "block 5 (data type 4, 30 bytes): DT_LOCATE_DATA Data Size Error"};
    QVector<Block> twoBad = withBlock(4, QByteArray(1, 'x'));
    twoBad[2].data += 'x';
    QTest::newRow("name, checksum and two blocks at once")
        << "X.vdr" << container(twoBad, badSum)
        << QStringList{"three parts", "checksum computed", "DT_SPD_DATA", "DT_LOCATE_DATA"};
}

void TestCli::check()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, problems);
    const QString path =
        write(QString::fromLatin1(QTest::currentDataTag()).replace(' ', '-').remove(':').remove(',') +
                  QStringLiteral("/") + name,
              bytes);
    const CliRun run = runCli({"check", path});
    QVERIFY(!run.crashed);
    const QString line = run.outText();
    QCOMPARE(line.count(QLatin1Char('\n')), 1);
    QVERIFY2(line.startsWith(path + QStringLiteral(": ")), qPrintable(line));
    if (problems.isEmpty()) {
        QCOMPARE(line, path + QStringLiteral(": sound\n"));
        QCOMPARE(run.exitCode, 0);
        return;
    }
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(!line.contains(QStringLiteral("sound")), qPrintable(line));
    for (const QString &problem : problems)
        QVERIFY2(line.contains(problem), qPrintable(line + QStringLiteral(" lacks ") + problem));
}

void TestCli::checkFolderAndExitCodes()
{
    QTemporaryDir folder;
    ContainerOptions badSum;
    badSum.corruptChecksum = true;
    testsupport::writeFile(folder.path(), "D20240101__.vdr", container(everyBlock()));
    testsupport::writeFile(folder.path(), "D20240102__.VDR", container(everyBlock(), badSum));
    testsupport::writeFile(folder.path(), "notes.txt", "not a day file");
    const QString single = write("D20240103__.vdr", container(everyBlock()));

    CliRun run = runCli({"check", folder.path(), single});
    QCOMPARE(run.exitCode, 1);
    QStringList lines = run.outText().split('\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 3);
    QCOMPARE(lines.at(0), folder.path() + "/D20240101__.vdr: sound");
    QVERIFY(lines.at(1).startsWith(folder.path() + "/D20240102__.VDR: checksum computed"));
    QCOMPARE(lines.at(2), single + ": sound");

    // only sound files
    run = runCli({"check", single});
    QCOMPARE(run.exitCode, 0);

    // a missing file is a read error, the other files are still checked
    run = runCli({"check", single, dir.path() + "/missing.vdr"});
    QCOMPARE(run.exitCode, 2);
    QCOMPARE(run.outText(), single + ": sound\n");
    QVERIFY(run.errText().contains("missing.vdr: cannot read"));

    // a folder without day files, a device
    QTemporaryDir empty;
    run = runCli({"check", single, empty.path()});
    QCOMPARE(run.exitCode, 2);
    QVERIFY(run.errText().contains("no .vdr files in the folder"));
    run = runCli({"check", "/dev/zero"});
    QCOMPARE(run.exitCode, 2);
    QVERIFY(run.errText().contains("not a regular file"));

    // no file at all
    run = runCli({"check"});
    QCOMPARE(run.exitCode, 2);
    QVERIFY(!run.errText().isEmpty());
}

void TestCli::dumpJsonEveryBlock()
{
    const QString path = write("json/" + dayFileName(kDay), container(everyBlock()));
    const CliRun run = runCli({"dump", path, "--json"});
    QCOMPARE(run.exitCode, 0);
    const QJsonObject day = parseJson(run.out);
    QCOMPARE(day["file"].toString(), dayFileName(kDay));
    QCOMPARE(day["name"].toObject()["day"].toString(), QStringLiteral("2024/01/31"));
    QVERIFY(day["checksum"].toObject()["ok"].toBool());
    QVERIFY(day["sound"].toBool());
    const QJsonArray blocks = day["blocks"].toArray();
    QCOMPARE(blocks.size(), 5);
    for (const QJsonValue &b : blocks)
        QCOMPARE(b.toObject()["status"].toString(), QStringLiteral("ok"));

    const QJsonObject tech = blocks[0].toObject();
    QCOMPARE(tech["kind"].toString(), QStringLiteral("technology"));
    QCOMPARE(tech["name"].toString(), QStringLiteral("DT_TECH_DATA"));
    QCOMPARE(tech["layout"].toString(), QStringLiteral("old"));
    const QJsonObject device = tech["device"].toObject();
    QCOMPARE(device["vendor"].toString(), QStringLiteral("Vendor, \"Quoted\""));
    QCOMPARE(device["firmware"].toString(), QStringLiteral("1.2.1a"));
    QCOMPARE(device["installTime"].toString(), QStringLiteral("2024/01/31 09:00:00"));
    QCOMPARE(device["mfdDate"].toString(), QStringLiteral("2023/12/01"));
    QCOMPARE(device["certificate"].toString(), QStringLiteral("C730519286404-12345678"));
    QCOMPARE(device["carNo"].toString(), QString::fromUtf8("\xe4\xba\xac"
                                                           "A-1234"));
    const QJsonObject mileage = tech["mileageCalibrations"].toArray()[0].toObject();
    QCOMPARE(mileage["operator"].toString(), QStringLiteral("Op"));
    QCOMPARE(mileage["before"].toString(), QStringLiteral("10.0 km"));
    QCOMPARE(mileage["after"].toString(), QStringLiteral("234.5 km"));
    QCOMPARE(tech["clockCalibrations"].toArray()[0].toObject()["after"].toString(),
             QStringLiteral("2024/01/31 09:03:05"));
    QCOMPARE(tech["driveThresholds"].toArray()[0].toObject()["after"].toString(), QStringLiteral("04:00"));
    QCOMPARE(tech["restThresholds"].toArray()[0].toObject()["before"].toString(), QStringLiteral("00:15"));

    const QJsonObject fault = blocks[1].toObject();
    QCOMPARE(fault["errorCount"].toInt(), 1);
    const QJsonObject error = fault["errors"].toArray()[0].toObject();
    QCOMPARE(error["typeText"].toString(), QStringLiteral("GPS Fail"));
    QCOMPARE(error["start"].toString(), QStringLiteral("2024/01/31 08:00:00"));
    QCOMPARE(error["duration"].toString(), QStringLiteral("00:01:30"));
    const QJsonArray events = fault["events"].toArray();
    QCOMPARE(events.size(), 2);
    QCOMPARE(events[0].toObject()["typeText"].toString(), QStringLiteral("Driving Over"));
    QCOMPARE(events[0].toObject()["end"].toString(), QStringLiteral("----/--/-- --:--:--"));
    QCOMPARE(events[0].toObject()["duration"].toString(), QStringLiteral("continuing"));
    QCOMPARE(events[0].toObject()["count"].toInt(), 3);
    QCOMPARE(events[1].toObject()["typeText"].toString(), QStringLiteral("Download Fail"));

    const QJsonObject speed = blocks[2].toObject();
    QCOMPARE(speed["count"].toInt(), 2);
    const QJsonArray minutes = speed["minutes"].toArray();
    QCOMPARE(minutes[1].toObject()["start"].toString(), QStringLiteral("2024/01/31 12:01:00"));
    const QJsonArray speeds = minutes[0].toObject()["speeds"].toArray();
    QCOMPARE(speeds.size(), 120);
    QCOMPARE(speeds[0].toInt(), 50);
    QVERIFY(speeds[1].isNull());
    QCOMPARE(minutes[0].toObject()["mileages"].toArray()[0].toString(), QStringLiteral("1234.0"));
    QVERIFY(minutes[1].toObject()["mileages"].toArray()[119].isNull());

    const QJsonObject driving = blocks[3].toObject();
    const QJsonArray records = driving["records"].toArray();
    QCOMPARE(records.size(), 5);
    QCOMPARE(records[3].toObject()["actionText"].toString(), QStringLiteral("Resting"));
    QCOMPARE(records[3].toObject()["current"].toBool(), false);
    QCOMPARE(records[3].toObject()["master"].toInt(), 2);
    const QJsonArray totals = day["driverTotals"].toArray();
    QCOMPARE(totals.size(), 2);
    QCOMPARE(totals[0].toObject()["driver"].toString(), QStringLiteral("A1"));
    QCOMPARE(totals[0].toObject()["driving"].toString(), QStringLiteral("01:00:00"));
    QCOMPARE(totals[0].toObject()["stopping"].toString(), QStringLiteral("00:45:00"));
    QCOMPARE(totals[1].toObject()["driving"].toString(), QStringLiteral("00:30:00"));
    const QJsonArray changes = day["driverChanges"].toArray();
    QVERIFY(!changes.isEmpty());
    QCOMPARE(changes[0].toObject()["driver"].toString(), QStringLiteral("A1"));
    QCOMPARE(changes[0].toObject()["time"].toString(), QStringLiteral("2024/01/31 06:00:00"));

    const QJsonObject location = blocks[4].toObject();
    const QJsonArray fixes = location["fixes"].toArray();
    QCOMPARE(fixes.size(), 2);
    QCOMPARE(fixes[0].toObject()["speed"].toString(), QStringLiteral("42 km/h"));
    QCOMPARE(fixes[0].toObject()["height"].toString(), QStringLiteral("12.3 m"));
    QCOMPARE(fixes[1].toObject()["longitude"].toString(), QStringLiteral("0"));
    QCOMPARE(day["locationHours"].toArray(),
             QJsonArray({QStringLiteral("2024/01/31 06:10:00"), QStringLiteral("2024/01/31 07:05:00")}));

    // a failing block carries its message; the others are still decoded
    const QString damaged = write("json2/" + dayFileName(kDay), container(withBlock(2, speedData() + 'x')));
    const QJsonObject day2 = parseJson(runCli({"dump", "--json", damaged}).out);
    QCOMPARE(day2["sound"].toBool(), false);
    QCOMPARE(day2["blocks"].toArray()[2].toObject()["status"].toString(), QStringLiteral("failed"));
    QCOMPARE(day2["blocks"].toArray()[2].toObject()["message"].toString(),
             QStringLiteral("DT_SPD_DATA Data Size Error"));
    QCOMPARE(day2["blocks"].toArray()[4].toObject()["fixes"].toArray().size(), 2);
}

void TestCli::dumpSampleDay()
{
    const QString path = write("sample/" + dayFileName(kDay), sampleDay(kDay));
    const CliRun run = runCli({"dump", "--json", path});
    QCOMPARE(run.exitCode, 0);
    const QJsonObject day = parseJson(run.out);
    QVERIFY(day["sound"].toBool());
    const QJsonArray blocks = day["blocks"].toArray();
    QCOMPARE(blocks.size(), 5);
    const QStringList kinds{"technology", "faultEvent", "speed", "driving", "location"};
    for (int i = 0; i < 5; ++i)
        QCOMPARE(blocks[i].toObject()["kind"].toString(), kinds.at(i));

    // the values the sample generator wrote
    const QJsonObject tech = blocks[0].toObject();
    QCOMPARE(tech["layout"].toString(), QStringLiteral("new"));
    const QJsonObject device = tech["device"].toObject();
    QCOMPARE(device["vendor"].toString(), QStringLiteral("Tavrin Electronics Co., Ltd."));
    QCOMPARE(device["serial"].toString(), QStringLiteral("TV230517"));
    QCOMPARE(device["firmware"].toString(), QStringLiteral("2.4.11"));
    QCOMPARE(device["certificate"].toString(), QStringLiteral("TVR-2023-000417"));
    QCOMPARE(device["carNo"].toString(), QStringLiteral("ABC-5678"));
    const QDate installed = kDay.addDays(-200);
    QCOMPARE(device["installTime"].toString(), installed.toString("yyyy/MM/dd") + " 10:42:05");
    QCOMPARE(device["mfdDate"].toString(), kDay.addDays(-231).toString("yyyy/MM/dd"));
    const QJsonArray mileage = tech["mileageCalibrations"].toArray();
    QCOMPARE(mileage.size(), 2);
    QCOMPARE(mileage[1].toObject()["operator"].toString(),
             QString::fromUtf8("\xe9\x99\xb3\xe5\xbb\xba\xe5\xae\x8f"));
    QCOMPARE(mileage[0].toObject()["before"].toString(), QStringLiteral("0.0 km"));
    QCOMPARE(tech["driveThresholds"].toArray()[0].toObject()["before"].toString(), QStringLiteral("03:30"));
    QCOMPARE(tech["restThresholds"].toArray()[0].toObject()["after"].toString(), QStringLiteral("00:30"));

    const QJsonArray events = blocks[1].toObject()["events"].toArray();
    QVERIFY(!events.isEmpty());
    QCOMPARE(events.last().toObject()["duration"].toString(), QStringLiteral("continuing"));
    QCOMPARE(events.last().toObject()["count"].toInt(), 2);

    const QJsonArray minutes = blocks[2].toObject()["minutes"].toArray();
    QCOMPARE(minutes.size(), 1440);
    for (int m = 0; m < 1440; m += 97)
        QCOMPARE(minutes[m].toObject()["start"].toString(),
                 QDateTime(kDay, QTime(0, 0).addSecs(m * 60)).toString("yyyy/MM/dd hh:mm:ss"));

    QStringList drivers;
    for (const QJsonValue &t : day["driverTotals"].toArray())
        drivers << t.toObject()["driver"].toString();
    drivers.sort();
    QVERIFY(drivers.size() >= 2);
    for (const QString &id : drivers)
        QVERIFY2(QStringList(
                     {"A123456789", "B987654321", QString::fromUtf8("\xe7\x8e\x8b\xe5\xb0\x8f\xe6\x98\x8e")})
                     .contains(id),
                 qPrintable(id));
    QVERIFY(!day["locationHours"].toArray().isEmpty());
    QVERIFY(day["locationHours"].toArray().size() <= 24);
}

void TestCli::dumpText()
{
    const QString path = write("text/" + dayFileName(kDay), container(everyBlock()));
    const CliRun run = runCli({"dump", path});
    QCOMPARE(run.exitCode, 0);
    const QString text = run.outText();
    for (const char *piece :
         {"file: D20240131__.vdr", "sound: yes", "kind: technology", "typeText: Driving Over",
          "duration: continuing", "actionText: Resting", "locationHours: 2024/01/31 06:10:00"})
        QVERIFY2(text.contains(QLatin1String(piece)), piece);

    const CliRun missing = runCli({"dump", dir.path() + "/nothing.vdr"});
    QCOMPARE(missing.exitCode, 2);
    QVERIFY(missing.errText().contains("cannot read"));
}

void TestCli::csvField_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("quoted");
    QTest::newRow("plain") << "abc 12"
                           << "abc 12";
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("comma") << "a,b"
                           << "\"a,b\"";
    QTest::newRow("quote") << "say \"hi\""
                           << "\"say \"\"hi\"\"\"";
    QTest::newRow("line feed") << "a\nb"
                               << "\"a\nb\"";
    QTest::newRow("carriage return") << "a\rb"
                                     << "\"a\rb\"";
    QTest::newRow("chinese") << QString::fromUtf8("\xe7\x8e\x8b") << QString::fromUtf8("\xe7\x8e\x8b");
}

void TestCli::csvField()
{
    QFETCH(QString, field);
    QFETCH(QString, quoted);
    QCOMPARE(vdr::csvField(field), quoted);
}

void TestCli::exportQuotingAndBom()
{
    const QString path = write("export/" + dayFileName(kDay), container(everyBlock()));
    const QString out = dir.path() + "/export/tech.csv";
    const CliRun run = runCli({"export", path, "--table", "technology", "-o", out});
    QCOMPARE(run.exitCode, 0);
    QFile file(out);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray csv = file.readAll();
    QVERIFY(csv.startsWith("\xEF\xBB\xBF"));
    QVERIFY(csv.contains("\"Vendor, \"\"Quoted\"\"\""));
    QVERIFY(csv.contains("\"Line one\nLine two\""));
    QVERIFY(csv.endsWith("\r\n"));
    const QList<QStringList> records = parseCsv(csv);
    QCOMPARE(records.first(), QStringList({"Record", "Index", "Operator", "Item", "Before", "After"}));
    QCOMPARE(records.at(1), QStringList({"Devcie Info", "", "", "Vendor", "Vendor, \"Quoted\"", ""}));
    QCOMPARE(records.at(2).at(4), QStringLiteral("Line one\nLine two"));
    QVERIFY(records.contains({"Devcie Info", "", "", "Car No.",
                              QString::fromUtf8("\xe4\xba\xac"
                                                "A-1234"),
                              ""}));
    for (const QStringList &r : records)
        QCOMPARE(r.size(), 6);
}

void TestCli::exportSpeedFullDay()
{
    const QByteArray bytes = sampleDay(kDay);
    const QString path = write("speed/" + dayFileName(kDay), bytes);
    const CliRun run = runCli({"export", path, "--table", "speed"});
    QCOMPARE(run.exitCode, 0);
    QVERIFY(run.out.startsWith("\xEF\xBB\xBF"));

    // count the samples with a speed straight from the block's bytes
    const vdr::ContainerWalk walk = vdr::walkContainer(bytes);
    const vdr::BlockInfo &block = walk.blocks.at(2);
    QCOMPARE(int(block.dataId), 1);
    const uchar *p = reinterpret_cast<const uchar *>(bytes.constData()) + block.dataOffset + 4;
    int samples = 0;
    for (int m = 0; m < 1440; ++m)
        for (int j = 0; j < 120; ++j)
            samples += p[m * 607 + 7 + j] != 0xFF;
    QVERIFY(samples > 1000);

    const QList<QStringList> records = parseCsv(run.out);
    QCOMPARE(records.size(), samples + 1);
    QCOMPARE(records.first(), QStringList({"DateTime", "Speed (0.5sec)", "Mileage(km)"}));
    QVERIFY(records.at(1).at(0).startsWith("2024/01/31 00:00:"));
}

void TestCli::exportEveryTable()
{
    const QString path = write("tables/" + dayFileName(kDay), container(everyBlock()));
    CliRun run = runCli({"export", path, "--table", "events"});
    QCOMPARE(run.exitCode, 0);
    QList<QStringList> records = parseCsv(run.out);
    QCOMPARE(records.size(), 4);
    QCOMPARE(records.at(1),
             QStringList({"Error Record", "1", "GPS Fail", "2024/01/31 08:00:00", "00:01:30", ""}));
    QCOMPARE(records.at(2),
             QStringList({"Event Record", "1", "Driving Over", "2024/01/31 10:00:00", "continuing", "3"}));

    run = runCli({"export", path, "--table", "location"});
    records = parseCsv(run.out);
    QCOMPARE(records.size(), 3);
    QCOMPARE(records.at(2), QStringList({"2024/01/31 07:05:00", "0", "0", "0", "42 km/h"}));

    run = runCli({"export", path, "--table", "driver"});
    records = parseCsv(run.out);
    QCOMPARE(records.first(), QStringList({"ID", "Change Action", "Change Time"}));
    QVERIFY(records.size() > 100); // a row per minute and driver from 06:00 to 08:00
    QCOMPARE(records.at(1), QStringList({"A1", "Driving", "2024/01/31 06:00:00"}));

    run = runCli({"export", path, "--table", "nonsense"});
    QCOMPARE(run.exitCode, 2);
    run = runCli({"export", path});
    QCOMPARE(run.exitCode, 2);
    run = runCli({"export", path, "--table", "speed", "-o", dir.path() + "/no/such/folder/x.csv"});
    QCOMPARE(run.exitCode, 2);
    QVERIFY(run.errText().contains("cannot write"));
}

void TestCli::usage_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("outputPiece");
    QTest::newRow("--help") << QStringList{"--help"} << 0 << "Commands:";
    QTest::newRow("check --help") << QStringList{"check", "--help"} << 0 << "Exit 0 when every file is sound";
    QTest::newRow("dump --help") << QStringList{"dump", "--help"} << 0 << "--json";
    QTest::newRow("export --help") << QStringList{"export", "--help"} << 0 << "--table";
    QTest::newRow("download --help") << QStringList{"download", "--help"} << 0 << "--timeout";
    QTest::newRow("no command") << QStringList{} << 2 << "";
    QTest::newRow("unknown command") << QStringList{"frobnicate"} << 2 << "";
    QTest::newRow("unknown option") << QStringList{"dump", "--frob", "x.vdr"} << 2 << "";
    QTest::newRow("download without port") << QStringList{"download", "--recent", "3"} << 2 << "";
    QTest::newRow("download, both ways")
        << QStringList{"download", "--port",     "/dev/null", "--recent",  "3",
                       "--from",   "2024-01-01", "--to",      "2024-01-02"}
        << 2 << "";
    QTest::newRow("download, days reversed")
        << QStringList{"download", "--port", "/dev/null", "--from", "2024-01-02", "--to", "2024-01-01"} << 2
        << "";
    QTest::newRow("download, bad hours")
        << QStringList{"download", "--port", "/dev/null", "--recent", "25"} << 2 << "";
    QTest::newRow("download, missing port")
        << QStringList{"download", "--port", "/nonexistent/tty", "--recent", "3"} << 2 << "";
}

void TestCli::usage()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, outputPiece);
    const CliRun run = runCli(arguments);
    QVERIFY(!run.crashed);
    QCOMPARE(run.exitCode, exitCode);
    if (exitCode == 0)
        QVERIFY2(run.outText().contains(outputPiece), qPrintable(run.outText()));
    else
        QVERIFY(!run.errText().isEmpty());
}

void TestCli::damagedInput()
{
    // Cut and bit-flipped files: decoded, checked and exported without a crash; the tool
    // answers each with exit 0 or 1 and well-formed JSON.
    const QByteArray whole = container(everyBlock());
    quint32 seed = 12345;
    auto next = [&seed] { return seed = seed * 1103515245u + 12345u; };
    QVector<QByteArray> inputs;
    for (int cut = 0; cut < whole.size(); cut += 3)
        inputs << whole.left(cut);
    for (int i = 0; i < 300; ++i) {
        QByteArray flipped = whole;
        for (int k = 0; k < 4; ++k)
            flipped[int(next() % uint(flipped.size()))] = char(next() >> 8);
        inputs << flipped;
    }
    for (int i = 0; i < inputs.size(); ++i) {
        const vdr::DayReport report = vdr::analyseDayFile(dayFileName(kDay), inputs.at(i));
        const bool sound = report.sound();
        for (const QString &name : vdr::exportTableNames()) {
            vdr::ExportTable table;
            QVERIFY(vdr::exportTableFromName(name, &table));
            vdr::csvDocument(vdr::exportRows(report, table));
        }
        if (i % 40 == 0) {
            const QString path =
                write(QStringLiteral("damaged/%1/").arg(i) + dayFileName(kDay), inputs.at(i));
            const CliRun dump = runCli({"dump", "--json", path});
            QCOMPARE(dump.exitCode, 0);
            QCOMPARE(parseJson(dump.out)["sound"].toBool(), sound);
            const CliRun check = runCli({"check", path});
            QCOMPARE(check.exitCode, sound ? 0 : 1);
        }
    }
}

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
