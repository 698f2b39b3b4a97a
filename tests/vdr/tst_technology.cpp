// The technology block: the layout choice, the size rule of every section, the text forms of
// its fields, its five tables and its dump.
#include "vdr/technology.h"

#include "support/fixtures.h"
#include "support/testsupport.h"
#include "vdrencoder.h"

#include <QtTest>

using fixtures::bytes;
using testsupport::mwTr;
using vdr::TechnologyResult;
Q_DECLARE_METATYPE(TechnologyResult::Section)

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
    void tablesInFull();
    void dumpInFull();
    void dumpOfFailures_data();
    void dumpOfFailures();
};

void TestTechnology::layoutChoice_data()
{
    QTest::addColumn<QByteArray>("block");
    QTest::addColumn<bool>("useNew");
    QTest::addColumn<QString>("debugLine");

    const QByteArray oldEmpty = vdrenc::technologyBlock(device(false), {}, {}, {}, {});
    const QByteArray oldFull = fullBlock(false);
    QTest::newRow("old, all counts 0, exact") << oldEmpty << false << "";
    QTest::newRow("old, one byte more") << oldEmpty + '\0' << true << "size diff (126 / 125) use new";
    QTest::newRow("old with records, one byte short")
        << oldFull.chopped(1) << true << "size diff (232 / 233) use new";
    QTest::newRow("old, ends at the rest count")
        << oldFull.left(214) << true << "size over (214 / 214) in drvc, use new";
    QTest::newRow("new layout") << fullBlock(true) << true << "";
    QTest::newRow("123 bytes, no clock list")
        << oldEmpty.left(123) << true << "size over (123 / 123) in timc, use new";
    QTest::newRow("empty") << QByteArray() << true << "size over (0 / 122) in milc, use new";
}

void TestTechnology::layoutChoice()
{
    QFETCH(QByteArray, block);
    QFETCH(bool, useNew);
    QFETCH(QString, debugLine);

    const fixtures::HeapCopy exact(block);
    testsupport::DebugCapture capture;
    QCOMPARE(vdr::useNewTechnologyLayout(exact.data.data(), exact.size), useNew);
    if (!debugLine.isEmpty())
        QCOMPARE(capture.lines(), QStringList(debugLine));
    else if (!useNew)
        QVERIFY(capture.lines().isEmpty());
}

void TestTechnology::sectionSizes_data()
{
    QTest::addColumn<bool>("newLayout");
    QTest::addColumn<int>("size");
    QTest::addColumn<TechnologyResult::Section>("failure");
    QTest::addColumn<int>("failedEnd");
    QTest::addColumn<int>("lists"); // lists decoded before the failure

    // New layout with one record per list: device 129, mileage count 129..130, list to 189,
    // clock count 189, list to 204, drive count 204, list to 223, rest count 223, end 242.
    const struct
    {
        const char *name;
        bool newLayout;
        int size;
        TechnologyResult::Section failure;
        int failedEnd;
        int lists;
    } rows[] = {
        {"new, device one short", true, 128, TechnologyResult::VendorSection, 129, 0},
        {"new, device only", true, 129, TechnologyResult::MileageSection, 131, 0},
        {"new, mileage list one short", true, 188, TechnologyResult::MileageSection, 189, 0},
        {"new, no clock count", true, 189, TechnologyResult::ClockSection, 190, 1},
        {"new, clock list one short", true, 203, TechnologyResult::ClockSection, 204, 1},
        {"new, no drive count", true, 204, TechnologyResult::DriveSection, 205, 2},
        {"new, drive list one short", true, 222, TechnologyResult::DriveSection, 223, 2},
        {"new, no rest count", true, 223, TechnologyResult::RestSection, 224, 3},
        {"new, rest list one short", true, 241, TechnologyResult::RestSection, 242, 3},
        {"new, exact", true, 242, TechnologyResult::NoFailure, 0, 4},
        {"new, one byte over", true, 243, TechnologyResult::RestSection, 242, 3},
        {"old, device one short", false, 119, TechnologyResult::VendorSection, 120, 0},
        {"old, exact", false, 233, TechnologyResult::NoFailure, 0, 4},
        {"old, one byte over", false, 234, TechnologyResult::RestSection, 233, 3},
    };
    for (const auto &row : rows)
        QTest::newRow(row.name) << row.newLayout << row.size << row.failure << row.failedEnd << row.lists;
}

void TestTechnology::sectionSizes()
{
    QFETCH(bool, newLayout);
    QFETCH(int, size);
    QFETCH(TechnologyResult::Section, failure);
    QFETCH(int, failedEnd);
    QFETCH(int, lists);

    QByteArray block = fullBlock(newLayout).left(size);
    block.append(QByteArray(size - block.size(), '\0'));
    const fixtures::HeapCopy exact(block);
    const TechnologyResult result = vdr::decodeTechnologyBlock(exact.data.data(), exact.size, newLayout);
    QCOMPARE(result.failure, failure);
    if (failure != TechnologyResult::NoFailure)
        QCOMPARE(int(result.failedEnd), failedEnd);
    const int decoded = int(result.mileage.size() == 1) + int(result.clock.size() == 1) +
                        int(result.drive.size() == 1) + int(result.rest.size() == 1);
    QCOMPARE(decoded, lists);
    QCOMPARE(result.device.carNo,
             failure == TechnologyResult::VendorSection ? QString() : QStringLiteral("ABC-567"));

    const char *messages[] = {"",
                              "DT_VENDOR_DATA Data Size Error",
                              "DT_MILE_CALIB_RAW Data Size Error",
                              "DT_TIME_CALIB_RAW Data Size Error",
                              "DT_THRES_CALIB_RAW(Drive) Data Size Error",
                              "DT_THRES_CALIB_RAW(Rest) Data Size Error"};
    QCOMPARE(result.message(), QString::fromLatin1(messages[failure]));
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
    QTest::newRow("mileage nibble 0A") << "mileage" << hex("0000000A") << "1.0 km";
    QTest::newRow("mileage FF") << "mileage" << hex("FFFFFFFF") << "16666666.5 km";
    QTest::newRow("firmware a.0.ff") << "firmware" << hex("0A00FF") << "a.0.ff";
}

void TestTechnology::fieldTexts()
{
    QFETCH(QString, kind);
    QFETCH(QByteArray, field);
    QFETCH(QString, text);
    const uchar *p = bytes(field);
    const QString actual = kind == "date"      ? vdr::bcdDateText(p)
                           : kind == "time"    ? vdr::bcdTimeText(p)
                           : kind == "mileage" ? vdr::bcdMileageText(p)
                                               : vdr::firmwareVersionText(p);
    QCOMPARE(actual, text);
}

void TestTechnology::tablesInFull()
{
    const QByteArray block = fullBlock(false);
    const TechnologyResult result = vdr::decodeTechnologyBlock(bytes(block), uint(block.size()), false);
    QVERIFY(result.ok());

    QCOMPARE(vdr::deviceTableHtml(result),
             "<TABLE align=\"left\" border=\"1\" width=\"600\" ><tr><td colspan=\"2\">" +
                 mwTr("Devcie Info") + "</td></tr><tr><td width=\"200\" >" + mwTr("Vendor") +
                 "</td><td width=\"400\" >Tavrin</td></tr><tr><td>" + mwTr("Address") +
                 "</td><td>12 Quay Road</td></tr><tr><td>" + mwTr("Serial No.") +
                 "</td><td>SN000417</td></tr><tr><td>" + mwTr("FW Version") +
                 "</td><td>1.2.1a</td></tr><tr><td>" + mwTr("FW InstallTime") +
                 "</td><td>2023/07/15 10:30:00</td></tr><tr><td>" + mwTr("Mfd. Date") +
                 "</td><td>2023/06/01</td></tr><tr><td>" + mwTr("Certificate No.") +
                 "</td><td>C730519286404-12345678</td></tr><tr><td>" + mwTr("Car No.") +
                 "</td><td>ABC-567</td></tr></TABLE><br>");

    QCOMPARE(vdr::mileageTableHtml(result),
             "<TABLE align=\"left\" border=\"1\" width=\"700\" ><tr><td colspan=\"4\">" +
                 mwTr("Calibrate Miles") + "</td>    <td colspan=\"1\">" + mwTr("Count:") +
                 "1</td></tr><tr><td width=\"80\"  >" + mwTr("Index") + "</td><td width=\"120\" >" +
                 mwTr("Operator") + "</td><td width=\"100\" >-----</td><td width=\"200\" >" + mwTr("Before") +
                 "</td><td width=\"200\" >" + mwTr("After") +
                 "</td></tr><tr><td rowspan=\"2\">1</td><td rowspan=\"2\">Wang</td><td>" + mwTr("Time") +
                 "</td><td>2023/12/01 09:12:44</td><td>2023/12/01 09:14:02</td></tr><tr><td>" +
                 mwTr("Threshold") + "</td><td>12345.6 km</td><td>12346.0 km</td></tr></TABLE><br>");

    QCOMPARE(vdr::clockTableHtml(result),
             "<TABLE align=\"left\" border=\"1\" width=\"480\" ><tr><td colspan=\"2\" >" +
                 mwTr("Calibrate Time") + "</td>    <td>" + mwTr("Count:") +
                 "1</td></tr><tr><td width=\"80\"  >" + mwTr("Index") + "</td><td width=\"200\" >" +
                 mwTr("Before") + "</td><td width=\"200\" >" + mwTr("After") +
                 "</td></tr><tr><td>1</td><td>2023/12/01 08:15:37</td><td>2023/12/01 08:15:02</td></tr>"
                 "</TABLE><br>");

    const auto threshold = [](const char *title, const QString &rows, const char *closing) {
        return "<TABLE align=\"left\" border=\"1\" width=\"580\" ><tr><td colspan=\"3\" >" + mwTr(title) +
               "</td>    <td>" + mwTr("Count:") + "1</td></tr><tr><td width=\"80\"  >" + mwTr("Index") +
               "</td><td width=\"100\" >-----</td><td width=\"200\" >" + mwTr("Before") +
               "</td><td width=\"200\" >" + mwTr("After") + "</td></tr>" + rows + closing;
    };
    QCOMPARE(vdr::driveThresholdTableHtml(result),
             threshold("Calibrate Drive THR",
                       "<tr><td rowspan=\"2\">1</td><td>" + mwTr("Time") +
                           "</td><td>2023/12/01 09:20:00</td><td>2023/12/01 09:20:06</td></tr><tr><td>" +
                           mwTr("Threshold") + "</td><td>03:30</td><td>04:00</td></tr>",
                       "</TABLE><br>"));
    QCOMPARE(vdr::restThresholdTableHtml(result),
             threshold("Calibrate Rest THR",
                       "<tr><td rowspan=\"2\">1</td><td>" + mwTr("Time") +
                           "</td><td>2023/12/01 09:21:00</td><td>2023/12/01 09:21:04</td></tr><tr><td>" +
                           mwTr("Threshold") + "</td><td>00:15</td><td>hh:mm</td></tr>",
                       "</TABLE>"));
}

void TestTechnology::dumpInFull()
{
    const QByteArray block = fullBlock(false);
    const vdr::BlockDump dump =
        vdr::technologyDump(vdr::decodeTechnologyBlock(bytes(block), uint(block.size()), false));
    QCOMPARE(vdr::technologyDumpHeading(), QStringLiteral("======= Technology Data ======="));
    QCOMPARE(dump.lines,
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

void TestTechnology::dumpOfFailures_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<QString>("lastLine");
    QTest::addColumn<int>("lineCount");
    QTest::addColumn<QString>("debugLine");

    // New layout with one record per list (242 bytes).
    QTest::newRow("device") << 128 << "DT_VENDOR_DATA Data Size Error" << 1
                            << "Error-parseData_02_1 DataSize:128  ofsset:129 ";
    QTest::newRow("rest, one byte over") << 243 << "Resting THR calibration Data Size Error" << 15
                                         << "Error-parseData_02_2 DataSize:243  ofsset:242 ";
}

void TestTechnology::dumpOfFailures()
{
    QFETCH(int, size);
    QFETCH(QString, lastLine);
    QFETCH(int, lineCount);
    QFETCH(QString, debugLine);

    QByteArray block = fullBlock(true).left(size);
    block.append(QByteArray(size - block.size(), '\0'));
    const vdr::BlockDump dump =
        vdr::technologyDump(vdr::decodeTechnologyBlock(bytes(block), uint(size), true));
    QCOMPARE(dump.lines.size(), lineCount);
    QCOMPARE(dump.lines.last(), lastLine);
    QCOMPARE(dump.debugLine, debugLine);
}

QTEST_GUILESS_MAIN(TestTechnology)
#include "tst_technology.moc"
