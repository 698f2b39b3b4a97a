// The location block in the day model: its size rule, coordinates, the hour list with the fixes
// of each hour, and the dump.
#include "support/fixtures.h"
#include "vdrencoder.h"

#include <QtTest>

static vdr::LocationResult decode(const QByteArray &block)
{
    return fixtures::decode(vdr::LocationBlock, block).location;
}

static vdrenc::LocationRecord fix(const QByteArray &time, qint32 lon = 121303000, qint32 lat = 25031234,
                                  qint16 height = 105, quint8 speed = 60, quint8 status = 1)
{
    return {time, lon, lat, height, speed, status};
}

class TestLocation : public QObject
{
    Q_OBJECT

private slots:
    void sizes_data();
    void sizes();
    void coordinates_data();
    void coordinates();
    void hourList_data();
    void hourList();
    void pointTextAndDump();
};

void TestLocation::sizes_data()
{
    QTest::addColumn<QByteArray>("block");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<int>("fixes");
    QTest::addColumn<QString>("debugLine"); // of the dump

    const QByteArray one = vdrenc::locationBlock({fix(vdrenc::stamp(2024, 1, 31, 8, 0, 5))});
    QTest::newRow("count 0, exact") << QByteArray(2, '\0') << true << 0 << "";
    QTest::newRow("count cut") << QByteArray(1, '\0') << false << 0
                               << "Error-parseData_04 DataSize:1  ofsset:2 ";
    QTest::newRow("one fix, one short")
        << one.chopped(1) << false << 0 << "Error-parseData_04 DataSize:20  ofsset:21 ";
    QTest::newRow("one fix, exact") << one << true << 1 << "";
    QTest::newRow("one fix, two over")
        << one + "xy" << false << 0 << "Error-parseData_04 DataSize:23  ofsset:21 ";
    QTest::newRow("count 65535 in 21 bytes") << QByteArray("\xff\xff", 2) + one.mid(2) << false << 0
                                             << "Error-parseData_04 DataSize:21  ofsset:1245167 ";
}

void TestLocation::sizes()
{
    QFETCH(QByteArray, block);
    QFETCH(bool, ok);
    QFETCH(int, fixes);
    QFETCH(QString, debugLine);

    const vdr::BlockReport report = fixtures::decode(vdr::LocationBlock, block);
    QCOMPARE(report.ok(), ok);
    QCOMPARE(report.failure, ok ? vdr::SizeError::None : vdr::SizeError::Location);
    QCOMPARE(report.location.fixes.size(), fixes);
    QCOMPARE(report.location.hours.size(), fixes);
    const vdr::BlockDump dump = vdr::locationDump(report.location);
    QCOMPARE(dump.debugLine, debugLine);
    if (!ok)
        QCOMPARE(dump.lines, QStringList("Gps Data Size Error"));
}

void TestLocation::coordinates_data()
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

void TestLocation::coordinates()
{
    QFETCH(qint32, value);
    QFETCH(QString, text);
    const vdr::LocationResult result =
        decode(vdrenc::locationBlock({fix(vdrenc::stamp(2024, 1, 31, 8, 0, 5), value, value, -15, 50, 1),
                                      fix(vdrenc::stamp(2024, 1, 31, 8, 0, 6), value, value, -15, 50, 0)}));
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

void TestLocation::hourList_data()
{
    QTest::addColumn<QVector<QByteArray>>("times");
    QTest::addColumn<QStringList>("hours");
    QTest::addColumn<QStringList>("firstHourFixes");

    using vdrenc::stamp;
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

void TestLocation::hourList()
{
    QFETCH(QVector<QByteArray>, times);
    QFETCH(QStringList, hours);
    QFETCH(QStringList, firstHourFixes);

    QVector<vdrenc::LocationRecord> records;
    for (const QByteArray &time : times)
        records << fix(time);
    const vdr::LocationResult result = decode(vdrenc::locationBlock(records));
    QVERIFY(result.ok());
    QCOMPARE(result.hours, hours);
    QStringList listed;
    for (const vdr::LocationRow &row : vdr::locationRowsOfHour(result, 0))
        listed << row.time;
    QCOMPARE(listed, firstHourFixes);
    QVERIFY(vdr::locationRowsOfHour(result, hours.size()).isEmpty());
    QVERIFY(vdr::locationRowsOfHour(result, -1).isEmpty());
}

void TestLocation::pointTextAndDump()
{
    const QByteArray block = vdrenc::locationBlock({
        fix(vdrenc::stamp(2024, 1, 31, 8, 0, 5), 121303000, -25031234, -15, 72, 3),
        fix(vdrenc::zeroStamp(), 0, 0, 0, 0, 0),
    });
    QCOMPARE(vdr::gpsPointText(vdr::locationPointAt(fixtures::bytes(block) + 2 + 7)),
             QStringLiteral("[X:-25.05000 Y:121.50000 H:-1.5 m S:72 km/h 3]"));
    const vdr::BlockDump dump = vdr::locationDump(decode(block));
    QCOMPARE(dump.lines, QStringList({
                             "Gps Data Count:2",
                             "Time:2024/01/31 08:00:05",
                             "[X:-25.05000 Y:121.50000 H:-1.5 m S:72 km/h 3]\n",
                             "Time:----/--/-- --:--:--",
                             "[X:0.00000 Y:0.00000 H:0.0 m S:0 km/h 0]\n",
                         }));
}

QTEST_GUILESS_MAIN(TestLocation)
#include "tst_location.moc"
