// The technology block in the day model: the layout choice, the size rule of every section,
// the text forms of its fields, the cells of its five tables and its dump.
#include "support/fixtures.h"
#include "support/testsupport.h"
#include "vdrencoder.h"

#include <QtTest>

using testsupport::mwTr;
using vdr::SizeError;
Q_DECLARE_METATYPE(SizeError)

static QByteArray hex(const char *text)
{
    return QByteArray::fromHex(text);
}

static vdrenc::DeviceInfo device(bool newLayout)
{
    vdrenc::DeviceInfo info;
    info.vendor = "Tavrin";
    info.address = "12 Quay Road";
    info.serial = "SN000417";
    info.firmware = {0x01, 0x02, 0x1A, 0x33};
    info.installTime = vdrenc::stamp(2023, 7, 15, 10, 30, 0);
    info.mfdDate = vdrenc::bcdDate(2023, 6, 1);
    info.certificate = newLayout ? "TVR-2023-000417" : "12345678";
    info.carNo = "ABC-567";
    info.newLayout = newLayout;
    return info;
}

// One record in each list.
static QByteArray fullBlock(bool newLayout)
{
    using namespace vdrenc;
    return technologyBlock(
        device(newLayout),
        {{"Wang", bcdMileage(123456), bcdMileage(123460), stamp(2023, 12, 1, 9, 12, 44),
          stamp(2023, 12, 1, 9, 14, 2)}},
        {{stamp(2023, 12, 1, 8, 15, 37), stamp(2023, 12, 1, 8, 15, 2)}},
        {{stamp(2023, 12, 1, 9, 20, 0), stamp(2023, 12, 1, 9, 20, 6), bcdHourMinute(3, 30),
          bcdHourMinute(4, 0)}},
        {{stamp(2023, 12, 1, 9, 21, 0), stamp(2023, 12, 1, 9, 21, 4), hex("0015"), hex("2500")}});
}

class TestTechnology : public QObject
{
    Q_OBJECT

private slots:
    void layoutChoice_data();
    void layoutChoice();
    void sectionSizes_data();
    void sectionSizes();
    void fieldTexts_data();
    void fieldTexts();
    void cellsAndDump();
};

void TestTechnology::layoutChoice_data()
{
    QTest::addColumn<QByteArray>("block");
    QTest::addColumn<bool>("newLayout");
    QTest::addColumn<QString>("why");

    const QByteArray oldEmpty = vdrenc::technologyBlock(device(false), {}, {}, {}, {});
    const QByteArray oldFull = fullBlock(false);
    QTest::newRow("old, all counts 0, exact") << oldEmpty << false << "";
    QTest::newRow("old, one byte more") << oldEmpty + '\0' << true << "size diff (126 / 125) use new";
    QTest::newRow("old with records, one byte short")
        << oldFull.chopped(1) << true << "size diff (232 / 233) use new";
    QTest::newRow("old, ends at the rest count")
        << oldFull.left(214) << true << "size over (214 / 214) in drvc, use new";
    QTest::newRow("new layout") << fullBlock(true) << true << "size diff (242 / 125) use new";
    QTest::newRow("123 bytes, no clock list")
        << oldEmpty.left(123) << true << "size over (123 / 123) in timc, use new";
    QTest::newRow("empty") << QByteArray() << true << "size over (0 / 122) in milc, use new";
}

void TestTechnology::layoutChoice()
{
    QFETCH(QByteArray, block);
    QFETCH(bool, newLayout);
    QFETCH(QString, why);
    const vdr::TechnologyResult result = fixtures::decode(vdr::TechnologyBlock, block).technology;
    QCOMPARE(result.newLayout, newLayout);
    QCOMPARE(result.layoutNote, why);
}

void TestTechnology::sectionSizes_data()
{
    QTest::addColumn<bool>("newLayout");
    QTest::addColumn<int>("size");
    QTest::addColumn<SizeError>("failure");
    QTest::addColumn<int>("failedEnd");
    QTest::addColumn<int>("tables"); // on the page: the device table and the lists before the failure

    // New layout with one record per list: device 129, mileage count 129..130, list to 189,
    // clock count 189, list to 204, drive count 204, list to 223, rest count 223, end 242.
    const struct
    {
        const char *name;
        bool newLayout;
        int size;
        SizeError failure;
        int failedEnd;
        int tables;
    } rows[] = {
        {"new, device one short", true, 128, SizeError::Device, 129, 0},
        {"new, device only", true, 129, SizeError::MileageCalibrations, 131, 1},
        {"new, mileage list one short", true, 188, SizeError::MileageCalibrations, 189, 1},
        {"new, no clock count", true, 189, SizeError::ClockCalibrations, 190, 2},
        {"new, clock list one short", true, 203, SizeError::ClockCalibrations, 204, 2},
        {"new, no drive count", true, 204, SizeError::DriveThresholds, 205, 3},
        {"new, drive list one short", true, 222, SizeError::DriveThresholds, 223, 3},
        {"new, no rest count", true, 223, SizeError::RestThresholds, 224, 4},
        {"new, rest list one short", true, 241, SizeError::RestThresholds, 242, 4},
        {"new, exact", true, 242, SizeError::None, 0, 5},
        {"new, one byte over", true, 243, SizeError::RestThresholds, 242, 4},
        {"old, device one short", false, 119, SizeError::Device, 120, 0},
        {"old, exact", false, 233, SizeError::None, 0, 5},
        {"old, one byte over", false, 234, SizeError::RestThresholds, 233, 4},
    };
    for (const auto &row : rows)
        QTest::newRow(row.name) << row.newLayout << row.size << row.failure << row.failedEnd << row.tables;
}

void TestTechnology::sectionSizes()
{
    QFETCH(bool, newLayout);
    QFETCH(int, size);
    QFETCH(SizeError, failure);
    QFETCH(int, failedEnd);
    QFETCH(int, tables);

    QByteArray block = fullBlock(newLayout).left(size);
    block.append(QByteArray(size - block.size(), '\0'));
    const fixtures::HeapCopy exact(block);
    const vdr::TechnologyResult result = vdr::decodeTechnologyBlock(exact.data.data(), exact.size, newLayout);
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

void TestTechnology::fieldTexts_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QByteArray>("field");
    QTest::addColumn<QString>("text");

    QTest::newRow("date 30 February") << "date" << hex("20210230") << "----/--/--";
    QTest::newRow("date month 0x0A") << "date" << hex("20240A01") << "2024/10/01";
    QTest::newRow("time 23:59") << "time" << hex("2359") << "23:59";
    QTest::newRow("time hour 25") << "time" << hex("2500") << "hh:mm";
    QTest::newRow("time nibbles 0A 0F") << "time" << hex("0A0F") << "10:15";
    QTest::newRow("mileage 00 12 34 56") << "mileage" << hex("00123456") << "12345.6 km";
    QTest::newRow("mileage nibble 0A") << "mileage" << hex("0000000A") << "1.0 km";
    QTest::newRow("mileage FF") << "mileage" << hex("FFFFFFFF") << "16666666.5 km";
    QTest::newRow("firmware a.0.ff") << "firmware" << hex("0A00FF") << "a.0.ff";
}

void TestTechnology::fieldTexts()
{
    QFETCH(QString, kind);
    QFETCH(QByteArray, field);
    QFETCH(QString, text);
    const uchar *p = fixtures::bytes(field);
    const QString actual = kind == "date"      ? vdr::bcdDateText(p)
                           : kind == "time"    ? vdr::bcdTimeText(p)
                           : kind == "mileage" ? vdr::bcdMileageText(p)
                                               : vdr::firmwareVersionText(p);
    QCOMPARE(actual, text);
}

void TestTechnology::cellsAndDump()
{
    const vdr::TechnologyResult result = fixtures::decode(vdr::TechnologyBlock, fullBlock(false)).technology;
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
    QCOMPARE(fixtures::htmlCells(vdr::technologyTablesHtml(result).join(QString())), cells);
    // the new layout shows its 17-byte certificate alone
    QCOMPARE(vdr::certificateText(fixtures::decode(vdr::TechnologyBlock, fullBlock(true)).technology),
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

QTEST_GUILESS_MAIN(TestTechnology)
#include "tst_technology.moc"
