// Byte layouts written by the VDR encoder, checked against bytes worked out by hand from the
// record tables, and the structure of the generated sample day.
#include "vdrencoder.h"

#include <QCryptographicHash>
#include <QSet>
#include <QtEndian>
#include <QtTest>

using namespace vdrenc;

namespace {

QByteArray hex(const char *text)
{
    return QByteArray::fromHex(text);
}

QByteArray zeros(int n)
{
    return QByteArray(n, '\0');
}

const QByteArray Wang = "\xe7\x8e\x8b\xe5\xb0\x8f\xe6\x98\x8e"; // three CJK characters, 9 bytes

quint16 u16(const QByteArray &b, int at)
{
    return qFromLittleEndian<quint16>(b.constData() + at);
}

quint32 u32(const QByteArray &b, int at)
{
    return qFromLittleEndian<quint32>(b.constData() + at);
}

// A recorder timestamp as a date-time (invalid for impossible fields); UTC, so that the checks
// do not depend on the machine's daylight-saving rules.
QDateTime when(const QByteArray &b, int at)
{
    const auto n = [&](int i) {
        const auto c = quint8(b.at(at + i));
        return (c >> 4) * 10 + (c & 0xF);
    };
    return QDateTime(QDate(n(0) * 100 + n(1), n(2), n(3)), QTime(n(4), n(5), n(6)), Qt::UTC);
}

// Independent walk over a container: the blocks by data type, in file order.
QVector<QPair<int, QByteArray>> walk(const QByteArray &file)
{
    QVector<QPair<int, QByteArray>> blocks;
    int at = 2;
    for (int i = 0; i < u16(file, 0); ++i) {
        const int size = int(u32(file, at + 19));
        blocks.append({quint8(file.at(at)), file.mid(at + 23, size)});
        at += 23 + size;
    }
    if (at != file.size() - 1)
        return {};
    return blocks;
}

// End of a technology block read with a device record of deviceSize bytes, or -1 when the
// counts run past the block.
int technologyEnd(const QByteArray &b, int deviceSize)
{
    int end = deviceSize + 2;
    if (end > b.size())
        return -1;
    end += 58 * u16(b, deviceSize);
    for (int size : {14, 18, 18}) {
        if (end >= b.size())
            return -1;
        end += 1 + size * quint8(b.at(end));
    }
    return end;
}

} // namespace

Q_DECLARE_METATYPE(vdrenc::Block)
Q_DECLARE_METATYPE(vdrenc::ContainerOptions)

class TestEncoder : public QObject
{
    Q_OBJECT

private slots:
    void encodings_data()
    {
        QTest::addColumn<QByteArray>("actual");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("stamp fields") << stamp(2021, 10, 8, 13, 5, 9) << hex("20211008130509");
        QTest::newRow("stamp of date-time")
            << stamp(QDateTime(QDate(2024, 1, 31), QTime(23, 59, 58, 700))) << hex("20240131235958");
        QTest::newRow("stamp of invalid date-time") << stamp(QDateTime()) << zeros(7);
        QTest::newRow("zero stamp") << zeroStamp() << zeros(7);
        QTest::newRow("bcd 99, 7, 0, 123, -1")
            << QByteArray() + char(bcd(99)) + char(bcd(7)) + char(bcd(0)) + char(bcd(123)) + char(bcd(-1))
            << hex("9907002300");
        QTest::newRow("bcd date") << bcdDate(2023, 4, 28) << hex("20230428");
        QTest::newRow("mileage 12345.6 km") << bcdMileage(123456) << hex("00123456");
        QTest::newRow("mileage max") << bcdMileage(99999999) << hex("99999999");
        QTest::newRow("mileage past 8 digits") << bcdMileage(123456789) << hex("23456789");
        QTest::newRow("hour minute") << bcdHourMinute(4, 30) << hex("0430");
        QTest::newRow("text padded") << textField("ABC-5678", 17) << QByteArray("ABC-5678") + zeros(9);
        QTest::newRow("text fills field, no NUL") << textField("TV230517", 8) << QByteArray("TV230517");
        QTest::newRow("text cut") << textField("ABCDEFGHIJ", 4) << QByteArray("ABCD");
        QTest::newRow("utf8 whole") << textField(Wang, 9) << Wang;
        QTest::newRow("utf8 not cut inside a character") << textField(Wang, 5) << Wang.left(3) + zeros(2);
        QTest::newRow("utf8 cut at character boundary") << textField(Wang, 6) << Wang.left(6);
    }
    void encodings()
    {
        QFETCH(QByteArray, actual);
        QFETCH(QByteArray, expected);
        QCOMPARE(actual.toHex(' '), expected.toHex(' '));
    }

    // Whole blocks of one record each, byte by byte.
    void blocks_data()
    {
        QTest::addColumn<QByteArray>("actual");
        QTest::addColumn<QByteArray>("expected");
        const QByteArray t1 = stamp(2021, 10, 8, 13, 5, 9), t2 = stamp(2021, 10, 8, 14, 7, 10);

        QTest::newRow("fault/event 15+16")
            << faultEventBlock({{'5', t1, t2}}, {{'2', t1, zeroStamp(), 3}})
            << hex("0100") + "5" + t1 + t2 + hex("0100") + "2" + t1 + zeros(7) + hex("03");
        QTest::newRow("fault/event empty") << faultEventBlock({}, {}) << hex("00000000");
        QTest::newRow("stamps padded, cut, raw bytes kept")
            << faultEventBlock({{'0', hex("202113"), hex("2021100813050999AA")}}, {})
            << hex("0100") + "0" + hex("20211300000000") + t1 + hex("0000");

        SpeedRecord s;
        s.start = t1;
        s.speed[0] = 0x12;
        s.speed[119] = NoSpeed;
        s.mileage[0] = 0x01020304;
        s.mileage[119] = NoMileage;
        QTest::newRow("speed 607") << speedBlock({s})
                                   << hex("01000000") + t1 + hex("12") + zeros(118) + hex("ff04030201") +
                                          zeros(4 * 118) + hex("ffffff00");

        QTest::newRow("driving 26") << drivingBlock({{Wang, drivingStatus(true, Resting, 1), t1}})
                                    << hex("0100") + Wang + zeros(9) + hex("c1") + t1;
        QTest::newRow("driving id cut to 18") << drivingBlock({{"ABCDEFGHIJKLMNOPQRSTU", 0x12, t1}})
                                              << hex("0100") + "ABCDEFGHIJKLMNOPQR" + hex("12") + t1;

        QTest::newRow("location 19") << locationBlock(
                                            {{t1, coordinate(121, 30), coordinate(25, 2, 5000), -15, 88, 0}})
                                     << hex("0100") + t1 + hex("20e43a07 e8d97d01 f1ff 58 00");
        QTest::newRow("location negative") << locationBlock({{t1, coordinate(-121, 30), 0, 0, 0, 1}})
                                           << hex("0100") + t1 + hex("e01bc5f8 00000000 0000 00 01");

        const QByteArray mb = bcdMileage(1000), ma = bcdMileage(1234), h1 = bcdHourMinute(4, 0),
                         h2 = bcdHourMinute(4, 30);
        DeviceInfo old;
        old.newLayout = false;
        QTest::newRow("technology, old layout, one record each")
            << technologyBlock(old, {{"op", mb, ma, t1, t2}}, {{t1, t2}}, {{t1, t2, h1, h2}},
                               {{t2, t1, h2, h1}})
            << zeros(120) + hex("0100") + "op" + zeros(34) + mb + ma + t1 + t2 + hex("01") + t1 + t2 +
                   hex("01") + t1 + t2 + h1 + h2 + hex("01") + t2 + t1 + h2 + h1;
    }
    void blocks()
    {
        QFETCH(QByteArray, actual);
        QFETCH(QByteArray, expected);
        QCOMPARE(actual.toHex(' '), expected.toHex(' '));
    }

    void deviceRecord_data()
    {
        QTest::addColumn<bool>("newLayout");
        QTest::addColumn<int>("size");
        QTest::addColumn<QByteArray>("certificate"); // as written
        QTest::newRow("old") << false << 120 << QByteArray("TVR-2023");
        QTest::newRow("new") << true << 129 << QByteArray("TVR-2023-000417") + zeros(2);
    }
    void deviceRecord()
    {
        QFETCH(bool, newLayout);
        QFETCH(int, size);
        QFETCH(QByteArray, certificate);
        DeviceInfo d;
        d.vendor = "Tavrin";
        d.address = "Hsinchu";
        d.serial = "TV230517";
        d.firmware = {2, 4, 17, 0xFF};
        d.installTime = stamp(2023, 5, 17, 10, 42, 5);
        d.mfdDate = bcdDate(2023, 4, 28);
        d.certificate = "TVR-2023-000417";
        d.carNo = "ABC-5678";
        d.newLayout = newLayout;
        const QByteArray r = vdrenc::deviceRecord(d);
        QCOMPARE(r.size(), size);
        QCOMPARE(r.mid(0, 36), textField("Tavrin", 36));
        QCOMPARE(r.mid(36, 36), textField("Hsinchu", 36));
        QCOMPARE(r.mid(72, 12), QByteArray("TV230517") + hex("020411ff"));
        QCOMPARE(r.mid(84, 11), d.installTime + d.mfdDate);
        QCOMPARE(r.mid(95, certificate.size()), certificate);
        QCOMPARE(r.mid(size - 17), textField("ABC-5678", 17));
    }

    // A count field caps its list, so the block still agrees with its counts.
    void countsCapped()
    {
        const QVector<TimeCalib> clock(300, {zeroStamp(), zeroStamp()});
        const QByteArray b = technologyBlock({}, {}, clock, {}, {});
        QCOMPARE(b.size(), 129 + 2 + 1 + 14 * 255 + 1 + 1);
        QCOMPARE(quint8(b.at(131)), quint8(255));

        const QByteArray l = locationBlock(QVector<LocationRecord>(70000));
        QCOMPARE(u16(l, 0), quint16(65535));
        QCOMPARE(l.size(), 2 + 19 * 65535);
    }

    void container_data()
    {
        QTest::addColumn<QVector<Block>>("blocks");
        QTest::addColumn<ContainerOptions>("options");
        QTest::addColumn<QByteArray>("expected");
        const QVector<Block> one = {{SpeedId, "DT_SPD_DATA", zeros(4)}};
        const QByteArray body = hex("0100 01") + "DT_SPD_DATA" + zeros(7) + hex("04000000 00000000");
        ContainerOptions count, size, gap, corrupt;
        count.blockCountOverride = 5;
        size.dataSizeOverrideForLast = 1000;
        gap.gapBeforeChecksum = hex("abcd");
        corrupt.corruptChecksum = true;

        QTest::newRow("empty") << QVector<Block>() << ContainerOptions() << hex("0000 00");
        QTest::newRow("one block") << one << ContainerOptions() << body + hex("43");
        QTest::newRow("count override") << one << count << hex("0500") + body.mid(2) + hex("47");
        QTest::newRow("size override") << one << size << body.left(21) + hex("e8030000 00000000") + hex("ac");
        QTest::newRow("gap") << one << gap << body + hex("abcd") + hex("25");
        QTest::newRow("corrupt checksum") << one << corrupt << body + hex("bc");
        QTest::newRow("name cut to 17, terminated")
            << QVector<Block>{{7, "ABCDEFGHIJKLMNOPQRSTUVWXYZ", {}}} << ContainerOptions()
            << hex("0100 07") + "ABCDEFGHIJKLMNOPQ" + hex("00 00000000") +
                   char(xorChecksum(hex("0100 07") + "ABCDEFGHIJKLMNOPQ"));
        QTest::newRow("two blocks, order kept")
            << QVector<Block>{{4, "L", hex("0000")}, {0, "E", hex("00000000")}} << ContainerOptions()
            << hex("0200 04") + "L" + zeros(17) + hex("02000000 0000 00") + "E" + zeros(17) +
                   hex("04000000 00000000") + char('L' ^ 'E' ^ 2 ^ 4 ^ 2 ^ 4);
    }
    void container()
    {
        QFETCH(QVector<Block>, blocks);
        QFETCH(ContainerOptions, options);
        QFETCH(QByteArray, expected);
        QCOMPARE(vdrenc::container(blocks, options).toHex(' '), expected.toHex(' '));
    }

    void namesAndCoordinates()
    {
        QCOMPARE(vdrenc::dayFileName(QDate(2024, 1, 31)), QStringLiteral("D20240131__.vdr"));
        QCOMPARE(vdrenc::dayFileName(QDate(987, 12, 1)), QStringLiteral("D09871201__.vdr"));
        QCOMPARE(coordinate(121, 30, 0), 121300000);
        QCOMPARE(coordinate(-121, 30, 0), -121300000); // the sign applies to the whole value
        QCOMPARE(coordinate(0, -30, 1234), -301234);
    }

    void sampleDayIsDeterministic()
    {
        const QDate day(2024, 1, 31);
        const QByteArray a = vdrenc::sampleDay(day);
        QCOMPARE(vdrenc::sampleDay(day, 1), a);
        QVERIFY(vdrenc::sampleDay(day, 2) != a);
        QVERIFY(vdrenc::sampleDay(QDate()).isEmpty());
        // The bundled sample must not change by accident (other tests and benchmarks use it):
        // a change here needs a deliberate update of this digest.
        QCOMPARE(QCryptographicHash::hash(a, QCryptographicHash::Sha1).toHex(),
                 QByteArray("434957276aa11449ad7cfb14f97f51420671a44f"));
    }

    void sampleDay_data()
    {
        QTest::addColumn<QDate>("day");
        QTest::addColumn<quint32>("seed");
        QTest::newRow("bundled") << QDate(2024, 1, 31) << 1u;
        QTest::newRow("leap day, other seed") << QDate(2024, 2, 29) << 77u;
        QTest::newRow("far past") << QDate(1999, 12, 31) << 3u;
    }
    void sampleDay()
    {
        QFETCH(QDate, day);
        QFETCH(quint32, seed);
        const QByteArray file = vdrenc::sampleDay(day, seed);
        QCOMPARE(xorChecksum(file.left(file.size() - 1)), quint8(file.back()));
        const auto blocks = walk(file);
        QCOMPARE(blocks.size(), 5);
        const QVector<int> order = {TechnologyId, FaultEventId, SpeedId, DrivingId, LocationId};
        for (int i = 0; i < 5; ++i)
            QCOMPARE(blocks[i].first, order[i]);
        const QDateTime dayStart(day, QTime(0, 0), Qt::UTC), dayEnd = dayStart.addDays(1);
        const auto inDay = [&](const QByteArray &b, int at) {
            const QDateTime t = when(b, at);
            return t.isValid() && t >= dayStart && t < dayEnd;
        };

        // Technology: new layout that ends exactly, and that the old layout does not explain.
        const QByteArray &tech = blocks[0].second;
        QCOMPARE(technologyEnd(tech, 129), tech.size());
        QVERIFY(technologyEnd(tech, 120) != tech.size());
        QCOMPARE(tech.size(), 129 + 2 + 2 * 58 + 1 + 2 * 14 + 1 + 18 + 1 + 18);
        QCOMPARE(tech.mid(112, 9), QByteArray("ABC-5678") + '\0');

        // Faults and events: sizes, types, times inside the day, one "driving over" still open.
        const QByteArray &fe = blocks[1].second;
        const int errors = u16(fe, 0), events = u16(fe, 2 + 15 * errors);
        QCOMPARE(fe.size(), 4 + 15 * errors + 16 * events);
        QByteArray types;
        for (int i = 0; i < errors; ++i) {
            types += fe.at(2 + 15 * i);
            QVERIFY(inDay(fe, 3 + 15 * i) && inDay(fe, 10 + 15 * i));
        }
        QCOMPARE(types, QByteArray("0565"));
        types.clear();
        int open = 0;
        for (int i = 0; i < events; ++i) {
            const int at = 4 + 15 * errors + 16 * i;
            types += fe.at(at);
            QVERIFY(inDay(fe, at + 1));
            open += fe.mid(at + 8, 7) == zeroStamp();
        }
        QCOMPARE(types, QByteArray("1322"));
        QCOMPARE(open, 1);

        // Speed: every minute of the day; speeds plausible; odometer consistent with speed.
        const QByteArray &spd = blocks[2].second;
        QCOMPARE(u32(spd, 0), 1440u);
        QCOMPARE(spd.size(), 4 + 607 * 1440);
        int noSpeed = 0, wild = 0, noMileage = 0;
        qint64 lastMileage = -1, distance = 0; // distance: sum of speeds in km/h half-seconds
        qint64 firstMileage = -1;
        for (int r = 0; r < 1440; ++r) {
            const int at = 4 + 607 * r;
            QCOMPARE(when(spd, at), dayStart.addSecs(60 * r));
            for (int s = 0; s < 120; ++s) {
                const quint8 v = quint8(spd.at(at + 7 + s));
                const quint32 mileage = u32(spd, at + 127 + 4 * s);
                noSpeed += v == NoSpeed;
                wild += v > 240 && v != NoSpeed;
                if (v != NoSpeed && v <= 240) {
                    QVERIFY2(v <= 125, qPrintable(QString::number(v)));
                    distance += v;
                }
                if (r < 4 * 60)
                    QVERIFY(v == 0 || v == NoSpeed); // parked at night
                if (mileage == NoMileage) {
                    ++noMileage;
                    continue;
                }
                QVERIFY(mileage >= lastMileage);
                lastMileage = mileage;
                if (firstMileage < 0)
                    firstMileage = mileage;
            }
        }
        QVERIFY(noSpeed >= 100 && wild > 0 && wild < 10 && noMileage > 0);
        if (day == QDate(2024, 1, 31))
            QCOMPARE(firstMileage, qint64(1234567));
        const qint64 km10 = distance / 720; // tenths of a km
        QVERIFY(km10 > 2000);               // a working day: more than 200 km
        QVERIFY(qAbs(lastMileage - firstMileage - km10) <= km10 / 50);

        // Driving: three drivers, all four actions, in time order, within the day.
        const QByteArray &drv = blocks[3].second;
        const int records = u16(drv, 0);
        QCOMPARE(drv.size(), 2 + 26 * records);
        QVERIFY(records >= 20 && records < 100);
        QSet<QByteArray> ids, currentIds;
        QSet<int> actions;
        QDateTime previous = dayStart;
        for (int i = 0; i < records; ++i) {
            const int at = 2 + 26 * i;
            const QByteArray id = drv.mid(at, 18).left(drv.mid(at, 18).indexOf('\0'));
            const quint8 status = quint8(drv.at(at + 18));
            ids.insert(id);
            if (status & 0x80)
                currentIds.insert(id);
            actions.insert((status >> 4) & 7);
            QVERIFY(inDay(drv, at + 19));
            QVERIFY(when(drv, at + 19) >= previous);
            previous = when(drv, at + 19);
        }
        QCOMPARE(ids, (QSet<QByteArray>{"A123456789", "B987654321", Wang}));
        QCOMPARE(currentIds, ids);
        QCOMPARE(actions, (QSet<int>{Driving, Stopping, Standby, Resting}));

        // Location: a few thousand fixes in time order, in northern Taiwan, some without fix.
        const QByteArray &loc = blocks[4].second;
        const int fixes = u16(loc, 0);
        QCOMPARE(loc.size(), 2 + 19 * fixes);
        QVERIFY(fixes >= 1500 && fixes <= 5000);
        int noFix = 0;
        previous = dayStart.addSecs(-1);
        for (int i = 0; i < fixes; ++i) {
            const int at = 2 + 19 * i;
            QVERIFY(inDay(loc, at));
            QVERIFY(when(loc, at) > previous);
            previous = when(loc, at);
            if (loc.at(at + 18) == 0) {
                ++noFix;
                continue;
            }
            const qint32 x = qint32(u32(loc, at + 7)), y = qint32(u32(loc, at + 11));
            QVERIFY(x / 10000 % 100 < 60 && y / 10000 % 100 < 60);
            const double lon = x / 1000000 + (x / 10000 % 100) / 60.0;
            const double lat = y / 1000000 + (y / 10000 % 100) / 60.0;
            QVERIFY2(lon > 120.9 && lon < 121.6 && lat > 24.7 && lat < 25.2,
                     qPrintable(QStringLiteral("%1 %2").arg(lon).arg(lat)));
            const qint16 height = qint16(u16(loc, at + 15));
            QVERIFY(height > -50 && height < 3000);
        }
        QVERIFY(noFix > 0 && noFix < 50);
    }
};

QTEST_GUILESS_MAIN(TestEncoder)
#include "tst_encoder.moc"
