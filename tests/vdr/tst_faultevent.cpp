// The fault and event block: its size rules, type texts, durations, tables and dump.
#include "vdr/faultevent.h"

#include "vdrencoder.h"

#include "support/fixtures.h"
#include "support/testsupport.h"

#include <QtTest>

using fixtures::bytes;
using testsupport::mwTr;
using vdr::FaultEventResult;
Q_DECLARE_METATYPE(FaultEventResult::Failure)

class TestFaultEvent : public QObject
{
    Q_OBJECT

private slots:
    void sizes_data();
    void sizes();
    void typeText_data();
    void typeText();
    void duration_data();
    void duration();
    void tablesInFull();
    void dumpInFull();
    void dumpOfFailures_data();
    void dumpOfFailures();
};

static QByteArray u16(int value)
{
    QByteArray out(2, '\0');
    out[0] = char(value & 0xFF);
    out[1] = char(value >> 8);
    return out;
}

void TestFaultEvent::sizes_data()
{
    QTest::addColumn<QByteArray>("block");
    QTest::addColumn<FaultEventResult::Failure>("failure");
    QTest::addColumn<int>("errors");
    QTest::addColumn<int>("events");

    const QByteArray err(15, '1');
    const QByteArray evt(16, '2');
    // clang-format off
    QTest::newRow("empty") << QByteArray() << FaultEventResult::ErrorSectionSize << 0 << 0;
    QTest::newRow("N=0, no M") << u16(0) << FaultEventResult::EventSectionSize << 0 << 0;
    QTest::newRow("N=0 M=0 exact") << u16(0) + u16(0) << FaultEventResult::NoFailure << 0 << 0;
    QTest::newRow("N=1 one short") << u16(1) + err.left(14) << FaultEventResult::ErrorSectionSize << 0 << 0;
    QTest::newRow("N=1 exact, no M") << u16(1) + err << FaultEventResult::EventSectionSize << 1 << 0;
    QTest::newRow("N=1 M=1 one short")
        << u16(1) + err + u16(1) + evt.left(15) << FaultEventResult::EventSectionSize << 1 << 0;
    QTest::newRow("N=1 M=1 exact") << u16(1) + err + u16(1) + evt << FaultEventResult::NoFailure << 1 << 1;
    QTest::newRow("N=1 M=1 one over")
        << u16(1) + err + u16(1) + evt + 'x' << FaultEventResult::EventSectionSize << 1 << 0;
    // clang-format on
}

void TestFaultEvent::sizes()
{
    QFETCH(QByteArray, block);
    QFETCH(FaultEventResult::Failure, failure);
    QFETCH(int, errors);
    QFETCH(int, events);

    const fixtures::HeapCopy exact(block);
    const FaultEventResult result = vdr::decodeFaultEventBlock(exact.data.data(), exact.size);
    QCOMPARE(result.failure, failure);
    QCOMPARE(result.errors.size(), errors);
    QCOMPARE(result.events.size(), events);
    const QString message = failure == FaultEventResult::ErrorSectionSize   ? "DT_ERR_DATA Data Size Error"
                            : failure == FaultEventResult::EventSectionSize ? "DT_EVENT_DATA Data Size Error"
                                                                            : "";
    QCOMPARE(result.message(), message);
}

void TestFaultEvent::typeText_data()
{
    QTest::addColumn<char>("type");
    QTest::addColumn<QString>("text");

    QTest::newRow("'7'") << '7' << "SOC Fail";
    QTest::newRow("'8'") << '8' << QString();
    QTest::newRow("byte 0xB2") << '\xB2' << "Power Loss";
}

void TestFaultEvent::typeText()
{
    QFETCH(char, type);
    QFETCH(QString, text);
    QCOMPARE(vdr::faultTypeText(type), text.isEmpty() ? text : mwTr(qPrintable(text)));
}

void TestFaultEvent::duration_data()
{
    QTest::addColumn<QByteArray>("start");
    QTest::addColumn<QByteArray>("end");
    QTest::addColumn<bool>("isEvent");
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("text");

    using vdrenc::stamp;
    const QByteArray t0 = stamp(2021, 10, 8, 13, 5, 9);
    const QByteArray zero = vdrenc::zeroStamp();
    const QString continuing = mwTr("continuing");
    QTest::newRow("one hour two minutes one second")
        << t0 << stamp(2021, 10, 8, 14, 7, 10) << false << 0 << "01:02:01";
    QTest::newRow("100 hours") << t0 << stamp(2021, 10, 12, 17, 5, 9) << false << 0 << "100:00:00";
    QTest::newRow("running Driving Over") << t0 << zero << true << 2 << continuing;
    QTest::newRow("both invalid, Driving Over") << zero << zero << true << 2 << "00:00:00";
    QTest::newRow("end before start") << t0 << stamp(2021, 10, 8, 13, 5, 8) << true << 2 << continuing;
    // 0x0A reads as 10: the end is on the 10th, two days and 58 minutes later.
    QByteArray tenth = stamp(2021, 10, 9, 14, 3, 9);
    tenth[3] = char(0x0A);
    QTest::newRow("day byte 0x0A") << t0 << tenth << false << 0 << "48:58:00";
    // Across the end of unsigned 32-bit seconds (2106-02-07): still counted correctly.
    QTest::newRow("across 2106-02-07")
        << stamp(2106, 2, 6, 0, 0, 0) << stamp(2106, 2, 9, 0, 0, 0) << false << 0 << "72:00:00";
}

void TestFaultEvent::duration()
{
    QFETCH(QByteArray, start);
    QFETCH(QByteArray, end);
    QFETCH(bool, isEvent);
    QFETCH(int, type);
    QFETCH(QString, text);
    QCOMPARE(vdr::faultDurationText(bytes(start), bytes(end), isEvent, type), text);
}

void TestFaultEvent::tablesInFull()
{
    const QByteArray block = vdrenc::faultEventBlock(
        {{'5', vdrenc::stamp(2021, 10, 8, 13, 5, 9), vdrenc::stamp(2021, 10, 8, 14, 7, 10)}},
        {{'2', vdrenc::stamp(2021, 10, 8, 15, 0, 0), vdrenc::zeroStamp(), 3},
         {'9', vdrenc::zeroStamp(), vdrenc::zeroStamp(), 0}});
    const FaultEventResult result = vdr::decodeFaultEventBlock(bytes(block), uint(block.size()));
    QVERIFY(result.ok());

    const QString head = "<td width=\"80\" >" + mwTr("Index") + "</td><td width=\"170\">" + mwTr("Type") +
                         "</td><td width=\"200\">" + mwTr("Start") + "</td><td width=\"150\">" +
                         mwTr("Duration") + "</td>";
    QCOMPARE(vdr::errorTableHtml(result),
             "<TABLE align=\"left\" border=\"1\" width=\"600\" ><tr><td colspan=\"3\">" +
                 mwTr("Error Record") + "</td><td colspan=\"1\">" + mwTr("Count:") + "1</td></tr><tr>" +
                 head + "</tr><tr><td>1</td><td>" + mwTr("GPS Fail") +
                 "</td><td>2021/10/08 13:05:09</td><td>01:02:01</td></tr></TABLE> <br>");
    QCOMPARE(vdr::eventTableHtml(result),
             "<TABLE align=\"left\" border=\"1\" width=\"720\" ><tr><td colspan=\"3\">" +
                 mwTr("Event Record") + "</td><td colspan=\"2\">" + mwTr("Count:") + "2</td></tr><tr>" +
                 head + "<td width=\"120\">" + mwTr("Count") + "</td></tr><tr><td>1</td><td>" +
                 mwTr("Driving Over") + "</td><td>2021/10/08 15:00:00</td><td>" + mwTr("continuing") +
                 "</td><td>3</td></tr><tr><td>2</td><td></td><td>----/--/-- --:--:--</td><td>00:00:00</td>"
                 "<td>0</td></tr></TABLE>");
}

void TestFaultEvent::dumpInFull()
{
    const QByteArray block = vdrenc::faultEventBlock(
        {{'A', vdrenc::stamp(2021, 10, 8, 13, 5, 9), vdrenc::stamp(2021, 10, 8, 14, 7, 10)}},
        {{'2', vdrenc::stamp(2021, 10, 8, 15, 0, 0), vdrenc::zeroStamp(), 12}});
    const vdr::BlockDump dump =
        vdr::faultEventDump(vdr::decodeFaultEventBlock(bytes(block), uint(block.size())));
    QCOMPARE(vdr::faultEventDumpHeading(), QStringLiteral("======= Error&Event Data ======="));
    QCOMPARE(dump.lines, QStringList({
                             "Error Count:1",
                             "Type:A   Time:2021/10/08 13:05:09-2021/10/08 14:07:10",
                             "Event Count:1",
                             "Type:2   Time:2021/10/08 15:00:00-----/--/-- --:--:--   Total Count:12",
                         }));
    QVERIFY(dump.debugLine.isEmpty());
}

void TestFaultEvent::dumpOfFailures_data()
{
    QTest::addColumn<QByteArray>("block");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("debugLine");

    const QByteArray err = QByteArray(1, '3') + vdrenc::stamp(2021, 10, 8, 13, 5, 9) + vdrenc::zeroStamp();
    // clang-format off
    QTest::newRow("N=2 in 17 bytes") << u16(2) + err << QStringList({"DT_ERR_DATA Data Size Error"})
                                     << "Error-parseData_00-1 DataSize:17  ofsset:32 ";
    QTest::newRow("N=1, no room for M") << u16(1) + err
        << QStringList({"Error Count:1", "Type:3   Time:2021/10/08 13:05:09-----/--/-- --:--:--",
                        "DT_EVENT_DATA Data Size Error"})
        << "Error-parseData_00-2 DataSize:17  ofsset:19 ";
    QTest::newRow("N=0 M=1, one byte over") << u16(0) + u16(1) + QByteArray(17, '\0')
                                            << QStringList({"Error Count:0", "DT_EVENT_DATA Data Size Error"})
                                            << "Error-parseData_00-2 DataSize:21  ofsset:20 ";
    // clang-format on
}

void TestFaultEvent::dumpOfFailures()
{
    QFETCH(QByteArray, block);
    QFETCH(QStringList, lines);
    QFETCH(QString, debugLine);
    const vdr::BlockDump dump =
        vdr::faultEventDump(vdr::decodeFaultEventBlock(bytes(block), uint(block.size())));
    QCOMPARE(dump.lines, lines);
    QCOMPARE(dump.debugLine, debugLine);
}

QTEST_GUILESS_MAIN(TestFaultEvent)
#include "tst_faultevent.moc"
