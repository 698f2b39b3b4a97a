// The frame codec of the serial link: request frames and the taking of response frames out
// of the receive buffer.
#include "core/serial/frames.h"

#include "support/testsupport.h"

#include <QtTest>

using serial::ParseStep;

using testsupport::responseFrame;
static QByteArray response(quint8 status, quint16 id, const QByteArray &payload, int flip = 0)
{
    return responseFrame(status, id, payload, flip);
}

class TestFrames : public QObject
{
    Q_OBJECT

private slots:
    void requestFrames_data();
    void requestFrames();
    void frameInPieces();
    void twoFramesInOneBuffer();
    void largestPayload();
    void takeFrame_data();
    void takeFrame();
};

void TestFrames::requestFrames_data()
{
    QTest::addColumn<QByteArray>("frame");
    QTest::addColumn<QString>("hex");
    const QByteArray day = serial::dayRequest(QDate(2024, 1, 31));
    // clang-format off
    QTest::newRow("day template keeps checksum 0") << day << QStringLiteral("AA 75 00 00 00 20 24 01 31 00 00 00 00");
    QTest::newRow("day request sent") << serial::commandFrame(day, serial::CmdRequest)
                                      << QStringLiteral("AA 75 00 00 00 20 24 01 31 00 00 00 EB");
    QTest::newRow("package answer repeats the parameters") << serial::commandFrame(day, serial::CmdPackageAck)
        << QStringLiteral("AA 75 01 00 00 20 24 01 31 00 00 00 EA");
    // Found by fuzzing: a year before year 0 made the BCD encoding shift a negative value.
    QTest::newRow("year before the first century")
        << serial::dayRequest(QDate(-5, 3, 4)) << QStringLiteral("AA 75 00 00 00 00 00 03 04 00 00 00 00");
    QTest::newRow("last 24 hours") << serial::commandFrame(serial::recentHoursRequest(24), serial::CmdRequest)
                                   << QStringLiteral("AA 75 00 00 00 00 00 00 00 18 01 00 C6");
    // clang-format on
}

void TestFrames::requestFrames()
{
    QFETCH(QByteArray, frame);
    QFETCH(QString, hex);
    QCOMPARE(frame.size(), serial::kRequestSize);
    QCOMPARE(serial::hexText(frame), hex);
}

void TestFrames::frameInPieces()
{
    const QByteArray whole = response(0x11, 7, QByteArray("payload bytes"));
    QByteArray buffer;
    // every prefix waits, whatever its length, and nothing is consumed
    for (int i = 0; i < whole.size() - 1; ++i) {
        buffer.append(whole[i]);
        QCOMPARE(serial::takeFrame(buffer).kind, ParseStep::NeedMore);
        QCOMPARE(buffer.size(), i + 1);
    }
    buffer.append(whole.back());
    const ParseStep step = serial::takeFrame(buffer);
    QCOMPARE(step.kind, ParseStep::Frame);
    QCOMPARE(step.frame.packId, quint16(7));
    QCOMPARE(step.frame.payload, QByteArray("payload bytes"));
    QVERIFY(step.frame.checksumOk());
    QVERIFY(buffer.isEmpty());
}

void TestFrames::twoFramesInOneBuffer()
{
    QByteArray buffer = response(0x10, 0, {}) + response(0x11, 0x0102, "AB") + response(0x12, 1, "C").left(9);
    QCOMPARE(serial::takeFrame(buffer).frame.status, quint8(0x10)); // payload_len 0: 14 bytes
    const ParseStep step = serial::takeFrame(buffer);
    QCOMPARE(step.frame.packId, quint16(0x0102));
    QCOMPARE(step.frame.payload, QByteArray("AB"));
    QCOMPARE(serial::takeFrame(buffer).kind, ParseStep::NeedMore);
    QCOMPARE(buffer.size(), 9);
}

void TestFrames::largestPayload()
{
    QByteArray payload(0xFFFF, 'x');
    QByteArray buffer = response(0x11, 1, payload);
    QCOMPARE(buffer.size(), serial::kMaxFrameSize);
    buffer.chop(1);
    QCOMPARE(serial::takeFrame(buffer).kind, ParseStep::NeedMore);
    buffer.append('x');
    buffer.append(response(0x14, 0, {}));
    QCOMPARE(serial::takeFrame(buffer).frame.payload.size(), 0xFFFF);
    QCOMPARE(serial::takeFrame(buffer).frame.status, quint8(0x14));
}

void TestFrames::takeFrame_data()
{
    QTest::addColumn<QByteArray>("buffer");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("status");
    QTest::addColumn<bool>("checksumOk");
    QTest::addColumn<int>("left"); // bytes left in the buffer
    const QByteArray err = serial::errorFrame();
    // clang-format off
    QTest::newRow("four bytes wait") << QByteArray("\x55\x7A\x11\x00", 4) << int(ParseStep::NeedMore) << 0
                                     << true << 4;
    QTest::newRow("error frame alone") << err << int(ParseStep::RecorderError) << 0 << true << 0;
    QTest::newRow("error frame and a piece")
        << err + response(0x10, 0, {}).left(8) << int(ParseStep::RecorderError) << 0 << true << 8;
    QTest::newRow("error frame with 14 bytes or more reads as a head")
        << err + QByteArray(6, '\0') + QByteArray("\x00\x00\x00", 3) << int(ParseStep::Frame) << 0xFA << true << 0;
    QTest::newRow("5-13 bytes not the error frame wait")
        << QByteArray("\x55\x7A\xFA\x00\xD4\x00", 6) << int(ParseStep::NeedMore) << 0 << true << 6;
    QTest::newRow("wrong checksum still a frame")
        << response(0x11, 3, "xyz", 0x21) << int(ParseStep::Frame) << 0x11 << false << 0;
    QTest::newRow("wrong first marker") << QByteArray(14, '\x55') << int(ParseStep::LinkError) << 0 << true << 0;
    QTest::newRow("garbage before a frame")
        << QByteArray("\x01") + response(0x10, 0, {}) << int(ParseStep::LinkError) << 0 << true << 0;
    // clang-format on
}

void TestFrames::takeFrame()
{
    QFETCH(QByteArray, buffer);
    QFETCH(int, kind);
    QFETCH(int, status);
    QFETCH(bool, checksumOk);
    QFETCH(int, left);
    const ParseStep step = serial::takeFrame(buffer);
    QCOMPARE(int(step.kind), kind);
    if (step.kind == ParseStep::Frame) {
        QCOMPARE(int(step.frame.status), status);
        QCOMPARE(step.frame.checksumOk(), checksumOk);
    }
    QCOMPARE(buffer.size(), left);
}

QTEST_APPLESS_MAIN(TestFrames)
#include "tst_frames.moc"
