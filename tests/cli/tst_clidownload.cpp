// tavrin-vdr download around the download session: what it says on standard error and its
// exit code for each way a day or a download ends, against the recorder simulator (once, for
// the days) and a recorder played by the test. The protocol itself is the session's test
// (tests/serial).
#include "core/serial/frames.h"
#include "support/ptydevice.h"
#include "support/recordersim.h"

#include "support/testsupport.h"
#include "vdrencoder.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using testsupport::readFile;

class TestCliDownload : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void runs_data();
    void runs();

private:
    QTemporaryDir served;
    const QDate first{2024, 1, 30};
};

void TestCliDownload::initTestCase()
{
    // four days: one whole, one the recorder lacks, one too large to keep, one whose name is
    // taken in the output folder
    const QString name = QStringLiteral("D%1__.vdr");
    testsupport::writeFile(served.path(), name.arg("20240130"), vdrenc::sampleDay(first).left(3000));
    testsupport::writeFile(served.path(), name.arg("20240201"), QByteArray(32 * 1024 * 1024 + 1000, 'x'));
    testsupport::writeFile(served.path(), name.arg("20240202"), "no room for it");
}

void TestCliDownload::runs_data()
{
    QTest::addColumn<QString>("recorder");  // the simulator; or played: silent, held, or answering
    QTest::addColumn<QByteArray>("answer"); // of the played recorder, to the first request
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QStringList>("said");
    QTest::addColumn<QStringList>("files"); // in the output folder at the end
    const QStringList range{"--from", "2024-01-30", "--to", "2024-01-31", "--timeout", "5"};
    const QString today =
        QDate::currentDate().toString(QStringLiteral("DyyyyMMdd__")) + QStringLiteral(".vdr");
    const QString failed = QStringLiteral("download failed at day 2024/01/30: ");
    // clang-format off
    // a day downloaded earlier stays as it is
    QTest::newRow("every way a day ends") << "simulator" << QByteArray()
        << QStringList{"--from", "2024-01-30", "--to", "2024-02-02", "--timeout", "10"} << 1
        << QStringList{"2024/01/30: wrote", "packages", "has checksum",
                       "2024/01/31: the recorder has no data for the day",
                       "2024/02/01: the recorder's file passed 32 MiB, nothing written",
                       "2024/02/02: cannot write D20240202__.vdr: ",
                       "download failed: these days could not be written: 2024/02/01, 2024/02/02"}
        << QStringList{"D20240105__.vdr", "D20240130__.vdr"};
    QTest::newRow("recent hours") << "answering"
        << testsupport::responseFrame(0x10, 0) + testsupport::responseFrame(0x11, 1, "recent hours") +
               testsupport::responseFrame(0x12, 0) + testsupport::responseFrame(0x15, 0)
        << QStringList{"--recent", "3", "--timeout", "5"} << 0 << QStringList{": wrote"}
        << QStringList{"D20240105__.vdr", today};
    QTest::newRow("short error frame") << "answering" << serial::errorFrame() << range << 1
        << QStringList{failed + "the recorder answered with its error frame"} << QStringList{"D20240105__.vdr"};
    QTest::newRow("garbage") << "answering" << QByteArray(14, '\x01') << range << 1
        << QStringList{failed + "the recorder sent bytes that are no frame"} << QStringList{"D20240105__.vdr"};
    QTest::newRow("recorder silent") << "silent" << QByteArray() << QStringList{"--from", "2024-01-30", "--to",
        "2024-01-31", "--timeout", "1"} << 1 << QStringList{failed + "the recorder stopped answering for 1 s"}
        << QStringList{"D20240105__.vdr"};
    QTest::newRow("request not sent") << "held" << QByteArray() << range << 1
        << QStringList{failed + "cannot write to the serial port: the request was not sent (is the line held?)"}
        << QStringList{"D20240105__.vdr"};
    // clang-format on
}

void TestCliDownload::runs()
{
    QFETCH(QString, recorder);
    QFETCH(QByteArray, answer);
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QStringList, said);
    QFETCH(QStringList, files);
    Simulator sim;
    PtyDevice played;
    const bool simulated = recorder == "simulator";
    if (simulated)
        QVERIFY(sim.start(served.path(), {"--package", "65535", "--bad-checksum", "3"}));
    else if (recorder == "held")
        played.holdOutput();
    QTemporaryDir out;
    testsupport::writeFile(out.path(), QStringLiteral("D20240105__.vdr"), "older day");
    QVERIFY(QDir().mkpath(out.path() + QStringLiteral("/D20240202__.vdr")));

    QProcess tool;
    tool.start(
        QStringLiteral(TAVRIN_VDR),
        QStringList{"download", "--port", simulated ? sim.devicePath : played.path(), "-o", out.path()} +
            arguments);
    // the event loop keeps going meanwhile: the played recorder reads what it is sent
    QElapsedTimer timer;
    timer.start();
    bool answered = recorder != "answering";
    while (tool.state() != QProcess::NotRunning && timer.elapsed() < 60000) {
        QTest::qWait(5);
        if (!answered && !played.requests().isEmpty()) {
            played.send(answer);
            answered = true;
        }
    }
    QCOMPARE(tool.state(), QProcess::NotRunning);
    const QString err = QString::fromUtf8(tool.readAllStandardError());
    QVERIFY2(tool.exitStatus() == QProcess::NormalExit && tool.exitCode() == exitCode, qPrintable(err));
    for (const QString &text : said)
        QVERIFY2(err.contains(text), qPrintable(text + QStringLiteral("\n--\n") + err));
    // the time limit, and a held line said after the write deadline instead
    if (recorder == "silent" || recorder == "held")
        QVERIFY2(timer.elapsed() >= 900 && timer.elapsed() < 10000,
                 qPrintable(QString::number(timer.elapsed())));
    QCOMPARE(QDir(out.path()).entryList(QDir::Files), files);
    QCOMPARE(readFile(out.path() + QStringLiteral("/D20240105__.vdr")), QByteArray("older day"));
    if (simulated)
        QCOMPARE(readFile(out.path() + QStringLiteral("/D20240130__.vdr")),
                 readFile(served.path() + QStringLiteral("/D20240130__.vdr")));
    else if (exitCode == 0)
        QCOMPARE(readFile(out.path() + QLatin1Char('/') + files.last()), QByteArray("recent hours"));
}

QTEST_GUILESS_MAIN(TestCliDownload)
#include "tst_clidownload.moc"
