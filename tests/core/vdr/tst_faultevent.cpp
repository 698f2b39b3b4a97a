// The fault and event block in the day model: its size rules, durations, the cells of its two
// tables (with the type texts) and its dump.
#include "support/fixtures.h"
#include "support/testsupport.h"
#include "vdrencoder.h"

#include <QtTest>

using testsupport::mwTr;
using vdr::SizeError;
Q_DECLARE_METATYPE(SizeError)

class TestFaultEvent : public QObject
{
    Q_OBJECT

private slots:
    void sizeRules_data();
    void sizeRules();
    void duration_data();
    void duration();
    void cellsAndDump();
};

static QByteArray u16(int value)
{
    return QByteArray(1, char(value & 0xFF)) + char(value >> 8);
}

void TestFaultEvent::sizeRules_data()
{
    QTest::addColumn<QByteArray>("block");
    QTest::addColumn<SizeError>("failure");
    QTest::addColumn<int>("errors");
    QTest::addColumn<int>("events");
    QTest::addColumn<QString>("debugLine"); // of the dump

    const QByteArray err(15, '1');
    const QByteArray evt(16, '2');
    // clang-format off
    QTest::newRow("empty") << QByteArray() << SizeError::Errors << 0 << 0
                           << "Error-parseData_00-1 DataSize:0  ofsset:2 ";
    QTest::newRow("N=0, no M") << u16(0) << SizeError::Events << 0 << 0
                               << "Error-parseData_00-2 DataSize:2  ofsset:4 ";
    QTest::newRow("N=0 M=0 exact") << u16(0) + u16(0) << SizeError::None << 0 << 0 << "";
    QTest::newRow("N=1 one short") << u16(1) + err.left(14) << SizeError::Errors << 0 << 0
                                   << "Error-parseData_00-1 DataSize:16  ofsset:17 ";
    QTest::newRow("N=2 in 17 bytes") << u16(2) + err << SizeError::Errors << 0 << 0
                                     << "Error-parseData_00-1 DataSize:17  ofsset:32 ";
    QTest::newRow("N=1 exact, no room for M") << u16(1) + err << SizeError::Events << 1 << 0
                                              << "Error-parseData_00-2 DataSize:17  ofsset:19 ";
    QTest::newRow("N=1 M=1 one short") << u16(1) + err + u16(1) + evt.left(15) << SizeError::Events << 1 << 0
                                       << "Error-parseData_00-2 DataSize:34  ofsset:35 ";
    QTest::newRow("N=1 M=1 exact") << u16(1) + err + u16(1) + evt << SizeError::None << 1 << 1 << "";
    QTest::newRow("N=1 M=1 one over") << u16(1) + err + u16(1) + evt + 'x' << SizeError::Events << 1 << 0
                                      << "Error-parseData_00-2 DataSize:36  ofsset:35 ";
    // clang-format on
}

void TestFaultEvent::sizeRules()
{
    QFETCH(QByteArray, block);
    QFETCH(SizeError, failure);
    QFETCH(int, errors);
    QFETCH(int, events);
    QFETCH(QString, debugLine);

    const vdr::BlockReport report = fixtures::decode(vdr::FaultEventBlock, block);
    QCOMPARE(report.failure, failure);
    QCOMPARE(report.faultEvent.errors.size(), errors);
    QCOMPARE(report.faultEvent.events.size(), events);
    // the page shows the tables of the sections that passed
    const int tables = failure == SizeError::Errors ? 0 : failure == SizeError::Events ? 1 : 2;
    QCOMPARE(vdr::faultEventTablesHtml(report.faultEvent).size(), tables);
    const vdr::BlockDump dump = vdr::faultEventDump(report.faultEvent);
    QCOMPARE(dump.debugLine, debugLine);
    if (!report.ok())
        QCOMPARE(dump.lines.last(), report.message());
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
    QTest::newRow("running Download Fail") << t0 << zero << true << 3 << "00:00:00";
    QTest::newRow("running error") << t0 << zero << false << 2 << "00:00:00";
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
    QCOMPARE(vdr::faultDurationText(fixtures::bytes(start), fixtures::bytes(end), isEvent, type), text);
}

void TestFaultEvent::cellsAndDump()
{
    using vdrenc::stamp;
    const vdr::BlockReport report = fixtures::decode(
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
    QCOMPARE(fixtures::htmlCells(vdr::faultEventTablesHtml(report.faultEvent).join(QString())), tables);

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

QTEST_GUILESS_MAIN(TestFaultEvent)
#include "tst_faultevent.moc"
