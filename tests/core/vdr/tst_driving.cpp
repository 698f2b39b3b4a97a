// The driving block in the day model: driver lines, totals, change list, minute table and dump.
#include "support/fixtures.h"
#include "vdrencoder.h"

#include <QElapsedTimer>
#include <QFile>
#include <QtTest>

#include <ctime>

using vdrenc::DrivingRecord;

namespace {

const QDate kDay(2024, 1, 31);

qint64 ms(int hour, int minute, int second = 0, const QDate &day = kDay)
{
    return QDateTime(day, QTime(hour, minute, second), Qt::LocalTime).toMSecsSinceEpoch();
}

DrivingRecord rec(const QByteArray &id, int action, int hour, int minute, int second = 0, bool current = true,
                  const QDate &day = kDay)
{
    return {id, vdrenc::drivingStatus(current, action, 1),
            vdrenc::stamp(day.year(), day.month(), day.day(), hour, minute, second)};
}

vdr::DrivingData decode(const QVector<DrivingRecord> &records)
{
    return fixtures::decode(vdr::DrivingBlock, vdrenc::drivingBlock(records)).driving;
}

using Points = QVector<QPointF>;
using Totals = vdr::ActivityTotals;

QStringList changeIds(const QVector<vdr::DriverChange> &list)
{
    QStringList ids;
    for (const vdr::DriverChange &change : list)
        ids << change.id;
    return ids;
}

} // namespace

Q_DECLARE_METATYPE(Points)
Q_DECLARE_METATYPE(Totals)
Q_DECLARE_METATYPE(DrivingRecord)

class TestDriving : public QObject
{
    Q_OBJECT

private slots:
    void sizeCheck_data();
    void sizeCheck();
    void linesAndTotals_data();
    void linesAndTotals();
    void slotsInOrderOfFirstAppearance();
    void unknownCodesCounted();
    void changeList();
    void cursorLookups();
    void minuteTable_data();
    void minuteTable();
    void minuteRowsAtAChange();
    void minuteTextsAcrossDaylightSaving();
    void dumpLines();
};

void TestDriving::sizeCheck_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<int>("expected");

    const QByteArray two = vdrenc::drivingBlock({rec("A", 1, 8, 0), rec("B", 1, 9, 0)});
    QTest::newRow("two records") << two << true << 54;
    QTest::newRow("one byte short") << two.left(53) << false << 54;
    QTest::newRow("one byte over") << two + '\0' << false << 54;
    QTest::newRow("count only half there") << QByteArray("\x01", 1) << false << 2;
}

void TestDriving::sizeCheck()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, ok);
    QFETCH(int, expected);
    const vdr::BlockReport report = fixtures::decode(vdr::DrivingBlock, bytes);
    QCOMPARE(report.failure, ok ? vdr::SizeError::None : vdr::SizeError::Driving);
    QCOMPARE(report.driving.expectedSize, qint64(expected));
    const vdr::BlockDump dump = vdr::drivingDump(report.driving);
    if (!ok) {
        QVERIFY(report.driving.records.isEmpty());
        QCOMPARE(dump.lines, QStringList{"Drving Change Data Size Error"});
        QCOMPARE(
            dump.debugLine,
            QStringLiteral("Error-parseData_03 DataSize:%1  ofsset:%2 ").arg(bytes.size()).arg(expected));
    } else {
        QVERIFY(dump.debugLine.isEmpty());
    }
}

void TestDriving::linesAndTotals_data()
{
    QTest::addColumn<QVector<DrivingRecord>>("records");
    QTest::addColumn<Points>("points"); // of slot 2
    QTest::addColumn<Totals>("totals"); // Driving, Stopping, Standby, Resting

    QTest::newRow("driving, resting, driving")
        << QVector<DrivingRecord>{rec("A", 1, 8, 0), rec("A", 4, 8, 30), rec("A", 1, 9, 0)}
        << Points{{qreal(ms(8, 0)), 4}, {qreal(ms(8, 30)), 4}, {qreal(ms(8, 30)), 1}, {qreal(ms(8, 30)), 1},
                  {qreal(ms(9, 0)), 1}, {qreal(ms(9, 0)), 4},  {qreal(ms(9, 0)), 4}}
        << Totals{1800, 0, 0, 1800};
    QTest::newRow("stopping then standby, seconds truncated")
        << QVector<DrivingRecord>{rec("A", 2, 8, 0, 0), rec("A", 3, 8, 0, 59), rec("A", 4, 8, 2, 0)}
        << Points{{qreal(ms(8, 0, 0)), 3},  {qreal(ms(8, 0, 59)), 3}, {qreal(ms(8, 0, 59)), 2},
                  {qreal(ms(8, 0, 59)), 2}, {qreal(ms(8, 2, 0)), 2},  {qreal(ms(8, 2, 0)), 1},
                  {qreal(ms(8, 2, 0)), 1}}
        << Totals{0, 59, 61, 0};
    QTest::newRow("code 0 above the bands, its time not counted")
        << QVector<DrivingRecord>{rec("A", 0, 8, 0), rec("A", 1, 8, 10), rec("A", 4, 8, 20)}
        << Points{{qreal(ms(8, 0)), 5},  {qreal(ms(8, 10)), 5}, {qreal(ms(8, 10)), 4}, {qreal(ms(8, 10)), 4},
                  {qreal(ms(8, 20)), 4}, {qreal(ms(8, 20)), 1}, {qreal(ms(8, 20)), 1}}
        << Totals{600, 0, 0, 0};
    DrivingRecord noTime = rec("A", 4, 8, 10), hour24 = rec("A", 4, 8, 10);
    noTime.time = vdrenc::zeroStamp();
    hour24.time = vdrenc::stamp(2024, 1, 31, 24, 0, 0);
    // not at the epoch with decades of seconds
    QTest::newRow("record without a valid stamp skipped")
        << QVector<DrivingRecord>{rec("A", 1, 8, 0), noTime, hour24, rec("A", 3, 8, 20)}
        << Points{{qreal(ms(8, 0)), 4}, {qreal(ms(8, 20)), 4}, {qreal(ms(8, 20)), 2}, {qreal(ms(8, 20)), 2}}
        << Totals{1200, 0, 0, 0};
}

void TestDriving::linesAndTotals()
{
    QFETCH(QVector<DrivingRecord>, records);
    QFETCH(Points, points);
    QFETCH(Totals, totals);

    const vdr::DrivingData block = decode(records);
    QVERIFY(block.ok());
    QCOMPARE(block.lines[2].name, QStringLiteral("A"));
    QCOMPARE(block.lines[2].points, points);
    QCOMPARE(block.lines[2].totals, totals);
    for (int s : {0, 1, 3, 4, 5, 6}) {
        QVERIFY(block.lines[size_t(s)].name.isEmpty());
        QVERIFY(block.lines[size_t(s)].points.isEmpty());
    }
}

void TestDriving::slotsInOrderOfFirstAppearance()
{
    // A driver whose only record is ignored (code 6) still takes a slot, uncharted; a sixth
    // driver is ignored with every later record of it. The ID runs to the first NUL or over
    // all 18 bytes.
    const QByteArray longId = "ABCDEFGHIJKLMNOPQR";
    const vdr::DrivingData block = decode({rec("C", 1, 8, 0), rec("X", 6, 8, 1), rec("A", 2, 8, 2),
                                           rec(longId, 3, 8, 3), rec("C", 4, 8, 4), rec("E", 1, 8, 5),
                                           rec("F", 1, 8, 6), rec("F", 4, 8, 7), rec("A", 4, 8, 8)});
    QStringList names;
    for (const vdr::DriverLine &line : block.lines)
        names << line.name;
    QCOMPARE(names, QStringList({"", "", "C", "X", "A", longId, "E"}));
    QCOMPARE(block.lines[3].points.size(), 0);
    QCOMPARE(block.lines[4].totals, (Totals{0, 360, 0, 0}));

    // A driver without ID keeps its own slot: the next driver does not take it over.
    const vdr::DrivingData noId =
        decode({rec("", 1, 8, 0), rec("B", 4, 8, 10), rec("", 4, 9, 0), rec("B", 1, 9, 30)});
    QCOMPARE(noId.lines[2].totals, (Totals{3600, 0, 0, 0}));
    QCOMPARE(noId.lines[3].name, QStringLiteral("B"));
    QCOMPARE(noId.lines[3].totals, (Totals{0, 0, 0, 4800}));
}

void TestDriving::unknownCodesCounted()
{
    // the steps after codes 0 and 5 add their seconds to no total
    const vdr::DrivingData block =
        decode({rec("A", 0, 8, 0), rec("A", 5, 8, 10), rec("A", 1, 8, 20), rec("A", 4, 8, 30)});
    QCOMPARE(block.unknownActions, 2);
    QCOMPARE(block.lines[2].totals, (Totals{600, 0, 0, 0}));
}

void TestDriving::changeList()
{
    const vdr::DrivingData block =
        decode({rec("A", 1, 8, 0), rec("A", 1, 8, 1), rec("B", 1, 8, 2), rec("B", 1, 8, 3), rec("A", 1, 8, 4),
                rec("C", 1, 8, 5), rec("C", 1, 8, 6)});
    QVector<vdr::DriverChange> list;
    vdr::appendDriverChanges(list, block);
    QCOMPARE(changeIds(list), QStringList({"A", "B", "A", "C", "C"}));
    QCOMPARE(list.at(3).time, QDateTime(kDay, QTime(8, 5)));
    // 25 bytes: the ID field and the stamp, the status byte left out.
    QCOMPARE(list.at(3).bytes(), vdrenc::textField("C", 18) + vdrenc::stamp(2024, 1, 31, 8, 5, 0));

    // Records without the current bit never enter the list.
    const vdr::DrivingData mixed = decode({rec("A", 1, 8, 0), rec("B", 4, 8, 1, 0, false), rec("B", 1, 8, 2),
                                           rec("B", 1, 8, 3), rec("A", 1, 8, 4, 0, false)});
    list.clear();
    vdr::appendDriverChanges(list, mixed);
    QCOMPARE(changeIds(list), QStringList({"A", "B", "B"}));
    // the list continues across blocks: a repeated driver is not a change
    vdr::appendDriverChanges(list, decode({rec("B", 1, 9, 0), rec("B", 1, 9, 1), rec("B", 1, 9, 2)}));
    QCOMPARE(changeIds(list), QStringList({"A", "B", "B", "B", "B"}));
}

void TestDriving::cursorLookups()
{
    const vdr::DrivingData block = decode({rec("A", 1, 8, 0), rec("B", 3, 9, 0), rec("A", 4, 10, 0)});
    QVector<vdr::DriverChange> list;
    vdr::appendDriverChanges(list, block);
    const auto at = [](int h, int m, int s = 0, int msec = 0) {
        return QDateTime(kDay, QTime(h, m, s, msec));
    };
    QCOMPARE(vdr::driverChangeAt(list, at(7, 59, 59, 999)), -1);
    QCOMPARE(vdr::driverChangeAt(list, at(8, 0)), 0);
    // At a change instant the earlier pair wins.
    QCOMPARE(vdr::driverChangeAt(list, at(9, 0)), 0);
    QCOMPARE(vdr::driverChangeAt(list, at(9, 0, 0, 1)), 1);
    QCOMPARE(vdr::driverChangeAt(list, at(10, 0, 0, 1)), -1);

    // A's line: driving 08:00..10:00, resting from 10:00.
    const QVector<QPointF> &a = block.lines[2].points;
    QCOMPARE(vdr::levelAt(a, ms(9, 30)), 4);
    QCOMPARE(vdr::levelAt(a, ms(10, 0)), 4); // the first pair touching 10:00 is still driving
    QCOMPARE(vdr::levelAt(a, ms(10, 0) + 1), -1);
}

void TestDriving::minuteTable_data()
{
    QTest::addColumn<QVector<DrivingRecord>>("records");
    QTest::addColumn<int>("rows");
    QTest::addColumn<QString>("last"); // the last row's minute

    // Two records 2.5 minutes apart cover the minutes 08:00, 08:01 and 08:02.
    QTest::newRow("2.5 minutes") << QVector<DrivingRecord>{rec("A", 1, 8, 0), rec("A", 4, 8, 2, 30)} << 3
                                 << "2024/01/31 08:02:00";
    // No records, or all at one instant: no minute lies before the last instant.
    QTest::newRow("no records") << QVector<DrivingRecord>{} << 0 << "";
    QTest::newRow("one instant") << QVector<DrivingRecord>{rec("A", 1, 8, 0), rec("A", 4, 8, 0)} << 0 << "";
    DrivingRecord noTime = rec("A", 1, 7, 0);
    noTime.time = vdrenc::zeroStamp();
    QTest::newRow("first without a valid stamp")
        << QVector<DrivingRecord>{noTime, rec("A", 1, 8, 0), rec("A", 4, 8, 2)} << 2 << "2024/01/31 08:01:00";
    // Five drivers over the whole day: far more rows than the 2880 of old, all kept.
    QVector<DrivingRecord> fiveDrivers;
    for (const char *id : {"D1", "D2", "D3", "D4", "D5"})
        fiveDrivers << rec(id, 3, 0, 0);
    for (const char *id : {"D1", "D2", "D3", "D4", "D5"})
        fiveDrivers << rec(id, 4, 23, 59, 59);
    QTest::newRow("five drivers all day") << fiveDrivers << 5 * 1440 << "2024/01/31 23:59:00";
    // A stamp decades later would ask for millions of minutes; the table stops after a week.
    QTest::newRow("stamp years away")
        << QVector<DrivingRecord>{rec("A", 1, 8, 0), rec("A", 4, 8, 0, 0, true, QDate(2090, 1, 1))}
        << vdr::kMaxTableMinutes << "2024/02/07 07:59:00";
    // Many pairs over many minutes stop at the row cap.
    QVector<DrivingRecord> pairs;
    for (int i = 0; i < 40; ++i)
        pairs << rec("A", 1, 0, 0) << rec("A", 1, 0, 0, 0, true, kDay.addDays(6));
    QTest::newRow("row cap") << pairs << vdr::kMaxTableRows << "2024/02/01 17:38:00";
}

void TestDriving::minuteTable()
{
    QFETCH(QVector<DrivingRecord>, records);
    QFETCH(int, rows);
    QFETCH(QString, last);
    QElapsedTimer timer;
    timer.start();
    const vdr::DrivingData block = decode(records);
    QVERIFY(timer.elapsed() < 2000);
    QCOMPARE(block.minuteRows.size(), rows);
    QCOMPARE(block.minuteTimes.size(), rows);
    QCOMPARE(block.minuteTimes.value(rows - 1), last);
}

void TestDriving::minuteRowsAtAChange()
{
    // A change at exactly a minute lists that minute once for every point pair that touches
    // it: four rows for A at 08:01. B's line runs from 08:00:30, so its first minute is 08:01.
    const QVector<vdr::MinuteRow> rows = decode({rec("A", 1, 8, 0), rec("B", 3, 8, 0, 30), rec("A", 4, 8, 1),
                                                 rec("A", 1, 8, 3), rec("B", 2, 8, 3)})
                                             .minuteRows;
    QStringList got;
    for (const vdr::MinuteRow &row : rows)
        got << QStringLiteral("%1 %2 %3")
                   .arg(row.slot)
                   .arg(row.level)
                   .arg(vdr::minuteText(row.minute).mid(11));
    QCOMPARE(got, QStringList({"2 4 08:00:00", "2 4 08:01:00", "2 4 08:01:00", "2 1 08:01:00", "2 1 08:01:00",
                               "3 2 08:01:00", "2 1 08:02:00", "3 2 08:02:00"}));
}

void TestDriving::minuteTextsAcrossDaylightSaving()
{
    if (!QFile::exists(QStringLiteral("/usr/share/zoneinfo/Europe/Berlin")))
        QSKIP("no time zone data");
    const QByteArray oldTz = qgetenv("TZ");
    qputenv("TZ", "Europe/Berlin");
    tzset();
    const QDate day(2024, 3, 31); // 02:00 becomes 03:00
    const vdr::DrivingData block = decode(
        {rec("A", 1, 1, 0, 0, true, day), rec("B", 3, 1, 30, 0, true, day), rec("A", 4, 4, 0, 0, true, day)});
    const QVector<vdr::MinuteRow> &rows = block.minuteRows;
    const QVector<QString> &texts = block.minuteTimes;
    for (int r = 0; r < rows.size(); ++r)
        QCOMPARE(texts.at(r), vdr::minuteText(rows.at(r).minute));
    QVERIFY(texts.contains(QStringLiteral("2024/03/31 01:59:00")));
    QVERIFY(texts.contains(QStringLiteral("2024/03/31 03:00:00")));
    QVERIFY(!texts.contains(QStringLiteral("2024/03/31 02:00:00")));
    oldTz.isNull() ? qunsetenv("TZ") : qputenv("TZ", oldTz);
    tzset();
}

void TestDriving::dumpLines()
{
    DrivingRecord bad = {"Z", 0x5A, vdrenc::zeroStamp()};
    const QByteArray bytes =
        vdrenc::drivingBlock({rec("A123", 4, 8, 0), {"B", 0x2F, vdrenc::stamp(2024, 1, 31, 9, 5, 7)}, bad});
    const vdr::DrivingData block =
        vdr::decodeDrivingRecords(reinterpret_cast<const uchar *>(bytes.constData()), bytes.size());
    QCOMPARE(
        vdr::drivingDumpLines(block),
        QStringList({"Drving Change Count:3", "ID:A123 current:1 Master:1 Action:4 Time:2024/01/31 08:00:00",
                     "ID:B current:0 Master:f Action:2 Time:2024/01/31 09:05:07",
                     "ID:Z current:0 Master:a Action:5 Time:----/--/-- --:--:--"}));
    QCOMPARE(vdr::durationText(100 * 3600 + 59), QStringLiteral("100:00:59")); // hours not wrapped
}

QTEST_GUILESS_MAIN(TestDriving)
#include "tst_driving.moc"
