// The command-line tool on day files built by the project's encoder: check (faults, folders,
// exit codes), dump --json (values of every block kind), export (RFC 4180 quoting, byte-order
// mark, the full day's speed rows) and the usage errors.
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
    // A small RFC 4180 reader: quoted fields, doubled quotes, CRLF records.
    QList<QStringList> records;
    const QString text = QString::fromUtf8(csv.startsWith("\xEF\xBB\xBF") ? csv.mid(3) : csv);
    QStringList record;
    QString field;
    bool quoted = false;
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i), next = i + 1 < text.size() ? text.at(i + 1) : QChar();
        if (c == QLatin1Char('"') && quoted && next == QLatin1Char('"')) {
            field += text.at(++i);
        } else if (c == QLatin1Char('"')) {
            quoted = !quoted;
        } else if (!quoted &&
                   (c == QLatin1Char(',') || (c == QLatin1Char('\r') && next == QLatin1Char('\n')))) {
            record << field;
            field.clear();
            if (c == QLatin1Char('\r')) {
                records << record;
                record.clear();
                ++i;
            }
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
    void exportQuotingAndBom();
    void exportSpeedFullDay();
    void exportEveryTable();
    void usage_data();
    void usage();

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
    QTest::newRow("block") << good << container(withBlock(4, locationData().left(30)))
                           << QStringList{"block 5 (data type 4, 30 bytes): DT_LOCATE_DATA Data Size Error"};
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
    const QString line = run.outText();
    QCOMPARE(run.exitCode, problems.isEmpty() ? 0 : 1);
    QCOMPARE(line.count(QLatin1Char('\n')), 1);
    QVERIFY2(line.startsWith(path + QStringLiteral(": ")), qPrintable(line));
    if (problems.isEmpty())
        QCOMPARE(line, path + QStringLiteral(": sound\n"));
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
}

// The value at a path of keys and array indexes, such as "blocks/0/device/carNo".
static QJsonValue valueAt(QJsonValue value, const QString &path)
{
    for (const QString &key : path.split('/')) {
        bool index = false;
        const int i = key.toInt(&index);
        value = index ? value.toArray().at(i) : value.toObject().value(key);
    }
    return value;
}

void TestCli::dumpJsonEveryBlock()
{
    const QString path = write("json/" + dayFileName(kDay), container(everyBlock()));
    const CliRun run = runCli({"dump", path, "--json"});
    QCOMPARE(run.exitCode, 0);
    const QJsonObject day = parseJson(run.out);
    QCOMPARE(day["blocks"].toArray().size(), 5);
    for (const QJsonValue &b : day["blocks"].toArray())
        QCOMPARE(b.toObject()["status"].toString(), QStringLiteral("ok"));
    const QJsonValue null;
    const QList<QPair<QString, QJsonValue>> values = {
        {"file", dayFileName(kDay)},
        {"name/day", "2024/01/31"},
        {"checksum/ok", true},
        {"sound", true},
        {"blocks/0/layout", "old"},
        {"blocks/0/device/certificate", "C730519286404-12345678"},
        {"blocks/0/device/carNo", QString::fromUtf8("\xe4\xba\xac"
                                                    "A-1234")},
        {"blocks/0/mileageCalibrations/0/after", "234.5 km"},
        {"blocks/0/restThresholds/0/before", "00:15"},
        {"blocks/1/errorCount", 1},
        {"blocks/1/errors/0/typeText", "GPS Fail"},
        {"blocks/1/errors/0/duration", "00:01:30"},
        {"blocks/1/events/0/end", "----/--/-- --:--:--"},
        {"blocks/1/events/0/duration", "continuing"},
        {"blocks/1/events/1/count", 1},
        {"blocks/2/minutes/1/start", "2024/01/31 12:01:00"},
        {"blocks/2/minutes/0/speeds/0", 50},
        {"blocks/2/minutes/0/speeds/1", null},
        {"blocks/2/minutes/0/mileages/0", "1234.0"},
        {"blocks/2/minutes/1/mileages/119", null},
        {"blocks/3/records/3/actionText", "Resting"},
        {"blocks/3/records/3/current", false},
        {"blocks/3/records/3/master", 2},
        {"driverTotals/0/driver", "A1"},
        {"driverTotals/0/stopping", "00:45:00"},
        {"driverTotals/1/driving", "00:30:00"},
        {"blocks/4/fixes/0/height", "12.3 m"},
        {"blocks/4/fixes/1/longitude", "0"},
        {"locationHours", QJsonArray({"2024/01/31 06:10:00", "2024/01/31 07:05:00"})},
    };
    for (const auto &value : values)
        QVERIFY2(valueAt(day, value.first) == value.second, qPrintable(value.first));

    // a failing block carries its message; the others are still decoded
    const QString damaged = write("json2/" + dayFileName(kDay), container(withBlock(2, speedData() + 'x')));
    const QJsonObject day2 = parseJson(runCli({"dump", "--json", damaged}).out);
    QCOMPARE(day2["sound"].toBool(), false);
    QCOMPARE(valueAt(day2, "blocks/2/status"), QJsonValue("failed"));
    QCOMPARE(valueAt(day2, "blocks/2/message"), QJsonValue("DT_SPD_DATA Data Size Error"));
    QCOMPARE(valueAt(day2, "blocks/4/fixes").toArray().size(), 2);
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
    // the events and driver tables are compared with the viewer in tst_cliviewer
    CliRun run = runCli({"export", path, "--table", "location"});
    QCOMPARE(run.exitCode, 0);
    const QList<QStringList> records = parseCsv(run.out);
    QCOMPARE(records.size(), 3);
    QCOMPARE(records.at(2), QStringList({"2024/01/31 07:05:00", "0", "0", "0", "42 km/h"}));

    QCOMPARE(runCli({"export", path, "--table", "nonsense"}).exitCode, 2);
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
    QTest::newRow("no command") << QStringList{} << 2 << "";
    QTest::newRow("unknown option") << QStringList{"dump", "--frob", "x.vdr"} << 2 << "";
    QTest::newRow("download without port") << QStringList{"download", "--recent", "3"} << 2 << "";
    QTest::newRow("download, both ways")
        << QStringList{"download", "--port",     "/dev/null", "--recent",  "3",
                       "--from",   "2024-01-01", "--to",      "2024-01-02"}
        << 2 << "";
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
    QCOMPARE(run.exitCode, exitCode);
    if (exitCode == 0)
        QVERIFY2(run.outText().contains(outputPiece), qPrintable(run.outText()));
    else
        QVERIFY(!run.errText().isEmpty());
}

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
