// The command-line tool on day files built by the project's encoder: check (faults, folders,
// exit codes), dump --json (values of every block kind), export (RFC 4180 quoting, byte-order
// mark, the full day's speed rows) and the usage and read errors.
#include "support/clirunner.h"

#include "core/vdr/tableexport.h"
#include "support/testsupport.h"
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

// Every block kind once, in the order technology, fault and event, speed, driving, location.
// The vendor and the address need quoting in CSV.
QVector<Block> everyBlock()
{
    DeviceInfo device;
    device.vendor = "Vendor, \"Quoted\"";
    device.address = "Line one\nLine two";
    device.certificate = "12345678";
    device.carNo = "\xe4\xba\xac"
                   "A-1234";
    device.newLayout = false;
    QVector<SpeedRecord> minutes(2);
    for (int m = 0; m < 2; ++m) {
        minutes[m].start = at(12, m, 0);
        minutes[m].speed.fill(0);
        minutes[m].mileage.fill(12340 + m);
    }
    minutes[0].speed[0] = 50;
    minutes[0].speed[1] = NoSpeed;
    minutes[1].mileage[119] = NoMileage;
    LocationRecord fix;
    fix.time = at(6, 10, 0);
    fix.longitude = coordinate(121, 30);
    fix.latitude = coordinate(25, 3);
    fix.height = 123;
    fix.speed = 42;
    LocationRecord lost = fix;
    lost.time = at(7, 5, 0);
    lost.status = 0;
    return {
        {TechnologyId, "DT_TECH_DATA",
         technologyBlock(device, {{"Op", bcdMileage(100), bcdMileage(2345), at(9, 1, 0), at(9, 2, 0)}}, {},
                         {}, {{at(9, 5, 0), at(9, 5, 1), bcdHourMinute(0, 15), bcdHourMinute(0, 20)}})},
        {FaultEventId, "DT_ERR_EVENT_DATA",
         faultEventBlock({{'5', at(8, 0, 0), at(8, 1, 30)}},
                         {{'2', at(10, 0, 0), zeroStamp(), 3}, {'3', at(11, 0, 0), at(11, 0, 30), 1}})},
        {SpeedId, "DT_SPD_DATA", speedBlock(minutes)},
        {DrivingId, "DT_DRIVE_DATA",
         drivingBlock({{"A1", drivingStatus(true, Driving, 1), at(6, 0, 0)},
                       {"A1", drivingStatus(true, Stopping, 1), at(7, 0, 0)},
                       {"B2", drivingStatus(true, Driving, 1), at(7, 30, 0)},
                       {"A1", drivingStatus(false, Resting, 2), at(7, 45, 0)},
                       {"B2", drivingStatus(true, Stopping, 1), at(8, 0, 0)}})},
        {LocationId, "DT_LOCATE_DATA", locationBlock({fix, lost})}};
}

// A JSON value as short text: scalars as written, null and a missing value by name, an object
// as "{}" and an array as its elements' texts in brackets.
QString text(const QJsonValue &v)
{
    if (v.isNull() || v.isUndefined())
        return v.isNull() ? QStringLiteral("null") : QStringLiteral("missing");
    if (v.isObject())
        return QStringLiteral("{}");
    if (!v.isArray())
        return v.toVariant().toString();
    QStringList items;
    for (const QJsonValue &item : v.toArray())
        items << text(item);
    return QLatin1Char('[') + items.join(QStringLiteral(", ")) + QLatin1Char(']');
}

} // namespace

class TestCli : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void dumpJson_data();
    void dumpJson();
    void exportSpeedFullDay();
    void commands_data();
    void commands();

private:
    QTemporaryDir dir;
    QString sound;         // a sound day file
    QJsonObject dumped[2]; // dump --json of the sound day, and of one whose speed block is too long
    QString write(const QString &name, const QByteArray &bytes)
    {
        const QFileInfo info(dir.filePath(name));
        return testsupport::writeFile(info.absolutePath(), info.fileName(), bytes);
    }
};

void TestCli::initTestCase()
{
    sound = write("sound/" + dayFileName(kDay), container(everyBlock()));
    QVector<Block> longSpeed = everyBlock();
    longSpeed[2].data += 'x';
    const QString damaged = write("damaged/" + dayFileName(kDay), container(longSpeed));
    for (int i = 0; i < 2; ++i) {
        const CliRun run = runCli({"dump", i ? damaged : sound, "--json"});
        QCOMPARE(run.exitCode, 0);
        dumped[i] = QJsonDocument::fromJson(run.out).object();
    }
    ContainerOptions badSum;
    badSum.corruptChecksum = true;
    write("folder/D20240101__.vdr", container(everyBlock()));
    write("folder/D20240102__.VDR", container(everyBlock(), badSum));
    write("folder/notes.txt", "not a day file");
    QDir(dir.path()).mkpath(QStringLiteral("empty"));
}

// The driver totals, the location hours and the minutes' starts are compared with what the
// viewer shows in tst_cliviewer.
void TestCli::dumpJson_data()
{
    QTest::addColumn<QString>("path"); // keys and indexes; "damaged/..." reads the second dump
    QTest::addColumn<QString>("value");
    auto row = [](const char *path, const QString &value) { QTest::newRow(path) << path << value; };
    row("file", dayFileName(kDay));
    row("name/day", "2024/01/31");
    row("checksum/ok", "true");
    row("sound", "true");
    row("blocks/0/status", "ok");
    row("blocks/0/layout", "old");
    row("blocks/0/device/vendor", "Vendor, \"Quoted\"");
    row("blocks/0/device/certificate", "C730519286404-12345678");
    row("blocks/0/device/carNo", QString::fromUtf8("\xe4\xba\xac") + "A-1234");
    row("blocks/0/mileageCalibrations/0/before", "10.0 km");
    row("blocks/0/mileageCalibrations/0/after", "234.5 km");
    row("blocks/0/restThresholds/0/before", "00:15");
    row("blocks/1/errorCount", "1");
    row("blocks/1/errors/0/typeText", "GPS Fail");
    row("blocks/1/errors/0/start", "2024/01/31 08:00:00");
    row("blocks/1/errors/0/duration", "00:01:30");
    row("blocks/1/events", "[{}, {}]");
    row("blocks/1/events/0/end", "----/--/-- --:--:--");
    row("blocks/1/events/0/duration", "continuing");
    row("blocks/1/events/0/count", "3");
    row("blocks/2/minutes/0/speeds/0", "50");
    row("blocks/2/minutes/0/speeds/1", "null");
    row("blocks/2/minutes/0/mileages/0", "1234.0");
    row("blocks/2/minutes/1/mileages/119", "null");
    row("blocks/3/records/3/actionText", "Resting");
    row("blocks/3/records/3/current", "false");
    row("blocks/3/records/3/master", "2");
    row("blocks/4/fixes/0/height", "12.3 m");
    row("blocks/4/fixes/1/longitude", "0");
    // a failing block carries its message; the others are still decoded
    row("damaged/sound", "false");
    row("damaged/blocks/2/status", "failed");
    row("damaged/blocks/2/message", "DT_SPD_DATA Data Size Error");
    row("damaged/blocks/4/fixes", "[{}, {}]");
}

void TestCli::dumpJson()
{
    QFETCH(QString, path);
    QFETCH(QString, value);
    QStringList keys = path.split(QLatin1Char('/'));
    const bool damaged = keys.first() == QLatin1String("damaged");
    if (damaged)
        keys.removeFirst();
    QJsonValue v = dumped[damaged ? 1 : 0];
    for (const QString &key : qAsConst(keys))
        v = v.isArray() ? v.toArray().at(key.toInt()) : v.toObject().value(key);
    QCOMPARE(text(v), value);
}

// The full sample day: one row per half-second sample with a speed, counted from the bytes.
void TestCli::exportSpeedFullDay()
{
    const QByteArray bytes = sampleDay(kDay);
    const CliRun speed = runCli({"export", write("speed/" + dayFileName(kDay), bytes), "--table", "speed"});
    QCOMPARE(speed.exitCode, 0);
    const vdr::BlockInfo block = vdr::walkContainer(bytes).blocks.at(2);
    QCOMPARE(int(block.dataId), 1);
    const uchar *p = reinterpret_cast<const uchar *>(bytes.constData()) + block.dataOffset + 4;
    int samples = 0;
    for (int m = 0; m < 1440; ++m)
        for (int j = 0; j < 120; ++j)
            samples += p[m * 607 + 7 + j] != 0xFF;
    QVERIFY(samples > 1000);
    QCOMPARE(speed.out.count("\r\n"), samples + 1);
    QVERIFY(speed.out.startsWith("\xEF\xBB\xBF"
                                 "DateTime,Speed (0.5sec),Mileage(km)\r\n2024/01/31 00:00:"));
    // every technology row has as many cells as the table has captions
    const vdr::TextTable tech = vdr::exportRows(
        vdr::analyseDayFile(dayFileName(kDay), container(everyBlock())), vdr::ExportTable::Technology);
    for (const QStringList &row : tech.rows)
        QCOMPARE(row.size(), tech.captions.size());
}

// The tool's answers as a whole: the exit code, a piece of standard error, and standard output
// matched by a pattern ("." matches line breaks too, <BOM> stands for the byte-order mark).
void TestCli::commands_data()
{
    QTest::addColumn<QStringList>("arguments"); // %s: the sound day, %d: the temporary folder, %f: the file
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("err");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("name"); // of the file, with these bytes
    QTest::addColumn<QByteArray>("bytes");
    auto row = [](const char *tag, const QStringList &arguments, int exitCode, const QString &err,
                  const QString &out = QString()) {
        QTest::newRow(tag) << arguments << exitCode << err << out << QString() << QByteArray();
    };
    // check on one file: a line with the file's path and "sound", or each problem in turn
    auto check = [](const char *tag, const QString &name, const QByteArray &bytes,
                    const QStringList &problems) {
        QStringList pieces;
        for (const QString &problem : problems)
            pieces << QRegularExpression::escape(problem);
        QTest::newRow(tag)
            << QStringList{"check", "%f"} << (problems.isEmpty() ? 0 : 1) << QString()
            << "^%f: " + (problems.isEmpty() ? "sound" : "[^\n]*" + pieces.join("[^\n]*") + "[^\n]*") + "\n$"
            << name << bytes;
    };

    const QString good = dayFileName(kDay);
    const QByteArray sound = container(everyBlock());
    ContainerOptions badSum;
    badSum.corruptChecksum = true;
    ContainerOptions extraBlock;
    extraBlock.blockCountOverride = 6;
    ContainerOptions longLast;
    longLast.dataSizeOverrideForLast = 1 << 20;
    QVector<Block> shortLocation = everyBlock(), twoBad = everyBlock();
    shortLocation[4].data.truncate(30);
    twoBad[4].data = "x";
    twoBad[2].data += 'x';
    check("sound", good, sound, {});
    check("name without three parts", "D20240131.vdr", sound, {"does not split into three parts"});
    check("name not a day", "D20241341__.vdr", sound, {"does not name a valid day"});
    check("checksum", good, container(everyBlock(), badSum),
          {QString("checksum computed 0x%1, stored 0x%2")
               .arg(quint8(sound.back()), 2, 16, QLatin1Char('0'))
               .arg(quint8(~sound.back()), 2, 16, QLatin1Char('0'))});
    check("walk past the end: header", good, container(everyBlock(), extraBlock),
          {"block 6 of 6", "header runs past the end"});
    check("walk past the end: data", good, container(everyBlock(), longLast),
          {"block 5 of 5 (data type 4) declares 1048576"});
    check("empty", good, QByteArray(), {"no data in the file"});
    check("block", good, container(shortLocation),
          {"block 5 (data type 4, 30 bytes): DT_LOCATE_DATA Data Size Error"});
    check("name, checksum and two blocks at once", "X.vdr", container(twoBad, badSum),
          {"three parts", "checksum computed", "DT_SPD_DATA", "DT_LOCATE_DATA"});
    // A folder stands for its day files (any case of ".vdr") in name order.
    row("folder and file", {"check", "%d/folder", "%s"}, 1, "",
        "^%d/folder/D20240101__.vdr: sound\n%d/folder/D20240102__.VDR: checksum computed [^\n]+\n%s: "
        "sound\n$");
    // A read error does not stop the other files from being checked.
    row("missing file", {"check", "%s", "%d/missing.vdr"}, 2, "missing.vdr: cannot read", "^%s: sound\n$");
    row("folder without day files", {"check", "%s", "%d/empty"}, 2, "empty: no .vdr files in the folder",
        "^%s: sound\n$");
    row("device", {"check", "/dev/zero"}, 2, "/dev/zero: cannot read: not a regular file", "^$");
    // Quoting: the vendor holds a comma and quotes, the address a line break.
    row("technology table", {"export", "%s", "--table", "technology"}, 0, "",
        "^<BOM>Record,Index,Operator,Item,Before,After\r\nDevcie Info,,,Vendor,\"Vendor, "
        "\"\"Quoted\"\"\",\r\n"
        "Devcie Info,,,Address,\"Line one\nLine two\",\r\n.*\r\n$");
    row("technology table in Chinese", {"export", "%s", "--table", "technology", "--lang", "zh_TW"}, 0, "",
        "^<BOM>記錄,索引,操作者,項目,調整前,調整後\r\n裝置資訊,,,製造商名稱,");
    row("unknown language", {"export", "%s", "--table", "events", "--lang", "fr"}, 2,
        "--lang must be one of: en_US, zh_TW");
    row("location table", {"export", "%s", "--table", "location"}, 0, "",
        "^<BOM>[^\n]+\r\n[^\n]+\r\n2024/01/31 07:05:00,0,0,0,42 km/h\r\n$");
    row("unknown table", {"export", "%s", "--table", "nonsense"}, 2,
        "--table must be one of: events, speed, driver, technology, location");
    const QString download = "tavrin-vdr download: ";
    row("--help", {"--help"}, 0, "", "Commands:");
    row("no command", {}, 2, "tavrin-vdr: no command given");
    row("unknown command", {"frob"}, 2, "unknown command 'frob'");
    row("unknown option", {"dump", "--frob", "x.vdr"}, 2, "Unknown option 'frob'");
    row("download without port", {"download", "--recent", "3"}, 2, download + "--port DEVICE is required");
    row("download, both ways",
        {"download", "--port", "/dev/null", "--recent", "3", "--from", "2024-01-01", "--to", "2024-01-02"}, 2,
        download + "give either --from and --to, or --recent");
    row("download, bad hours", {"download", "--port", "/dev/null", "--recent", "25"}, 2,
        download + "--recent wants 1 to 24 hours");
    row("download, missing port", {"download", "--port", "/nonexistent/tty", "--recent", "3"}, 2,
        "/nonexistent/tty: cannot open");
}

void TestCli::commands()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, err);
    QFETCH(QString, out);
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    const QString file = name.isEmpty()
                             ? QString()
                             : write(QStringLiteral("files/%1/").arg(QTest::currentDataTag()) + name, bytes);
    const QString paths[][2] = {{"%s", sound}, {"%d", dir.path()}, {"%f", file}};
    for (const auto &path : paths) {
        arguments.replaceInStrings(path[0], path[1]);
        out.replace(path[0], QRegularExpression::escape(path[1]));
    }
    const CliRun run = runCli(arguments);
    QCOMPARE(run.exitCode, exitCode);
    QVERIFY2(run.errText().contains(err), qPrintable(run.errText()));
    QVERIFY(exitCode != 2 || !run.err.isEmpty());
    const QString got = QString::fromUtf8(QByteArray(run.out).replace("\xEF\xBB\xBF", "<BOM>"));
    QVERIFY2(got.contains(QRegularExpression(out, QRegularExpression::DotMatchesEverythingOption)),
             qPrintable(got));
}

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
