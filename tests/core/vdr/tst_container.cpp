// The day file's name, the recorder timestamp, the container walk and the day model built on
// them.
#include "core/vdr/dayreport.h"
#include "core/vdr/recordertime.h"

#include "vdrencoder.h"

#include <QtTest>

#include <ctime>

using vdr::ContainerWalk;
Q_DECLARE_METATYPE(ContainerWalk::Stop)

class TestContainer : public QObject
{
    Q_OBJECT

private slots:
    void dayFileName_data();
    void dayFileName();
    void recorderTime_data();
    void recorderTime();
    void walk_data();
    void walk();
    void dayModel();
};

void TestContainer::dayFileName_data()
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

void TestContainer::dayFileName()
{
    QFETCH(QString, name);
    QFETCH(bool, threeParts);
    QFETCH(QDate, day);
    const vdr::DayNameCheck check = vdr::checkDayFileName(name);
    QCOMPARE(check.threeParts, threeParts);
    QCOMPARE(check.day, day);
    QCOMPARE(check.ok(), threeParts && day.isValid());
}

void TestContainer::recorderTime_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("zone"); // local time zone, empty: the test's own

    const QString none = vdr::noTimeText();
    const QByteArray own;
    QTest::newRow("valid") << QByteArray::fromHex("20211008130509") << "2021/10/08 13:05:09" << own;
    QTest::newRow("all zero") << QByteArray(7, '\0') << none << own;
    QTest::newRow("month 0x13") << QByteArray::fromHex("20211308130509") << none << own;
    QTest::newRow("hour 0x24") << QByteArray::fromHex("20211008240509") << none << own;
    QTest::newRow("day 0x0A reads 10")
        << QByteArray::fromHex("2021100A130509") << "2021/10/10 13:05:09" << own;
    QTest::newRow("0xFF is negative") << QByteArray::fromHex("2021FF08130509") << none << own;
    // Date and time each valid, but the clocks skip that hour; the hour that comes twice is kept.
    QTest::newRow("Berlin spring gap")
        << QByteArray::fromHex("20240331023000") << none << QByteArray("Europe/Berlin");
    QTest::newRow("New York spring gap")
        << QByteArray::fromHex("20240310021500") << none << QByteArray("America/New_York");
    QTest::newRow("Berlin autumn hour twice")
        << QByteArray::fromHex("20241027023000") << "2024/10/27 02:30:00" << QByteArray("Europe/Berlin");
}

void TestContainer::recorderTime()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QFETCH(QByteArray, zone);
    struct ZoneGuard
    {
        const bool had = qEnvironmentVariableIsSet("TZ");
        const QByteArray old = qgetenv("TZ");
        explicit ZoneGuard(const QByteArray &zone)
        {
            if (!zone.isEmpty())
                qputenv("TZ", zone);
            tzset();
        }
        ~ZoneGuard()
        {
            if (had)
                qputenv("TZ", old);
            else
                qunsetenv("TZ");
            tzset();
        }
    } guard(zone);
    const auto *p = reinterpret_cast<const uchar *>(bytes.constData());
    QCOMPARE(vdr::recorderTimeText(p), text);
    if (text != vdr::noTimeText())
        QCOMPARE(vdr::recorderDateTime(p).toString(QStringLiteral("yyyy/MM/dd hh:mm:ss")), text);
}

void TestContainer::walk_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<bool>("checksumOk");
    QTest::addColumn<ContainerWalk::Stop>("stop");
    QTest::addColumn<QByteArray>("dataIds");
    QTest::addColumn<qint64>("finalOffset");

    const vdrenc::Block a{1, "DT_SPD_DATA", QByteArray(10, 'a')};
    const vdrenc::Block b{0, "DT_ERR_DATA", QByteArray(4, '\0')};
    const vdrenc::Block unknown{7, "DT_SEVEN", QByteArray(5, 'x')};
    const auto ids = [](const char *hex) { return QByteArray::fromHex(hex); };

    QTest::newRow("no blocks") << vdrenc::container({}) << true << ContainerWalk::Complete << QByteArray()
                               << qint64(2);
    QTest::newRow("one byte") << QByteArray(1, '\x5a') << false << ContainerWalk::CountTruncated
                              << QByteArray() << qint64(0);
    QTest::newRow("unknown type kept in order")
        << vdrenc::container({unknown, a}) << true << ContainerWalk::Complete << ids("0701") << qint64(63);
    QTest::newRow("bad checksum still walked") << vdrenc::container({a}, {-1, -1, {}, true}) << false
                                               << ContainerWalk::Complete << ids("01") << qint64(35);
    QTest::newRow("gap before checksum not read")
        << vdrenc::container({a}, {-1, -1, QByteArray(9, 'g'), false}) << true << ContainerWalk::Complete
        << ids("01") << qint64(35);
    QTest::newRow("count one too many") << vdrenc::container({a, b}, {3, -1, {}, false}) << true
                                        << ContainerWalk::HeaderTruncated << ids("0100") << qint64(62);
    QTest::newRow("header cut short") << vdrenc::container({a}, {2, -1, QByteArray(22, 'h'), false}) << true
                                      << ContainerWalk::HeaderTruncated << ids("01") << qint64(35);
    QTest::newRow("header exactly fits, data does not")
        << vdrenc::container({a}, {2, -1, ids("01") + QByteArray(18, 0) + ids("01000000"), false}) << true
        << ContainerWalk::DataTruncated << ids("01") << qint64(35);
    QTest::newRow("size one byte over") << vdrenc::container({a, b}, {-1, 5, {}, false}) << true
                                        << ContainerWalk::DataTruncated << ids("01") << qint64(35);
    QTest::newRow("size into the checksum byte") << vdrenc::container({a}, {-1, 11, {}, false}) << true
                                                 << ContainerWalk::DataTruncated << QByteArray() << qint64(2);
    QTest::newRow("size 0xFFFFFFFF") << vdrenc::container({a}, {-1, 0xFFFFFFFF, {}, false}) << true
                                     << ContainerWalk::DataTruncated << QByteArray() << qint64(2);
    QTest::newRow("sample day") << vdrenc::sampleDay(QDate(2024, 1, 31)) << true << ContainerWalk::Complete
                                << QByteArray("sample") << qint64(-1);
}

void TestContainer::walk()
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
void TestContainer::dayModel()
{
    using namespace vdrenc;
    const auto changes = [](const char *first, int firstHour, const char *second) {
        return drivingBlock(
            {{first, drivingStatus(true, Driving, 1), stamp(2024, 1, 31, firstHour, 0, 0)},
             {second, drivingStatus(true, Driving, 1), stamp(2024, 1, 31, firstHour + 1, 0, 0)}});
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
    QCOMPARE(day.day(), QDate(2024, 1, 31));
    QStringList messages, ids;
    for (const vdr::BlockReport &block : day.blocks)
        messages << block.message();
    QCOMPARE(messages, QStringList({"DT_ERR_DATA Data Size Error", "DT_EVENT_DATA Data Size Error",
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

QTEST_GUILESS_MAIN(TestContainer)
#include "tst_container.moc"
