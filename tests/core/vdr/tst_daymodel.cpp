// The day model without a window: the day file's name, the recorder timestamp, the container
// walk, and each block kind as its decoder gives it (size rules, records, the texts and cells of
// its pages, the chart lines, the cursor lookups and the dumps).
#include "core/vdr/recordertime.h"
#include "support/fixtures.h"
#include "support/testsupport.h"

#include <QElapsedTimer>
#include <QFile>
#include <QtTest>

using namespace fixtures;
using testsupport::mwTr;
using vdr::ContainerWalk;
using vdr::SizeError;
using vdrenc::DrivingRecord;
using vdrenc::stamp;
using Points = QVector<QPointF>;
using Totals = vdr::ActivityTotals;
Q_DECLARE_METATYPE(ContainerWalk::Stop)
Q_DECLARE_METATYPE(SizeError)
Q_DECLARE_METATYPE(Points)
Q_DECLARE_METATYPE(Totals)
Q_DECLARE_METATYPE(DrivingRecord)

namespace {

const QDateTime kNoon = at(12, 0);

qint64 ms(int h, int m, int s = 0)
{
    return at(h, m, s).toMSecsSinceEpoch();
}

QByteArray u16(int value)
{
    return QByteArray(1, char(value & 0xFF)) + char(value >> 8);
}

vdr::DrivingData decodeDriving(const QVector<DrivingRecord> &records)
{
    return decode(vdr::DrivingBlock, vdrenc::drivingBlock(records)).driving;
}

vdr::SpeedResult decodeSpeed(const QVector<vdrenc::SpeedRecord> &records)
{
    return decode(vdr::SpeedBlock, vdrenc::speedBlock(records)).speed;
}

vdr::LocationResult decodeLocation(const QByteArray &block)
{
    return decode(vdr::LocationBlock, block).location;
}

vdrenc::LocationRecord fix(const QByteArray &time, qint32 lon = 121303000, qint32 lat = 25031234,
                           qint16 height = 105, quint8 speed = 60, quint8 status = 1)
{
    return {time, lon, lat, height, speed, status};
}

QStringList changeIds(const QVector<vdr::DriverChange> &list)
{
    QStringList ids;
    for (const vdr::DriverChange &change : list)
        ids << change.id;
    return ids;
}

vdrenc::DeviceInfo device(bool newLayout)
{
    vdrenc::DeviceInfo info;
    info.vendor = "Tavrin";
    info.address = "12 Quay Road";
    info.serial = "SN000417";
    info.firmware = {0x01, 0x02, 0x1A, 0x33};
    info.installTime = stamp(2023, 7, 15, 10, 30, 0);
    info.mfdDate = vdrenc::bcdDate(2023, 6, 1);
    info.certificate = newLayout ? "TVR-2023-000417" : "12345678";
    info.carNo = "ABC-567";
    info.newLayout = newLayout;
    return info;
}

// A technology block with one record in each list.
QByteArray fullTechnologyBlock(bool newLayout)
{
    using namespace vdrenc;
    return technologyBlock(device(newLayout),
                           {{"Wang", bcdMileage(123456), bcdMileage(123460), stamp(2023, 12, 1, 9, 12, 44),
                             stamp(2023, 12, 1, 9, 14, 2)}},
                           {{stamp(2023, 12, 1, 8, 15, 37), stamp(2023, 12, 1, 8, 15, 2)}},
                           {{stamp(2023, 12, 1, 9, 20, 0), stamp(2023, 12, 1, 9, 20, 6), bcdHourMinute(3, 30),
                             bcdHourMinute(4, 0)}},
                           {{stamp(2023, 12, 1, 9, 21, 0), stamp(2023, 12, 1, 9, 21, 4),
                             QByteArray::fromHex("0015"), QByteArray::fromHex("2500")}});
}

} // namespace

class TestDayModel : public QObject
{
    Q_OBJECT

private slots:
    // the file
    void dayFileName_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("threeParts");
        QTest::addColumn<QDate>("day");

        QTest::newRow("optional text") << "D20211008__ABC-567.vdr" << true << QDate(2021, 10, 8);
        QTest::newRow("two pieces") << "D20211008_.vdr" << false << QDate(2021, 10, 8);
        QTest::newRow("four pieces") << "D20211008___.vdr" << false << QDate(2021, 10, 8);
        QTest::newRow("month 13") << "D20211332__.vdr" << true << QDate();
        QTest::newRow("no leap day") << "D20230229__.vdr" << true << QDate();
        QTest::newRow("short first piece") << "D2024013__.vdr" << true << QDate(2024, 1, 3);
    }

    void dayFileName()
    {
        QFETCH(QString, name);
        QFETCH(bool, threeParts);
        QFETCH(QDate, day);
        const vdr::DayNameCheck check = vdr::checkDayFileName(name);
        QCOMPARE(check.threeParts, threeParts);
        QCOMPARE(check.day, day);
        QCOMPARE(check.ok(), threeParts && day.isValid());
    }

    // The texts of the recorder's fields: its timestamp (in the local time zone), the BCD date, time
    // and mileage, the firmware version, and the duration of an "error" or "event" record of a type.
    void fieldTexts_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QByteArray>("field"); // a duration: the start and end stamps
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("zone"); // local time zone, empty: the test's own

        const auto row = [](const char *name, const char *kind, const QByteArray &field, const QString &text,
                            const char *zone = "") {
            QTest::newRow(name) << QString(kind) << field << text << QByteArray(zone);
        };
        const auto hex = [](const char *text) { return QByteArray::fromHex(text); };
        const QString none = vdr::noTimeText();
        row("valid", "stamp", hex("20211008130509"), "2021/10/08 13:05:09");
        row("all zero", "stamp", QByteArray(7, '\0'), none);
        row("month 0x13", "stamp", hex("20211308130509"), none);
        row("hour 0x24", "stamp", hex("20211008240509"), none);
        row("day 0x0A reads 10", "stamp", hex("2021100A130509"), "2021/10/10 13:05:09");
        row("0xFF is negative", "stamp", hex("2021FF08130509"), none);
        // Date and time each valid, but the clocks skip that hour; the hour that comes twice is kept.
        row("Berlin spring gap", "stamp", hex("20240331023000"), none, "Europe/Berlin");
        row("New York spring gap", "stamp", hex("20240310021500"), none, "America/New_York");
        row("Berlin autumn hour twice", "stamp", hex("20241027023000"), "2024/10/27 02:30:00",
            "Europe/Berlin");

        row("date 30 February", "date", hex("20210230"), "----/--/--");
        row("date month 0x0A", "date", hex("20240A01"), "2024/10/01");
        row("time 23:59", "time", hex("2359"), "23:59");
        row("time hour 25", "time", hex("2500"), "hh:mm");
        row("time nibbles 0A 0F", "time", hex("0A0F"), "10:15");
        row("mileage 00 12 34 56", "mileage", hex("00123456"), "12345.6 km");
        row("mileage nibble 0A", "mileage", hex("0000000A"), "1.0 km");
        row("mileage FF", "mileage", hex("FFFFFFFF"), "16666666.5 km");
        row("firmware a.0.ff", "firmware", hex("0A00FF"), "a.0.ff");

        const QByteArray t0 = stamp(2021, 10, 8, 13, 5, 9), zero = vdrenc::zeroStamp();
        const QString continuing = mwTr("continuing");
        row("one hour two minutes one second", "error 0", t0 + stamp(2021, 10, 8, 14, 7, 10), "01:02:01");
        row("100 hours", "error 0", t0 + stamp(2021, 10, 12, 17, 5, 9), "100:00:00");
        row("running Driving Over", "event 2", t0 + zero, continuing);
        row("running Download Fail", "event 3", t0 + zero, "00:00:00");
        row("running error", "error 2", t0 + zero, "00:00:00");
        row("both invalid, Driving Over", "event 2", zero + zero, "00:00:00");
        row("end before start", "event 2", t0 + stamp(2021, 10, 8, 13, 5, 8), continuing);
        // 0x0A reads as 10: the end is on the 10th, two days and 58 minutes later.
        row("day byte 0x0A", "error 0", t0 + hex("2021100A140309"), "48:58:00");
        // Across the end of unsigned 32-bit seconds (2106-02-07): still counted correctly.
        row("across 2106-02-07", "error 0", stamp(2106, 2, 6, 0, 0, 0) + stamp(2106, 2, 9, 0, 0, 0),
            "72:00:00");
    }

    void fieldTexts()
    {
        QFETCH(QString, kind);
        QFETCH(QByteArray, field);
        QFETCH(QString, text);
        QFETCH(QByteArray, zone);
        const ZoneGuard guard(zone);
        const uchar *p = bytes(field);
        if (kind == "stamp" && text != vdr::noTimeText())
            QCOMPARE(vdr::recorderDateTime(p).toString(QStringLiteral("yyyy/MM/dd hh:mm:ss")), text);
        const QString actual =
            kind == "stamp"     ? vdr::recorderTimeText(p)
            : kind == "date"    ? vdr::bcdDateText(p)
            : kind == "time"    ? vdr::bcdTimeText(p)
            : kind == "mileage" ? vdr::bcdMileageText(p)
            : kind == "firmware"
                ? vdr::firmwareVersionText(p)
                : vdr::faultDurationText(p, p + 7, kind.startsWith("event"), kind.right(1).toInt());
        QCOMPARE(actual, text);
    }

    void walk_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<bool>("checksumOk");
        QTest::addColumn<ContainerWalk::Stop>("stop");
        QTest::addColumn<QByteArray>("dataIds");
        QTest::addColumn<qint64>("finalOffset");

        const vdrenc::Block a{1, "DT_SPD_DATA", QByteArray(10, 'a')};
        const vdrenc::Block b{0, "DT_ERR_DATA", QByteArray(4, '\0')};
        const vdrenc::Block unknown{7, "DT_SEVEN", QByteArray(5, 'x')};

        const auto row = [](const char *name, const QByteArray &file, bool checksumOk,
                            ContainerWalk::Stop stop, const char *ids, qint64 end) {
            QTest::newRow(name) << file << checksumOk << stop << QByteArray::fromHex(ids) << end;
        };
        using vdrenc::container;
        const auto complete = ContainerWalk::Complete, header = ContainerWalk::HeaderTruncated,
                   data = ContainerWalk::DataTruncated;
        row("no blocks", container({}), true, complete, "", 2);
        row("one byte", QByteArray(1, '\x5a'), false, ContainerWalk::CountTruncated, "", 0);
        row("unknown type kept in order", container({unknown, a}), true, complete, "0701", 63);
        row("bad checksum still walked", container({a}, {-1, -1, {}, true}), false, complete, "01", 35);
        row("gap before checksum not read", container({a}, {-1, -1, QByteArray(9, 'g'), false}), true,
            complete, "01", 35);
        row("count one too many", container({a, b}, {3, -1, {}, false}), true, header, "0100", 62);
        row("header cut short", container({a}, {2, -1, QByteArray(22, 'h'), false}), true, header, "01", 35);
        row("header exactly fits, data does not",
            container({a},
                      {2, -1, QByteArray::fromHex("01") + QByteArray(18, 0) + QByteArray::fromHex("01000000"),
                       false}),
            true, data, "01", 35);
        row("size one byte over", container({a, b}, {-1, 5, {}, false}), true, data, "01", 35);
        row("size into the checksum byte", container({a}, {-1, 11, {}, false}), true, data, "", 2);
        row("size 0xFFFFFFFF", container({a}, {-1, 0xFFFFFFFF, {}, false}), true, data, "", 2);
        QTest::newRow("sample day") << vdrenc::sampleDay(kDay) << true << complete << QByteArray("sample")
                                    << qint64(-1);
    }

    void walk()
    {
        QFETCH(QByteArray, file);
        QFETCH(bool, checksumOk);
        QFETCH(ContainerWalk::Stop, stop);
        QFETCH(QByteArray, dataIds);
        QFETCH(qint64, finalOffset);

        const ContainerWalk walk = vdr::walkContainer(file);
        QCOMPARE(walk.checksumOk(), checksumOk);
        QCOMPARE(walk.stop, stop);
        QByteArray ids;
        for (const vdr::BlockInfo &block : walk.blocks) {
            ids.append(char(block.dataId));
            QVERIFY(block.dataOffset + qint64(block.dataSize) <= file.size() - 1); // before the checksum
        }
        if (dataIds == "sample") { // all five kinds, walked to the checksum byte
            std::sort(ids.begin(), ids.end());
            QCOMPARE(ids.toHex(), QByteArray("0001020304"));
            QCOMPARE(walk.finalOffset, qint64(file.size() - 1));
            return;
        }
        QCOMPARE(ids.toHex(), dataIds.toHex());
        QCOMPARE(walk.finalOffset, finalOffset);
        QCOMPARE(walk.complete(), vdr::walkProblemText(walk).isEmpty());
    }

    // Every block in file order with the message of the rule it breaks; the change list runs on
    // over the sound driving blocks.
    void dayModel()
    {
        using namespace vdrenc;
        const auto changes = [](const char *first, int firstHour, const char *second) {
            return drivingBlock(
                {driving(first, Driving, firstHour, 0), driving(second, Driving, firstHour + 1, 0)});
        };
        DeviceInfo device;
        device.carNo = "ABC-567";
        const QByteArray tech = technologyBlock(device, {}, {}, {}, {}); // new layout, no records
        const QVector<Block> blocks = {
            {FaultEventId, "E", QByteArray(1, '\0')},     {FaultEventId, "E", faultEventBlock({}, {}) + 'x'},
            {SpeedId, "S", QByteArray(5, '\0')},          {TechnologyId, "T", tech.left(128)},
            {TechnologyId, "T", tech.left(129)},          {TechnologyId, "T", tech.left(131)},
            {TechnologyId, "T", tech.left(132)},          {TechnologyId, "T", tech.left(133)},
            {DrivingId, "D", changes("A", 8, "B")},       {7, "X", "xyz"},
            {DrivingId, "D", changes("A", 8, "B") + 'x'}, {DrivingId, "D", changes("B", 10, "C")},
            {LocationId, "L", QByteArray(3, '\0')},
        };
        const vdr::DayReport day = vdr::analyseDayFile("D20240131__x.vdr", container(blocks));
        QCOMPARE(day.day(), kDay);
        QStringList messages, ids;
        for (const vdr::BlockReport &block : day.blocks)
            messages << block.message();
        QCOMPARE(messages,
                 QStringList({"DT_ERR_DATA Data Size Error", "DT_EVENT_DATA Data Size Error",
                              "DT_SPD_DATA Data Size Error", "DT_VENDOR_DATA Data Size Error",
                              "DT_MILE_CALIB_RAW Data Size Error", "DT_TIME_CALIB_RAW Data Size Error",
                              "DT_THRES_CALIB_RAW(Drive) Data Size Error",
                              "DT_THRES_CALIB_RAW(Rest) Data Size Error", "", "",
                              "DT_DRIVE_DATA Data Size Error", "", "DT_LOCATE_DATA Data Size Error"}));
        QVERIFY(!day.blocks.at(9).known() && day.blocks.at(8).known());
        for (const vdr::DriverChange &c : day.driverChanges)
            ids << c.id + c.time.toString(" hh");
        QCOMPARE(ids, QStringList({"A 08", "B 09", "B 10", "C 11"}));
        QCOMPARE(day.lastSoundBlock(vdr::DrivingBlock), &day.blocks.at(11));
        QCOMPARE(day.lastBlock(vdr::LocationBlock), &day.blocks.at(12));
        QVERIFY(!day.lastSoundBlock(vdr::LocationBlock) && !day.lastBlock(5));
        QCOMPARE(day.problems().size(), 10);
        QCOMPARE(day.carNumber(), QStringLiteral("ABC-567")); // the device records that decoded
        QCOMPARE(vdr::DayReport().carNumber(), QString());
        QVERIFY(!vdr::analyseDayFile("D20240132__.vdr", container({})).day().isValid());
    }

    // The size rule of the fault and event, speed, driving and location blocks: what a block keeps,
    // and its dump (the last line, and the debug line of a failure after "Error-parseData_").
    void sizeRules_data()
    {
        QTest::addColumn<int>("dataId");
        QTest::addColumn<QByteArray>("block");
        QTest::addColumn<SizeError>("failure");
        QTest::addColumn<QString>("kept"); // fault and event: "errors+events"; else the record count
        QTest::addColumn<QString>("debugLine");

        const auto row = [](const char *name, int id, const QByteArray &block, SizeError failure,
                            const char *kept, const char *debug = "") {
            QTest::newRow(name) << id << block << failure << QString(kept) << QString(debug);
        };
        const QByteArray err(15, '1'), evt(16, '2');
        const int fault = vdr::FaultEventBlock, speed = vdr::SpeedBlock, drive = vdr::DrivingBlock,
                  location = vdr::LocationBlock;
        row("fault: empty", fault, {}, SizeError::Errors, "0+0", "00-1 DataSize:0  ofsset:2");
        row("fault: N=0, no M", fault, u16(0), SizeError::Events, "0+0", "00-2 DataSize:2  ofsset:4");
        row("fault: N=0 M=0 exact", fault, u16(0) + u16(0), SizeError::None, "0+0");
        row("fault: N=1 one short", fault, u16(1) + err.left(14), SizeError::Errors, "0+0",
            "00-1 DataSize:16  ofsset:17");
        row("fault: N=2 in 17 bytes", fault, u16(2) + err, SizeError::Errors, "0+0",
            "00-1 DataSize:17  ofsset:32");
        row("fault: N=1 exact, no room for M", fault, u16(1) + err, SizeError::Events, "1+0",
            "00-2 DataSize:17  ofsset:19");
        row("fault: N=1 M=1 one short", fault, u16(1) + err + u16(1) + evt.left(15), SizeError::Events, "1+0",
            "00-2 DataSize:34  ofsset:35");
        row("fault: N=1 M=1 exact", fault, u16(1) + err + u16(1) + evt, SizeError::None, "1+1");
        row("fault: N=1 M=1 one over", fault, u16(1) + err + u16(1) + evt + 'x', SizeError::Events, "1+0",
            "00-2 DataSize:36  ofsset:35");

        const QByteArray minute = vdrenc::speedBlock({speedMinute(kNoon)});
        row("speed: n = 0", speed, QByteArray(4, '\0'), SizeError::None, "0");
        row("speed: exact", speed, minute, SizeError::None, "1");
        row("speed: one byte over", speed, minute + '\0', SizeError::Speed, "1",
            "01 DataSize:612  ofsset:611");
        row("speed: one byte short", speed, minute.chopped(1), SizeError::Speed, "1",
            "01 DataSize:610  ofsset:611");
        // 607 x n + 4 = 104 in 32-bit arithmetic: a 104-byte block must not pass for n records
        row("speed: count whose size overflows 32 bits", speed,
            QByteArray::fromHex("1c02e5bf") + QByteArray(100, 0), SizeError::Speed, "3219456540",
            "01 DataSize:104  ofsset:1954210119784");

        const QByteArray two = vdrenc::drivingBlock({driving("A", 1, 8, 0), driving("B", 1, 9, 0)});
        row("driving: two records", drive, two, SizeError::None, "2");
        row("driving: one byte short", drive, two.left(53), SizeError::Driving, "0",
            "03 DataSize:53  ofsset:54");
        row("driving: one byte over", drive, two + '\0', SizeError::Driving, "0",
            "03 DataSize:55  ofsset:54");
        row("driving: count only half there", drive, QByteArray(1, 1), SizeError::Driving, "0",
            "03 DataSize:1  ofsset:2");

        const QByteArray one = vdrenc::locationBlock({fix(stamp(2024, 1, 31, 8, 0, 5))});
        row("location: count 0, exact", location, QByteArray(2, '\0'), SizeError::None, "0");
        row("location: count cut", location, QByteArray(1, '\0'), SizeError::Location, "0",
            "04 DataSize:1  ofsset:2");
        row("location: one fix, one short", location, one.chopped(1), SizeError::Location, "0",
            "04 DataSize:20  ofsset:21");
        row("location: one fix, exact", location, one, SizeError::None, "1");
        row("location: one fix, two over", location, one + "xy", SizeError::Location, "0",
            "04 DataSize:23  ofsset:21");
        row("location: count 65535 in 21 bytes", location, QByteArray("\xff\xff", 2) + one.mid(2),
            SizeError::Location, "0", "04 DataSize:21  ofsset:1245167");
    }

    void sizeRules()
    {
        QFETCH(int, dataId);
        QFETCH(QByteArray, block);
        QFETCH(SizeError, failure);
        QFETCH(QString, kept);
        QFETCH(QString, debugLine);

        const vdr::BlockReport r = decode(quint8(dataId), block);
        QCOMPARE(r.failure, failure);
        vdr::BlockDump dump;
        QString failed = r.message(); // the dump's last line on a failure
        switch (dataId) {
        case vdr::FaultEventBlock:
            QCOMPARE(QStringLiteral("%1+%2").arg(r.faultEvent.errors.size()).arg(r.faultEvent.events.size()),
                     kept);
            // the page shows the tables of the sections that passed
            QCOMPARE(vdr::faultEventTablesHtml(r.faultEvent).size(), failure == SizeError::Errors   ? 0
                                                                     : failure == SizeError::Events ? 1
                                                                                                    : 2);
            dump = vdr::faultEventDump(r.faultEvent);
            break;
        case vdr::SpeedBlock:
            QCOMPARE(QString::number(r.speed.records.count()), kept);
            if (!r.ok())
                QVERIFY(vdr::speedChartPoints(r.speed.records, r.speed.starts, 240).isEmpty() &&
                        vdr::speedRows(r.speed.records, 0).isEmpty());
            dump = vdr::speedDump(r.speed);
            failed = QStringLiteral("Speed Data Size Error");
            break;
        case vdr::DrivingBlock:
            QCOMPARE(QString::number(r.driving.records.size()), kept);
            dump = vdr::drivingDump(r.driving);
            failed = QStringLiteral("Drving Change Data Size Error");
            break;
        default:
            QCOMPARE(QString::number(r.location.fixes.size()), kept);
            QCOMPARE(r.location.hours.size(), r.location.fixes.size());
            dump = vdr::locationDump(r.location);
            failed = QStringLiteral("Gps Data Size Error");
        }
        QCOMPARE(dump.debugLine, debugLine.isEmpty() ? QString() : "Error-parseData_" + debugLine + ' ');
        if (!r.ok())
            QCOMPARE(dataId == vdr::FaultEventBlock ? dump.lines.last() : dump.lines.join('|'), failed);
    }
    // fault and event block

    void faultCellsAndDump()
    {
        const vdr::BlockReport report = decode(
            vdr::FaultEventBlock,
            vdrenc::faultEventBlock({{'7', stamp(2021, 10, 8, 13, 5, 9), stamp(2021, 10, 8, 14, 7, 10)}},
                                    {{'2', stamp(2021, 10, 8, 15, 0, 0), vdrenc::zeroStamp(), 3},
                                     {'\xB2', vdrenc::zeroStamp(), vdrenc::zeroStamp(), 0},
                                     {'8', vdrenc::zeroStamp(), vdrenc::zeroStamp(), 1}}));
        QVERIFY(report.ok());

        const QStringList head = {mwTr("Index"), mwTr("Type"), mwTr("Start"), mwTr("Duration")};
        const QList<QStringList> tables = {
            {mwTr("Error Record"), mwTr("Count:") + "1"},
            head,
            {"1", mwTr("SOC Fail"), "2021/10/08 13:05:09", "01:02:01"},
            {mwTr("Event Record"), mwTr("Count:") + "3"},
            head + QStringList{mwTr("Count")},
            {"1", mwTr("Driving Over"), "2021/10/08 15:00:00", mwTr("continuing"), "3"},
            {"2", mwTr("Power Loss"), "----/--/-- --:--:--", "00:00:00", "0"}, // not a digit: type 0
            {"3", "", "----/--/-- --:--:--", "00:00:00", "1"},                 // type 8 has no text
        };
        QCOMPARE(htmlCells(vdr::faultEventTablesHtml(report.faultEvent).join(QString())), tables);

        QCOMPARE(vdr::faultEventDumpHeading(), QStringLiteral("======= Error&Event Data ======="));
        const vdr::BlockDump dump = vdr::faultEventDump(report.faultEvent);
        // the dump shows the type character itself, not its text
        QCOMPARE(dump.lines, QStringList({
                                 "Error Count:1",
                                 "Type:7   Time:2021/10/08 13:05:09-2021/10/08 14:07:10",
                                 "Event Count:3",
                                 "Type:2   Time:2021/10/08 15:00:00-----/--/-- --:--:--   Total Count:3",
                                 "Type:\u00B2   Time:----/--/-- --:--:-------/--/-- --:--:--   Total Count:0",
                                 "Type:8   Time:----/--/-- --:--:-------/--/-- --:--:--   Total Count:1",
                             }));
        QVERIFY(dump.debugLine.isEmpty());
    }
    // technology block

    // The old layout is taken only when the block is exactly as long as it says; else the note
    // tells why the new one is.
    void technologyLayout_data()
    {
        QTest::addColumn<QByteArray>("block");
        QTest::addColumn<QString>("why");

        const QByteArray oldEmpty = vdrenc::technologyBlock(device(false), {}, {}, {}, {});
        const QByteArray oldFull = fullTechnologyBlock(false);
        QTest::newRow("old, all counts 0, exact") << oldEmpty << "";
        QTest::newRow("old, one byte more") << oldEmpty + '\0' << "size diff (126 / 125) use new";
        QTest::newRow("old with records, one byte short")
            << oldFull.chopped(1) << "size diff (232 / 233) use new";
        QTest::newRow("old, ends at the rest count")
            << oldFull.left(214) << "size over (214 / 214) in drvc, use new";
        QTest::newRow("new layout") << fullTechnologyBlock(true) << "size diff (242 / 125) use new";
        QTest::newRow("123 bytes, no clock list")
            << oldEmpty.left(123) << "size over (123 / 123) in timc, use new";
        QTest::newRow("empty") << QByteArray() << "size over (0 / 122) in milc, use new";
    }

    void technologyLayout()
    {
        QFETCH(QByteArray, block);
        QFETCH(QString, why);
        const vdr::TechnologyResult result = decode(vdr::TechnologyBlock, block).technology;
        QCOMPARE(result.newLayout, !why.isEmpty());
        QCOMPARE(result.layoutNote, why);
    }

    void technologySections_data()
    {
        QTest::addColumn<bool>("newLayout");
        QTest::addColumn<int>("size");
        QTest::addColumn<SizeError>("failure");
        QTest::addColumn<int>("failedEnd");
        QTest::addColumn<int>("tables"); // on the page: the device table and the lists before the failure

        // New layout with one record per list: device 129, mileage count 129..130, list to 189,
        // clock count 189, list to 204, drive count 204, list to 223, rest count 223, end 242.
        const auto row = [](const char *name, bool newLayout, int size, SizeError failure, int failedEnd,
                            int tables) {
            QTest::newRow(name) << newLayout << size << failure << failedEnd << tables;
        };
        row("new, device one short", true, 128, SizeError::Device, 129, 0);
        row("new, device only", true, 129, SizeError::MileageCalibrations, 131, 1);
        row("new, mileage list one short", true, 188, SizeError::MileageCalibrations, 189, 1);
        row("new, no clock count", true, 189, SizeError::ClockCalibrations, 190, 2);
        row("new, clock list one short", true, 203, SizeError::ClockCalibrations, 204, 2);
        row("new, no drive count", true, 204, SizeError::DriveThresholds, 205, 3);
        row("new, drive list one short", true, 222, SizeError::DriveThresholds, 223, 3);
        row("new, no rest count", true, 223, SizeError::RestThresholds, 224, 4);
        row("new, rest list one short", true, 241, SizeError::RestThresholds, 242, 4);
        row("new, exact", true, 242, SizeError::None, 0, 5);
        row("new, one byte over", true, 243, SizeError::RestThresholds, 242, 4);
        row("old, device one short", false, 119, SizeError::Device, 120, 0);
        row("old, exact", false, 233, SizeError::None, 0, 5);
        row("old, one byte over", false, 234, SizeError::RestThresholds, 233, 4);
    }

    void technologySections()
    {
        QFETCH(bool, newLayout);
        QFETCH(int, size);
        QFETCH(SizeError, failure);
        QFETCH(int, failedEnd);
        QFETCH(int, tables);

        QByteArray block = fullTechnologyBlock(newLayout).left(size);
        block.append(QByteArray(size - block.size(), '\0'));
        const HeapCopy exact(block);
        const vdr::TechnologyResult result =
            vdr::decodeTechnologyBlock(exact.data.data(), exact.size, newLayout);
        QCOMPARE(result.failure, failure);
        QCOMPARE(vdr::technologyTablesHtml(result).size(), tables);
        QCOMPARE(result.device.carNo, failure == SizeError::Device ? QString() : QStringLiteral("ABC-567"));

        // The dump ends at the failing section too, with its own texts.
        const vdr::BlockDump dump = vdr::technologyDump(result);
        const QStringList lastLines = {
            "Car No:        ABC-567", "Mile calibration Data Size Error", "Time calibration Data Size Error",
            "Driving THR calibration Data Size Error", "Resting THR calibration Data Size Error"};
        if (failure == SizeError::Device) {
            QCOMPARE(dump.lines, QStringList(vdr::sizeErrorText(failure)));
            QCOMPARE(dump.debugLine,
                     QString::asprintf("Error-parseData_02_1 DataSize:%d  ofsset:%d ", size, failedEnd));
        } else if (failure != SizeError::None) {
            QCOMPARE(dump.lines.last(), lastLines.at(tables));
            QCOMPARE(dump.debugLine,
                     QString::asprintf("Error-parseData_02_2 DataSize:%d  ofsset:%d ", size, failedEnd));
        } else {
            QVERIFY(dump.debugLine.isEmpty());
        }
    }

    void technologyCellsAndDump()
    {
        const vdr::TechnologyResult result =
            decode(vdr::TechnologyBlock, fullTechnologyBlock(false)).technology;
        QVERIFY(result.ok() && !result.newLayout);

        const auto title = [](const char *text) { return QStringList{mwTr(text), mwTr("Count:") + "1"}; };
        const QStringList heading = {mwTr("Index"), "-----", mwTr("Before"), mwTr("After")};
        const QList<QStringList> cells = {
            {mwTr("Devcie Info")},
            {mwTr("Vendor"), "Tavrin"},
            {mwTr("Address"), "12 Quay Road"},
            {mwTr("Serial No."), "SN000417"},
            {mwTr("FW Version"), "1.2.1a"},
            {mwTr("FW InstallTime"), "2023/07/15 10:30:00"},
            {mwTr("Mfd. Date"), "2023/06/01"},
            {mwTr("Certificate No."), "C730519286404-12345678"}, // the old layout's prefix
            {mwTr("Car No."), "ABC-567"},
            title("Calibrate Miles"),
            {mwTr("Index"), mwTr("Operator"), "-----", mwTr("Before"), mwTr("After")},
            {"1", "Wang", mwTr("Time"), "2023/12/01 09:12:44", "2023/12/01 09:14:02"},
            {mwTr("Threshold"), "12345.6 km", "12346.0 km"},
            title("Calibrate Time"),
            {mwTr("Index"), mwTr("Before"), mwTr("After")},
            {"1", "2023/12/01 08:15:37", "2023/12/01 08:15:02"},
            title("Calibrate Drive THR"),
            heading,
            {"1", mwTr("Time"), "2023/12/01 09:20:00", "2023/12/01 09:20:06"},
            {mwTr("Threshold"), "03:30", "04:00"},
            title("Calibrate Rest THR"),
            heading,
            {"1", mwTr("Time"), "2023/12/01 09:21:00", "2023/12/01 09:21:04"},
            {mwTr("Threshold"), "00:15", "hh:mm"},
        };
        QCOMPARE(htmlCells(vdr::technologyTablesHtml(result).join(QString())), cells);
        // the new layout shows its 17-byte certificate alone
        QCOMPARE(vdr::certificateText(decode(vdr::TechnologyBlock, fullTechnologyBlock(true)).technology),
                 QStringLiteral("TVR-2023-000417"));

        QCOMPARE(vdr::technologyDumpHeading(), QStringLiteral("======= Technology Data ======="));
        QCOMPARE(vdr::technologyDump(result).lines,
                 QStringList({
                     "Vendor:         Tavrin",
                     "Address:        12 Quay Road",
                     "SerialNo:       SN000417",
                     "FW Version:     \x01\x02\x1a\x33",
                     "FW InstallTime:2023/07/15 10:30:00",
                     "Mfd. Date:     2023/06/01",
                     "Certificate No:     12345678",
                     "Car No:        ABC-567",
                     "Mile calibration Count:1",
                     "admin:Wang mile:12345.6 km-12346.0 km Time:2023/12/01 09:12:44-2023/12/01 09:14:02",
                     "Time calibration Count:1",
                     "Time:2023/12/01 08:15:37-2023/12/01 08:15:02",
                     "Driving THR calibration Count:1",
                     "Time:2023/12/01 09:20:00-2023/12/01 09:20:06  Thres:03:30-04:00",
                     "Resting THR calibration Count:1",
                     "Time:2023/12/01 09:21:00-2023/12/01 09:21:04  Thres:00:15-hh:mm",
                 }));
    }
    // location block

    void coordinates_data()
    {
        QTest::addColumn<qint32>("value");
        QTest::addColumn<QString>("text");

        QTest::newRow("121 deg 30 min") << 121303000 << "121.5";
        QTest::newRow("remainder not used") << 25031234 << "25.05";
        QTest::newRow("negative") << -25031234 << "-25.05";
        QTest::newRow("minutes above 59") << 990000 << "1.65";
        QTest::newRow("one third") << 10200000 << "10.333333";
        QTest::newRow("smallest") << std::numeric_limits<qint32>::min() << "-2147.8";
    }

    void coordinates()
    {
        QFETCH(qint32, value);
        QFETCH(QString, text);
        const vdr::LocationResult result = decodeLocation(
            vdrenc::locationBlock({fix(stamp(2024, 1, 31, 8, 0, 5), value, value, -15, 50, 1),
                                   fix(stamp(2024, 1, 31, 8, 0, 6), value, value, -15, 50, 0)}));
        const QVector<vdr::LocationRow> rows = vdr::locationRowsOfHour(result, 0);
        QCOMPARE(rows.size(), 2);
        const vdr::LocationRow &shown = rows.at(0);
        QCOMPARE(QStringList({shown.time, shown.longitude, shown.latitude, shown.height, shown.speed}),
                 QStringList({"2024/01/31 08:00:05", text, text, "-1.5 m", "50 km/h"}));
        // without a position: "0", and the speed all the same
        const vdr::LocationRow &none = rows.at(1);
        QCOMPARE(QStringList({none.longitude, none.latitude, none.height, none.speed}),
                 QStringList({"0", "0", "0", "50 km/h"}));
    }

    void hourList_data()
    {
        QTest::addColumn<QVector<QByteArray>>("times");
        QTest::addColumn<QStringList>("hours");
        QTest::addColumn<QStringList>("firstHourFixes");

        QTest::newRow("out of record order")
            << QVector<QByteArray>{stamp(2024, 1, 31, 8, 0, 5), stamp(2024, 1, 31, 8, 30, 0),
                                   stamp(2024, 1, 31, 9, 10, 0), stamp(2024, 1, 31, 8, 45, 0)}
            << QStringList{"2024/01/31 08:00:05", "2024/01/31 09:10:00"}
            << QStringList{"2024/01/31 08:00:05", "2024/01/31 08:30:00", "2024/01/31 08:45:00"};
        QTest::newRow("same hour on two dates")
            << QVector<QByteArray>{stamp(2024, 1, 31, 23, 59, 0), stamp(2024, 2, 1, 0, 1, 0),
                                   stamp(2024, 2, 1, 23, 5, 0), stamp(2024, 1, 31, 23, 0, 0)}
            << QStringList{"2024/01/31 23:59:00", "2024/02/01 00:01:00", "2024/02/01 23:05:00"}
            << QStringList{"2024/01/31 23:59:00", "2024/01/31 23:00:00"};
        // An hour byte 0x24 is not a time: the fix reads as midnight of its day.
        QByteArray hour24 = stamp(2024, 1, 31, 0, 0, 0);
        hour24[4] = char(0x24);
        QTest::newRow("hour 0x24 joins midnight")
            << QVector<QByteArray>{stamp(2024, 1, 31, 0, 10, 0), hour24, stamp(2024, 1, 31, 1, 0, 0)}
            << QStringList{"2024/01/31 00:10:00", "2024/01/31 01:00:00"}
            << QStringList{"2024/01/31 00:10:00", "2024/01/31 00:00:00"};
        // Times that are no date-time share one entry with an empty text.
        QByteArray month13 = stamp(2024, 1, 31, 8, 0, 0);
        month13[2] = char(0x13);
        QTest::newRow("invalid times share one hour")
            << QVector<QByteArray>{vdrenc::zeroStamp(), stamp(2024, 1, 31, 8, 0, 0), month13}
            << QStringList{"", "2024/01/31 08:00:00"} << QStringList{"", ""};
    }

    void hourList()
    {
        QFETCH(QVector<QByteArray>, times);
        QFETCH(QStringList, hours);
        QFETCH(QStringList, firstHourFixes);

        QVector<vdrenc::LocationRecord> records;
        for (const QByteArray &time : times)
            records << fix(time);
        const vdr::LocationResult result = decodeLocation(vdrenc::locationBlock(records));
        QVERIFY(result.ok());
        QCOMPARE(result.hours, hours);
        QStringList listed;
        for (const vdr::LocationRow &row : vdr::locationRowsOfHour(result, 0))
            listed << row.time;
        QCOMPARE(listed, firstHourFixes);
        QVERIFY(vdr::locationRowsOfHour(result, hours.size()).isEmpty());
        QVERIFY(vdr::locationRowsOfHour(result, -1).isEmpty());
    }

    void locationPointAndDump()
    {
        const QByteArray block = vdrenc::locationBlock({
            fix(stamp(2024, 1, 31, 8, 0, 5), 121303000, -25031234, -15, 72, 3),
            fix(vdrenc::zeroStamp(), 0, 0, 0, 0, 0),
        });
        QCOMPARE(vdr::gpsPointText(vdr::locationPointAt(bytes(block) + 2 + 7)),
                 QStringLiteral("[X:-25.05000 Y:121.50000 H:-1.5 m S:72 km/h 3]"));
        QCOMPARE(vdr::locationDump(decodeLocation(block)).lines,
                 QStringList({
                     "Gps Data Count:2",
                     "Time:2024/01/31 08:00:05",
                     "[X:-25.05000 Y:121.50000 H:-1.5 m S:72 km/h 3]\n",
                     "Time:----/--/-- --:--:--",
                     "[X:0.00000 Y:0.00000 H:0.0 m S:0 km/h 0]\n",
                 }));
    }
    // speed block

    void speedLine_data()
    {
        QTest::addColumn<QVector<int>>("offsetsSeconds"); // record starts after noon
        QTest::addColumn<QVector<int>>("pointsPerRecord");

        QTest::newRow("last record full minute") << QVector<int>{0} << QVector<int>{120};
        QTest::newRow("next starts 30 s later") << QVector<int>{0, 30} << QVector<int>{61, 120};
        QTest::newRow("next starts 0.5 s later") << QVector<int>{0, 1} << QVector<int>{3, 120};
        QTest::newRow("next starts earlier") << QVector<int>{60, 0} << QVector<int>{0, 120};
    }

    // Each record runs up to the start of the next, the last one over its whole minute.
    void speedLine()
    {
        QFETCH(QVector<int>, offsetsSeconds);
        QFETCH(QVector<int>, pointsPerRecord);
        QVector<vdrenc::SpeedRecord> records;
        for (int s : offsetsSeconds)
            records.append(speedMinute(kNoon.addSecs(s), 10 + records.size()));
        const vdr::SpeedResult d = decodeSpeed(records);
        const QVector<QPointF> points = vdr::speedChartPoints(d.records, d.starts, 240);

        int at = 0;
        for (int i = 0; i < records.size(); ++i) {
            const qint64 start = kNoon.addSecs(offsetsSeconds[i]).toMSecsSinceEpoch();
            for (int j = 0; j < pointsPerRecord[i]; ++j, ++at) {
                QVERIFY(at < points.size());
                QCOMPARE(points[at], QPointF(double(start + 500 * j), double(10 + i)));
            }
        }
        QCOMPARE(points.size(), at);
    }

    // Samples as drawn (no value, and the fastest, at the axis' ends) and as the half-second table
    // lists them.
    void speedSamples()
    {
        vdrenc::SpeedRecord r = speedMinute(kNoon);
        const quint8 raw[] = {0, 0xFF, 250, 1, 240, 241, 254};
        std::copy(std::begin(raw), std::end(raw), r.speed.begin());
        r.speed[119] = 0xFF;
        r.mileage[2] = vdrenc::NoMileage;
        // a second record starting 30 s later does not shorten the table of the first
        const vdr::SpeedResult d = decodeSpeed({r, speedMinute(kNoon.addSecs(30))});
        QVector<double> drawn;
        for (const QPointF &p : vdr::speedChartPoints(d.records, d.starts, 240).mid(0, 7))
            drawn << p.y();
        QCOMPARE(drawn, QVector<double>({0.1, 0.1, 240, 1, 240, 240, 240}));
        // the limit is the axis maximum, not a fixed 240
        QCOMPARE(vdr::speedChartPoints(d.records, d.starts, 120)[2].y(), 120.0);

        const QVector<vdr::SpeedRow> rows = vdr::speedRows(d.records, 0);
        QCOMPARE(rows.size(), 118);
        QCOMPARE(rows[0].speed, QStringLiteral("0"));
        // the 0xFF sample is left out, the next row keeps its own instant
        QCOMPARE(rows[1].time, QStringLiteral("2024/01/31 12:00:01.000"));
        QCOMPARE(rows[1].speed, QStringLiteral("250"));
        QCOMPARE(rows[1].mileage, QStringLiteral("1677721.5"));
        QCOMPARE(rows.last().time, QStringLiteral("2024/01/31 12:00:59.000"));
        QVERIFY(vdr::speedRows(d.records, 2).isEmpty());
        QVERIFY(vdr::speedRows(d.records, -1).isEmpty());
        // the cursor's time names the half second it falls in
        QCOMPARE(vdr::cursorTimeText(at(10, 15, 30, 499)), QStringLiteral("10:15:30.0"));
        QCOMPARE(vdr::cursorTimeText(at(10, 15, 30, 500)), QStringLiteral("10:15:30.5"));
    }

    void speedStampInvalid()
    {
        vdrenc::SpeedRecord bad = speedMinute(kNoon.addSecs(30), 99);
        bad.start = stamp(2024, 13, 1, 12, 0, 30); // month 13
        vdrenc::SpeedRecord badTime = speedMinute(kNoon.addSecs(30), 98);
        badTime.start = stamp(2024, 1, 31, 24, 0, 30); // hour 24 on a valid day
        const vdr::SpeedResult d =
            decodeSpeed({speedMinute(kNoon, 10), bad, badTime, speedMinute(kNoon.addSecs(60), 11)});
        QCOMPARE(d.starts[1], vdr::kNoStart);
        QCOMPARE(d.starts[2], vdr::kNoStart);

        // the first record runs up to the next valid one; the bad ones are not drawn
        const QVector<QPointF> points = vdr::speedChartPoints(d.records, d.starts, 240);
        QCOMPARE(points.size(), 240);
        for (const QPointF &p : points)
            QVERIFY(p.y() == 10 || p.y() == 11);

        // nor found by the cursor
        const vdr::SpeedSampleAt found = vdr::speedSampleAt(d.records, d.starts, ms(12, 0, 45));
        QVERIFY(found.found);
        QCOMPARE(int(found.speed), 10);

        // the table still lists their samples, without times
        const QVector<vdr::SpeedRow> rows = vdr::speedRows(d.records, 1);
        QCOMPARE(rows.size(), 120);
        QCOMPARE(rows[0].time, QString());
        QCOMPARE(rows[0].speed, QStringLiteral("99"));
    }

    // The starts take a day's midnight plus the time on days of 24 hours: on the days the clocks
    // change they must still be what each record's own local date-time gives.
    void speedStartsAcrossDaylightSaving()
    {
        if (!QFile::exists(QStringLiteral("/usr/share/zoneinfo/Europe/Berlin")))
            QSKIP("no time zone data");
        const ZoneGuard berlin("Europe/Berlin");
        for (const QDate day : {QDate(2024, 1, 31), QDate(2024, 3, 31), QDate(2024, 10, 27)}) {
            QVector<vdrenc::SpeedRecord> records;
            for (int minute = 0; minute < 24 * 60; minute += 7) {
                vdrenc::SpeedRecord r = speedMinute(kNoon);
                r.start = stamp(day.year(), day.month(), day.day(), minute / 60, minute % 60, 30);
                records << r;
            }
            const vdr::SpeedResult d = decodeSpeed(records);
            int skipped = 0;
            for (int i = 0; i < records.size(); ++i) {
                const QDateTime t = d.records.start(i);
                QCOMPARE(d.starts.at(i), t.isValid() ? t.toMSecsSinceEpoch() : vdr::kNoStart);
                skipped += !t.isValid();
            }
            QCOMPARE(skipped, day.month() == 3 ? 8 : 0); // 02:00 to 03:00 does not exist
        }
    }

    void speedCursor_data()
    {
        QTest::addColumn<QVector<int>>("offsetsSeconds");
        QTest::addColumn<qint64>("atMs"); // after noon
        QTest::addColumn<QString>("speed");
        QTest::addColumn<QString>("mileage");

        // clang-format off
        QTest::newRow("last sample") << QVector<int>{0} << qint64(59999) << "---- km/h" << "--.- km";
        QTest::newRow("end of the last record") << QVector<int>{0} << qint64(60000) << "0 km/h" << "0 km";
        QTest::newRow("start of the next record") << QVector<int>{0, 60} << qint64(60000) << "11 km/h" << "100.0 km";
        QTest::newRow("before any record") << QVector<int>{0} << qint64(-1) << "0 km/h" << "0 km";
        // overlapping records: the first one that holds the instant wins
        QTest::newRow("overlap") << QVector<int>{0, 30} << qint64(40000) << "10 km/h" << "108.0 km";
        // clang-format on
    }

    void speedCursor()
    {
        QFETCH(QVector<int>, offsetsSeconds);
        QFETCH(qint64, atMs);
        QFETCH(QString, speed);
        QFETCH(QString, mileage);
        QVector<vdrenc::SpeedRecord> records;
        for (int s : offsetsSeconds) {
            vdrenc::SpeedRecord r = speedMinute(kNoon.addSecs(s), 10 + records.size());
            r.speed[1] = 0;
            r.speed[119] = 0xFF;
            r.mileage[119] = vdrenc::NoMileage;
            records.append(r);
        }
        const vdr::SpeedResult d = decodeSpeed(records);
        const vdr::SpeedSampleAt found =
            vdr::speedSampleAt(d.records, d.starts, kNoon.toMSecsSinceEpoch() + atMs);
        QCOMPARE(vdr::cursorSpeedText(found), speed);
        QCOMPARE(vdr::cursorMileageText(found), mileage);
    }

    // Per pixel column the envelope keeps the first and last point and the lowest and highest
    // speed of the line; a line out of time order, or a plot without columns, is kept whole.
    void pixelEnvelope()
    {
        // a whole noisy day of samples with gaps
        QVector<QPointF> points;
        quint32 seed = 7;
        const double day0 = double(ms(0, 0));
        for (int i = 0; i < 172800; ++i) {
            if (i > 50000 && i < 52000)
                continue; // no records here
            seed = seed * 1103515245u + 12345u;
            points.append(QPointF(day0 + 500.0 * i, (i / 300) % 2 ? double(seed >> 24) : 0.1));
        }
        const double minX = day0, maxX = day0 + 86400000.0;
        for (const double width : {1000.0, 1137.0, 30000.0}) {
            const double left = 10.25;
            const QVector<QPointF> env = vdr::pixelEnvelope(points, minX, maxX, left, width);
            QVERIFY(env.size() <= 4 * (int(width) + 2));
            QCOMPARE(env.first(), points.first());
            QCOMPARE(env.last(), points.last());
            auto columns = [&](const QVector<QPointF> &line) {
                QMap<qint64, QVector<double>> c; // column -> first x, last x, min y, max y
                for (const QPointF &p : line) {
                    const qint64 col = qint64(std::floor(left + (p.x() - minX) * width / (maxX - minX)));
                    auto it = c.find(col);
                    if (it == c.end())
                        c.insert(col, {p.x(), p.x(), p.y(), p.y()});
                    else
                        *it = {it->at(0), p.x(), qMin(it->at(2), p.y()), qMax(it->at(3), p.y())};
                }
                return c;
            };
            QCOMPARE(columns(env), columns(points));
        }
        // a plot with more columns than points keeps every point
        QCOMPARE(vdr::pixelEnvelope(points.mid(0, 100), minX, minX + 100 * 500.0, 0, 1000),
                 points.mid(0, 100));

        const QVector<QPointF> unordered = {{0, 1}, {10, 2}, {5, 3}, {20, 4}, {30, 5}, {40, 6}};
        QCOMPARE(vdr::pixelEnvelope(unordered, 0, 40, 0, 2), unordered);
        QCOMPARE(vdr::pixelEnvelope(unordered, 0, 40, 0, 0), unordered);
        QCOMPARE(vdr::pixelEnvelope(unordered, 40, 40, 0, 10), unordered);
    }

    void speedDump()
    {
        vdrenc::SpeedRecord r = speedMinute(kNoon, 7, 1234);
        r.speed[1] = 0xFF;
        const QStringList lines = vdr::speedDump(decodeSpeed({r, speedMinute(kNoon.addSecs(60))})).lines;
        QCOMPARE(lines.size(), 3);
        QCOMPARE(lines.at(0), QStringLiteral("Speed Count:2"));
        // the mileage and the three speed digits follow each other without a separator
        QVERIFY(lines.at(1).startsWith("Time:2024/01/31 12:00:00\n Mileage:1234007  Mileage:1235255 "));
        QCOMPARE(lines.at(1).count(QStringLiteral(" Mileage:")), 120);
    }
    // driving block

    void linesAndTotals_data()
    {
        QTest::addColumn<QVector<DrivingRecord>>("records");
        QTest::addColumn<Points>("points"); // of slot 2
        QTest::addColumn<Totals>("totals"); // Driving, Stopping, Standby, Resting

        // Steps at the changes: a point where the level is left and one where the next begins.
        const auto steps = [](std::initializer_list<std::pair<qint64, int>> corners) {
            Points p;
            for (const auto &c : corners)
                p << QPointF(qreal(c.first), c.second);
            return p;
        };
        QTest::newRow("driving, resting, driving")
            << QVector<DrivingRecord>{driving("A", 1, 8, 0), driving("A", 4, 8, 30), driving("A", 1, 9, 0)}
            << steps({{ms(8, 0), 4},
                      {ms(8, 30), 4},
                      {ms(8, 30), 1},
                      {ms(8, 30), 1},
                      {ms(9, 0), 1},
                      {ms(9, 0), 4},
                      {ms(9, 0), 4}})
            << Totals{1800, 0, 0, 1800};
        QTest::newRow("stopping then standby, seconds truncated")
            << QVector<DrivingRecord>{driving("A", 2, 8, 0, 0), driving("A", 3, 8, 0, 59),
                                      driving("A", 4, 8, 2, 0)}
            << steps({{ms(8, 0, 0), 3},
                      {ms(8, 0, 59), 3},
                      {ms(8, 0, 59), 2},
                      {ms(8, 0, 59), 2},
                      {ms(8, 2, 0), 2},
                      {ms(8, 2, 0), 1},
                      {ms(8, 2, 0), 1}})
            << Totals{0, 59, 61, 0};
        QTest::newRow("code 0 above the bands, its time not counted")
            << QVector<DrivingRecord>{driving("A", 0, 8, 0), driving("A", 1, 8, 10), driving("A", 4, 8, 20)}
            << steps({{ms(8, 0), 5},
                      {ms(8, 10), 5},
                      {ms(8, 10), 4},
                      {ms(8, 10), 4},
                      {ms(8, 20), 4},
                      {ms(8, 20), 1},
                      {ms(8, 20), 1}})
            << Totals{600, 0, 0, 0};
        DrivingRecord noTime = driving("A", 4, 8, 10), hour24 = driving("A", 4, 8, 10);
        noTime.time = vdrenc::zeroStamp();
        hour24.time = stamp(2024, 1, 31, 24, 0, 0);
        // not at the epoch with decades of seconds
        QTest::newRow("record without a valid stamp skipped")
            << QVector<DrivingRecord>{driving("A", 1, 8, 0), noTime, hour24, driving("A", 3, 8, 20)}
            << steps({{ms(8, 0), 4}, {ms(8, 20), 4}, {ms(8, 20), 2}, {ms(8, 20), 2}})
            << Totals{1200, 0, 0, 0};
    }

    void linesAndTotals()
    {
        QFETCH(QVector<DrivingRecord>, records);
        QFETCH(Points, points);
        QFETCH(Totals, totals);

        const vdr::DrivingData block = decodeDriving(records);
        QVERIFY(block.ok());
        QCOMPARE(block.lines[2].name, QStringLiteral("A"));
        QCOMPARE(block.lines[2].points, points);
        QCOMPARE(block.lines[2].totals, totals);
        for (int s : {0, 1, 3, 4, 5, 6})
            QVERIFY(block.lines[size_t(s)].name.isEmpty() && block.lines[size_t(s)].points.isEmpty());
    }

    void driverSlots()
    {
        // A driver whose only record is ignored (code 6) still takes a slot, uncharted; a sixth
        // driver is ignored with every later record of it. The ID runs to the first NUL or over
        // all 18 bytes.
        const QByteArray longId = "ABCDEFGHIJKLMNOPQR";
        const vdr::DrivingData block =
            decodeDriving({driving("C", 1, 8, 0), driving("X", 6, 8, 1), driving("A", 2, 8, 2),
                           driving(longId, 3, 8, 3), driving("C", 4, 8, 4), driving("E", 1, 8, 5),
                           driving("F", 1, 8, 6), driving("F", 4, 8, 7), driving("A", 4, 8, 8)});
        QStringList names;
        for (const vdr::DriverLine &line : block.lines)
            names << line.name;
        QCOMPARE(names, QStringList({"", "", "C", "X", "A", longId, "E"}));
        QCOMPARE(block.lines[3].points.size(), 0);
        QCOMPARE(block.lines[4].totals, (Totals{0, 360, 0, 0}));

        // A driver without ID keeps its own slot: the next driver does not take it over.
        const vdr::DrivingData noId = decodeDriving(
            {driving("", 1, 8, 0), driving("B", 4, 8, 10), driving("", 4, 9, 0), driving("B", 1, 9, 30)});
        QCOMPARE(noId.lines[2].totals, (Totals{3600, 0, 0, 0}));
        QCOMPARE(noId.lines[3].name, QStringLiteral("B"));
        QCOMPARE(noId.lines[3].totals, (Totals{0, 0, 0, 4800}));

        // the steps after codes 0 and 5 add their seconds to no total
        const vdr::DrivingData unknown = decodeDriving(
            {driving("A", 0, 8, 0), driving("A", 5, 8, 10), driving("A", 1, 8, 20), driving("A", 4, 8, 30)});
        QCOMPARE(unknown.unknownActions, 2);
        QCOMPARE(unknown.lines[2].totals, (Totals{600, 0, 0, 0}));
    }

    void changeList()
    {
        const vdr::DrivingData block = decodeDriving(
            {driving("A", 1, 8, 0), driving("A", 1, 8, 1), driving("B", 1, 8, 2), driving("B", 1, 8, 3),
             driving("A", 1, 8, 4), driving("C", 1, 8, 5), driving("C", 1, 8, 6)});
        QVector<vdr::DriverChange> list;
        vdr::appendDriverChanges(list, block);
        QCOMPARE(changeIds(list), QStringList({"A", "B", "A", "C", "C"}));
        QCOMPARE(list.at(3).time, at(8, 5));
        // 25 bytes: the ID field and the stamp, the status byte left out.
        QCOMPARE(list.at(3).bytes(), vdrenc::textField("C", 18) + stamp(2024, 1, 31, 8, 5, 0));

        // Records without the current bit never enter the list.
        const vdr::DrivingData mixed =
            decodeDriving({driving("A", 1, 8, 0), driving("B", 4, 8, 1, 0, false), driving("B", 1, 8, 2),
                           driving("B", 1, 8, 3), driving("A", 1, 8, 4, 0, false)});
        list.clear();
        vdr::appendDriverChanges(list, mixed);
        QCOMPARE(changeIds(list), QStringList({"A", "B", "B"}));
        // the list continues across blocks: a repeated driver is not a change
        vdr::appendDriverChanges(
            list, decodeDriving({driving("B", 1, 9, 0), driving("B", 1, 9, 1), driving("B", 1, 9, 2)}));
        QCOMPARE(changeIds(list), QStringList({"A", "B", "B", "B", "B"}));

        // The cursor's lookups: the pair of changes around an instant, and a line's level there.
        const vdr::DrivingData lookups =
            decodeDriving({driving("A", 1, 8, 0), driving("B", 3, 9, 0), driving("A", 4, 10, 0)});
        list.clear();
        vdr::appendDriverChanges(list, lookups);
        QCOMPARE(vdr::driverChangeAt(list, at(7, 59, 59, 999)), -1);
        QCOMPARE(vdr::driverChangeAt(list, at(8, 0)), 0);
        // At a change instant the earlier pair wins.
        QCOMPARE(vdr::driverChangeAt(list, at(9, 0)), 0);
        QCOMPARE(vdr::driverChangeAt(list, at(9, 0, 0, 1)), 1);
        QCOMPARE(vdr::driverChangeAt(list, at(10, 0, 0, 1)), -1);

        // A's line: driving 08:00..10:00, resting from 10:00.
        const QVector<QPointF> &a = lookups.lines[2].points;
        QCOMPARE(vdr::levelAt(a, ms(9, 30)), 4);
        QCOMPARE(vdr::levelAt(a, ms(10, 0)), 4); // the first pair touching 10:00 is still driving
        QCOMPARE(vdr::levelAt(a, ms(10, 0) + 1), -1);
    }

    void minuteTable_data()
    {
        QTest::addColumn<QVector<DrivingRecord>>("records");
        QTest::addColumn<int>("rows");
        QTest::addColumn<QString>("last"); // the last row's minute

        // Two records 2.5 minutes apart cover the minutes 08:00, 08:01 and 08:02.
        QTest::newRow("2.5 minutes") << QVector<DrivingRecord>{driving("A", 1, 8, 0),
                                                               driving("A", 4, 8, 2, 30)}
                                     << 3 << "2024/01/31 08:02:00";
        // No records, or all at one instant: no minute lies before the last instant.
        QTest::newRow("no records") << QVector<DrivingRecord>{} << 0 << "";
        QTest::newRow("one instant") << QVector<DrivingRecord>{driving("A", 1, 8, 0), driving("A", 4, 8, 0)}
                                     << 0 << "";
        DrivingRecord noTime = driving("A", 1, 7, 0);
        noTime.time = vdrenc::zeroStamp();
        QTest::newRow("first without a valid stamp")
            << QVector<DrivingRecord>{noTime, driving("A", 1, 8, 0), driving("A", 4, 8, 2)} << 2
            << "2024/01/31 08:01:00";
        // Five drivers over the whole day: far more rows than the 2880 of old, all kept.
        QVector<DrivingRecord> fiveDrivers;
        for (const char *id : {"D1", "D2", "D3", "D4", "D5"})
            fiveDrivers << driving(id, 3, 0, 0);
        for (const char *id : {"D1", "D2", "D3", "D4", "D5"})
            fiveDrivers << driving(id, 4, 23, 59, 59);
        QTest::newRow("five drivers all day") << fiveDrivers << 5 * 1440 << "2024/01/31 23:59:00";
        // A stamp decades later would ask for millions of minutes; the table stops after a week.
        QTest::newRow("stamp years away")
            << QVector<DrivingRecord>{driving("A", 1, 8, 0),
                                      driving("A", 4, 8, 0, 0, true, QDate(2090, 1, 1))}
            << vdr::kMaxTableMinutes << "2024/02/07 07:59:00";
        // Many pairs over many minutes stop at the row cap.
        QVector<DrivingRecord> pairs;
        for (int i = 0; i < 40; ++i)
            pairs << driving("A", 1, 0, 0) << driving("A", 1, 0, 0, 0, true, kDay.addDays(6));
        QTest::newRow("row cap") << pairs << vdr::kMaxTableRows << "2024/02/01 17:38:00";
    }

    void minuteTable()
    {
        QFETCH(QVector<DrivingRecord>, records);
        QFETCH(int, rows);
        QFETCH(QString, last);
        QElapsedTimer timer;
        timer.start();
        const vdr::DrivingData block = decodeDriving(records);
        QVERIFY(timer.elapsed() < 2000);
        QCOMPARE(block.minuteRows.size(), rows);
        QCOMPARE(block.minuteTimes.size(), rows);
        QCOMPARE(block.minuteTimes.value(rows - 1), last);
    }

    void minuteRowsAtAChange()
    {
        // A change at exactly a minute lists that minute once for every point pair that touches
        // it: four rows for A at 08:01. B's line runs from 08:00:30, so its first minute is 08:01.
        const QVector<vdr::MinuteRow> rows =
            decodeDriving({driving("A", 1, 8, 0), driving("B", 3, 8, 0, 30), driving("A", 4, 8, 1),
                           driving("A", 1, 8, 3), driving("B", 2, 8, 3)})
                .minuteRows;
        QStringList got;
        for (const vdr::MinuteRow &row : rows)
            got << QStringLiteral("%1 %2 %3")
                       .arg(row.slot)
                       .arg(row.level)
                       .arg(vdr::minuteText(row.minute).mid(11));
        QCOMPARE(got, QStringList({"2 4 08:00:00", "2 4 08:01:00", "2 4 08:01:00", "2 1 08:01:00",
                                   "2 1 08:01:00", "3 2 08:01:00", "2 1 08:02:00", "3 2 08:02:00"}));
    }

    void minuteTextsAcrossDaylightSaving()
    {
        if (!QFile::exists(QStringLiteral("/usr/share/zoneinfo/Europe/Berlin")))
            QSKIP("no time zone data");
        const ZoneGuard berlin("Europe/Berlin");
        const QDate day(2024, 3, 31); // 02:00 becomes 03:00
        const vdr::DrivingData block =
            decodeDriving({driving("A", 1, 1, 0, 0, true, day), driving("B", 3, 1, 30, 0, true, day),
                           driving("A", 4, 4, 0, 0, true, day)});
        const QVector<QString> &texts = block.minuteTimes;
        for (int r = 0; r < block.minuteRows.size(); ++r)
            QCOMPARE(texts.at(r), vdr::minuteText(block.minuteRows.at(r).minute));
        QVERIFY(texts.contains(QStringLiteral("2024/03/31 01:59:00")));
        QVERIFY(texts.contains(QStringLiteral("2024/03/31 03:00:00")));
        QVERIFY(!texts.contains(QStringLiteral("2024/03/31 02:00:00")));
    }

    void drivingDump()
    {
        const QByteArray block = vdrenc::drivingBlock({driving("A123", 4, 8, 0),
                                                       {"B", 0x2F, stamp(2024, 1, 31, 9, 5, 7)},
                                                       {"Z", 0x5A, vdrenc::zeroStamp()}});
        QCOMPARE(vdr::drivingDumpLines(vdr::decodeDrivingRecords(bytes(block), block.size())),
                 QStringList({"Drving Change Count:3",
                              "ID:A123 current:1 Master:1 Action:4 Time:2024/01/31 08:00:00",
                              "ID:B current:0 Master:f Action:2 Time:2024/01/31 09:05:07",
                              "ID:Z current:0 Master:a Action:5 Time:----/--/-- --:--:--"}));
        QCOMPARE(vdr::durationText(100 * 3600 + 59), QStringLiteral("100:00:59")); // hours not wrapped
    }
};

QTEST_GUILESS_MAIN(TestDayModel)
#include "tst_daymodel.moc"
