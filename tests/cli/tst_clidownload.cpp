// tavrin-vdr download against the project's recorder simulator over a pseudo-terminal, and
// against a recorder played by the test that goes silent: byte-identical day files, the
// timeout and its exit code, the short error frame, garbage on the line.
#include "serial/ptydevice.h"
#include "serial/recordersim.h"

#include "support/testsupport.h"
#include "vdrencoder.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

struct Result
{
    int exitCode = -1;
    QString err;
};

// Runs the tool while the event loop keeps going (the test may play the recorder meanwhile).
Result runDownload(const QStringList &arguments, int timeoutMs = 60000)
{
    QProcess tool;
    tool.start(QStringLiteral(TAVRIN_VDR), QStringList{QStringLiteral("download")} + arguments);
    QElapsedTimer timer;
    timer.start();
    while (tool.state() != QProcess::NotRunning && timer.elapsed() < timeoutMs)
        QTest::qWait(5);
    Result result;
    if (tool.state() != QProcess::NotRunning) {
        tool.kill();
        tool.waitForFinished(2000);
        return result;
    }
    if (tool.exitStatus() == QProcess::NormalExit)
        result.exitCode = tool.exitCode();
    result.err = QString::fromUtf8(tool.readAllStandardError());
    return result;
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

// A response frame: 55 7A status id(LE16) six zero bytes len(LE16) xor payload.
QByteArray responseFrame(quint8 status, quint16 id, const QByteArray &payload)
{
    QByteArray frame(14, '\0');
    frame[0] = char(0x55), frame[1] = char(0x7A), frame[2] = char(status);
    frame[3] = char(id & 0xFF), frame[4] = char(id >> 8);
    frame[11] = char(payload.size() & 0xFF), frame[12] = char(payload.size() >> 8);
    frame += payload;
    char x = 0;
    for (char c : frame)
        x ^= c;
    frame[13] = x; // the xor over all the other bytes (byte 13 was 0)
    return frame;
}

} // namespace

class TestCliDownload : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void threeDays_data();
    void threeDays();
    void dayWithoutFileAndRecentHours();
    void silentAfterFirstDay();
    void recorderErrors_data();
    void recorderErrors();
    void requestNotSent();

private:
    QTemporaryDir served;
    QTemporaryDir small;
    const QDate first{2024, 1, 30};
};

void TestCliDownload::initTestCase()
{
    for (int i = 0; i < 3; ++i) {
        const QDate day = first.addDays(i);
        const QString name = day.toString(QStringLiteral("DyyyyMMdd__")) + QStringLiteral("A.vdr");
        testsupport::writeFile(served.path(), name, vdrenc::sampleDay(day, quint32(i + 1)));
        testsupport::writeFile(small.path(), name,
                               vdrenc::sampleDay(day, quint32(i + 1)).left(3000 + 777 * i));
    }
}

void TestCliDownload::threeDays_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QStringList>("switches");
    QTest::newRow("full days") << served.path() << QStringList();
    QTest::newRow("coalesced") << served.path() << QStringList{"--coalesce"};
    QTest::newRow("split in 5-byte pieces")
        << small.path() << QStringList{"--package", "200", "--split", "5", "--pause-us", "100"};
    QTest::newRow("bad checksums are warned about") << small.path() << QStringList{"--bad-checksum", "3"};
}

void TestCliDownload::threeDays()
{
    QFETCH(QString, folder);
    QFETCH(QStringList, switches);
    Simulator sim;
    QVERIFY(sim.start(folder, switches));
    QTemporaryDir out;
    // a day downloaded earlier stays as it is
    testsupport::writeFile(out.path(), QStringLiteral("D20240105__.vdr"), "older day");

    const Result run = runDownload({"--port", sim.devicePath, "--from", "2024-01-30", "--to", "2024-02-01",
                                    "-o", out.path(), "--timeout", "10"});
    QVERIFY2(run.exitCode == 0, qPrintable(run.err));
    for (int i = 0; i < 3; ++i) {
        const QDate day = first.addDays(i);
        const QByteArray expected =
            readAll(folder + day.toString(QStringLiteral("/DyyyyMMdd__")) + QStringLiteral("A.vdr"));
        QCOMPARE(readAll(out.path() + day.toString(QStringLiteral("/DyyyyMMdd__")) + QStringLiteral(".vdr")),
                 expected);
        QVERIFY2(run.err.contains(day.toString("yyyy/MM/dd") + ": wrote"), qPrintable(run.err));
    }
    QVERIFY(run.err.contains(QStringLiteral("packages")));
    QCOMPARE(readAll(out.path() + QStringLiteral("/D20240105__.vdr")), QByteArray("older day"));
    QCOMPARE(QDir(out.path()).entryList(QDir::Files).size(), 4);
    if (switches.contains("--bad-checksum"))
        QVERIFY2(run.err.contains(QStringLiteral("has checksum")), qPrintable(run.err));
}

void TestCliDownload::dayWithoutFileAndRecentHours()
{
    QTemporaryDir folder;
    const QByteArray one = vdrenc::sampleDay(first).left(4000);
    const QByteArray three = vdrenc::sampleDay(first.addDays(2)).left(4100);
    testsupport::writeFile(folder.path(), QStringLiteral("D20240130__.vdr"), one);
    testsupport::writeFile(folder.path(), QStringLiteral("D20240201__.vdr"), three);
    {
        Simulator sim;
        QVERIFY(sim.start(folder.path(), {"--package", "300"}));
        QTemporaryDir out;
        const Result run = runDownload({"--port", sim.devicePath, "--from", "2024-01-30", "--to",
                                        "2024-02-01", "-o", out.path(), "--timeout", "5"});
        QVERIFY2(run.exitCode == 0, qPrintable(run.err));
        QVERIFY2(run.err.contains(QStringLiteral("2024/01/31: the recorder has no data for the day")),
                 qPrintable(run.err));
        QCOMPARE(QDir(out.path()).entryList(QDir::Files),
                 QStringList({"D20240130__.vdr", "D20240201__.vdr"}));
        QCOMPARE(readAll(out.path() + QStringLiteral("/D20240201__.vdr")), three);
    }

    // the recent hours go to today's file
    QTemporaryDir todayFolder;
    const QDate today = QDate::currentDate();
    const QString todayName = today.toString(QStringLiteral("DyyyyMMdd__")) + QStringLiteral(".vdr");
    testsupport::writeFile(todayFolder.path(), todayName, "recent hours of today");
    Simulator sim;
    QVERIFY(sim.start(todayFolder.path(), {"--package", "8"}));
    QTemporaryDir out;
    const Result run =
        runDownload({"--port", sim.devicePath, "--recent", "3", "-o", out.path(), "--timeout", "5"});
    QVERIFY2(run.exitCode == 0, qPrintable(run.err));
    QCOMPARE(readAll(out.path() + QLatin1Char('/') + todayName), QByteArray("recent hours of today"));
}

void TestCliDownload::silentAfterFirstDay()
{
    // The test plays the recorder: day one whole, then nothing.
    PtyDevice device;
    QVERIFY(!device.path().isEmpty());
    QTemporaryDir out;
    const QByteArray dayOne = vdrenc::sampleDay(first).left(5000);

    QProcess tool;
    tool.start(QStringLiteral(TAVRIN_VDR), {"download", "--port", device.path(), "--from", "2024-01-30",
                                            "--to", "2024-02-01", "-o", out.path(), "--timeout", "1"});
    QVERIFY(device.waitForRequests(1));
    device.send(responseFrame(0x10, 0, QByteArray()));
    device.send(responseFrame(0x11, 1, dayOne.left(3000)));
    QVERIFY(device.waitForRequests(2)); // package acknowledged
    device.send(responseFrame(0x11, 2, dayOne.mid(3000)));
    QVERIFY(device.waitForRequests(3));
    device.send(responseFrame(0x12, 1, QByteArray()));
    QVERIFY(device.waitForRequests(4)); // file written
    QCOMPARE(quint8(device.requests().at(3).at(2)), quint8(0x03));
    device.send(responseFrame(0x15, 0, QByteArray()));
    QVERIFY(device.waitForRequests(5)); // the second day is requested, and never answered
    QElapsedTimer silent;
    silent.start();

    while (tool.state() != QProcess::NotRunning && silent.elapsed() < 10000)
        QTest::qWait(10);
    QCOMPARE(tool.state(), QProcess::NotRunning);
    QVERIFY2(silent.elapsed() >= 900 && silent.elapsed() < 5000,
             qPrintable(QString::number(silent.elapsed())));
    QCOMPARE(tool.exitCode(), 1);
    const QString err = QString::fromUtf8(tool.readAllStandardError());
    QVERIFY2(
        err.contains(QStringLiteral("download failed at day 2024/01/31: the recorder stopped answering")),
        qPrintable(err));
    // the day fetched before stays
    QCOMPARE(readAll(out.path() + QStringLiteral("/D20240130__.vdr")), dayOne);
    QVERIFY(!QFile::exists(out.path() + QStringLiteral("/D20240131__.vdr")));
}

void TestCliDownload::recorderErrors_data()
{
    QTest::addColumn<QString>("simSwitch");
    QTest::addColumn<QString>("message");
    QTest::newRow("short error frame")
        << "--error-frame"
        << "download failed at day 2024/01/30: the recorder answered with its error frame";
    QTest::newRow("garbage")
        << "--garbage"
        << "download failed at day 2024/01/30: the recorder sent bytes that are no frame";
}

void TestCliDownload::recorderErrors()
{
    QFETCH(QString, simSwitch);
    QFETCH(QString, message);
    Simulator sim;
    QVERIFY(sim.start(small.path(), {simSwitch}));
    QTemporaryDir out;
    const Result run = runDownload({"--port", sim.devicePath, "--from", "2024-01-30", "--to", "2024-01-31",
                                    "-o", out.path(), "--timeout", "5"});
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.err.contains(message), qPrintable(run.err));
    QVERIFY(QDir(out.path()).entryList(QDir::Files).isEmpty());
}

// The first request never leaves the port: that is said at once, not blamed on the recorder
// when the time limit is over.
void TestCliDownload::requestNotSent()
{
    PtyDevice device;
    device.holdOutput();
    QTemporaryDir out;
    QElapsedTimer timer;
    timer.start();
    const Result run = runDownload({"--port", device.path(), "--from", "2024-01-30", "--to", "2024-01-31",
                                    "-o", out.path(), "--timeout", "30"});
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(timer.elapsed() < 10000, qPrintable(QString::number(timer.elapsed())));
    QVERIFY2(run.err.contains(
                 QStringLiteral("download failed at day 2024/01/30: cannot write to the serial port")),
             qPrintable(run.err));
    QVERIFY(device.received().isEmpty());
}

QTEST_GUILESS_MAIN(TestCliDownload)
#include "tst_clidownload.moc"
