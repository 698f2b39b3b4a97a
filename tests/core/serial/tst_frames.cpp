// The frame codec of the serial link: request frames and the taking of response frames out
// of the receive buffer.
#include "core/serial/frames.h"

#include "support/testsupport.h"

#include <QtTest>

using serial::ParseStep;
using testsupport::responseFrame;

class TestFrames : public QObject
{
    Q_OBJECT

private slots:
    void requestFrames_data()
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

    void requestFrames()
    {
        QFETCH(QByteArray, frame);
        QFETCH(QString, hex);
        QCOMPARE(frame.size(), serial::kRequestSize);
        QCOMPARE(serial::hexText(frame), hex);
    }

    void frameInPieces()
    {
        const QByteArray whole = responseFrame(0x11, 7, "payload bytes");
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

    void takeFrames_data()
    {
        QTest::addColumn<QByteArray>("buffer");
        QTest::addColumn<QStringList>("steps"); // taken until more is needed: "more", "error", "link",
                                                // or a frame "status #packId payload size [bad]"
        QTest::addColumn<int>("left");          // bytes left in the buffer
        const QByteArray err = serial::errorFrame();
        const QByteArray largest = responseFrame(0x11, 1, QByteArray(0xFFFF, 'x'));
        // clang-format off
        QTest::newRow("four bytes wait") << QByteArray("\x55\x7A\x11\x00", 4) << QStringList{"more"} << 4;
        QTest::newRow("error frame alone") << err << QStringList{"error"} << 0;
        QTest::newRow("error frame and a piece") << err + responseFrame(0x10, 0).left(8) << QStringList{"error", "more"} << 8;
        QTest::newRow("error frame with 14 bytes or more reads as a head")
            << err + QByteArray(9, '\0') << QStringList{"fa #54528 0"} << 0;
        QTest::newRow("5-13 bytes not the error frame wait") << QByteArray("\x55\x7A\xFA\x00\xD4\x00", 6) << QStringList{"more"} << 6;
        QTest::newRow("wrong checksum still a frame") << responseFrame(0x11, 3, "xyz", 0x21) << QStringList{"11 #3 3 bad"} << 0;
        QTest::newRow("two frames and a piece")
            << responseFrame(0x10, 0) + responseFrame(0x11, 0x0102, "AB") + responseFrame(0x12, 1, "C").left(9)
            << QStringList{"10 #0 0", "11 #258 2", "more"} << 9;
        QTest::newRow("largest payload one byte short") << largest.chopped(1) << QStringList{"more"} << 65548;
        QTest::newRow("largest payload and the next frame")
            << largest + responseFrame(0x14, 0) << QStringList{"11 #1 65535", "14 #0 0"} << 0;
        QTest::newRow("wrong first marker") << QByteArray(14, '\x55') << QStringList{"link"} << 0;
        QTest::newRow("garbage before a frame") << QByteArray("\x01") + responseFrame(0x10, 0) << QStringList{"link"} << 0;
        // clang-format on
    }

    void takeFrames()
    {
        QFETCH(QByteArray, buffer);
        QFETCH(QStringList, steps);
        QFETCH(int, left);
        QStringList taken;
        do {
            const ParseStep step = serial::takeFrame(buffer);
            const serial::ResponseFrame &f = step.frame;
            taken << (step.kind == ParseStep::NeedMore        ? QStringLiteral("more")
                      : step.kind == ParseStep::RecorderError ? QStringLiteral("error")
                      : step.kind == ParseStep::LinkError     ? QStringLiteral("link")
                                                              : QStringLiteral("%1 #%2 %3%4")
                                                                .arg(f.status, 2, 16, QLatin1Char('0'))
                                                                .arg(f.packId)
                                                                .arg(f.payload.size())
                                                                .arg(f.checksumOk() ? "" : " bad"));
            if (step.kind == ParseStep::NeedMore || step.kind == ParseStep::LinkError)
                break;
        } while (!buffer.isEmpty());
        QCOMPARE(taken, steps);
        QCOMPARE(buffer.size(), left);
    }
};

QTEST_APPLESS_MAIN(TestFrames)
#include "tst_frames.moc"
