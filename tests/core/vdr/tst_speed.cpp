// The speed block in the day model: size rule, chart line, half-second table, cursor lookup,
// dump and the pixel envelope that the chart draws.
#include "support/fixtures.h"
#include "vdrencoder.h"

#include <QFile>
#include <QtTest>

#include <ctime>

namespace {

const QDateTime kNoon(QDate(2024, 1, 31), QTime(12, 0));

vdrenc::SpeedRecord record(const QDateTime &start, int speed = 50, quint32 mileage = 1000)
{
    vdrenc::SpeedRecord r;
    r.start = vdrenc::stamp(start);
    r.speed.fill(quint8(speed));
    for (int j = 0; j < 120; ++j)
        r.mileage[size_t(j)] = mileage + quint32(j);
    return r;
}

vdr::SpeedResult decode(const QVector<vdrenc::SpeedRecord> &records)
{
    return fixtures::decode(vdr::SpeedBlock, vdrenc::speedBlock(records)).speed;
}

qint64 ms(const QDateTime &t)
{
    return t.toMSecsSinceEpoch();
}

} // namespace

class TestSpeed : public QObject
{
    Q_OBJECT

private slots:
    void sizeRule_data();
    void sizeRule();
    void chartLine_data();
    void chartLine();
    void chartValues();
    void invalidStampSkipped();
    void startsAcrossDaylightSaving_data();
    void startsAcrossDaylightSaving();
    void halfSecondTable();
    void dump();
    void cursorSample_data();
    void cursorSample();
    void envelopeKeepsColumns();
    void envelopeOfUnorderedLine();
};

void TestSpeed::sizeRule_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<quint32>("count");

    const QByteArray one = vdrenc::speedBlock({record(kNoon)});
    QTest::newRow("n = 0") << QByteArray(4, '\0') << true << 0u;
    QTest::newRow("exact") << one << true << 1u;
    QTest::newRow("one byte over") << one + '\0' << false << 1u;
    QTest::newRow("one byte short") << one.left(one.size() - 1) << false << 1u;
    // 607 x n + 4 = 104 in 32-bit arithmetic: a 104-byte block must not pass for n records
    const quint32 n = 3219456540u;
    const QByteArray wrap = QByteArray::fromHex("1c02e5bf") + QByteArray(100, '\0');
    QTest::newRow("count whose size overflows 32 bits") << wrap << false << n;
}

void TestSpeed::sizeRule()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, ok);
    QFETCH(quint32, count);
    const vdr::BlockReport report = fixtures::decode(vdr::SpeedBlock, bytes);
    const vdr::SpeedRecords &block = report.speed.records;
    QCOMPARE(report.failure, ok ? vdr::SizeError::None : vdr::SizeError::Speed);
    QCOMPARE(block.count(), count);
    if (!ok) {
        QVERIFY(vdr::speedChartPoints(block, vdr::speedRecordStarts(block), 240).isEmpty());
        QVERIFY(vdr::speedRows(block, 0).isEmpty());
        const vdr::BlockDump dump = vdr::speedDump(report.speed);
        QCOMPARE(dump.lines, QStringList("Speed Data Size Error"));
        QCOMPARE(dump.debugLine, QStringLiteral("Error-parseData_01 DataSize:%1  ofsset:%2 ")
                                     .arg(bytes.size())
                                     .arg(block.expectedSize()));
    }
}

void TestSpeed::chartLine_data()
{
    QTest::addColumn<QVector<int>>("offsetsSeconds"); // record starts after noon
    QTest::addColumn<QVector<int>>("pointsPerRecord");

    QTest::newRow("last record full minute") << QVector<int>{0} << QVector<int>{120};
    QTest::newRow("next starts 30 s later") << QVector<int>{0, 30} << QVector<int>{61, 120};
    QTest::newRow("next starts 0.5 s later") << QVector<int>{0, 1} << QVector<int>{3, 120};
    QTest::newRow("next starts earlier") << QVector<int>{60, 0} << QVector<int>{0, 120};
}

void TestSpeed::chartLine()
{
    QFETCH(QVector<int>, offsetsSeconds);
    QFETCH(QVector<int>, pointsPerRecord);
    QVector<vdrenc::SpeedRecord> records;
    for (int s : offsetsSeconds)
        records.append(record(kNoon.addSecs(s), 10 + records.size()));
    const vdr::SpeedResult d = decode(records);
    const QVector<QPointF> points = vdr::speedChartPoints(d.records, d.starts, 240);

    int at = 0;
    for (int i = 0; i < records.size(); ++i) {
        const qint64 start = ms(kNoon.addSecs(offsetsSeconds[i]));
        for (int j = 0; j < pointsPerRecord[i]; ++j, ++at) {
            QVERIFY(at < points.size());
            QCOMPARE(points[at].x(), double(start + 500 * j));
            QCOMPARE(points[at].y(), double(10 + i));
        }
    }
    QCOMPARE(points.size(), at);
}

void TestSpeed::chartValues()
{
    vdrenc::SpeedRecord r = record(kNoon);
    const quint8 raw[] = {0, 0xFF, 1, 240, 241, 250, 254};
    std::copy(std::begin(raw), std::end(raw), r.speed.begin());
    const vdr::SpeedResult d = decode({r});
    const QVector<QPointF> points = vdr::speedChartPoints(d.records, d.starts, 240);
    QCOMPARE(points.size(), 120);
    const QVector<double> expected = {0.1, 0.1, 1, 240, 240, 240, 240};
    for (int j = 0; j < expected.size(); ++j)
        QCOMPARE(points[j].y(), expected[j]);
    // the limit is the axis maximum, not a fixed 240
    QCOMPARE(vdr::speedChartPoints(d.records, d.starts, 120)[5].y(), 120.0);
}

// The starts take a day's midnight plus the time on days of 24 hours: on the days the clocks
// change they must still be what each record's own local date-time gives.
void TestSpeed::startsAcrossDaylightSaving_data()
{
    QTest::addColumn<QDate>("day");
    QTest::newRow("regular day") << QDate(2024, 1, 31);
    QTest::newRow("clocks forward") << QDate(2024, 3, 31);
    QTest::newRow("clocks back") << QDate(2024, 10, 27);
}

void TestSpeed::startsAcrossDaylightSaving()
{
    QFETCH(QDate, day);
    if (!QFile::exists(QStringLiteral("/usr/share/zoneinfo/Europe/Berlin")))
        QSKIP("no time zone data");
    const QByteArray oldTz = qgetenv("TZ");
    qputenv("TZ", "Europe/Berlin");
    tzset();
    QVector<vdrenc::SpeedRecord> records;
    for (int minute = 0; minute < 24 * 60; minute += 7) {
        vdrenc::SpeedRecord r = record(kNoon);
        r.start = vdrenc::stamp(day.year(), day.month(), day.day(), minute / 60, minute % 60, 30);
        records << r;
    }
    const vdr::SpeedResult d = decode(records);
    int skipped = 0;
    for (int i = 0; i < records.size(); ++i) {
        const QDateTime t = d.records.start(i);
        QCOMPARE(d.starts.at(i), t.isValid() ? ms(t) : vdr::kNoStart);
        skipped += !t.isValid();
    }
    QCOMPARE(skipped, day.month() == 3 ? 8 : 0); // 02:00 to 03:00 does not exist
    oldTz.isNull() ? qunsetenv("TZ") : qputenv("TZ", oldTz);
    tzset();
}

void TestSpeed::invalidStampSkipped()
{
    vdrenc::SpeedRecord bad = record(kNoon.addSecs(30), 99);
    bad.start = vdrenc::stamp(2024, 13, 1, 12, 0, 30); // month 13
    vdrenc::SpeedRecord badTime = record(kNoon.addSecs(30), 98);
    badTime.start = vdrenc::stamp(2024, 1, 31, 24, 0, 30); // hour 24 on a valid day
    const vdr::SpeedResult d = decode({record(kNoon, 10), bad, badTime, record(kNoon.addSecs(60), 11)});

    QCOMPARE(d.starts[1], vdr::kNoStart);
    QCOMPARE(d.starts[2], vdr::kNoStart);

    // the first record runs up to the next valid one; the bad ones are not drawn
    const QVector<QPointF> points = vdr::speedChartPoints(d.records, d.starts, 240);
    QCOMPARE(points.size(), 240);
    for (const QPointF &p : points)
        QVERIFY(p.y() == 10 || p.y() == 11);

    // nor found by the cursor
    const vdr::SpeedSampleAt at = vdr::speedSampleAt(d.records, d.starts, ms(kNoon.addSecs(45)));
    QVERIFY(at.found);
    QCOMPARE(int(at.speed), 10);

    // the table still lists their samples, without times
    const QVector<vdr::SpeedRow> rows = vdr::speedRows(d.records, 1);
    QCOMPARE(rows.size(), 120);
    QCOMPARE(rows[0].time, QString());
    QCOMPARE(rows[0].speed, QStringLiteral("99"));
}

void TestSpeed::halfSecondTable()
{
    vdrenc::SpeedRecord r = record(kNoon);
    r.speed[0] = 0;
    r.speed[1] = 0xFF;
    r.speed[2] = 250;
    r.speed[119] = 0xFF;
    r.mileage[2] = vdrenc::NoMileage;
    // a second record starting 30 s later does not shorten the table of the first
    const vdr::SpeedResult d = decode({r, record(kNoon.addSecs(30))});
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
}

void TestSpeed::cursorSample_data()
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

void TestSpeed::cursorSample()
{
    QFETCH(QVector<int>, offsetsSeconds);
    QFETCH(qint64, atMs);
    QFETCH(QString, speed);
    QFETCH(QString, mileage);
    QVector<vdrenc::SpeedRecord> records;
    for (int s : offsetsSeconds) {
        vdrenc::SpeedRecord r = record(kNoon.addSecs(s), 10 + records.size());
        r.speed[1] = 0;
        r.speed[119] = 0xFF;
        r.mileage[119] = vdrenc::NoMileage;
        records.append(r);
    }
    const vdr::SpeedResult d = decode(records);
    const vdr::SpeedSampleAt at = vdr::speedSampleAt(d.records, d.starts, ms(kNoon) + atMs);
    QCOMPARE(vdr::cursorSpeedText(at), speed);
    QCOMPARE(vdr::cursorMileageText(at), mileage);
}

void TestSpeed::envelopeKeepsColumns()
{
    // a whole noisy day of samples with gaps
    QVector<QPointF> points;
    quint32 seed = 7;
    const double day0 = double(ms(QDateTime(QDate(2024, 1, 31), QTime(0, 0))));
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
        // per pixel column: the same first and last point, the same lowest and highest speed
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
    QCOMPARE(vdr::pixelEnvelope(points.mid(0, 100), minX, minX + 100 * 500.0, 0, 1000), points.mid(0, 100));
}

void TestSpeed::envelopeOfUnorderedLine()
{
    const QVector<QPointF> points = {{0, 1}, {10, 2}, {5, 3}, {20, 4}, {30, 5}, {40, 6}};
    QCOMPARE(vdr::pixelEnvelope(points, 0, 40, 0, 2), points);
    QCOMPARE(vdr::pixelEnvelope(points, 0, 40, 0, 0), points);
    QCOMPARE(vdr::pixelEnvelope(points, 40, 40, 0, 10), points);
}

void TestSpeed::dump()
{
    vdrenc::SpeedRecord r = record(kNoon, 7, 1234);
    r.speed[1] = 0xFF;
    const QStringList lines = vdr::speedDump(decode({r, record(kNoon.addSecs(60))})).lines;
    QCOMPARE(lines.size(), 3);
    QCOMPARE(lines.at(0), QStringLiteral("Speed Count:2"));
    // the mileage and the three speed digits follow each other without a separator
    QVERIFY(lines.at(1).startsWith("Time:2024/01/31 12:00:00\n Mileage:1234007  Mileage:1235255 "));
    QCOMPARE(lines.at(1).count(QStringLiteral(" Mileage:")), 120);
}

QTEST_GUILESS_MAIN(TestSpeed)
#include "tst_speed.moc"
